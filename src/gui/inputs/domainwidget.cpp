#include "gui/inputs/domainwidget.h"

#include "ui_domainwidget.h"

#include <QDoubleValidator>
#include <QRegExpValidator>
#include <QToolTip>

#include <cmath>

namespace {

// toDouble also reads "inf" and "nan"; neither is a usable interval end.
bool readFinite(const QLineEdit* edit, double& value)
{
  bool ok = false;
  value = edit->text().toDouble(&ok);
  return ok && std::isfinite(value);
}

} // namespace

DomainWidget::DomainWidget(QWidget* parent)
    : DomainWidgetBase(QString(), parent), ui(new Ui::DomainWidget)
{
  ui->setupUi(this);
  lowEdit = ui->lowEdt;
  highEdit = ui->highEdt;

  auto* lowValidator = new QDoubleValidator(this);
  lowValidator->setDecimals(3);
  useCLocale(lowValidator);
  ui->lowEdt->setValidator(lowValidator);
  auto* highValidator = new QDoubleValidator(this);
  highValidator->setDecimals(3);
  useCLocale(highValidator);
  ui->highEdt->setValidator(highValidator);
  // Digits only, more than the limit allows: a count beyond it is typed out
  // and refused with words, not cut off at the last digit that fits.
  ui->discrEdt->setValidator(new QRegExpValidator(QRegExp(QStringLiteral("[0-9]{0,10}")), this));
  countTip = ui->discrEdt->toolTip();

  for (QLineEdit* edit : {ui->lowEdt, ui->highEdt, ui->discrEdt}) {
    edit->installEventFilter(this);
    connect(edit, &QLineEdit::editingFinished, this, [this] { onInputsChanged(); });
  }
  connect(ui->discrEdt, &QLineEdit::textEdited, this, &DomainWidget::onCount_edited);
}

DomainWidget::~DomainWidget()
{
  // A focused edit would report editingFinished into the half-destroyed widget.
  for (QLineEdit* edit : {ui->lowEdt, ui->highEdt, ui->discrEdt})
    disconnect(edit, nullptr, this, nullptr);
  delete ui;
}

QWidget* DomainWidget::lastInputWidget()
{
  return ui->discrEdt;
}

DataHolderBase DomainWidget::data()
{
  auto* record = new DataHolders::Domains::Equid;
  record->low = ui->lowEdt->text().toDouble();
  record->high = ui->highEdt->text().toDouble();
  record->count = ui->discrEdt->text().toInt(nullptr, 10);
  return DataHolderBase(record);
}

bool DomainWidget::isValid()
{
  double low = 0.0, high = 0.0;
  if (!readFinite(ui->lowEdt, low) || !readFinite(ui->highEdt, high))
    return false;
  auto record = data().staticCast<DataHolders::Domains::Equid>();
  return record->high > record->low && countAllowed();
}

bool DomainWidget::countAllowed() const
{
  bool ok = false;
  const qlonglong count = ui->discrEdt->text().toLongLong(&ok, 10);
  return ok && DataHolders::Domains::discretizationAllowed(count);
}

void DomainWidget::markCount(bool tell)
{
  if (countAllowed()) {
    ui->discrEdt->setStyleSheet(QString());
    ui->discrEdt->setToolTip(countTip);
    return;
  }
  const QString limits = DataHolders::Domains::discretizationLimitText();
  ui->discrEdt->setStyleSheet(invalidStyle);
  ui->discrEdt->setToolTip(limits);
  if (tell && ui->discrEdt->isVisible())
    QToolTip::showText(ui->discrEdt->mapToGlobal(QPoint(0, ui->discrEdt->height())), limits,
                       ui->discrEdt);
}

void DomainWidget::onCount_edited()
{
  // A count too small may still grow into one that fits; one too large cannot.
  bool ok = false;
  const qlonglong count = ui->discrEdt->text().toLongLong(&ok, 10);
  markCount(ok && count > DataHolders::Domains::maxDiscretization);
}

QString DomainWidget::markInvalidInput()
{
  double low = 0.0, high = 0.0;
  QString name;
  QList<QLineEdit*> bad;
  if (!readFinite(ui->lowEdt, low)) {
    bad = {ui->lowEdt};
    name = tr("Low");
  } else if (!readFinite(ui->highEdt, high)) {
    bad = {ui->highEdt};
    name = tr("High");
  } else if (!(high > low)) {
    bad = {ui->lowEdt, ui->highEdt};
    name = tr("Low and High (Low must be less than High)");
  } else if (!isValid()) {
    bad = {ui->discrEdt};
    name = tr("Discretization (%1 to %2)").arg(minCount).arg(maxCount);
    markCount(false);
  }
  for (QLineEdit* edit : bad)
    edit->setStyleSheet(invalidStyle);
  return name;
}

void DomainWidget::showTexts(const QString& low, const QString& high, const QString& discretization)
{
  const QList<QPair<QLineEdit*, QString>> edits = {
      {ui->lowEdt, low}, {ui->highEdt, high}, {ui->discrEdt, discretization}};
  for (const auto& e : edits) {
    e.first->setText(e.second);
    e.first->setStyleSheet(QString());
    e.first->setToolTip(e.first == ui->discrEdt ? countTip : QString());
    if (e.first == focusedEdit)
      textAtFocus = e.second;
  }
}

void DomainWidget::restoreEnabledStates()
{
  for (QWidget* child : findChildren<QWidget*>())
    child->setEnabled(true);
}

bool DomainWidget::validateInputs(QLineEdit* changed)
{
  double low = 0.0, high = 0.0;
  const bool lowOk = readFinite(ui->lowEdt, low);
  const bool highOk = readFinite(ui->highEdt, high);
  if (!lowOk || !highOk) {
    double unused = 0.0;
    if (!readFinite(changed, unused))
      changed->setStyleSheet(invalidStyle);
    return false;
  }
  if (high > low) {
    ui->lowEdt->setStyleSheet(QString());
    ui->highEdt->setStyleSheet(QString());
  } else {
    changed->setStyleSheet(invalidStyle);
  }
  // A count outside the limits never becomes a domain, whichever edit was left.
  markCount(changed == ui->discrEdt);
  return countAllowed() && high > low;
}
