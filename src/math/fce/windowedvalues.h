#ifndef QUELMORA_MATH_FCE_WINDOWEDVALUES_H
#define QUELMORA_MATH_FCE_WINDOWEDVALUES_H

#include "math/policy/assertion.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

namespace Fn {

// One logical value per domain element, storing only a window [windowBegin,
// windowEnd); every value outside the window is 0. A basic function of a large
// partition is non-zero on a few elements, so its cache costs memory and time
// in proportion to that range, not to the domain. Windows of a few elements
// live inside the object itself (no allocation, and read with the object).
template <typename Y>
class WindowedValues
{
public:
  explicit WindowedValues(std::size_t size = 0) : _size(size) {}
  WindowedValues(const WindowedValues& o)
      : _begin(o._begin), _count(o._count), _size(o._size), _heap(o._heap)
  {
    std::copy(o._inline, o._inline + kInline, _inline);
  }
  WindowedValues& operator=(const WindowedValues& o)
  {
    _size = o._size;
    _begin = o._begin;
    _count = o._count;
    _heap = o._heap;
    std::copy(o._inline, o._inline + kInline, _inline);
    _full.clear();
    _fullValid = false;
    return *this;
  }

  // The logical length: the number of domain elements.
  std::size_t size() const { return _size; }
  std::size_t windowBegin() const { return _begin; }
  std::size_t windowEnd() const { return _begin + _count; }

  Y operator[](std::size_t i) const
  {
    return i >= _begin && i - _begin < _count ? windowData()[i - _begin] : Y(0);
  }

  // Pointer to the stored value at i; i must lie in the window (or at its end).
  const Y* dataAt(std::size_t i) const
  {
    QM_ASSERT(_begin <= i && i <= windowEnd());
    return windowData() + (i - _begin);
  }
  const Y* windowData() const { return _count <= kInline ? _inline : _heap.data(); }

  // The whole array, built on request.
  const std::vector<Y>& full() const
  {
    if (_count > kInline && _begin == 0 && _count == _size)
      return _heap;
    if (!_fullValid) {
      _full.assign(_size, Y(0));
      std::copy(windowData(), windowData() + _count, _full.begin() + std::ptrdiff_t(_begin));
      _fullValid = true;
    }
    return _full;
  }

  // The whole array made the window, to be written in place (its values are
  // kept only when it was the window already); null while it is held inline.
  Y* wholeWindow()
  {
    if (_size <= kInline)
      return nullptr;
    _fullValid = false;
    if (_begin != 0 || _count != _size) {
      _heap.assign(_size, Y(0));
      _begin = 0;
      _count = _size;
    }
    return _heap.data();
  }

  // Sets the values at [from, to): eval(i) on [evalBegin, evalEnd) (inside
  // [from, to)) and 0 on the rest; values outside [from, to) stay. The window
  // then covers [keepBegin, keepEnd) and every non-zero value, and nothing more.
  template <typename Eval>
  void update(std::size_t from, std::size_t to, std::size_t evalBegin, std::size_t evalEnd,
              std::size_t keepBegin, std::size_t keepEnd, Eval eval)
  {
    to = std::min(to, _size);
    evalBegin = std::max(evalBegin, from);
    evalEnd = std::min(evalEnd, to);
    if (evalEnd < evalBegin)
      evalEnd = evalBegin;
    keepEnd = std::min(keepEnd, _size);
    keepBegin = std::min(keepBegin, keepEnd);
    _fullValid = false;

    const std::size_t oldBegin = _begin, oldEnd = windowEnd();
    std::size_t nb = keepBegin, ne = keepEnd;
    auto include = [&](std::size_t b, std::size_t e) {
      if (b >= e)
        return;
      if (nb >= ne) {
        nb = b;
        ne = e;
      } else {
        nb = std::min(nb, b);
        ne = std::max(ne, e);
      }
    };
    include(evalBegin, evalEnd);
    include(oldBegin, std::min(oldEnd, from)); // kept below [from, to)
    include(std::max(oldBegin, to), oldEnd);   // kept above [from, to)

    if (nb == oldBegin && ne == oldEnd) {
      Y* w = windowStorage();
      for (std::size_t i = std::max(from, nb); i < std::min(to, ne); ++i)
        w[i - nb] = i >= evalBegin && i < evalEnd ? eval(i) : Y(0);
    } else {
      // Build the new window beside the old one, whose kept values it copies.
      const Y* old = windowData();
      auto fill = [&](Y* next) {
        for (std::size_t i = std::max(oldBegin, nb); i < std::min(oldEnd, ne); ++i)
          if (i < from || i >= to)
            next[i - nb] = old[i - oldBegin];
        for (std::size_t i = evalBegin; i < evalEnd; ++i)
          next[i - nb] = eval(i);
      };
      if (ne - nb <= kInline) {
        Y next[kInline] = {};
        fill(next);
        setWindow(nb, next, ne - nb);
      } else {
        std::vector<Y> next(ne - nb, Y(0));
        fill(next.data());
        _heap.swap(next);
        _begin = nb;
        _count = ne - nb;
      }
    }
    trim(keepBegin, keepEnd);
  }

private:
  static constexpr std::size_t kInline = 4;

  static bool isPlainZero(Y v) { return v == Y(0) && !std::signbit(v); }

  Y* windowStorage() { return _count <= kInline ? _inline : _heap.data(); }

  // Replaces the window by `count` values (which must not live in _heap).
  void setWindow(std::size_t begin, const Y* values, std::size_t count)
  {
    if (count <= kInline) {
      std::copy(values, values + count, _inline);
      std::vector<Y>().swap(_heap);
    } else {
      _heap.assign(values, values + count);
    }
    _begin = begin;
    _count = count;
  }

  // Drops plain zeros at both ends of the window beyond [keepBegin, keepEnd).
  void trim(std::size_t keepBegin, std::size_t keepEnd)
  {
    const Y* w = windowData();
    std::size_t b = _begin, e = windowEnd();
    const std::size_t stopLow = keepBegin < keepEnd ? keepBegin : e;
    const std::size_t stopHigh = keepBegin < keepEnd ? keepEnd : b;
    while (b < e && b < stopLow && isPlainZero(w[b - _begin]))
      ++b;
    while (e > b && e > stopHigh && isPlainZero(w[e - 1 - _begin]))
      --e;
    if (b == e) {
      setWindow(std::min(keepBegin, _size), nullptr, 0);
      return;
    }
    if (b == _begin && e == windowEnd())
      return;
    if (e - b <= kInline || _count <= kInline) {
      Y kept[kInline] = {};
      std::copy(w + (b - _begin), w + (e - _begin), kept);
      setWindow(b, kept, e - b);
    } else {
      std::vector<Y>(w + (b - _begin), w + (e - _begin)).swap(_heap);
      _begin = b;
      _count = e - b;
    }
  }

  // What the transforms read per basic function comes first.
  std::size_t _begin = 0;
  std::size_t _count = 0;
  Y _inline[kInline] = {};
  std::size_t _size;
  std::vector<Y> _heap;
  mutable std::vector<Y> _full;
  mutable bool _fullValid = false;
};

} // namespace Fn

#endif
