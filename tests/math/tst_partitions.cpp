#include "math/domains/bilateral.h"
#include "math/domains/equidistant.h"
#include "math/fuzzy_sets/gaussian.h"
#include "math/fuzzy_sets/sin.h"
#include "math/fuzzy_sets/sinalternate.h"
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
template <typename S>
using Part = Partitions::FuzzyPartition<Fn::MathFnCachedFormula<double, double, S>>;
using TrianglePart = Part<FuzzySets::Triangle<double, double>>;
using SinPart = Part<FuzzySets::Sin<double, double>>;
using TrapezoidPart = Part<FuzzySets::Trapezoid<double, double>>;
using GaussianPart = Part<FuzzySets::Gaussian<double, double>>;
using TriangleAltPart = Part<FuzzySets::TriangleAlternate<double, double>>;

namespace {

template <typename P>
std::unique_ptr<P> fromNodes(const Domain& d, const std::vector<double>& nodes, int shift = 1,
                             int offset = -1)
{
  std::unique_ptr<P> part(new P(&d, Nodes(nodes, true)));
  part->setShift(shift);
  part->setOffset(offset);
  part->createFromNodes();
  return part;
}

// Sum of the memberships at every element, from the full value arrays.
std::vector<double> membershipSums(const Partitions::PartitionBase<double, double>& part)
{
  std::vector<double> sums(part.domain()->size(), 0.0);
  for (auto* fn : part.allFce())
    for (std::size_t i = 0; i < sums.size(); ++i)
      sums[i] += fn->values()[i];
  return sums;
}

} // namespace

class TestPartitions : public QObject
{
  Q_OBJECT

private slots:
  void trianglesFromNodes();
  void unityOfRuspiniPartitions_data();
  void unityOfRuspiniPartitions();
  void trapezoidsFromNodes();
  void nodeMoveTouchesBoundParameters();
  void endNodesMoveInward_data();
  void endNodesMoveInward();
  void moveToSameValueRecomputesNothing();
  void randomMovesKeepCachesExact();
  void shiftedPrototype_data();
  void shiftedPrototype();
  void shiftedTriangleIsRuspiniInside();
  void countConstruction();
  void snapping();
  void largePartition();
  void preconditions_data();
  void preconditions();
};

void TestPartitions::trianglesFromNodes()
{
  Domain d(0, 1, 2000);
  auto part = fromNodes<TrianglePart>(d, {0, 0.25, 0.5, 0.75, 1});
  QCOMPARE(part->fceCount(), std::size_t(5));
  const std::vector<std::vector<double>> expected{
      {0, 0, 0.25}, {0, 0.25, 0.5}, {0.25, 0.5, 0.75}, {0.5, 0.75, 1}, {0.75, 1, 1}};
  for (std::size_t k = 0; k < 5; ++k) {
    QVERIFY(part->allFce()[k]->params() == expected[k]);
    QCOMPARE(part->fce("P" + std::to_string(k)), part->allFce()[k]);
  }
  QVERIFY((part->nodes() == std::vector<double>{0, 0.25, 0.5, 0.75, 1}));
  QCOMPARE(part->shift(), 1);
  QCOMPARE(part->offset(), -1);
}

void TestPartitions::unityOfRuspiniPartitions_data()
{
  QTest::addColumn<int>("shape");
  QTest::addColumn<int>("nodeCount");
  QTest::newRow("triangles, 5") << 0 << 5;
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
  for (int i = 0; i < n; ++i)
    nodes.push_back(-2 + 5.0 * i / (n - 1));
  if (nodeCount < 0) { // uneven spacing, ends kept
    std::uniform_real_distribution<double> jitter(-0.4, 0.4);
    for (int i = 1; i + 1 < n; ++i)
      nodes[std::size_t(i)] += jitter(rng) * 5.0 / (n - 1);
  }
  std::unique_ptr<Partitions::PartitionBase<double, double>> part;
  if (shape == 0)
    part = fromNodes<TrianglePart>(d, nodes);
  else
    part = fromNodes<SinPart>(d, nodes);
  for (double s : membershipSums(*part))
    QVERIFY2(std::abs(s - 1) < 1e-12, qPrintable(QString::number(s, 'g', 17)));
}

