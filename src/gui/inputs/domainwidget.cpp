#include "gui/inputs/domainwidget.h"

#include "ui_domainwidget.h"

#include <QDoubleValidator>
#include <QIntValidator>

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
  auto* countValidator = new QIntValidator(minCount, maxCount, this);
  useCLocale(countValidator);
  ui->discrEdt->setValidator(countValidator);

  for (QLineEdit* edit : {ui->lowEdt, ui->highEdt, ui->discrEdt}) {
    edit->installEventFilter(this);
    connect(edit, &QLineEdit::editingFinished, this, [this] { onInputsChanged(); });
  }
  connect(ui->discrEdt, &QLineEdit::textEdited, this, &DomainWidget::highlightByValidator);
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
  record->center = (record->low + record->high) * 0.5;
  return DataHolderBase(record);
}

bool DomainWidget::isValid()
{
  double low = 0.0, high = 0.0;
  if (!readFinite(ui->lowEdt, low) || !readFinite(ui->highEdt, high))
    return false;
  auto record = data().staticCast<DataHolders::Domains::Equid>();
  return record->high > record->low && record->count >= minCount && record->count <= maxCount;
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
    if (e.first == focusedEdit)
      textAtFocus = e.second;
  }
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
  bool ok = false;
  const int count = ui->discrEdt->text().toInt(&ok, 10);
  if (!ok || count < minCount || count > maxCount) {
    // A count the validator refuses must not become a domain.
    ui->discrEdt->setStyleSheet(invalidStyle);
    return false;
  }
  ui->discrEdt->setStyleSheet(QString());
  return high > low;
}
