// The one transform engine under the window, the batch tool and the study:
// what it keeps, that its faces agree, that its numbers reproduce what the
// F-transform must, and that a node move gives a fresh computation's numbers
// bit for bit, edited components included.
#include "common/checks.h"
#include "common/datatable.h"
#include "gui/ftransform_widgets/nodelayout.h"
#include "math/domains/equidistant.h"
#include "math/fce/fce_algorithms.h"
#include "math/fce/mathfntable.h"
#include "midle/transform/transformengine.h"
#include "midle/transform/transformtables.h"

#include <QtTest>

#include <cmath>
#include <functional>
#include <memory>
#include <numeric>
#include <random>
#include <set>

namespace {

using Function = Fn::MathFn<double, double>;
using Vec = std::vector<double>;
using Kind = DataHolders::PartitionKind;
using Record = QSharedPointer<DataHolders::Partitions::PartBase>;
namespace Parts = DataHolders::Partitions;

QSharedPointer<DataHolders::Domains::Equid> equid(double low, double high)
{
  auto d = QSharedPointer<DataHolders::Domains::Equid>::create();
  d->low = low;
  d->high = high;
  return d;
}

// A record of each kind on [-1, 2] with 12 or 13 nodes; a custom one's
// basic functions `width` wide (0: the kind's own width).
Record makeRecord(Kind kind, int shape, double width = 0)
{
  Record r;
  if (kind == Kind::Generic) {
    auto g = QSharedPointer<Parts::FuzzyEq>::create();
    g->componentCount = 12;
    r = g;
  } else if (kind == Kind::Equidistant) {
    auto e = QSharedPointer<Parts::FuzzyPt>::create();
    e->fixedPoint = -0.9;
    e->partElementWidth = 0.25;
    r = e;
  } else {
    auto c = QSharedPointer<Parts::FuzzyDelta>::create();
    c->delta = 0.25;
    c->extraParam = width > 0 ? width : shape == DataHolders::ShapeGaussian ? 0.04 : 0.3;
    r = c;
  }
  r.staticCast<Parts::FuzzyPartBase>()->shape = shape;
  r->domain = equid(-1, 2);
  r->nodes = DataHolders::Partitions::layoutNodes(*r);
  return r;
}

struct Setup
{
  Kind kind;
  int shape, maxDegree, visible;
  Fn::HigherDegreeBasis basis;
  double width = 0;
};

// Functions 0 (edited), 1, 2 (an infinite sample: its components over it are
// not finite) and 3 on the domain.
std::vector<std::unique_ptr<Function>> functions(const Domains::EnumerationBase<double>& domain)
{
  std::vector<std::unique_ptr<Function>> fns;
  for (const auto& g : std::vector<std::function<double(double)>>{
           [](double x) { return std::sin(4 * x) + x * x; },
           [](double x) { return std::exp(-x) * std::cos(9 * x); },
           [](double x) { return std::abs(x - 0.5) < 1e-3 ? INFINITY : x; },
           [](double x) { return 2 * x - 1; }})
    fns.emplace_back(new Fn::MathFnTable<double, double>(&domain, sample(domain.values(), g)));
  return fns;
}

void setUp(TransformEngine& e, const Setup& s, const Record& record,
           const Domains::EnumerationBase<double>& domain,
           const std::vector<std::unique_ptr<Function>>& fns)
{
  e.setDomain(&domain);
  e.setRecord(record);
  e.setMaxDegree(s.maxDegree);
  e.setVisibleDegrees(s.visible);
  e.setBasis(s.basis);
  for (const auto& f : fns)
    e.addFunctions({f.get()});
  e.rebuildPartition();
  e.computeAll();
  // Edits of the first function: an inner component and an end one.
  for (int row : {3, 0})
    QVERIFY(e.setEdited(FnKey{fns[0].get(), 1}, row, row ? "0.75" : "-2"));
  e.applyEdits(fns[0].get());
}

QList<int> flags(const TransformEngine::FunctionMap& map, const Function* f)
{
  QList<int> list;
  for (const FnKey& k : map.keys())
    if (k.fn == f)
      list.append(k.flag);
  return list;
}

using Positions = DataTable<int, int, QVector<double>, QVector<double>>;

} // namespace

Q_DECLARE_METATYPE(Setup)

