#include "midle/transform/partitionlayout.h"

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
