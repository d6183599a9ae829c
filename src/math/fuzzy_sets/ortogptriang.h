#ifndef QUELMORA_MATH_FUZZY_SETS_ORTOGPTRIANG_H
#define QUELMORA_MATH_FUZZY_SETS_ORTOGPTRIANG_H

#include "design_patterns/staticfactory/inttotype.h"
#include "math/fuzzy_sets/ortogptriangbase.h"

namespace FuzzySets {

template <typename X, typename Y, typename Degree>
class OrtogPTriang;

// The basis of degree N; the degree decides its constant.
template <typename X, typename Y, int N>
class OrtogPTriang<X, Y, IntToType<N>> : public OrtogPTriangBase<X, Y, N>
{
public:
  typedef typename Fn::MathFn<X, Y>::Domain Domain;
  static constexpr int degree = N;

  explicit OrtogPTriang(const Domain* domain) : OrtogPTriangBase<X, Y, N>(domain)
  {
    OrtogPTriang::paramsChanged();
  }

  // Degree 2: the sum of the sides' w^2 / 12; degree 3: of w^2 / 5; lower: none.
  void updateConstant() override
  {
    if (N < 2)
      return;
    const double divisor = N == 2 ? 12.0 : 5.0;
    const double lw = this->_leftWidth, rw = this->_rightWidth;
    this->_orthoConstant = (lw > 0 ? lw * lw / divisor : 0.0) + (rw > 0 ? rw * rw / divisor : 0.0);
  }

protected:
  OrtogPTriang(const OrtogPTriang&) = default;
};

} // namespace FuzzySets

#endif
