#ifndef QUELMORA_MATH_FCE_FCE_ALGORITHMS_H
#define QUELMORA_MATH_FCE_FCE_ALGORITHMS_H

#include "design_patterns/staticfactory/inttotype.h"
#include "math/fuzzy_sets/ortogppoints.h"
#include "math/fuzzy_sets/ortogptriangbase.h"
#include "math/partitions/partitionbase.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>
#include <vector>

// The direct and inverse F-transform of degrees 0 to 3 over a fuzzy partition.
// Every sum runs only over one basic function's non-zero range, reading the
// values the partition keeps packed in component order (packed()).
//
// The ranged and indexed variants recompute part of a result after a node
// move. They add the same terms in the same order as the whole computation
// (the whole computation is the ranged one over the whole domain), so a
// partial update gives the same numbers bit for bit.
namespace Fn {

namespace detail {

template <typename X, typename Y>
using Packed = Partitions::PackedBasis<X, Y>;

// Only shapes with a one-point kernel have a triangle for the basis.
template <typename Entry>
void checkOnePointKernel(const Entry* fs)
{
  QM_ASSERT(fs->kernelBegin() == fs->kernelEnd());
}

// A polynomial of degree m needs m + 1 points where the basic function is not
// 0. On fewer, every degree would count the same points again: the component
// is undefined. (Only the two ends of a non-zero range may be 0.)
template <typename Y>
bool tooFewPoints(std::size_t length, const Y* a, int degree)
{
  return degree > 0 && length <= std::size_t(degree) + 2 &&
         std::count_if(a, a + length, [](Y v) { return v != Y(0); }) <= degree;
}

// The evaluators below give, per basic function k (after reset), the basis
// value at domain element i; component() turns the quotient of the sums into
// the component and coefficient() a component back into the multiplier of
// the evaluated basis in the inverse. Both are the identity where the
// evaluated basis is the one the components refer to.

// The closed forms, evaluated inline: reset() derives the widths and the
// constant exactly as the basis's own setParams would, so the values equal
// the basis's, without a virtual call or a domain search per basic function
// or element.
template <typename X, typename Y, int N>
struct ClosedFormBasis
{
  typedef FuzzySets::OrtogPTriangBase<X, Y, N> Basis;
  static constexpr int degree = N;
  static constexpr bool knowsNorm = false;
  static constexpr bool copiesRunApart = true;
  const X* xs;
  double a = 0, b = 0, c = 0, lw = 0, rw = 0, k = 0;

  template <typename Entry>
  void reset(MathFn<X, Y>&, const Entry& e, std::size_t, std::vector<double>&)
  {
    if (N == 0) // 1 everywhere
      return;
    a = e.a;
    b = e.b;
    c = e.c;
    lw = b - a;
    rw = c - b;
    k = Basis::constantFor(lw, rw);
  }
  template <typename Entry>
  bool undefined(const Entry& e, const Y* values, std::size_t) const
  {
    return tooFewPoints(e.end - e.begin, values, N);
  }
  Y operator()(std::size_t i) const { return Basis::polynomial(double(xs[i]), a, b, c, lw, rw, k); }
  Y component(Y quotient) const { return quotient; }
  Y coefficient(Y component) const { return component; }
};

// The polynomials orthogonal on each basic function's points, evaluated in
// the scaled variable of the partition's fits.
template <typename X, typename Y, int N>
struct OnPointsBasis
{
  static constexpr int degree = N;
  static constexpr bool knowsNorm = N > 0;
  static constexpr bool copiesRunApart = true;
  const X* xs;
  const Partitions::PointBases<X, Y>* fits;
  const OrthogonalFit* fit = nullptr;

  template <typename Entry>
  void reset(MathFn<X, Y>&, const Entry&, std::size_t k, std::vector<double>&)
  {
    fit = &(*fits)[k];
  }
  template <typename Entry>
  bool undefined(const Entry&, const Y*, std::size_t k) const
  {
    return (*fits)[k].degrees < N;
  }
  Y operator()(std::size_t i) const { return Y(fit->value<N>(fit->z(double(xs[i])))); }
  Y component(Y quotient) const { return Y(fit->componentOf(N, quotient)); }
  // sum A_k P^2, fitted with the polynomials.
  Y norm() const { return Y(fit->norms[N > 0 ? N - 1 : 0]); }
  Y coefficient(Y component) const { return Y(fit->coefficientOf(N, component)); }
};

// Any other basis: parameters set per basic function, read through valueAtIndex.
template <typename X, typename Y>
struct AnyBasis
{
  static constexpr int degree = 0; // not known: every component is computed
  static constexpr bool knowsNorm = false;
  static constexpr bool copiesRunApart = false; // each sets the one basis

