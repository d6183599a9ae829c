#include "gui/inputs/fuzzypartequidwidget.h"

#include "ui_fuzzypartequidwidget.h"

#include "gui/components/markerpicker.h"
#include "gui/components/nodeeditors.h"
#include "gui/components/partitioneditor.h"
#include "gui/components/plotpartition.h"
#include "gui/ftransform_widgets/nodelayout.h"

#include <QScopedValueRollback>

#include <qwt_plot_marker.h>

#include <cmath>

using DataHolders::Partitions::FuzzyEq;

FuzzyPartEquidWidget::FuzzyPartEquidWidget(const QSharedPointer<FuzzyEq>& record,
                                           const QString& name, QWidget* parent)
    : PartitionWidgetBase(record ? record : QSharedPointer<FuzzyEq>::create(), name, parent),
      ui(new Ui::FuzzyPartEquidWidget)
{
  ui->setupUi(top());
  fillShapes(ui->shapeCbox, {DataHolders::ShapeTriangle, DataHolders::ShapeSin});
  ui->shapeCbox->setCurrentIndex(eq().shape);
  setMaxComponents(ui->nodesSpin->maximum());
  ui->nodesSpin->setValue(eq().componentCount);
  ui->shiftSpin->setValue(eq().shift);
  ui->offsetSpin->setValue(eq().offset);

  connect(ui->shapeCbox, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
          [this] { onInputsChanged(); });
  connect(ui->shapeCbox, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
          [this](int) { onShape_changed(shapeCode(ui->shapeCbox)); });
  // Kept in the record: the widget is made anew on every domain change. Taken
  // before the partition is rebuilt, whose new limit would otherwise put the
  // previous choice back in place of a lower one.
  connect(ui->nodesSpin, QOverload<int>::of(&QSpinBox::valueChanged), this, [this](int count) {
    if (!limiting)
      eq().chosenComponentCount = count;
  });
  connectNodesSpin();
  connect(ui->offsetSpin, QOverload<int>::of(&QSpinBox::valueChanged), this,
          &FuzzyPartEquidWidget::onInputsChanged);
  connect(ui->shiftSpin, QOverload<int>::of(&QSpinBox::valueChanged), this,
          &FuzzyPartEquidWidget::onInputsChanged);

  MarkerPicker* picker = editor->plot()->picker();
  setNodeSetEditable(true);
  connect(picker, &MarkerPicker::userClicked_lmb_withCtrl, this,
          &FuzzyPartEquidWidget::onAddMarker);
  connect(picker, &MarkerPicker::userClicked_rmb_withCtrl, this,
          &FuzzyPartEquidWidget::onRemoveMarker);
  connectNodeKeys([this](const QPoint& p) { onAddMarker(p); },
                  [this](const QPoint& p) { onRemoveMarker(p); });
  connect(picker, &MarkerPicker::markerMoved, this,
          QOverload<QwtPlotMarker*>::of(&FuzzyPartEquidWidget::onNode_moved));
  connect(editor->editors(), &NodeEditors::valueChanged, this,
          QOverload<size_t, double>::of(&FuzzyPartEquidWidget::onNode_moved));

  redraw();
}

FuzzyPartEquidWidget::~FuzzyPartEquidWidget()
{
  disconnectInputs();
  delete ui;
}

FuzzyEq& FuzzyPartEquidWidget::eq() const
{
  return static_cast<FuzzyEq&>(*partitionRecord);
}

void FuzzyPartEquidWidget::connectNodesSpin()
{
  nodesSpinConnection = connect(ui->nodesSpin, QOverload<int>::of(&QSpinBox::valueChanged), this,
                                &FuzzyPartEquidWidget::onInputsChanged);
}

bool FuzzyPartEquidWidget::isValid()
{
  data();
  return eq().componentCount > 1;
}

QString FuzzyPartEquidWidget::markInvalidInput()
{
  return isValid() ? QString() : markInvalid(ui->nodesSpin, tr("Components"));
}

void FuzzyPartEquidWidget::setMaxComponents(int n)
{
  QSpinBox* spin = ui->nodesSpin;
  int32_t& chosen = eq().chosenComponentCount;
  if (chosen <= 0)
    chosen = eq().componentCount;
  {
    // The lowered count recomputes at once, and the controller sets the
    // limit again from inside that: only the outermost call ends it.
    const QScopedValueRollback<bool> rollback(limiting, true);
    spin->setMaximum(qMax(n, spin->minimum()));
  }
  spin->setToolTip(tr("Min: %1, Max: %2").arg(spin->minimum()).arg(spin->maximum()));
  const int wanted = qMin(chosen, spin->maximum());
  if (spin->value() < wanted)
    spin->setValue(wanted);
}

int FuzzyPartEquidWidget::maxComponents() const
{
  return ui->nodesSpin->maximum();
}

void FuzzyPartEquidWidget::setDomainData(QSharedPointer<DataHolders::Domains::Equid> domain)
{
  // The spin box may count nodes added by hand; a fresh layout keeps their number.
  eq().componentCount = ui->nodesSpin->value();
  PartitionWidgetBase::setDomainData(domain);
  keepUserNodes(partitionRecord->nodes);
}

void FuzzyPartEquidWidget::onShape_changed(int32_t shape)
{
  ui->shiftSpin->setValue(shape == DataHolders::ShapeTrapezoid ? 2 : 1);
}

void FuzzyPartEquidWidget::onAddMarker(const QPoint& pos)
{
  // The component limit bounds hand-placed nodes as well.
  if (static_cast<qint64>(userNodes().size()) >= ui->nodesSpin->maximum() ||
      !addNodeAt(userNodes(), pos))
    return;
  stepComponents(1);
  onInputsChanged(0);
}

void FuzzyPartEquidWidget::onRemoveMarker(const QPoint& pos)
{
  if (!removeNodeAt(userNodes(), pos))
    return;
  stepComponents(-1);
  onInputsChanged(0);
}

void FuzzyPartEquidWidget::stepComponents(int steps)
{
  disconnect(nodesSpinConnection);
  ui->nodesSpin->stepBy(steps);
  connectNodesSpin();
}

void FuzzyPartEquidWidget::onInputsChanged(int v)
{
  regenerate = sender() == ui->nodesSpin;
  PartitionWidgetBase::onInputsChanged(v);
}

void FuzzyPartEquidWidget::onNode_moved(QwtPlotMarker*)
{
  nodesMoved();
}

void FuzzyPartEquidWidget::onNode_moved(size_t, double)
{
  onNode_moved();
}

void FuzzyPartEquidWidget::updateData()
{
  FuzzyEq& r = eq();
  r.shift = ui->shiftSpin->value();
  r.offset = ui->offsetSpin->value();
  r.shape = shapeCode(ui->shapeCbox);
  if (regenerate) {
    r.componentCount = ui->nodesSpin->value();
    const QVector<double> nodes = layoutNodes();
    if (!nodes.isEmpty()) {
      r.nodes = nodes;
      keepUserNodes(nodes);
    }
    regenerate = false;
  } else {
    // Nodes added or removed by hand are components too: a widget made anew
    // from the record must show their number.
    r.componentCount = ui->nodesSpin->value();
    const std::set<double>& user = userNodes();
    r.nodes = QVector<double>(user.begin(), user.end());
  }
}

QVector<double> FuzzyPartEquidWidget::layoutNodes()
{
  return DataHolders::Partitions::layoutNodes(eq());
}
