#include "gui/ftransform_widgets/data_structures.h"
#include "gui/ftransform_widgets/nodelayout.h"

#include "math/domains/equidistant.h"
#include "math/fuzzy_sets/trianglealternate.h"
#include "math/partitions/fuzzypartition.h"

#include "math/assertioncatcher.h"

#include <QtTest>

#include <cmath>
#include <memory>

namespace DH = DataHolders;
using MathPartition = ::Partitions::PartitionBase<double, double>;
using MathDomain = ::Domains::EnumerationBase<double>;

namespace {

QSharedPointer<DH::Partitions::FuzzyPartBase> record(int kind, int shape)
{
  QSharedPointer<DH::Partitions::FuzzyPartBase> r;
  if (kind == int(DH::PartitionKind::Generic))
    r.reset(new DH::Partitions::FuzzyEq);
  else if (kind == int(DH::PartitionKind::Equidistant))
    r.reset(new DH::Partitions::FuzzyPt);
  else
    r.reset(new DH::Partitions::FuzzyDelta);
  r->shape = shape;
  r->shift = shape == DH::ShapeTrapezoid ? 2 : r->shift;
  return r;
}

const Fn::MathFn<double, double>* fakeFn(int i)
{
  static int anchors[4];
  return reinterpret_cast<const Fn::MathFn<double, double>*>(&anchors[i]);
}

} // namespace

class TestDataStructures : public QObject
{
  Q_OBJECT

private slots:
  // Only a sound record makes a domain; a refused one makes none.
  void domains()
  {
    const QVector<double> records[] = {{0, 1, 2000},      {1, 1, 10},
                                       {0, 1, 0},         {0, 1, 2000000000},
                                       {0, HUGE_VAL, 10}, {std::nan(""), 1, 10}};
    for (const QVector<double>& p : records) {
      QSharedPointer<DH::Domains::Equid> r(new DH::Domains::Equid);
      r->low = p[0];
      r->high = p[1];
      r->count = int(p[2]);
      std::unique_ptr<MathDomain> d(DH::createDomain(r));
      QCOMPARE(bool(d), p[2] == 2000);
      QVERIFY(!d || (d->size() == 2001 && d->high() == 1.0));
    }
    QVERIFY(!DH::createDomain(DataHolderBase()));
    QVERIFY(!DH::createDomain(DataHolderBase(new DH::Partitions::FuzzyEq)));
  }

  void partitions_data()
  {
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("shape");
    QTest::addColumn<int>("functions"); // -1: no partition
    QTest::newRow("generic sine") << 6 << 1 << 5;
    QTest::newRow("generic gaussian") << 6 << 2 << -1;
    QTest::newRow("generic trapezoid") << 6 << 3 << 3;
    QTest::newRow("equidistant triangle") << 7 << 0 << 5;
    QTest::newRow("equidistant gaussian") << 7 << 2 << -1;
    QTest::newRow("custom triangle") << 8 << 0 << 5;
    QTest::newRow("custom gaussian") << 8 << 2 << 5;
    QTest::newRow("custom trapezoid") << 8 << 3 << -1;
    QTest::newRow("unknown shape") << 6 << 4 << -1;
  }

  void partitions()
  {
    QFETCH(int, kind);
    QFETCH(int, shape);
    QFETCH(int, functions);
    // No domain object: the builder makes one from the record and the
    // partition owns it (the sanitizer run checks nothing leaks).
    std::unique_ptr<MathPartition> part(DH::createPartition(record(kind, shape), nullptr));
    QCOMPARE(part ? int(part->fceCount()) : -1, functions);
    if (!part)
      return;
    QCOMPARE(part->domain()->size(), std::size_t(2001));
    for (std::size_t i = 0; i < part->nodes().size() && kind == 8; ++i)
      QCOMPARE(part->nodes()[i], 0.25 * double(i));
    std::vector<double> sums(part->domain()->size(), 0.0);
    for (auto* fn : part->allFce())
      for (std::size_t i = 0; i < sums.size(); ++i)
        sums[i] += fn->valueAtIndex(i);
    for (double s : sums)
      QVERIFY(kind == 8 || std::abs(s - 1) < 1e-12);
  }

  void customPartitionsKeepTheirNodes()
  {
    auto r = record(8, DH::ShapeGaussian).staticCast<DH::Partitions::FuzzyDelta>();
    r->delta = 17; // not used for the Gaussian
    r->extraParam = 0.05;
    r->nodes = {0.1, 0.3, 0.5, 0.6, 0.95};
    std::unique_ptr<MathDomain> d(DH::createDomain(r->domain));
    std::unique_ptr<MathPartition> part(DH::createPartition(r, d.get()));
    QVERIFY(part);
    QCOMPARE(part->domain(), static_cast<const MathDomain*>(d.get()));
    QVERIFY((part->nodes() == std::vector<double>{0.1, 0.3, 0.5, 0.6, 0.95}));
    for (std::size_t k = 0; k < 5; ++k) {
      QCOMPARE(part->allFce()[k]->param(0), part->nodes()[k]);
      QCOMPARE(part->allFce()[k]->param(1), 0.05);
    }
    r->shape = DH::ShapeTriangle;
    r->delta = 0.3;
    r->extraParam = 0.2;
    r->nodes = {0.05, 0.3, 0.7, 0.85};
    part.reset(DH::createPartition(r, nullptr));
    QVERIFY(part);
    QVERIFY((part->nodes() == std::vector<double>{0.05, 0.3, 0.7, 0.85}));
    QVERIFY((dynamic_cast<FuzzySets::TriangleAlternate<double, double>*>(part->allFce()[0])));
    QCOMPARE(part->allFce()[2]->valueAtIndex(1400), 1.0);
    QCOMPARE(part->allFce()[2]->param(1), 0.2);
    // Nodes added or removed by hand: still one function on each node (the
    // element width lays out four here).
    for (int shape : {DH::ShapeTriangle, DH::ShapeSin})
      for (const QVector<double>& nodes :
           {QVector<double>{0.05, 0.3, 0.5, 0.7, 0.85, 0.99}, QVector<double>{0.2, 0.8}}) {
        r->shape = shape;
        r->nodes = nodes;
        part.reset(DH::createPartition(r, nullptr));
        QVERIFY(part);
        QCOMPARE(part->fceCount(), std::size_t(nodes.size()));
        for (int k = 0; k < nodes.size(); ++k) {
          QCOMPARE(part->nodes()[std::size_t(k)], nodes[k]);
          QCOMPARE(part->allFce()[std::size_t(k)]->param(0), nodes[k]);
        }
      }
  }

