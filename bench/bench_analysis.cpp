// The convergence study without the window: a sweep of 12 component counts
// up to 10,000 on 100,001 points, degrees 0 to 3, one function, as
// "Convergence..." and quelmora-ft --components-sweep run it.
#include "analysis/convergencestudy.h"
#include "math/domains/equidistant.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <cmath>
#include <memory>

namespace {

double peakRssMb()
{
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return double(usage.ru_maxrss) / 1024.0;
}

std::unique_ptr<Analysis::ConvergenceStudy> study(unsigned subintervals)
{
  const Domains::Equidistant<double> domain(0.0, 1.0, subintervals);
  std::vector<double> f;
  for (double x : domain.values())
    f.push_back(std::sin(10 * x) + x * x);
  return std::make_unique<Analysis::ConvergenceStudy>(
      std::unique_ptr<const Domains::EnumerationBase<double>>(domain.clone()),
      std::vector<std::vector<double>>{f}, Analysis::StudyLayout(), 3);
}

// range(0): the largest count; the sweep is the default geometric one from 4.
void BM_Sweep(benchmark::State& state)
{
  const auto s = study(100000);
  const std::vector<int> counts = Analysis::defaultCounts(int(state.range(0)));
  for (auto _ : state) {
    for (int n : counts) {
      Analysis::CountResult result;
      QString why;
      if (!s->compute(n, &result, &why))
        state.SkipWithError("a count failed");
      benchmark::DoNotOptimize(result);
    }
  }
  state.counters["counts"] = double(counts.size());
  state.counters["peakRSS_MB"] = peakRssMb();
}

// The largest count alone: what one partition at a time costs in memory.
void BM_OneCount(benchmark::State& state)
{
  const auto s = study(100000);
  for (auto _ : state) {
    Analysis::CountResult result;
    QString why;
    if (!s->compute(int(state.range(0)), &result, &why))
      state.SkipWithError("the count failed");
    benchmark::DoNotOptimize(result);
  }
  state.counters["peakRSS_MB"] = peakRssMb();
}

} // namespace

BENCHMARK(BM_Sweep)->Arg(10000)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(BM_OneCount)->Arg(10000)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

BENCHMARK_MAIN();
