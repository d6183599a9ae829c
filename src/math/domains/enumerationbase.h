#ifndef QUELMORA_MATH_DOMAINS_ENUMERATIONBASE_H
#define QUELMORA_MATH_DOMAINS_ENUMERATIONBASE_H

#include "math/policy/assertion.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

namespace Domains {

// A finite, sorted, immutable set of x values. Functions store positions
// (indices) into it, so the element list never changes after construction.
template <typename T>
class EnumerationBase
{
public:
  typedef T ValueType;
  typedef std::size_t Position;

  // Copies the values; sorts them unless `sorted` says they already are.
  EnumerationBase(const std::vector<T>& std_data, bool sorted);
  virtual ~EnumerationBase() {}

  // A new domain of the same class, owned by the caller.
  virtual EnumerationBase* newDomain(const std::vector<T>& values) const;

  T low() const { return _values.front(); }
  T high() const { return _values.back(); }
  std::size_t size() const { return _values.size(); }
  Position begin() const { return 0; }
  Position end() const { return _values.size(); }
  const std::vector<T>& values() const { return _values; }

  // Owned by the caller.
  EnumerationBase* clone() const;

  // Position of the element nearest to x; a tie goes to the lower element.
  Position nearest(T x) const;
  // Sets `position` to the first element not less than x; false when there is none.
  bool findElement(T x, Position& position) const;
  // Every element e with left <= e <= right.
  std::vector<T> elementsBetween(T left, T right) const;

protected:
  // For subclasses that lay out their own elements.
  EnumerationBase() {}

  // Index of the first element greater than x (std::upper_bound), searched
  // outwards from where x would lie if the elements were evenly spaced: one or
  // two steps on equidistant domains, still exact on any sorted list.
  std::size_t upperBound(T x) const
  {
    const std::size_t n = _values.size();
    const T* v = _values.data();
    const T span = _values.back() - _values.front();
    const double guess = span > 0 ? double((x - _values.front()) / span) * double(n - 1) : 0.0;
    if (!(guess >= 0.0 && guess <= double(n - 1))) // NaN too: the plain search
      return std::size_t(std::upper_bound(_values.begin(), _values.end(), x) - _values.begin());
    const std::size_t g = std::size_t(guess);
    std::size_t lo, hi, step = 1;
    if (!(x < v[g])) { // the answer lies above g
      lo = g + 1;
      hi = lo;
      while (hi < n && !(x < v[hi])) {
        lo = hi + 1;
        hi = lo + step;
        step *= 2;
      }
      hi = std::min(hi, n);
    } else { // at or below g
      hi = g;
      lo = hi;
      while (lo > 0 && x < v[lo - 1]) {
        hi = lo - 1;
        lo = hi >= step ? hi - step : 0;
        step *= 2;
      }
    }
    return std::size_t(std::upper_bound(v + lo, v + hi, x) - v);
  }

  std::vector<T> _values;
};

template <typename T>
EnumerationBase<T>::EnumerationBase(const std::vector<T>& std_data, bool sorted) : _values(std_data)
{
  QM_ASSERT(std_data.size() > 0);
  if (sorted)
    QM_ASSERT(std::is_sorted(_values.begin(), _values.end()));
  else
    std::sort(_values.begin(), _values.end());
}

template <typename T>
EnumerationBase<T>* EnumerationBase<T>::newDomain(const std::vector<T>& values) const
{
  return new EnumerationBase<T>(values, true);
}

template <typename T>
EnumerationBase<T>* EnumerationBase<T>::clone() const
{
  std::vector<T> copy(_values);
  return newDomain(copy);
}

template <typename T>
typename EnumerationBase<T>::Position EnumerationBase<T>::nearest(T x) const
{
  auto next = _values.begin() + std::ptrdiff_t(upperBound(x));
  if (next == _values.begin())
    return 0;
  if (next == _values.end())
    return _values.size() - 1;
  auto previous = next - 1;
  if (std::abs(x - *previous) > std::abs(x - *next))
    return Position(next - _values.begin());
  return Position(previous - _values.begin());
}

template <typename T>
bool EnumerationBase<T>::findElement(T x, Position& position) const
{
  position = Position(std::lower_bound(_values.begin(), _values.end(), x) - _values.begin());
  return position != end() && !_values.empty();
}

template <typename T>
std::vector<T> EnumerationBase<T>::elementsBetween(T left, T right) const
{
  QM_ASSERT(left < right);
  QM_ASSERT(this->low() <= left);
  QM_ASSERT(right <= this->high());
  auto first = std::lower_bound(_values.begin(), _values.end(), left);
  auto last = std::upper_bound(first, _values.end(), right);
  return std::vector<T>(first, last);
}

} // namespace Domains

#endif