void TestPartitions::trapezoidsFromNodes()
{
  Domain d(0, 1, 2000);
  auto part = fromNodes<TrapezoidPart>(d, {0, 0.25, 0.5, 0.75, 1}, 2, -1);
  QCOMPARE(part->fceCount(), std::size_t(3));
  QVERIFY((part->fce("P0")->params() == std::vector<double>{0, 0, 0.25, 0.5}));
  QVERIFY((part->fce("P2")->params() == std::vector<double>{0.25, 0.5, 0.75, 1}));
  QVERIFY((part->fce("P4")->params() == std::vector<double>{0.75, 1, 1, 1}));
  for (double s : membershipSums(*part))
    QVERIFY(std::abs(s - 1) < 1e-12);
}

void TestPartitions::nodeMoveTouchesBoundParameters()
{
  Domain d(0, 1, 2000);
  auto part = fromNodes<TrianglePart>(d, {0, 0.25, 0.5, 0.75, 1});
  part->moveNode(2, 0.4);
  const std::vector<std::vector<double>> expected{
      {0, 0, 0.25}, {0, 0.25, 0.4}, {0.25, 0.4, 0.75}, {0.4, 0.75, 1}, {0.75, 1, 1}};
  for (std::size_t k = 0; k < 5; ++k)
    QVERIFY(part->allFce()[k]->params() == expected[k]);
  QCOMPARE(part->nodes()[2], 0.4);
  for (double s : membershipSums(*part))
    QVERIFY(std::abs(s - 1) < 1e-12);
}

void TestPartitions::endNodesMoveInward_data()
{
  QTest::addColumn<int>("shape");
  QTest::addColumn<int>("shift");
  QTest::newRow("triangles") << 0 << 1;
  QTest::newRow("sines") << 1 << 1;
  QTest::newRow("trapezoids") << 3 << 2;
}

// An end node is two parameters of its half function: moving it must never
// leave that function's parameters out of order, not even in between.
void TestPartitions::endNodesMoveInward()
{
  QFETCH(int, shape);
  QFETCH(int, shift);
  Domain d(0, 1, 400);
  const std::vector<double> nodes{0, 0.25, 0.5, 0.75, 1};
  std::unique_ptr<Partitions::PartitionBase<double, double>> part;
  if (shape == 0)
    part = fromNodes<TrianglePart>(d, nodes, shift);
  else if (shape == 1)
    part = fromNodes<SinPart>(d, nodes, shift);
  else
    part = fromNodes<TrapezoidPart>(d, nodes, shift);
  AssertionCatcher catcher;
  const auto failure = catcher.run([&] {
    part->moveNode(0, 0.1);
    part->moveNode(4, 0.9);
  });
  QVERIFY2(failure.condition.isEmpty(), qPrintable(failure.condition));
  QCOMPARE(part->allFce().front()->param(0), 0.1);
  QCOMPARE(part->allFce().front()->param(1), 0.1);
  QCOMPARE(part->allFce().back()->params().back(), 0.9);
  const std::vector<double> sums = membershipSums(*part);
  for (std::size_t i = 0; i < d.size(); ++i)
    if (d.values()[i] >= 0.1 && d.values()[i] <= 0.9)
      QVERIFY(std::abs(sums[i] - 1) < 1e-12);
}

void TestPartitions::moveToSameValueRecomputesNothing()
{
  Domain d(0, 1, 100);
  auto part = fromNodes<TrianglePart>(d, {0, 0.5, 1});
  auto* p1 = part->allFce()[1];
  const double* before = p1->nzValuesData();
  part->moveNode(1, 0.5);
  part->moveNodes({0, 0.5, 1});
  // An untouched cache keeps its storage.
  QCOMPARE(p1->nzValuesData(), before);
  part->moveNode(1, 0.3);
  QCOMPARE(p1->param(1), 0.3);
}

void TestPartitions::randomMovesKeepCachesExact()
{
  Domain d(0, 1, 1000);
  const int n = 30;
  std::vector<double> nodes;
  for (int i = 0; i < n; ++i)
    nodes.push_back(double(i) / (n - 1));
  auto part = fromNodes<TrianglePart>(d, nodes);
  std::mt19937 rng(11);
  for (int step = 0; step < 300; ++step) {
    const std::size_t i = 1 + std::size_t(rng() % (n - 2));
    const double lo = part->nodes()[i - 1], hi = part->nodes()[i + 1];
    part->moveNode(i, lo + (hi - lo) * std::uniform_real_distribution<double>(0, 1)(rng));
  }
  for (auto* fn : part->allFce()) {
    auto* t =
        static_cast<Fn::MathFnCachedFormula<double, double, FuzzySets::Triangle<double, double>>*>(
            fn);
    for (std::size_t i = 0; i < d.size(); ++i)
      QCOMPARE(t->valueAtIndex(i), t->formula(d.values()[i]));
  }
  for (double s : membershipSums(*part))
    QVERIFY(std::abs(s - 1) < 1e-12);
}

