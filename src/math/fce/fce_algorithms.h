#ifndef QUELMORA_MATH_FCE_FCE_ALGORITHMS_H
#define QUELMORA_MATH_FCE_FCE_ALGORITHMS_H

#include "math/fuzzy_sets/ortogptriangbase.h"
#include "math/partitions/partitionbase.h"

#include <cmath>
#include <vector>

// The direct and inverse F-transform of degrees 0 to 3 over a fuzzy partition.
// Every sum runs only over one basic function's non-zero range, reading its
// cached values through nzValuesData(); arrays are allocated once per call.
namespace Fn {

namespace detail {

// Basic functions live scattered on the heap; with many small supports the
// sums wait on memory, so the next functions are fetched ahead.
constexpr std::size_t kPrefetchAhead = 8;

template <typename F>
inline void prefetchAhead(const std::vector<F*>& all, std::size_t k)
{
#if defined(__GNUC__)
  if (k + kPrefetchAhead < all.size()) {
    const char* p = reinterpret_cast<const char*>(all[k + kPrefetchAhead]);
    __builtin_prefetch(p);
    __builtin_prefetch(p + 64);
    __builtin_prefetch(p + 128);
    __builtin_prefetch(p + 192);
    __builtin_prefetch(p + 256);
  }
  if (k + kPrefetchAhead / 2 < all.size())
    __builtin_prefetch(all[k + kPrefetchAhead / 2]->nzValuesData());
#else
  (void)all;
  (void)k;
#endif
}

// Only shapes with a one-point kernel have a triangle for the basis.
template <typename X, typename Y>
void checkOnePointKernel(const FuzzySets::FuzzySetBase<X, Y>* fs)
{
  QM_ASSERT(fs->kernelBegin() == fs->kernelEnd());
}

// Sets the basis to the triangle (support begin, node, support end) of a basic function.
template <typename X, typename Y>
void setBasisToTriangle(MathFn<X, Y>& basis, const FuzzySets::FuzzySetBase<X, Y>* fs,
                        std::vector<double>& params)
{
  params[0] = fs->supportBegin();
  params[1] = fs->kernelBegin();
  params[2] = fs->supportEnd();
  basis.setParams(params);
}

// One of the orthogonal polynomial bases, evaluated inline: reset() derives
// the widths and the constant exactly as the basis's own setParams would, so
// the values equal the basis's, without a virtual call or a domain search per
// basic function or element.
template <typename X, typename Y, int N>
struct PolynomialBasis
{
  typedef FuzzySets::OrtogPTriangBase<X, Y, N> Basis;
  const X* xs;
  double a = 0, b = 0, c = 0, lw = 0, rw = 0, k = 0;

