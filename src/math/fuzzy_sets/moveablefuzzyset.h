#ifndef QUELMORA_MATH_FUZZY_SETS_MOVEABLEFUZZYSET_H
#define QUELMORA_MATH_FUZZY_SETS_MOVEABLEFUZZYSET_H

#include "math/fuzzy_sets/fuzzysetbase.h"

namespace FuzzySets {

// A fuzzy set that can be shifted along x as a whole.
template <typename X, typename Y>
class MoveableFuzzySet : public FuzzySetBase<X, Y>
{
public:
  // Shifts every position parameter so that the kernel begins at x.
  virtual void moveKernelTo(X x)
  {
    const double delta = double(x) - this->_kernelBegin;
    for (int32_t i = 0; i < this->_numberOfPositionNodes; ++i)
      this->_params[std::size_t(i)] += delta;
    this->paramsChanged();
    this->refresh();
  }

protected:
  using FuzzySetBase<X, Y>::FuzzySetBase;
  MoveableFuzzySet(const MoveableFuzzySet&) = default;
};

} // namespace FuzzySets

#endif
