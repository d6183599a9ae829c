#ifndef QUELMORA_MATH_PARTITIONS_FUZZYPARTITION_H
#define QUELMORA_MATH_PARTITIONS_FUZZYPARTITION_H

#include "math/domains/steplayout.h"
#include "math/fce/mathfncachedformula.h"
#include "math/fce/mathfnformula.h"
#include "math/partitions/partitionbase.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace Partitions {

// A partition of basic functions of one shape F, built from nodes (neighbours
// share nodes: a Ruspini partition) or by shifting copies of a prototype (each
// copy has a node of its own). F is Fn::MathFnCachedFormula<X, Y, Shape>, whose
// functions keep their own values (to be drawn one by one), or
// Fn::MathFnFormula<X, Y, Shape>, whose values live only packed in the
// partition for the transforms.
template <typename F>
class FuzzyPartition : public PartitionBase<typename F::ArgType, typename F::ValueType>
{
public:
  typedef typename F::ArgType X;
  typedef typename F::ValueType Y;
  typedef PartitionBase<X, Y> Base;
  typedef typename Base::Domain Domain;
  typedef typename Base::Item Item;

  // Takes the nodes; setShift/setOffset and createFromNodes build the functions.
  FuzzyPartition(const Domain* domain, const Domains::Enumeration<X>& nodeSet)
      : Base(domain, nodeSet)
  {
    this->_fill = &FuzzyPartition::fill;
  }

  // Copies of the prototype (a shape placed by its centre) laid out `shift`
  // apart, one node each: across the domain, or `count` of them when given
  // (a custom partition has one function for each of its nodes, wherever the
  // user added or removed some). The prototype is moved along and stays the
  // caller's. geometryOnly: as setGeometryOnly.
  FuzzyPartition(const Domain* domain, F* prototype, X shift, std::size_t count = 0,
                 bool geometryOnly = false)
      : Base(domain, 0), _geometryOnly(geometryOnly)
  {
    this->_fill = &FuzzyPartition::fill;
    createByShifting(prototype, shift, count);
  }

  int32_t shift() const { return _shift; }
  int32_t offset() const { return _offset; }
  // Nodes between the first nodes of neighbouring functions.
  void setShift(int32_t shift) { _shift = shift; }
  // Node index of the first function's first node; may be negative.
  void setOffset(int32_t offset) { _offset = offset; }

  // From now on the functions are made as geometry only (before they are
  // made): they cannot be drawn, and node moves leave them where they are.
  void setGeometryOnly() { _geometryOnly = true; }

  // Functions on consecutive nodes, neighbours sharing nodes; node indices
  // outside the node list are clamped to its ends.
  void createFromNodes()
  {
    QM_ASSERT(_domain->low() < _domain->high());
    Policy::check(this->_nodes.size() >= 2, "Fuzzy partition needs at least two nodes");
    Policy::check(_shift > 0, "Shift by node must be greater than zero");
    const int64_t end = int64_t(_offset) + int64_t(this->_nodes.size());
    const std::size_t count = std::size_t((int64_t(this->_nodes.size()) + _shift - 1) / _shift);
    if (_geometryOnly) {
      F fn(_domain, Fn::DeferredFill());
      startGeometry(fn, count);
      const int64_t last = int64_t(this->_nodes.size()) - 1;
      std::vector<double> params = fn.params();
      const int32_t m = fn.numberOfPositionNodes();
      for (int64_t i = _offset; i < end; i += _shift) {
        // As paramsFromNodes sets them, without the bindings.
        for (int32_t j = 0; j < m && std::size_t(j) < params.size(); ++j)
          params[std::size_t(j)] =
              double(this->_nodes[std::size_t(std::min(std::max(i + j, int64_t(0)), last))]);
        fn.setParams(params);
        this->_packed->addGeometry(fn);
      }
      this->_packed->finishGeometry();
      return;
    }
    this->reserveFunctions(count, 4);
    for (int64_t i = _offset; i < end; i += _shift) {
      F* fn = new F(_domain, Fn::DeferredFill());
      const std::string name = "P" + std::to_string(i - _offset);
      this->addFce(name, Item{name, fn});
      fn->setParams(this->paramsFromNodes(i, fn->numberOfPositionNodes(), fn));
    }
  }

