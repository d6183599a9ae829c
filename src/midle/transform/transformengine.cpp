#include "midle/transform/transformengine.h"

#include "math/fce/fce_algorithms.h"
#include "midle/transform/transformtables.h"

#include <QSet>

#include <algorithm>
#include <cmath>

TransformEngine::TransformEngine() = default;

TransformEngine::~TransformEngine() = default;

void TransformEngine::setMaxDegree(int degree)
{
  _maxDegree = std::clamp(degree, 0, topDegree);
}

void TransformEngine::removeFunctions(const QList<Function*>& list)
{
  // A copy: the caller may pass functions() itself, which shrinks below.
  const QList<Function*> fns = list;
  for (Function* f : fns) {
    dropResults(f);
    _edited.removeFunction(f);
    _functions.removeAll(f);
  }
}

void TransformEngine::rebuildPartition()
{
  _partition.reset();
  if (_domain && _record) {
    _partition = TransformPass::build(_record, _domain);
    _layout = PartitionLayout::of(*_record);
    if (_partition)
      _partition->setTrackChanges(true);
  }
  // A partition refused for lack of memory is said, not left blank.
  _problem = !_partition && _domain && _record
                 ? DataHolders::partitionSizeProblem(*_record, *_domain)
                 : QString();
}

void TransformEngine::dropPartition()
{
  _partition.reset();
}

int TransformEngine::highestInverse() const
{
  // Shown degrees above maxDegree have no components: skipped.
  for (int d = _maxDegree; d >= 0; --d)
    if (_visibleDegrees & (1 << d))
      return d;
  return -1;
}

void TransformEngine::compute(const QList<Function*>& fns)
{
  _lastChange = FtransformChange();
  if (!_partition) {
    for (const Function* f : fns)
      dropResults(f);
    return;
  }
  TransformPass pass(*_partition, _basis);
  pass.setThreads(_threads);
  for (const Function* f : fns) {
    computeComponents(f, pass);
    applyEditsOnly(f);
    computeInverses(f, pass);
  }
}

void TransformEngine::dropResults(const Function* f)
{
  for (int d = 0; d <= topDegree; ++d) {
    _components.remove(FnKey{f, 1 << d});
    _inverses.remove(FnKey{f, 1 << d});
  }
}

void TransformEngine::computeComponents(const Function* f, const TransformPass& pass)
{
  for (int d = 0; d <= topDegree; ++d) {
    const FnKey key{f, 1 << d};
    if (d > _maxDegree) {
      _components.remove(key);
      continue;
    }
    std::vector<double> values;
    pass.components(f->values(), d, values);
    _components.insert(key, QSharedPointer<Function>(
                                new ComponentTable(pass.componentNodes(), std::move(values))));
  }
}

void TransformEngine::applyEditsOnly(const Function* f)
{
  for (int d = 0; d <= topDegree; ++d) {
    const FnKey key{f, 1 << d};
    if (!_edited.isEdited(key))
      continue;
    const auto it = _components.constFind(key);
    if (it == _components.constEnd())
      continue;
    auto* table = static_cast<ComponentTable*>(it->data());
    const auto size = static_cast<int>(table->domain()->size());
    const EditedComponents::Edits edits = _edited.edits(key);
    for (auto e = edits.constBegin(); e != edits.constEnd(); ++e)
      if (e.key() >= 0 && e.key() < size)
        table->setComponent(static_cast<std::size_t>(e.key()), e.value());
  }
}

void TransformEngine::computeInverses(const Function* f, const TransformPass& pass)
{
  for (int d = 0; d <= topDegree; ++d)
    _inverses.remove(FnKey{f, 1 << d});
  const int highest = highestInverse();
  if (highest < 0)
    return;

  const Partition& part = pass.partition();
  std::vector<const std::vector<double>*> comps;
  for (int d = 0; d <= highest; ++d) {
    const auto it = _components.constFind(FnKey{f, 1 << d});
    if (it == _components.constEnd())
      return;
    const auto& v = it->data()->values();
    // Components made on another partition (a record changed without a
    // recomputation) cannot be combined with this one.
    if (v.size() != part.fceCount())
      return;
    comps.push_back(&v);
  }

  for (int d = 0; d <= highest; ++d) {
    const int flag = 1 << d;
    if (d == 0)
      pass.inverse(*comps[0], _running, _sums);
    else
      pass.addTerm(d, *comps[std::size_t(d)], _running, _sums);
    if (_visibleDegrees & flag)
      _inverses.insert(FnKey{f, flag},
                       QSharedPointer<Function>(new InverseTable(part.domain(), _running)));
  }
}

FnKey TransformEngine::componentKey(const void* table) const
{
  for (auto it = _components.constBegin(); it != _components.constEnd(); ++it)
    if (it->data() == table)
      return it.key();
  return FnKey();
}

bool TransformEngine::setEdited(const FnKey& key, int row, const QString& text)
{
  return _edited.setEdited(key, row, text);
}

void TransformEngine::applyEdits(const Function* f)
{
  _lastChange = FtransformChange();
  applyEditsOnly(f);
  if (_partition) {
    TransformPass pass(*_partition, _basis);
    pass.setThreads(_threads);
    computeInverses(f, pass);
  }
}

