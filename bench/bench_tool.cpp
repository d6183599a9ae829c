// The batch tool as a whole process, beside the work it cannot avoid, done
// in this process: the formula evaluated over the domain and the sums of the
// transform. A process figure is the child's CPU time (user + system, from
// wait4), so start-up, page faults of fresh memory and the output count,
// with its wall time beside it (wall_ms: what more threads shorten); its
// peak memory is the child's ru_maxrss.
//
// One run gives the table of bench/README.md: the process at a million
// points and 50,001 components and at ten million and 500,001, degrees 0 and
// 3, on 1 and 2 threads, beside the tight loop over the same degree-0 sums and
// the engine's parallel part (components and inverse) on 1 and 2 threads.
#include "gui/ftransform_widgets/data_structures.h"
#include "gui/ftransform_widgets/nodelayout.h"
#include "math/domains/equidistant.h"
#include "math/fce/formulaexpression.h"
#include "math/fce/mathfncachedformula.h"
#include "midle/transform/threadpool.h"
#include "midle/transform/transformpass.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

using Expression = Fn::MathFnCachedFormula<double, double, Fn::FormulaExpression<double, double>>;

// The tool's own reading of these options: x over [0, 1] cut into `count`
// subintervals, a generic Ruspini partition of `components` triangles.
std::unique_ptr<Partitions::PartitionBase<double, double>>
toolPartition(const Domains::EnumerationBase<double>& domain, int count, int components,
              bool geometryOnly = false)
{
  QSharedPointer<DataHolders::Partitions::FuzzyEq> r(new DataHolders::Partitions::FuzzyEq);
  r->domain->count = count;
  r->componentCount = components;
  r->nodes = DataHolders::genericNodes(*r->domain, components);
  return TransformPass::build(r, &domain, geometryOnly);
}

// The reference: the degree-0 components of x over triangles on equidistant
// nodes as one tight loop, memberships computed as summed, nothing else.
void BM_TightSums(benchmark::State& state)
{
  const std::size_t count = std::size_t(state.range(0)), components = std::size_t(state.range(1));
  const Domains::Equidistant<double> domain(0.0, 1.0, unsigned(count));
  const std::vector<double>& x = domain.values();
  const std::vector<double> f = x;
  const double h = 1.0 / double(components - 1), step = 1.0 / double(count);
  std::vector<double> c(components);
  for (auto _ : state) {
    for (std::size_t k = 0; k < components; ++k) {
      const double node = double(k) * h;
      const std::size_t from = std::size_t(std::max(0.0, std::ceil((node - h) / step)));
      const std::size_t to = std::min(count + 1, std::size_t((node + h) / step) + 1);
      double numerator = 0, denominator = 0;
      for (std::size_t i = from; i < to; ++i) {
        const double a = 1.0 - std::abs(x[i] - node) / h;
        numerator += f[i] * a;
        denominator += a;
      }
      c[k] = numerator / denominator;
    }
    benchmark::DoNotOptimize(c.data());
  }
}

// The engine's parallel part: the components and the inverse of degree 0 ...
// degree over the tool's geometry-only partition, on `threads` threads.
void BM_EngineSums(benchmark::State& state)
{
  const int count = int(state.range(0)), components = int(state.range(1));
  const int degree = int(state.range(2)), threads = int(state.range(3));
  const Domains::Equidistant<double> domain(0.0, 1.0, unsigned(count));
  const std::vector<double>& f = domain.values();
  auto part = toolPartition(domain, count, components, true);
  TransformPass pass(*part, Fn::HigherDegreeBasis::Orthogonal);
  pass.setThreads(threads);
  std::vector<double> c, inverse(f.size()), sums(f.size());
  for (int d = 1; d <= degree; ++d)
    pass.components(f, d, c); // the fits, made once
  for (auto _ : state) {
    for (int d = 0; d <= degree; ++d) {
      pass.components(f, d, c);
      if (d == 0)
        pass.inverse(c, inverse.data(), sums.data());
      else
        pass.addTerm(d, c, inverse.data(), sums.data());
    }
    benchmark::DoNotOptimize(inverse.data());
  }
  state.counters["threads"] = threads;
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

// The tool run in a child process, writing to a regular file (-o).
void BM_ToolProcess(benchmark::State& state)
{
  const std::string domain = "0,1," + std::to_string(state.range(0));
  const std::string components = std::to_string(state.range(1));
  const std::string degree = std::to_string(state.range(2));
  const bool componentsOnly = state.range(3) != 0;
  const std::string threads = std::to_string(state.range(4) > 0 ? state.range(4) : 0);
  std::string file = (std::filesystem::temp_directory_path() / "bench_tool-XXXXXX").string();
  const int fd = mkstemp(&file[0]);
  if (fd >= 0)
    close(fd);
  double peakMb = 0, wall = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
      const int null = open("/dev/null", O_WRONLY);
      dup2(null, 1);
      std::vector<std::string> args = {QUELMORA_FT_PATH, "--domain", domain,
                                       "--components",   components, "--degree",
                                       degree,           "-o",       file};
      if (state.range(4) > 0)
        args.insert(args.end(), {"--threads", threads});
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
    wall +=
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
      state.SkipWithError("the tool failed");
    const auto seconds = [](const timeval& t) { return double(t.tv_sec) + t.tv_usec * 1e-6; };
    state.SetIterationTime(seconds(usage.ru_utime) + seconds(usage.ru_stime));
    peakMb = usage.ru_maxrss / 1024.0;
  }
  std::remove(file.c_str());
  state.counters["peak_rss_MB"] = peakMb;
  // What threads change: the time a user waits.
  state.counters["wall_ms"] = wall / double(state.iterations());
  // The target: at most 24 bytes a point beyond 16 MB.
  state.counters["B_per_point_over_16MB"] = (peakMb - 16) * 1048576.0 / double(state.range(0));
}

} // namespace

BENCHMARK(BM_TightSums)
    ->Args({1000000, 50001})
    ->Args({10000000, 500001})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ToolWorkInProcess)->Args({1000000, 50001})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ToolComputationInProcess)->Args({1000000, 50001})->Unit(benchmark::kMillisecond);
// Points, components, degree, threads.
BENCHMARK(BM_EngineSums)
    ->Args({10000000, 500001, 0, 1})
    ->Args({10000000, 500001, 0, 2})
    ->Args({10000000, 500001, 3, 1})
    ->Args({10000000, 500001, 3, 2})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
// Points, components, degree, components only, threads (0: the default, all cores).
BENCHMARK(BM_ToolProcess)
    ->Args({1000000, 50001, 0, 1, 1})
    ->Args({1000000, 50001, 0, 1, 2})
    ->Args({1000000, 50001, 3, 1, 1})
    ->Args({1000000, 50001, 3, 1, 2})
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime();
BENCHMARK(BM_ToolProcess)
    ->Args({10000000, 500001, 0, 1, 1})
    ->Args({10000000, 500001, 0, 1, 2})
    ->Args({10000000, 500001, 3, 1, 1})
    ->Args({10000000, 500001, 3, 1, 2})
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(3);
// The largest input, all columns written: memory, and time linear in the points.
BENCHMARK(BM_ToolProcess)
    ->Args({1000000, 100000, 3, 0, 0})
    ->Args({10000000, 1000000, 3, 0, 0})
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(1);

BENCHMARK_MAIN();