  const MathFn<X, Y>* basis;
  template <typename Entry>
  void reset(MathFn<X, Y>& b, const Entry& e, std::size_t, std::vector<double>& params)
  {
    params[0] = e.a;
    params[1] = e.b;
    params[2] = e.c;
    b.setParams(params);
  }
  template <typename Entry>
  bool undefined(const Entry&, const Y*, std::size_t) const
  {
    return false;
  }
  Y operator()(std::size_t i) const { return basis->valueAtIndex(i); }
  Y component(Y quotient) const { return quotient; }
  Y coefficient(Y component) const { return component; }
};

template <typename X, typename Y, int N>
using OnPoints = FuzzySets::OrtogPPoints<X, Y, IntToType<N>>;

// Calls body(evaluator) with the fastest evaluator for this basis; afterwards
// the basis is left set to the last basic function's triangle.
template <typename X, typename Y, typename Body>
void withBasis(MathFn<X, Y>& basis, const Partitions::PartitionBase<X, Y>& part, Body body)
{
  const Packed<X, Y>& packed = part.packed();
  const X* xs = basis.domain()->values().data();
  if (dynamic_cast<const OnPoints<X, Y, 0>*>(&basis) ||
      dynamic_cast<const FuzzySets::OrtogPTriangBase<X, Y, 0>*>(&basis))
    body(ClosedFormBasis<X, Y, 0>{xs});
  else if (dynamic_cast<const OnPoints<X, Y, 1>*>(&basis))
    body(OnPointsBasis<X, Y, 1>{xs, &part.pointBases()});
  else if (dynamic_cast<const OnPoints<X, Y, 2>*>(&basis))
    body(OnPointsBasis<X, Y, 2>{xs, &part.pointBases()});
  else if (dynamic_cast<const OnPoints<X, Y, 3>*>(&basis))
    body(OnPointsBasis<X, Y, 3>{xs, &part.pointBases()});
  else if (dynamic_cast<const FuzzySets::OrtogPTriangBase<X, Y, 1>*>(&basis))
    body(ClosedFormBasis<X, Y, 1>{xs});
  else if (dynamic_cast<const FuzzySets::OrtogPTriangBase<X, Y, 2>*>(&basis))
    body(ClosedFormBasis<X, Y, 2>{xs});
  else if (dynamic_cast<const FuzzySets::OrtogPTriangBase<X, Y, 3>*>(&basis)) {
    body(ClosedFormBasis<X, Y, 3>{xs});
  } else {
    body(AnyBasis<X, Y>{&basis});
    return;
  }
  if (packed.size() > 0) {
    std::vector<double> params(3);
    AnyBasis<X, Y>{&basis}.reset(basis, packed.entry(packed.size() - 1), 0, params);
  }
}

// Runs its tasks one after another; a caller's runner may spread them
// over threads: run(count, task) calls task(0) ... task(count - 1).
struct Serial
{
  template <typename Task>
  void operator()(std::size_t count, const Task& task) const
  {
    for (std::size_t b = 0; b < count; ++b)
      task(b);
  }
};

// Blocks of basic functions and of domain points the runner gets. Each block
// forms its sums exactly as the whole loop would: the results do not depend
// on how the blocks are run.
constexpr std::size_t functionBlock = 1024;
constexpr std::size_t pointBlock = std::size_t(1) << 16;

// body(from, to) over [0, n) in blocks, or at once when the evaluator's
// copies cannot run apart or there is a single block.
template <bool apart, typename Run, typename Body>
void inBlocks(Run& run, std::size_t n, std::size_t size, const Body& body)
{
  const std::size_t count = (n + size - 1) / size;
  if (!apart || count <= 1) {
    body(std::size_t(0), n);
    return;
  }
  run(count, [&](std::size_t b) { body(b * size, std::min(n, (b + 1) * size)); });
}

// Component k of degree m: sum f A_k P_k / sum A_k P_k^2.
template <typename X, typename Y, typename Basis>
Y component(const Packed<X, Y>& packed, typename Packed<X, Y>::Reader& reader, std::size_t k,
            MathFn<X, Y>& basis, Basis& p, std::vector<double>& params, const Y* f)
{
  const auto& e = packed.entry(k);
  checkOnePointKernel(&e);
  const Y* a = reader.values(k);
  if (p.undefined(e, a, k))
    return std::numeric_limits<Y>::quiet_NaN();
  p.reset(basis, e, k, params);
  if constexpr (Basis::knowsNorm) {
    Y numerator = Y(0);
    for (std::size_t i = e.begin; i < e.end; ++i)
      numerator += f[i] * (p(i) * a[i - e.begin]);
    return p.component(numerator / p.norm());
  }
  Y numerator = Y(0), denominator = Y(0);
  for (std::size_t i = e.begin; i < e.end; ++i) {
    const Y pv = p(i);
    const Y w = pv * a[i - e.begin];
    numerator += f[i] * w;
    denominator += w * pv;
  }
  return p.component(numerator / denominator);
}

} // namespace detail

// output[k] = sum f A_k P_k / sum A_k P_k^2 over A_k's non-zero range, where
// P_k is `basis` (a factory prototype of degree m) set to A_k's triangle and f
// the input values (n, one per domain element, read in place). 0/0 stays NaN.
// `run` may spread blocks of basic functions over threads.
template <typename X, typename Y, typename Run = detail::Serial>
void directTransform(const Partitions::PartitionBase<X, Y>& part, MathFn<X, Y>& basis,
                     const Y* input, std::size_t n, std::vector<Y>& output, Run run = Run())
{
  QM_ASSERT(n == part.domain()->size());
  const auto& packed = part.packed();
  output.assign(packed.size(), Y(0));
  detail::withBasis(basis, part, [&](auto p) {
    using P = decltype(p);
    detail::inBlocks<P::copiesRunApart>(
        run, packed.size(), detail::functionBlock, [&](std::size_t from, std::size_t to) {
          P q = p;
          std::vector<double> params(3);
          typename detail::Packed<X, Y>::Reader reader(packed);
          for (std::size_t k = from; k < to; ++k)
            output[k] = detail::component(packed, reader, k, basis, q, params, input);
        });
  });
}

template <typename X, typename Y>
void directTransform(const Partitions::PartitionBase<X, Y>& part, MathFn<X, Y>& basis,
                     const std::vector<Y>& input, std::vector<Y>& output)
{
  directTransform(part, basis, input.data(), input.size(), output);
}

// The same for the components listed in `indices` only; output holds one
// entry per basic function already and keeps the others.
template <typename X, typename Y>
void directTransformAt(const Partitions::PartitionBase<X, Y>& part, MathFn<X, Y>& basis,
                       const std::vector<Y>& input, const std::vector<std::size_t>& indices,
                       std::vector<Y>& output)
{
  QM_ASSERT(input.size() == part.domain()->size());
  const auto& packed = part.packed();
  QM_ASSERT(output.size() == packed.size());
  std::vector<double> params(3);
  typename detail::Packed<X, Y>::Reader reader(packed);
  detail::withBasis(basis, part, [&](auto p) {
    for (std::size_t k : indices)
      output[k] = detail::component(packed, reader, k, basis, p, params, input.data());
  });
}

// The inverse transform of degree 0 at the elements [from, to) only, into
// out[i - from], with the membership sums into sums[i - from].
namespace detail {
template <typename X, typename Y>
void inverseBlock(const Packed<X, Y>& packed, const std::vector<Y>& input, std::size_t from,
                  std::size_t to, Y* out, Y* sums)
{
  std::fill(out, out + (to - from), Y(0));
  std::fill(sums, sums + (to - from), Y(0));
  const auto functions = packed.meeting(from, to);
  typename detail::Packed<X, Y>::Reader reader(packed);
  for (std::size_t k = functions.first; k < functions.second; ++k) {
    const auto& e = packed.entry(k);
    const std::size_t b = std::max(e.begin, from), end = std::min(e.end, to);
    if (b >= end)
      continue;
    const Y c = input[k];
    const Y* a = reader.values(k);
    if (!std::isfinite(c)) {
      // A NaN component (a basic function that covers no point: 0/0) must not
      // reach the points where its membership is 0.
      for (std::size_t i = b; i < end; ++i)
        if (a[i - e.begin] != Y(0)) {
          out[i - from] += c * a[i - e.begin];
          sums[i - from] += a[i - e.begin];
        }
      continue;
    }
    for (std::size_t i = b; i < end; ++i) {
      out[i - from] += c * a[i - e.begin];
      sums[i - from] += a[i - e.begin];
    }
  }
  for (std::size_t i = 0; i < to - from; ++i)
    out[i] = out[i] / sums[i];
}
} // namespace detail

// `run` may spread blocks of points over threads.
template <typename X, typename Y, typename Run = detail::Serial>
void inverseTransformRange(const Partitions::PartitionBase<X, Y>& part, const std::vector<Y>& input,
                           std::size_t from, std::size_t to, Y* out, Y* sums, Run run = Run())
{
  QM_ASSERT(input.size() == part.fceCount());
  QM_ASSERT(from <= to && to <= part.domain()->size());
  const auto& packed = part.packed();
  detail::inBlocks<true>(run, to - from, detail::pointBlock, [&](std::size_t b, std::size_t e) {
    detail::inverseBlock(packed, input, from + b, from + e, out + b, sums + b);
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
  output.resize(n);
  std::vector<Y> temporary;
  std::vector<Y>& sums = membDegSum ? *membDegSum : temporary;
  sums.resize(n);
  inverseTransformRange(part, input, 0, n, output.data(), sums.data());
}

// Adds the degree-m term at the elements [from, to) only to out[i - from],
// with the membership sums of inverseTransformRange.
// `run` may spread blocks of points over threads.
template <typename X, typename Y, typename Run = detail::Serial>
void addHigherDegreeTermRange(const Partitions::PartitionBase<X, Y>& part, MathFn<X, Y>& basis,
                              const std::vector<Y>& input, std::size_t rangeFrom,
                              std::size_t rangeTo, Y* rangeOut, const Y* rangeSums, Run run = Run())
{
  QM_ASSERT(input.size() == part.fceCount());
  QM_ASSERT(rangeFrom <= rangeTo && rangeTo <= part.domain()->size());
  const auto& packed = part.packed();
  detail::withBasis(basis, part, [&](auto p0) {
    using P = decltype(p0);
    detail::inBlocks<P::copiesRunApart>(
        run, rangeTo - rangeFrom, detail::pointBlock, [&](std::size_t bb, std::size_t be) {
          P p = p0;
          const std::size_t from = rangeFrom + bb, to = rangeFrom + be;
          Y* out = rangeOut + bb;
          const Y* sums = rangeSums + bb;
          std::vector<double> params(3);
          const auto functions = packed.meeting(from, to);
          typename detail::Packed<X, Y>::Reader reader(packed);
          for (std::size_t k = functions.first; k < functions.second; ++k) {
            const auto& e = packed.entry(k);
            detail::checkOnePointKernel(&e);
            const std::size_t b = std::max(e.begin, from), end = std::min(e.end, to);
            if (b >= end)
              continue;
            p.reset(basis, e, k, params);
            const Y c = p.coefficient(input[k]);
            if (!std::isfinite(c)) // undefined: the inverse keeps the lower degrees there
              continue;
            const Y* a = reader.values(k);
            for (std::size_t i = b; i < end; ++i)
              out[i - from] += (a[i - e.begin] * c) * p(i) / sums[i - from];
          }
        });
  });
}

// Adds the degree-m term sum c_k A_k P_k / sum A_k to an inverse transform of
// degree m - 1, with the membership sums left by inverseTransform.
template <typename X, typename Y>
void addHigherDegreeTerm(const Partitions::PartitionBase<X, Y>& part, MathFn<X, Y>& basis,
                         const std::vector<Y>& input, std::vector<Y>& output,
                         const std::vector<Y>& membDegSum)
{
  QM_ASSERT(output.size() == part.domain()->size());
  QM_ASSERT(membDegSum.size() == part.domain()->size());
  addHigherDegreeTermRange(part, basis, input, 0, output.size(), output.data(), membDegSum.data());
}

// Where the inverse transforms change after basic functions moved (`moved`,
// each over its old and its new non-zero range) and the components of the
// functions `recomputed` changed (over their current ranges): the merged
// ranges [from, to), ascending.
template <typename X, typename Y>
std::vector<std::pair<std::size_t, std::size_t>>
changedRanges(const Partitions::PartitionBase<X, Y>& part,
              const std::vector<typename Partitions::PartitionBase<X, Y>::Change>& moved,
              const std::vector<std::size_t>& recomputed)
{
  std::vector<std::pair<std::size_t, std::size_t>> ranges;
  const auto add = [&ranges](std::size_t b, std::size_t e) {
    if (b < e)
      ranges.emplace_back(b, e);
  };
  const auto& all = part.allFce();
  for (const auto& c : moved)
    add(c.oldBegin, c.oldEnd);
  for (std::size_t k : recomputed)
    add(all[k]->nzBegin(), std::max(all[k]->nzBegin(), all[k]->nzEnd()));
  std::sort(ranges.begin(), ranges.end());
  std::vector<std::pair<std::size_t, std::size_t>> merged;
  for (const auto& r : ranges) {
    if (!merged.empty() && r.first <= merged.back().second)
      merged.back().second = std::max(merged.back().second, r.second);
    else
      merged.push_back(r);
  }
  return merged;
}

} // namespace Fn

using Fn::addHigherDegreeTerm;
using Fn::directTransform;
using Fn::inverseTransform;

#endif
