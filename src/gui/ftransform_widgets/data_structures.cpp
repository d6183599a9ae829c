#include "gui/ftransform_widgets/data_structures.h"

#include "math/domains/enumeration.h"
#include "math/domains/equidistant.h"
#include "math/fuzzy_sets/gaussian.h"
#include "math/fuzzy_sets/sin.h"
#include "math/fuzzy_sets/sinalternate.h"
#include "math/fuzzy_sets/trapezoid.h"
#include "math/fuzzy_sets/triangle.h"
#include "math/fuzzy_sets/trianglealternate.h"
#include "math/partitions/fuzzypartition.h"

#include <QObject>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace DataHolders {

namespace {

using MathDomain = ::Domains::EnumerationBase<double>;
using MathPartition = ::Partitions::PartitionBase<double, double>;
template <typename Shape>
using CachedShape = Fn::MathFnCachedFormula<double, double, Shape>;
template <typename Shape>
using UncachedShape = Fn::MathFnFormula<double, double, Shape>;
template <typename Basic>
using ShapePartition = ::Partitions::FuzzyPartition<Basic>;

// Records come from sessions too, so the builders refuse what would trip a
// math precondition or run away in time or memory: no partition is built.
constexpr double kMaxCustomFunctions = 1000000;
// Cached values a custom partition may hold in all (400 MB of doubles): wide
// basic functions packed densely would otherwise exhaust memory.
constexpr double kMaxCustomCachedValues = 50e6;

bool allFinite(const std::vector<double>& values)
{
  return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
}

// Kinds 6 and 7: neighbouring functions share the record's nodes.
template <typename Basic>
MathPartition* fromNodes(const Partitions::FuzzyPartBase& record, const MathDomain* domain,
                         const std::vector<double>& nodes, bool geometryOnly)
{
  if (nodes.size() < 2 || record.shift <= 0 || !std::is_sorted(nodes.begin(), nodes.end()))
    return nullptr;
  std::unique_ptr<ShapePartition<Basic>> part(
      new ShapePartition<Basic>(domain, ::Domains::Enumeration<double>(nodes, true)));
  part->setShift(record.shift);
  part->setOffset(record.offset);
  if (geometryOnly)
    part->setGeometryOnly();
  part->createFromNodes();
  return part.release();
}

// The spacing of a custom partition's basic functions on a domain: the
// element width, or for Gaussians one that gives as many functions as nodes.
double customDistance(const Partitions::FuzzyDelta& record, const MathDomain& domain,
                      std::size_t nodeCount)
{
  if (record.shape != ShapeGaussian)
    return record.delta;
  const double low = record.domain ? record.domain->low : domain.low();
  const double high = record.domain ? record.domain->high : domain.high();
  return (high - low) * 0.999999999 / (double(nodeCount) - 1);
}

// Kind 8: copies of one prototype `distance` apart, then node i moved to nodes[i].
template <typename Basic>
MathPartition* byShifting(const Partitions::FuzzyDelta& record, const MathDomain* domain,
                          const std::vector<double>& nodes, double distance, bool geometryOnly)
{
  if (!(distance > 0) || !std::isfinite(record.extraParam) || !(record.extraParam > 0) ||
      !partitionSizeProblem(record, *domain).isEmpty())
    return nullptr;
  Basic prototype(domain, Fn::DeferredFill());
  prototype.setParam(1, record.extraParam);
  // One function for each node: laid out as the element width gives, then
  // each moved onto its node.
  std::unique_ptr<ShapePartition<Basic>> part(
      new ShapePartition<Basic>(domain, &prototype, distance, nodes.size(), geometryOnly));
  if (geometryOnly) {
    part->placeShifted(nodes);
    return part.release();
  }
  for (std::size_t i = 0; i < nodes.size(); ++i)
    part->moveNode(i, nodes[i]);
  return part.release();
}

template <template <typename> class Wrap>
MathPartition* build(const Partitions::PartBase& record, const MathDomain* domain,
                     bool geometryOnly = false)
{
  if (!(domain->low() < domain->high()))
    return nullptr;
  const std::vector<double> nodes(record.nodes.begin(), record.nodes.end());
  if (!allFinite(nodes))
    return nullptr;
  switch (record.kind()) {
  case PartitionKind::Generic:
  case PartitionKind::Equidistant: {
    const auto& r = static_cast<const Partitions::FuzzyPartBase&>(record);
    switch (r.shape) {
    case ShapeTriangle:
      return fromNodes<Wrap<FuzzySets::Triangle<double, double>>>(r, domain, nodes, geometryOnly);
    case ShapeSin:
      return fromNodes<Wrap<FuzzySets::Sin<double, double>>>(r, domain, nodes, geometryOnly);
    case ShapeTrapezoid:
      return fromNodes<Wrap<FuzzySets::Trapezoid<double, double>>>(r, domain, nodes, geometryOnly);
    default:
      return nullptr;
    }
  }
  case PartitionKind::Custom: {
    const auto& r = static_cast<const Partitions::FuzzyDelta&>(record);
    switch (r.shape) {
    case ShapeTriangle:
      return byShifting<Wrap<FuzzySets::TriangleAlternate<double, double>>>(r, domain, nodes,
                                                                            r.delta, geometryOnly);
    case ShapeSin:
      return byShifting<Wrap<FuzzySets::SinAlternate<double, double>>>(r, domain, nodes, r.delta,
                                                                       geometryOnly);
    case ShapeGaussian:
      // As many functions as the record has nodes, whatever delta holds.
      if (nodes.empty())
        return nullptr;
      return byShifting<Wrap<FuzzySets::Gaussian<double, double>>>(
          r, domain, nodes, customDistance(r, *domain, nodes.size()), geometryOnly);
    default:
      return nullptr;
    }
  }
  default:
    return nullptr;
  }
}

} // namespace

