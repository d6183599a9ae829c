// Export of values and pictures: the main window's part. The dialog collects
// the choices; ExportRunner writes and reports failures.
#include "gui/mainwindow.h"

#include "gui/components/plotwidget.h"
#include "gui/exportrunner.h"
#include "gui/exportwidget.h"
#include "gui/ftransform_widgets/ftransformwidget.h"
#include "gui/widgetpersistence.h"
#include "midle/numberreader/dataimport.h"
#include "ui_mainwindow.h"

namespace {

const char* const valueGroup = "ExportValueWidget";
const char* const pictureGroup = "ExportPictureWidget";

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
    const Fn::MathFn<double, double>* fn = functions.at(i);
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
