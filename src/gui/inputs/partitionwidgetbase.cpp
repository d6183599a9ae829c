#include "gui/inputs/partitionwidgetbase.h"

#include "ui_partitionwidgetbase.h"

#include "gui/components/markerpicker.h"
#include "gui/components/nodeeditors.h"
#include "gui/components/partitioneditor.h"
#include "gui/components/plotpartition.h"
#include "gui/ftransform_widgets/nodelayout.h"

#include <QDoubleValidator>
#include <QLineEdit>
#include <QPoint>

#include <qwt_plot.h>
#include <qwt_scale_map.h>

#include <cmath>

PartitionWidgetBase::PartitionWidgetBase(
    const QSharedPointer<DataHolders::Partitions::PartBase>& record, const QString& name,
    QWidget* parent)
    : ConfigWidgetBase(name, parent), baseUi(new Ui::PartitionWidgetBase), partitionRecord(record)
{
  Q_ASSERT(record);
  baseUi->setupUi(this);
  editor = new PartitionEditor(this);
  replaceWidget(baseUi->verticalLayout, baseUi->bottom, editor);
  editor->setObjectName(QStringLiteral("bottom"));
  baseUi->bottom = editor;
  editor->plot()->plot()->setAxisScale(QwtPlot::yLeft, 0.0, 1.0, 0.5);
  describeMouseActions();
}

PartitionWidgetBase::~PartitionWidgetBase()
{
  disconnectInputs();
  delete baseUi;
}

void PartitionWidgetBase::disconnectInputs()
{
  setNodeMovePropagation(false);
  const QList<QObject*> senders = findChildren<QObject*>();
  for (QObject* sender : senders)
    disconnect(sender, nullptr, this, nullptr);
}

QWidget* PartitionWidgetBase::top() const
{
  return baseUi->top;
}

DataHolderBase PartitionWidgetBase::data()
{
  const QVector<double> nodes = editorNodes();
  // An editor that shows no partition, or not this record's node count, has
  // nothing newer than the record.
  if (!nodes.isEmpty() && nodes.size() == partitionRecord->nodes.size())
    partitionRecord->nodes = nodes;
  return partitionRecord;
}

void PartitionWidgetBase::setMaxComponents(int) {}

bool PartitionWidgetBase::setNodeSet(const std::set<double>& nodes)
{
  const QVector<double> list(nodes.begin(), nodes.end());
  if (!nodeSetEditable || !partitionRecord->domain ||
      !DataHolders::nodesValid(list, *partitionRecord->domain))
    return false;
  nodeSet = nodes;
  nodeSetStale = false;
  partitionRecord->nodes = list;
  return true;
}

std::set<double>& PartitionWidgetBase::userNodes() const
{
  if (nodeSetStale) {
    const QVector<double> moved = editorNodes();
    if (!moved.isEmpty())
      nodeSet = std::set<double>(moved.begin(), moved.end());
    nodeSetStale = false;
  }
  return nodeSet;
}

void PartitionWidgetBase::keepUserNodes(const QVector<double>& nodes)
{
  nodeSet = std::set<double>(nodes.begin(), nodes.end());
  nodeSetStale = false;
}

void PartitionWidgetBase::setNodesLocked(bool on)
{
  locked = on;
  editor->setNodesLocked(on);
  describeMouseActions();
}

void PartitionWidgetBase::setNodeSetEditable(bool editable)
{
  nodeSetEditable = editable;
  nodeSet.clear();
  nodeSetStale = false;
  for (double x : qAsConst(partitionRecord->nodes))
    if (std::isfinite(x))
      nodeSet.insert(x);
  describeMouseActions();
}

void PartitionWidgetBase::describeMouseActions()
{
  QString tip;
  if (locked)
    tip = tr("Partition: click a node to select it; the nodes follow the inputs above.");
  else if (nodeSetEditable)
    tip = tr("Partition: drag a node to move it; Ctrl+click in the lower third adds a node; "
             "Ctrl+right-click near a node removes it.");
  else
    tip = tr("Partition: drag a node to move it.");
  editor->plot()->setStatusTip(tip);
  // On the drawing itself, which screen readers and tooltips reach.
  editor->plot()->plot()->setToolTip(tip);
  editor->plot()->plot()->setAccessibleName(tr("Partition"));
}

