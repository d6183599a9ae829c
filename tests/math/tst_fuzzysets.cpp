#include "design_patterns/staticfactory/staticfactory.h"
#include "math/domains/equidistant.h"
#include "math/fce/mathfncachedformula.h"
#include "math/fce/mathfnformula.h"
#include "math/fuzzy_sets/any.h"
#include "math/fuzzy_sets/gaussian.h"
#include "math/fuzzy_sets/sin.h"
#include "math/fuzzy_sets/sinalternate.h"
#include "math/fuzzy_sets/trapezoid.h"
#include "math/fuzzy_sets/triangle.h"
#include "math/fuzzy_sets/trianglealternate.h"

#include "assertioncatcher.h"

#include <QtTest>

#include <cmath>
#include <memory>
#include <random>

using Domain = Domains::Equidistant<double>;
template <typename S>
using Cached = Fn::MathFnCachedFormula<double, double, S>;
template <typename S>
using Plain = Fn::MathFnFormula<double, double, S>;
using Triangle = FuzzySets::Triangle<double, double>;
using Trapezoid = FuzzySets::Trapezoid<double, double>;
using Sin = FuzzySets::Sin<double, double>;
using Gaussian = FuzzySets::Gaussian<double, double>;
using TriangleAlternate = FuzzySets::TriangleAlternate<double, double>;
using SinAlternate = FuzzySets::SinAlternate<double, double>;
using Any = FuzzySets::Any<double, double>;

namespace {

// The value every element must have, from the formula itself.
template <typename S>
void compareWithFormula(const Cached<S>& fn)
{
  const auto& xs = fn.domain()->values();
  for (std::size_t i = 0; i < xs.size(); ++i)
    QCOMPARE(fn.valueAtIndex(i), fn.formula(xs[i]));
  const std::vector<double>& all = fn.values();
  QCOMPARE(all.size(), xs.size());
  for (std::size_t i = 0; i < xs.size(); ++i)
    QCOMPARE(all[i], fn.formula(xs[i]));
  for (std::size_t i = 0; i < xs.size(); ++i)
    if (i < fn.nzBegin() || i >= fn.nzEnd())
      QCOMPARE(all[i], 0.0);
  for (std::size_t i = fn.nzBegin(); i < fn.nzEnd(); ++i)
    QCOMPARE(fn.nzValuesData()[i - fn.nzBegin()], all[i]);
}

} // namespace

class TestFuzzySets : public QObject
{
  Q_OBJECT

private slots:
  void memberships_data();
  void memberships();
  void defaults();
  void cachedTriangleMoves();
  void windowMatchesNaiveCache_data();
  void windowMatchesNaiveCache();
  void gaussianCutOff();
  void moveKernelTo();
  void cloneGaussian();
  void sharpness();
  void bases_data();
  void bases();
  void factory();
  void preconditions_data();
  void preconditions();
};

