#ifndef QUELMORA_PARTITIONEDITOR_H
#define QUELMORA_PARTITIONEDITOR_H

#include "gui/ftransform_widgets/data_structures.h"

#include <QWidget>

#include <qwt_plot_marker.h>

class NodeEditors;
class PlotPartition;
namespace Ui {
class PartitionEditor;
}

// The partition plot with its row of node editors. It owns the partition
// built from the record it is given and keeps both ways of moving a node
// (dragging its marker, typing its value) in step, highlighting the node in
// use on the plot and in the editors.
class PartitionEditor : public QWidget
{
  Q_OBJECT

public:
  using Partition = Partitions::PartitionBase<double, double>;

  explicit PartitionEditor(QWidget* parent = nullptr);
  ~PartitionEditor() override;

  // Builds the partition from a partition record and shows it; a missing or
  // unbuildable record leaves the editor empty.
  void setPartition(const DataHolderBase& record);
  void clear();
  const Partition* partition() const { return _partition; }
  // Moves a node as a typed value does; false (nothing moved) unless x lies
  // strictly between the neighbouring nodes.
  bool moveNode(std::size_t index, double x);

  PlotPartition* plot() const;
  NodeEditors* editors() const;
  int current() const { return _current; }

  // Locked nodes can be neither dragged nor typed.
  void setNodesLocked(bool locked);
  bool nodesLocked() const { return _nodesLocked; }

signals:
  void nodeSelected(int index);

public slots:
  // A negative index switches the highlight off.
  void highlightNode(int index);

protected slots:
  void onValue_changed(size_t index, double value);
  void onMarkerSelection_changed(QwtPlotMarker* marker, bool selected);
  void onEditor_enterFocus(size_t index);
  void onEditor_leaveFocus(size_t index);

private:
  void setHighlight(bool on);

  Ui::PartitionEditor* ui;
  Partition* _partition = nullptr;
  int _current = -1;
  bool _nodesLocked = false;
};

#endif
