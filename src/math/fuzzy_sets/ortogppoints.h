#ifndef QUELMORA_MATH_FUZZY_SETS_ORTOGPPOINTS_H
#define QUELMORA_MATH_FUZZY_SETS_ORTOGPPOINTS_H

#include "design_patterns/staticfactory/inttotype.h"
#include "math/fce/mathfn.h"
#include "math/fce/orthogonalfit.h"

#include <algorithm>
#include <vector>

namespace FuzzySets {

template <typename X, typename Y, typename Degree>
class OrtogPPoints;

// The monic polynomial of degree N in t = x - b orthogonal on the domain's
// points under the weights of the triangle (a, b, c), 0 outside [a, c].
//
// The transforms take this basis against each basic function's own
// membership degrees (the partition's point bases), whatever its shape; as
// a function of its own it is the basis of a triangle basic function.
template <typename X, typename Y, int N>
class OrtogPPoints<X, Y, IntToType<N>> : public Fn::MathFn<X, Y>
{
public:
  typedef typename Fn::MathFn<X, Y>::Domain Domain;
  static constexpr int degree = N;

  explicit OrtogPPoints(const Domain* domain) : Fn::MathFn<X, Y>(domain)
  {
    const double low = domain->low(), high = domain->high();
    this->_params = {low, (low + high) * 0.5, high};
    OrtogPPoints::paramsChanged();
  }

  void paramsChanged() override
  {
    const auto& p = this->_params;
    this->setNzBegin(X(p[0]));
    this->setNzEnd(X(p[2]));
    _fitted = false;
  }

  Y formula(X x) const
  {
    const auto& p = this->_params;
    if (N > 0 && (x < p[0] || x > p[2]))
      return Y(0);
    if (!_fitted)
      fit();
    return Y(_fit.coefficientOf(N, _fit.template value<N>(_fit.z(double(x)))));
  }

protected:
  OrtogPPoints(const OrtogPPoints&) = default;

private:
  // On first use only: the transforms set this basis to every basic function
  // in turn and never evaluate it.
  void fit() const
  {
    const auto& p = this->_params;
    const std::vector<X>& xs = this->_domain->values();
    const auto from = std::lower_bound(xs.begin(), xs.end(), X(p[0]));
    const auto to = std::upper_bound(from, xs.end(), X(p[2]));
    std::vector<Y> weights;
    for (auto x = from; x != to; ++x)
      weights.push_back(triangle(double(*x)));
    _fit.fit(xs.data() + (from - xs.begin()), weights.data(), weights.size(), p[1],
             0.5 * p[2] - 0.5 * p[0]);
    _fitted = true;
  }

  double triangle(double x) const
  {
    const auto& p = this->_params;
    if (x < p[1])
      return p[1] > p[0] ? (x - p[0]) / (p[1] - p[0]) : 1.0;
    return p[2] > p[1] ? (p[2] - x) / (p[2] - p[1]) : 1.0;
  }

  mutable Fn::OrthogonalFit _fit;
  mutable bool _fitted = false;
};

} // namespace FuzzySets

#endif
