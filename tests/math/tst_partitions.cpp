#include "design_patterns/staticfactory/staticfactory.h"
#include "math/domains/equidistant.h"
#include "math/fce/fce_algorithms.h"
#include "math/fce/windowedvalues.h"
#include "math/fuzzy_sets/gaussian.h"
#include "math/fuzzy_sets/ortogppoints.h"
#include "math/fuzzy_sets/sin.h"
#include "math/fuzzy_sets/sinalternate.h"
#include "math/fuzzy_sets/trapezoid.h"
#include "math/fuzzy_sets/triangle.h"
#include "math/fuzzy_sets/trianglealternate.h"
#include "math/partitions/fuzzypartition.h"

#include "assertioncatcher.h"
#include "common/checks.h"
#include "common/datatable.h"

#include <QtTest>

#include <cmath>
#include <functional>
#include <limits>
#include <memory>
#include <random>

using Domain = Domains::Equidistant<double>;
using Nodes = Domains::Enumeration<double>;
using PartBase = Partitions::PartitionBase<double, double>;
template <typename S>
using Cached = Fn::MathFnCachedFormula<double, double, S>;
template <typename S>
using Part = Partitions::FuzzyPartition<Cached<S>>;
using Triangle = FuzzySets::Triangle<double, double>;
using Trapezoid = FuzzySets::Trapezoid<double, double>;
using Gaussian = FuzzySets::Gaussian<double, double>;
using TrianglePart = Part<Triangle>;
using Params = std::vector<std::vector<double>>;
using SinPart = Part<FuzzySets::Sin<double, double>>;
using Vec = std::vector<double>;
using Basis = Fn::HigherDegreeBasis;

namespace {

template <typename P = TrianglePart>
std::unique_ptr<PartBase> fromNodes(const Domain& d, const std::vector<double>& nodes,
                                    int shift = 1)
{
  std::unique_ptr<P> part(new P(&d, Nodes(nodes, true)));
  part->setShift(shift);
  part->setOffset(-1);
  part->createFromNodes();
  return std::unique_ptr<PartBase>(part.release());
}

// shape 0 triangles, 1 sines, 2 trapezoids (shift 2)
std::unique_ptr<PartBase> ruspini(int shape, const Domain& d, const std::vector<double>& nodes)
{
  if (shape == 0)
    return fromNodes(d, nodes);
  if (shape == 1)
    return fromNodes<SinPart>(d, nodes);
  return fromNodes<Part<Trapezoid>>(d, nodes, 2);
}

// Checks that the memberships sum to 1 at every element in [from, to].
void checkUnity(const PartBase& part, double eps = 1e-12, double from = -1e300, double to = 1e300)
{
  std::vector<double> sums(part.domain()->size(), 0.0);
  for (auto* fn : part.allFce())
    for (std::size_t i = 0; i < sums.size(); ++i)
      sums[i] += fn->values()[i];
  for (std::size_t i = 0; i < sums.size(); ++i)
    if (part.domain()->values()[i] >= from && part.domain()->values()[i] <= to)
      QVERIFY2(std::abs(sums[i] - 1) < eps, qPrintable(QString::number(sums[i], 'g', 17)));
}

void checkParams(const PartBase& part, const Params& expected)
{
  QCOMPARE(part.fceCount(), expected.size());
  for (std::size_t k = 0; k < expected.size(); ++k)
    QVERIFY(part.allFce()[k]->params() == expected[k]);
}

// The transforms written out plainly over whole-domain arrays, reading every
// basic function through values() and the basis through valueAtIndex.
struct Reference
{
  const PartBase& part;
  const StaticFactory<>& factory;

