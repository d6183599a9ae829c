#include "midle/job/partitionsetup.h"

#include "gui/ftransform_widgets/nodelayout.h"

#include <QHash>
#include <QObject>

#include <algorithm>
#include <charconv>
#include <cmath>

namespace {

using DataHolders::Domains::Equid;
using PartPtr = Job::PartitionRecord;
using Options = PartitionOptions;

// Cached values a custom partition may hold in all; the partition builder
// refuses more (400 MB), so the tool tells why before it gets there.
constexpr double maxCustomCachedValues = 50e6;

// Options that only some kinds read; giving one to another kind is a mistake
// worth telling rather than ignoring.
bool checkApplicable(const Options& o, QString* error)
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
          QObject::tr("%1 does not apply to the %2 partition").arg(u.option, Job::kindName(o.kind));
      return false;
    }
  }
  if (o.componentsGiven && o.nodesGiven) {
    *error = QObject::tr("give either --components or --nodes, not both");
    return false;
  }
  return true;
}

bool checkShape(const Options& o, int shape, QString* error)
{
  if (shape == DataHolders::ShapeTrapezoid) {
    *error =
        QObject::tr("shape trapezoid cannot be transformed: the F-transform needs basic functions "
                    "with a one-point kernel (use triangle or sin)");
    return false;
  }
  if (shape == DataHolders::ShapeGaussian && o.kind != DataHolders::PartitionKind::Custom) {
    *error = QObject::tr("shape gaussian is supported by the custom partition only");
    return false;
  }
  return true;
}

// A step finer than the domain's own points is valid: basic functions that
// cover no point get NaN components. Only a layout too large to hold is refused.
bool checkStep(const char* option, double step, const Equid& d, QString* error)
{
  if (!(step > 0) || !std::isfinite(step)) {
    *error = QObject::tr("%1 must be a finite number greater than 0").arg(option);
    return false;
  }
  if (DataHolders::stepNodeCountEstimate(d, step) > DataHolders::maxNodeCount) {
    *error = QObject::tr("%1 %2 would lay out more than %3 nodes: too many to hold")
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
    *error = QObject::tr("--nodes: %1").arg(why);
    return false;
  }
  for (int i = 1; i < nodes.size(); ++i) {
    if (!(nodes[i] > nodes[i - 1])) {
      *error = QObject::tr("--nodes: node %1 repeats %2; nodes must be strictly ascending")
                   .arg(i)
                   .arg(nodes[i]);
      return false;
    }
  }
  if (boundByDomain && nodes.size() > qint64(d.count) + 1) {
    *error = QObject::tr("--nodes: %1 nodes are more than the domain's %2 points")
                 .arg(nodes.size())
                 .arg(d.count + 1);
    return false;
  }
  return true;
}

PartPtr generic(const Options& o, const QSharedPointer<Equid>& d, int shape, QString* error)
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
    *error =
        QObject::tr("--components %1 is above the domain count %2").arg(o.components).arg(d->count);
    return {};
  }
  r->componentCount = components;
  r->nodes = DataHolders::genericNodes(*d, components);
  if (r->nodes.size() < 2) {
    *error = QObject::tr("--components %1 gives no usable nodes on this domain").arg(components);
    return {};
  }
  return r;
}

PartPtr equidistant(const Options& o, const QSharedPointer<Equid>& d, int shape, QString* error)
{
  QSharedPointer<DataHolders::Partitions::FuzzyPt> r(new DataHolders::Partitions::FuzzyPt);
  r->shape = shape;
  r->shift = o.shift;
  r->offset = o.offset;
  r->domain = d;
  r->fixedPoint = o.fixedPointGiven ? o.fixedPoint : d->low;
  r->partElementWidth = o.distanceGiven ? o.distance : defaultStep(*d);
  if (r->fixedPoint < d->low || r->fixedPoint > d->high) {
    *error = QObject::tr("--fixed-point %1 lies outside the domain [%2, %3]")
                 .arg(r->fixedPoint)
                 .arg(d->low)
                 .arg(d->high);
    return {};
  }
  if (!checkStep("--distance", r->partElementWidth, *d, error))
    return {};
  r->nodes = DataHolders::fixedPointNodes(*d, r->fixedPoint, r->partElementWidth);
  if (r->nodes.size() < 2) {
    *error = QObject::tr("--distance %1 lays out no usable nodes on this domain")
                 .arg(r->partElementWidth);
    return {};
  }
  return r;
}

