#ifndef QUELMORA_VALUESTRANSFORM_H
#define QUELMORA_VALUESTRANSFORM_H

#include "midle/transform/transformpass.h"

#include <algorithm>
#include <cstddef>
#include <vector>

// The transforms of one function's values over a pass's partition, by the
// same sums as TransformPass::transform, with the values read where they lie
// (an array of the caller's, not copied) and each inverse written where the
// caller wants it. The pass and the values must outlive it; it serves one
// thread at a time.
class ValuesTransform
{
public:
  using Values = std::vector<double>;

  // f holds n values, one per point of the partition's domain. `threads` is
  // how many threads the sums may use (0: all cores); the results are the
  // same for every count.
  ValuesTransform(const TransformPass& pass, const double* f, std::size_t n, int threads = 1);

  std::size_t size() const { return _n; }
  int threads() const { return _threads; }

  // The degree-m components, one per basic function.
  void components(int degree, Values& out) const;
  // The inverse of degree 0 from the degree-0 components into inverse[0, n),
  // keeping the membership sums the higher degrees divide by.
  void inverse(const Values& components0, double* inverse);
  // Adds the degree-m term (m >= 1) to inverse[0, n), which holds the
  // inverse of degree m - 1.
  void addTerm(int degree, const Values& components, double* inverse) const;

  // For degrees 0 ... highest in turn: the components and the inverse of
  // that degree, written to row(degree) (n values; a row may be the previous
  // degree's, which then takes the next term in place), handed to
  // done(degree, components, inverse), which returns false to stop.
  template <typename Row, typename Done>
  void run(int highest, Row row, Done done)
  {
    Values c;
    double* previous = nullptr;
    for (int degree = 0; degree <= highest; ++degree) {
      components(degree, c);
      double* out = row(degree);
      if (degree == 0) {
        inverse(c, out);
      } else {
        if (out != previous)
          std::copy(previous, previous + _n, out);
        addTerm(degree, c, out);
      }
      previous = out;
      if (!done(degree, static_cast<const Values&>(c), static_cast<const double*>(out)))
        return;
    }
  }

private:
  const TransformPass& _pass;
  const double* _f;
  std::size_t _n;
  int _threads;
  Values _sums;
};

#endif
