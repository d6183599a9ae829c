#ifndef QUELMORA_MATH_PARTITIONS_PARTITIONBASE_H
#define QUELMORA_MATH_PARTITIONS_PARTITIONBASE_H

#include "math/domains/enumeration.h"
#include "math/domains/equidistant.h"
#include "math/fuzzy_sets/fuzzysetbase.h"
#include "math/partitions/packedbasis.h"
#include "math/partitions/pointbases.h"
#include "math/policy.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace Partitions {

// Lets partitions of any type be owned through one pointer type.
class UnidentifiedPartition
{
public:
  virtual ~UnidentifiedPartition() {}
};

// An ordered collection of basic functions on one domain plus the nodes that
// position them. A node move sets exactly the parameters bound to that node.
// Owns its functions; refers to its domain without owning it unless the
// domain was handed over with adoptDomain.
template <typename X, typename Y>
class PartitionBase : public UnidentifiedPartition
{
public:
  typedef Domains::EnumerationBase<X> Domain;
  typedef FuzzySets::FuzzySetBase<X, Y> FuzzySet;

  // A named function of the partition; the function is owned by the partition.
  struct Item
  {
    std::string name;
    FuzzySet* fn;
  };

  // A basic function whose parameters changed, with its non-zero range
  // before the first of the changes reported together.
  struct Change
  {
    std::size_t index; // in allFce()
    std::size_t oldBegin, oldEnd;
  };

  // Nodes copied in the node set's order.
  PartitionBase(const Domain* domain, const Domains::Enumeration<X>& nodeSet)
      : _domain(domain), _nodes(nodeSet.values())
  {
  }
  // n equidistant nodes from low to high (one node: the middle).
  PartitionBase(const Domain* domain, int32_t nodeCount) : _domain(domain)
  {
    if (nodeCount == 1) {
      _nodes.push_back((domain->low() + domain->high()) * 0.5);
    } else if (nodeCount > 1) {
      _nodes =
          Domains::Equidistant<X>(domain->low(), domain->high(), unsigned(nodeCount - 1)).values();
    }
  }
  PartitionBase(const PartitionBase&) = delete;
  PartitionBase& operator=(const PartitionBase&) = delete;

  ~PartitionBase() override
  {
    for (FuzzySet* fn : _allFce)
      delete fn;
    _items.clear();
  }

  const Domain* domain() const { return _domain; }
  const std::vector<X>& nodes() const { return _nodes; }
  std::size_t fceCount() const { return geometryOnly() ? _packed->size() : _allFce.size(); }
  // Basic functions in component order; none when they are kept as geometry
  // only (packed() then holds them all).
  const std::vector<FuzzySet*>& allFce() const { return _allFce; }
  bool geometryOnly() const { return _packed && _packed->geometryOnly(); }
  // The function entered under a name, or nullptr.
  FuzzySet* fce(const std::string& name) const
  {
    for (const Item& item : _items)
      if (item.name == name)
        return item.fn;
    return nullptr;
  }

  // The partition deletes the domain after its functions.
  void adoptDomain(const Domain* domain)
  {
    QM_ASSERT(domain == _domain);
    _ownedDomain.reset(domain);
  }

  // The parameter paramIndex of fn follows node nodeIndex from now on.
  void bindNode(FuzzySet* fn, int32_t nodeIndex, std::size_t paramIndex)
  {
    // Functions are bound right after being added: spare the search then.
    std::size_t index = _allFce.size() - 1;
    if (_allFce.empty() || _allFce.back() != fn) {
      QM_ASSERT(std::find(_allFce.begin(), _allFce.end(), fn) != _allFce.end());
      index = std::size_t(std::find(_allFce.begin(), _allFce.end(), fn) - _allFce.begin());
    }
    QM_ASSERT(nodeIndex >= 0);
    QM_ASSERT(size_t(nodeIndex) < _nodes.size());
    QM_ASSERT(paramIndex < fn->paramsSize());
    // Kept sorted by node; bindings of one node stay in the order they were made.
    auto at =
        _bindings.empty() || _bindings.back().node <= nodeIndex
            ? _bindings.end()
            : std::upper_bound(_bindings.begin(), _bindings.end(), nodeIndex,
                               [](int32_t node, const NodeBinding& b) { return node < b.node; });
    _bindings.insert(at, NodeBinding{nodeIndex, fn, paramIndex, index});
  }

