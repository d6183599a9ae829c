#ifndef QUELMORA_MATH_FUZZY_SETS_GAUSSIAN_H
#define QUELMORA_MATH_FUZZY_SETS_GAUSSIAN_H

#include "math/fuzzy_sets/moveablefuzzyset.h"

#include <cmath>

namespace FuzzySets {

// Gaussian bump exp(-0.5 ((x - m) / s)^2) with centre m and deviation s.
// Its support is the whole domain (fixed at construction), but in double
// arithmetic the value is exactly 0 once |x - m| / s exceeds about 38.6, so the
// non-zero range is cut to m +- kCutOff * s: values and sums are unchanged and
// no work is spent on exact zeros.
template <typename X, typename Y>
class Gaussian : public MoveableFuzzySet<X, Y>
{
public:
  typedef typename Fn::MathFn<X, Y>::Domain Domain;

  // exp(-0.5 * 40^2) = exp(-800) underflows to exactly 0.
  static constexpr double kCutOff = 40.0;

  explicit Gaussian(const Domain* domain) : MoveableFuzzySet<X, Y>(domain, 1)
  {
    const double low = domain->low(), high = domain->high();
    this->_params = {(low + high) * 0.5, (high - low) / 10};
    this->_supportBegin = low;
    this->_supportEnd = high;
    Gaussian::paramsChanged();
  }

  void paramsChanged() override
  {
    QM_ASSERT(_params[1] > 0);
    const double m = _params[0], reach = kCutOff * _params[1];
    this->_kernelBegin = this->_kernelEnd = m;
    this->setNzBegin(X(m - reach));
    this->setNzEnd(X(m + reach));
    FuzzySetBase<X, Y>::paramsChanged();
  }

  Y formula(X x) const
  {
    const double z = (x - this->_params[0]) / this->_params[1];
    return Y(std::exp(-0.5 * z * z));
  }

protected:
  using Fn::MathFn<X, Y>::_params;

  Gaussian(const Gaussian&) = default;
};

} // namespace FuzzySets

#endif