class TestTransformEngine : public QObject
{
  Q_OBJECT

private slots:
  void kindsShapesDegreesAndMoves_data()
  {
    QTest::addColumn<Setup>("setup");
    const auto O = Fn::HigherDegreeBasis::Orthogonal, C = Fn::HigherDegreeBasis::ClosedForm;
    const int T = DataHolders::ShapeTriangle, S = DataHolders::ShapeSin,
              G = DataHolders::ShapeGaussian;
    // clang-format off
    QTest::newRow("generic triangles, degrees 0-3") << Setup{Kind::Generic, T, 3, 15, O};
    QTest::newRow("generic sines, degrees 0 and 2, closed forms") << Setup{Kind::Generic, S, 2, 5, C};
    QTest::newRow("generic triangles, degrees shown above the maximum") << Setup{Kind::Generic, T, 1, 14, O};
    QTest::newRow("equidistant triangles, degrees 0 and 1") << Setup{Kind::Equidistant, T, 1, 3, O};
    QTest::newRow("equidistant sines, degree 3 alone, closed forms") << Setup{Kind::Equidistant, S, 3, 8, C};
    QTest::newRow("custom triangles, degree 3 alone") << Setup{Kind::Custom, T, 3, 8, O};
    QTest::newRow("custom sines, degrees 0 and 1, closed forms") << Setup{Kind::Custom, S, 1, 3, C};
    QTest::newRow("custom Gaussians, degrees 0 and 2") << Setup{Kind::Custom, G, 2, 5, O};
    // Some basic functions cover no point: their components are not numbers.
    QTest::newRow("custom triangles narrower than the points, closed forms") << Setup{Kind::Custom, T, 3, 15, C, 0.001};
    // clang-format on
  }

  void kindsShapesDegreesAndMoves()
  {
    QFETCH(Setup, setup);
    const Domains::Equidistant<double> domain(-1.0, 2.0, 1500u);
    const auto fns = functions(domain);
    const Record record = makeRecord(setup.kind, setup.shape, setup.width);
    TransformEngine e;
    setUp(e, setup, record, domain, fns);
    QVERIFY(e.partition());
    const std::size_t count = e.partition()->fceCount();

    // Components of every degree up to the maximum, inverses of the shown ones.
    QList<int> components, shown;
    for (int d = 0; d <= setup.maxDegree; ++d) {
      components << (1 << d);
      if (setup.visible & (1 << d))
        shown << (1 << d);
    }
    QCOMPARE(flags(e.components(), fns[1].get()), components);
    QCOMPARE(flags(e.inverses(), fns[1].get()), shown);

    // The tool's and the study's path give the window's numbers.
    const TransformPass pass(*e.partition(), setup.basis);
    const TransformPass::Tables tables = pass.tables(*fns[1], setup.maxDegree, true);
    for (int d = 0; d <= setup.maxDegree; ++d) {
      const FnKey key{fns[1].get(), 1 << d};
      QVERIFY(sameBits(tables.components[std::size_t(d)]->values(), e.components()[key]->values()));
      if (shown.contains(1 << d))
        QVERIFY(sameBits(tables.inverses[std::size_t(d)]->values(), e.inverses()[key]->values()));
    }
    const Vec& positions = e.components()[FnKey{fns[1].get(), 1}]->domain()->values();
    QCOMPARE(positions.size(), count);
    QVERIFY(std::is_sorted(positions.begin(), positions.end()));

    // Edits replace the components shown, not those computed.
    auto* edited = static_cast<ComponentTable*>(e.components()[FnKey{fns[0].get(), 1}].data());
    QCOMPARE(edited->values()[3], 0.75);
    QCOMPARE(edited->values()[0], -2.0);
    QVERIFY(edited->computed()[3] != 0.75);

    // Node moves update the tables in place; after any sequence of them the
    // numbers are those of an engine built afresh on the same nodes.
    const QSharedPointer<Function> inverse =
        e.inverses().value({fns[1].get(), 1 << setup.maxDegree});
    QVERIFY(inverse);
    std::mt19937 rng(unsigned(int(setup.kind) * 10 + setup.shape));
    std::uniform_real_distribution<double> unit(0.05, 0.95);
    for (int round = 1; round <= 6; ++round) {
      for (int step = 0; step < 12; ++step) {
        QVector<double>& n = record->nodes;
        const int i = 1 + int(rng() % unsigned(n.size() - 2));
        n[i] = n[i - 1] + (n[i + 1] - n[i - 1]) * unit(rng);
        QVERIFY(e.moveNodes());
        QVERIFY(!e.lastChange().everything);
        QVERIFY(e.lastChange().componentFrom <= std::size_t(i));
      }
      // Several nodes at once (a session applied), each past its old neighbour.
      const QVector<double> n = record->nodes;
      std::set<double> shifted(n.begin(), n.end());
      for (int j = 1; j <= 3; ++j)
        shifted.erase(n[j]);
      shifted.insert({(n[2] + n[3]) / 2, (n[3] + n[4]) / 2, n[3] + 0.99 * (n[4] - n[3])});
      record->nodes = QVector<double>(shifted.begin(), shifted.end());
      QVERIFY(e.moveNodes());
      QCOMPARE(e.inverses().value({fns[1].get(), 1 << setup.maxDegree}), inverse);

      TransformEngine fresh;
      const Record copy = makeRecord(setup.kind, setup.shape, setup.width);
      copy->nodes = record->nodes;
      setUp(fresh, setup, copy, domain, fns);
      for (auto maps : {&TransformEngine::components, &TransformEngine::inverses}) {
        const auto &mine = (e.*maps)(), &theirs = (fresh.*maps)();
        QCOMPARE(theirs.keys(), mine.keys());
        for (const FnKey& key : mine.keys())
          QVERIFY2(sameBits(mine[key]->values(), theirs[key]->values()),
                   qPrintable(QString("round %1, degree flag %2").arg(round).arg(key.flag)));
      }
    }

    // Anything but node positions, or nodes out of order, is no node move.
    const QVector<double> kept = record->nodes;
    std::swap(record->nodes[3], record->nodes[4]);
    QVERIFY(!e.moveNodes());
    record->nodes = kept;
    if (auto pt = record.dynamicCast<Parts::FuzzyPt>()) {
      pt->partElementWidth *= 2;
      QVERIFY(!e.moveNodes());
    }
    record.staticCast<Parts::FuzzyPartBase>()->shape = 1 - std::min(setup.shape, 1);
    QVERIFY(!e.moveNodes());
  }

