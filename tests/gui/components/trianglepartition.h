#ifndef QUELMORA_TESTS_TRIANGLEPARTITION_H
#define QUELMORA_TESTS_TRIANGLEPARTITION_H

#include "math/domains/enumeration.h"
#include "math/domains/equidistant.h"
#include "math/fce/mathfncachedformula.h"
#include "math/fuzzy_sets/triangle.h"
#include "math/partitions/fuzzypartition.h"

#include <memory>

// A generic Ruspini partition of triangles on [low, high] with the given nodes.
struct TrianglePartition
{
  using Shape = Fn::MathFnCachedFormula<double, double, FuzzySets::Triangle<double, double>>;
  using Partition = Partitions::FuzzyPartition<Shape>;

  TrianglePartition(const std::vector<double>& nodes, unsigned parts, double low = 0.0,
                    double high = 1.0)
      : domain(low, high, parts)
  {
    partition.reset(new Partition(&domain, Domains::Enumeration<double>(nodes, true)));
    partition->setShift(1);
    partition->setOffset(-1);
    partition->createFromNodes();
  }

  Domains::Equidistant<double> domain;
  std::unique_ptr<Partition> partition;
};

#endif
