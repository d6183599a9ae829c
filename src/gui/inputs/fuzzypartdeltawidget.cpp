#include "gui/inputs/fuzzypartdeltawidget.h"

#include "ui_fuzzypartdeltawidget.h"

#include "gui/components/markerpicker.h"
#include "gui/components/nodeeditors.h"
#include "gui/components/partitioneditor.h"
#include "gui/components/plotpartition.h"
#include "gui/ftransform_widgets/nodelayout.h"

#include <QDoubleValidator>

#include <algorithm>
#include <qwt_plot_marker.h>

#include <cmath>
#include <limits>

using DataHolders::Partitions::FuzzyDelta;

FuzzyPartDeltaWidget::FuzzyPartDeltaWidget(const QSharedPointer<FuzzyDelta>& record,
                                           const QString& name, QWidget* parent)
    : PartitionWidgetBase(record ? record : QSharedPointer<FuzzyDelta>::create(), name, parent),
      ui(new Ui::FuzzyPartDeltaWidget)
{
  ui->setupUi(top());
  fillShapes(ui->shapeCbox,
             {DataHolders::ShapeTriangle, DataHolders::ShapeSin, DataHolders::ShapeGaussian});
  ui->shapeCbox->setCurrentIndex(fd().shape);

  deltaValidator = new QDoubleValidator(this);
  deltaValidator->setDecimals(1000);
  useCLocale(deltaValidator);
  ui->deltaEdt->setValidator(deltaValidator);
  varianceValidator = new QDoubleValidator(this);
  varianceValidator->setDecimals(1000);
  useCLocale(varianceValidator);
  ui->extraParamEdt->setValidator(varianceValidator);
  updateBounds();

  connect(ui->shapeCbox, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
          [this] { onInputsChanged(); });
  connect(ui->deltaEdt, &QLineEdit::textEdited, this, &FuzzyPartDeltaWidget::onTextEdited);
  connect(ui->extraParamEdt, &QLineEdit::textEdited, this, &FuzzyPartDeltaWidget::onTextEdited);

  MarkerPicker* picker = editor->plot()->picker();
  setNodeSetEditable(true);
  connect(picker, &MarkerPicker::userClicked_lmb_withCtrl, this,
          &FuzzyPartDeltaWidget::onAddMarker);
  connect(picker, &MarkerPicker::userClicked_rmb_withCtrl, this,
          &FuzzyPartDeltaWidget::onRemoveMarker);
  connectNodeKeys([this](const QPoint& p) { onAddMarker(p); },
                  [this](const QPoint& p) { onRemoveMarker(p); });
  connect(picker, &MarkerPicker::markerMoved, this,
          QOverload<QwtPlotMarker*>::of(&FuzzyPartDeltaWidget::onNode_moved));
  connect(editor->editors(), &NodeEditors::valueChanged, this,
          QOverload<size_t, double>::of(&FuzzyPartDeltaWidget::onNode_moved));

  redraw();
}

FuzzyPartDeltaWidget::~FuzzyPartDeltaWidget()
{
  disconnectInputs();
  delete ui;
}

FuzzyDelta& FuzzyPartDeltaWidget::fd() const
{
  return static_cast<FuzzyDelta&>(*partitionRecord);
}

bool FuzzyPartDeltaWidget::isValid()
{
  return markInvalidInput().isEmpty();
}

QString FuzzyPartDeltaWidget::markInvalidInput()
{
  data();
  if (!(fd().delta > 0.0) || !holdsUsableNumber(ui->deltaEdt))
    return markInvalid(ui->deltaEdt, tr("Element width"));
  if (!(fd().extraParam > 0.0) || !holdsUsableNumber(ui->extraParamEdt))
    return markInvalid(ui->extraParamEdt, tr("Variance"));
  return {};
}

void FuzzyPartDeltaWidget::setDomainData(QSharedPointer<DataHolders::Domains::Equid> domain)
{
  if (!domain || !DataHolders::domainRangeValid(*domain))
    return;
  const auto& old = fd().domain;
  if (old && old->low == domain->low && old->high == domain->high) {
    // A new painting resolution alone keeps the nodes the user placed.
    PartitionWidgetBase::setDomainData(domain);
    return;
  }
  if (!DataHolders::Partitions::setDomain(fd(), domain))
    return;
  keepUserNodes(partitionRecord->nodes);
  updateBounds();
  redraw();
}

void FuzzyPartDeltaWidget::onAddMarker(const QPoint& pos)
{
  if (addNodeAt(userNodes(), pos))
    onInputsChanged(0);
}

void FuzzyPartDeltaWidget::onRemoveMarker(const QPoint& pos)
{
  if (removeNodeAt(userNodes(), pos))
    onInputsChanged(0);
}

void FuzzyPartDeltaWidget::onInputsChanged(int v)
{
  regenerate = sender() == ui->deltaEdt;
  PartitionWidgetBase::onInputsChanged(v);
}

void FuzzyPartDeltaWidget::onNode_moved(QwtPlotMarker*)
{
  nodesMoved();
}

void FuzzyPartDeltaWidget::onNode_moved(size_t, double)
{
  onNode_moved();
}

void FuzzyPartDeltaWidget::updateData()
{
  FuzzyDelta& r = fd();
  // Text restored from a session bypasses the validators: mark it here.
  if (highlightAcceptable(ui->deltaEdt))
    r.delta = ui->deltaEdt->text().toDouble();
  if (highlightAcceptable(ui->extraParamEdt))
    r.extraParam = ui->extraParamEdt->text().toDouble();
  r.shape = shapeCode(ui->shapeCbox);
  if (regenerate) {
    const QVector<double> nodes = layoutNodes();
    if (!nodes.isEmpty()) {
      r.nodes = nodes;
      keepUserNodes(nodes);
    }
    regenerate = false;
  } else {
    const std::set<double>& user = userNodes();
    r.nodes = QVector<double>(user.begin(), user.end());
  }
}

QVector<double> FuzzyPartDeltaWidget::layoutNodes()
{
  return DataHolders::Partitions::layoutNodes(fd());
}

void FuzzyPartDeltaWidget::updateBounds()
{
  FuzzyDelta& r = fd();
  if (!r.domain || !DataHolders::domainRangeValid(*r.domain))
    return;
  const double lo = DataHolders::Partitions::minimumStep(*r.domain);
  const double hi = DataHolders::Partitions::maximumStep(*r.domain);
  deltaValidator->setRange(lo, hi, 1000);
  if (std::isnan(r.delta))
    r.delta = hi * 0.25;
  r.delta = std::min(std::max(r.delta, lo), hi);
  const double varianceBottom = r.delta / 10000.0;
  varianceValidator->setRange(varianceBottom, std::numeric_limits<double>::max(), 1000);
  if (!(r.extraParam >= varianceBottom) || !std::isfinite(r.extraParam))
    r.extraParam = std::isfinite(r.extraParam) ? varianceBottom : r.delta * 0.5;
  ui->deltaEdt->setText(QString::number(r.delta, 'g', 6));
  ui->extraParamEdt->setText(QString::number(r.extraParam, 'g', 6));
  ui->deltaEdt->setStyleSheet(QString());
  ui->extraParamEdt->setStyleSheet(QString());
}
