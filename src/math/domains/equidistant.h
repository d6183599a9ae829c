#ifndef QUELMORA_MATH_DOMAINS_EQUIDISTANT_H
#define QUELMORA_MATH_DOMAINS_EQUIDISTANT_H

#include "math/domains/enumerationbase.h"
#include "math/domains/steplayout.h"
#include "math/policy.h"

#include <cstdint>

namespace Domains {

// The interval [low, high] cut into equal parts, or elements laid out at a
// fixed distance from a fixed point.
template <typename T>
class Equidistant : public EnumerationBase<T>
{
public:
  // partsCount subintervals: partsCount + 1 elements, the last exactly high.
  Equidistant(T low, T high, unsigned partsCount);
  // Elements fixedPoint + k * partElementWidth, from the first step at or
  // below low to the first step at or above high (within endTolerance).
  Equidistant(T low, T high, T fixedPoint, T partElementWidth);

  // An equal copy of this domain; the values are ignored.
  EnumerationBase<T>* newDomain(const std::vector<T>& values) const override
  {
    (void)values;
    return new Equidistant<T>(*this);
  }

  T fixedPoint() const { return _fixedPoint; }
  uint32_t partsCount() const { return _partsCount; }
  T partElementWidth() const { return _partElementWidth; }

private:
  Equidistant(const Equidistant&) = default;

  using EnumerationBase<T>::_values;

  T _low;
  T _high;
  T _fixedPoint;
  uint32_t _partsCount;
  T _partElementWidth;
};

template <typename T>
Equidistant<T>::Equidistant(T low, T high, unsigned partsCount)
    : _low(low), _high(high), _fixedPoint(low), _partsCount(partsCount), _partElementWidth(0)
{
  auto& values = this->_values;
  if (low == high && partsCount == 0) {
    values.push_back(low);
    QM_ASSERT(_values.size() == 1);
    return;
  }
  // No parts would divide by zero into an infinite width that passes the check.
  _partElementWidth = partsCount > 0 ? (high - low) / T(partsCount) : T(0);
  QM_ASSERT(_partElementWidth > 0);
  // Written in place, not appended: a loop without a capacity check per
  // element, for domains of millions of points.
  values.resize(std::size_t(partsCount) + 1);
  T* v = values.data();
  for (unsigned i = 0; i < partsCount; ++i)
    v[i] = T(i) * _partElementWidth + low;
  v[partsCount] = high;
}

template <typename T>
Equidistant<T>::Equidistant(T low, T high, T fixedPoint, T partElementWidth)
    : _low(low), _high(high), _fixedPoint(fixedPoint), _partsCount(0),
      _partElementWidth(partElementWidth)
{
  QM_ASSERT(_partElementWidth > 0);
  QM_ASSERT(_low <= _fixedPoint && _fixedPoint <= _high);
  auto& values = this->_values;
  values.push_back(fixedPoint);
  // A step too small to change x would never end; such a width cannot
  // discretise the interval anyway.
  const double tolerance = endTolerance(low, high, partElementWidth);
  double k = 1;
  for (T x = fixedPoint; x > low; ++k) {
    const T next = T(stepPoint(fixedPoint, -k, partElementWidth, low, high, tolerance));
    if (next == x)
      break;
    values.push_back(x = next);
  }
  k = 1;
  for (T x = fixedPoint; x < high; ++k) {
    const T next = T(stepPoint(fixedPoint, k, partElementWidth, low, high, tolerance));
    if (next == x)
      break;
    values.push_back(x = next);
  }
  Policy::check(values.size() > 1, "Domain has zero elements of discretization.");
  std::sort(values.begin(), values.end());
  _partsCount = uint32_t(values.size() - 1);
}

} // namespace Domains

#endif
