#ifndef QUELMORA_MATH_FUZZY_SETS_TRIANGLEALTERNATE_H
#define QUELMORA_MATH_FUZZY_SETS_TRIANGLEALTERNATE_H

#include "math/fuzzy_sets/moveablefuzzyset.h"

namespace FuzzySets {

// Symmetric triangle given by its centre m and half-width w.
template <typename X, typename Y>
class TriangleAlternate : public MoveableFuzzySet<X, Y>
{
public:
  typedef typename Fn::MathFn<X, Y>::Domain Domain;

  explicit TriangleAlternate(const Domain* domain) : MoveableFuzzySet<X, Y>(domain, 1)
  {
    const double low = domain->low(), high = domain->high();
    this->_params = {(low + high) * 0.5, (high - low) * 0.25};
    TriangleAlternate::paramsChanged();
  }

  void paramsChanged() override
  {
    const double m = this->_params[0], w = this->_params[1];
    this->_supportBegin = m - w;
    this->_supportEnd = m + w;
    this->_kernelBegin = this->_kernelEnd = m;
    this->setNzBegin(X(m - w));
    this->setNzEnd(X(m + w));
    FuzzySetBase<X, Y>::paramsChanged();
  }

  Y formula(X x) const
  {
    const double a = this->_supportBegin, b = this->_kernelBegin, c = this->_supportEnd;
    const double h = this->_height;
    if (x < a || x > c)
      return Y(0);
    if (x >= b && this->_rightWidth != 0)
      return Y((x - c) * (-h / this->_rightWidth));
    if (this->_leftWidth == 0)
      return Y(h);
    return Y((x - a) * (h / this->_leftWidth));
  }

protected:
  TriangleAlternate(const TriangleAlternate&) = default;
};

} // namespace FuzzySets

#endif
