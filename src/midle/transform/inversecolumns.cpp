#include "midle/transform/inversecolumns.h"

#include "math/policy/assertion.h"

#include <algorithm>

class InverseColumns::Column : public Function
{
public:
  Column(InverseColumns* owner, int degree)
      : Function(owner->_pass.partition().domain()), _owner(owner), _degree(degree)
  {
  }
  double valueAtIndex(std::size_t i) const override { return _owner->at(_degree, i); }
  // Read row by row only: there is no whole array.
  double value(double) const override
  {
    QM_ASSERT(false);
    return 0;
  }
  const std::vector<double>& values() const override
  {
    QM_ASSERT(false);
    static const std::vector<double> none;
    return none;
  }
  const double* valuesData() const override
  {
    QM_ASSERT(false);
    return nullptr;
  }
  Function* clone() const override
  {
    QM_ASSERT(false);
    return nullptr;
  }
  void paramsChanged() override {}
  void recompute(Position, Position) override {}

private:
  InverseColumns* _owner;
  int _degree;
};

InverseColumns::InverseColumns(const TransformPass& pass, std::vector<const Values*> components)
    : _pass(pass), _components(std::move(components)), _block(_components.size())
{
  for (int d = 0; d < int(_components.size()); ++d)
    _columns.emplace_back(new Column(this, d));
}

InverseColumns::~InverseColumns() = default;

const InverseColumns::Function* InverseColumns::column(int degree) const
{
  return _columns[std::size_t(degree)].get();
}

double InverseColumns::at(int degree, std::size_t row)
{
  if (row < _from || row >= _to) {
    const std::size_t n = _pass.partition().domain()->size();
    _from = row - row % blockSize;
    _to = std::min(n, _from + blockSize);
    _running.resize(_to - _from);
    _sums.resize(_to - _from);
    for (std::size_t d = 0; d < _components.size(); ++d) {
      if (d == 0)
        _pass.inverseRange(*_components[0], _from, _to, _running.data(), _sums.data());
      else
        _pass.addTermRange(int(d), *_components[d], _from, _to, _running.data(), _sums.data());
      _block[d].assign(_running.begin(), _running.end());
    }
  }
  return _block[std::size_t(degree)][row - _from];
}
