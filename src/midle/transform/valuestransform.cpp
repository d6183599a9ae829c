#include "midle/transform/valuestransform.h"

#include "math/fce/fce_algorithms.h"

#include <thread>

ValuesTransform::ValuesTransform(const TransformPass& pass, const double* f, std::size_t n,
                                 int threads)
    : _pass(pass), _f(f), _n(n),
      _threads(threads > 0 ? threads : int(std::max(1u, std::thread::hardware_concurrency())))
{
}

// The pass's sums, on this transform's threads.
void ValuesTransform::components(int degree, Values& out) const
{
  _pass.components(_f, _n, degree, out, _threads);
}

void ValuesTransform::inverse(const Values& components0, double* inverse)
{
  _sums.resize(_n);
  _pass.inverse(components0, inverse, _sums.data(), _threads);
}

void ValuesTransform::addTerm(int degree, const Values& components, double* inverse) const
{
  _pass.addTerm(degree, components, inverse, _sums.data(), _threads);
}
