#ifndef QUELMORA_MATH_FCE_MATHFNFORMULA_H
#define QUELMORA_MATH_FCE_MATHFNFORMULA_H

#include "math/fce/mathfn.h"
#include "math/policy.h"

namespace Fn {

// F's formula evaluated on demand, at any argument inside [low, high].
// F is a shape, a polynomial basis or an expression: a MathFn subclass with
// `Y formula(X x) const`.
template <typename X, typename Y, typename F>
class MathFnFormula : public F
{
public:
  typedef typename MathFn<X, Y>::Domain Domain;
  typedef typename MathFn<X, Y>::Position Position;

  using F::domain;

  static constexpr bool storesValues = false;

  explicit MathFnFormula(const Domain* d) : F(d) { this->_nzValues = &MathFnFormula::noValues; }
  // Nothing is stored, so nothing is deferred.
  MathFnFormula(const Domain* d, DeferredFill) : MathFnFormula(d) {}

  Y value(X x) const override
  {
    Policy::check(this->_domain->low() <= x && x <= this->_domain->high(),
                  "MathFnFormula::Domain doesn't contain value.");
    return this->formula(x);
  }
  // A formula has no value array.
  const std::vector<Y>& values() const override
  {
    QM_ASSERT(false);
    static const std::vector<Y> none;
    return none;
  }
  const Y* valuesData() const override
  {
    QM_ASSERT(false);
    return nullptr;
  }
  MathFn<X, Y>* clone() const override
  {
    auto* copy = new MathFnFormula<X, Y, F>(this->_domain->clone());
    copy->setParams(this->_params);
    copy->copySettingsFrom(*this);
    return copy;
  }
  void recompute(Position, Position) override {}
  Y valueAtIndex(std::size_t domainIndex) const override
  {
    QM_ASSERT(domainIndex < domain()->size());
    return this->formula(this->_domain->values()[domainIndex]);
  }

private:
  // A formula has no stored values.
  static const Y* noValues(const MathFn<X, Y>*)
  {
    QM_ASSERT(false);
    return nullptr;
  }
};

} // namespace Fn

#endif
