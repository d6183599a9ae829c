// Data import of the main window: the "Open data" command and reading a data
// file into the domain and the table functions.
#include "gui/mainwindow.h"

#include "ui_mainwindow.h"

#include "gui/components/functiontablewidget.h"
#include "gui/components/prompt.h"
#include "gui/csvdialog.h"
#include "gui/datafileopendialog.h"
#include "gui/ftransform_widgets/ftransformwidget.h"
#include "gui/history/edithistory.h"
#include "gui/usersettings.h"
#include "math/domains/enumerationbase.h"
#include "math/fce/mathfn.h"
#include "midle/numberreader/dataimport.h"

#include <QFile>

void MainWindow::onActionOpenData_triggered()
{
  DataFileOpenDialog dialog(this);
  dialog.setDirectory(UserSettings::dataDir());
  if (dialog.run() != QDialog::Accepted)
    return;
  const QString file = dialog.selectedFiles().value(0);
  if (file.isEmpty())
    return;
  UserSettings::rememberDataDir(file);
  openDataFile(file, dialog.xColumn());
}

bool MainWindow::openDataFile(const QString& file, int xColumn)
{
  DataFileInfo info(QFile::encodeName(file), true, xColumn);
  if (info.suffix == QLatin1String("txt"))
    info.showImportDialog = false;
  // A refused file changes nothing, the component table included.
  if (!loadDataFile(info, true))
    return false;
  setFunctionType(FunctionSource::TableData);
  ui->functionTableWidget->clearTable();
  refreshCoefTable();
  updateWindowTitle();
  editHistory->changed();
  return true;
}

bool MainWindow::loadDataFile(DataFileInfo fileInfo, bool interactive)
{
  // Everything that can fail happens before the window is touched, so a
  // refused file leaves the functions, the domain and the data file as they were.
  DataImport import;
  const DataImport::Status status = import.run(fileInfo, [](NumberReaderBase& reader) {
    return CsvDialog::execFor(reader) == QDialog::Accepted;
  });
  for (const DataImport::Message& m : import.messages()) {
    if (m.icon == DataImport::Critical)
      Prompt::critical(this, m.title, m.text);
    else
      Prompt::information(this, m.title, m.text);
  }
  if (status != DataImport::Loaded)
    return false;

  document.dataFile = import.fileInfo();
  clearFunctions();

  showFormulaDomain();
  auto record = QSharedPointer<DataHolders::Domains::Equid>::create();
  record->low = import.low();
  record->high = import.high();
  record->count = import.count();
  document.domainRecord = record;
  document.pointRecordsAtDomain();
  // A session keeps the partition records it restored.
  if (interactive)
    document.resetRecords();

  document.domain = import.createDomain();
  for (Fn::MathFn<double, double>* fn : import.createFunctions(document.domain)) {
    document.names.insert(fn, import.functionLabel(document.functions.size()));
    document.functions.append(fn);
  }
  import.releaseColumns();

  installPartition();
  ui->centralwidget->addFunctions(document.functions);
  return true;
}
