// Math core speed: partitions built and transformed through the program's own
// code, each next to a plain loop over raw arrays doing the same arithmetic.
#include "design_patterns/staticfactory/staticfactory.h"
#include "gui/ftransform_widgets/data_structures.h"
#include "math/domains/equidistant.h"
#include "math/fce/fce_algorithms.h"
#include "math/fuzzy_sets/triangle.h"
#include "math/partitions/fuzzypartition.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace {

using Vec = std::vector<double>;
using Domain = Domains::Equidistant<double>;
using TrianglePart = Partitions::FuzzyPartition<
    Fn::MathFnCachedFormula<double, double, FuzzySets::Triangle<double, double>>>;

double peakRssMb()
{
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return double(usage.ru_maxrss) / 1024.0;
}

Vec evenNodes(const Domain& d, int count)
{
  Vec nodes(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i)
    nodes[std::size_t(i)] = d.low() + (d.high() - d.low()) * i / (count - 1);
  nodes.back() = d.high();
  return nodes;
}

Vec input(const Domain& d)
{
  Vec f(d.size());
  for (std::size_t i = 0; i < f.size(); ++i)
    f[i] = std::sin(7 * d.values()[i]) + d.values()[i];
  return f;
}

std::unique_ptr<TrianglePart> buildPartition(const Domain& d, const Vec& nodes)
{
  std::unique_ptr<TrianglePart> part(
      new TrianglePart(&d, Domains::Enumeration<double>(nodes, true)));
  part->setShift(1);
  part->setOffset(-1);
  part->createFromNodes();
  return part;
}

// What the controller does per function: components of degrees 0..3 and the
// inverse up to degree 3.
void transform(const Partitions::PartitionBase<double, double>& part, const Vec& f,
               std::vector<Vec>& c, Vec& inverse, Vec& sums)
{
  StaticFactory<> factory(part.domain());
  for (int m = 0; m <= 3; ++m)
    directTransform(part, *factory.get(m), f, c[std::size_t(m)]);
  inverseTransform(part, c[0], inverse, &sums);
  for (int m = 1; m <= 3; ++m)
    addHigherDegreeTerm(part, *factory.get(m), c[std::size_t(m)], inverse, sums);
}

// ---- the plain reference: triangles as index ranges and flat value arrays ----

struct TightTriangles
{
  std::vector<std::size_t> begin, end, offset;
  Vec a, b, c, values;
};

std::size_t nearestIndex(const Vec& x, double v)
{
  auto next = std::upper_bound(x.begin(), x.end(), v);
  if (next == x.begin())
    return 0;
  if (next == x.end())
    return x.size() - 1;
  return std::abs(v - *(next - 1)) > std::abs(v - *next) ? std::size_t(next - x.begin())
                                                         : std::size_t(next - x.begin()) - 1;
}

void tightBuild(const Vec& x, const Vec& nodes, TightTriangles& t)
{
  const std::size_t n = nodes.size();
  t.begin.resize(n);
  t.end.resize(n);
  t.offset.resize(n + 1);
  t.a.resize(n);
  t.b.resize(n);
  t.c.resize(n);
  std::size_t total = 0;
  for (std::size_t k = 0; k < n; ++k) {
    t.a[k] = nodes[k == 0 ? 0 : k - 1];
    t.b[k] = nodes[k];
    t.c[k] = nodes[std::min(k + 1, n - 1)];
    t.begin[k] = nearestIndex(x, t.a[k]);
    t.end[k] = nearestIndex(x, t.c[k]) + 1;
    t.offset[k] = total;
    total += t.end[k] - t.begin[k];
  }
  t.offset[n] = total;
  t.values.resize(total);
  for (std::size_t k = 0; k < n; ++k) {
    const double a = t.a[k], b = t.b[k], c = t.c[k], lw = b - a, rw = c - b;
    double* out = t.values.data() + t.offset[k] - t.begin[k];
    for (std::size_t i = t.begin[k]; i < t.end[k]; ++i) {
      const double v = x[i];
      out[i] = v < a || v > c     ? 0.0
               : v == b           ? 1.0
               : v > b && rw != 0 ? (v - c) * (-1 / rw)
                                  : (v - a) * (1 / lw);
    }
  }
}