PartPtr custom(const Options& o, const QSharedPointer<Equid>& d, int shape, QString* error)
{
  QSharedPointer<DataHolders::Partitions::FuzzyDelta> r(new DataHolders::Partitions::FuzzyDelta);
  r->shape = shape;
  r->domain = d;
  r->delta = o.deltaGiven ? o.delta : defaultStep(*d);
  if (!checkStep("--delta", r->delta, *d, error))
    return {};
  r->extraParam = o.varianceGiven ? o.variance : r->delta * 0.5;
  if (!(r->extraParam >= r->delta / 10000)) {
    *error = QObject::tr("--variance %1 is below a ten-thousandth of the element width (%2)")
                 .arg(r->extraParam)
                 .arg(r->delta / 10000);
    return {};
  }
  if (o.nodesGiven) {
    if (!checkExplicitNodes(o.nodes, *d, false, error))
      return {};
    r->nodes = o.nodes;
  } else {
    r->nodes = DataHolders::deltaNodes(*d, r->delta);
  }
  if (r->nodes.size() < 2) {
    *error = QObject::tr("--delta %1 leaves fewer than two nodes in the domain").arg(r->delta);
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
    *error =
        QObject::tr("the custom partition would cache about %1 values for its %2 basic functions: "
                    "too many; use a smaller --variance, a larger --delta or a smaller COUNT")
            .arg(cached, 0, 'g', 3)
            .arg(r->nodes.size());
    return {};
  }
  return r;
}

} // namespace

Job::DomainRecord Job::domainRecord(const DomainOptions& o)
{
  QSharedPointer<Equid> d(new Equid);
  d->low = o.low;
  d->high = o.high;
  d->count = o.count;
  return d;
}

PartPtr Job::partitionRecord(const Options& o, const DomainRecord& d, QString* error)
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

QString Job::numberText(double value)
{
  char text[32];
  const auto end = std::to_chars(text, text + sizeof text, value).ptr;
  return QString::fromLatin1(text, int(end - text));
}

QString Job::notFinite(const QString& option, const QString& text)
{
  return QObject::tr("%1: \"%2\" is not a finite number").arg(option, text);
}

QString Job::outside(const QString& option, qint64 value, qint64 lowest, qint64 highest)
{
  return QObject::tr("%1: %2 is outside %3..%4").arg(option).arg(value).arg(lowest).arg(highest);
}

bool Job::checkDomain(const QString& option, double low, double high, qint64 count,
                      const QString& lowText, const QString& highText, QString* error)
{
  if (!std::isfinite(low))
    *error = notFinite(option + QObject::tr(" LOW"), lowText);
  else if (!std::isfinite(high))
    *error = notFinite(option + QObject::tr(" HIGH"), highText);
  // The window's limits, and its words.
  else if (!DataHolders::Domains::discretizationAllowed(count))
    *error = QObject::tr("%1 COUNT %2: %3")
                 .arg(option)
                 .arg(count)
                 .arg(DataHolders::Domains::discretizationLimitText());
  else if (!(low < high) || !std::isfinite(high - low))
    *error = QObject::tr("%1: LOW must be less than HIGH (got %2 and %3)")
                 .arg(option, lowText.trimmed(), highText.trimmed());
  else
    return true;
  return false;
}

