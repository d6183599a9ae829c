#include "midle/transform/valuestransform.h"

#include "math/fce/fce_algorithms.h"

#include <thread>

ValuesTransform::ValuesTransform(const TransformPass& pass, const double* f, std::size_t n,
                                 int threads)
    : _pass(pass), _f(f), _n(n),
      _threads(threads > 0 ? threads : int(std::max(1u, std::thread::hardware_concurrency())))
{
}

void ValuesTransform::components(int degree, Values& out) const
{
  Fn::directTransform(_pass.partition(), _pass.basis(degree), _f, _n, out);
}

void ValuesTransform::inverse(const Values& components0, double* inverse)
{
  _sums.resize(_n);
  Fn::inverseTransformRange(_pass.partition(), components0, 0, _n, inverse, _sums.data());
}

void ValuesTransform::addTerm(int degree, const Values& components, double* inverse) const
{
  Fn::addHigherDegreeTermRange(_pass.partition(), _pass.basis(degree), components, 0, _n, inverse,
                               _sums.data());
}
