#ifndef QUELMORA_MATH_FCE_MATHFNTABLE_H
#define QUELMORA_MATH_FCE_MATHFNTABLE_H

#include "math/fce/mathfn.h"
#include "math/policy.h"

#include <utility>

namespace Fn {

// A table of values, one per domain element: data read from files and
// transform results. Arguments between elements read the next element above.
template <typename X, typename Y>
class MathFnTable_MathFn : public MathFn<X, Y>
{
public:
  typedef typename MathFn<X, Y>::Domain Domain;
  typedef typename MathFn<X, Y>::Position Position;

  MathFnTable_MathFn(const Domain* domain, const std::vector<Y>& values)
      : MathFn<X, Y>(domain), _values(values)
  {
    QM_ASSERT(domain->size() == values.size());
    this->_nzValues = &MathFnTable_MathFn::nzValuesOf;
  }
  // Takes the values over without a copy.
  MathFnTable_MathFn(const Domain* domain, std::vector<Y>&& values)
      : MathFn<X, Y>(domain), _values(checkedSize(domain, std::move(values)))
  {
    this->_nzValues = &MathFnTable_MathFn::nzValuesOf;
  }

  Y value(X x) const override
  {
    Position p;
    Policy::check(this->_domain->findElement(x, p),
                  "MathFnTable_MathFn::Domain doesn't contain value.");
    return _values[p];
  }
  const std::vector<Y>& values() const override { return _values; }
  const Y* valuesData() const override { return _values.data(); }
  MathFn<X, Y>* clone() const override
  {
    return new MathFnTable_MathFn<X, Y>(this->_domain->clone(), _values);
  }
  void paramsChanged() override {}
  void recompute(Position, Position) override {}
  Y valueAtIndex(std::size_t domainIndex) const override
  {
    QM_ASSERT(domainIndex < _values.size());
    return _values[domainIndex];
  }

protected:
  static std::vector<Y>&& checkedSize(const Domain* domain, std::vector<Y>&& values)
  {
    QM_ASSERT(domain->size() == values.size());
    return std::move(values);
  }
  static const Y* nzValuesOf(const MathFn<X, Y>* fn)
  {
    const auto* table = static_cast<const MathFnTable_MathFn*>(fn);
    return table->_values.data() + table->_nzBegin;
  }

  std::vector<Y> _values;
};

template <typename X, typename Y>
class MathFnTable : public MathFnTable_MathFn<X, Y>
{
public:
  MathFnTable(const typename MathFn<X, Y>::Domain* domain, const std::vector<Y>& values)
      : MathFnTable_MathFn<X, Y>(domain, values)
  {
  }
  MathFnTable(const typename MathFn<X, Y>::Domain* domain, std::vector<Y>&& values)
      : MathFnTable_MathFn<X, Y>(domain, std::move(values))
  {
  }
};

} // namespace Fn

#endif