  // Geometry only: function i (i < nodes.size()) moved to nodes[i], as
  // moveNode would move a function laid out by shifting.
  void placeShifted(const std::vector<X>& nodes)
  {
    QM_ASSERT(_geometryOnly && this->_packed);
    F fn(_domain, Fn::DeferredFill());
    std::vector<double> params = fn.params();
    const std::size_t count = std::min(nodes.size(), this->_nodes.size());
    for (std::size_t i = 0; i < count; ++i) {
      if (this->_nodes[i] == nodes[i])
        continue;
      this->_nodes[i] = nodes[i];
      const double* p = this->_packed->params(i);
      params.assign(p, p + params.size());
      params[0] = double(nodes[i]);
      fn.setParams(params);
      this->_packed->setGeometry(i, fn);
    }
  }

private:
  using Base::_domain;
  using typename Base::FuzzySet;

  static FuzzySet* makeScratch(const Domain* domain) { return new F(domain, Fn::DeferredFill()); }
  static void evaluate(FuzzySet& scratch, const std::vector<double>& params, Y* out)
  {
    F& f = static_cast<F&>(scratch);
    f.setParams(params);
    fill(f, out);
  }
  void startGeometry(const F& prototype, std::size_t count)
  {
    this->_packed.reset(new PackedBasis<X, Y>);
    this->_packed->startGeometry(_domain, &FuzzyPartition::makeScratch, &FuzzyPartition::evaluate,
                                 prototype.paramsSize(), count);
  }

  static void fill(const typename Base::FuzzySet& fs, Y* out)
  {
    const F& f = static_cast<const F&>(fs);
    const std::size_t b = f.nzBegin(), e = f.nzEnd();
    if constexpr (F::storesValues) {
      std::copy(f.nzValuesData(), f.nzValuesData() + (e - b), out);
    } else {
      for (std::size_t i = b; i < e; ++i)
        out[i - b] = f.F::valueAtIndex(i);
    }
  }

  void createByShifting(F* fuzzySet, X s, std::size_t count)
  {
    QM_ASSERT(_domain->low() < _domain->high());
    Policy::check(s > 0, "Parameter for fuzzy set shifting must be greater than zero");
    // Only shapes placed by their centre are laid out by shifting.
    QM_ASSERT(fuzzySet->paramsSize() == 2 && fuzzySet->numberOfPositionNodes() == 1);
    const X low = _domain->low(), high = _domain->high();
    // Centres low + k s up to high, within the rounding allowance of the node
    // layouts (Domains::endTolerance), so that a record's nodes and the copies
    // laid out here agree in number.
    const double tolerance = Domains::endTolerance(low, high, s);
    if (_geometryOnly)
      startGeometry(*fuzzySet,
                    count > 0 ? count : std::size_t(std::min((high - low) / s, 1e6)) + 2);
    for (double k = 0; count == 0 || k < double(count); ++k) {
      const double centre = Domains::stepPoint(low, k, s, low, high, tolerance);
      if (count == 0 && (!(centre <= high) || (k > 0 && centre == fuzzySet->param(0))))
        break; // past high, or a step lost in rounding that would never end
      fuzzySet->setParam(0, centre);
      if (_geometryOnly) {
        this->_packed->addGeometry(*fuzzySet);
        this->_nodes.push_back(X(fuzzySet->kernelBegin()));
      } else {
        addCopy(fuzzySet, 0);
      }
    }
    if (_geometryOnly)
      this->_packed->finishGeometry();
  }

  // A copy of the prototype (parameters, geometry and cache) with a new node
  // at its kernel bound to parameter `paramIndex`.
  void addCopy(const F* prototype, std::size_t paramIndex)
  {
    F* copy = new F(*prototype);
    const std::string name = "P" + std::to_string(this->fceCount());
    this->addFce(name, Item{name, copy});
    this->_nodes.push_back(X(copy->kernelBegin()));
    this->bindNode(copy, int32_t(this->_nodes.size() - 1), paramIndex);
  }

  bool _geometryOnly = false;
  int32_t _shift = 0;
  int32_t _offset = 0;
};

} // namespace Partitions

#endif