  // The nodes a custom record is laid out with and the basic functions the
  // builder lays out by the element width agree in number, whatever the rounding.
  void customLayoutAgreesWithItsNodes()
  {
    auto r = record(8, DH::ShapeTriangle).staticCast<DH::Partitions::FuzzyDelta>();
    for (double low : {0.0, 1.0, 3.0, -7.3})
      for (double step : {0.1, 0.07, 0.13, 0.35, 1.0 / 3}) {
        r->domain->low = low;
        r->domain->high = low + 0.7;
        r->extraParam = r->delta = step * 0.7;
        r->nodes = DH::deltaNodes(*r->domain, r->delta);
        std::unique_ptr<MathPartition> part(DH::createPartition(r, nullptr));
        QVERIFY(part && part->fceCount() == std::size_t(r->nodes.size()));
        QCOMPARE(r->nodes.last() == r->domain->high, step == 0.1 || step == 1.0 / 3);
      }
    r->shape = DH::ShapeGaussian; // wide Gaussians packed densely are refused with a reason
    r->domain->count = 100000;
    r->nodes.resize(100000);
    std::unique_ptr<MathDomain> d(DH::createDomain(r->domain));
    QVERIFY(DH::partitionSizeProblem(*r, *d).contains("memory"));
  }

  void refusedRecords_data()
  {
    QTest::addColumn<int>("which");
    int i = 0;
    for (const char* name : {"no record", "one node", "unsorted nodes", "shift 0", "nan node",
                             "custom delta 0", "custom delta tiny", "custom variance 0",
                             "custom gaussian without nodes", "invalid domain record",
                             "custom variance negative", "custom wide gaussians packed densely"})
      QTest::newRow(name) << i++;
  }

  void refusedRecords()
  {
    QFETCH(int, which);
    auto generic = record(6, DH::ShapeTriangle);
    auto custom = record(8, DH::ShapeTriangle).staticCast<DH::Partitions::FuzzyDelta>();
    const auto gaussian = [&](double variance) {
      custom->shape = DH::ShapeGaussian;
      custom->extraParam = variance;
    };
    // clang-format off
    const std::function<void()> cases[] = {
        [&] { generic.reset(); }, [&] { generic->nodes = {0.5}; }, [&] { generic->nodes = {0, 0.5, 0.25, 1}; },
        [&] { generic->shift = 0; }, [&] { generic->nodes[2] = std::nan(""); }, [&] { custom->delta = 0; },
        [&] { custom->delta = 1e-300; }, [&] { custom->extraParam = 0; }, [&] { gaussian(0.1), custom->nodes.clear(); },
        [&] { generic->domain->count = 0; }, [&] { gaussian(-0.1); },
        [&] { // 100,000 Gaussians each covering all 100,001 elements: 80 GB of caches
          gaussian(0.1);
          custom->domain->count = 100000;
          custom->nodes.resize(100000);
          for (int i = 0; i < custom->nodes.size(); ++i)
            custom->nodes[i] = i / 99999.0;
        }};
    // clang-format on
    cases[which]();
    const QSharedPointer<DH::Partitions::PartBase> r =
        which >= 5 && which != 9 ? custom.staticCast<DH::Partitions::PartBase>() : generic;
    AssertionCatcher catcher; // refusing must never reach a math assertion
    std::unique_ptr<MathPartition> part;
    const auto f = catcher.run([&] { part.reset(DH::createPartition(r, nullptr)); });
    QCOMPARE(f.condition, QString());
    QVERIFY(!part);
  }

  // Component cells take finite numbers in the C notation whatever the locale.
  void acceptsOnlyFiniteCNotation()
  {
    QLocale::setDefault(QLocale(QLocale::Czech));
    const QPair<QString, double> cells[] = {
        {"0.5", 0.5}, {"-1.25e-3", -1.25e-3}, {"1,5", NAN}, {"inf", NAN}, {"1e400", NAN}};
    for (const auto& c : cells) {
      EditedComponents store;
      const FnKey key{fakeFn(0), 2};
      QCOMPARE(store.setEdited(key, 2, c.first), !std::isnan(c.second));
      QCOMPARE(store.edits(key).value(2, NAN), c.second);
    }
    QLocale::setDefault(QLocale::c());
  }
};

QTEST_GUILESS_MAIN(TestDataStructures)
#include "tst_data_structures.moc"