void TestFuzzySets::memberships_data()
{
  QTest::addColumn<int>("shape");
  QTest::addColumn<QVector<double>>("params");
  QTest::addColumn<double>("x");
  QTest::addColumn<double>("expected");
  const QVector<double> tri{0.2, 0.5, 0.8};
  QTest::newRow("triangle left") << 0 << tri << 0.35 << 0.5;
  QTest::newRow("triangle right") << 0 << tri << 0.65 << 0.5;
  QTest::newRow("triangle below") << 0 << tri << 0.1 << 0.0;
  QTest::newRow("triangle above") << 0 << tri << 0.9 << 0.0;
  QTest::newRow("triangle peak") << 0 << tri << 0.5 << 1.0;
  QTest::newRow("half triangle peak") << 0 << QVector<double>{0, 0, 1} << 0.0 << 1.0;
  QTest::newRow("half triangle slope") << 0 << QVector<double>{0, 0, 1} << 0.75 << 0.25;
  QTest::newRow("point triangle") << 0 << QVector<double>{0.5, 0.5, 0.5} << 0.5 << 1.0;
  const QVector<double> trap{0, 0.25, 0.75, 1};
  QTest::newRow("trapezoid kernel") << 1 << trap << 0.25 << 1.0;
  QTest::newRow("trapezoid kernel end") << 1 << trap << 0.75 << 1.0;
  QTest::newRow("trapezoid slope") << 1 << trap << 0.125 << 0.5;
  QTest::newRow("trapezoid falling") << 1 << trap << 0.875 << 0.5;
  const QVector<double> sin{0, 0.5, 1};
  QTest::newRow("sine quarter") << 2 << sin << 0.25 << 0.5;
  QTest::newRow("sine peak") << 2 << sin << 0.5 << 1.0;
  QTest::newRow("sine end") << 2 << sin << 1.0 << 0.0;
  QTest::newRow("gaussian one deviation")
      << 3 << QVector<double>{0.5, 0.1} << 0.6 << std::exp(-0.5);
  QTest::newRow("gaussian centre") << 3 << QVector<double>{0.5, 0.1} << 0.5 << 1.0;
  QTest::newRow("triangle alternate") << 4 << QVector<double>{0.5, 0.2} << 0.4 << 0.5;
  QTest::newRow("triangle alternate peak") << 4 << QVector<double>{0.5, 0.2} << 0.5 << 1.0;
  QTest::newRow("sine alternate") << 5 << QVector<double>{0.5, 0.5} << 0.25 << 0.5;
  QTest::newRow("sine alternate support end") << 5 << QVector<double>{0.5, 0.5} << 1.0 << 0.0;
  QTest::newRow("sine alternate peak") << 5 << QVector<double>{0.5, 0.5} << 0.5 << 1.0;
}

void TestFuzzySets::memberships()
{
  QFETCH(int, shape);
  QFETCH(QVector<double>, params);
  QFETCH(double, x);
  QFETCH(double, expected);
  Domain d(0, 1, 2000);
  const std::vector<double> p(params.begin(), params.end());
  std::unique_ptr<Fn::MathFn<double, double>> fn;
  switch (shape) {
  case 0:
    fn.reset(new Plain<Triangle>(&d));
    break;
  case 1:
    fn.reset(new Plain<Trapezoid>(&d));
    break;
  case 2:
    fn.reset(new Plain<Sin>(&d));
    break;
  case 3:
    fn.reset(new Plain<Gaussian>(&d));
    break;
  case 4:
    fn.reset(new Plain<TriangleAlternate>(&d));
    break;
  case 5:
    fn.reset(new Plain<SinAlternate>(&d));
    break;
  }
  fn->setParams(p);
  QVERIFY2(std::abs(fn->value(x) - expected) < 1e-12, qPrintable(QString::number(fn->value(x))));
}

void TestFuzzySets::defaults()
{
  Domain d(0, 1, 8);
  Plain<Triangle> t(&d);
  QVERIFY((t.params() == std::vector<double>{0, 0.5, 1}));
  QCOMPARE(t.numberOfPositionNodes(), 3);
  QCOMPARE(t.sharpness(), -1);
  QCOMPARE(t.leftWidth(), 0.5);
  QCOMPARE(t.supportWidth(), 1.0);
  QCOMPARE(t.kernelWidth(), 0.0);
  Plain<Trapezoid> z(&d);
  QVERIFY((z.params() == std::vector<double>{0, 0.25, 0.75, 1}));
  QCOMPARE(z.numberOfPositionNodes(), 4);
  Plain<Gaussian> g(&d);
  QVERIFY((g.params() == std::vector<double>{0.5, 0.1}));
  QCOMPARE(g.supportBegin(), 0.0);
  QCOMPARE(g.supportEnd(), 1.0);
  Plain<SinAlternate> s(&d);
  QVERIFY((s.params() == std::vector<double>{0.5, 0.25}));
  Cached<Any> any(&d);
  QCOMPARE(any.valueAtIndex(3), 1.0);
  QCOMPARE(any.nzEnd(), d.size());
}