void TestPartitions::shiftedPrototype_data()
{
  QTest::addColumn<double>("spacing");
  QTest::addColumn<QVector<double>>("expected");
  QTest::newRow("quarter") << 0.25 << QVector<double>{0, 0.25, 0.5, 0.75, 1};
  QTest::newRow("0.3") << 0.3 << QVector<double>{0, 0.3, 0.6, 0.9};
}

void TestPartitions::shiftedPrototype()
{
  QFETCH(double, spacing);
  QFETCH(QVector<double>, expected);
  Domain d(0, 1, 2000);
  Fn::MathFnCachedFormula<double, double, FuzzySets::TriangleAlternate<double, double>> proto(&d);
  proto.setParam(1, 0.1);
  TriangleAltPart part(&d, &proto, spacing);
  QCOMPARE(int(part.fceCount()), expected.size());
  QCOMPARE(int(part.nodes().size()), expected.size());
  for (int i = 0; i < expected.size(); ++i) {
    QVERIFY(std::abs(part.nodes()[std::size_t(i)] - expected[i]) < 1e-12);
    QCOMPARE(part.allFce()[std::size_t(i)]->param(0), part.nodes()[std::size_t(i)]);
    QCOMPARE(part.allFce()[std::size_t(i)]->param(1), 0.1);
    QVERIFY(part.fce("P" + std::to_string(i)));
  }
  QCOMPARE(part.shift(), 0);
  QCOMPARE(part.offset(), 0);
  // A node drives only its own function's centre.
  part.moveNode(1, 0.4);
  QCOMPARE(part.allFce()[1]->param(0), 0.4);
  QCOMPARE(part.allFce()[0]->param(0), 0.0);
  QVERIFY(std::abs(part.allFce()[2]->param(0) - expected[2]) < 1e-12);
  QVERIFY(part.allFce()[1]->values() != part.allFce()[0]->values());
}

void TestPartitions::shiftedTriangleIsRuspiniInside()
{
  Domain d(0, 1, 1000);
  Fn::MathFnCachedFormula<double, double, FuzzySets::Triangle<double, double>> proto(&d);
  proto.setParams({0, 0.1, 0.2});
  TrianglePart part(&d, &proto, 0.1);
  // Support 0.2 is two steps: the first function starts two steps below low.
  QVERIFY(std::abs(part.allFce()[0]->param(0) - -0.2) < 1e-12);
  QVERIFY(std::abs(part.nodes()[0] - -0.1) < 1e-12);
  QVERIFY(part.allFce().back()->param(0) < 1.0);
  for (double s : membershipSums(part))
    QVERIFY2(std::abs(s - 1) < 1e-9, qPrintable(QString::number(s)));
  part.moveNode(3, part.nodes()[3] + 0.01);
  QCOMPARE(part.allFce()[3]->param(1), part.nodes()[3]);
}

void TestPartitions::countConstruction()
{
  Domain d(0, 1, 10);
  Partitions::PartitionBase<double, double> none(&d, 0, false), one(&d, 1, false),
      three(&d, 3, false), snapped(&d, 4, true);
  QVERIFY(none.nodes().empty());
  QVERIFY((one.nodes() == std::vector<double>{0.5}));
  QVERIFY((three.nodes() == std::vector<double>{0, 0.5, 1}));
  QVERIFY((snapped.nodes() == std::vector<double>{0, d.values()[3], d.values()[7], 1}));
}

void TestPartitions::snapping()
{
  Domain d(0, 1, 4);
  Partitions::PartitionBase<double, double> p(&d, Nodes({0.1, 0.6, 0.9}, true), true);
  QVERIFY((p.nodes() == std::vector<double>{0, 0.5, 1}));
  Partitions::PartitionBase<double, double> q(&d, Nodes({0.1, 0.6, 0.9}, true), false);
  QVERIFY((q.nodes() == std::vector<double>{0.1, 0.6, 0.9}));
}

