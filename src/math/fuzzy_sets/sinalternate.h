#ifndef QUELMORA_MATH_FUZZY_SETS_SINALTERNATE_H
#define QUELMORA_MATH_FUZZY_SETS_SINALTERNATE_H

#include "math/fuzzy_sets/sin.h"

namespace FuzzySets {

// Symmetric sine bump given by its centre m and half-width w.
template <typename X, typename Y>
class SinAlternate : public MoveableFuzzySet<X, Y>
{
public:
  typedef typename Fn::MathFn<X, Y>::Domain Domain;

  explicit SinAlternate(const Domain* domain) : MoveableFuzzySet<X, Y>(domain, 1)
  {
    const double low = domain->low(), high = domain->high();
    this->_params = {(low + high) * 0.5, (high - low) * 0.25};
    SinAlternate::paramsChanged();
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
    if (!(a < x && x < c))
      return Y(0);
    const double t = x <= b ? (x - a) * kPi / (b - a) : (x + c - 2 * b) * kPi / (c - b);
    return Y(h * (std::sin(t - kHalfPi) + 1) * 0.5);
  }

protected:
  SinAlternate(const SinAlternate&) = default;
};

} // namespace FuzzySets

#endif