inline double poly(int m, double v, double a, double b, double c, double k)
{
  if (m == 0)
    return 1;
  if (v < a || v > c)
    return 0;
  const double t = v - b;
  return m == 1 ? t : m == 2 ? t * t - k : t * t * t - k * t;
}

inline double orthoConstant(int m, double lw, double rw)
{
  const double d = m == 2 ? 12.0 : 5.0;
  return m < 2 ? 0.0 : (lw > 0 ? lw * lw / d : 0.0) + (rw > 0 ? rw * rw / d : 0.0);
}

void tightDirect(const Vec& x, const Vec& f, const TightTriangles& t, int m, Vec& out)
{
  const std::size_t n = t.begin.size();
  out.assign(n, 0.0);
  for (std::size_t k = 0; k < n; ++k) {
    const double a = t.a[k], b = t.b[k], c = t.c[k], K = orthoConstant(m, b - a, c - b);
    const double* av = t.values.data() + t.offset[k] - t.begin[k];
    double num = 0, den = 0;
    for (std::size_t i = t.begin[k]; i < t.end[k]; ++i) {
      const double p = poly(m, x[i], a, b, c, K), w = p * av[i];
      num += f[i] * w;
      den += w * p;
    }
    out[k] = num / den;
  }
}

void tightInverse(const Vec& x, const TightTriangles& t, const std::vector<Vec>& c, int degree,
                  Vec& out, Vec& sums)
{
  const std::size_t n = x.size(), fns = t.begin.size();
  out.assign(n, 0.0);
  sums.assign(n, 0.0);
  for (std::size_t k = 0; k < fns; ++k) {
    const double* av = t.values.data() + t.offset[k] - t.begin[k];
    for (std::size_t i = t.begin[k]; i < t.end[k]; ++i) {
      out[i] += c[0][k] * av[i];
      sums[i] += av[i];
    }
  }
  for (std::size_t i = 0; i < n; ++i)
    out[i] /= sums[i];
  for (int m = 1; m <= degree; ++m)
    for (std::size_t k = 0; k < fns; ++k) {
      const double a = t.a[k], b = t.b[k], cc = t.c[k], K = orthoConstant(m, b - a, cc - b);
      const double* av = t.values.data() + t.offset[k] - t.begin[k];
      for (std::size_t i = t.begin[k]; i < t.end[k]; ++i)
        out[i] += (av[i] * c[std::size_t(m)][k]) * poly(m, x[i], a, b, cc, K) / sums[i];
    }
}

// ---- benchmarks ----

// Build the partition, direct transform of degrees 0..3, inverse up to 3.
void BM_FullRecompute(benchmark::State& state)
{
  const Domain d(0, 1, unsigned(state.range(0) - 1));
  const Vec nodes = evenNodes(d, int(state.range(1)));
  const Vec f = input(d);
  std::vector<Vec> c(4);
  Vec inverse, sums;
  for (auto _ : state) {
    auto part = buildPartition(d, nodes);
    transform(*part, f, c, inverse, sums);
    benchmark::DoNotOptimize(inverse.data());
  }
  state.counters["peakRSS_MB"] = peakRssMb();
}

void BM_FullRecomputeTight(benchmark::State& state)
{
  const Domain d(0, 1, unsigned(state.range(0) - 1));
  const Vec nodes = evenNodes(d, int(state.range(1)));
  const Vec f = input(d);
  const Vec& x = d.values();
  std::vector<Vec> c(4);
  Vec inverse, sums;
  TightTriangles t;
  for (auto _ : state) {
    tightBuild(x, nodes, t);
    for (int m = 0; m <= 3; ++m)
      tightDirect(x, f, t, m, c[std::size_t(m)]);
    tightInverse(x, t, c, 3, inverse, sums);
    benchmark::DoNotOptimize(inverse.data());
  }
}

