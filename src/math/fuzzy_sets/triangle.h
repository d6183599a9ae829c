#ifndef QUELMORA_MATH_FUZZY_SETS_TRIANGLE_H
#define QUELMORA_MATH_FUZZY_SETS_TRIANGLE_H

#include "math/fuzzy_sets/moveablefuzzyset.h"

namespace FuzzySets {

// Triangle (a, b, c): 0 outside [a, c], the height at b, linear between.
template <typename X, typename Y>
class Triangle : public MoveableFuzzySet<X, Y>
{
public:
  typedef typename Fn::MathFn<X, Y>::Domain Domain;

  explicit Triangle(const Domain* domain) : MoveableFuzzySet<X, Y>(domain, 3)
  {
    const double low = domain->low(), high = domain->high();
    this->_params = {low, (low + high) * 0.5, high};
    Triangle::paramsChanged();
  }

  void paramsChanged() override
  {
    QM_ASSERT(_params[0] <= _params[1]);
    QM_ASSERT(_params[1] <= _params[2]);
    this->_supportBegin = _params[0];
    this->_supportEnd = _params[2];
    this->_kernelBegin = this->_kernelEnd = _params[1];
    this->setNzBegin(X(_params[0]));
    this->setNzEnd(X(_params[2]));
    FuzzySetBase<X, Y>::paramsChanged();
  }

  Y formula(X x) const
  {
    const double a = this->_supportBegin, b = this->_kernelBegin, c = this->_supportEnd;
    const double h = this->_height;
    if (x < a || x > c)
      return Y(0);
    if (x == b)
      return Y(h);
    if (x > b && this->_rightWidth != 0)
      return Y((x - c) * (-h / this->_rightWidth));
    return Y((x - a) * (h / this->_leftWidth));
  }

protected:
  using Fn::MathFn<X, Y>::_params;

  Triangle(const Triangle&) = default;
};

} // namespace FuzzySets

#endif