  Vec direct(int m, const Vec& f) const
  {
    Vec out;
    auto* basis = factory.get(m);
    for (auto* fs : part.allFce()) {
      basis->setParams({fs->supportBegin(), fs->kernelBegin(), fs->supportEnd()});
      const Vec& a = fs->values();
      double num = 0, den = 0;
      for (std::size_t i = fs->nzBegin(); i < fs->nzEnd(); ++i) {
        const double p = basis->valueAtIndex(i), w = p * a[i];
        num += f[i] * w;
        den += w * p;
      }
      out.push_back(num / den);
    }
    return out;
  }
  // Inverse of degree d from the components of degrees 0 ... d.
  Vec inverse(const std::vector<Vec>& c) const
  {
    const std::size_t n = part.domain()->size();
    Vec out(n, 0.0), sums(n, 0.0);
    for (std::size_t k = 0; k < part.fceCount(); ++k) {
      const Vec& a = part.allFce()[k]->values();
      for (std::size_t i = 0; i < n; ++i) {
        out[i] += c[0][k] * a[i];
        sums[i] += a[i];
      }
    }
    for (std::size_t i = 0; i < n; ++i)
      out[i] = out[i] / sums[i];
    for (std::size_t m = 1; m < c.size(); ++m) {
      auto* basis = factory.get(int(m));
      for (std::size_t k = 0; k < part.fceCount(); ++k) {
        auto* fs = part.allFce()[k];
        basis->setParams({fs->supportBegin(), fs->kernelBegin(), fs->supportEnd()});
        const Vec& a = fs->values();
        for (std::size_t i = fs->nzBegin(); i < fs->nzEnd(); ++i)
          out[i] += (a[i] * c[m][k]) * basis->valueAtIndex(i) / sums[i];
      }
    }
    return out;
  }
};

// The degree-m inverse written out independently of any recurrence: on the
// points of each basic function, the polynomial of degree m nearest to f
// under its membership degrees (normal equations in a scaled variable),
// blended by the memberships. Its leading coefficient is the component of
// degree m against the monic orthogonal polynomial. Components of basic
// functions on m points or fewer are NaN, and the inverse keeps the lower
// degree there.
struct LeastSquares
{
  const PartBase& part;

  // A fit in s = (x - centre) / h; no coefficients where it is undefined.
  struct Fit
  {
    double centre = 0, h = 1;
    Vec c;
    double at(double x) const
    {
      double r = 0;
      for (std::size_t j = c.size(); j-- > 0;)
        r = r * ((x - centre) / h) + c[j];
      return r;
    }
    double leading() const { return c.back() / std::pow(h, double(c.size() - 1)); }
  };

  // Centred and scaled by the weights, so that the normal equations stay
  // well conditioned where a narrow Gaussian spans many points of tiny weight.
  Fit fit(std::size_t k, int m, const Vec& f) const
  {
    const Vec& xs = part.domain()->values();
    const Vec& a = part.allFce()[k]->values();
    std::vector<std::size_t> on;
    double w = 0, spread = 0;
    Fit r;
    for (std::size_t i = 0; i < xs.size(); ++i)
      if (a[i] != 0) {
        on.push_back(i);
        w += a[i];
        r.centre += a[i] * xs[i];
      }
    if (on.size() <= std::size_t(m))
      return Fit();
    r.centre /= w;
    for (std::size_t i : on)
      spread += a[i] * (xs[i] - r.centre) * (xs[i] - r.centre);
    r.h = spread > 0 ? std::sqrt(spread / w) : 1.0;
    // The normal equations, right-hand side in the last column.
    const std::size_t n = std::size_t(m) + 1;
    std::vector<Vec> g(n, Vec(n + 1, 0.0));
    for (std::size_t i : on) {
      Vec pw(2 * n, 1.0);
      const double v = (xs[i] - r.centre) / r.h;
      for (std::size_t j = 1; j < pw.size(); ++j)
        pw[j] = pw[j - 1] * v;
      for (std::size_t p = 0; p < n; ++p) {
        g[p][n] += a[i] * f[i] * pw[p];
        for (std::size_t q = 0; q < n; ++q)
          g[p][q] += a[i] * pw[p + q];
      }
    }
    // Gaussian elimination with partial pivoting.
    for (std::size_t c = 0; c < n; ++c) {
      std::size_t pivot = c;
      for (std::size_t row = c + 1; row < n; ++row)
        if (std::abs(g[row][c]) > std::abs(g[pivot][c]))
          pivot = row;
      if (!(std::abs(g[pivot][c]) > 0))
        return Fit();
      std::swap(g[c], g[pivot]);
      for (std::size_t row = c + 1; row < n; ++row) {
        const double q = g[row][c] / g[c][c];
        for (std::size_t j = c; j <= n; ++j)
          g[row][j] -= q * g[c][j];
      }
    }
    r.c.assign(n, 0.0);
    for (std::size_t c = n; c-- > 0;) {
      double v = g[c][n];
      for (std::size_t j = c + 1; j < n; ++j)
        v -= g[c][j] * r.c[j];
      r.c[c] = v / g[c][c];
    }
    return r;
  }

