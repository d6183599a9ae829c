#ifndef QUELMORA_DATAFILEOPENDIALOG_H
#define QUELMORA_DATAFILEOPENDIALOG_H

#include <QFileDialog>

#include <functional>

class QCheckBox;
class QSpinBox;

// The file dialog of "Open data": Qt's own dialog (not the platform's) with a
// check box and a spin box saying which column, if any, holds the x values.
class DataFileOpenDialog : public QFileDialog
{
  Q_OBJECT

public:
  // Replaces exec() in tests: given the dialog, returns the dialog result.
  using Runner = std::function<int(DataFileOpenDialog& dialog)>;

  explicit DataFileOpenDialog(QWidget* parent = nullptr);

  QCheckBox* xColumnCheckBox() const { return xColumnChBox; }
  QSpinBox* xColumnSpinBox() const { return xColumnSpin; }
  // The spin box value when the check box is checked, else -1.
  int xColumn() const;

  // exec(), or the test runner when one is set.
  int run();
  // An empty runner restores exec().
  static void setRunner(Runner runner);

private:
  QCheckBox* xColumnChBox;
  QSpinBox* xColumnSpin;
};

#endif
