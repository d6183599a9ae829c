#ifndef QUELMORA_FT_TRANSFORM_H
#define QUELMORA_FT_TRANSFORM_H

#include "math/domains/enumerationbase.h"
#include "math/fce/higherdegreebasis.h"
#include "math/fce/mathfn.h"
#include "math/partitions/partitionbase.h"

#include <QString>

#include <memory>
#include <vector>

// The direct and inverse F-transform of one function up to a degree, as the
// controller computes them: components of every degree 0..D over the
// partition's nodes, and the cumulative inverse of each degree over the domain.
struct TransformResult
{
  std::vector<std::unique_ptr<Fn::MathFn<double, double>>> components; // degree 0..D
  std::vector<std::unique_ptr<Fn::MathFn<double, double>>> inverses;   // degree 0..D
};

// Computes with a shared set of bases of the chosen kind; `componentDomain`
// holds one point per basic function and must outlive the result.
class Transformer
{
public:
  Transformer(const Partitions::PartitionBase<double, double>& partition, int highestDegree,
              bool wantInverse, Fn::HigherDegreeBasis basis = Fn::HigherDegreeBasis::Orthogonal);
  ~Transformer();

  const Domains::EnumerationBase<double>& componentDomain() const;
  TransformResult transform(const Fn::MathFn<double, double>& fn) const;

private:
  struct Private;
  std::unique_ptr<Private> d;
};

#endif