void TestFuzzySets::cachedTriangleMoves()
{
  Domain d(0, 1, 2000);
  Cached<Triangle> t(&d);
  t.setParams({0.1, 0.2, 0.3});
  compareWithFormula(t);
  QCOMPARE(t.nzBegin(), std::size_t(200));
  QCOMPARE(t.nzEnd(), std::size_t(601));
  t.setParams({0.5, 0.6, 0.7});
  compareWithFormula(t);
  for (std::size_t i = 200; i <= 600; ++i)
    QCOMPARE(t.valueAtIndex(i), 0.0);
  QCOMPARE(t.value(0.6), 1.0);
  // Only the non-zero range is stored.
  QVERIFY(t.windowBegin() >= 1000 && t.windowEnd() <= 1401);
}

void TestFuzzySets::windowMatchesNaiveCache_data()
{
  QTest::addColumn<int>("shape");
  QTest::newRow("triangle") << 0;
  QTest::newRow("sine") << 1;
  QTest::newRow("gaussian") << 2;
  QTest::newRow("triangle alternate") << 3;
}

void TestFuzzySets::windowMatchesNaiveCache()
{
  QFETCH(int, shape);
  Domain d(-1, 2, 3000);
  std::unique_ptr<FuzzySets::FuzzySetBase<double, double>> fn;
  switch (shape) {
  case 0:
    fn.reset(new Cached<Triangle>(&d));
    break;
  case 1:
    fn.reset(new Cached<Sin>(&d));
    break;
  case 2:
    fn.reset(new Cached<Gaussian>(&d));
    break;
  case 3:
    fn.reset(new Cached<TriangleAlternate>(&d));
    break;
  }
  // The naive cache: every element, refreshed over the union of the old and
  // the new non-zero range exactly as a full array would be.
  std::vector<double> naive(d.size());
  for (std::size_t i = 0; i < d.size(); ++i)
    naive[i] = fn->valueAtIndex(i);
  std::mt19937 rng(7);
  std::uniform_real_distribution<double> pos(-1.5, 2.5), width(0.0005, 0.4);
  for (int step = 0; step < 200; ++step) {
    const std::size_t oldB = fn->nzBegin(), oldE = fn->nzEnd();
    if (shape <= 1) {
      double p[3] = {pos(rng), pos(rng), pos(rng)};
      std::sort(p, p + 3);
      if (step % 3 == 0)
        p[1] = p[0];
      fn->setParams({p[0], p[1], p[2]});
    } else if (step % 2) {
      fn->setParams({pos(rng), width(rng) * (shape == 2 ? 0.05 : 1)});
    } else {
      static_cast<FuzzySets::MoveableFuzzySet<double, double>*>(fn.get())->moveKernelTo(pos(rng));
    }
    const std::size_t from = std::min(oldB, fn->nzBegin()), to = std::max(oldE, fn->nzEnd());
    for (std::size_t i = from; i < to; ++i)
      naive[i] = [&] {
        switch (shape) {
        case 0:
          return static_cast<Cached<Triangle>*>(fn.get())->formula(d.values()[i]);
        case 1:
          return static_cast<Cached<Sin>*>(fn.get())->formula(d.values()[i]);
        case 2:
          return static_cast<Cached<Gaussian>*>(fn.get())->formula(d.values()[i]);
        default:
          return static_cast<Cached<TriangleAlternate>*>(fn.get())->formula(d.values()[i]);
        }
      }();
    const std::vector<double>& full = fn->values();
    for (std::size_t i = 0; i < d.size(); ++i) {
      QCOMPARE(fn->valueAtIndex(i), naive[i]);
      QCOMPARE(full[i], naive[i]);
    }
    const std::size_t nb = fn->nzBegin();
    for (std::size_t i = nb; i < fn->nzEnd(); ++i)
      QCOMPARE(fn->nzValuesData()[i - nb], naive[i]);
  }
}

