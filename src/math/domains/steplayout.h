#ifndef QUELMORA_MATH_DOMAINS_STEPLAYOUT_H
#define QUELMORA_MATH_DOMAINS_STEPLAYOUT_H

#include <algorithm>
#include <cmath>
#include <limits>

namespace Domains {

// Points laid out in steps from a start across [low, high] (fixed-point
// domains, custom partitions) are computed as start + k * step, and a point
// within this distance of an end is that end: 1 + 10 * 0.1 reaches 2, and no
// extra step is taken past an end that rounding left a hair away. Every
// layout of the kind uses this one rule, so nodes and basic functions agree
// in number. Never half a step or more, so that no step is skipped.
inline double endTolerance(double low, double high, double step)
{
  const double rounding = (high - low) * 1e-9 + 4 * std::numeric_limits<double>::epsilon() *
                                                    std::max(std::abs(low), std::abs(high));
  return std::min(rounding, std::abs(step) * 0.25);
}

// start + k * step, or the end it lies within tolerance of.
inline double stepPoint(double start, double k, double step, double low, double high,
                        double tolerance)
{
  const double x = start + k * step;
  if (std::abs(x - high) <= tolerance)
    return high;
  if (std::abs(x - low) <= tolerance)
    return low;
  return x;
}

} // namespace Domains

#endif
