#ifndef QUELMORA_MATH_PARTITIONS_PACKEDBASIS_H
#define QUELMORA_MATH_PARTITIONS_PACKEDBASIS_H

#include "math/fuzzy_sets/fuzzysetbase.h"

#include <algorithm>
#include <cstddef>
#include <memory>
#include <utility>
#include <vector>

namespace Partitions {

// The basic functions of a partition laid out for the transforms' sums: per
// function, in component order, its non-zero range, its triangle and its
// values over that range, in two flat arrays read front to back. With many
// small basic functions the sums are bound by memory, and one heap object per
// function made them wait on scattered reads. The values are copies of the
// functions' own caches, so every sum sees the same numbers.
//
// Kept by the partition: built on first use, and after a node move only the
// moved functions are rewritten, in their own slot or, when a function outgrew
// it, at the end of the values (compacted once the abandoned room is large).
//
// A partition that is only transformed, never drawn nor moved, may keep the
// geometry alone: each function's range and parameters, its values evaluated
// again wherever a sum reads them (a Reader per thread). Memory then follows
// the number of functions, not the points they cover.
template <typename X, typename Y>
class PackedBasis
{
public:
  typedef FuzzySets::FuzzySetBase<X, Y> FuzzySet;
  typedef Domains::EnumerationBase<X> Domain;
  // A function of the partition's class to evaluate others with.
  typedef FuzzySet* (*MakeScratch)(const Domain* domain);
  // Sets scratch's parameters and writes its values over its non-zero range.
  typedef void (*Evaluate)(FuzzySet& scratch, const std::vector<double>& params, Y* out);

  struct Entry
  {
    std::size_t begin, end; // the non-zero range [begin, end)
    std::size_t offset;     // where its values start
    std::size_t capacity;   // room reserved there
    double a, b, c;         // support begin, kernel begin, support end: the basis triangle
    double kEnd;            // kernel end

    double kernelBegin() const { return b; }
    double kernelEnd() const { return kEnd; }
  };

  std::size_t size() const { return _entries.size(); }
  const Entry& entry(std::size_t k) const { return _entries[k]; }
  // The values of function k over [begin, end); stored ones only.
  const Y* values(std::size_t k) const { return _values.data() + _entries[k].offset; }
  bool geometryOnly() const { return _scratch != nullptr; }
  // The parameters of function k, geometry only.
  const double* params(std::size_t k) const { return _params.data() + k * _paramCount; }

  // The values of the functions one at a time, stored or evaluated; the
  // pointer lasts until the next call. One reader per thread.
  class Reader
  {
  public:
    explicit Reader(const PackedBasis& packed) : _packed(packed)
    {
      if (packed._scratch)
        _fn.reset(packed._scratch(packed._domain));
    }
    const Y* values(std::size_t k)
    {
      if (!_fn)
        return _packed.values(k);
      const Entry& e = _packed._entries[k];
      if (_buffer.size() < e.end - e.begin)
        _buffer.resize(e.end - e.begin);
      if (e.end > e.begin) {
        const double* p = _packed.params(k);
        _params.assign(p, p + _packed._paramCount);
        _packed._evaluate(*_fn, _params, _buffer.data());
      }
      return _buffer.data();
    }

  private:
    const PackedBasis& _packed;
    std::unique_ptr<FuzzySet> _fn;
    std::vector<Y> _buffer;
    std::vector<double> _params;
  };

  // Geometry only: startGeometry, then addGeometry per function in component
  // order, then finishGeometry.
  void startGeometry(const Domain* domain, MakeScratch scratch, Evaluate evaluate,
                     std::size_t paramCount, std::size_t functions)
  {
    _domain = domain;
    _scratch = scratch;
    _evaluate = evaluate;
    _paramCount = paramCount;
    _entries.clear();
    _entries.reserve(functions);
    _params.clear();
    _params.reserve(functions * paramCount);
    _values.clear();
  }
  void addGeometry(const FuzzySet& fs)
  {
    _entries.emplace_back();
    describe(_entries.back(), fs);
    _entries.back().offset = _entries.back().capacity = 0;
    _params.insert(_params.end(), fs.params().begin(), fs.params().end());
  }
  // Function k now has fs's parameters.
  void setGeometry(std::size_t k, const FuzzySet& fs)
  {
    describe(_entries[k], fs);
    std::copy(fs.params().begin(), fs.params().end(),
              _params.begin() + std::ptrdiff_t(k * _paramCount));
  }
  void finishGeometry()
  {
    _abandoned = 0;
    _disorder = 0;
    for (std::size_t k = 1; k < _entries.size(); ++k)
      _disorder += outOfOrder(k);
  }

