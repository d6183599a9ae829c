#ifndef QUELMORA_MATH_FUZZY_SETS_SIN_H
#define QUELMORA_MATH_FUZZY_SETS_SIN_H

#include "math/fuzzy_sets/moveablefuzzyset.h"

#include <cmath>

namespace FuzzySets {

constexpr double kPi = 3.141592653589793;
constexpr double kHalfPi = 1.5707963267948966;

// Sine bump (a, b, c): half cosine waves rising from 0 at a to the height at
// b and falling back to 0 at c.
template <typename X, typename Y>
class Sin : public MoveableFuzzySet<X, Y>
{
public:
  typedef typename Fn::MathFn<X, Y>::Domain Domain;

  explicit Sin(const Domain* domain) : MoveableFuzzySet<X, Y>(domain, 3)
  {
    const double low = domain->low(), high = domain->high();
    this->_params = {low, (low + high) * 0.5, high};
    Sin::paramsChanged();
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
    double t;
    if (x >= b && this->_rightWidth != 0)
      t = (x + c - 2 * b) * kPi / (c - b);
    else if (b != a)
      t = (x - a) * kPi / (b - a);
    else
      return Y(h); // a = b = c: the single point of the support is the peak
    return Y(h * (std::sin(t - kHalfPi) + 1) * 0.5);
  }

protected:
  using Fn::MathFn<X, Y>::_params;

  Sin(const Sin&) = default;
};

} // namespace FuzzySets

#endif
