#ifndef QUELMORA_DESIGN_PATTERNS_STATICFACTORY_STATICFACTORY_H
#define QUELMORA_DESIGN_PATTERNS_STATICFACTORY_STATICFACTORY_H

#include "design_patterns/staticfactory/inttotype.h"
#include "math/fce/higherdegreebasis.h"
#include "math/fce/mathfnformula.h"
#include "math/fuzzy_sets/ortogppoints.h"
#include "math/fuzzy_sets/ortogptriang.h"

#include <cstdint>
#include <map>

// The largest degree the factory holds a basis for.
constexpr int32_t G_STATIC_FACTORY_MAX = 3;

// One prototype polynomial basis per degree 0 ... G_STATIC_FACTORY_MAX on a
// domain, of the chosen kind. The transforms set a prototype's parameters to
// each basic function's triangle in turn, so a factory serves one computation
// at a time.
template <typename X = double, typename Y = double>
class StaticFactory
{
public:
  typedef Fn::MathFn<X, Y> Function;

  explicit StaticFactory(const Domains::EnumerationBase<X>* domain,
                         Fn::HigherDegreeBasis kind = Fn::HigherDegreeBasis::Orthogonal)
  {
    for (int32_t index = 0; index <= G_STATIC_FACTORY_MAX; ++index)
      _prototypes[index] = kind == Fn::HigherDegreeBasis::ClosedForm
                               ? create(domain, index)
                               : createOnPoints(domain, index);
  }
  StaticFactory(const StaticFactory&) = delete;
  StaticFactory& operator=(const StaticFactory&) = delete;
  ~StaticFactory()
  {
    for (auto& p : _prototypes)
      delete p.second;
  }

  // The basis of that degree.
  Function* get(int32_t index) const
  {
    QM_ASSERT(index <= G_STATIC_FACTORY_MAX);
    QM_ASSERT(index >= 0);
    return _prototypes.at(index);
  }

  // The degree of a single degree flag: 1, 2, 4, 8 give 0, 1, 2, 3.
  static int32_t indexOfFlag(int32_t flag)
  {
    int32_t index = 0;
    while (flag > 1) {
      flag /= 2;
      ++index;
    }
    return index;
  }

private:
  template <int N>
  using Basis = Fn::MathFnFormula<X, Y, FuzzySets::OrtogPTriang<X, Y, IntToType<N>>>;

  template <int N>
  using OnPoints = Fn::MathFnFormula<X, Y, FuzzySets::OrtogPPoints<X, Y, IntToType<N>>>;

  static Function* createOnPoints(const Domains::EnumerationBase<X>* domain, int32_t index)
  {
    switch (index) {
    case 0:
      return new OnPoints<0>(domain);
    case 1:
      return new OnPoints<1>(domain);
    case 2:
      return new OnPoints<2>(domain);
    case 3:
      return new OnPoints<3>(domain);
    }
    QM_ASSERT(false);
    return nullptr;
  }

  static Function* create(const Domains::EnumerationBase<X>* domain, int32_t index)
  {
    switch (index) {
    case 0:
      return new Basis<0>(domain);
    case 1:
      return new Basis<1>(domain);
    case 2:
      return new Basis<2>(domain);
    case 3:
      return new Basis<3>(domain);
    }
    QM_ASSERT(false);
    return nullptr;
  }

  std::map<int32_t, Function*> _prototypes;
};

#endif
