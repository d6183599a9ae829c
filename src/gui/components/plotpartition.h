#ifndef QUELMORA_PLOTPARTITION_H
#define QUELMORA_PLOTPARTITION_H

#include "gui/components/plotwidget.h"

#include <vector>

namespace Partitions {
template <typename X, typename Y>
class PartitionBase;
}

// A plot of a fuzzy partition: one curve per basic function, drawn over its
// non-zero range only, and one marker per node on the x axis. Dragging a node
// marker moves that node of the partition, never past a neighbouring node.
// The partition is borrowed: its owner clears the plot before deleting it.
class PlotPartition : public PlotWidget
{
  Q_OBJECT

public:
  using Partition = Partitions::PartitionBase<double, double>;

  explicit PlotPartition(QWidget* parent = nullptr);
  ~PlotPartition() override;

  void setPartition(Partition* partition);
  // Forgets the partition, its curves and markers; emits markersCountChanged(0).
  void clearPartition();
  Partition* partition() const { return _partition; }

  void highlightNode(std::size_t index, bool highlight);
  // The node index of marker, or the node count for any other marker.
  std::size_t indexOf(const QwtPlotMarker* marker) const;
  QwtPlotMarker* nodeMarker(std::size_t index) const;
  std::size_t nodeCount() const { return _nodeMarkers.size(); }
  // Puts every node marker on its partition node (after the nodes were moved
  // elsewhere) and re-aims the curves at the new non-zero ranges.
  void syncMarkers();

  // When false no node marker can be dragged.
  void setNodesMovable(bool movable) { _nodesMovable = movable; }
  bool nodesMovable() const { return _nodesMovable; }

signals:
  void nodeMoved(size_t index, double value);

protected:
  CurveInfoBase::Options markerOptionsHook(QwtPlotMarker* marker) override;
  QRectF markerBoundsHook(QwtPlotMarker* marker) override;
  bool markerChanged(QwtPlotMarker* marker) override;

private:
  void removePartition();
  void refreshCurves();

  Partition* _partition = nullptr;
  std::vector<QwtPlotMarker*> _nodeMarkers;
  bool _nodesMovable = true;
};

#endif
