#include "gui/dialogbase.h"

#include "ui_dialogbase.h"

#include <QTimer>

DialogBase::DialogBase(QWidget* parent) : QDialog(parent), baseUi(new Ui::DialogBase)
{
  baseUi->setupUi(this);
  connect(baseUi->buttonBox, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(baseUi->buttonBox, &QDialogButtonBox::rejected, this, &QDialog::reject);
  // The subclass sets up its content after this constructor has run.
  QTimer::singleShot(0, this, &DialogBase::setTitle);
}

DialogBase::~DialogBase() { delete baseUi; }

QWidget* DialogBase::centralWidget() const { return baseUi->centralWidget; }

QDialogButtonBox* DialogBase::buttonBox() const { return baseUi->buttonBox; }

void DialogBase::setTitle() { setWindowTitle(baseUi->centralWidget->windowTitle()); }
