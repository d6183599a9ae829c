#ifndef QUELMORA_MATH_FUZZY_SETS_ORTOGPTRIANGBASE_H
#define QUELMORA_MATH_FUZZY_SETS_ORTOGPTRIANGBASE_H

#include "math/fce/mathfn.h"

#include <cmath>

namespace FuzzySets {

// The polynomial of degree N of the higher-degree F-transform on the triangle
// (a, b, c) of one basic function; orthogonal for the weight of a symmetric
// triangle. Degree 0 is 1 everywhere, higher degrees are 0 outside [a, c].
template <typename X, typename Y, int N>
class OrtogPTriangBase : public Fn::MathFn<X, Y>
{
public:
  typedef typename Fn::MathFn<X, Y>::Domain Domain;

  explicit OrtogPTriangBase(const Domain* domain) : Fn::MathFn<X, Y>(domain)
  {
    const double low = domain->low(), high = domain->high();
    this->_params = {low, (low + high) * 0.5, high};
  }

  void paramsChanged() override
  {
    const auto& p = this->_params;
    this->setNzBegin(X(p[0]));
    this->setNzEnd(X(p[2]));
    _leftWidth = p[1] - p[0];
    _rightWidth = p[2] - p[1];
    updateConstant();
  }

  // Recomputes the orthogonalising constant from the widths.
  virtual void updateConstant() {}

  // The constant of degree N for a triangle with these widths: degree 2 sums
  // the sides' w^2 / 12, degree 3 their w^2 / 5; lower degrees have none.
  static double constantFor(double leftWidth, double rightWidth)
  {
    if (N < 2)
      return 0.0;
    const double divisor = N == 2 ? 12.0 : 5.0;
    return (leftWidth > 0 ? leftWidth * leftWidth / divisor : 0.0) +
           (rightWidth > 0 ? rightWidth * rightWidth / divisor : 0.0);
  }

  Y formula(X x) const
  {
    const auto& p = this->_params;
    return polynomial(double(x), p[0], p[1], p[2], _leftWidth, _rightWidth, _orthoConstant);
  }

  // The value of the degree-N polynomial at x, for callers that evaluate it
  // over a range without virtual calls.
  static Y polynomial(double x, double a, double b, double c, double leftWidth, double rightWidth,
                      double orthoConstant)
  {
    if (N == 0)
      return Y(1);
    if (x < a || x > c)
      return Y(0);
    double t;
    if ((x >= b && rightWidth != 0) || leftWidth == 0)
      t = x - b;
    else
      t = (x - a) / leftWidth * leftWidth - leftWidth;
    if (N == 1)
      return Y(t);
    if (N == 2)
      return Y(t * t - orthoConstant);
    return Y(t * t * t - orthoConstant * t);
  }

  double leftWidth() const { return _leftWidth; }
  double rightWidth() const { return _rightWidth; }
  double orthoConstant() const { return _orthoConstant; }

protected:
  OrtogPTriangBase(const OrtogPTriangBase&) = default;

  double _leftWidth = 0;
  double _rightWidth = 0;
  double _orthoConstant = 0;
};

} // namespace FuzzySets

#endif
