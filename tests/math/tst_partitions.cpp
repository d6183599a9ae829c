#include "math/domains/bilateral.h"
#include "math/domains/equidistant.h"
#include "math/fuzzy_sets/gaussian.h"
#include "math/fuzzy_sets/sin.h"
#include "math/fuzzy_sets/trapezoid.h"
#include "math/fuzzy_sets/triangle.h"
#include "math/fuzzy_sets/trianglealternate.h"
#include "math/partitions/fuzzypartition.h"

#include "assertioncatcher.h"

#include <QtTest>

#include <cmath>
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
    return fromNodes<Part<FuzzySets::Sin<double, double>>>(d, nodes);
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
  void randomMovesKeepCachesExact();
  void shiftedPrototype();
  void shiftedTriangleIsRuspiniInside();
  void countConstructionAndSnapping();
  void largePartition();
  void preconditions_data();
  void preconditions();
};

void TestPartitions::fromNodesAndMoves()
{
  Domain d(0, 1, 2000);
  auto part = fromNodes(d, {0, 0.25, 0.5, 0.75, 1});
  checkParams(*part,
              {{0, 0, 0.25}, {0, 0.25, 0.5}, {0.25, 0.5, 0.75}, {0.5, 0.75, 1}, {0.75, 1, 1}});
  QCOMPARE(static_cast<TrianglePart*>(part.get())->fce("P3"), part->allFce()[3]);
  part->moveNode(2, 0.4);
  checkParams(*part,
              {{0, 0, 0.25}, {0, 0.25, 0.4}, {0.25, 0.4, 0.75}, {0.4, 0.75, 1}, {0.75, 1, 1}});
  QCOMPARE(part->nodes()[2], 0.4);
  checkUnity(*part);
  // A move to the same place keeps an untouched cache's storage.
  const double* before = part->allFce()[1]->nzValuesData();
  part->moveNode(2, 0.4);
  part->moveNodes({0, 0.25, 0.4, 0.75, 1});
  QCOMPARE(part->allFce()[1]->nzValuesData(), before);
  auto trapezoids = ruspini(2, d, {0, 0.25, 0.5, 0.75, 1});
  checkParams(*trapezoids, {{0, 0, 0.25, 0.5}, {0.25, 0.5, 0.75, 1}, {0.75, 1, 1, 1}});
  checkUnity(*trapezoids);
}

