#ifndef QUELMORA_PARTITIONLAYOUT_H
#define QUELMORA_PARTITIONLAYOUT_H

#include "gui/ftransform_widgets/data_structures.h"

// Everything of a partition record that its math partition depends on, but
// the node positions: two records with the same layout give the same
// partition up to where their nodes are.
struct PartitionLayout
{
  int32_t type = 0, shape = 0, shift = 0, offset = 0, componentCount = 0, domainCount = 0;
  double low = 0, high = 0, fixedPoint = 0, elementWidth = 0, delta = 0, extraParam = 0;
  int nodeCount = 0;

  static PartitionLayout of(const DataHolders::Partitions::PartBase& record);
  bool operator==(const PartitionLayout& o) const;
  bool operator!=(const PartitionLayout& o) const { return !(*this == o); }
};

#endif
