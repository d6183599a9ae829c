#include "gui/components/partitioneditor.h"

#include "gui/components/markerpicker.h"
#include "gui/components/nodeeditors.h"
#include "gui/components/plotpartition.h"
#include "math/partitions/partitionbase.h"
#include "ui_partitioneditor.h"

#include <algorithm>
#include <cmath>

PartitionEditor::PartitionEditor(QWidget* parent) : QWidget(parent), ui(new Ui::PartitionEditor)
{
  ui->setupUi(this);
  PlotPartition* p = ui->w1Partition;
  NodeEditors* e = ui->w2Editors;
  connect(p, &PlotWidget::markersCountChanged, e, &NodeEditors::setEditorsCount);
  connect(p, &PlotPartition::nodeMoved, e, &NodeEditors::setEditorValue);
  connect(p->picker(), &MarkerPicker::markerSelectionChanged, this,
          &PartitionEditor::onMarkerSelection_changed);
  connect(e, &NodeEditors::editorEnterFocus, this, &PartitionEditor::onEditor_enterFocus);
  connect(e, &NodeEditors::editorLeaveFocus, this, &PartitionEditor::onEditor_leaveFocus);
  connect(e, &NodeEditors::valueChanged, this, &PartitionEditor::onValue_changed);
}

PartitionEditor::~PartitionEditor()
{
  ui->w2Editors->disconnectEditors();
  disconnect(ui->w2Editors, nullptr, this, nullptr);
  ui->w1Partition->clearPartition();
  delete _partition;
  delete ui;
}

PlotPartition* PartitionEditor::plot() const
{
  return ui->w1Partition;
}

NodeEditors* PartitionEditor::editors() const
{
  return ui->w2Editors;
}

void PartitionEditor::setPartition(const DataHolderBase& record)
{
  NodeEditors* e = ui->w2Editors;
  e->disconnectEditors();
  // The highlight follows its node, which an added or removed node shifts to
  // another index; a fresh layout of as many nodes keeps the index.
  const int before = _current;
  double highlighted = 0.0;
  std::size_t oldCount = 0;
  if (_partition) {
    oldCount = _partition->nodes().size();
    if (_current >= 0 && std::size_t(_current) < oldCount)
      highlighted = _partition->nodes()[std::size_t(_current)];
    setHighlight(false);
    clear();
  }
  const auto partRecord = record.dynamicCast<DataHolders::Partitions::PartBase>();
  if (partRecord)
    _partition = DataHolders::createPartition(partRecord, nullptr);
  if (_partition) {
    ui->w1Partition->setPartition(_partition);
    const std::vector<double>& nodes = _partition->nodes();
    // Typed nodes stay inside the domain (fixed-point layouts may reach past it).
    e->setRange(std::min(_partition->domain()->low(), nodes.front()),
                std::max(_partition->domain()->high(), nodes.back()));
    e->setEditorValues(nodes);
    int target = -1;
    if (_current >= 0) {
      const auto found = std::find(nodes.begin(), nodes.end(), highlighted);
      if (found != nodes.end())
        target = int(found - nodes.begin());
      else if (nodes.size() == oldCount)
        target = _current;
    }
    _current = -1;
    highlightNode(target);
    ui->w1Partition->replot();
  } else {
    _current = -1;
  }
  e->connectEditors();
  if (_current != before)
    emit nodeSelected(_current);
}

void PartitionEditor::clear()
{
  ui->w1Partition->clearPartition();
  delete _partition;
  _partition = nullptr;
}

void PartitionEditor::setNodesLocked(bool locked)
{
  _nodesLocked = locked;
  ui->w1Partition->setNodesMovable(!locked);
  ui->w2Editors->setReadOnly(locked);
}

bool PartitionEditor::moveNode(std::size_t index, double x)
{
  if (!_partition || index >= _partition->nodes().size() || !std::isfinite(x))
    return false;
  const std::vector<double>& nodes = _partition->nodes();
  if ((index > 0 && !(nodes[index - 1] < x)) ||
      (index + 1 < nodes.size() && !(x < nodes[index + 1])))
    return false;
  ui->w2Editors->setEditorValue(index, x);
  onValue_changed(index, x);
  return true;
}

void PartitionEditor::onValue_changed(size_t index, double value)
{
  if (!_partition || index >= _partition->nodes().size())
    return;
  _partition->moveNode(index, value);
  ui->w1Partition->syncMarkers();
  ui->w1Partition->replot();
}

void PartitionEditor::onMarkerSelection_changed(QwtPlotMarker* marker, bool selected)
{
  if (selected) {
    const std::size_t i = ui->w1Partition->indexOf(marker);
    if (i < ui->w1Partition->nodeCount())
      highlightNode(int(i));
  } else {
    setHighlight(false);
  }
  emit nodeSelected(_current);
}

void PartitionEditor::highlightNode(int index)
{
  if (index < 0) {
    setHighlight(false);
    _current = -1;
    return;
  }
  if (!_partition || std::size_t(index) >= _partition->fceCount())
    return;
  setHighlight(false);
  _current = index;
  setHighlight(true);
}

void PartitionEditor::setHighlight(bool on)
{
  if (_current == -1)
    return;
  ui->w2Editors->highlighEditor(std::size_t(_current), on);
  ui->w1Partition->highlightNode(std::size_t(_current), on);
}

void PartitionEditor::onEditor_enterFocus(size_t index)
{
  if (int(index) != _current)
    setHighlight(false);
  _current = int(index);
  ui->w1Partition->highlightNode(index, true);
  emit nodeSelected(_current);
}

void PartitionEditor::onEditor_leaveFocus(size_t index)
{
  if (_current != -1)
    ui->w2Editors->highlighEditor(std::size_t(_current), false);
  ui->w1Partition->highlightNode(index, false);
}
