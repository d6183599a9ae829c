#include "gui/ftransform_widgets/data_structures.h"

#include "math/domains/equidistant.h"
#include "math/fuzzy_sets/gaussian.h"
#include "math/fuzzy_sets/sinalternate.h"
#include "math/fuzzy_sets/trianglealternate.h"
#include "math/partitions/fuzzypartition.h"

#include "math/assertioncatcher.h"

#include <QtTest>

#include <cmath>
#include <limits>
#include <memory>

namespace DH = DataHolders;
using MathPartition = ::Partitions::PartitionBase<double, double>;
using MathDomain = ::Domains::EnumerationBase<double>;

namespace {

QSharedPointer<DH::Partitions::PartBase> record(int kind, int shape)
{
  QSharedPointer<DH::Partitions::FuzzyPartBase> r;
  switch (kind) {
  case DH::KindGenericRuspini:
    r.reset(new DH::Partitions::FuzzyEq);
    break;
  case DH::KindEquidistantRuspini:
    r.reset(new DH::Partitions::FuzzyPt);
    break;
  default:
    r.reset(new DH::Partitions::FuzzyDelta);
    break;
  }
  r->shape = shape;
  if (shape == DH::ShapeTrapezoid)
    r->shift = 2;
  return r;
}

} // namespace

class TestDataStructures : public QObject
{
  Q_OBJECT

private slots:
  void defaults();
  void partitionTypeNames_data();
  void partitionTypeNames();
  void degreeNames_data();
  void degreeNames();
  void degreeNameRefusesOtherFlags_data();
  void degreeNameRefusesOtherFlags();
  void domains_data();
  void domains();
  void partitions_data();
  void partitions();
  void customGaussianSpacing();
  void customTriangleNodes();
  void partitionOnGivenDomain();
  void refusedRecords_data();
  void refusedRecords();
};

void TestDataStructures::defaults()
{
  DH::Domains::Equid d;
  QCOMPARE(d.type, 1);
  QCOMPARE(d.count, 2000);
  DH::Partitions::FuzzyEq eq;
  QCOMPARE(eq.type, 6);
  QCOMPARE(eq.componentCount, 5);
  QCOMPARE(eq.shift, 1);
  QCOMPARE(eq.offset, -1);
  QCOMPARE(eq.nodes, (QVector<double>{0, 0.25, 0.5, 0.75, 1}));
  DH::Partitions::FuzzyPt pt;
  QCOMPARE(pt.type, 7);
  QCOMPARE(pt.partElementWidth, 0.25);
  DH::Partitions::FuzzyDelta delta;
  QCOMPARE(delta.type, 8);
  QCOMPARE(delta.shape, 2);
  QCOMPARE(delta.extraParam, 0.1);
}

void TestDataStructures::partitionTypeNames_data()
{
  QTest::addColumn<int>("kind");
  QTest::addColumn<QString>("name");
  QTest::newRow("6") << 6 << "GenericRuspini";
  QTest::newRow("7") << 7 << "EquidistantRuspini";
  QTest::newRow("8") << 8 << "CustomPartition";
  QTest::newRow("domain") << 1 << "InvalidType";
  QTest::newRow("negative") << -6 << "InvalidType";
}

void TestDataStructures::partitionTypeNames()
{
  QFETCH(int, kind);
  QFETCH(QString, name);
  QCOMPARE(DH::partitionTypeName(kind), name);
}

void TestDataStructures::degreeNames_data()
{
  QTest::addColumn<int>("flag");
  QTest::addColumn<QString>("name");
  QTest::newRow("1") << 1 << "0";
  QTest::newRow("2") << 2 << "1";
  QTest::newRow("4") << 4 << "2";
  QTest::newRow("8") << 8 << "3";
}

void TestDataStructures::degreeNames()
{
  QFETCH(int, flag);
  QFETCH(QString, name);
  QCOMPARE(DH::degreeName(flag), name);
}

void TestDataStructures::degreeNameRefusesOtherFlags_data()
{
  QTest::addColumn<int>("flag");
  QTest::newRow("0") << 0;
  QTest::newRow("combination") << 3;
  QTest::newRow("16") << 16;
  QTest::newRow("negative") << -1;
}

void TestDataStructures::degreeNameRefusesOtherFlags()
{
  QFETCH(int, flag);
  AssertionCatcher catcher;
  const auto f = catcher.run([&] { DH::degreeName(flag); });
  QVERIFY(!f.condition.isEmpty());
  QCOMPARE(f.file, QString("src/gui/ftransform_widgets/data_structures.h"));
}

