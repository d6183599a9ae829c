#ifndef QUELMORA_MATH_PARTITIONS_POINTBASES_H
#define QUELMORA_MATH_PARTITIONS_POINTBASES_H

#include "math/fce/orthogonalfit.h"
#include "math/partitions/packedbasis.h"

#include <vector>

namespace Partitions {

// For each basic function of a partition, the polynomials orthogonal under
// its membership degrees at the domain's points: the bases of the
// higher-degree transforms. They depend on the partition only, so they are
// fitted once per basic function and shared by every transformed function;
// after a node move only the moved functions are fitted again.
template <typename X, typename Y>
class PointBases
{
public:
  void build(const PackedBasis<X, Y>& packed, const X* xs)
  {
    _fits.assign(packed.size(), Fn::OrthogonalFit());
    for (std::size_t k = 0; k < packed.size(); ++k)
      update(packed, xs, k);
  }
  void update(const PackedBasis<X, Y>& packed, const X* xs, std::size_t k)
  {
    const auto& e = packed.entry(k);
    _fits[k].fit(xs + e.begin, packed.values(k), e.end - e.begin, e.b, 0.5 * e.c - 0.5 * e.a);
  }

  std::size_t size() const { return _fits.size(); }
  const Fn::OrthogonalFit& operator[](std::size_t k) const { return _fits[k]; }

private:
  std::vector<Fn::OrthogonalFit> _fits;
};

} // namespace Partitions

#endif
