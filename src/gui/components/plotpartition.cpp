#include "gui/components/plotpartition.h"

#include "gui/components/functioncurve.h"
#include "gui/components/nodemarker.h"
#include "math/partitions/partitionbase.h"

#include <qwt_plot.h>
#include <qwt_plot_curve.h>
#include <qwt_plot_marker.h>

#include <cmath>
#include <limits>

namespace {

// Far enough to leave the end nodes and the y coordinate unrestricted.
constexpr double farLimit = 999111999.0;

} // namespace

PlotPartition::PlotPartition(QWidget* parent) : PlotWidget(parent) {}

PlotPartition::~PlotPartition()
{
  removePartition();
}

void PlotPartition::setPartition(Partition* partition)
{
  if (_partition)
    removePartition();
  _partition = partition;
  if (!partition)
    return;
  // A node move redraws only the basic functions it changed.
  partition->setTrackChanges(true);
  std::vector<CurveInfoBase*> infos;
  infos.reserve(partition->allFce().size());
  for (auto* fce : partition->allFce()) {
    const Function* fn = fce;
    if (curveInfo(fn))
      continue;
    auto* info = new CurveInfo<NoMarkerPolicy>(fn);
    info->setNonZeroRangeOnly(true);
    infos.push_back(info);
  }
  // One pass for all curves: a partition may have 100,000 basic functions.
  addCurveInfos(infos);
  for (CurveInfoBase* info : infos) {
    info->curve()->setPen(QPen(Qt::black, 0));
    // Drawn from a summary: refreshCurves() reports every change.
    static_cast<FunctionCurve*>(info->curve())->setSummarized(true);
  }
  const std::vector<double>& nodes = partition->nodes();
  _nodeMarkers.reserve(nodes.size());
  const NodeMarker* previous = nullptr;
  for (double x : nodes) {
    auto* m = new NodeMarker(previous, _nodeMarkers.size());
    previous = m;
    CurveInfoBase::styleMarker(m);
    m->setValue(x, 0.0);
    m->setVisible(markersVisible());
    m->attach(plot());
    _nodeMarkers.push_back(m);
  }
  emit markersCountChanged(nodes.size());
}

void PlotPartition::clearPartition()
{
  removePartition();
  emit markersCountChanged(0);
}

void PlotPartition::removePartition()
{
  // Qwt finds an item to detach by a search from the first item of its z
  // level and erases it from a list: the curves go first and everything in
  // order, so each item is found at once near the front of the list.
  clear();
  for (QwtPlotMarker* m : _nodeMarkers) {
    forgetMarker(m);
    m->detach();
    delete m;
  }
  _nodeMarkers.clear();
  _partition = nullptr;
}

void PlotPartition::highlightNode(std::size_t index, bool highlight)
{
  if (index < _nodeMarkers.size())
    highlightMarker(_nodeMarkers[index], highlight);
}

std::size_t PlotPartition::indexOf(const QwtPlotMarker* marker) const
{
  // Node markers know their index: no search over 100,000 markers per event.
  const auto* node = dynamic_cast<const NodeMarker*>(marker);
  if (node && node->index() < _nodeMarkers.size() && _nodeMarkers[node->index()] == marker)
    return node->index();
  return _nodeMarkers.size();
}

QwtPlotMarker* PlotPartition::nodeMarker(std::size_t index) const
{
  return index < _nodeMarkers.size() ? _nodeMarkers[index] : nullptr;
}

void PlotPartition::syncMarkers()
{
  if (!_partition)
    return;
  const std::vector<double>& nodes = _partition->nodes();
  for (std::size_t i = 0; i < _nodeMarkers.size() && i < nodes.size(); ++i)
    if (_nodeMarkers[i]->xValue() != nodes[i])
      _nodeMarkers[i]->setXValue(nodes[i]);
  refreshCurves();
}

void PlotPartition::refreshCurves()
{
  if (!_partition)
    return;
  const auto& all = _partition->allFce();
  for (const auto& change : _partition->takeChanges()) {
    CurveInfoBase* info = curveInfo(all[change.index]);
    if (!info)
      continue;
    info->refreshSamples();
    auto* curve = static_cast<FunctionCurve*>(info->curve());
    curve->valuesChanged(0, curve->dataSize());
  }
}

CurveInfoBase::Options PlotPartition::markerOptionsHook(QwtPlotMarker* marker)
{
  const std::size_t i = indexOf(marker);
  const std::size_t n = _nodeMarkers.size();
  if (i == n)
    return PlotWidget::markerOptionsHook(marker);
  if (!_nodesMovable)
    return CurveInfoBase::Options();
  if (n < 3)
    return CurveInfoBase::MoveX;
  if (i == 0 || i + 1 == n)
    return CurveInfoBase::Options();
  return CurveInfoBase::MoveX | CurveInfoBase::Bounded;
}

QRectF PlotPartition::markerBoundsHook(QwtPlotMarker* marker)
{
  const std::size_t i = indexOf(marker);
  const std::size_t n = _nodeMarkers.size();
  if (i == n)
    return PlotWidget::markerBoundsHook(marker);
  const double left = i == 0 ? -farLimit : _nodeMarkers[i - 1]->xValue();
  const double right = i + 1 == n ? farLimit : _nodeMarkers[i + 1]->xValue();
  return QRectF(left, farLimit, right - left, -2.0 * farLimit);
}

bool PlotPartition::markerChanged(QwtPlotMarker* marker)
{
  const std::size_t i = indexOf(marker);
  const std::size_t n = _nodeMarkers.size();
  if (i == n || !_partition || n != _partition->nodes().size())
    return PlotWidget::markerChanged(marker);
  const std::vector<double>& nodes = _partition->nodes();
  const double x = marker->xValue();
  // Nodes must stay strictly ascending. Inner markers are bounded by the
  // picker already; with two nodes the markers are free, so a move onto or
  // past the other node is refused here and the marker stays where it was.
  const double left = i == 0 ? -std::numeric_limits<double>::infinity() : nodes[i - 1];
  const double right = i + 1 == n ? std::numeric_limits<double>::infinity() : nodes[i + 1];
  if (!std::isfinite(x) || !(left < x && x < right)) {
    marker->setXValue(nodes[i]);
    return false;
  }
  _partition->moveNode(i, x);
  refreshCurves();
  emit nodeMoved(i, x);
  return true;
}