void PartitionWidgetBase::setNodeMovePropagation(bool on)
{
  for (const QMetaObject::Connection& c : qAsConst(propagation))
    disconnect(c);
  propagation.clear();
  if (!on)
    return;
  propagation << connect(editor->plot(), &PlotWidget::markerMoved, this,
                         &ConfigWidgetBase::inputsChanged);
  propagation << connect(editor->editors(), &NodeEditors::valueChanged, this,
                         &ConfigWidgetBase::inputsChanged);
}

bool PartitionWidgetBase::moveNode(std::size_t index, double x)
{
  if (locked || !editor->moveNode(index, x))
    return false;
  nodesMoved();
  if (nodeMovePropagation())
    emit inputsChanged();
  return true;
}

void PartitionWidgetBase::setDomainData(QSharedPointer<DataHolders::Domains::Equid> domain)
{
  if (!domain || !DataHolders::domainRangeValid(*domain))
    return;
  const auto& old = partitionRecord->domain;
  const bool sameRange = old && old->low == domain->low && old->high == domain->high;
  partitionRecord->domain = domain;
  // A new painting resolution alone must not throw away the nodes the user placed.
  if (!sameRange) {
    const QVector<double> nodes = layoutNodes();
    if (!nodes.isEmpty())
      partitionRecord->nodes = nodes;
  }
  redraw();
}

void PartitionWidgetBase::setDomainData(DataHolderBase domain)
{
  if (!domain || domain->type != DataHolders::domainEquidType)
    return;
  setDomainData(domain.staticCast<DataHolders::Domains::Equid>());
}

void PartitionWidgetBase::onInputsChanged(int)
{
  updateData();
  redraw();
  emit inputsChanged();
}

void PartitionWidgetBase::onTextEdited(QString)
{
  auto* edit = qobject_cast<QLineEdit*>(sender());
  if (edit && highlightAcceptable(edit))
    onInputsChanged(0);
}

bool PartitionWidgetBase::highlightAcceptable(QLineEdit* edit)
{
  const bool ok = isAcceptable(edit);
  edit->setStyleSheet(ok ? QString() : QString(invalidStyle));
  return ok;
}

bool PartitionWidgetBase::holdsUsableNumber(const QLineEdit* edit)
{
  bool ok = false;
  const double x = edit->text().toDouble(&ok);
  const auto* v = qobject_cast<const QDoubleValidator*>(edit->validator());
  if (!ok || !std::isfinite(x) || !v)
    return false;
  const double slack = 1e-6;
  return x >= v->bottom() - std::abs(v->bottom()) * slack &&
         x <= v->top() + std::abs(v->top()) * slack;
}

QString PartitionWidgetBase::markInvalid(QWidget* w, const QString& name)
{
  w->setStyleSheet(invalidStyle);
  return name;
}

void PartitionWidgetBase::redraw()
{
  // The math core asserts on nodes it cannot build on; such a record shows
  // nothing. Fixed-point layouts may reach past the domain ends by design.
  const QVector<double>& nodes = partitionRecord->nodes;
  bool buildable = partitionRecord->domain && nodes.size() >= 2;
  for (int i = 0; buildable && i < nodes.size(); ++i)
    buildable = std::isfinite(nodes[i]) && (i == 0 || nodes[i - 1] <= nodes[i]);
  if (buildable)
    editor->setPartition(partitionRecord);
  else
    editor->clear();
}

QVector<double> PartitionWidgetBase::editorNodes() const
{
  const auto& values = editor->editors()->values();
  if (!editor->partition() || values.empty())
    return {};
  return QVector<double>(values.begin(), values.end());
}

double PartitionWidgetBase::canvasToX(int pixel) const
{
  return editor->plot()->plot()->canvasMap(QwtPlot::xBottom).invTransform(pixel);
}

double PartitionWidgetBase::xToCanvas(double x) const
{
  return editor->plot()->plot()->canvasMap(QwtPlot::xBottom).transform(x);
}