void TestFuzzySets::gaussianCutOff()
{
  Domain d(0, 1, 100000);
  Cached<Gaussian> g(&d);
  g.setParams({0.5, 0.001});
  // Exactly 0 beyond the cut-off, so nothing is lost by not storing it.
  QCOMPARE(g.formula(0.5 + 38.7 * 0.001), 0.0);
  QVERIFY(g.formula(0.5 + 38.5 * 0.001) > 0);
  QVERIFY(g.nzEnd() - g.nzBegin() <= 8002);
  QVERIFY(g.windowEnd() - g.windowBegin() <= 8002);
  QCOMPARE(g.supportBegin(), 0.0);
  QCOMPARE(g.supportEnd(), 1.0);
  compareWithFormula(g);
  // A wide Gaussian keeps the whole domain and is positive everywhere.
  Cached<Gaussian> wide(&d);
  wide.setParams({0.5, 0.1});
  QCOMPARE(wide.nzBegin(), std::size_t(0));
  QCOMPARE(wide.nzEnd(), d.size());
  for (double v : wide.values())
    QVERIFY(v > 0);
}

void TestFuzzySets::moveKernelTo()
{
  Domain d(0, 1, 100);
  Cached<Triangle> t(&d);
  t.setParams({0.2, 0.5, 0.8});
  t.moveKernelTo(0.7);
  QVERIFY(std::abs(t.param(0) - 0.4) < 1e-15);
  QVERIFY(std::abs(t.param(1) - 0.7) < 1e-15);
  QVERIFY(std::abs(t.param(2) - 1.0) < 1e-15);
  compareWithFormula(t);
  Cached<Gaussian> g(&d);
  g.moveKernelTo(0.7);
  QVERIFY((g.params() == std::vector<double>{0.7, 0.1}));
  QCOMPARE(g.kernelBegin(), 0.7);
  compareWithFormula(g);
}

void TestFuzzySets::cloneGaussian()
{
  Domain d(0, 1, 1000);
  Cached<Gaussian> g(&d);
  g.setParams({0.3, 0.05});
  std::unique_ptr<Fn::MathFn<double, double>> c(g.clone());
  std::unique_ptr<const Fn::MathFn<double, double>::Domain> cd(c->domain());
  QVERIFY(c->domain() != &d);
  QVERIFY((c->params() == std::vector<double>{0.3, 0.05}));
  QVERIFY(c->values() == g.values());
  QVERIFY((dynamic_cast<Cached<Gaussian>*>(c.get())));
}

void TestFuzzySets::sharpness()
{
  Domain d(0, 1, 4);
  Plain<Triangle> a(&d), b(&d);
  Plain<Trapezoid> z(&d);
  Plain<Any> any(&d);
  a.setSharpness(2);
  b.setSharpness(5);
  z.setSharpness(1);
  any.setSharpness(2);
  QCOMPARE(a.compareSharpness(b), -1);
  QCOMPARE(b.compareSharpness(a), 1);
  QCOMPARE(a.compareSharpness(a), 0);
  QCOMPARE(a.compareSharpness(z), -2);
  QCOMPARE(a.compareSharpness(any), 0);
  QCOMPARE(any.compareSharpness(z), 1);
}

void TestFuzzySets::bases_data()
{
  QTest::addColumn<int>("degree");
  QTest::addColumn<double>("x");
  QTest::addColumn<double>("expected");
  QTest::addColumn<double>("constant");
  const double c2 = 0.25 / 12 + 0.25 / 12;
  QTest::newRow("degree 0 inside") << 0 << 0.3 << 1.0 << 0.0;
  QTest::newRow("degree 1 left") << 1 << 0.25 << -0.25 << 0.0;
  QTest::newRow("degree 1 right") << 1 << 1.0 << 0.5 << 0.0;
  QTest::newRow("degree 2 node") << 2 << 0.5 << -c2 << c2;
  QTest::newRow("degree 2 low") << 2 << 0.0 << 0.25 - c2 << c2;
  QTest::newRow("degree 2 high") << 2 << 1.0 << 0.25 - c2 << c2;
  QTest::newRow("degree 3 high") << 3 << 1.0 << 0.075 << 0.1;
  QTest::newRow("degree 3 node") << 3 << 0.5 << 0.0 << 0.1;
}

