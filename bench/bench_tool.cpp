// The batch tool as a whole process, beside the work it cannot avoid, done
// in this process: the formula evaluated over the domain and the sums of the
// transform. A process figure is the child's CPU time (user + system, from
// wait4), so start-up, page faults of fresh memory and the output count; its
// peak memory is the child's ru_maxrss.
#include "gui/ftransform_widgets/data_structures.h"
#include "gui/ftransform_widgets/nodelayout.h"
#include "math/domains/equidistant.h"
#include "math/fce/formulaexpression.h"
#include "math/fce/mathfncachedformula.h"
#include "midle/transform/transformpass.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using Expression = Fn::MathFnCachedFormula<double, double, Fn::FormulaExpression<double, double>>;

// The tool's own reading of these options: x over [0, 1] cut into `count`
// subintervals, a generic Ruspini partition of `components` triangles.
std::unique_ptr<Partitions::PartitionBase<double, double>>
toolPartition(const Domains::EnumerationBase<double>& domain, int count, int components)
{
  QSharedPointer<DataHolders::Partitions::FuzzyEq> r(new DataHolders::Partitions::FuzzyEq);
  r->domain->count = count;
  r->componentCount = components;
  r->nodes = DataHolders::genericNodes(*r->domain, components);
  return TransformPass::build(r, &domain);
}

// What the tool must do for --domain 0,1,COUNT --components N --degree 0
// --output components: evaluate "x" at every point, then the degree-0 sums.
void BM_ToolWorkInProcess(benchmark::State& state)
{
  const int count = int(state.range(0)), components = int(state.range(1));
  Domains::Equidistant<double> domain(0.0, 1.0, unsigned(count));
  Expression f(&domain);
  auto part = toolPartition(domain, count, components);
  part->packed();
  const TransformPass pass(*part, Fn::HigherDegreeBasis::Orthogonal);
  std::vector<double> c;
  for (auto _ : state) {
    f.setExpression("x");
    pass.components(f.values(), 0, c);
    benchmark::DoNotOptimize(c.data());
  }
}

// The tool's whole computation for the same options, through the same calls,
// repeated in one process: the domain, the formula function, the partition
// and the transform, without start-up, fresh memory and output.
void BM_ToolComputationInProcess(benchmark::State& state)
{
  const int count = int(state.range(0)), components = int(state.range(1));
  QSharedPointer<DataHolders::Domains::Equid> domainRecord(new DataHolders::Domains::Equid);
  domainRecord->count = count;
  std::vector<double> c;
  for (auto _ : state) {
    std::unique_ptr<Domains::EnumerationBase<double>> domain(
        DataHolders::createDomain(domainRecord));
    Expression f(domain.get());
    f.setExpression("x");
    auto part = toolPartition(*domain, count, components);
    TransformPass(*part, Fn::HigherDegreeBasis::Orthogonal).components(f.values(), 0, c);
    benchmark::DoNotOptimize(c.data());
  }
}

// The tool run in a child process with its output thrown away.
void BM_ToolProcess(benchmark::State& state)
{
  const std::string domain = "0,1," + std::to_string(state.range(0));
  const std::string components = std::to_string(state.range(1));
  const std::string degree = std::to_string(state.range(2));
  const bool componentsOnly = state.range(3) != 0;
  double peakMb = 0;
  for (auto _ : state) {
    const pid_t child = fork();
    if (child == 0) {
      // Standard output, never a file renamed over /dev/null.
      const int null = open("/dev/null", O_WRONLY);
      dup2(null, 1);
      std::vector<std::string> args = {QUELMORA_FT_PATH, "--domain", domain, "--components",
                                       components,       "--degree", degree};
      if (componentsOnly)
        args.insert(args.end(), {"--output", "components"});
      std::vector<char*> argv;
      for (std::string& a : args)
        argv.push_back(&a[0]);
      argv.push_back(nullptr);
      execv(QUELMORA_FT_PATH, argv.data());
      _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
      state.SkipWithError("the tool failed");
    const auto seconds = [](const timeval& t) { return double(t.tv_sec) + t.tv_usec * 1e-6; };
    state.SetIterationTime(seconds(usage.ru_utime) + seconds(usage.ru_stime));
    peakMb = usage.ru_maxrss / 1024.0;
  }
  state.counters["peak_rss_MB"] = peakMb;
}

} // namespace

BENCHMARK(BM_ToolWorkInProcess)->Args({1000000, 50001})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ToolComputationInProcess)->Args({1000000, 50001})->Unit(benchmark::kMillisecond);
// Points, components, degree, components only.
BENCHMARK(BM_ToolProcess)
    ->Args({1000000, 50001, 0, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime();
// The largest input, all columns written: memory, and time linear in the points.
BENCHMARK(BM_ToolProcess)
    ->Args({1000000, 100000, 3, 0})
    ->Args({10000000, 1000000, 3, 0})
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(1);

BENCHMARK_MAIN();
