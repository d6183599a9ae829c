#include "gui/csvdialog.h"

#include "midle/numberreader/numberreaderbase.h"

#include "ui_csvdialog.h"

#include <clocale>

namespace {

CsvDialog::Runner& runnerHook()
{
  static CsvDialog::Runner runner;
  return runner;
}

} // namespace

CsvDialog::CsvDialog(NumberReaderBase& numberReader, QWidget* parent)
    : DialogBase(parent), ui(new Ui::CsvDialog), reader(numberReader)
{
  ui->setupUi(centralWidget());
  resize(640, 400);
}

CsvDialog::~CsvDialog()
{
  delete ui;
}

int CsvDialog::execFor(NumberReaderBase& numberReader)
{
  CsvDialog dialog(numberReader);
  dialog.setModal(true);
  if (runnerHook())
    return runnerHook()(dialog);
  return dialog.exec();
}

void CsvDialog::setRunner(Runner runner)
{
  runnerHook() = std::move(runner);
}

int CsvDialog::chosenDecimalComma() const
{
  if (ui->dotRbtn->isChecked())
    return 0;
  if (ui->commaRbtn->isChecked())
    return 1;
  const lconv* conv = std::localeconv();
  return conv && conv->decimal_point && conv->decimal_point[0] == ',' ? 1 : 0;
}

void CsvDialog::accept()
{
  reader.setDecimalSeparator(chosenDecimalComma());
  if (ui->semicolonRbtn->isChecked())
    reader.setValueSeparator(QStringLiteral(";"));
  else if (ui->commaSepRbtn->isChecked())
    reader.setValueSeparator(QStringLiteral(","));
  // White space keeps the reader's separator.
  DialogBase::accept();
}
