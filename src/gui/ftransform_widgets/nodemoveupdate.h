#ifndef QUELMORA_NODEMOVEUPDATE_H
#define QUELMORA_NODEMOVEUPDATE_H

#include "gui/ftransform_widgets/data_structures.h"
#include "gui/ftransform_widgets/ftransformchange.h"
#include "gui/ftransform_widgets/transformtables.h"
#include "math/fce/higherdegreebasis.h"
#include "math/partitions/partitionbase.h"

#include <utility>
#include <vector>

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

// Brings the transforms up to date after nodes of the partition moved (with
// change tracking on): only the moved basic functions' components are
// recomputed, and each inverse only where a moved function was or is non-zero. The numbers equal
// a whole recomputation's bit for bit, since the same terms are added in the
// same order; the work follows the moved functions, not the domain.
class NodeMoveUpdate
{
public:
  using Partition = Partitions::PartitionBase<double, double>;
  using Function = Fn::MathFn<double, double>;
  static constexpr int kMaxDegree = 3;

  // One function's results, as the controller holds them.
  struct Results
  {
    const Function* function = nullptr;
    ComponentTable* components[kMaxDegree + 1] = {}; // degrees 0 ... maxDegree
    EditedComponents::Edits edits[kMaxDegree + 1];
    InverseTable* inverses[kMaxDegree + 1] = {}; // shown degrees only
  };

  // highestInverse: the highest degree whose inverse is computed (-1: none).
  NodeMoveUpdate(Partition& partition, int maxDegree, int highestInverse,
                 Fn::HigherDegreeBasis basis);

  // Takes the partition's changes and updates the tables.
  FtransformChange apply(std::vector<Results>& results);

  // After apply: the changed domain ranges and component indices, ascending.
  const std::vector<std::pair<std::size_t, std::size_t>>& ranges() const { return _ranges; }
  const std::vector<std::size_t>& components() const { return _shown; }

private:
  Partition& _part;
  int _maxDegree;
  int _highestInverse;
  Fn::HigherDegreeBasis _basis;
  std::vector<std::pair<std::size_t, std::size_t>> _ranges;
  std::vector<std::size_t> _shown;
};

#endif