  void reset(MathFn<X, Y>&, const FuzzySets::FuzzySetBase<X, Y>* fs, std::vector<double>&)
  {
    if (N == 0) // 1 everywhere
      return;
    a = fs->supportBegin();
    b = fs->kernelBegin();
    c = fs->supportEnd();
    lw = b - a;
    rw = c - b;
    k = Basis::constantFor(lw, rw);
  }
  Y operator()(std::size_t i) const { return Basis::polynomial(double(xs[i]), a, b, c, lw, rw, k); }
};

// Any other basis: parameters set per basic function, read through valueAtIndex.
template <typename X, typename Y>
struct AnyBasis
{
  const MathFn<X, Y>* basis;
  void reset(MathFn<X, Y>& b, const FuzzySets::FuzzySetBase<X, Y>* fs, std::vector<double>& params)
  {
    setBasisToTriangle(b, fs, params);
  }
  Y operator()(std::size_t i) const { return basis->valueAtIndex(i); }
};

// Calls body(evaluator) with the fastest evaluator for this basis; afterwards
// the basis is left set to the last basic function's triangle.
template <typename X, typename Y, typename Body>
void withBasis(MathFn<X, Y>& basis, const Partitions::PartitionBase<X, Y>& part, Body body)
{
  const X* xs = basis.domain()->values().data();
  if (dynamic_cast<const FuzzySets::OrtogPTriangBase<X, Y, 0>*>(&basis))
    body(PolynomialBasis<X, Y, 0>{xs});
  else if (dynamic_cast<const FuzzySets::OrtogPTriangBase<X, Y, 1>*>(&basis))
    body(PolynomialBasis<X, Y, 1>{xs});
  else if (dynamic_cast<const FuzzySets::OrtogPTriangBase<X, Y, 2>*>(&basis))
    body(PolynomialBasis<X, Y, 2>{xs});
  else if (dynamic_cast<const FuzzySets::OrtogPTriangBase<X, Y, 3>*>(&basis)) {
    body(PolynomialBasis<X, Y, 3>{xs});
  } else {
    body(AnyBasis<X, Y>{&basis});
    return;
  }
  if (part.fceCount() > 0) {
    std::vector<double> params(3);
    setBasisToTriangle(basis, part.allFce().back(), params);
  }
}

} // namespace detail

// output[k] = sum f A_k P_k / sum A_k P_k^2 over A_k's non-zero range, where
// P_k is `basis` (a factory prototype of degree m) set to A_k's triangle and f
// the input values (one per domain element). 0/0 stays NaN.
template <typename X, typename Y>
void directTransform(const Partitions::PartitionBase<X, Y>& part, MathFn<X, Y>& basis,
                     const std::vector<Y>& input, std::vector<Y>& output)
{
  QM_ASSERT(input.size() == part.domain()->size());
  const auto& all = part.allFce();
  output.assign(all.size(), Y(0));
  std::vector<double> params(3);
  const Y* f = input.data();
  detail::withBasis(basis, part, [&](auto p) {
    for (std::size_t k = 0; k < all.size(); ++k) {
      detail::prefetchAhead(all, k);
      const auto* fs = all[k];
      detail::checkOnePointKernel(fs);
      p.reset(basis, fs, params);
      const std::size_t b = fs->nzBegin(), e = fs->nzEnd();
      Y numerator = Y(0), denominator = Y(0);
      if (b < e) {
        const Y* a = fs->nzValuesData();
        for (std::size_t i = b; i < e; ++i) {
          const Y pv = p(i);
          const Y w = pv * a[i - b];
          numerator += f[i] * w;
          denominator += w * pv;
        }
      }
      output[k] = numerator / denominator;
    }
  });
}

// The inverse transform of degree 0 from the degree-0 components:
// output[i] = sum c_k A_k(x_i) / sum A_k(x_i). The membership sums go into
// *membDegSum when given (resized to the domain), else into a temporary.
template <typename X, typename Y>
void inverseTransform(const Partitions::PartitionBase<X, Y>& part, const std::vector<Y>& input,
                      std::vector<Y>& output, std::vector<Y>* membDegSum = nullptr)
{
  QM_ASSERT(input.size() == part.fceCount());
  const std::size_t n = part.domain()->size();
  output.assign(n, Y(0));
  std::vector<Y> temporary;
  std::vector<Y>& sums = membDegSum ? *membDegSum : temporary;
  sums.assign(n, Y(0));
  Y* out = output.data();
  Y* s = sums.data();
  const auto& all = part.allFce();
  for (std::size_t k = 0; k < all.size(); ++k) {
    detail::prefetchAhead(all, k);
    const auto* fs = all[k];
    const std::size_t b = fs->nzBegin(), e = fs->nzEnd();
    if (b >= e)
      continue;
    const Y c = input[k];
    const Y* a = fs->nzValuesData();
    if (!std::isfinite(c)) {
      // A NaN component (a basic function that covers no point: 0/0) must not
      // reach the points where its membership is 0.
      for (std::size_t i = b; i < e; ++i)
        if (a[i - b] != Y(0)) {
          out[i] += c * a[i - b];
          s[i] += a[i - b];
        }
      continue;
    }
    for (std::size_t i = b; i < e; ++i) {
      out[i] += c * a[i - b];
      s[i] += a[i - b];
    }
  }
  for (std::size_t i = 0; i < n; ++i)
    out[i] = out[i] / s[i];
}

// Adds the degree-m term sum c_k A_k P_k / sum A_k to an inverse transform of
// degree m - 1, with the membership sums left by inverseTransform.
template <typename X, typename Y>
void addHigherDegreeTerm(const Partitions::PartitionBase<X, Y>& part, MathFn<X, Y>& basis,
                         const std::vector<Y>& input, std::vector<Y>& output,
                         const std::vector<Y>& membDegSum)
{
  QM_ASSERT(input.size() == part.fceCount());
  QM_ASSERT(output.size() == part.domain()->size());
  QM_ASSERT(membDegSum.size() == part.domain()->size());
  const auto& all = part.allFce();
  std::vector<double> params(3);
  Y* out = output.data();
  const Y* s = membDegSum.data();
  detail::withBasis(basis, part, [&](auto p) {
    for (std::size_t k = 0; k < all.size(); ++k) {
      detail::prefetchAhead(all, k);
      const auto* fs = all[k];
      detail::checkOnePointKernel(fs);
      p.reset(basis, fs, params);
      const std::size_t b = fs->nzBegin(), e = fs->nzEnd();
      if (b >= e)
        continue;
      const Y c = input[k];
      const Y* a = fs->nzValuesData();
      if (!std::isfinite(c)) {
        for (std::size_t i = b; i < e; ++i)
          if (a[i - b] != Y(0))
            out[i] += (a[i - b] * c) * p(i) / s[i];
        continue;
      }
      for (std::size_t i = b; i < e; ++i)
        out[i] += (a[i - b] * c) * p(i) / s[i];
    }
  });
}

} // namespace Fn

using Fn::addHigherDegreeTerm;
using Fn::directTransform;
using Fn::inverseTransform;

#endif
