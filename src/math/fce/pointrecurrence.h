#ifndef QUELMORA_MATH_FCE_POINTRECURRENCE_H
#define QUELMORA_MATH_FCE_POINTRECURRENCE_H

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace Fn {

// The monic polynomials P_0 = 1, P_1, P_2, P_3 orthogonal under the weights
// w_i at the points x_i, kept as P_m = s P_m-1 - sum_j<m h[m][j] P_j: the
// three-term (Stieltjes) recurrence with the terms rounding leaves, which a
// second pass takes out again. Weights that fall off over many orders of
// magnitude (a narrow Gaussian) otherwise leave P_3 visibly unorthogonal to
// the constants, and the constant part of a function leaks into its
// degree-3 component.
//
// The recurrence runs in s = (x - centre) / scale, with scale half the
// extent of the weighted points, so that neither the points nor the powers
// of s overflow on any finite domain. In s the polynomials are monic too;
// in t = x - centre each is scale^m times its value in s, so a component
// taken against the s-polynomial is scale^m times the one against the
// t-polynomial (componentOf, coefficientOf convert).
struct PointRecurrence
{
  static constexpr int kMaxDegree = 3;

  double centre = 0;
  double scale = 1;
  double twiceInverse = 2; // 2 / scale
  // h[m - 1][j]: the coefficient of P_j in P_m; 0 beyond what the points define.
  double h[kMaxDegree][kMaxDegree] = {{0, 0, 0}, {0, 0, 0}, {0, 0, 0}};
  std::size_t points = 0; // where the weight is not 0

  // Halves first: x - centre may overflow where the domain's span does not.
  double s(double x) const { return (0.5 * x - 0.5 * centre) * twiceInverse; }

  template <int N>
  double value(double v) const
  {
    if (N == 0)
      return 1.0;
    const double p1 = v - h[0][0];
    if (N == 1)
      return p1;
    const double p2 = (v - h[1][1]) * p1 - h[1][0];
    if (N == 2)
      return p2;
    return (v - h[2][2]) * p2 - h[2][1] * p1 - h[2][0];
  }
  // P_0 .. P_n at v into p.
  void values(int n, double v, double* p) const
  {
    p[0] = 1.0;
    for (int m = 1; m <= n; ++m) {
      double r = v * p[m - 1];
      for (int j = 0; j < m; ++j)
        r -= h[m - 1][j] * p[j];
      p[m] = r;
    }
  }

  // The component of degree m against the polynomial monic in x - centre,
  // from the one against the polynomial monic in s. One factor at a time:
  // scale^3 alone overflows on wide domains where the result does not.
  double componentOf(int degree, double inS) const
  {
    for (int j = 0; j < degree; ++j)
      inS /= scale;
    return inS;
  }
  double coefficientOf(int degree, double component) const
  {
    for (int j = 0; j < degree; ++j)
      component *= scale;
    return component;
  }

  // Fits the polynomials to the weights w[0 .. n) at the points x[0 .. n).
  template <typename X, typename Y>
  void fit(const X* x, const Y* w, std::size_t n, double centreAt)
  {
    centre = centreAt;
    points = 0;
    std::size_t first = n, last = 0;
    for (std::size_t i = 0; i < n; ++i)
      if (w[i] != Y(0)) {
        ++points;
        first = std::min(first, i);
        last = i;
      }
    for (auto& row : h)
      for (double& c : row)
        c = 0;
    scale = points > 1 ? 0.5 * double(x[last]) - 0.5 * double(x[first]) : 0.0;
    if (!(scale > 0) || !std::isfinite(scale))
      scale = 1.0;
    twiceInverse = 2.0 / scale;

    double norms[kMaxDegree + 1] = {0, 0, 0, 0};
    for (std::size_t i = first; i < n && i <= last; ++i)
      norms[0] += double(w[i]);
    double p[kMaxDegree + 1];
    for (int m = 1; m <= kMaxDegree && std::size_t(m) < points; ++m) {
      // P_m = s P_m-1 less its parts along the lower polynomials, in two rounds.
      double dot[kMaxDegree];
      for (int round = 0; round < 2; ++round) {
        for (int j = 0; j < m; ++j)
          dot[j] = 0;
        double norm = 0;
        for (std::size_t i = first; i <= last; ++i) {
          const double v = s(double(x[i]));
          values(m, v, p);
          const double wi = double(w[i]);
          const double top = round == 0 ? v * p[m - 1] : p[m];
          for (int j = 0; j < m; ++j)
            dot[j] += wi * top * p[j];
          norm += wi * top * top;
        }
        for (int j = 0; j < m; ++j) {
          const double c = dot[j] / norms[j];
          h[m - 1][j] += c;
          norm -= c * dot[j];
        }
        norms[m] = norm;
      }
      if (!(norms[m] > 0))
        break;
    }
  }
};

} // namespace Fn

#endif