  // Room for n more functions with so many bound parameters each.
  void reserveFunctions(std::size_t n, std::size_t bindingsPerFunction)
  {
    _allFce.reserve(_allFce.size() + n);
    _items.reserve(_items.size() + n);
    _bindings.reserve(_bindings.size() + n * bindingsPerFunction);
  }

  // Takes ownership of the item's function.
  void addFce(const std::string& name, Item item)
  {
    item.name = name;
    _allFce.push_back(item.fn);
    _items.push_back(std::move(item));
    functionsChanged();
  }

  // Moves a node; every parameter bound to it follows (recomputing only the
  // functions concerned, over their old and new non-zero ranges).
  void moveNode(std::size_t nodeIndex, X x)
  {
    Policy::check(nodeIndex < _nodes.size(), "Index out of bounds.");
    if (_nodes[nodeIndex] == x)
      return;
    _nodes[nodeIndex] = x;
    const int32_t node = int32_t(nodeIndex);
    auto it = std::lower_bound(_bindings.begin(), _bindings.end(), node,
                               [](const NodeBinding& b, int32_t n) { return b.node < n; });
    const auto end = std::upper_bound(it, _bindings.end(), node,
                                      [](int32_t n, const NodeBinding& b) { return n < b.node; });
    // A node can drive several parameters of one function (an end node is both
    // the foot and the peak of its half triangle). Setting them one at a time
    // would leave the function's parameters out of order in between, so each
    // function gets all of its parameters for this node in one setParams.
    for (auto b = it; b != end; ++b) {
      FuzzySet* fn = b->fn;
      const auto sameFn = [fn](const NodeBinding& e) { return e.fn == fn; };
      if (std::any_of(it, b, sameFn))
        continue; // done with an earlier binding of this node
      noteChange(b->index);
      if (std::count_if(b, end, sameFn) == 1) {
        fn->setParam(b->param, double(x));
        continue;
      }
      std::vector<double> params = fn->params();
      for (auto e = b; e != end; ++e)
        if (sameFn(*e))
          params[e->param] = double(x);
      fn->setParams(params);
    }
  }
  void moveNodes(const std::vector<X>& values)
  {
    for (std::size_t i = 0; i < values.size(); ++i)
      moveNode(i, values[i]);
  }

  // fn's parameters with entries j < m taken from the nodes clamp(i + j) and
  // bound to them; the other entries keep fn's current values.
  std::vector<double> paramsFromNodes(int64_t i, int32_t m, FuzzySet* fn)
  {
    std::vector<double> params = fn->params();
    const int64_t last = int64_t(_nodes.size()) - 1;
    for (int32_t j = 0; j < m && std::size_t(j) < params.size(); ++j) {
      const int32_t node = int32_t(std::min(std::max(i + j, int64_t(0)), last));
      params[std::size_t(j)] = double(_nodes[std::size_t(node)]);
      bindNode(fn, node, std::size_t(j));
    }
    return params;
  }