  // The batch tool's partitions keep their basic functions as geometry only
  // and evaluate them as they sum; every thread count splits the sums into
  // blocks. Neither may change a bit: the same terms in the same order.
  // Enough points and basic functions for several blocks of each.
  void geometryOnlyAndThreadsGiveTheStoredNumbers_data()
  {
    QTest::addColumn<Setup>("setup");
    const auto O = Fn::HigherDegreeBasis::Orthogonal, C = Fn::HigherDegreeBasis::ClosedForm;
    const int T = DataHolders::ShapeTriangle, S = DataHolders::ShapeSin,
              G = DataHolders::ShapeGaussian;
    // clang-format off
    QTest::newRow("generic triangles, degree 3") << Setup{Kind::Generic, T, 3, 15, O};
    QTest::newRow("generic sines, degree 2, closed forms") << Setup{Kind::Generic, S, 2, 7, C};
    QTest::newRow("equidistant triangles, degree 0") << Setup{Kind::Equidistant, T, 0, 1, O};
    QTest::newRow("equidistant sines, degree 1") << Setup{Kind::Equidistant, S, 1, 3, O};
    QTest::newRow("custom triangles, degree 3, closed forms") << Setup{Kind::Custom, T, 3, 15, C};
    QTest::newRow("custom sines, degree 2") << Setup{Kind::Custom, S, 2, 7, O};
    QTest::newRow("custom Gaussians, degree 1") << Setup{Kind::Custom, G, 1, 3, O, 0.0004};
    QTest::newRow("custom triangles narrower than the points") << Setup{Kind::Custom, T, 3, 15, O, 1e-6};
    // clang-format on
  }

