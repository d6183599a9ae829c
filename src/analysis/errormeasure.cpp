#include "analysis/errormeasure.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace Analysis {

namespace {

// Below this many values the sums run straight, in four interleaved
// accumulators; above it the range is halved.
constexpr std::size_t leafSize = 32;

template <typename Term>
double pairwise(const double* v, std::size_t n, Term term)
{
  if (n <= leafSize) {
    double s0 = 0, s1 = 0, s2 = 0, s3 = 0;
    std::size_t i = 0;
    for (; i + 4 <= n; i += 4) {
      s0 += term(v[i]);
      s1 += term(v[i + 1]);
      s2 += term(v[i + 2]);
      s3 += term(v[i + 3]);
    }
    for (; i < n; ++i)
      s0 += term(v[i]);
    return (s0 + s1) + (s2 + s3);
  }
  const std::size_t half = n / 2;
  return pairwise(v, half, term) + pairwise(v + half, n - half, term);
}

// The scale 2^-exponent must stay representable for the tiniest maxima.
constexpr int lowestExponent = -1000;

} // namespace

double pairwiseSum(const double* v, std::size_t n)
{
  return pairwise(v, n, [](double a) { return a; });
}

void ErrorTracker::measureBlock(Block& b, const double* f, const double* g, std::size_t begin,
                                std::size_t end, double* e)
{
  const std::size_t n = end - begin;
  double largest = -1;
  std::size_t arg = begin;
  std::size_t count = 0;
  for (std::size_t k = 0; k < n; ++k) {
    const double fi = f[begin + k];
    const double gi = g[begin + k];
    if (!(std::isfinite(fi) && std::isfinite(gi))) {
      e[k] = 0; // left out: adds nothing to the sum
      continue;
    }
    const double d = fi - gi;
    e[k] = d;
    ++count;
    const double a = std::fabs(d);
    if (a > largest) { // strictly: the first point of the maximum wins
      largest = a;
      arg = begin + k;
    }
  }
  b = Block();
  b.count = count;
  if (count == 0)
    return;
  b.maxAbs = largest;
  b.argIndex = arg;
  if (!std::isfinite(largest)) { // f - g overflowed
    b.scaledSum = largest;
    return;
  }
  if (largest == 0)
    return;
  // A power of two scales exactly: the largest term lies in [1, 4).
  b.exponent = std::max(std::ilogb(largest), lowestExponent);
  const double scale = std::ldexp(1.0, -b.exponent);
  for (std::size_t k = 0; k < n; ++k)
    e[k] *= scale;
  b.scaledSum = pairwise(e, n, [](double a) { return a * a; });
}

void ErrorTracker::update(const double* x, const double* f, const double* g, std::size_t n,
                          std::size_t from, std::size_t to)
{
  if (n != _n || _blocks.size() != (n + blockSize - 1) / blockSize) {
    _n = n;
    _blocks.assign((n + blockSize - 1) / blockSize, Block());
    from = 0;
    to = n;
  }
  to = std::min(to, n);
  if (from < to) {
    _scratch.resize(blockSize);
    for (std::size_t k = from / blockSize; k <= (to - 1) / blockSize; ++k)
      measureBlock(_blocks[k], f, g, k * blockSize, std::min(n, (k + 1) * blockSize),
                   _scratch.data());
  }
  combine(x);
}

void ErrorTracker::combine(const double* x)
{
  _result = ErrorMeasure();
  double largest = -1;
  std::size_t arg = 0, count = 0;
  int exponent = INT_MIN;
  for (const Block& b : _blocks) {
    if (b.count == 0)
      continue;
    count += b.count;
    if (b.maxAbs > largest) {
      largest = b.maxAbs;
      arg = b.argIndex;
    }
    if (b.scaledSum > 0)
      exponent = std::max(exponent, b.exponent);
  }
  if (count == 0)
    return;
  _result.points = count;
  _result.maxAbs = largest;
  _result.argIndex = arg;
  _result.argMax = x[arg];
  if (!std::isfinite(largest)) {
    _result.rmse = largest;
    return;
  }
  if (exponent == INT_MIN) { // every error is 0
    _result.rmse = 0;
    return;
  }
  _scratch.resize(std::max(_scratch.size(), _blocks.size()));
  for (std::size_t k = 0; k < _blocks.size(); ++k) {
    const Block& b = _blocks[k];
    _scratch[k] = b.scaledSum > 0 ? std::ldexp(b.scaledSum, 2 * (b.exponent - exponent)) : 0.0;
  }
  const double sum = pairwiseSum(_scratch.data(), _blocks.size());
  _result.rmse = std::ldexp(std::sqrt(sum / double(count)), exponent);
}

ErrorMeasure measureError(const double* x, const double* f, const double* g, std::size_t n)
{
  ErrorTracker t;
  t.updateAll(x, f, g, n);
  return t.result();
}

} // namespace Analysis
