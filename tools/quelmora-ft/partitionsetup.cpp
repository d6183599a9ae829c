#include "partitionsetup.h"

#include "gui/ftransform_widgets/nodelayout.h"

#include <QObject>

#include <algorithm>
#include <cmath>

namespace {

using DataHolders::Domains::Equid;
using PartPtr = QSharedPointer<DataHolders::Partitions::PartBase>;

QString tr(const char* text)
{
  return QObject::tr(text);
}

// Cached values a custom partition may hold in all; the partition builder
// refuses more (400 MB), so the tool tells why before it gets there.
constexpr double maxCustomCachedValues = 50e6;

const char* shapeName(int shape)
{
  switch (shape) {
  case DataHolders::ShapeTriangle:
    return "triangle";
  case DataHolders::ShapeSin:
    return "sin";
  case DataHolders::ShapeGaussian:
    return "gaussian";
  default:
    return "trapezoid";
  }
}

// Options that only some kinds read; giving one to another kind is a mistake
// worth telling rather than ignoring.
bool checkApplicable(const ToolOptions& o, QString* error)
{
  struct Use
  {
    bool given;
    const char* option;
    bool generic, equidistant, custom;
  };
  const Use uses[] = {
      {o.componentsGiven, "--components", true, false, false},
      {o.nodesGiven, "--nodes", true, false, true},
      {o.fixedPointGiven, "--fixed-point", false, true, false},
      {o.distanceGiven, "--distance", false, true, false},
      {o.deltaGiven, "--delta", false, false, true},
      {o.varianceGiven, "--variance", false, false, true},
      {o.shiftGiven, "--shift", true, true, false},
      {o.offsetGiven, "--offset", true, true, false},
  };
  for (const Use& u : uses) {
    const bool applies = o.kind == DataHolders::PartitionKind::Generic       ? u.generic
                         : o.kind == DataHolders::PartitionKind::Equidistant ? u.equidistant
                                                                             : u.custom;
    if (u.given && !applies) {
      *error =
          tr("%1 does not apply to the %2 partition").arg(u.option, partitionOptionName(o.kind));
      return false;
    }
  }
  if (o.componentsGiven && o.nodesGiven) {
    *error = tr("give either --components or --nodes, not both");
    return false;
  }
  return true;
}

bool checkShape(const ToolOptions& o, int shape, QString* error)
{
  if (shape == DataHolders::ShapeTrapezoid) {
    *error = tr("shape trapezoid cannot be transformed: the F-transform needs basic functions "
                "with a one-point kernel (use triangle or sin)");
    return false;
  }
  if (shape == DataHolders::ShapeGaussian && o.kind != DataHolders::PartitionKind::Custom) {
    *error = tr("shape gaussian is supported by the custom partition only");
    return false;
  }
  return true;
}

// A step finer than the domain's own points is valid: basic functions that
// cover no point get NaN components. Only a layout too large to hold is refused.
bool checkStep(const char* option, double step, const Equid& d, QString* error)
{
  if (!(step > 0) || !std::isfinite(step)) {
    *error = tr("%1 must be a finite number greater than 0").arg(option);
    return false;
  }
  if (DataHolders::stepNodeCountEstimate(d, step) > DataHolders::maxNodeCount) {
    *error = tr("%1 %2 would lay out more than %3 nodes: too many to hold")
                 .arg(option)
                 .arg(step, 0, 'g', 15)
                 .arg(DataHolders::maxNodeCount);
    return false;
  }
  return true;
}

// A quarter of the range, as the window lays a new partition out.
double defaultStep(const Equid& d)
{
  return (d.high - d.low) * 0.25;
}

// Generic partitions have at most as many components as the domain has
// subintervals, as in the window; custom ones may be finer than the domain.
bool checkExplicitNodes(const QVector<double>& nodes, const Equid& d, bool boundByDomain,
                        QString* error)
{
  QString why;
  if (!DataHolders::nodesValid(nodes, d, &why)) {
    *error = tr("--nodes: %1").arg(why);
    return false;
  }
  for (int i = 1; i < nodes.size(); ++i) {
    if (!(nodes[i] > nodes[i - 1])) {
      *error =
          tr("--nodes: node %1 repeats %2; nodes must be strictly ascending").arg(i).arg(nodes[i]);
      return false;
    }
  }
  if (boundByDomain && nodes.size() > qint64(d.count) + 1) {
    *error = tr("--nodes: %1 nodes are more than the domain's %2 points")
                 .arg(nodes.size())
                 .arg(d.count + 1);
    return false;
  }
  return true;
}

PartPtr generic(const ToolOptions& o, const QSharedPointer<Equid>& d, int shape, QString* error)
{
  QSharedPointer<DataHolders::Partitions::FuzzyEq> r(new DataHolders::Partitions::FuzzyEq);
  r->shape = shape;
  r->shift = o.shift;
  r->offset = o.offset;
  r->domain = d;
  if (o.nodesGiven) {
    if (!checkExplicitNodes(o.nodes, *d, true, error))
      return {};
    r->nodes = o.nodes;
    r->componentCount = o.nodes.size();
    return r;
  }
  // The default follows the domain as the components spin box follows its
  // maximum; an explicit count above the domain count is refused.
  const int components =
      o.componentsGiven ? o.components : std::max(2, std::min(o.components, int(d->count)));
  if (components > std::max(2, int(d->count))) {
    *error = tr("--components %1 is above the domain count %2").arg(o.components).arg(d->count);
    return {};
  }
  r->componentCount = components;
  r->nodes = DataHolders::genericNodes(*d, components);
  if (r->nodes.size() < 2) {
    *error = tr("--components %1 gives no usable nodes on this domain").arg(components);
    return {};
  }
  return r;
}

PartPtr equidistant(const ToolOptions& o, const QSharedPointer<Equid>& d, int shape, QString* error)
{
  QSharedPointer<DataHolders::Partitions::FuzzyPt> r(new DataHolders::Partitions::FuzzyPt);
  r->shape = shape;
  r->shift = o.shift;
  r->offset = o.offset;
  r->domain = d;
  r->fixedPoint = o.fixedPointGiven ? o.fixedPoint : d->low;
  r->partElementWidth = o.distanceGiven ? o.distance : defaultStep(*d);
  if (r->fixedPoint < d->low || r->fixedPoint > d->high) {
    *error = tr("--fixed-point %1 lies outside the domain [%2, %3]")
                 .arg(r->fixedPoint)
                 .arg(d->low)
                 .arg(d->high);
    return {};
  }
  if (!checkStep("--distance", r->partElementWidth, *d, error))
    return {};
  r->nodes = DataHolders::fixedPointNodes(*d, r->fixedPoint, r->partElementWidth);
  if (r->nodes.size() < 2) {
    *error = tr("--distance %1 lays out no usable nodes on this domain").arg(r->partElementWidth);
    return {};
  }
  return r;
}

PartPtr custom(const ToolOptions& o, const QSharedPointer<Equid>& d, int shape, QString* error)
{
  QSharedPointer<DataHolders::Partitions::FuzzyDelta> r(new DataHolders::Partitions::FuzzyDelta);
  r->shape = shape;
  r->domain = d;
  r->delta = o.deltaGiven ? o.delta : defaultStep(*d);
  if (!checkStep("--delta", r->delta, *d, error))
    return {};
  r->extraParam = o.varianceGiven ? o.variance : r->delta * 0.5;
  if (!(r->extraParam >= r->delta / 10000)) {
    *error = tr("--variance %1 is below a ten-thousandth of the element width (%2)")
                 .arg(r->extraParam)
                 .arg(r->delta / 10000);
    return {};
  }
  const QVector<double> laidOut = DataHolders::deltaNodes(*d, r->delta);
  if (o.nodesGiven) {
    if (!checkExplicitNodes(o.nodes, *d, false, error))
      return {};
    // Triangles and sines are laid out by the element width and then moved
    // onto the nodes one by one, so there must be exactly one node for each.
    if (shape != DataHolders::ShapeGaussian && o.nodes.size() != laidOut.size()) {
      *error = tr("--nodes: a custom %1 partition with element width %2 has %3 basic functions, "
                  "so it needs exactly %3 nodes (got %4)")
                   .arg(shapeName(shape))
                   .arg(r->delta)
                   .arg(laidOut.size())
                   .arg(o.nodes.size());
      return {};
    }
    r->nodes = o.nodes;
  } else {
    r->nodes = laidOut;
  }
  if (r->nodes.size() < 2) {
    *error = tr("--delta %1 leaves fewer than two nodes in the domain").arg(r->delta);
    return {};
  }

  // Each basic function is cached over its non-zero range: a Gaussian reaches
  // 40 deviations to each side, the others one variance. Estimated as the
  // partition builder estimates it, which lays Gaussians out by node count.
  const double span = d->high - d->low;
  const double points = double(d->count) + 1;
  const double reach = (shape == DataHolders::ShapeGaussian ? 40.0 : 1.0) * r->extraParam;
  const double perFunction = std::min(points, 2 * reach / span * (points - 1) + 2);
  const double distance = shape == DataHolders::ShapeGaussian
                              ? span * 0.999999999 / (double(r->nodes.size()) - 1)
                              : r->delta;
  const double functions = std::max(span / distance, double(r->nodes.size())) + 2;
  const double cached = functions * perFunction;
  if (cached > maxCustomCachedValues * 0.99) {
    *error = tr("the custom partition would cache about %1 values for its %2 basic functions: "
                "too many; use a smaller --variance, a larger --delta or a smaller COUNT")
                 .arg(cached, 0, 'g', 3)
                 .arg(r->nodes.size());
    return {};
  }
  return r;
}

} // namespace

QSharedPointer<Equid> domainRecord(const ToolOptions& o)
{
  QSharedPointer<Equid> d(new Equid);
  d->low = o.low;
  d->high = o.high;
  d->count = o.count;
  return d;
}

PartPtr partitionRecord(const ToolOptions& o, const QSharedPointer<Equid>& d, QString* error)
{
  if (!checkApplicable(o, error))
    return {};
  const int shape = o.shape >= 0 ? o.shape
                    : o.kind == DataHolders::PartitionKind::Custom
                        ? int(DataHolders::ShapeGaussian)
                        : int(DataHolders::ShapeTriangle);
  if (!checkShape(o, shape, error))
    return {};
  switch (o.kind) {
  case DataHolders::PartitionKind::Generic:
    return generic(o, d, shape, error);
  case DataHolders::PartitionKind::Equidistant:
    return equidistant(o, d, shape, error);
  case DataHolders::PartitionKind::Custom:
    break;
  }
  return custom(o, d, shape, error);
}