void TestDataStructures::domains_data()
{
  QTest::addColumn<double>("low");
  QTest::addColumn<double>("high");
  QTest::addColumn<int>("count");
  QTest::addColumn<bool>("valid");
  QTest::newRow("default") << 0.0 << 1.0 << 2000 << true;
  QTest::newRow("low = high") << 1.0 << 1.0 << 10 << false;
  QTest::newRow("low > high") << 2.0 << 1.0 << 10 << false;
  QTest::newRow("count 0") << 0.0 << 1.0 << 0 << false;
  QTest::newRow("negative count") << 0.0 << 1.0 << -5 << false;
  QTest::newRow("huge count") << 0.0 << 1.0 << 2000000000 << false;
  QTest::newRow("infinite") << 0.0 << std::numeric_limits<double>::infinity() << 10 << false;
  QTest::newRow("nan") << std::nan("") << 1.0 << 10 << false;
}

void TestDataStructures::domains()
{
  QFETCH(double, low);
  QFETCH(double, high);
  QFETCH(int, count);
  QFETCH(bool, valid);
  QSharedPointer<DH::Domains::Equid> r(new DH::Domains::Equid);
  r->low = low;
  r->high = high;
  r->count = count;
  std::unique_ptr<MathDomain> d(DH::createDomain(r));
  QCOMPARE(bool(d), valid);
  if (valid) {
    QCOMPARE(d->size(), std::size_t(count) + 1);
    QCOMPARE(d->low(), low);
    QCOMPARE(d->high(), high);
    QVERIFY(dynamic_cast<::Domains::Equidistant<double>*>(d.get()));
  }
  QVERIFY(!DH::createDomain(DataHolderBase()));
  QVERIFY(!DH::createDomain(DataHolderBase(new DH::Partitions::FuzzyEq)));
}

void TestDataStructures::partitions_data()
{
  QTest::addColumn<int>("kind");
  QTest::addColumn<int>("shape");
  QTest::addColumn<int>("functions"); // -1: no partition
  QTest::newRow("generic triangle") << 6 << 0 << 5;
  QTest::newRow("generic sine") << 6 << 1 << 5;
  QTest::newRow("generic gaussian") << 6 << 2 << -1;
  QTest::newRow("generic trapezoid") << 6 << 3 << 3;
  QTest::newRow("equidistant triangle") << 7 << 0 << 5;
  QTest::newRow("equidistant gaussian") << 7 << 2 << -1;
  QTest::newRow("custom triangle") << 8 << 0 << 5;
  QTest::newRow("custom sine") << 8 << 1 << 5;
  QTest::newRow("custom gaussian") << 8 << 2 << 5;
  QTest::newRow("custom trapezoid") << 8 << 3 << -1;
  QTest::newRow("unknown shape") << 6 << 4 << -1;
}

void TestDataStructures::partitions()
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
  if (kind != 8) {
    std::vector<double> sums(part->domain()->size(), 0.0);
    for (auto* fn : part->allFce())
      for (std::size_t i = 0; i < sums.size(); ++i)
        sums[i] += fn->valueAtIndex(i);
    for (double s : sums)
      QVERIFY(std::abs(s - 1) < 1e-12);
  }
}

void TestDataStructures::customGaussianSpacing()
{
  auto r = record(8, DH::ShapeGaussian).staticCast<DH::Partitions::FuzzyDelta>();
  r->delta = 17; // not used for the Gaussian
  r->extraParam = 0.05;
  r->nodes = {0.1, 0.3, 0.5, 0.6, 0.95};
  std::unique_ptr<MathDomain> d(DH::createDomain(r->domain));
  // The layout distance, as the builder computes it.
  {
    Fn::MathFnCachedFormula<double, double, FuzzySets::Gaussian<double, double>> proto(d.get());
    proto.setParam(1, 0.05);
    ::Partitions::FuzzyPartition<
        Fn::MathFnCachedFormula<double, double, FuzzySets::Gaussian<double, double>>>
        layout(d.get(), &proto, 0.24999999975);
    QCOMPARE(layout.fceCount(), std::size_t(5));
    QVERIFY(std::abs(layout.nodes()[4] - 4 * 0.24999999975) < 1e-12);
  }
  std::unique_ptr<MathPartition> part(DH::createPartition(r, d.get()));
  QVERIFY(part);
  QCOMPARE(part->fceCount(), std::size_t(5));
  QVERIFY((part->nodes() == std::vector<double>{0.1, 0.3, 0.5, 0.6, 0.95}));
  for (std::size_t k = 0; k < 5; ++k) {
    QCOMPARE(part->allFce()[k]->param(0), part->nodes()[k]);
    QCOMPARE(part->allFce()[k]->param(1), 0.05);
  }
}

