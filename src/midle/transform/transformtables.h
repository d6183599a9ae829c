#ifndef QUELMORA_TRANSFORMTABLES_H
#define QUELMORA_TRANSFORMTABLES_H

#include "math/domains/enumeration.h"
#include "math/fce/mathfntable.h"

#include <QSharedPointer>

#include <vector>

// The tables the controller publishes its results in. They are updated in
// place after a node move, so the curves and the component table that point
// at them stay valid.

// The components' x positions: one per basic function (its node).
class ComponentNodes : public Domains::Enumeration<double>
{
public:
  using Domains::Enumeration<double>::Enumeration;

  // The caller keeps the positions ascending.
  void setPosition(std::size_t i, double x) { this->_values[i] = x; }
};

namespace detail {
// Keeps the node set alive for as long as a table lives on it: results still
// on the plot or in the component table never point into a deleted domain.
struct NodesHolder
{
  explicit NodesHolder(QSharedPointer<ComponentNodes> n) : nodes(std::move(n)) {}
  QSharedPointer<ComponentNodes> nodes;
};
} // namespace detail

// The components of one function and degree: the values as computed, and the
// values shown (where edited components replace computed ones).
class ComponentTable : private detail::NodesHolder, public Fn::MathFnTable<double, double>
{
public:
  ComponentTable(const QSharedPointer<ComponentNodes>& nodes, std::vector<double> computed)
      : NodesHolder(nodes), Fn::MathFnTable<double, double>(nodes.data(), computed),
        _computed(std::move(computed))
  {
  }

  std::vector<double>& computed() { return _computed; }
  const std::vector<double>& computed() const { return _computed; }
  const QSharedPointer<ComponentNodes>& nodes() const { return NodesHolder::nodes; }

  // An edited component overrides the computed one.
  void setComponent(std::size_t index, double value) { _values[index] = value; }

private:
  std::vector<double> _computed;
};

// An inverse transform over the computation domain.
class InverseTable : public Fn::MathFnTable<double, double>
{
public:
  using Fn::MathFnTable<double, double>::MathFnTable;

  double* data() { return _values.data(); }
};

#endif
