#include "midle/transform/transformpass.h"

#include "design_patterns/staticfactory/staticfactory.h"
#include "math/fce/fce_algorithms.h"
#include "math/fce/mathfntable.h"
#include "midle/transform/threadpool.h"
#include "midle/transform/transformtables.h"

#include <algorithm>
#include <functional>

TransformPass::TransformPass(const Partition& partition, Fn::HigherDegreeBasis basis)
    : _part(partition), _bases(new StaticFactory<double, double>(partition.domain(), basis))
{
}

TransformPass::~TransformPass() = default;

bool TransformPass::transformable(const Partition& partition)
{
  if (partition.geometryOnly()) {
    const auto& packed = partition.packed();
    for (std::size_t k = 0; k < packed.size(); ++k)
      if (packed.entry(k).kernelBegin() != packed.entry(k).kernelEnd())
        return false;
    return packed.size() > 0;
  }
  const auto& fces = partition.allFce();
  return !fces.empty() && std::all_of(fces.begin(), fces.end(), [](const auto* fs) {
    return fs->kernelBegin() == fs->kernelEnd();
  });
}

std::unique_ptr<TransformPass::Partition>
TransformPass::build(const QSharedPointer<DataHolders::Partitions::PartBase>& record,
                     const Domains::EnumerationBase<double>* domain, bool geometryOnly)
{
  std::unique_ptr<Partition> part(
      DataHolders::createPartition(record, domain,
                                   geometryOnly ? DataHolders::BasicValues::GeometryOnly
                                                : DataHolders::BasicValues::PackedOnly));
  if (part && !transformable(*part))
    part.reset();
  return part;
}

TransformPass::Values TransformPass::componentPositions(const Partition& partition)
{
  const Values& nodes = partition.nodes();
  if (nodes.size() == partition.fceCount() && std::is_sorted(nodes.begin(), nodes.end()))
    return nodes;
  // Shapes spanning more than two nodes, unusual offsets or custom nodes left
  // behind their neighbours: each component sits at its function's peak.
  Values peaks;
  peaks.reserve(partition.fceCount());
  if (partition.geometryOnly()) {
    const auto& packed = partition.packed();
    for (std::size_t k = 0; k < packed.size(); ++k)
      peaks.push_back(packed.entry(k).kernelBegin());
  }
  for (const auto* fs : partition.allFce())
    peaks.push_back(fs->kernelBegin());
  std::sort(peaks.begin(), peaks.end());
  return peaks;
}

const QSharedPointer<ComponentNodes>& TransformPass::componentNodes() const
{
  if (!_nodes)
    _nodes.reset(new ComponentNodes(componentPositions(_part), true));
  return _nodes;
}

TransformPass::Function& TransformPass::basis(int degree) const
{
  return *_bases->get(degree);
}

namespace {
// Hands the blocks of a sum to the thread pool.
struct PoolRunner
{
  int threads;
  template <typename Task>
  void operator()(std::size_t count, const Task& task) const
  {
    ThreadPool::run(threads, count, std::function<void(std::size_t)>(std::cref(task)));
  }
};
} // namespace

void TransformPass::components(const Values& f, int degree, Values& out) const
{
  components(f.data(), f.size(), degree, out);
}

void TransformPass::components(const double* f, std::size_t n, int degree, Values& out,
                               int threads) const
{
  Fn::directTransform(_part, basis(degree), f, n, out,
                      PoolRunner{threads < 0 ? _threads : threads});
}

void TransformPass::inverse(const Values& components0, Values& inverse, Values& sums) const
{
  const std::size_t n = _part.domain()->size();
  inverse.resize(n);
  sums.resize(n);
  this->inverse(components0, inverse.data(), sums.data());
}

void TransformPass::inverse(const Values& components0, double* inverse, double* sums,
                            int threads) const
{
  Fn::inverseTransformRange(_part, components0, 0, _part.domain()->size(), inverse, sums,
                            PoolRunner{threads < 0 ? _threads : threads});
}

void TransformPass::addTerm(int degree, const Values& components, Values& inverse,
                            const Values& sums) const
{
  QM_ASSERT(inverse.size() == _part.domain()->size());
  QM_ASSERT(sums.size() == _part.domain()->size());
  addTerm(degree, components, inverse.data(), sums.data());
}

void TransformPass::addTerm(int degree, const Values& components, double* inverse,
                            const double* sums, int threads) const
{
  Fn::addHigherDegreeTermRange(_part, basis(degree), components, 0, _part.domain()->size(), inverse,
                               sums, PoolRunner{threads < 0 ? _threads : threads});
}

void TransformPass::inverseRange(const Values& components0, std::size_t from, std::size_t to,
                                 double* out, double* sums) const
{
  Fn::inverseTransformRange(_part, components0, from, to, out, sums, PoolRunner{_threads});
}

void TransformPass::addTermRange(int degree, const Values& components, std::size_t from,
                                 std::size_t to, double* out, const double* sums) const
{
  Fn::addHigherDegreeTermRange(_part, basis(degree), components, from, to, out, sums,
                               PoolRunner{_threads});
}

TransformPass::Tables TransformPass::tables(const Function& f, int highest, bool inverses) const
{
  using Table = Fn::MathFnTable<double, double>;
  Tables result;
  const ComponentNodes* nodes = componentNodes().data();
  for (int degree = 0; degree <= highest; ++degree) {
    Values values;
    components(f.values(), degree, values);
    result.components.emplace_back(new Table(nodes, std::move(values)));
  }
  if (!inverses)
    return result;
  // Each degree adds its term to a copy of the inverse below; the last one
  // keeps the running array itself.
  const auto c = [&result](int degree) -> const Values& {
    return result.components[std::size_t(degree)]->values();
  };
  Values running, sums;
  inverse(c(0), running, sums);
  for (int degree = 1; degree <= highest; ++degree) {
    result.inverses.emplace_back(new Table(_part.domain(), running));
    addTerm(degree, c(degree), running, sums);
  }
  result.inverses.emplace_back(new Table(_part.domain(), std::move(running)));
  return result;
}