// Degree-0 direct plus inverse on a built partition.
void BM_Degree0(benchmark::State& state)
{
  const Domain d(0, 1, unsigned(state.range(0) - 1));
  const Vec f = input(d);
  auto part = buildPartition(d, evenNodes(d, int(state.range(1))));
  part->packed(); // packed on first use: part of building, not of the transform
  StaticFactory<> factory(&d);
  Vec c, inverse, sums;
  for (auto _ : state) {
    directTransform(*part, *factory.get(0), f, c);
    inverseTransform(*part, c, inverse, &sums);
    benchmark::DoNotOptimize(inverse.data());
  }
}

void BM_Degree0Tight(benchmark::State& state)
{
  const Domain d(0, 1, unsigned(state.range(0) - 1));
  const Vec f = input(d);
  const Vec& x = d.values();
  TightTriangles t;
  tightBuild(x, evenNodes(d, int(state.range(1))), t);
  std::vector<Vec> c(1);
  Vec inverse, sums;
  for (auto _ : state) {
    tightDirect(x, f, t, 0, c[0]);
    tightInverse(x, t, c, 0, inverse, sums);
    benchmark::DoNotOptimize(inverse.data());
  }
}

// One node dragged, then the whole recompute of one function.
void BM_NodeMove(benchmark::State& state)
{
  const Domain d(0, 1, unsigned(state.range(0) - 1));
  const Vec nodes = evenNodes(d, int(state.range(1)));
  const Vec f = input(d);
  auto part = buildPartition(d, nodes);
  std::vector<Vec> c(4);
  Vec inverse, sums;
  bool flip = false;
  for (auto _ : state) {
    flip = !flip;
    part->moveNode(2, nodes[2] + (flip ? 0.3 : 0.0) * (nodes[3] - nodes[2]));
    transform(*part, f, c, inverse, sums);
    benchmark::DoNotOptimize(inverse.data());
  }
}

void BM_NodeMoveTight(benchmark::State& state)
{
  const Domain d(0, 1, unsigned(state.range(0) - 1));
  Vec nodes = evenNodes(d, int(state.range(1)));
  const Vec original = nodes;
  const Vec f = input(d);
  const Vec& x = d.values();
  std::vector<Vec> c(4);
  Vec inverse, sums;
  TightTriangles t;
  bool flip = false;
  for (auto _ : state) {
    flip = !flip;
    nodes[2] = original[2] + (flip ? 0.3 : 0.0) * (original[3] - original[2]);
    tightBuild(x, nodes, t);
    for (int m = 0; m <= 3; ++m)
      tightDirect(x, f, t, m, c[std::size_t(m)]);
    tightInverse(x, t, c, 3, inverse, sums);
    benchmark::DoNotOptimize(inverse.data());
  }
}

// A custom partition of Gaussians built by the record builder, then transformed.
void BM_CustomGaussian(benchmark::State& state)
{
  QSharedPointer<DataHolders::Partitions::FuzzyDelta> r(new DataHolders::Partitions::FuzzyDelta);
  r->domain->count = int(state.range(0) - 1);
  const int n = int(state.range(1));
  r->nodes.resize(n);
  for (int i = 0; i < n; ++i)
    r->nodes[i] = double(i) / (n - 1);
  r->extraParam = 0.5 / (n - 1); // half the spacing
  std::unique_ptr<Domains::EnumerationBase<double>> d(DataHolders::createDomain(r->domain));
  const Vec f(d->size(), 1.5);
  std::vector<Vec> c(4);
  Vec inverse, sums;
  for (auto _ : state) {
    std::unique_ptr<Partitions::PartitionBase<double, double>> part(
        DataHolders::createPartition(r, d.get()));
    transform(*part, f, c, inverse, sums);
    benchmark::DoNotOptimize(inverse.data());
  }
  state.counters["peakRSS_MB"] = peakRssMb();
}