void TestPartitions::unityOfRuspiniPartitions_data()
{
  QTest::addColumn<int>("shape");
  QTest::addColumn<int>("nodeCount");
  QTest::newRow("triangles, 37 uneven") << 0 << -37;
  QTest::newRow("sines, 5") << 1 << 5;
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

void TestPartitions::randomMovesKeepCachesExact()
{
  Domain d(0, 1, 1000);
  const int n = 30;
  std::vector<double> nodes;
  for (int i = 0; i < n; ++i)
    nodes.push_back(double(i) / (n - 1));
  auto part = fromNodes(d, nodes);
  std::mt19937 rng(11);
  for (int step = 0; step < 300; ++step) {
    const std::size_t i = 1 + std::size_t(rng() % (n - 2));
    const double lo = part->nodes()[i - 1], hi = part->nodes()[i + 1];
    part->moveNode(i, lo + (hi - lo) * std::uniform_real_distribution<double>(0, 1)(rng));
  }
  for (auto* fn : part->allFce())
    for (std::size_t i = 0; i < d.size(); ++i)
      QCOMPARE(fn->valueAtIndex(i), static_cast<Cached<Triangle>*>(fn)->formula(d.values()[i]));
  checkUnity(*part);
}

void TestPartitions::shiftedPrototype()
{
  Domain d(0, 1, 2000);
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

void TestPartitions::shiftedTriangleIsRuspiniInside()
{
  Domain d(0, 1, 1000);
  Cached<Triangle> proto(&d);
  proto.setParams({0, 0.1, 0.2});
  TrianglePart part(&d, &proto, 0.1);
  // Support 0.2 is two steps: the first function starts two steps below low.
  QVERIFY(std::abs(part.allFce()[0]->param(0) - -0.2) < 1e-12);
  QVERIFY(std::abs(part.nodes()[0] - -0.1) < 1e-12);
  QVERIFY(part.allFce().back()->param(0) < 1.0);
  checkUnity(part, 1e-9);
  part.moveNode(3, part.nodes()[3] + 0.01);
  QCOMPARE(part.allFce()[3]->param(1), part.nodes()[3]);
}

void TestPartitions::countConstructionAndSnapping()
{
  Domain d(0, 1, 10);
  PartBase none(&d, 0, false), one(&d, 1, false), three(&d, 3, false), snapped(&d, 4, true);
  QVERIFY(none.nodes().empty());
  QVERIFY((one.nodes() == std::vector<double>{0.5}));
  QVERIFY((three.nodes() == std::vector<double>{0, 0.5, 1}));
  QVERIFY((snapped.nodes() == std::vector<double>{0, d.values()[3], d.values()[7], 1}));
  Domain q(0, 1, 4);
  QVERIFY(
      (PartBase(&q, Nodes({0.1, 0.6, 0.9}, true), true).nodes() == std::vector<double>{0, 0.5, 1}));
  QVERIFY((PartBase(&q, Nodes({0.1, 0.6, 0.9}, true), false).nodes() ==
           std::vector<double>{0.1, 0.6, 0.9}));
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

void TestPartitions::preconditions_data()
{
  QTest::addColumn<int>("which");
  QTest::addColumn<QString>("condition");
  QTest::addColumn<QString>("file");
  QTest::addColumn<QString>("message");
  const QString fp = "src/math/partitions/fuzzypartition.h",
                pb = "src/math/partitions/partitionbase.h", policy = "src/math/policy.h";
  // clang-format off
  QTest::newRow("one node") << 0 << "valid" << policy << "Fuzzy partition needs at least two nodes";
  QTest::newRow("shift 0") << 1 << "valid" << policy << "Shift by node must be greater than zero";
  QTest::newRow("bilateral") << 2 << "!_domain->isBilateral()" << fp << "";
  QTest::newRow("spacing 0") << 3 << "valid" << policy << "Parameter for fuzzy set shifting must be greater than zero";
  QTest::newRow("move index") << 4 << "valid" << policy << "Index out of bounds.";
  QTest::newRow("bind stranger") << 5 << "std::find(_allFce.begin(), _allFce.end(), fn) != _allFce.end()" << pb << "";
  QTest::newRow("bind negative") << 6 << "nodeIndex >= 0" << pb << "";
  QTest::newRow("bind past nodes") << 7 << "size_t(nodeIndex) < _nodes.size()" << pb << "";
  QTest::newRow("bind parameter") << 8 << "paramIndex < fn->paramsSize()" << pb << "";
  QTest::newRow("trapezoid prototype") << 9 << "(fuzzySet->paramsSize() == 3 && fuzzySet->numberOfPositionNodes() == 3) || (fuzzySet->paramsSize() == 2 && fuzzySet->numberOfPositionNodes() == 1)" << fp << "";
  // A single-point domain cannot even hold a Gaussian's default width.
  QTest::newRow("single point domain") << 10 << "" << "" << "";
  // clang-format on
}

void TestPartitions::preconditions()
{
  QFETCH(int, which);
  QFETCH(QString, condition);
  QFETCH(QString, file);
  QFETCH(QString, message);
  Domain d(0, 1, 10), point(2, 2, 0);
  Domains::Bilateral<double> bilateral({0, 0.5, 1}, 0.5);
  auto part = fromNodes(d, {0, 0.5, 1});
  Cached<Triangle> stranger(&d);
  Cached<Trapezoid> trapezoid(&d);
  Cached<Gaussian> gaussian(&d);
  auto* first = part->allFce()[0];
  const std::function<void()> cases[] = {[&] { fromNodes(d, {0.5}); },
                                         [&] {
                                           fromNodes(d, {0, 1}, 0);
                                         },
                                         [&] {
                                           TrianglePart p(&bilateral, Nodes({0, 1}, true));
                                           p.setShift(1);
                                           p.createFromNodes();
                                         },
                                         [&] { Part<Gaussian>(&d, &gaussian, 0.0); },
                                         [&] { part->moveNode(3, 0.5); },
                                         [&] { part->bindNode(&stranger, 0, 0); },
                                         [&] { part->bindNode(first, -1, 0); },
                                         [&] { part->bindNode(first, 3, 0); },
                                         [&] { part->bindNode(first, 0, 3); },
                                         [&] { Part<Trapezoid>(&d, &trapezoid, 0.1); },
                                         [&] { Cached<Gaussian> g(&point); }};
  AssertionCatcher catcher;
  const AssertionCatcher::Failure f = catcher.run(cases[which]);
  if (condition.isEmpty()) {
    QVERIFY(!f.condition.isEmpty());
    return;
  }
  QCOMPARE(f.condition, condition);
  QCOMPARE(f.file, file);
  QCOMPARE(f.message, message);
}

QTEST_APPLESS_MAIN(TestPartitions)
#include "tst_partitions.moc"
