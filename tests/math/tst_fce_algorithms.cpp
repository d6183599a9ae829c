#include "design_patterns/staticfactory/staticfactory.h"
#include "math/domains/equidistant.h"
#include "math/fce/fce_algorithms.h"
#include "math/fuzzy_sets/gaussian.h"
#include "math/fuzzy_sets/sin.h"
#include "math/fuzzy_sets/trapezoid.h"
#include "math/fuzzy_sets/triangle.h"
#include "math/partitions/fuzzypartition.h"

#include "assertioncatcher.h"

#include <QtTest>

#include <cmath>
#include <cstring>
#include <functional>
#include <memory>
#include <random>

using Domain = Domains::Equidistant<double>;
using Nodes = Domains::Enumeration<double>;
using PartBase = Partitions::PartitionBase<double, double>;
template <typename S>
using Part = Partitions::FuzzyPartition<Fn::MathFnCachedFormula<double, double, S>>;
using TrianglePart = Part<FuzzySets::Triangle<double, double>>;
using SinPart = Part<FuzzySets::Sin<double, double>>;
using GaussianPart = Part<FuzzySets::Gaussian<double, double>>;
using Vec = std::vector<double>;

namespace {

template <typename P>
std::unique_ptr<PartBase> fromNodes(const Domain& d, const Vec& nodes, int shift = 1)
{
  std::unique_ptr<P> part(new P(&d, Nodes(nodes, true)));
  part->setShift(shift);
  part->setOffset(-1);
  part->createFromNodes();
  return std::unique_ptr<PartBase>(part.release());
}

Vec sample(const Domain& d, const std::function<double(double)>& f)
{
  Vec v(d.size());
  for (std::size_t i = 0; i < v.size(); ++i)
    v[i] = f(d.values()[i]);
  return v;
}

bool same(double a, double b)
{
  return a == b || (std::isnan(a) && std::isnan(b));
}

// The transforms written out plainly over whole-domain arrays, reading every
// basic function through values() and the basis through valueAtIndex.
struct Reference
{
  const PartBase& part;
  StaticFactory<>& factory;

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

// Components of degrees 0 ... d and the inverse of degree d, as the controller computes them.
Vec transform(const PartBase& part, StaticFactory<>& factory, const Vec& f, int degree,
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

} // namespace

class TestFceAlgorithms : public QObject
{
  Q_OBJECT

private slots:
  void knownTransforms();
  void matchesPlainLoops_data();
  void matchesPlainLoops();
  void linearity();
  void degreeOneReconstructsLines_data();
  void degreeOneReconstructsLines();
  void supportBetweenElementsIsNaN();
  void preconditions_data();
  void preconditions();
};

void TestFceAlgorithms::knownTransforms()
{
  Domain d(0, 1, 2000);
  auto part = fromNodes<TrianglePart>(d, {0, 0.25, 0.5, 0.75, 1});
  StaticFactory<> factory(&d);
  Vec c;
  directTransform(*part, *factory.get(0), Vec(d.size(), 2.0), c);
  QCOMPARE(c.size(), std::size_t(5));
  for (double v : c)
    QVERIFY(std::abs(v - 2) < 1e-12);
  // Odd degrees vanish by symmetry on inner components, not on the half triangles at the ends;
  // degree 2 only up to the discretisation (its constant is exact for the continuous triangle).
  for (int m = 1; m <= 3; ++m) {
    directTransform(*part, *factory.get(m), Vec(d.size(), 2.0), c);
    for (std::size_t k = 1; k <= 3; ++k)
      QVERIFY2(std::abs(c[k]) < (m == 2 ? 1e-3 : 1e-9), qPrintable(QString("%1 %2").arg(m).arg(k)));
    if (m == 1)
      QVERIFY(std::abs(c[0]) > 0.1 && std::abs(c[4]) > 0.1);
  }
  std::vector<Vec> cs;
  const Vec inv = transform(*part, factory, sample(d, [](double x) { return x; }), 1, &cs);
  for (std::size_t k = 1; k <= 3; ++k) {
    QVERIFY(std::abs(cs[0][k] - 0.25 * double(k)) < 1e-12);
    QVERIFY(std::abs(cs[1][k] - 1) < 1e-9);
  }
  for (std::size_t i = 500; i <= 1500; ++i)
    QVERIFY2(std::abs(inv[i] - d.values()[i]) < 1e-12, qPrintable(QString::number(i)));
  // Ruspini sines: the membership sums handed back are 1 everywhere.
  auto sines = fromNodes<SinPart>(d, {0, 0.1, 0.25, 0.7, 1});
  Vec out, sums;
  inverseTransform(*sines, Vec(sines->fceCount(), 1.0), out, &sums);
  QCOMPARE(sums.size(), d.size());
  for (std::size_t i = 0; i < d.size(); ++i)
    QVERIFY(std::abs(sums[i] - 1) < 1e-12 && std::abs(out[i] - 1) < 1e-12);
}

void TestFceAlgorithms::matchesPlainLoops_data()
{
  QTest::addColumn<int>("shape");
  QTest::addColumn<int>("nodes");
  QTest::newRow("triangles") << 0 << 9;
  QTest::newRow("many triangles") << 0 << 400;
  QTest::newRow("sines") << 1 << 12;
  QTest::newRow("narrow gaussians") << 2 << 40;
  QTest::newRow("wide gaussians") << 3 << 6;
}

void TestFceAlgorithms::matchesPlainLoops()
{
  QFETCH(int, shape);
  QFETCH(int, nodes);
  Domain d(-1, 3, 1600);
  std::mt19937 rng{unsigned(shape * 100 + nodes)};
  std::uniform_real_distribution<double> jitter(-0.3, 0.3);
  Vec n;
  for (int i = 0; i < nodes; ++i)
    n.push_back(i + 1 == nodes ? 3.0 : -1 + 4.0 * i / (nodes - 1));
  for (std::size_t i = 1; i + 1 < n.size(); ++i)
    n[i] += jitter(rng) * 4.0 / (nodes - 1);
  std::unique_ptr<PartBase> part;
  Fn::MathFnCachedFormula<double, double, FuzzySets::Gaussian<double, double>> proto(&d);
  if (shape == 0)
    part = fromNodes<TrianglePart>(d, n);
  else if (shape == 1)
    part = fromNodes<SinPart>(d, n);
  else {
    proto.setParam(1, shape == 2 ? 0.002 : 0.5);
    part.reset(new GaussianPart(&d, &proto, 4 * 0.999999999 / (nodes - 1)));
    part->moveNodes(n);
  }
  // Nodes moved after construction must leave the same sums as fresh ones.
  part->moveNode(2, (part->nodes()[1] + 2 * part->nodes()[2]) / 3);
  StaticFactory<> factory(&d);
  const Vec f = sample(d, [](double x) { return std::sin(3 * x) + x * x; });
  Reference ref{*part, factory};
  std::vector<Vec> c, refC;
  const Vec inv = transform(*part, factory, f, 3, &c);
  for (std::size_t m = 0; m <= 3; ++m) {
    refC.push_back(ref.direct(int(m), f));
    for (std::size_t k = 0; k < part->fceCount(); ++k)
      QVERIFY2(same(c[m][k], refC[m][k]),
               qPrintable(QString("degree %1 component %2").arg(m).arg(k)));
  }
  const Vec refInv = ref.inverse(refC);
  for (std::size_t i = 0; i < d.size(); ++i)
    QVERIFY2(same(inv[i], refInv[i]), qPrintable(QString::number(i)));
}

void TestFceAlgorithms::linearity()
{
  Domain d(0, 2, 3000);
  auto part = fromNodes<TrianglePart>(d, {0, 0.3, 0.35, 0.9, 1.4, 2});
  StaticFactory<> factory(&d);
  const Vec f = sample(d, [](double x) { return std::exp(x); });
  const Vec g = sample(d, [](double x) { return std::cos(5 * x); });
  const Vec h = sample(d, [](double x) { return 2.5 * std::exp(x) - 4 * std::cos(5 * x); });
  for (int m = 0; m <= 3; ++m) {
    Vec cf, cg, ch;
    directTransform(*part, *factory.get(m), f, cf);
    directTransform(*part, *factory.get(m), g, cg);
    directTransform(*part, *factory.get(m), h, ch);
    for (std::size_t k = 0; k < ch.size(); ++k)
      QVERIFY(std::abs(ch[k] - (2.5 * cf[k] - 4 * cg[k])) < 1e-9 * (1 + std::abs(ch[k])));
  }
}

void TestFceAlgorithms::degreeOneReconstructsLines_data()
{
  QTest::addColumn<double>("low");
  QTest::addColumn<double>("high");
  QTest::addColumn<int>("parts");
  QTest::addColumn<int>("nodes");
  QTest::addColumn<double>("slope");
  QTest::addColumn<double>("intercept");
  QTest::newRow("rising, 11 nodes") << 0.0 << 1.0 << 4000 << 11 << 3.0 << -1.0;
  QTest::newRow("falling, 5 nodes") << -2.0 << 6.0 << 2000 << 5 << -0.5 << 7.0;
  QTest::newRow("steep, 3 nodes") << 10.0 << 11.0 << 600 << 3 << 1000.0 << 2.0;
}

// Evenly spaced nodes on domain elements: every inner basic function is a
// symmetric triangle, on which the degree-1 basis is orthogonal to constants.
void TestFceAlgorithms::degreeOneReconstructsLines()
{
  QFETCH(double, low);
  QFETCH(double, high);
  QFETCH(int, parts);
  QFETCH(int, nodes);
  QFETCH(double, slope);
  QFETCH(double, intercept);
  Domain d(low, high, unsigned(parts));
  Vec n;
  for (int i = 0; i < nodes; ++i)
    n.push_back(d.values()[std::size_t(i * parts / (nodes - 1))]);
  auto part = fromNodes<TrianglePart>(d, n);
  StaticFactory<> factory(&d);
  const Vec f = sample(d, [&](double x) { return slope * x + intercept; });
  const Vec inv = transform(*part, factory, f, 1);
  const double scale = std::abs(slope) * (high - low) + std::abs(intercept);
  for (std::size_t i = 0; i < d.size(); ++i)
    if (d.values()[i] >= n[1] && d.values()[i] <= n[n.size() - 2])
      QVERIFY2(std::abs(inv[i] - f[i]) < 1e-11 * scale, qPrintable(QString::number(d.values()[i])));
}

void TestFceAlgorithms::supportBetweenElementsIsNaN()
{
  Domain d(0, 1, 10);
  auto part = fromNodes<TrianglePart>(d, {0, 0.42, 0.43, 0.44, 1});
  StaticFactory<> factory(&d);
  Vec c;
  directTransform(*part, *factory.get(0), Vec(d.size(), 1.0), c);
  QVERIFY(std::isnan(c[2]));
  QVERIFY(!std::isnan(c[0]));
}

void TestFceAlgorithms::preconditions_data()
{
  QTest::addColumn<int>("which");
  QTest::addColumn<QString>("condition");
  QTest::newRow("direct kernel") << 0 << "fs->kernelBegin() == fs->kernelEnd()";
  QTest::newRow("higher kernel") << 1 << "fs->kernelBegin() == fs->kernelEnd()";
  QTest::newRow("inverse input") << 2 << "input.size() == part.fceCount()";
  QTest::newRow("higher input") << 3 << "input.size() == part.fceCount()";
  QTest::newRow("higher output") << 4 << "output.size() == part.domain()->size()";
  QTest::newRow("higher sums") << 5 << "membDegSum.size() == part.domain()->size()";
}

void TestFceAlgorithms::preconditions()
{
  QFETCH(int, which);
  QFETCH(QString, condition);
  Domain d(0, 1, 100);
  auto triangles = fromNodes<TrianglePart>(d, {0, 0.5, 1});
  auto trapezoids =
      fromNodes<Part<FuzzySets::Trapezoid<double, double>>>(d, {0, 0.25, 0.5, 0.75, 1}, 2);
  StaticFactory<> factory(&d);
  auto* b1 = factory.get(1);
  const Vec full(d.size(), 1.0), c3(3, 1.0);
  Vec out(d.size(), 0.0), c, shortOut(3);
  const std::function<void()> cases[] = {
      [&] { directTransform(*trapezoids, *factory.get(0), full, c); },
      [&] { addHigherDegreeTerm(*trapezoids, *b1, c3, out, full); },
      [&] { inverseTransform(*triangles, Vec(2, 1.0), out); },
      [&] { addHigherDegreeTerm(*triangles, *b1, Vec(2, 1.0), out, full); },
      [&] { addHigherDegreeTerm(*triangles, *b1, c3, shortOut, full); },
      [&] { addHigherDegreeTerm(*triangles, *b1, c3, out, Vec(3)); }};
  AssertionCatcher catcher;
  const auto failure = catcher.run(cases[which]);
  QCOMPARE(failure.condition, condition);
  QCOMPARE(failure.file, QString("src/math/fce/fce_algorithms.h"));
}

QTEST_APPLESS_MAIN(TestFceAlgorithms)
#include "tst_fce_algorithms.moc"
