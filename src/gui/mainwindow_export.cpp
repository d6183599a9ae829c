// Export of values, pictures and figures, and copies to the clipboard: the
// main window's part. The dialogs collect the choices; ExportRunner and
// FigureExport write and report failures.
#include "gui/mainwindow.h"

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

namespace {

const char* const valueGroup = "ExportValueWidget";
const char* const pictureGroup = "ExportPictureWidget";
const char* const figureGroup = "ExportFigureWidget";

} // namespace

void MainWindow::onActionExportValues_triggered()
{
  ExportWidget dialog(this);
  dialog.setValueOptionsVisible(true);
  dialog.setPictureOptionsVisible(false);
  sessionPersistence->loadTree(dialog.centralWidget(), QLatin1String(valueGroup));
  dialog.setupOkBtnState();
  const int result = dialog.exec();
  sessionPersistence->saveTree(dialog.centralWidget(), QLatin1String(valueGroup));
  if (result != QDialog::Accepted)
    return;

  // Data columns have no selector; they are told apart by their position.
  QList<ExportRunner::NamedFunction> shown;
  for (int i = 0; i < functions.size(); ++i) {
    Fn::MathFn<double, double>* fn = functions.at(i);
    // An empty selector has nothing computed.
    if (!ui->centralwidget->functions().contains(fn))
      continue;
    QString name = functionNames.value(fn);
    if (functionTypeUsed != 0)
      name = DataImport::functionName(i, functions.size());
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
  sessionPersistence->saveTree(dialog.centralWidget(), QLatin1String(pictureGroup));
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
  sessionPersistence->saveTree(dialog.centralWidget(), QLatin1String(figureGroup));
  if (result != QDialog::Accepted)
    return;
  QwtPlot* below = nullptr;
  PartitionWidgetBase* pw = ui->centralwidget->partitionWidget();
  if (pw && pw->partitionEditor() && dialog.includePartition())
    below = pw->partitionEditor()->plot()->plot();
  FigureExport::exportFigure(this, dialog.options(), ui->centralwidget->plotWidget()->plot(),
                             below);
}

void MainWindow::onActionCopyPlot_triggered()
{
  QApplication::clipboard()->setImage(
      FigureExport::screenImage(ui->centralwidget->plotWidget()->plot()));
}

void MainWindow::onActionCopyTable_triggered()
{
  // Cells point at component functions; only those the controller holds now are read.
  const FtransformWidget::FunctionMap& components = ui->centralwidget->components();
  auto value = [&components](const void* fn, int row, double* v) {
    for (const auto& c : components) {
      if (c.data() == fn && row >= 0 && std::size_t(row) < c->domain()->size()) {
        *v = c->valueAtIndex(std::size_t(row));
        return true;
      }
    }
    return false;
  };
  QApplication::clipboard()->setText(
      TableText::tabSeparated(*ui->functionTableWidget->table(), value));
}
