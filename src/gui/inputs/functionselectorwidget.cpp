#include "gui/inputs/functionselectorwidget.h"

#include "ui_functionselectorwidget.h"

#include <QComboBox>
#include <QToolButton>

FunctionSelectorWidget::FunctionSelectorWidget(QWidget* parent)
    : WidgetBase(parent), ui(new Ui::FunctionSelectorWidget)
{
  ui->setupUi(this);
  selectors.append(ui->comboBox);
  removeButtons.append(ui->remBtn);
  ui->remBtn->setEnabled(false);
  renameSelectors();
  connect(ui->addBtn, &QPushButton::clicked, this, &FunctionSelectorWidget::addSelector);
  connectSelector(ui->comboBox, ui->remBtn);
}

FunctionSelectorWidget::~FunctionSelectorWidget()
{
  delete ui;
}

void FunctionSelectorWidget::connectSelector(QComboBox* combo, QToolButton* button)
{
  connect(button, &QToolButton::clicked, this, &FunctionSelectorWidget::remSelector);
  // The text of the new index, as the deprecated currentIndexChanged(QString) gave it.
  connect(combo, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
          [this, combo](int index) { onCurrentIndex_changed(combo->itemText(index)); });
}

void FunctionSelectorWidget::setItems(const QStringList& names)
{
  items = names;
  for (QComboBox* combo : qAsConst(selectors)) {
    const QString previous = combo->currentText();
    combo->clear();
    combo->insertItems(0, items);
    const int index = items.indexOf(previous);
    if (!previous.isEmpty() && index >= 0)
      combo->setCurrentIndex(index);
  }
}

QString FunctionSelectorWidget::selection(int index) const
{
  QComboBox* combo = selector(index);
  return combo ? combo->currentText() : QString();
}

void FunctionSelectorWidget::select(int index, const QString& name)
{
  QComboBox* combo = selector(index);
  if (!combo)
    return;
  combo->setCurrentIndex(combo->findText(name, Qt::MatchFixedString));
}

QComboBox* FunctionSelectorWidget::selector(int index) const
{
  return index >= 0 && index < selectors.size() ? selectors.at(index) : nullptr;
}

QToolButton* FunctionSelectorWidget::removeButton(int index) const
{
  return index >= 0 && index < removeButtons.size() ? removeButtons.at(index) : nullptr;
}

void FunctionSelectorWidget::restoreEnabledStates()
{
  ui->addBtn->setEnabled(true);
  for (QComboBox* combo : qAsConst(selectors))
    combo->setEnabled(true);
  for (QToolButton* b : qAsConst(removeButtons))
    b->setEnabled(removeButtons.size() > 1);
}

void FunctionSelectorWidget::setSelectorCount(int n)
{
  n = qMax(1, n);
  while (selectors.size() > n)
    removeAt(selectors.size() - 1);
  while (selectors.size() < n)
    addSelector();
  renameSelectors();
}

void FunctionSelectorWidget::addSelector()
{
  const int row = ui->gridLayout->rowCount();
  const QString suffix = QString::number(row);

  auto* combo = new QComboBox(this);
  combo->setObjectName(QStringLiteral("comboBox") + suffix);
  combo->setSizePolicy(ui->comboBox->sizePolicy());
  combo->insertItems(0, items);
  combo->setCurrentIndex(-1);

  auto* button = new QToolButton(this);
  button->setObjectName(QStringLiteral("remBtn") + suffix);
  button->setText(QStringLiteral("X"));
  connectSelector(combo, button);

  emit selectorBeingInserted(selectors.size());

  ui->gridLayout->addWidget(combo, row, 0);
  ui->gridLayout->addWidget(button, row, 1);
  setTabOrder(removeButtons.last(), combo);
  setTabOrder(combo, button);
  selectors.append(combo);
  removeButtons.append(button);

  for (QToolButton* b : qAsConst(removeButtons))
    b->setEnabled(true);
}

void FunctionSelectorWidget::remSelector()
{
  const int index = removeButtons.indexOf(qobject_cast<QToolButton*>(sender()));
  // The last selector's button is disabled; a stray click must not empty the column.
  if (index < 0 || selectors.size() < 2)
    return;
  removeAt(index);
}

void FunctionSelectorWidget::removeAt(int index)
{
  emit selectorBeingRemoved(index);
  QComboBox* combo = selectors.takeAt(index);
  QToolButton* button = removeButtons.takeAt(index);
  ui->gridLayout->removeWidget(combo);
  ui->gridLayout->removeWidget(button);
  // The button may be the sender of the running slot: delete it once it returns.
  // Until then it must not be found under a selector's name.
  combo->disconnect(this);
  button->disconnect(this);
  combo->setObjectName(QString());
  button->setObjectName(QString());
  combo->hide();
  button->hide();
  combo->deleteLater();
  button->deleteLater();
  renameSelectors();
  if (removeButtons.size() == 1)
    removeButtons.first()->setEnabled(false);
}

void FunctionSelectorWidget::renameSelectors()
{
  for (int i = 0; i < selectors.size(); ++i) {
    selectors.at(i)->setObjectName(QStringLiteral("comboBox") + QString::number(i));
    removeButtons.at(i)->setObjectName(QStringLiteral("remBtn") + QString::number(i));
  }
}

void FunctionSelectorWidget::onCurrentIndex_changed(QString text)
{
  const int index = selectors.indexOf(qobject_cast<QComboBox*>(sender()));
  if (index < 0 || text.isEmpty())
    return;
  emit selectionChanged(index, text);
}