  // The inverse of degree m, and the leading coefficients (components of degree m).
  Vec inverse(int m, const Vec& f, Vec& leading) const
  {
    const Vec& xs = part.domain()->values();
    Vec out(xs.size(), 0.0), sums(xs.size(), 0.0);
    leading.assign(part.fceCount(), std::numeric_limits<double>::quiet_NaN());
    for (std::size_t k = 0; k < part.fceCount(); ++k) {
      Fit fk = fit(k, m, f);
      if (!fk.c.empty())
        leading[k] = fk.leading();
      for (int d = m - 1; d >= 0 && fk.c.empty(); --d)
        fk = fit(k, d, f);
      const Vec& a = part.allFce()[k]->values();
      for (std::size_t i = 0; i < xs.size(); ++i)
        if (a[i] != 0) {
          out[i] += a[i] * fk.at(xs[i]);
          sums[i] += a[i];
        }
    }
    for (std::size_t i = 0; i < xs.size(); ++i)
      out[i] /= sums[i];
    return out;
  }
};

// Basic functions of shape F, `width` wide, laid out `step` apart and moved to nodes.
template <typename F>
std::unique_ptr<PartBase> shapedAs(const Domain& d, double width, const Vec& nodes, double step)
{
  F proto(&d);
  proto.setParam(1, width);
  std::unique_ptr<PartBase> p(new Partitions::FuzzyPartition<F>(&d, &proto, step));
  p->moveNodes(nodes);
  return p;
}

// Components of degrees 0 ... d and the inverse of degree d, as the transform engine computes them.
Vec transform(const PartBase& part, const StaticFactory<>& factory, const Vec& f, int degree,
              std::vector<Vec>* components = nullptr)
{
  std::vector<Vec> c(std::size_t(degree) + 1);
  for (int m = 0; m <= degree; ++m)
    directTransform(part, *factory.get(m), f, c[std::size_t(m)]);
  Vec out, s;
  inverseTransform(part, c[0], out, &s);
  for (int m = 1; m <= degree; ++m)
    addHigherDegreeTerm(part, *factory.get(m), c[std::size_t(m)], out, s);
  if (components)
    *components = c;
  return out;
}

using Loops = DataTable<int, int, double>;

} // namespace

class TestPartitions : public QObject
{
  Q_OBJECT

private slots:
  void fromNodesAndMoves();
  void unityOfRuspiniPartitions_data();
  void unityOfRuspiniPartitions();
  void endNodesMoveInward_data();
  void endNodesMoveInward();
  void shiftedPrototypes();
  void largePartition();
  void knownTransforms();
  void matchesPlainLoops_data();
  void matchesPlainLoops();
  void higherDegreesReproducePolynomials_data();
  void higherDegreesReproducePolynomials();
  void higherDegreesConverge();
  void wideDomains();
  void windowedValuesMatchAPlainArray();
};

void TestPartitions::fromNodesAndMoves()
{
  Domain d(0, 1, 2000);
  auto part = fromNodes(d, {0, 0.25, 0.5, 0.75, 1});
  checkParams(*part,
              {{0, 0, 0.25}, {0, 0.25, 0.5}, {0.25, 0.5, 0.75}, {0.5, 0.75, 1}, {0.75, 1, 1}});
  part->moveNode(2, 0.4);
  checkParams(*part,
              {{0, 0, 0.25}, {0, 0.25, 0.4}, {0.25, 0.4, 0.75}, {0.4, 0.75, 1}, {0.75, 1, 1}});
  checkUnity(*part);
  auto trapezoids = ruspini(2, d, {0, 0.25, 0.5, 0.75, 1});
  checkParams(*trapezoids, {{0, 0, 0.25, 0.5}, {0.25, 0.5, 0.75, 1}, {0.75, 1, 1, 1}});
  checkUnity(*trapezoids);
}

