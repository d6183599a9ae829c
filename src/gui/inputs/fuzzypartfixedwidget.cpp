#include "gui/inputs/fuzzypartfixedwidget.h"

#include "ui_fuzzypartfixedwidget.h"

#include "gui/ftransform_widgets/nodelayout.h"

#include <QDoubleValidator>
#include <QSignalBlocker>

#include <algorithm>
#include <cmath>

using DataHolders::Partitions::FuzzyPt;

namespace {

// Nodes that fix one basic function, minus one (at least 1), by shape code.
int functionSpan(int32_t shape)
{
  switch (shape) {
  case DataHolders::ShapeTrapezoid:
    return 3;
  case DataHolders::ShapeGaussian:
    return 1;
  default:
    return 2;
  }
}

// The points of the discretised domain, as Domains::Equidistant(low, high, count) lays them.
double domainPoint(const DataHolders::Domains::Equid& d, int i)
{
  if (i >= d.count)
    return d.high;
  return static_cast<double>(i) * ((d.high - d.low) / static_cast<double>(d.count)) + d.low;
}

} // namespace

FuzzyPartFixedWidget::FuzzyPartFixedWidget(const QSharedPointer<FuzzyPt>& record,
                                           const QString& name, QWidget* parent)
    : PartitionWidgetBase(record ? record : QSharedPointer<FuzzyPt>::create(), name, parent),
      ui(new Ui::FuzzyPartFixedWidget)
{
  ui->setupUi(top());
  fillShapes(ui->shapeCbox, {DataHolders::ShapeTriangle, DataHolders::ShapeSin});
  ui->shapeCbox->setCurrentIndex(pt().shape);
  ui->fixedPtSlider->setOrientation(Qt::Horizontal);
  ui->fixedPtSlider->setScalePosition(QwtSlider::NoScale);
  ui->fixedPtSlider->setPageSteps(1);
  ui->fixedPtLbl->setFixedWidth(ui->fixedPtLbl->fontMetrics().horizontalAdvance(
      tr("Fixed point") + QStringLiteral(" (+9.9990009)")));
  ui->offsetSpin->setValue(pt().offset);
  ui->shiftSpin->setValue(pt().shift);

  widthValidator = new QDoubleValidator(this);
  widthValidator->setDecimals(1000);
  useCLocale(widthValidator);
  ui->elemWidthEdt->setValidator(widthValidator);

  const auto& d = pt().domain;
  if (d && DataHolders::domainRangeValid(*d) && std::isfinite(pt().fixedPoint))
    pt().fixedPoint = std::min(std::max(pt().fixedPoint, d->low), d->high);
  updateDistanceBounds();
  const QVector<double> nodes = layoutNodes();
  if (!nodes.isEmpty())
    pt().nodes = nodes;
  updateCandidates();
  placeSlider();
  updateLabel();

  connect(ui->shapeCbox, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
          [this] { onInputsChanged(); });
  connect(ui->shapeCbox, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
          [this](int) { onShape_changed(shapeCode(ui->shapeCbox)); });
  connect(ui->fixedPtSlider, &QwtSlider::valueChanged, this, &FuzzyPartFixedWidget::onSlider_moved);
  connect(ui->offsetSpin, QOverload<int>::of(&QSpinBox::valueChanged), this,
          &FuzzyPartFixedWidget::onInputsChanged);
  connect(ui->shiftSpin, QOverload<int>::of(&QSpinBox::valueChanged), this,
          &FuzzyPartFixedWidget::onInputsChanged);
  connect(ui->elemWidthEdt, &QLineEdit::textEdited, this, &FuzzyPartFixedWidget::onTextEdited);

  redraw();
}

FuzzyPartFixedWidget::~FuzzyPartFixedWidget()
{
  disconnectInputs();
  delete ui;
}

FuzzyPt& FuzzyPartFixedWidget::pt() const
{
  return static_cast<FuzzyPt&>(*partitionRecord);
}

bool FuzzyPartFixedWidget::isValid()
{
  return markInvalidInput().isEmpty();
}

QString FuzzyPartFixedWidget::markInvalidInput()
{
  data();
  const FuzzyPt& r = pt();
  if (!(r.partElementWidth > 0.0) || !holdsUsableNumber(ui->elemWidthEdt))
    return markInvalid(ui->elemWidthEdt, tr("Nodes Distance"));
  if (!r.domain || !(r.domain->low <= r.fixedPoint && r.fixedPoint <= r.domain->high))
    return markInvalid(ui->fixedPtSlider, tr("Fixed point"));
  return {};
}

void FuzzyPartFixedWidget::setDomainData(QSharedPointer<DataHolders::Domains::Equid> domain)
{
  if (!DataHolders::Partitions::setDomain(pt(), domain))
    return;
  updateDistanceBounds();
  updateCandidates();
  placeSlider();
  updateLabel();
  redraw();
}

