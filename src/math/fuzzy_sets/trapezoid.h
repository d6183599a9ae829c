#ifndef QUELMORA_MATH_FUZZY_SETS_TRAPEZOID_H
#define QUELMORA_MATH_FUZZY_SETS_TRAPEZOID_H

#include "math/fuzzy_sets/moveablefuzzyset.h"

namespace FuzzySets {

// Trapezoid (a, b, c, d): the height on [b, c], linear slopes to 0 at a and d.
// The order of the parameters is kept by the partitions, not checked here.
template <typename X, typename Y>
class Trapezoid : public MoveableFuzzySet<X, Y>
{
public:
  typedef typename Fn::MathFn<X, Y>::Domain Domain;

  explicit Trapezoid(const Domain* domain) : MoveableFuzzySet<X, Y>(domain, 4)
  {
    const double low = domain->low(), high = domain->high(), mid = (low + high) * 0.5;
    this->_params = {low, (low + mid) * 0.5, (mid + high) * 0.5, high};
    Trapezoid::paramsChanged();
  }

  void paramsChanged() override
  {
    const auto& p = this->_params;
    this->_supportBegin = p[0];
    this->_kernelBegin = p[1];
    this->_kernelEnd = p[2];
    this->_supportEnd = p[3];
    this->setNzBegin(X(p[0]));
    this->setNzEnd(X(p[3]));
    FuzzySetBase<X, Y>::paramsChanged();
  }

  Y formula(X x) const
  {
    const double a = this->_supportBegin, b = this->_kernelBegin, c = this->_kernelEnd,
                 d = this->_supportEnd;
    const double h = this->_height;
    if (x < a || x > d)
      return Y(0);
    if (b <= x && x <= c)
      return Y(h);
    if (x < b)
      return Y((x - a) * (h / this->_leftWidth));
    return Y((x - d) * (-h / this->_rightWidth));
  }

protected:
  Trapezoid(const Trapezoid&) = default;
};

} // namespace FuzzySets

#endif