QString partitionKindName(PartitionKind kind)
{
  switch (kind) {
  case PartitionKind::Generic:
    return QStringLiteral("GenericRuspini");
  case PartitionKind::Equidistant:
    return QStringLiteral("EquidistantRuspini");
  case PartitionKind::Custom:
    return QStringLiteral("CustomPartition");
  }
  return QStringLiteral("InvalidType");
}

QString partitionTypeName(int32_t code)
{
  PartitionKind kind;
  return partitionKindOfCode(code, &kind) ? partitionKindName(kind) : QStringLiteral("InvalidType");
}

bool partitionKindOfCode(qint64 code, PartitionKind* kind)
{
  for (PartitionKind k : partitionKinds) {
    if (code == qint64(k)) {
      *kind = k;
      return true;
    }
  }
  return false;
}

QSharedPointer<Partitions::PartBase> newPartitionRecord(PartitionKind kind)
{
  switch (kind) {
  case PartitionKind::Generic:
    return QSharedPointer<Partitions::FuzzyEq>::create();
  case PartitionKind::Equidistant:
    return QSharedPointer<Partitions::FuzzyPt>::create();
  case PartitionKind::Custom:
    return QSharedPointer<Partitions::FuzzyDelta>::create();
  }
  return {};
}

QString Domains::discretizationLimitText()
{
  return QObject::tr("Discretization must be between %1 and %2.")
      .arg(minDiscretization)
      .arg(maxDiscretization);
}

QString degreeName(int32_t flag)
{
  checkDegreeFlag(flag);
  int digit = 0;
  while (flag > 1) {
    flag /= 2;
    ++digit;
  }
  return QString::number(digit);
}

::Domains::EnumerationBase<double>* createDomain(const DataHolderBase& record)
{
  if (!record || record->type != domainEquidType)
    return nullptr;
  const auto& r = static_cast<const Domains::Equid&>(*record);
  // A record read from a session may hold anything; the math domain asserts.
  if (!std::isfinite(r.low) || !std::isfinite(r.high) || !(r.high > r.low) || r.count < 1 ||
      r.count > Domains::maxDiscretization || !((r.high - r.low) / r.count > 0))
    return nullptr;
  return new ::Domains::Equidistant<double>(r.low, r.high, unsigned(r.count));
}

QString partitionSizeProblem(const Partitions::PartBase& record,
                             const ::Domains::EnumerationBase<double>& domain)
{
  if (record.kind() != PartitionKind::Custom)
    return {};
  const auto& r = static_cast<const Partitions::FuzzyDelta&>(record);
  const double span = domain.high() - domain.low();
  const double distance = customDistance(r, domain, std::size_t(r.nodes.size()));
  if (!(span > 0) || !(distance > 0) || !(r.extraParam > 0) || !std::isfinite(r.extraParam))
    return {};
  const double functions = std::max(span / distance, double(r.nodes.size())) + 2;
  if (functions > kMaxCustomFunctions)
    return QObject::tr("a custom partition of about %1 basic functions is more than %2")
        .arg(functions, 0, 'g', 3)
        .arg(kMaxCustomFunctions, 0, 'g', 3);
  // Each basic function caches its non-zero range (a Gaussian's reaches its
  // cut-off on either side), at most the whole domain.
  const double reach = r.extraParam * (r.shape == ShapeGaussian ? 40.0 : 1.0);
  const double size = double(domain.size());
  const double perFunction = std::min(size, 2 * reach / span * (size - 1) + 2);
  const double cached = functions * perFunction;
  if (cached > kMaxCustomCachedValues)
    return QObject::tr(
               "about %1 values (%2 basic functions over %3 points) are more than memory "
               "allows; a smaller variance, a larger element width or a coarser domain helps")
        .arg(cached, 0, 'g', 3)
        .arg(r.nodes.size())
        .arg(domain.size());
  return {};
}

::Partitions::PartitionBase<double, double>*
createPartition(const QSharedPointer<DataHolders::Partitions::PartBase>& record,
                const ::Domains::EnumerationBase<double>* domain, BasicValues values)
{
  if (!record)
    return nullptr;
  std::unique_ptr<const MathDomain> ownDomain;
  if (!domain) {
    ownDomain.reset(createDomain(record->domain));
    domain = ownDomain.get();
    if (!domain)
      return nullptr;
  }
  MathPartition* part =
      values == BasicValues::Cached
          ? build<CachedShape>(*record, domain)
          : build<UncachedShape>(*record, domain, values == BasicValues::GeometryOnly);
  if (part && ownDomain)
    part->adoptDomain(ownDomain.release());
  return part;
}

} // namespace DataHolders
