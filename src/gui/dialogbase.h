#ifndef QUELMORA_DIALOGBASE_H
#define QUELMORA_DIALOGBASE_H

#include <QDialog>

class QDialogButtonBox;
namespace Ui { class DialogBase; }

// A dialog whose content widget sits beside a vertical OK/Cancel button box.
// Subclasses build their form on centralWidget(); the dialog takes over the
// content's window title once construction is over.
class DialogBase : public QDialog
{
  Q_OBJECT

public:
  explicit DialogBase(QWidget* parent = nullptr);
  ~DialogBase() override;

  QWidget* centralWidget() const;
  QDialogButtonBox* buttonBox() const;

protected slots:
  void setTitle();

private:
  Ui::DialogBase* baseUi;
};

#endif
