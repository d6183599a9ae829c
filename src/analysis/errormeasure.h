#ifndef QUELMORA_ANALYSIS_ERRORMEASURE_H
#define QUELMORA_ANALYSIS_ERRORMEASURE_H

#include <cstddef>
#include <limits>
#include <vector>

namespace Analysis {

// How far an approximation g lies from a function f on the points x, with
// e_i = f_i - g_i over the points where both f_i and g_i are finite.
struct ErrorMeasure
{
  static constexpr double none = std::numeric_limits<double>::quiet_NaN();

  double maxAbs = none;     // max |e_i|
  double rmse = none;       // sqrt(mean of e_i^2)
  double argMax = none;     // x of the first point where |e_i| = maxAbs
  std::size_t argIndex = 0; // index of that point
  std::size_t points = 0;   // points counted; 0 leaves the three values NaN
};

// The error measure of one function and approximation, kept current while
// ranges of points change. The points are cut into fixed blocks; each block
// keeps its largest |e| with its first point, its sum of squares (summed
// pairwise, scaled by a power of two so that it neither overflows nor
// underflows) and its count, and an update recomputes only the blocks its
// range touches. The blocks are then combined in a fixed pairwise order, so a
// result depends on the values alone, never on the order or the history of
// updates: it is bit for bit that of a fresh computation.
class ErrorTracker
{
public:
  static constexpr std::size_t blockSize = 2048;

  // x, f and g hold n values each. Points [from, to) changed (clamped to n);
  // a different n than the last call recomputes every point.
  void update(const double* x, const double* f, const double* g, std::size_t n, std::size_t from,
              std::size_t to);
  void updateAll(const double* x, const double* f, const double* g, std::size_t n)
  {
    update(x, f, g, n, 0, n);
  }

  const ErrorMeasure& result() const { return _result; }
  std::size_t size() const { return _n; }

private:
  struct Block
  {
    double maxAbs = 0;
    std::size_t argIndex = 0;
    double scaledSum = 0; // sum of (e * 2^-exponent)^2
    int exponent = 0;
    std::size_t count = 0;
  };

  static void measureBlock(Block& b, const double* f, const double* g, std::size_t begin,
                           std::size_t end, double* scratch);
  void combine(const double* x);

  std::vector<Block> _blocks;
  std::vector<double> _scratch;
  std::size_t _n = 0;
  ErrorMeasure _result;
};

// A fresh measure of all n points.
ErrorMeasure measureError(const double* x, const double* f, const double* g, std::size_t n);

// Sum of v[0..n) in a fixed pairwise order: the rounding error grows with
// log n instead of n, and the result does not depend on how the values came.
double pairwiseSum(const double* v, std::size_t n);

} // namespace Analysis

#endif