  void geometryOnlyAndThreadsGiveTheStoredNumbers()
  {
    QFETCH(Setup, setup);
    const Domains::Equidistant<double> domain(-1.0, 2.0, 150000u);
    const auto fns = functions(domain);
    const Record record = makeRecord(setup.kind, setup.shape, setup.width);
    // 2500 basic functions, the nodes off their layout (as dragged).
    if (auto g = record.dynamicCast<Parts::FuzzyEq>())
      g->componentCount = 2500;
    else if (auto e = record.dynamicCast<Parts::FuzzyPt>())
      e->partElementWidth = 3.0 / 2500;
    else
      record.staticCast<Parts::FuzzyDelta>()->delta = 3.0 / 2500;
    if (auto c = record.dynamicCast<Parts::FuzzyDelta>(); c && setup.width == 0)
      c->extraParam = 2 * c->delta;
    record->nodes = DataHolders::Partitions::layoutNodes(*record);
    QVector<double>& n = record->nodes;
    for (int i = 1; i + 1 < n.size(); i += 7)
      n[i] += 0.3 * (n[i + 1] - n[i]);

    const auto stored = TransformPass::build(record, &domain, false);
    const auto geometry = TransformPass::build(record, &domain, true);
    QVERIFY(stored && geometry);
    QVERIFY(!stored->geometryOnly() && geometry->geometryOnly());
    QCOMPARE(geometry->fceCount(), stored->fceCount());
    QVERIFY(geometry->fceCount() > 2 * 1024);
    QCOMPARE(geometry->nodes(), stored->nodes());
    QCOMPARE(TransformPass::componentPositions(*geometry),
             TransformPass::componentPositions(*stored));

    const TransformPass reference(*stored, setup.basis);
    const std::size_t points = domain.size();
    for (const auto& f : fns) {
      const TransformPass::Tables expected = reference.tables(*f, setup.maxDegree, true);
      // The reference owes nothing to the blocks: each component on its own,
      // the inverse point by point, at the blocks' edges among others.
      std::vector<std::size_t> all(stored->fceCount());
      std::iota(all.begin(), all.end(), std::size_t(0));
      std::vector<Vec> alone;
      for (int d = 0; d <= setup.maxDegree; ++d) {
        Vec c(all.size());
        Fn::directTransformAt(*stored, reference.basis(d), f->values(), all, c);
        QVERIFY(sameBits(c, expected.components[std::size_t(d)]->values()));
        alone.push_back(c);
      }
      for (std::size_t i : {std::size_t(0), std::size_t(65535), std::size_t(65536),
                            std::size_t(131072), std::size_t(131073), points - 1}) {
        double running = 0, sum = 0;
        for (int d = 0; d <= setup.maxDegree; ++d) {
          if (d == 0)
            Fn::inverseTransformRange(*stored, alone[0], i, i + 1, &running, &sum);
          else
            Fn::addHigherDegreeTermRange(*stored, reference.basis(d), alone[std::size_t(d)], i,
                                         i + 1, &running, &sum);
          QVERIFY(same(running, expected.inverses[std::size_t(d)]->values()[i]));
        }
      }
      for (const auto* part : {stored.get(), geometry.get()})
        for (int threads : {1, 2, 7}) {
          TransformPass pass(*part, setup.basis);
          pass.setThreads(threads);
          const TransformPass::Tables got = pass.tables(*f, setup.maxDegree, true);
          for (int d = 0; d <= setup.maxDegree; ++d) {
            const auto where = qPrintable(QString("%1, %2 threads, degree %3")
                                              .arg(part == stored.get() ? "stored" : "geometry")
                                              .arg(threads)
                                              .arg(d));
            QVERIFY2(sameBits(got.components[std::size_t(d)]->values(),
                              expected.components[std::size_t(d)]->values()),
                     where);
            QVERIFY2(sameBits(got.inverses[std::size_t(d)]->values(),
                              expected.inverses[std::size_t(d)]->values()),
                     where);
          }
        }
    }

    // The engine's threads reach its sums.
    TransformEngine one, several;
    several.setThreads(7);
    QCOMPARE(several.threads(), 7);
    setUp(one, setup, record, domain, fns);
    setUp(several, setup, record, domain, fns);
    for (const FnKey& key : one.inverses().keys())
      QVERIFY(sameBits(one.inverses()[key]->values(), several.inverses()[key]->values()));
  }

