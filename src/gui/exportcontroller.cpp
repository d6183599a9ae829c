#include "gui/exportcontroller.h"

#include "gui/analysis/analysisfeatures.h"
#include "gui/analysis/errorcurves.h"
#include "gui/components/functiontablewidget.h"
#include "gui/components/partitioneditor.h"
#include "gui/components/plotpartition.h"
#include "gui/components/plotwidget.h"
#include "gui/components/tabletext.h"
#include "gui/documentview.h"
#include "gui/exportrunner.h"
#include "gui/exportwidget.h"
#include "gui/figureexportwidget.h"
#include "gui/ftransform_widgets/ftransformwidget.h"
#include "gui/inputs/partitionwidgetbase.h"
#include "gui/widgetpersistence.h"
#include "math/domains/enumerationbase.h"
#include "math/fce/mathfn.h"
#include "midle/numberreader/dataimport.h"

#include <QApplication>
#include <QClipboard>

#include <qwt_plot_curve.h>

namespace {

const char* const valueGroup = "ExportValueWidget";
const char* const pictureGroup = "ExportPictureWidget";
const char* const figureGroup = "ExportFigureWidget";

} // namespace

ExportController::ExportController(QWidget* mainWindow, FtransformWidget* controller,
                                   FunctionTableWidget* componentTable, const SessionDocument& doc,
                                   DocumentView* documentView,
                                   WidgetPersistence* sessionPersistence,
                                   AnalysisFeatures* features)
    : QObject(mainWindow), window(mainWindow), ft(controller), table(componentTable), document(doc),
      view(documentView), persistence(sessionPersistence), analysis(features)
{
  // Cells point at component functions; only those the controller holds now are read.
  table->setCellValue([controller](const void* fn, int row, double* v) {
    for (const auto& c : controller->components()) {
      if (c.data() == fn && row >= 0 && std::size_t(row) < c->domain()->size()) {
        *v = c->valueAtIndex(std::size_t(row));
        return true;
      }
    }
    return false;
  });
}

QStringList ExportController::dialogGroups()
{
  return {QLatin1String(valueGroup), QLatin1String(pictureGroup), QLatin1String(figureGroup)};
}

void ExportController::exportValues()
{
  ExportWidget dialog(window);
  dialog.setValueOptionsVisible(true);
  dialog.setPictureOptionsVisible(false);
  persistence->loadTree(dialog.centralWidget(), QLatin1String(valueGroup));
  dialog.setupOkBtnState();
  const int result = dialog.exec();
  persistence->saveTree(dialog.centralWidget(), QLatin1String(valueGroup));
  if (result != QDialog::Accepted)
    return;

  // Data columns have no selector; they are told apart by their position.
  QList<ExportRunner::NamedFunction> shown;
  for (int i = 0; i < document.functions.size(); ++i) {
    Fn::MathFn<double, double>* fn = document.functions.at(i);
    // An empty selector has nothing computed.
    if (!ft->functions().contains(fn))
      continue;
    QString name = document.names.value(fn);
    if (document.source != FunctionSource::Formulas)
      name = DataImport::functionName(i, document.functions.size());
    shown.append({fn, name});
  }
  ExportRunner::exportValues(window, ExportRunner::valueChoices(dialog), shown, view->degreeMask(),
                             ft->components(), ft->inverses());
}

void ExportController::exportPicture()
{
  PlotWidget* plot = ft->plotWidget();
  const QSize canvas = plot->canvas()->size();
  ExportWidget dialog(window);
  dialog.setValueOptionsVisible(false);
  dialog.setCurrentSize(canvas.width(), canvas.height());
  persistence->loadTree(dialog.centralWidget(), QLatin1String(pictureGroup));
  dialog.setupOkBtnState();
  dialog.showCurrentSize(canvas.width(), canvas.height());
  const int result = dialog.exec();
  persistence->saveTree(dialog.centralWidget(), QLatin1String(pictureGroup));
  if (result != QDialog::Accepted)
    return;
  ExportRunner::exportPicture(window, plot, dialog.pictureSize(), dialog.filePath());
}

void ExportController::exportFigure()
{
  FigureExportWidget dialog(window);
  persistence->loadTree(dialog.centralWidget(), QLatin1String(figureGroup));
  dialog.setupOkBtnState();
  const int result = dialog.exec();
  persistence->saveTree(dialog.centralWidget(), QLatin1String(figureGroup));
  if (result != QDialog::Accepted)
    return;
  QwtPlot* below = nullptr;
  PartitionWidgetBase* pw = ft->partitionWidget();
  if (pw && pw->partitionEditor() && dialog.includePartition())
    below = pw->partitionEditor()->plot()->plot();
  FigureExport::Options options = dialog.options();
  options.roles = figureRoles();
  FigureExport::exportFigure(window, options, ft->plotWidget()->plot(), below);
}

QVector<FigureExport::CurveRole> ExportController::figureRoles() const
{
  QVector<FigureExport::CurveRole> roles;
  const PlotWidget* plot = ft->plotWidget();
  const QList<Fn::MathFn<double, double>*>& shown = ft->functions();
  for (int i = 0; i < shown.size(); ++i) {
    if (const QwtPlotCurve* c = plot->curve(shown[i]))
      roles.append({c, i, -1});
    for (int d = 0; d < 4; ++d) {
      for (const auto* results : {&ft->inverses(), &ft->components()}) {
        const auto fn = results->value(FnKey{shown[i], 1 << d});
        if (const QwtPlotCurve* c = fn ? plot->curve(fn.data()) : nullptr)
          roles.append({c, i, d});
      }
    }
  }
  if (analysis && analysis->curves()) {
    for (const ErrorCurves::Shown& e : analysis->curves()->shownCurves()) {
      const int i = shown.indexOf(const_cast<Fn::MathFn<double, double>*>(e.fn));
      int degree = 0;
      for (int flag = e.flag; flag > 1; flag /= 2)
        ++degree;
      if (i >= 0)
        roles.append({e.curve, i, degree, true});
    }
  }
  return roles;
}

void ExportController::copyPlot()
{
  QApplication::clipboard()->setImage(FigureExport::screenImage(ft->plotWidget()->plot()));
}

void ExportController::copyTable()
{
  table->copy(TableText::All);
}
