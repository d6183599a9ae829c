#include "transform.h"

#include "design_patterns/staticfactory/staticfactory.h"
#include "math/domains/enumeration.h"
#include "math/fce/fce_algorithms.h"
#include "math/fce/mathfntable.h"
#include "math/fuzzy_sets/fuzzysetbase.h"

#include <algorithm>

namespace {

using Table = Fn::MathFnTable<double, double>;

// One x per component: the partition's nodes when there is one basic function
// per node (the usual case), else each function's peak; their indices when
// even those are out of order (degenerate offsets).
std::vector<double> componentPoints(const Partitions::PartitionBase<double, double>& part)
{
  const auto& all = part.allFce();
  std::vector<double> points(part.nodes().begin(), part.nodes().end());
  if (points.size() != all.size() || !std::is_sorted(points.begin(), points.end())) {
    points.clear();
    for (const auto* fs : all)
      points.push_back(fs->kernelBegin());
  }
  if (!std::is_sorted(points.begin(), points.end())) {
    points.clear();
    for (std::size_t i = 0; i < all.size(); ++i)
      points.push_back(double(i));
  }
  return points;
}

} // namespace

struct Transformer::Private
{
  const Partitions::PartitionBase<double, double>& part;
  int maxDegree;
  bool wantInverse;
  std::unique_ptr<StaticFactory<double, double>> bases;
  std::unique_ptr<Domains::Enumeration<double>> nodes;
};

Transformer::Transformer(const Partitions::PartitionBase<double, double>& partition, int maxDegree,
                         bool wantInverse, Fn::HigherDegreeBasis basis)
    : d(new Private{partition, maxDegree, wantInverse, nullptr, nullptr})
{
  d->bases.reset(new StaticFactory<double, double>(partition.domain(), basis));
  d->nodes.reset(new Domains::Enumeration<double>(componentPoints(partition), true));
}

Transformer::~Transformer() = default;

const Domains::EnumerationBase<double>& Transformer::componentDomain() const
{
  return *d->nodes;
}

TransformResult Transformer::transform(const Fn::MathFn<double, double>& fn) const
{
  TransformResult result;
  const auto& part = d->part;
  for (int degree = 0; degree <= d->maxDegree; ++degree) {
    std::vector<double> values;
    Fn::directTransform(part, *d->bases->get(degree), fn.values(), values);
    result.components.emplace_back(new Table(d->nodes.get(), std::move(values)));
  }
  if (!d->wantInverse)
    return result;

  // Each degree adds its term to the inverse of the degree below; the last
  // one keeps the running array itself.
  const auto components = [&result](int degree) -> const std::vector<double>& {
    return result.components[std::size_t(degree)]->values();
  };
  std::vector<double> inverse, sums;
  Fn::inverseTransform(part, components(0), inverse, &sums);
  for (int degree = 1; degree <= d->maxDegree; ++degree) {
    result.inverses.emplace_back(new Table(part.domain(), inverse));
    Fn::addHigherDegreeTerm(part, *d->bases->get(degree), components(degree), inverse, sums);
  }
  result.inverses.emplace_back(new Table(part.domain(), std::move(inverse)));
  return result;
}