  // The basic functions packed for the sums, current with every node move.
  const PackedBasis<X, Y>& packed() const
  {
    const auto fill = [this](const FuzzySet& fs, Y* out) { _fill(fs, out); };
    if (!_packed) {
      _packed.reset(new PackedBasis<X, Y>);
      _packed->build(_allFce, fill);
      _stale.clear();
      _staleFlag.clear();
    }
    for (std::size_t k : _stale) {
      _packed->update(k, *_allFce[k], fill);
      _staleFlag[k] = false;
    }
    _stale.clear();
    return *_packed;
  }
  // The bases orthogonal on the points of each basic function, current with
  // every node move.
  const PointBases<X, Y>& pointBases() const
  {
    const PackedBasis<X, Y>& p = packed();
    const X* xs = _domain->values().data();
    if (!_pointBases) {
      _pointBases.reset(new PointBases<X, Y>);
      _pointBases->build(p, xs);
      _unfitted.clear();
      _unfittedFlag.clear();
    }
    typename PackedBasis<X, Y>::Reader reader(p);
    for (std::size_t k : _unfitted) {
      _pointBases->update(p, reader, xs, k);
      _unfittedFlag[k] = false;
    }
    _unfitted.clear();
    return *_pointBases;
  }

  // For code that changed basic functions other than through moveNode.
  void functionsChanged()
  {
    _packed.reset();
    _pointBases.reset();
  }

  // While on, moveNode notes which basic functions it changed; takeChanges()
  // hands them over (each once, in the order first changed) and forgets them.
  void setTrackChanges(bool on)
  {
    _tracking = on;
    _changes.clear();
    _changeFlag.clear();
  }
  std::vector<Change> takeChanges()
  {
    std::vector<Change> changes;
    changes.swap(_changes);
    for (const Change& c : changes)
      _changeFlag[c.index] = false;
    return changes;
  }

protected:
  struct NodeBinding
  {
    int32_t node;
    FuzzySet* fn;
    std::size_t param;
    std::size_t index; // of fn in _allFce
  };

  // Writes a basic function's values over its non-zero range; the partition
  // of a known function class sets a faster one.
  typedef void (*Fill)(const FuzzySet& fs, Y* out);
  static void copyStoredValues(const FuzzySet& fs, Y* out)
  {
    const Y* v = fs.nzValuesData();
    std::copy(v, v + (fs.nzEnd() - fs.nzBegin()), out);
  }

  // Called before function k changes.
  void noteChange(std::size_t k)
  {
    if (_packed) {
      if (_staleFlag.size() != _allFce.size())
        _staleFlag.assign(_allFce.size(), false);
      if (!_staleFlag[k]) {
        _staleFlag[k] = true;
        _stale.push_back(k);
      }
    }
    if (_pointBases) {
      if (_unfittedFlag.size() != _allFce.size())
        _unfittedFlag.assign(_allFce.size(), false);
      if (!_unfittedFlag[k]) {
        _unfittedFlag[k] = true;
        _unfitted.push_back(k);
      }
    }
    if (_tracking) {
      if (_changeFlag.size() != _allFce.size())
        _changeFlag.assign(_allFce.size(), false);
      if (!_changeFlag[k]) {
        _changeFlag[k] = true;
        const FuzzySet* fs = _allFce[k];
        _changes.push_back(Change{k, fs->nzBegin(), std::max(fs->nzBegin(), fs->nzEnd())});
      }
    }
  }

  const Domain* _domain;
  std::vector<X> _nodes;
  // (node index, binding), sorted by node index: a multimap without a node per entry.
  std::vector<NodeBinding> _bindings;
  // Named items in creation order.
  std::vector<Item> _items;
  std::vector<FuzzySet*> _allFce;
  std::unique_ptr<const Domain> _ownedDomain;
  Fill _fill = &PartitionBase::copyStoredValues;
  mutable std::unique_ptr<PackedBasis<X, Y>> _packed;
  mutable std::vector<std::size_t> _stale;
  mutable std::vector<bool> _staleFlag;
  mutable std::unique_ptr<PointBases<X, Y>> _pointBases;
  mutable std::vector<std::size_t> _unfitted;
  mutable std::vector<bool> _unfittedFlag;
  bool _tracking = false;
  std::vector<Change> _changes;
  std::vector<bool> _changeFlag;
};

} // namespace Partitions

#endif
