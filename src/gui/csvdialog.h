#ifndef QUELMORA_CSVDIALOG_H
#define QUELMORA_CSVDIALOG_H

#include "gui/dialogbase.h"

#include <functional>

class NumberReaderBase;
namespace Ui {
class CsvDialog;
}

// Asks how a CSV file is written (decimal mark, value separator) before it is
// read, and hands the answer to the reader on OK.
class CsvDialog : public DialogBase
{
  Q_OBJECT

public:
  // Replaces exec() in tests: given the dialog, returns the dialog result.
  using Runner = std::function<int(CsvDialog& dialog)>;

  explicit CsvDialog(NumberReaderBase& reader, QWidget* parent = nullptr);
  ~CsvDialog() override;

  // Shows the dialog for the reader (no parent, 640 x 400, modal) and returns
  // the dialog result; on OK the reader has the chosen settings.
  static int execFor(NumberReaderBase& reader);
  // An empty runner restores exec().
  static void setRunner(Runner runner);

  // 1 when the chosen decimal mark is a comma; "System (locale setting)"
  // asks the runtime's current locale (a dot unless its mark is a comma).
  int chosenDecimalComma() const;

public slots:
  void accept() override;

private:
  Ui::CsvDialog* ui;
  NumberReaderBase& reader;
};

#endif