void TestPartitions::unityOfRuspiniPartitions_data()
{
  QTest::addColumn<int>("shape");
  QTest::addColumn<int>("nodeCount");
  QTest::newRow("triangles, 37 uneven") << 0 << -37;
  QTest::newRow("sines, 37 uneven") << 1 << -37;
  QTest::newRow("triangles, every element a node") << 0 << 201;
}

void TestPartitions::unityOfRuspiniPartitions()
{
  QFETCH(int, shape);
  QFETCH(int, nodeCount);
  Domain d(-2, 3, 200);
  std::vector<double> nodes;
  const int n = std::abs(nodeCount);
  std::mt19937 rng(3);
  std::uniform_real_distribution<double> jitter(-0.4, 0.4);
  for (int i = 0; i < n; ++i)
    nodes.push_back(-2 + 5.0 * i / (n - 1));
  for (int i = 1; nodeCount < 0 && i + 1 < n; ++i) // uneven spacing, ends kept
    nodes[std::size_t(i)] += jitter(rng) * 5.0 / (n - 1);
  checkUnity(*ruspini(shape, d, nodes));
}

void TestPartitions::endNodesMoveInward_data()
{
  QTest::addColumn<int>("shape");
  QTest::newRow("triangles") << 0;
  QTest::newRow("sines") << 1;
  QTest::newRow("trapezoids") << 2;
}

// An end node is two parameters of its half function: moving it must never
// leave that function's parameters out of order, not even in between.
void TestPartitions::endNodesMoveInward()
{
  QFETCH(int, shape);
  Domain d(0, 1, 400);
  auto part = ruspini(shape, d, {0, 0.25, 0.5, 0.75, 1});
  AssertionCatcher catcher;
  const auto failure = catcher.run([&] {
    part->moveNode(0, 0.1);
    part->moveNode(4, 0.9);
  });
  QVERIFY2(failure.condition.isEmpty(), qPrintable(failure.condition));
  QCOMPARE(part->allFce().front()->param(0), 0.1);
  QCOMPARE(part->allFce().front()->param(1), 0.1);
  QCOMPARE(part->allFce().back()->params().back(), 0.9);
  checkUnity(*part, 1e-12, 0.1, 0.9);
}

void TestPartitions::shiftedPrototypes()
{
  Domain d(0, 1, 1000);
  Cached<FuzzySets::TriangleAlternate<double, double>> proto(&d);
  proto.setParam(1, 0.1);
  Part<FuzzySets::TriangleAlternate<double, double>> part(&d, &proto, 0.3);
  const std::vector<double> expected{0, 0.3, 0.6, 0.9};
  QCOMPARE(part.fceCount(), expected.size());
  QCOMPARE(part.nodes().size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    QVERIFY(std::abs(part.nodes()[i] - expected[i]) < 1e-12);
    QCOMPARE(part.allFce()[i]->param(0), part.nodes()[i]);
    QCOMPARE(part.allFce()[i]->param(1), 0.1);
  }
  // A node drives only its own function's centre.
  part.moveNode(1, 0.4);
  QCOMPARE(part.allFce()[1]->param(0), 0.4);
  QCOMPARE(part.allFce()[0]->param(0), 0.0);
  QVERIFY(std::abs(part.allFce()[2]->param(0) - 0.6) < 1e-12);
}

void TestPartitions::largePartition()
{
  // 100,000 basic functions on 100,001 points: time and memory follow the
  // supports, not functions x domain.
  const unsigned n = 100000;
  Domain d(0, 1, n);
  auto part = fromNodes(d, d.values());
  QCOMPARE(part->fceCount(), std::size_t(n) + 1);
  auto* mid = static_cast<Cached<Triangle>*>(part->allFce()[n / 2]);
  QVERIFY(mid->windowEnd() - mid->windowBegin() <= 3);
  QCOMPARE(mid->valueAtIndex(n / 2), 1.0);
  part->moveNode(n / 2, d.values()[n / 2] + 0.3 / n);
  QVERIFY(mid->windowEnd() - mid->windowBegin() <= 3);
  QVERIFY(std::abs(mid->valueAtIndex(n / 2) - 1 / 1.3) < 1e-9);
}

