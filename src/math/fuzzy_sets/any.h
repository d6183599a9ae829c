#ifndef QUELMORA_MATH_FUZZY_SETS_ANY_H
#define QUELMORA_MATH_FUZZY_SETS_ANY_H

#include "math/fuzzy_sets/specialterm.h"

namespace FuzzySets {

// Constant membership (the height) over the whole domain.
template <typename X, typename Y>
class Any : public SpecialTerm<X, Y>
{
public:
  typedef typename Fn::MathFn<X, Y>::Domain Domain;

  explicit Any(const Domain* domain) : SpecialTerm<X, Y>(domain, 0)
  {
    this->_supportBegin = this->_kernelBegin = domain->low();
    this->_supportEnd = this->_kernelEnd = domain->high();
    FuzzySetBase<X, Y>::paramsChanged();
  }

  Y formula(X) const { return Y(this->_height); }

protected:
  Any(const Any&) = default;
};

} // namespace FuzzySets

#endif
