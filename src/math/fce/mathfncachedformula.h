#ifndef QUELMORA_MATH_FCE_MATHFNCACHEDFORMULA_H
#define QUELMORA_MATH_FCE_MATHFNCACHEDFORMULA_H

#include "math/fce/mathfn.h"
#include "math/fce/windowedvalues.h"
#include "math/policy.h"

#include <type_traits>

namespace Fn {

namespace detail {
// Whether F evaluates its formula at many points at once: formulaAll(xs, n, out).
template <typename F, typename = void>
struct HasFormulaAll : std::false_type
{
};
template <typename F>
struct HasFormulaAll<F, std::void_t<decltype(&F::formulaAll)>> : std::true_type
{
};
} // namespace detail

// F's formula with the values at the domain elements kept in a cache that a
// parameter change refreshes only over the old and the new non-zero range.
// For fuzzy sets (F::zeroOutsideNzRange) the cache stores only the elements
// around the non-zero range; `values()` still gives the whole array, built on
// request, and `nzValuesData()` points into the stored window.
template <typename X, typename Y, typename F>
class MathFnCachedFormula : public F
{
public:
  typedef typename MathFn<X, Y>::Domain Domain;
  typedef typename MathFn<X, Y>::Position Position;

  static constexpr bool storesValues = true;

  explicit MathFnCachedFormula(const Domain* domain) : F(domain), _values(domain->size())
  {
    this->_nzValues = &MathFnCachedFormula::nzValuesOf;
    recompute(domain->begin(), domain->end());
  }
  // The cache stays empty until the first setParams/setParam, which fills it
  // for the new parameters; reading before that is an error.
  MathFnCachedFormula(const Domain* domain, DeferredFill)
      : F(domain), _deferred(true), _values(domain->size())
  {
    this->_nzValues = &MathFnCachedFormula::nzValuesOf;
  }
  // Copies parameters, geometry and the stored window.
  MathFnCachedFormula(const MathFnCachedFormula&) = default;

  Y value(X x) const override
  {
    Position p;
    Policy::check(this->_domain->findElement(x, p),
                  "MathFnCachedFormula::Domain doesn't contain value.");
    QM_ASSERT(!_deferred);
    return _values[p];
  }
  const std::vector<Y>& values() const override
  {
    QM_ASSERT(!_deferred);
    return _values.full();
  }
  const Y* valuesData() const override { return values().data(); }
  MathFn<X, Y>* clone() const override
  {
    auto* copy = new MathFnCachedFormula<X, Y, F>(this->_domain->clone(), DeferredFill());
    if (this->_params.empty())
      copy->recompute(0, copy->domain()->size());
    else
      copy->setParams(this->_params);
    copy->copySettingsFrom(*this);
    return copy;
  }
  void recompute(Position from, Position to) override
  {
    const Position size = _values.size();
    if (_deferred) {
      // Nothing computed yet: the whole cache is defined now.
      from = 0;
      to = size;
      _deferred = false;
    }
    if constexpr (!F::zeroOutsideNzRange && detail::HasFormulaAll<F>::value) {
      // The whole domain at once, written in place.
      if (from == 0 && to >= size && this->_nzBegin == 0 && this->_nzEnd == size)
        if (Y* whole = _values.wholeWindow()) {
          this->formulaAll(this->_domain->values().data(), size, whole);
          return;
        }
    }
    Position evalBegin = from, evalEnd = to;
    if (F::zeroOutsideNzRange) {
      evalBegin = std::max(from, this->_nzBegin);
      evalEnd = std::min(to, this->_nzEnd);
    }
    _values.update(from, to, evalBegin, evalEnd, this->_nzBegin, this->_nzEnd,
                   [this](std::size_t i) { return this->formula(this->_domain->values()[i]); });
  }
  Y valueAtIndex(std::size_t domainIndex) const override
  {
    QM_ASSERT(domainIndex < _values.size());
    QM_ASSERT(!_deferred);
    return _values[domainIndex];
  }

  // The stored part of the cache; values outside it are 0.
  Position windowBegin() const { return _values.windowBegin(); }
  Position windowEnd() const { return _values.windowEnd(); }

private:
  static const Y* nzValuesOf(const MathFn<X, Y>* fn)
  {
    const auto* self = static_cast<const MathFnCachedFormula*>(fn);
    QM_ASSERT(!self->_deferred);
    if (self->_nzEnd <= self->_nzBegin)
      return self->_values.windowData();
    return self->_values.dataAt(self->_nzBegin);
  }

  bool _deferred = false;
  WindowedValues<Y> _values;
};

} // namespace Fn

#endif