void TestPartitions::knownTransforms()
{
  Domain d(0, 1, 2000);
  auto part = fromNodes<TrianglePart>(d, {0, 0.25, 0.5, 0.75, 1});
  StaticFactory<> factory(&d, Basis::ClosedForm);
  // A constant's components: itself at degree 0; odd degrees vanish by symmetry on inner
  // components, not on the half triangles at the ends; degree 2 only up to the discretisation
  // (its constant is exact for the continuous triangle).
  for (int m = 0; m <= 3; ++m) {
    Vec c;
    directTransform(*part, *factory.get(m), Vec(d.size(), 2.0), c);
    QCOMPARE(c.size(), std::size_t(5));
    for (std::size_t k = m ? 1 : 0; k < (m ? 4 : 5); ++k)
      QVERIFY2(std::abs(c[k] - (m ? 0 : 2)) < (m == 0   ? 1e-12
                                               : m == 2 ? 1e-3
                                                        : 1e-9),
               describe("%1 %2", m, k));
    QVERIFY(m != 1 || (std::abs(c[0]) > 0.1 && std::abs(c[4]) > 0.1));
  }
  std::vector<Vec> cs;
  transform(*part, factory, sample(d.values(), [](double x) { return x; }), 1, &cs);
  for (std::size_t k = 1; k <= 3; ++k) {
    QVERIFY(std::abs(cs[0][k] - 0.25 * double(k)) < 1e-12);
    QVERIFY(std::abs(cs[1][k] - 1) < 1e-9);
  }
}

void TestPartitions::matchesPlainLoops_data()
{
  // Of the components against the bases orthogonal on the points. Gaussians
  // narrower than the domain's step leave few points of any weight: a cubic's
  // leading coefficient is ill conditioned there in either way of computing it.
  Loops::declare(); // shape, nodes, tolerance
  QTest::newRow("triangles") << 0 << 9 << 1e-9;
  QTest::newRow("many triangles") << 0 << 400 << 1e-7; // four points each
  QTest::newRow("sines") << 1 << 12 << 1e-9;
  QTest::newRow("narrow gaussians") << 2 << 40 << 1e-5;
  QTest::newRow("wide gaussians") << 3 << 6 << 1e-9;
}

