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

  virtual bool isBilateral() const { return false; }
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
  void snapToDomain(std::vector<T>& array) const;
  // Sets `position` to the first element not less than x; false when there is none.
  bool findElement(T x, Position& position) const;
  // Every element e with left <= e <= right.
  std::vector<T> elementsBetween(T left, T right) const;

protected:
  // For subclasses that lay out their own elements.
  EnumerationBase() {}

  std::vector<T> _values;
};

template <typename T>
EnumerationBase<T>::EnumerationBase(const std::vector<T>& std_data, bool sorted)
  : _values(std_data)
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
  auto next = std::upper_bound(_values.begin(), _values.end(), x);
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
void EnumerationBase<T>::snapToDomain(std::vector<T>& array) const
{
  for (T& v : array)
    v = _values[nearest(v)];
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
