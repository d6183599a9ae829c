#ifndef QUELMORA_MINMAXPYRAMID_H
#define QUELMORA_MINMAXPYRAMID_H

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <vector>

// The lowest and the highest finite value of any index range of an array, in
// time logarithmic in the range: a pyramid of block minima and maxima over
// the array (which stays its owner's), each with the index where it is
// reached, plus the number of values that are not finite. After values
// change in place, update() rebuilds only the blocks over that range.
class MinMaxPyramid
{
public:
  struct Extremes
  {
    double min = std::numeric_limits<double>::infinity();
    double max = -std::numeric_limits<double>::infinity();
    // The first index where each is reached; meaningless without finite values.
    std::size_t minIndex = 0, maxIndex = 0;
    std::size_t nonFinite = 0;

    bool hasFinite() const { return min <= max; }
    void add(double v, std::size_t i)
    {
      if (!std::isfinite(v)) {
        ++nonFinite;
        return;
      }
      if (v < min || (v == min && i < minIndex)) {
        min = v;
        minIndex = i;
      }
      if (v > max || (v == max && i < maxIndex)) {
        max = v;
        maxIndex = i;
      }
    }
    void add(const Extremes& o)
    {
      if (o.hasFinite()) {
        if (o.min < min || (o.min == min && o.minIndex < minIndex)) {
          min = o.min;
          minIndex = o.minIndex;
        }
        if (o.max > max || (o.max == max && o.maxIndex < maxIndex)) {
          max = o.max;
          maxIndex = o.maxIndex;
        }
      }
      nonFinite += o.nonFinite;
    }
  };

  // Summarises values[0 .. size); the array must outlive the pyramid.
  void reset(const double* values, std::size_t size)
  {
    _values = values;
    _size = size;
    _levels.clear();
    std::size_t n = blockCount(size);
    while (n > 0) {
      _levels.emplace_back(n);
      if (n == 1)
        break;
      n = (n + 1) / 2;
    }
    update(0, size);
  }

  // The values at [from, to) changed.
  void update(std::size_t from, std::size_t to)
  {
    to = std::min(to, _size);
    if (from >= to || _levels.empty())
      return;
    std::size_t first = from / kBlock, last = (to - 1) / kBlock;
    for (std::size_t b = first; b <= last; ++b) {
      Extremes e;
      const std::size_t end = std::min(_size, (b + 1) * kBlock);
      for (std::size_t i = b * kBlock; i < end; ++i)
        e.add(_values[i], i);
      _levels[0][b] = e;
    }
    for (std::size_t l = 1; l < _levels.size(); ++l) {
      first /= 2;
      last /= 2;
      const std::vector<Extremes>& below = _levels[l - 1];
      for (std::size_t b = first; b <= last; ++b) {
        Extremes e = below[2 * b];
        if (2 * b + 1 < below.size())
          e.add(below[2 * b + 1]);
        _levels[l][b] = e;
      }
    }
  }

  // The extremes over [from, to).
  Extremes query(std::size_t from, std::size_t to) const
  {
    Extremes e;
    to = std::min(to, _size);
    if (from >= to)
      return e;
    std::size_t blockFrom = (from + kBlock - 1) / kBlock, blockTo = to / kBlock;
    if (blockFrom >= blockTo) {
      for (std::size_t i = from; i < to; ++i)
        e.add(_values[i], i);
      return e;
    }
    for (std::size_t i = from; i < blockFrom * kBlock; ++i)
      e.add(_values[i], i);
    for (std::size_t i = blockTo * kBlock; i < to; ++i)
      e.add(_values[i], i);
    // Whole blocks, climbing the pyramid from both ends.
    for (std::size_t l = 0; blockFrom < blockTo; ++l) {
      if (blockFrom & 1)
        e.add(_levels[l][blockFrom++]);
      if (blockTo & 1)
        e.add(_levels[l][--blockTo]);
      blockFrom /= 2;
      blockTo /= 2;
    }
    return e;
  }

  // Over everything.
  Extremes all() const { return _levels.empty() ? Extremes() : _levels.back().front(); }
  std::size_t size() const { return _size; }
  const double* values() const { return _values; }

private:
  static constexpr std::size_t kBlock = 16;
  static std::size_t blockCount(std::size_t size) { return (size + kBlock - 1) / kBlock; }

  const double* _values = nullptr;
  std::size_t _size = 0;
  // Level 0: blocks of kBlock values; level l + 1: pairs of level l.
  std::vector<std::vector<Extremes>> _levels;
};

#endif