void TestPartitions::matchesPlainLoops()
{
  const auto [shape, nodes, tolerance] = Loops::fetch();
  Domain d(-1, 3, 1600);
  std::mt19937 rng{unsigned(shape * 100 + nodes)};
  std::uniform_real_distribution<double> jitter(-0.3, 0.3);
  Vec n;
  for (int i = 0; i < nodes; ++i)
    n.push_back(i + 1 == nodes ? 3.0 : -1 + 4.0 * i / (nodes - 1));
  for (std::size_t i = 1; i + 1 < n.size(); ++i)
    n[i] += jitter(rng) * 4.0 / (nodes - 1);
  auto part = shape == 0   ? fromNodes<TrianglePart>(d, n)
              : shape == 1 ? fromNodes<SinPart>(d, n)
                           : shapedAs<Cached<Gaussian>>(d, shape == 2 ? 0.002 : 0.5, n,
                                                        4 * 0.999999999 / (nodes - 1));
  // Nodes moved after construction must leave the same sums as fresh ones.
  part->moveNode(2, (part->nodes()[1] + 2 * part->nodes()[2]) / 3);
  StaticFactory<> factory(&d, Basis::ClosedForm);
  const Vec f = sample(d.values(), [](double x) { return std::sin(3 * x) + x * x; });
  Reference ref{*part, factory};
  std::vector<Vec> c, refC;
  const Vec inv = transform(*part, factory, f, 3, &c);
  for (std::size_t m = 0; m <= 3; ++m) {
    refC.push_back(ref.direct(int(m), f));
    QVERIFY2(sameBits(c[m], refC[m]), describe("degree %1", m));
  }
  QVERIFY(sameBits(inv, ref.inverse(refC)));

  // The bases orthogonal on the points: each degree's inverse is the blend of
  // the weighted least-squares polynomials, each component the leading
  // coefficient of one.
  // Where the memberships are subnormal (a narrow Gaussian's tail) the products
  // with them keep only a few digits, in either way of summing.
  Vec memberships(d.size(), 0.0);
  for (const auto* fs : part->allFce())
    for (std::size_t i = 0; i < d.size(); ++i)
      memberships[i] += fs->values()[i];
  StaticFactory<> onPoints(&d, Basis::Orthogonal);
  const LeastSquares ls{*part};
  for (int m = 1; m <= 3; ++m) {
    Vec leading;
    const Vec expected = ls.inverse(m, f, leading);
    const Vec got = transform(*part, onPoints, f, m, &c);
    for (std::size_t i = 0; i < d.size(); ++i)
      QVERIFY2(memberships[i] < std::numeric_limits<double>::min() ||
                   std::abs(got[i] - expected[i]) < 1e-9 * (1 + std::abs(expected[i])) ||
                   same(got[i], expected[i]),
               describe("degree %1 element %2: %3 against %4", m, i, got[i], expected[i]));
    for (std::size_t k = 0; k < part->fceCount(); ++k) {
      const double ck = c[std::size_t(m)][k];
      QVERIFY2(std::abs(ck - leading[k]) <= tolerance * (1 + std::abs(leading[k])) ||
                   same(ck, leading[k]),
               describe("degree %1 component %2: %3 against %4", m, k, ck, leading[k]));
    }
  }
}

void TestPartitions::higherDegreesReproducePolynomials_data()
{
  QTest::addColumn<int>("kind"); // 0 generic, 1 equidistant, 2 custom
  QTest::addColumn<int>("shape");
  QTest::newRow("generic, triangles, unequal nodes") << 0 << 0;
  QTest::newRow("generic, sines, unequal nodes") << 0 << 1;
  QTest::newRow("equidistant, triangles") << 1 << 0;
  QTest::newRow("equidistant, sines") << 1 << 1;
  QTest::newRow("custom, triangles") << 2 << 0;
  QTest::newRow("custom, sines") << 2 << 1;
  QTest::newRow("custom, gaussians") << 2 << 2;
}

