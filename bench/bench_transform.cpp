// The transform as the Python module's quelmora.transform runs it, in
// process: the same partition set-up, and per call fresh output arrays
// filled with the components and inverses of degrees 0 ... D of given values.
// bench/bench_python.py times the Python call beside it.
#include "midle/job/partitionsetup.h"
#include "midle/transform/valuestransform.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <vector>

namespace {

// range(0) subintervals, range(1) generic Ruspini triangles, degree range(2).
void BM_Transform(benchmark::State& state)
{
  DomainOptions d;
  d.count = int(state.range(0));
  const Job::DomainRecord record = Job::domainRecord(d);
  const std::unique_ptr<Domains::EnumerationBase<double>> domain(DataHolders::createDomain(record));
  PartitionOptions o;
  o.components = int(state.range(1));
  o.componentsGiven = true;
  QString error;
  const auto partition =
      Job::buildPartition(Job::partitionRecord(o, record, &error), domain.get(), false, &error);
  const int degree = int(state.range(2));
  // Made once with the partition, as the module does on its first call.
  partition->packed();
  if (degree > 0)
    partition->pointBases();
  std::vector<double> f;
  for (double x : domain->values())
    f.push_back(std::sin(6 * x));
  const std::size_t n = f.size(), m = partition->fceCount(), rows = std::size_t(degree) + 1;
  for (auto _ : state) {
    std::unique_ptr<double[]> components(new double[rows * m]), inverse(new double[rows * n]);
    const TransformPass pass(*partition, Fn::HigherDegreeBasis::Orthogonal);
    ValuesTransform(pass, f.data(), n)
        .run(
            degree, [&](int k) { return inverse.get() + std::size_t(k) * n; },
            [&](int k, const std::vector<double>& c, const double*) {
              std::copy(c.begin(), c.end(), components.get() + std::size_t(k) * m);
              return true;
            });
    benchmark::DoNotOptimize(inverse.get());
    benchmark::DoNotOptimize(components.get());
  }
}

} // namespace

BENCHMARK(BM_Transform)
    ->Args({1000000, 50001, 0})
    ->Args({1000000, 50001, 3})
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