// Gaussians as flat arrays over the same cut-off ranges.
void BM_CustomGaussianTight(benchmark::State& state)
{
  const Domain d(0, 1, unsigned(state.range(0) - 1));
  const int n = int(state.range(1));
  const double s = 0.5 / (n - 1);
  const Vec& x = d.values();
  const Vec f(d.size(), 1.5);
  const std::size_t fns = static_cast<std::size_t>(n);
  std::vector<std::size_t> begin(fns), end(fns), offset(fns);
  Vec values, c0(fns), inverse, sums;
  for (auto _ : state) {
    std::size_t total = 0;
    for (int k = 0; k < n; ++k) {
      const double m = double(k) / (n - 1);
      begin[std::size_t(k)] = nearestIndex(x, m - 40 * s);
      end[std::size_t(k)] = nearestIndex(x, m + 40 * s) + 1;
      offset[std::size_t(k)] = total;
      total += end[std::size_t(k)] - begin[std::size_t(k)];
    }
    values.resize(total);
    for (int k = 0; k < n; ++k) {
      const double m = double(k) / (n - 1);
      double* v = values.data() + offset[std::size_t(k)] - begin[std::size_t(k)];
      for (std::size_t i = begin[std::size_t(k)]; i < end[std::size_t(k)]; ++i) {
        const double z = (x[i] - m) / s;
        v[i] = std::exp(-0.5 * z * z);
      }
    }
    // Degree 0..3 cost the same passes; degree 0 stands for each of them here.
    for (int pass = 0; pass < 4; ++pass)
      for (int k = 0; k < n; ++k) {
        const double* v = values.data() + offset[std::size_t(k)] - begin[std::size_t(k)];
        double num = 0, den = 0;
        for (std::size_t i = begin[std::size_t(k)]; i < end[std::size_t(k)]; ++i) {
          num += f[i] * v[i];
          den += v[i];
        }
        c0[std::size_t(k)] = num / den;
      }
    inverse.assign(x.size(), 0.0);
    sums.assign(x.size(), 0.0);
    for (int pass = 0; pass < 4; ++pass)
      for (int k = 0; k < n; ++k) {
        const double* v = values.data() + offset[std::size_t(k)] - begin[std::size_t(k)];
        for (std::size_t i = begin[std::size_t(k)]; i < end[std::size_t(k)]; ++i) {
          inverse[i] += c0[std::size_t(k)] * v[i];
          sums[i] += v[i];
        }
      }
    benchmark::DoNotOptimize(inverse.data());
  }
}

void gridArgs(benchmark::internal::Benchmark* b)
{
  b->Args({2001, 5})->Args({2001, 1000});
  b->Args({100001, 5})->Args({100001, 1000})->Args({100001, 100000});
  b->Args({1000001, 5})->Args({1000001, 1000})->Args({1000001, 100000});
  // Fixed support per component (about 20 elements): 10x points, 10x components.
  b->Args({10001, 1000})->Args({100001, 10000})->Args({1000001, 100000});
  b->Unit(benchmark::kMillisecond);
}

} // namespace

BENCHMARK(BM_FullRecompute)->Apply(gridArgs);
BENCHMARK(BM_FullRecomputeTight)->Apply(gridArgs);
BENCHMARK(BM_Degree0)->Apply(gridArgs);
BENCHMARK(BM_Degree0Tight)->Apply(gridArgs);
BENCHMARK(BM_NodeMove)->Args({2001, 5})->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_NodeMoveTight)->Args({2001, 5})->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CustomGaussian)->Args({100001, 1000})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CustomGaussianTight)->Args({100001, 1000})->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