// Degree m reproduces every polynomial of degree <= m at every point, the
// ends and unequal nodes included, and its components of polynomials of
// lower degree vanish. Left out: points where a covering component is
// undefined (a basic function on too few points) or that no basic function
// covers.
void TestPartitions::higherDegreesReproducePolynomials()
{
  QFETCH(int, kind);
  QFETCH(int, shape);
  Domain d(-1.5, 2.5, 1200);
  std::mt19937 rng(unsigned(kind * 10 + shape));
  std::uniform_real_distribution<double> unit(0, 1);
  Vec nodes;
  std::unique_ptr<PartBase> part;
  if (kind == 0) {
    nodes = {-1.5};
    while (nodes.back() < 2.5)
      nodes.push_back(std::min(2.5, nodes.back() + 0.05 + 0.6 * unit(rng)));
  } else if (kind == 1) {
    // A fixed point and distance that meet neither end of the domain.
    for (double x = 0.3 - 5 * 0.35; x <= 2.5; x += 0.35)
      if (x >= -1.5)
        nodes.push_back(x);
  } else {
    for (double x = -1.5; x <= 2.5 + 1e-9; x += 0.4)
      nodes.push_back(x + 0.1 * unit(rng));
    using TA = Cached<FuzzySets::TriangleAlternate<double, double>>;
    using SA = Cached<FuzzySets::SinAlternate<double, double>>;
    part = shape == 0   ? shapedAs<TA>(d, 0.3, nodes, 0.4)
           : shape == 1 ? shapedAs<SA>(d, 0.3, nodes, 0.4)
                        : shapedAs<Cached<Gaussian>>(d, 0.3, nodes, 0.4);
  }
  if (kind < 2)
    part = shape == 0 ? fromNodes<TrianglePart>(d, nodes) : fromNodes<SinPart>(d, nodes);
  const std::vector<std::function<double(double)>> polynomials{
      [](double) { return 2.5; }, [](double x) { return 1 - 2 * x; },
      [](double x) { return 0.5 + x - 3 * x * x; },
      [](double x) { return -1 + 0.5 * x + x * x - 2 * x * x * x; }};
  StaticFactory<> factory(&d, Basis::Orthogonal);
  const auto& fits = part->pointBases();
  for (int p = 0; p <= 3; ++p) {
    const Vec f = sample(d.values(), polynomials[std::size_t(p)]);
    double size = 0;
    for (double v : f)
      size = std::max(size, std::abs(v));
    for (int m = std::max(1, p); m <= 3; ++m) {
      std::vector<Vec> c;
      const Vec inv = transform(*part, factory, f, m, &c);
      // A point counts when every basic function over it has all components up to m.
      Vec complete(d.size(), 1.0), covered(d.size(), 0.0);
      for (std::size_t k = 0; k < part->fceCount(); ++k) {
        const auto* fs = part->allFce()[k];
        for (std::size_t i = fs->nzBegin(); i < fs->nzEnd(); ++i)
          if (fs->values()[i] != 0) {
            covered[i] = 1;
            for (int j = 0; j <= m; ++j)
              if (std::isnan(c[std::size_t(j)][k]))
                complete[i] = 0;
          }
      }
      int checked = 0;
      for (std::size_t i = 0; i < d.size(); ++i) {
        if (!complete[i] || !covered[i])
          continue;
        ++checked;
        QVERIFY2(std::abs(inv[i] - f[i]) <= 1e-9 * size,
                 describe("polynomial of degree %1, inverse of degree %2, x = %3: %4", p, m,
                          d.values()[i], inv[i] - f[i]));
      }
      QVERIFY(checked > int(d.size()) / 2);
      // A component of degree m times the basis it multiplies, at its scale.
      for (int j = p + 1; j <= m; ++j)
        for (std::size_t k = 0; k < part->fceCount(); ++k) {
          const double term = fits[k].coefficientOf(j, c[std::size_t(j)][k]);
          QVERIFY2(std::isnan(term) || std::abs(term) <= 1e-9 * size,
                   describe("polynomial of degree %1, component %2 of degree %3: %4", p, k, j,
                            c[std::size_t(j)][k]));
        }
    }
  }
}

// sin(6x) on [-3, 3] with 100,001 points: from 65 to 129 equidistant
// triangles the maximum error of degree m falls at order m + 1 (the ends
// included); the closed forms do not converge at all.
void TestPartitions::higherDegreesConverge()
{
  Domain d(-3, 3, 100000);
  const Vec f = sample(d.values(), [](double x) { return std::sin(6 * x); });
  std::vector<Vec> errors(2);
  for (std::size_t b = 0; b < 2; ++b) {
    StaticFactory<> factory(&d, b == 0 ? Basis::Orthogonal : Basis::ClosedForm);
    for (int count : {65, 129}) {
      auto part = fromNodes<TrianglePart>(d, Domain(-3, 3, unsigned(count - 1)).values());
      for (int m = 1; m <= 3; ++m) {
        const Vec inv = transform(*part, factory, f, m);
        double e = 0;
        for (std::size_t i = 0; i < d.size(); ++i)
          e = std::max(e, std::abs(inv[i] - f[i]));
        errors[b].push_back(e);
      }
    }
  }
  for (int m = 1; m <= 3; ++m) {
    const auto order = [&](std::size_t b) {
      return std::log(errors[b][std::size_t(m - 1)] / errors[b][std::size_t(m + 2)]) /
             std::log(128.0 / 64.0);
    };
    QVERIFY2(std::abs(order(0) - (m + 1)) < 0.3, qPrintable(QString::number(order(0))));
    QVERIFY2(order(1) < 0.5, qPrintable(QString::number(order(1))));
  }
}