  // As a stored session could hold them: Gaussians give no generic
  // partition, a trapezoid no one-point kernel; the results go.
  void untransformableRecordsDropTheResults_data()
  {
    QTest::addColumn<int>("shape");
    QTest::newRow("Gaussian") << int(DataHolders::ShapeGaussian);
    QTest::newRow("trapezoid") << int(DataHolders::ShapeTrapezoid);
  }
  void untransformableRecordsDropTheResults()
  {
    QFETCH(int, shape);
    const Domains::Equidistant<double> domain(0.0, 1.0, 200u);
    const auto fns = functions(domain);
    TransformEngine e;
    setUp(e, Setup{Kind::Generic, 0, 3, 15, Fn::HigherDegreeBasis::Orthogonal},
          makeRecord(Kind::Generic, 0), domain, fns);
    QVERIFY(!e.inverses().isEmpty());
    auto record = QSharedPointer<Parts::FuzzyEq>::create();
    record->shape = shape;
    record->shift = 2;
    e.setRecord(record);
    e.rebuildPartition();
    QVERIFY(!e.partition());
    QCOMPARE(e.partitionProblem(), QString());
    e.computeAll();
    QVERIFY(e.components().isEmpty() && e.inverses().isEmpty());
    QVERIFY(!e.moveNodes());
  }

  // One component per basic function, each at its function's peak where
  // possible, always ascending.
  void componentPositions_data()
  {
    Positions::declare(); // offset, shift, nodes (of a custom record; empty: generic), positions
    const QVector<double> five{0, 0.25, 0.5, 0.75, 1};
    // clang-format off
    QTest::newRow("one function per node") << -1 << 1 << QVector<double>() << five;
    QTest::newRow("offset 0: still the nodes") << 0 << 1 << QVector<double>() << five;
    QTest::newRow("shift 2: fewer functions, at their peaks") << -1 << 2 << QVector<double>() << QVector<double>{0, 0.5, 1};
    QTest::newRow("custom: a function on each node, however few") << -1 << 1 << QVector<double>{0, 0.9} << QVector<double>{0, 0.9};
    // clang-format on
  }
  void componentPositions()
  {
    const auto [offset, shift, nodes, positions] = Positions::fetch();
    const Domains::Equidistant<double> domain(0.0, 1.0, 100u);
    Record r = nodes.isEmpty() ? makeRecord(Kind::Generic, 0) : makeRecord(Kind::Custom, 0);
    r->domain = equid(0, 1);
    r.staticCast<Parts::FuzzyPartBase>()->offset = offset;
    r.staticCast<Parts::FuzzyPartBase>()->shift = shift;
    r->nodes = nodes.isEmpty() ? DataHolders::genericNodes(*r->domain, 5) : nodes;
    if (auto c = r.dynamicCast<Parts::FuzzyDelta>())
      c->extraParam = 0.25;
    const auto part = TransformPass::build(r, &domain);
    QVERIFY(part);
    const Vec found = TransformPass::componentPositions(*part);
    QCOMPARE(QVector<double>(found.begin(), found.end()), positions);
  }

  // The error read-out compares each function with its shown inverses, in
  // the functions' order, degrees ascending.
  void approximations()
  {
    const Domains::Equidistant<double> domain(0.0, 1.0, 200u);
    const auto fns = functions(domain);
    TransformEngine e;
    setUp(e, Setup{Kind::Generic, 0, 3, 10, Fn::HigherDegreeBasis::Orthogonal},
          makeRecord(Kind::Generic, 0), domain, fns);
    QList<QPair<const Function*, int>> rows;
    for (const auto& a : e.approximations()) {
      QCOMPARE(a.inverse, e.inverses().value(FnKey{a.fn, a.flag}).data());
      rows << qMakePair(a.fn, a.flag);
    }
    QCOMPARE(rows.size(), 8);
    QCOMPARE(rows.mid(0, 3), (QList<QPair<const Function*, int>>{
                                 {fns[0].get(), 2}, {fns[0].get(), 8}, {fns[1].get(), 2}}));
    // Results of a replaced domain are not compared; removed functions go with their edits.
    const Domains::Equidistant<double> other(0.0, 1.0, 50u);
    e.setDomain(&other);
    QVERIFY(e.approximations().empty());
    e.setDomain(&domain);
    e.removeFunctions({fns[0].get()});
    QCOMPARE(int(e.approximations().size()), 6);
    QVERIFY(e.edited().isEmpty());
  }
};

QTEST_GUILESS_MAIN(TestTransformEngine)
#include "tst_transformengine.moc"