void TestPartitions::largePartition()
{
  // 100,000 basic functions on 100,001 points: time and memory follow the
  // supports, not functions x domain.
  const unsigned n = 100000;
  Domain d(0, 1, n);
  auto part = fromNodes<TrianglePart>(d, d.values());
  QCOMPARE(part->fceCount(), std::size_t(n) + 1);
  auto* mid =
      static_cast<Fn::MathFnCachedFormula<double, double, FuzzySets::Triangle<double, double>>*>(
          part->allFce()[n / 2]);
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
  QTest::newRow("one node") << 0 << "valid" << policy << "Fuzzy partition needs at least two nodes";
  QTest::newRow("shift 0") << 1 << "valid" << policy << "Shift by node must be greater than zero";
  QTest::newRow("bilateral") << 2 << "!_domain->isBilateral()" << fp << "";
  QTest::newRow("spacing 0") << 3 << "valid" << policy
                             << "Parameter for fuzzy set shifting must be greater than zero";
  QTest::newRow("move index") << 4 << "valid" << policy << "Index out of bounds.";
  QTest::newRow("bind stranger") << 5
                                 << "std::find(_allFce.begin(), _allFce.end(), fn) != _allFce.end()"
                                 << pb << "";
  QTest::newRow("bind negative") << 6 << "nodeIndex >= 0" << pb << "";
  QTest::newRow("bind past nodes") << 7 << "size_t(nodeIndex) < _nodes.size()" << pb << "";
  QTest::newRow("bind parameter") << 8 << "paramIndex < fn->paramsSize()" << pb << "";
  QTest::newRow("trapezoid prototype")
      << 9
      << "(fuzzySet->paramsSize() == 3 && fuzzySet->numberOfPositionNodes() == 3) || "
         "(fuzzySet->paramsSize() == 2 && fuzzySet->numberOfPositionNodes() == 1)"
      << fp << "";
  QTest::newRow("single point domain") << 10 << "_domain->low() < _domain->high()" << fp << "";
}

void TestPartitions::preconditions()
{
  QFETCH(int, which);
  QFETCH(QString, condition);
  QFETCH(QString, file);
  QFETCH(QString, message);
  Domain d(0, 1, 10);
  Domain point(2, 2, 0);
  Domains::Bilateral<double> bilateral({0, 0.5, 1}, 0.5);
  auto part = fromNodes<TrianglePart>(d, {0, 0.5, 1});
  Fn::MathFnCachedFormula<double, double, FuzzySets::Triangle<double, double>> stranger(&d);
  Fn::MathFnCachedFormula<double, double, FuzzySets::Trapezoid<double, double>> trapezoid(&d);
  Fn::MathFnCachedFormula<double, double, FuzzySets::Gaussian<double, double>> gaussian(&d);
  AssertionCatcher catcher;
  const AssertionCatcher::Failure f = catcher.run([&] {
    switch (which) {
    case 0:
      fromNodes<TrianglePart>(d, {0.5});
      break;
    case 1:
      fromNodes<TrianglePart>(d, {0, 1}, 0);
      break;
    case 2: {
      TrianglePart p(&bilateral, Nodes({0, 1}, true));
      p.setShift(1);
      p.createFromNodes();
      break;
    }
    case 3:
      GaussianPart(&d, &gaussian, 0.0);
      break;
    case 4:
      part->moveNode(3, 0.5);
      break;
    case 5:
      part->bindNode(&stranger, 0, 0);
      break;
    case 6:
      part->bindNode(part->allFce()[0], -1, 0);
      break;
    case 7:
      part->bindNode(part->allFce()[0], 3, 0);
      break;
    case 8:
      part->bindNode(part->allFce()[0], 0, 3);
      break;
    case 9:
      Part<FuzzySets::Trapezoid<double, double>>(&d, &trapezoid, 0.1);
      break;
    case 10: {
      Fn::MathFnCachedFormula<double, double, FuzzySets::Gaussian<double, double>> g(&point);
      (void)g;
      break;
    }
    }
  });
  if (which == 10) { // a single-point domain cannot even hold a Gaussian's default width
    QVERIFY(!f.condition.isEmpty());
    return;
  }
  QCOMPARE(f.condition, condition);
  QCOMPARE(f.file, file);
  QCOMPARE(f.message, message);
}

QTEST_APPLESS_MAIN(TestPartitions)
#include "tst_partitions.moc"
