#ifndef QUELMORA_MATH_PARTITIONS_POINTBASES_H
#define QUELMORA_MATH_PARTITIONS_POINTBASES_H

#include "math/fce/orthogonalfit.h"
#include "math/partitions/packedbasis.h"

#include <cstdint>
#include <vector>

namespace Partitions {

// For each basic function of a partition, the polynomials orthogonal under
// its membership degrees at the domain's points: the bases of the
// higher-degree transforms. They depend on the partition only, so they are
// fitted once per basic function and shared by every transformed function;
// after a node move only the moved functions are fitted again.
//
// A basic function on one point or none has no polynomial above degree 0 and
// keeps no fit: partitions as fine as the domain hold one per point, and
// memory that is not needed is not cleared for them on every rebuild.
template <typename X, typename Y>
class PointBases
{
public:
  void build(const PackedBasis<X, Y>& packed, const X* xs)
  {
    _slot.assign(packed.size(), kNone);
    _fits.clear();
    typename PackedBasis<X, Y>::Reader reader(packed);
    for (std::size_t k = 0; k < packed.size(); ++k)
      update(packed, reader, xs, k);
  }
  void update(const PackedBasis<X, Y>& packed, typename PackedBasis<X, Y>::Reader& reader,
              const X* xs, std::size_t k)
  {
    const auto& e = packed.entry(k);
    Fn::OrthogonalFit fit;
    fit.fit(xs + e.begin, reader.values(k), e.end - e.begin, e.b, 0.5 * e.c - 0.5 * e.a);
    if (fit.degrees == 0) {
      _slot[k] = kNone; // its room stays until the next build
      return;
    }
    if (_slot[k] == kNone) {
      _slot[k] = uint32_t(_fits.size());
      _fits.push_back(fit);
    } else {
      _fits[_slot[k]] = fit;
    }
  }

  std::size_t size() const { return _slot.size(); }
  // The fit of basic function k; one of degree 0 where it keeps none.
  const Fn::OrthogonalFit& operator[](std::size_t k) const
  {
    return _slot[k] == kNone ? _constant : _fits[_slot[k]];
  }

private:
  static constexpr uint32_t kNone = UINT32_MAX;

  std::vector<uint32_t> _slot;
  std::vector<Fn::OrthogonalFit> _fits;
  Fn::OrthogonalFit _constant;
};

} // namespace Partitions

#endif
