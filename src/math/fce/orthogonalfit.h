#ifndef QUELMORA_MATH_FCE_ORTHOGONALFIT_H
#define QUELMORA_MATH_FCE_ORTHOGONALFIT_H

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace Fn {

// The monic polynomials P_0 = 1, P_1, P_2, P_3 orthogonal under the weights
// w_i at the points x_i, kept as their coefficients in powers of z, where
// z = (x - mean) / spread is the points' own standardised variable.
//
// Two passes over the points give the weighted mean and the moments about
// it; in z, Gram-Schmidt on the moments takes a few terms. Where the weights
// fall off over many orders of magnitude (a narrow Gaussian, a few points
// at a domain end) the moments lose digits to cancellation; a third pass
// then takes the polynomials' inner products at the points themselves and
// orthogonalises once more on those. Fitted once per basic function and
// shared by every transformed function.
//
// x is first taken to s = (x - centre) / halfWidth, so that no point or power
// overflows on any finite domain. In t = x - centre each polynomial is unit^m
// times its value in z (unit = halfWidth * spread), so a component against
// the z-polynomial is unit^m times the one against the t-polynomial
// (componentOf and coefficientOf convert).
struct OrthogonalFit
{
  static constexpr int kMaxDegree = 3;

  double centre = 0;
  double twiceInverse = 2; // 2 / halfWidth
  double mean = 0;         // of s
  double inverseSpread = 1;
  // z = (0.5 x - 0.5 centre) * zScale - zShift, one rounding fewer per point
  double zScale = 2, zShift = 0;
  double unit = 1;
  // The coefficients of z^0 .. z^(m-1) of P_1, P_2, P_3 in turn (each monic);
  // a degree the points do not define is 0 everywhere.
  double lower[kMaxDegree * (kMaxDegree + 1) / 2] = {0, 0, 0, 0, 0, 0};
  // sum w P_m^2 of P_1, P_2, P_3: the denominators of the components.
  double norms[kMaxDegree] = {0, 0, 0};
  unsigned points = 0; // where the weight is not 0
  int degrees = 0;     // defined: min(points - 1, 3)

  // Halves first: x - centre may overflow where the domain's span does not.
  double s(double x) const { return (0.5 * x - 0.5 * centre) * twiceInverse; }
  double z(double x) const { return (0.5 * x - 0.5 * centre) * zScale - zShift; }

  template <int N>
  double value(double v) const
  {
    if (N == 0)
      return 1.0;
    if (N > degrees)
      return 0.0;
    const double* c = lower + N * (N - 1) / 2;
    double r = 1.0;
    for (int i = N - 1; i >= 0; --i)
      r = r * v + c[i];
    return r;
  }
  double value(int degree, double v) const
  {
    switch (degree) {
    case 0:
      return value<0>(v);
    case 1:
      return value<1>(v);
    case 2:
      return value<2>(v);
    default:
      return value<3>(v);
    }
  }

  // The component of degree m against the polynomial monic in x - centre,
  // from the one against the polynomial monic in z. One factor at a time:
  // unit^3 alone overflows on wide domains where the result does not.
  double componentOf(int degree, double inZ) const
  {
    for (int j = 0; j < degree; ++j)
      inZ /= unit;
    return inZ;
  }
  double coefficientOf(int degree, double component) const
  {
    for (int j = 0; j < degree; ++j)
      component *= unit;
    return component;
  }

  // Fits the polynomials to the weights w[0 .. n) at the points x[0 .. n);
  // halfWidth scales the points (half the basic function's support).
  template <typename X, typename Y>
  void fit(const X* x, const Y* w, std::size_t n, double centreAt, double halfWidth)
  {
    *this = OrthogonalFit();
    centre = centreAt;
    if (!(halfWidth > 0) || !std::isfinite(halfWidth))
      halfWidth = 1.0;
    twiceInverse = 2.0 / halfWidth;
    zScale = twiceInverse;
    unit = halfWidth;

    double total = 0, first = 0;
    for (std::size_t i = 0; i < n; ++i) {
      const double wi = double(w[i]);
      points += wi != 0;
      total += wi;
      first += wi * s(double(x[i]));
    }
    const int defined = int(std::min<unsigned>(points > 0 ? points - 1 : 0, kMaxDegree));
    if (defined == 0 || !(total > 0))
      return;
    mean = first / total;
    zShift = mean;

    // Moments about the mean, in registers: this pass is most of the fit.
    double m2 = 0, m3 = 0, m4 = 0, m5 = 0, m6 = 0;
    for (std::size_t i = 0; i < n; ++i) {
      const double d = s(double(x[i])) - mean, d2 = d * d, wd2 = double(w[i]) * d2;
      m2 += wd2;
      m3 += wd2 * d;
      m4 += wd2 * d2;
      m5 += wd2 * d2 * d;
      m6 += wd2 * d2 * d2;
    }
    const double spread = std::sqrt(m2 / total);
    if (!(spread > 0) || !std::isfinite(spread))
      return;
    inverseSpread = 1.0 / spread;
    zScale = twiceInverse * inverseSpread;
    zShift = mean * inverseSpread;
    unit = halfWidth * spread;
    // Moments of z per unit weight: nu0 = 1, nu1 = 0, nu2 = 1.
    const double v2 = 1 / (spread * spread), nu3 = m3 / total * v2 * inverseSpread,
                 nu4 = m4 / total * v2 * v2, nu5 = m5 / total * v2 * v2 * inverseSpread,
                 nu6 = m6 / total * v2 * v2 * v2;
    // In z Gram-Schmidt comes out in a few terms of the moments: P_1 = z,
    // P_2 = z^2 - nu3 z - 1, and P_3 = z^3 - a P_2 - nu4 z - nu3 with
    // a = (nu5 - nu3 nu4 - nu3) / |P_2|^2. Each norm is a difference; what
    // cancels in it is lost to rounding.
    degrees = defined;
    double* c2 = lower + 1;
    double* c3 = lower + 3;
    double norm = 1, terms = 1;
    norms[0] = total;
    if (degrees >= 2) {
      c2[0] = -1;
      c2[1] = -nu3;
      norm = nu4 - nu3 * nu3 - 1;
      terms = nu4 + nu3 * nu3 + 1;
      norms[1] = norm * total;
    }
    if (degrees >= 3 && norm > 0) {
      const double a = (nu5 - nu3 * nu4 - nu3) / norm;
      c3[2] = -a;
      c3[1] = a * nu3 - nu4;
      c3[0] = a - nu3;
      terms = nu6 + a * a * norm + nu4 * nu4 + nu3 * nu3;
      norm = nu6 - a * a * norm - nu4 * nu4 - nu3 * nu3;
      norms[2] = norm * total;
    }
    // Where the weights fall off over many orders of magnitude (a narrow
    // Gaussian, a few points at a domain end) that loss shows, and the
    // polynomials' inner products at the points correct them.
    if (!(terms < kCancellation * norm))
      refine(x, w, n);
  }

private:
  // Three digits lost leave more than ten of the sixteen.
  static constexpr double kCancellation = 1e3;

  // Gram-Schmidt once more on g[a][b] = sum w P_a P_b (b <= a) at the
  // points: each step changes P_m's coefficients and, with them, its inner
  // products.
  template <typename X, typename Y>
  void refine(const X* x, const Y* w, std::size_t n)
  {
    double g[kMaxDegree + 1][kMaxDegree + 1] = {};
    for (std::size_t i = 0; i < n; ++i) {
      const double v = z(double(x[i])), wi = double(w[i]);
      double p[kMaxDegree + 1];
      for (int m = 0; m <= degrees; ++m)
        p[m] = value(m, v);
      for (int a = 0; a <= degrees; ++a) {
        const double wp = wi * p[a];
        for (int b = 0; b <= a; ++b)
          g[a][b] += wp * p[b];
      }
    }
    for (int m = 1; m <= degrees; ++m)
      for (int j = 0; j < m; ++j) {
        if (!(g[j][j] > 0))
          return;
        const double along = g[m][j];
        const double k = along / g[j][j];
        // P_m -= k P_j, with P_j monic.
        double* cm = lower + m * (m - 1) / 2;
        const double* cj = lower + j * (j - 1) / 2;
        for (int i = 0; i < j; ++i)
          cm[i] -= k * cj[i];
        cm[j] -= k;
        for (int b = 0; b < m; ++b)
          g[m][b] -= k * (b <= j ? g[j][b] : g[b][j]);
        g[m][m] -= k * along;
      }
    for (int m = 1; m <= degrees; ++m)
      norms[m - 1] = g[m][m];
  }
};

} // namespace Fn

#endif
