// Unsaved work of the main window: which changes the session file does not
// have yet, and the question before they would be lost.
#include "gui/mainwindow.h"

#include "ui_mainwindow.h"

#include "gui/ftransform_widgets/ftransformwidget.h"
#include "gui/inputs/domainwidget.h"
#include "gui/inputs/functionselectorwidget.h"
#include "gui/unsavedwork.h"

#include <QActionGroup>
#include <QFileInfo>

#include <qwt_slider.h>

void MainWindow::watchForChanges()
{
  unsavedWork = new UnsavedWork(this);
  UnsavedWork* work = unsavedWork;
  const auto changed = [work] { work->markModified(); };
  connect(ui->domainWidget, &ConfigWidgetBase::inputsChanged, work, changed);
  // Every change of the partition, its nodes, the degrees, the picked
  // functions and the preferences recomputes the transforms.
  connect(ui->centralwidget, &FtransformWidget::ftransformRefreshed, work, changed);
  connect(zoomSlider, &QwtSlider::valueChanged, work, changed);
  connect(ui->actionShowLegend, &QAction::toggled, work, changed);
  for (QAction* a : legendGroup->actions())
    connect(a, &QAction::triggered, work, changed);
  connect(ui->fnSelector, &FunctionSelectorWidget::selectorBeingInserted, work, changed);
  connect(ui->fnSelector, &FunctionSelectorWidget::selectorBeingRemoved, work, changed);
  connect(randomDataAction.data(), &QAction::triggered, work, changed);
  connect(ui->actionCloseData, &QAction::triggered, work, changed);
}

bool MainWindow::confirmUnsavedWork()
{
  const QString name =
      sessionFile.isEmpty() ? tr("a new session") : QFileInfo(sessionFile).fileName();
  return unsavedWork->confirmDiscard(name, [this] { return saveToSessionFile(); });
}

bool MainWindow::saveToSessionFile()
{
  if (sessionFile.isEmpty()) {
    onActionSaveAsSession_triggered();
    return !unsavedWork->isModified();
  }
  if (!checkSessionInputs() || !saveSession(sessionFile))
    return false;
  unsavedWork->markClean();
  return true;
}
