#ifndef QUELMORA_MATH_FCE_MATHFN_H
#define QUELMORA_MATH_FCE_MATHFN_H

#include "math/domains/enumerationbase.h"
#include "math/policy/assertion.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace Fn {

// Tag for a function whose values are first needed after its first parameter
// change: a cached function then fills its cache there instead of at
// construction (partitions set every basic function's parameters right after
// creating it, so filling the defaults would be waste).
struct DeferredFill
{
};

// Lets functions of any argument and value type be owned through one pointer type.
class UnidentifiedMathFn
{
public:
  virtual ~UnidentifiedMathFn() {}
};

// Anything with values on a domain: formulas, data tables, fuzzy sets,
// polynomial bases and transform results. Refers to its domain without owning it.
template <typename X, typename Y>
class MathFn : public UnidentifiedMathFn
{
public:
  typedef X ArgType;
  typedef Y ValueType;
  typedef Domains::EnumerationBase<X> Domain;
  typedef typename Domain::Position Position;

  // Whether every value outside the non-zero range is 0 (true for fuzzy sets);
  // caches use it to store only the non-zero range.
  static constexpr bool zeroOutsideNzRange = false;

  explicit MathFn(const Domain* domain)
      : _domain(domain), _nzBegin(domain->begin()), _nzEnd(domain->end()),
        _oldNzBegin(domain->begin()), _oldNzEnd(domain->end())
  {
  }
  ~MathFn() override {}

  // The value at x.
  virtual Y value(X x) const = 0;
  // One value per domain element.
  virtual const std::vector<Y>& values() const = 0;
  virtual const Y* valuesData() const = 0;
  // Same class and parameters on a clone of the domain; the caller owns both.
  virtual MathFn* clone() const = 0;
  // Recomputes whatever derives from the parameters.
  virtual void paramsChanged() = 0;
  // Recomputes cached values at the positions [from, to).
  virtual void recompute(Position from, Position to) = 0;
  virtual Y valueAtIndex(std::size_t domainIndex) const = 0;

  // The value at nzBegin(), followed by the rest of the non-zero range
  // (nzEnd() - nzBegin() values); for drawing and summing over that range
  // only. Valid until the next parameter change. Not virtual: the classes
  // that store values say how to find it through _nzValues.
  const Y* nzValuesData() const { return _nzValues(this); }

  const Domain* domain() const { return _domain; }
  const std::vector<double>& params() const { return _params; }
  std::size_t paramsSize() const { return _params.size(); }
  double param(std::size_t index) const
  {
    QM_ASSERT(index < paramsSize());
    return _params[index];
  }
  int32_t height() const { return _height; }

  // Copies settings that are not parameters (an expression's text) when
  // cloning; functions that have none keep this no-op.
  void copySettingsFrom(const MathFn&) {}

  void setParam(std::size_t index, double value)
  {
    QM_ASSERT(index < _params.size());
    _params[index] = value;
    paramsChanged();
    refresh();
  }
  void setParams(const std::vector<double>& params)
  {
    QM_ASSERT(_params.size() == params.size());
    std::copy(params.begin(), params.end(), _params.begin());
    paramsChanged();
    refresh();
  }

  // The non-zero range [nzBegin, nzEnd): the function is 0 at every element outside.
  Position nzBegin() const { return _nzBegin; }
  Position nzEnd() const { return _nzEnd; }

  void setNzBegin(X x)
  {
    _oldNzBegin = _nzBegin;
    _nzBegin = _domain->nearest(x);
    QM_ASSERT(_nzBegin != _domain->end());
  }
  void setNzEnd(X x)
  {
    _oldNzEnd = _nzEnd;
    _nzEnd = _domain->nearest(x);
    QM_ASSERT(_nzEnd != _domain->end());
    ++_nzEnd;
  }

  // Recomputes the union of the old and the new non-zero range, so elements
  // that left the range are reset and those that entered it are filled.
  void refresh()
  {
    recompute(std::min(_oldNzBegin, _nzBegin), std::max(_oldNzEnd, _nzEnd));
    _oldNzBegin = _nzBegin;
    _oldNzEnd = _nzEnd;
  }

protected:
  MathFn(const MathFn&) = default;
  MathFn& operator=(const MathFn&) = delete;

  const Domain* _domain;
  std::vector<double> _params;
  int32_t _height = 1;
  Position _nzBegin, _nzEnd;
  Position _oldNzBegin, _oldNzEnd;
  // Reads the stored value at _nzBegin; set by each concrete class.
  typedef const Y* (*NzValuesAccess)(const MathFn*);
  NzValuesAccess _nzValues = nullptr;
};

} // namespace Fn

#endif