void TestDataStructures::customTriangleNodes()
{
  auto r = record(8, DH::ShapeTriangle).staticCast<DH::Partitions::FuzzyDelta>();
  r->delta = 0.3;
  r->extraParam = 0.2;
  r->nodes = {0.05, 0.3, 0.7, 0.85};
  std::unique_ptr<MathPartition> part(DH::createPartition(r, nullptr));
  QVERIFY(part);
  QCOMPARE(part->fceCount(), std::size_t(4));
  QVERIFY((part->nodes() == std::vector<double>{0.05, 0.3, 0.7, 0.85}));
  QVERIFY((dynamic_cast<FuzzySets::TriangleAlternate<double, double>*>(part->allFce()[0])));
  QCOMPARE(part->allFce()[2]->valueAtIndex(1400), 1.0);
  QCOMPARE(part->allFce()[2]->param(1), 0.2);
}

void TestDataStructures::partitionOnGivenDomain()
{
  ::Domains::Equidistant<double> d(0, 1, 100);
  auto r = record(6, DH::ShapeTriangle);
  std::unique_ptr<MathPartition> part(DH::createPartition(r, &d));
  QVERIFY(part);
  QCOMPARE(part->domain(), static_cast<const MathDomain*>(&d));
  part->moveNode(2, 0.4);
  QCOMPARE(part->allFce()[2]->param(1), 0.4);
}

void TestDataStructures::refusedRecords_data()
{
  QTest::addColumn<int>("which");
  QTest::newRow("no record") << 0;
  QTest::newRow("one node") << 1;
  QTest::newRow("unsorted nodes") << 2;
  QTest::newRow("shift 0") << 3;
  QTest::newRow("nan node") << 4;
  QTest::newRow("custom delta 0") << 5;
  QTest::newRow("custom delta tiny") << 6;
  QTest::newRow("custom variance 0") << 7;
  QTest::newRow("custom gaussian without nodes") << 8;
  QTest::newRow("invalid domain record") << 9;
  QTest::newRow("custom variance negative") << 10;
  QTest::newRow("custom wide gaussians packed densely") << 11;
}

void TestDataStructures::refusedRecords()
{
  QFETCH(int, which);
  auto generic = record(6, DH::ShapeTriangle).staticCast<DH::Partitions::FuzzyPartBase>();
  auto custom = record(8, DH::ShapeTriangle).staticCast<DH::Partitions::FuzzyDelta>();
  QSharedPointer<DH::Partitions::PartBase> r = generic;
  switch (which) {
  case 0:
    r.reset();
    break;
  case 1:
    generic->nodes = {0.5};
    break;
  case 2:
    generic->nodes = {0, 0.5, 0.25, 1};
    break;
  case 3:
    generic->shift = 0;
    break;
  case 4:
    generic->nodes[2] = std::nan("");
    break;
  case 5:
    custom->delta = 0;
    r = custom;
    break;
  case 6:
    custom->delta = 1e-300;
    r = custom;
    break;
  case 7:
    custom->extraParam = 0;
    r = custom;
    break;
  case 8:
    custom->shape = DH::ShapeGaussian;
    custom->nodes.clear();
    r = custom;
    break;
  case 9:
    generic->domain->count = 0;
    break;
  case 10:
    custom->shape = DH::ShapeGaussian;
    custom->extraParam = -0.1;
    r = custom;
    break;
  case 11: // 100,000 Gaussians each covering all 100,001 elements: 80 GB of caches
    custom->shape = DH::ShapeGaussian;
    custom->domain->count = 100000;
    custom->nodes.resize(100000);
    for (int i = 0; i < custom->nodes.size(); ++i)
      custom->nodes[i] = i / 99999.0;
    r = custom;
    break;
  }
  AssertionCatcher catcher; // refusing must never reach a math assertion
  std::unique_ptr<MathPartition> part;
  const auto f = catcher.run([&] { part.reset(DH::createPartition(r, nullptr)); });
  QCOMPARE(f.condition, QString());
  QVERIFY(!part);
}

QTEST_APPLESS_MAIN(TestDataStructures)
#include "tst_data_structures.moc"