void FuzzyPartFixedWidget::onShape_changed(int32_t shape)
{
  ui->shiftSpin->setValue(shape == DataHolders::ShapeTrapezoid ? 2 : 1);
}

void FuzzyPartFixedWidget::onInputsChanged(int v)
{
  PartitionWidgetBase::onInputsChanged(v);
}

void FuzzyPartFixedWidget::onSlider_moved(double value)
{
  if (fixedPointCandidates.empty())
    return;
  const int last = static_cast<int>(fixedPointCandidates.size()) - 1;
  const int index = std::isfinite(value) ? qBound(0, qRound(value), last) : 0;
  pt().fixedPoint = fixedPointCandidates[static_cast<size_t>(index)];
  updateLabel();
  onInputsChanged(index);
}

void FuzzyPartFixedWidget::setFixedPoint(double x)
{
  updateCandidates();
  if (fixedPointCandidates.empty() || !std::isfinite(x))
    return;
  // The point itself, not the candidate the slider stands on: the candidates
  // follow the painting resolution, which follows the window's width, so a
  // session would otherwise reopen with another fixed point in another window.
  const auto& d = *pt().domain;
  pt().fixedPoint = std::min(std::max(x, d.low), d.high);
  placeSlider();
  updateLabel();
  onInputsChanged(static_cast<int>(ui->fixedPtSlider->value()));
}

void FuzzyPartFixedWidget::updateData()
{
  FuzzyPt& r = pt();
  const double oldWidth = r.partElementWidth;
  const int32_t oldShape = r.shape;
  r.shift = ui->shiftSpin->value();
  r.offset = ui->offsetSpin->value();
  r.shape = shapeCode(ui->shapeCbox);
  // Text restored from a session bypasses the validator: mark it here.
  if (highlightAcceptable(ui->elemWidthEdt))
    r.partElementWidth = ui->elemWidthEdt->text().toDouble();
  // The slider spans one basic function of the distance and shape now in use.
  if (r.partElementWidth != oldWidth || r.shape != oldShape) {
    updateCandidates();
    placeSlider();
  }
  const QVector<double> nodes = layoutNodes();
  if (!nodes.isEmpty())
    r.nodes = nodes;
}

QVector<double> FuzzyPartFixedWidget::layoutNodes()
{
  return DataHolders::Partitions::layoutNodes(pt());
}

void FuzzyPartFixedWidget::updateDistanceBounds()
{
  FuzzyPt& r = pt();
  if (!r.domain || !DataHolders::domainRangeValid(*r.domain))
    return;
  const double lo = DataHolders::Partitions::minimumStep(*r.domain);
  const double hi = DataHolders::Partitions::maximumStep(*r.domain);
  widthValidator->setRange(lo, hi, 1000);
  if (std::isnan(r.partElementWidth))
    r.partElementWidth = hi * 0.25;
  r.partElementWidth = std::min(std::max(r.partElementWidth, lo), hi);
  ui->elemWidthEdt->setText(QString::number(r.partElementWidth, 'g', 6));
  ui->elemWidthEdt->setStyleSheet(QString());
}

void FuzzyPartFixedWidget::updateCandidates()
{
  fixedPointCandidates.clear();
  const FuzzyPt& r = pt();
  if (!r.domain || !DataHolders::domainRangeValid(*r.domain) || r.domain->count < 1 ||
      !(r.partElementWidth > 0.0))
    return;
  const DataHolders::Domains::Equid& d = *r.domain;
  const double target = d.low + functionSpan(r.shape) * r.partElementWidth;
  // Walk the domain points up to the one nearest to target (the lower on a tie).
  fixedPointCandidates.push_back(domainPoint(d, 0));
  for (int i = 1; i <= d.count; ++i) {
    const double x = domainPoint(d, i);
    const double previous = fixedPointCandidates.back();
    if (x > target && x - target >= target - previous)
      break;
    fixedPointCandidates.push_back(x);
    if (x >= target)
      break;
  }
  const QSignalBlocker blocker(ui->fixedPtSlider);
  const double maximum = static_cast<double>(fixedPointCandidates.size() - 1);
  ui->fixedPtSlider->setScale(0.0, std::max(1.0, maximum));
  ui->fixedPtSlider->setTotalSteps(static_cast<uint>(std::max(1.0, maximum)));
}

void FuzzyPartFixedWidget::placeSlider()
{
  if (fixedPointCandidates.empty())
    return;
  auto it =
      std::lower_bound(fixedPointCandidates.begin(), fixedPointCandidates.end(), pt().fixedPoint);
  if (it == fixedPointCandidates.end())
    --it;
  const QSignalBlocker blocker(ui->fixedPtSlider);
  ui->fixedPtSlider->setValue(static_cast<double>(it - fixedPointCandidates.begin()));
}

void FuzzyPartFixedWidget::updateLabel()
{
  ui->fixedPtLbl->setText(tr("Fixed point") + QStringLiteral(" (") +
                          QString::number(pt().fixedPoint, 'f', 4) + QStringLiteral(")"));
}
