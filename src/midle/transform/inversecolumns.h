#ifndef QUELMORA_INVERSECOLUMNS_H
#define QUELMORA_INVERSECOLUMNS_H

#include "midle/transform/transformpass.h"

#include <memory>
#include <vector>

// The inverses of one function, degrees 0 ... highest, as columns that a
// writer reads row after row: computed a block of points at a time when a
// row outside the block is read, so no array of the domain's size is held.
// The numbers are those of TransformPass::tables: the sums over a range add
// the same terms in the same order as over the whole domain. The pass and
// the components must outlive the columns.
class InverseColumns
{
public:
  using Function = TransformPass::Function;
  using Values = TransformPass::Values;

  // components[d]: the degree-d components, d = 0 ... highest.
  InverseColumns(const TransformPass& pass, std::vector<const Values*> components);
  ~InverseColumns();
  InverseColumns(const InverseColumns&) = delete;
  InverseColumns& operator=(const InverseColumns&) = delete;

  // The column of a degree, over the pass's domain; only valueAtIndex reads it.
  const Function* column(int degree) const;

  // Points in a block.
  static constexpr std::size_t blockSize = std::size_t(1) << 18;

private:
  class Column;
  double at(int degree, std::size_t row);

  const TransformPass& _pass;
  std::vector<const Values*> _components;
  std::vector<std::unique_ptr<Column>> _columns;
  std::size_t _from = 0, _to = 0; // the block held
  std::vector<Values> _block;     // per degree
  Values _running, _sums;
};

#endif
