#include "gui/ftransform_widgets/nodemoveupdate.h"

#include "design_patterns/staticfactory/staticfactory.h"
#include "math/fce/fce_algorithms.h"

#include <algorithm>

PartitionLayout PartitionLayout::of(const DataHolders::Partitions::PartBase& record)
{
  using namespace DataHolders::Partitions;
  PartitionLayout l;
  l.type = record.type;
  l.nodeCount = record.nodes.size();
  if (record.domain) {
    l.low = record.domain->low;
    l.high = record.domain->high;
    l.domainCount = record.domain->count;
  }
  if (const auto* f = dynamic_cast<const FuzzyPartBase*>(&record)) {
    l.shape = f->shape;
    l.shift = f->shift;
    l.offset = f->offset;
  }
  if (const auto* r = dynamic_cast<const FuzzyEq*>(&record))
    l.componentCount = r->componentCount;
  if (const auto* r = dynamic_cast<const FuzzyPt*>(&record)) {
    l.fixedPoint = r->fixedPoint;
    l.elementWidth = r->partElementWidth;
  }
  if (const auto* r = dynamic_cast<const FuzzyDelta*>(&record)) {
    l.delta = r->delta;
    l.extraParam = r->extraParam;
  }
  return l;
}

bool PartitionLayout::operator==(const PartitionLayout& o) const
{
  // Exact comparisons on purpose: any other value may lay the partition out differently.
  return type == o.type && shape == o.shape && shift == o.shift && offset == o.offset &&
         componentCount == o.componentCount && domainCount == o.domainCount && low == o.low &&
         high == o.high && fixedPoint == o.fixedPoint && elementWidth == o.elementWidth &&
         delta == o.delta && extraParam == o.extraParam && nodeCount == o.nodeCount;
}

NodeMoveUpdate::NodeMoveUpdate(Partition& partition, int maxDegree, int highestInverse,
                               Fn::HigherDegreeBasis basis)
    : _part(partition), _maxDegree(std::min(maxDegree, kMaxDegree)),
      _highestInverse(std::min(highestInverse, _maxDegree)), _basis(basis)
{
}

FtransformChange NodeMoveUpdate::apply(std::vector<Results>& results)
{
  _ranges.clear();
  _shown.clear();
  const auto changes = _part.takeChanges();
  FtransformChange change;
  change.everything = false;
  if (changes.empty())
    return change;

  for (const auto& c : changes)
    _shown.push_back(c.index);
  std::sort(_shown.begin(), _shown.end());
  const std::vector<std::size_t>& moved = _shown;

  StaticFactory<double, double> bases(_part.domain(), _basis);
  for (Results& r : results) {
    const std::vector<double>& input = r.function->values();
    for (int d = 0; d <= _maxDegree; ++d) {
      ComponentTable* table = r.components[d];
      if (!table)
        continue;
      Fn::directTransformAt(_part, *bases.get(d), input, moved, table->computed());
      const EditedComponents::Edits& edits = r.edits[d];
      for (std::size_t j : _shown) {
        const auto edit = edits.constFind(int(j));
        table->setComponent(j, edit != edits.constEnd() ? edit.value() : table->computed()[j]);
      }
    }
  }

  _ranges = Fn::changedRanges(_part, changes, _shown);
  if (_highestInverse >= 0) {
    std::vector<double> running, sums;
    for (Results& r : results) {
      bool complete = true;
      for (int d = 0; d <= _highestInverse; ++d)
        complete = complete && r.components[d];
      if (!complete)
        continue;
      for (const auto& range : _ranges) {
        const std::size_t from = range.first, to = range.second;
        running.resize(to - from);
        sums.resize(to - from);
        for (int d = 0; d <= _highestInverse; ++d) {
          const std::vector<double>& c = r.components[d]->values();
          if (d == 0)
            Fn::inverseTransformRange(_part, c, from, to, running.data(), sums.data());
          else
            Fn::addHigherDegreeTermRange(_part, *bases.get(d), c, from, to, running.data(),
                                         sums.data());
          if (InverseTable* inverse = r.inverses[d])
            std::copy(running.begin(), running.end(), inverse->data() + from);
        }
      }
    }
  }

  if (!_ranges.empty()) {
    change.domainFrom = _ranges.front().first;
    change.domainTo = _ranges.back().second;
  }
  if (!_shown.empty()) {
    change.componentFrom = _shown.front();
    change.componentTo = _shown.back() + 1;
  }
  return change;
}
