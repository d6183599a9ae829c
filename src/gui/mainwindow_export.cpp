// Export of values, pictures and figures, and copies to the clipboard: the
// main window's part. The dialogs collect the choices; ExportRunner and
// FigureExport write and report failures. The dialogs' fields belong to the
// session: held in memory, written with it when it is saved.
#include "gui/mainwindow.h"

#include "gui/analysis/analysisfeatures.h"
#include "gui/analysis/errorcurves.h"
#include "gui/components/functiontablewidget.h"
#include "gui/components/partitioneditor.h"
#include "gui/components/plotpartition.h"
#include "gui/components/plotwidget.h"
#include "gui/components/tabletext.h"
#include "gui/exportrunner.h"
#include "gui/exportwidget.h"
#include "gui/figureexport.h"
#include "gui/figureexportwidget.h"
#include "gui/ftransform_widgets/ftransformwidget.h"
#include "gui/inputs/partitionwidgetbase.h"
#include "gui/widgetpersistence.h"
#include "math/domains/enumerationbase.h"
#include "math/fce/mathfn.h"
#include "midle/numberreader/dataimport.h"
#include "ui_mainwindow.h"

#include <QApplication>
#include <QClipboard>

#include <qwt_plot_curve.h>

namespace {

const char* const valueGroup = "ExportValueWidget";
const char* const pictureGroup = "ExportPictureWidget";
const char* const figureGroup = "ExportFigureWidget";

} // namespace

QStringList MainWindow::exportDialogGroups()
{
  return {QLatin1String(valueGroup), QLatin1String(pictureGroup), QLatin1String(figureGroup)};
}

void MainWindow::onActionExportValues_triggered()
{
  ExportWidget dialog(this);
  dialog.setValueOptionsVisible(true);
  dialog.setPictureOptionsVisible(false);
  sessionPersistence->loadTree(dialog.centralWidget(), QLatin1String(valueGroup));
  dialog.setupOkBtnState();
  const int result = dialog.exec();
  sessionPersistence->holdTree(dialog.centralWidget(), QLatin1String(valueGroup));
  if (result != QDialog::Accepted)
    return;

  // Data columns have no selector; they are told apart by their position.
  QList<ExportRunner::NamedFunction> shown;
  for (int i = 0; i < document.functions.size(); ++i) {
    Fn::MathFn<double, double>* fn = document.functions.at(i);
    // An empty selector has nothing computed.
    if (!ui->centralwidget->functions().contains(fn))
      continue;
    QString name = document.names.value(fn);
    if (document.source != FunctionSource::Formulas)
      name = DataImport::functionName(i, document.functions.size());
    shown.append({fn, name});
  }
  ExportRunner::exportValues(this, ExportRunner::valueChoices(dialog), shown, degreeMask(),
                             ui->centralwidget->components(), ui->centralwidget->inverses());
}

void MainWindow::onActionExportPicture_triggered()
{
  PlotWidget* plot = ui->centralwidget->plotWidget();
  const QSize canvas = plot->canvas()->size();
  ExportWidget dialog(this);
  dialog.setValueOptionsVisible(false);
  dialog.setCurrentSize(canvas.width(), canvas.height());
  sessionPersistence->loadTree(dialog.centralWidget(), QLatin1String(pictureGroup));
  dialog.setupOkBtnState();
  dialog.showCurrentSize(canvas.width(), canvas.height());
  const int result = dialog.exec();
  sessionPersistence->holdTree(dialog.centralWidget(), QLatin1String(pictureGroup));
  if (result != QDialog::Accepted)
    return;
  ExportRunner::exportPicture(this, plot, dialog.pictureSize(), dialog.filePath());
}

void MainWindow::onActionExportFigure_triggered()
{
  FigureExportWidget dialog(this);
  sessionPersistence->loadTree(dialog.centralWidget(), QLatin1String(figureGroup));
  dialog.setupOkBtnState();
  const int result = dialog.exec();
  sessionPersistence->holdTree(dialog.centralWidget(), QLatin1String(figureGroup));
  if (result != QDialog::Accepted)
    return;
  QwtPlot* below = nullptr;
  PartitionWidgetBase* pw = ui->centralwidget->partitionWidget();
  if (pw && pw->partitionEditor() && dialog.includePartition())
    below = pw->partitionEditor()->plot()->plot();
  FigureExport::Options options = dialog.options();
  options.roles = figureRoles();
  FigureExport::exportFigure(this, options, ui->centralwidget->plotWidget()->plot(), below);
}

QVector<FigureExport::CurveRole> MainWindow::figureRoles() const
{
  // Which function and degree each curve of the main plot shows.
  QVector<FigureExport::CurveRole> roles;
  const FtransformWidget* ft = ui->centralwidget;
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

void MainWindow::onActionCopyPlot_triggered()
{
  QApplication::clipboard()->setImage(
      FigureExport::screenImage(ui->centralwidget->plotWidget()->plot()));
}

void MainWindow::onActionCopyTable_triggered()
{
  ui->functionTableWidget->copy(TableText::All);
}

void MainWindow::setTableCellValues()
{
  // Cells point at component functions; only those the controller holds now are read.
  const FtransformWidget* ft = ui->centralwidget;
  ui->functionTableWidget->setCellValue([ft](const void* fn, int row, double* v) {
    for (const auto& c : ft->components()) {
      if (c.data() == fn && row >= 0 && std::size_t(row) < c->domain()->size()) {
        *v = c->valueAtIndex(std::size_t(row));
        return true;
      }
    }
    return false;
  });
}