// Only node positions changed (a dragged or typed node, or nodes moved from
// code): the nodes of the partition in use move, and the results follow as
// far as the moved basic functions reach. The numbers equal a whole
// recomputation's bit for bit, since the same terms are added in the same
// order; the work follows the moved functions, not the domain.
bool TransformEngine::moveNodes()
{
  if (!_partition || !_record || PartitionLayout::of(*_record) != _layout)
    return false;
  const QVector<double>& nodes = _record->nodes;
  const std::vector<double>& current = _partition->nodes();
  // The components sit at the nodes (one basic function per node).
  if (current.size() != _partition->fceCount())
    return false;
  for (int i = 0; i < nodes.size(); ++i)
    if (!std::isfinite(nodes[i]) || (i > 0 && nodes[i] < nodes[i - 1]))
      return false; // not a partition any more: the whole path handles it
  std::vector<std::size_t> moved;
  const std::size_t common = std::min(current.size(), std::size_t(nodes.size()));
  for (std::size_t i = 0; i < common; ++i)
    if (nodes[int(i)] != current[i])
      moved.push_back(i);
  // Moving many nodes costs more than one whole pass.
  if (moved.size() > std::max<std::size_t>(16, current.size() / 4))
    return false;

  // Each function's tables, degree by degree.
  struct Results
  {
    const Function* function = nullptr;
    ComponentTable* components[topDegree + 1] = {}; // degrees 0 ... maxDegree
    EditedComponents::Edits edits[topDegree + 1];
    InverseTable* inverses[topDegree + 1] = {}; // shown degrees only
  };
  std::vector<Results> results;
  const int highest = highestInverse();
  for (const Function* f : qAsConst(_functions)) {
    Results r;
    r.function = f;
    for (int d = 0; d <= _maxDegree; ++d) {
      const FnKey key{f, 1 << d};
      const auto c = _components.value(key);
      if (!c || c->domain()->size() != current.size())
        return false;
      r.components[d] = static_cast<ComponentTable*>(c.data());
      r.edits[d] = _edited.edits(key);
      if (d <= highest && (_visibleDegrees & (1 << d))) {
        const auto inverse = _inverses.value(key);
        if (!inverse)
          return false;
        r.inverses[d] = static_cast<InverseTable*>(inverse.data());
      }
    }
    results.push_back(r);
  }

  // The components sit at the nodes, and follow them.
  QSet<ComponentNodes*> positions;
  for (const auto& r : results)
    for (const ComponentTable* c : r.components)
      if (c)
        positions.insert(c->nodes().data());
  for (const ComponentNodes* p : qAsConst(positions))
    for (std::size_t i : moved)
      if (p->values()[i] != current[i])
        return false;

  // One at a time, the nodes must stay in order: those moving left go first,
  // from the left, then those moving right, from the right.
  std::stable_partition(moved.begin(), moved.end(),
                        [&](std::size_t i) { return nodes[int(i)] < current[i]; });
  const auto right = std::find_if(moved.begin(), moved.end(),
                                  [&](std::size_t i) { return nodes[int(i)] > current[i]; });
  std::reverse(right, moved.end());
  for (std::size_t i : moved)
    _partition->moveNode(i, nodes[int(i)]);
  for (ComponentNodes* p : qAsConst(positions))
    for (std::size_t i : moved)
      p->setPosition(i, current[i]);

  // The moved basic functions' components, each edited one kept as edited.
  _lastChange = FtransformChange();
  _lastChange.everything = false;
  _ranges.clear();
  const auto changes = _partition->takeChanges();
  std::vector<std::size_t> changed;
  for (const auto& c : changes)
    changed.push_back(c.index);
  std::sort(changed.begin(), changed.end());
  _componentsChanged = !changed.empty();
  if (changed.empty())
    return true;
  const TransformPass pass(*_partition, _basis);
  for (Results& r : results) {
    const std::vector<double>& input = r.function->values();
    for (int d = 0; d <= _maxDegree; ++d) {
      ComponentTable* table = r.components[d];
      if (!table)
        continue;
      Fn::directTransformAt(*_partition, pass.basis(d), input, changed, table->computed());
      const EditedComponents::Edits& edits = r.edits[d];
      for (std::size_t j : changed) {
        const auto edit = edits.constFind(int(j));
        table->setComponent(j, edit != edits.constEnd() ? edit.value() : table->computed()[j]);
      }
    }
  }

  // The inverses where a moved basic function was or is non-zero.
  _ranges = Fn::changedRanges(*_partition, changes, changed);
  if (highest >= 0) {
    std::vector<double> running, sums;
    // Every degree up to maxDegree has its components (checked above).
    for (Results& r : results) {
      for (const auto& range : _ranges) {
        const std::size_t from = range.first, to = range.second;
        running.resize(to - from);
        sums.resize(to - from);
        for (int d = 0; d <= highest; ++d) {
          const std::vector<double>& c = r.components[d]->values();
          if (d == 0)
            Fn::inverseTransformRange(*_partition, c, from, to, running.data(), sums.data());
          else
            Fn::addHigherDegreeTermRange(*_partition, pass.basis(d), c, from, to, running.data(),
                                         sums.data());
          if (InverseTable* inverse = r.inverses[d])
            std::copy(running.begin(), running.end(), inverse->data() + from);
        }
      }
    }
  }

  if (!_ranges.empty()) {
    _lastChange.domainFrom = _ranges.front().first;
    _lastChange.domainTo = _ranges.back().second;
  }
  _lastChange.componentFrom = changed.front();
  _lastChange.componentTo = changed.back() + 1;
  return true;
}

std::vector<TransformEngine::Approximation> TransformEngine::approximations() const
{
  std::vector<Approximation> list;
  const std::size_t n = _domain ? _domain->size() : 0;
  if (n == 0)
    return list;
  for (const Function* fn : _functions) {
    for (int flag = 1; flag <= (1 << topDegree); flag *= 2) {
      const auto inverse = _inverses.value(FnKey{fn, flag});
      // Results of another domain (a replaced one) are not compared.
      if (inverse && inverse->values().size() == n && fn->values().size() == n)
        list.push_back(Approximation{fn, flag, inverse.data()});
    }
  }
  return list;
}