bool PartitionWidgetBase::inLowestThird(const QPoint& pos) const
{
  return pos.y() >= 2 * editor->plot()->canvas()->height() / 3;
}

bool PartitionWidgetBase::addNodeAt(std::set<double>& nodes, const QPoint& pos) const
{
  if (locked || !inLowestThird(pos))
    return false;
  const double x = canvasToX(pos.x());
  const auto& d = partitionRecord->domain;
  if (!std::isfinite(x) || !d || x < d->low || x > d->high)
    return false;
  // A click on a node would give a second node within a pixel of it.
  auto next = nodes.lower_bound(x);
  if (next != nodes.end() && std::abs(xToCanvas(*next) - pos.x()) < 1.0)
    return false;
  if (next != nodes.begin() && std::abs(xToCanvas(*std::prev(next)) - pos.x()) < 1.0)
    return false;
  return nodes.insert(x).second;
}

void PartitionWidgetBase::connectNodeKeys(const std::function<void(const QPoint&)>& add,
                                          const std::function<void(const QPoint&)>& remove)
{
  NodeEditors* editors = editor->editors();
  // A point in the lowest third of the canvas at x, as a click would give it.
  const auto clickAt = [this](double x) {
    return QPoint(int(std::lround(xToCanvas(x))), editor->plot()->canvas()->height() - 2);
  };
  const auto refocus = [editors](std::size_t index) {
    if (QLineEdit* e = editors->editor(std::min(index, editors->count() - 1)))
      e->setFocus(Qt::OtherFocusReason);
  };
  connect(editors, &NodeEditors::addNodeRequested, this, [=](std::size_t index) {
    const QVector<double>& nodes = partitionRecord->nodes;
    if (nodes.size() < 2 || index >= std::size_t(nodes.size()))
      return;
    const std::size_t left = std::min(index, std::size_t(nodes.size()) - 2);
    const std::size_t before = editors->count();
    add(clickAt(nodes[int(left)] / 2 + nodes[int(left) + 1] / 2));
    refocus(editors->count() > before ? left + 1 : index);
  });
  connect(editors, &NodeEditors::removeNodeRequested, this, [=](std::size_t index) {
    const QVector<double>& nodes = partitionRecord->nodes;
    if (index >= std::size_t(nodes.size()))
      return;
    remove(clickAt(nodes[int(index)]));
    refocus(index);
  });
}

bool PartitionWidgetBase::removeNodeAt(std::set<double>& nodes, const QPoint& pos) const
{
  if (locked || !inLowestThird(pos) || nodes.size() < 3)
    return false;
  const double x = canvasToX(pos.x());
  auto right = nodes.upper_bound(x);
  if (right == nodes.begin() || right == nodes.end() || right == std::prev(nodes.end()))
    return false;
  auto left = std::prev(right);
  if (left == nodes.begin())
    return false;
  const double toLeft = std::abs(xToCanvas(*left) - pos.x());
  const double toRight = std::abs(xToCanvas(*right) - pos.x());
  const bool leftNearer = toLeft <= toRight;
  if ((leftNearer ? toLeft : toRight) >= 13.0)
    return false;
  nodes.erase(leftNearer ? left : right);
  return true;
}

void PartitionWidgetBase::fillShapes(QComboBox* box,
                                     std::initializer_list<DataHolders::Shape> shapes)
{
  box->clear();
  for (DataHolders::Shape shape : shapes) {
    QString name;
    switch (shape) {
    case DataHolders::ShapeTriangle:
      name = tr("Triangle");
      break;
    case DataHolders::ShapeSin:
      name = tr("Sin");
      break;
    case DataHolders::ShapeGaussian:
      name = tr("Gaussian");
      break;
    case DataHolders::ShapeTrapezoid:
      name = tr("Trapezoid");
      break;
    }
    box->addItem(name, int(shape));
  }
}

int32_t PartitionWidgetBase::shapeCode(const QComboBox* box)
{
  const QVariant code = box->currentData();
  return code.isValid() ? code.toInt() : DataHolders::ShapeTriangle;
}
