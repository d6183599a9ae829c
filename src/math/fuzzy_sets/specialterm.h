#ifndef QUELMORA_MATH_FUZZY_SETS_SPECIALTERM_H
#define QUELMORA_MATH_FUZZY_SETS_SPECIALTERM_H

#include "math/fuzzy_sets/fuzzysetbase.h"

namespace FuzzySets {

// A fuzzy set comparable with sets of any class.
template <typename X, typename Y>
class SpecialTerm : public FuzzySetBase<X, Y>
{
public:
  int compareSharpness(const FuzzySetBase<X, Y>& other) const override
  {
    return this->sharpnessSign(other);
  }

protected:
  using FuzzySetBase<X, Y>::FuzzySetBase;
  SpecialTerm(const SpecialTerm&) = default;
};

} // namespace FuzzySets

#endif