// No domain a user can enter overflows the bases: on [-1e300, 1e300] a
// straight line comes back from degree 1, and the components are its slope.
void TestPartitions::wideDomains()
{
  for (double span : {1e300, 1e-300}) {
    Domain d(-span, span, 400);
    auto part = fromNodes<SinPart>(d, {-span, -0.3 * span, 0.1 * span, span});
    StaticFactory<> factory(&d, Basis::Orthogonal);
    const Vec f = sample(d.values(), [span](double x) { return 3 * (x / span) - 1; });
    std::vector<Vec> c;
    const Vec inv = transform(*part, factory, f, 3, &c);
    for (std::size_t i = 0; i < d.size(); ++i)
      QVERIFY2(std::abs(inv[i] - f[i]) < 1e-12, describe("%1", inv[i] - f[i]));
    for (std::size_t k = 0; k < part->fceCount(); ++k)
      QVERIFY2(std::abs(c[1][k] * span / 3 - 1) < 1e-12, describe("%1", c[1][k]));
  }
}

// Random updates of a cache against a plain array: the values read back, the whole array, copies,
// and a window that holds the kept range and every value but a plain +0, and nothing more. Sizes
// around the four values held inline cross between inline and heap windows both ways.
void TestPartitions::windowedValuesMatchAPlainArray()
{
  std::mt19937 rng(11);
  const double pick[] = {0.0, -0.0, 1.0, 2.5, -3.0, 0.0};
  const auto plainZero = [](double v) { return v == 0 && !std::signbit(v); };
  for (std::size_t size = 1; size <= 12; ++size) {
    Fn::WindowedValues<double> w(size);
    Vec ref(size, 0.0);
    for (int step = 0; step < 300; ++step) {
      const auto upTo = [&](std::size_t n) { return std::size_t(rng() % (n + 1)); };
      std::size_t from = upTo(size + 2), to = upTo(size + 2);
      if (from > to)
        std::swap(from, to);
      const std::size_t evalBegin = upTo(size + 2), evalEnd = upTo(size + 2);
      std::size_t keepBegin = upTo(size + 2), keepEnd = upTo(size + 2);
      if (keepBegin > keepEnd && rng() % 4 != 0)
        std::swap(keepBegin, keepEnd);
      Vec fresh(size + 3);
      for (double& v : fresh)
        v = pick[rng() % 6];
      const std::size_t eb = std::max(evalBegin, from), ee = std::min({evalEnd, to, size});
      bool evalInside = true;
      w.update(from, to, evalBegin, evalEnd, keepBegin, keepEnd, [&](std::size_t i) {
        evalInside = evalInside && i >= eb && i < ee;
        return fresh[i];
      });
      for (std::size_t i = from; i < std::min(to, size); ++i)
        ref[i] = i >= eb && i < ee ? fresh[i] : 0.0;

      const QString where = QString("size %1, step %2").arg(size).arg(step);
      QVERIFY2(evalInside, qPrintable(where));
      std::size_t lo = size, hi = 0;
      for (std::size_t i = 0; i < size; ++i)
        if (!plainZero(ref[i])) {
          lo = std::min(lo, i);
          hi = i + 1;
        }
      const std::size_t ke = std::min(keepEnd, size), kb = std::min(keepBegin, ke);
      if (kb < ke) {
        lo = std::min(lo, kb);
        hi = std::max(hi, ke);
      }
      QVERIFY2(lo >= hi ? w.windowBegin() == w.windowEnd()
                        : w.windowBegin() == lo && w.windowEnd() == hi,
               qPrintable(where));
      const Fn::WindowedValues<double> copy(w);
      Fn::WindowedValues<double> assigned(1);
      assigned = w;
      QCOMPARE(w.full().size(), size);
      for (std::size_t i = 0; i < size; ++i) {
        const double got[] = {w[i], w.full()[i], copy[i], assigned[i]};
        for (double v : got)
          QVERIFY2(v == ref[i] && std::signbit(v) == std::signbit(ref[i]),
                   qPrintable(where + QString(", element %1").arg(i)));
      }
    }
  }
}

QTEST_APPLESS_MAIN(TestPartitions)
#include "tst_partitions.moc"