  // The functions [first, last) among which lie all whose non-zero range
  // meets [from, to). When the ranges ascend with the component order (every
  // partition the program builds) that is exactly those functions; otherwise
  // all of them, and the callers skip the rest by their ranges.
  std::pair<std::size_t, std::size_t> meeting(std::size_t from, std::size_t to) const
  {
    if (_disorder > 0)
      return {0, _entries.size()};
    const auto first = std::partition_point(_entries.begin(), _entries.end(),
                                            [from](const Entry& e) { return e.end <= from; });
    const auto last =
        std::partition_point(first, _entries.end(), [to](const Entry& e) { return e.begin < to; });
    return {std::size_t(first - _entries.begin()), std::size_t(last - _entries.begin())};
  }

  // fill(fs, out) writes fs's values over its non-zero range to out.
  template <typename Fill>
  void build(const std::vector<FuzzySet*>& fns, Fill fill)
  {
    _entries.assign(fns.size(), Entry());
    std::size_t total = 0;
    for (const FuzzySet* fs : fns)
      total += rangeLength(*fs);
    _values.clear();
    _values.reserve(total);
    for (std::size_t k = 0; k < fns.size(); ++k) {
      const FuzzySet& fs = *fns[k];
      Entry& e = _entries[k];
      describe(e, fs);
      e.offset = _values.size();
      e.capacity = e.end - e.begin;
      _values.resize(_values.size() + e.capacity);
      if (e.capacity > 0)
        fill(fs, _values.data() + e.offset);
    }
    _abandoned = 0;
    _disorder = 0;
    for (std::size_t k = 1; k < _entries.size(); ++k)
      _disorder += outOfOrder(k);
  }

  // Rewrites function k after its parameters changed.
  template <typename Fill>
  void update(std::size_t k, const FuzzySet& fs, Fill fill)
  {
    Entry& e = _entries[k];
    _disorder -= neighbourDisorder(k);
    describe(e, fs);
    _disorder += neighbourDisorder(k);
    const std::size_t n = e.end - e.begin;
    if (n > e.capacity) {
      _abandoned += e.capacity;
      // Some room to grow, so a function dragged wider is not moved every time.
      e.capacity = n + n / 2;
      e.offset = _values.size();
      _values.resize(_values.size() + e.capacity);
    }
    if (n > 0)
      fill(fs, _values.data() + e.offset);
    if (_abandoned > _values.size() / 2)
      compact();
  }

private:
  static std::size_t rangeLength(const FuzzySet& fs)
  {
    return fs.nzEnd() > fs.nzBegin() ? fs.nzEnd() - fs.nzBegin() : 0;
  }

  static void describe(Entry& e, const FuzzySet& fs)
  {
    e.begin = fs.nzBegin();
    e.end = fs.nzBegin() + rangeLength(fs);
    e.a = fs.supportBegin();
    e.b = fs.kernelBegin();
    e.c = fs.supportEnd();
    e.kEnd = fs.kernelEnd();
  }

  int outOfOrder(std::size_t k) const
  {
    return _entries[k].begin < _entries[k - 1].begin || _entries[k].end < _entries[k - 1].end;
  }
  int neighbourDisorder(std::size_t k) const
  {
    return (k > 0 ? outOfOrder(k) : 0) + (k + 1 < _entries.size() ? outOfOrder(k + 1) : 0);
  }

  // Back to one slot after another, in component order.
  void compact()
  {
    std::vector<Y> packed;
    std::size_t total = 0;
    for (const Entry& e : _entries)
      total += e.end - e.begin;
    packed.reserve(total);
    for (Entry& e : _entries) {
      const std::size_t n = e.end - e.begin;
      const std::size_t offset = packed.size();
      packed.insert(packed.end(), _values.begin() + std::ptrdiff_t(e.offset),
                    _values.begin() + std::ptrdiff_t(e.offset + n));
      e.offset = offset;
      e.capacity = n;
    }
    _values.swap(packed);
    _abandoned = 0;
  }

  std::vector<Entry> _entries;
  std::vector<Y> _values;
  // Geometry only: the parameters, _paramCount per function.
  const Domain* _domain = nullptr;
  MakeScratch _scratch = nullptr;
  Evaluate _evaluate = nullptr;
  std::size_t _paramCount = 0;
  std::vector<double> _params;
  std::size_t _abandoned = 0;
  // Neighbours whose ranges do not ascend; the range search needs none.
  std::size_t _disorder = 0;
};

} // namespace Partitions

#endif
