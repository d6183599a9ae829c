#include "gui/analysis/analysisfeatures.h"

#include "gui/analysis/convergencedialog.h"
#include "gui/analysis/errorcurves.h"
#include "gui/analysis/errormonitor.h"
#include "gui/analysis/errortablewidget.h"
#include "gui/ftransform_widgets/ftransformwidget.h"

#include <QAction>
#include <QDockWidget>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

AnalysisFeatures::AnalysisFeatures(QMainWindow* window, FtransformWidget* controller,
                                   QMenu* windowMenu, QDockWidget* besideDock)
    : QObject(window), _window(window), _controller(controller),
      _monitor(new ErrorMonitor(controller, this)),
      _curves(new ErrorCurves(_monitor, controller->plotWidget(), this))
{
  _dock = new QDockWidget(tr("Approximation error"), window);
  _dock->setObjectName(QStringLiteral("dockErrorTable"));
  _table = new ErrorTableWidget(_monitor, _dock);
  _table->setObjectName(QStringLiteral("errorTableWidget"));
  _dock->setWidget(_table);
  window->addDockWidget(Qt::RightDockWidgetArea, _dock);
  if (besideDock)
    window->splitDockWidget(besideDock, _dock, Qt::Vertical);
  _dock->hide();

  auto* show = new QAction(tr("Show &approximation error"), window);
  show->setObjectName(QStringLiteral("actionShowErrorTable"));
  connect(show, &QAction::triggered, _dock, &QWidget::show);
  windowMenu->addAction(show);

  auto* menu = new QMenu(tr("&Analysis"), window);
  menu->setObjectName(QStringLiteral("menuAnalysis"));
  auto* convergence = new QAction(tr("&Convergence..."), window);
  convergence->setObjectName(QStringLiteral("actionConvergence"));
  connect(convergence, &QAction::triggered, this, &AnalysisFeatures::openConvergence);
  menu->addAction(convergence);
  window->menuBar()->insertMenu(windowMenu->menuAction(), menu);
}

AnalysisFeatures::~AnalysisFeatures()
{
  // The study stops before the window takes its functions away.
  delete _convergence;
  delete _dock;
}

QDockWidget* AnalysisFeatures::dock() const
{
  return _dock;
}

ConvergenceDialog* AnalysisFeatures::convergence() const
{
  return _convergence;
}

void AnalysisFeatures::setErrorCurvesShown(bool shown)
{
  _curves->setShown(shown);
}

void AnalysisFeatures::setDegreePens(const QVector<QPen>& pens)
{
  _pens = pens;
  if (_convergence)
    _convergence->setDegreePens(pens);
}

void AnalysisFeatures::refresh()
{
  _monitor->followController();
}

void AnalysisFeatures::openConvergence()
{
  if (!_convergence) {
    _convergence = new ConvergenceDialog(_controller, _window);
    connect(_monitor, &ErrorMonitor::recomputed, _convergence.data(),
            &ConvergenceDialog::onInputs_changed);
  }
  if (!_pens.isEmpty())
    _convergence->setDegreePens(_pens);
  _convergence->show();
  _convergence->raise();
  _convergence->activateWindow();
  if (!_convergence->isRunning())
    _convergence->run();
}