const char* Job::kindName(DataHolders::PartitionKind kind)
{
  switch (kind) {
  case DataHolders::PartitionKind::Generic:
    return "generic";
  case DataHolders::PartitionKind::Equidistant:
    return "equidistant";
  case DataHolders::PartitionKind::Custom:
    break;
  }
  return "custom";
}

bool Job::parseKind(const QString& option, const QString& name, DataHolders::PartitionKind* kind,
                    QString* error)
{
  for (DataHolders::PartitionKind k : DataHolders::partitionKinds) {
    if (name == QLatin1String(kindName(k))) {
      *kind = k;
      return true;
    }
  }
  *error = QObject::tr("%1: unknown partition \"%2\" (use generic, equidistant or custom)")
               .arg(option, name);
  return false;
}

bool Job::parseShape(const QString& option, const QString& name, int* shape, QString* error)
{
  static const QHash<QString, int> shapes{{"triangle", DataHolders::ShapeTriangle},
                                          {"sin", DataHolders::ShapeSin},
                                          {"gaussian", DataHolders::ShapeGaussian},
                                          {"trapezoid", DataHolders::ShapeTrapezoid}};
  if (!shapes.contains(name)) {
    *error = QObject::tr("%1: unknown shape \"%2\" (use triangle, sin, gaussian or trapezoid)")
                 .arg(option, name);
    return false;
  }
  *shape = shapes.value(name);
  return true;
}

bool Job::parseBasis(const QString& option, const QString& name, Fn::HigherDegreeBasis* basis,
                     QString* error)
{
  if (Fn::parseBasisName(name.toStdString(), basis))
    return true;
  *error = QObject::tr("%1: \"%2\" is neither orthogonal nor closed-form").arg(option, name);
  return false;
}

bool Job::checkPartitionValues(const PartitionOptions& o, QString* error)
{
  const auto finite = [error](const char* option, bool given, double value) {
    if (!given || std::isfinite(value))
      return true;
    *error = notFinite(QLatin1String(option), numberText(value));
    return false;
  };
  const auto within = [error](const char* option, bool given, int value, int lowest, int highest) {
    if (!given || (value >= lowest && value <= highest))
      return true;
    *error = outside(QLatin1String(option), value, lowest, highest);
    return false;
  };
  if (!within("--components", o.componentsGiven, o.components, 2, maxDomainCount))
    return false;
  if (o.nodesGiven && o.nodes.size() > maxDomainCount + 1) {
    *error = QObject::tr("%1: too many nodes").arg(QLatin1String("--nodes"));
    return false;
  }
  for (double node : o.nodes)
    if (!finite("--nodes", o.nodesGiven, node))
      return false;
  return finite("--fixed-point", o.fixedPointGiven, o.fixedPoint) &&
         finite("--distance", o.distanceGiven, o.distance) &&
         finite("--delta", o.deltaGiven, o.delta) &&
         finite("--variance", o.varianceGiven, o.variance) &&
         within("--shift", o.shiftGiven, o.shift, 1, maxShift) &&
         within("--offset", o.offsetGiven, o.offset, -maxOffset, maxOffset);
}

std::unique_ptr<TransformPass::Partition>
Job::buildPartition(const PartitionRecord& record, const Domains::EnumerationBase<double>* domain,
                    bool fromSession, QString* error, bool geometryOnly)
{
  std::unique_ptr<TransformPass::Partition> partition =
      TransformPass::build(record, domain, geometryOnly);
  if (!partition) {
    *error = fromSession ? QObject::tr("the partition of the session cannot be built")
                         : QObject::tr("the partition cannot be built from these options");
    return nullptr;
  }
  // The program computes a custom partition with nodes left unplaced too.
  if (!fromSession && record->kind() == DataHolders::PartitionKind::Custom &&
      partition->nodes().size() != std::size_t(record->nodes.size())) {
    *error = QObject::tr("the custom partition has %1 basic functions for %2 nodes")
                 .arg(partition->nodes().size())
                 .arg(record->nodes.size());
    return nullptr;
  }
  return partition;
}
