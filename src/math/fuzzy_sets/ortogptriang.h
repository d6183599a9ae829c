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

  void updateConstant() override
  {
    if (N >= 2)
      this->_orthoConstant =
          OrtogPTriangBase<X, Y, N>::constantFor(this->_leftWidth, this->_rightWidth);
  }

protected:
  OrtogPTriang(const OrtogPTriang&) = default;
};

} // namespace FuzzySets

#endif