void TestFuzzySets::bases()
{
  QFETCH(int, degree);
  QFETCH(double, x);
  QFETCH(double, expected);
  QFETCH(double, constant);
  Domain d(0, 1, 2000);
  StaticFactory<> factory(&d);
  auto* basis = factory.get(degree);
  QVERIFY((basis->params() == std::vector<double>{0, 0.5, 1}));
  QVERIFY2(std::abs(basis->value(x) - expected) < 1e-15,
           qPrintable(QString::number(basis->value(x))));
  double actual = 0;
  if (degree == 2)
    actual = static_cast<FuzzySets::OrtogPTriangBase<double, double, 2>*>(basis)->orthoConstant();
  if (degree == 3)
    actual = static_cast<FuzzySets::OrtogPTriangBase<double, double, 3>*>(basis)->orthoConstant();
  QCOMPARE(actual, constant);
  // Outside the triangle: 1 for degree 0, 0 above.
  basis->setParams({0.2, 0.3, 0.4});
  QCOMPARE(basis->value(0.9), degree == 0 ? 1.0 : 0.0);
}

void TestFuzzySets::factory()
{
  QCOMPARE(StaticFactory<>::indexOfFlag(1), 0);
  QCOMPARE(StaticFactory<>::indexOfFlag(2), 1);
  QCOMPARE(StaticFactory<>::indexOfFlag(4), 2);
  QCOMPARE(StaticFactory<>::indexOfFlag(8), 3);
  QCOMPARE(G_STATIC_FACTORY_MAX, 3);
}

void TestFuzzySets::preconditions_data()
{
  QTest::addColumn<int>("which");
  QTest::addColumn<QString>("condition");
  QTest::addColumn<QString>("file");
  QTest::newRow("triangle order 1") << 0 << "_params[0] <= _params[1]"
                                    << "src/math/fuzzy_sets/triangle.h";
  QTest::newRow("triangle order 2") << 1 << "_params[1] <= _params[2]"
                                    << "src/math/fuzzy_sets/triangle.h";
  QTest::newRow("sine order") << 2 << "_params[0] <= _params[1]"
                              << "src/math/fuzzy_sets/sin.h";
  QTest::newRow("gaussian deviation") << 3 << "_params[1] > 0"
                                      << "src/math/fuzzy_sets/gaussian.h";
  QTest::newRow("sharpness") << 4 << "_sharpness >= 0"
                             << "src/math/fuzzy_sets/fuzzysetbase.h";
  QTest::newRow("other sharpness") << 5 << "_sharpness >= 0"
                                   << "src/math/fuzzy_sets/fuzzysetbase.h";
  QTest::newRow("factory index") << 6 << "index <= G_STATIC_FACTORY_MAX"
                                 << "src/design_patterns/staticfactory/staticfactory.h";
}

void TestFuzzySets::preconditions()
{
  QFETCH(int, which);
  QFETCH(QString, condition);
  QFETCH(QString, file);
  Domain d(0, 1, 10);
  Cached<Triangle> t(&d);
  Cached<Sin> s(&d);
  Cached<Gaussian> g(&d);
  StaticFactory<> factory(&d);
  Plain<Triangle> a(&d), b(&d);
  a.setSharpness(1);
  AssertionCatcher catcher;
  const AssertionCatcher::Failure f = catcher.run([&] {
    switch (which) {
    case 0:
      t.setParams({0.5, 0.4, 0.6});
      break;
    case 1:
      t.setParam(2, 0.1);
      break;
    case 2:
      s.setParams({0.5, 0.4, 0.6});
      break;
    case 3:
      g.setParam(1, 0.0);
      break;
    case 4:
      b.compareSharpness(a);
      break;
    case 5:
      a.compareSharpness(b);
      break;
    case 6:
      factory.get(4);
      break;
    }
  });
  QCOMPARE(f.condition, condition);
  QCOMPARE(f.file, file);
}

QTEST_APPLESS_MAIN(TestFuzzySets)
#include "tst_fuzzysets.moc"
