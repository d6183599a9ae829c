#include "gui/ftransform_widgets/nodelayout.h"
#include "math/domains/equidistant.h"

#include <QtTest>

#include <cmath>
#include <limits>

using namespace DataHolders;
using DomainPtr = QSharedPointer<DataHolders::Domains::Equid>;
namespace DP = DataHolders::Partitions;

namespace {

DomainPtr domain(double low, double high, int count = 2000)
{
  DomainPtr d(new DataHolders::Domains::Equid);
  d->low = low;
  d->high = high;
  d->count = count;
  return d;
}

bool fuzzyEqual(const QVector<double>& a, const QVector<double>& b)
{
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](double x, double y) {
           return std::abs(x - y) <= 1e-12;
         });
}

const double kNan = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

} // namespace

class TestNodeLayout : public QObject
{
  Q_OBJECT

private slots:
  // p = {low, high, a, b}; kind g: genericNodes(count = a); f: fixedPointNodes(point = a,
  // step = b); d: deltaNodes(delta = a)
  void layouts_data()
  {
    QTest::addColumn<char>("kind");
    QTest::addColumn<QVector<double>>("p");
    QTest::addColumn<QVector<double>>("expected");
    // clang-format off
    QTest::newRow("one generic node is the midpoint") << 'g' << QVector<double>{2.0, 4.0, 1.0, 0.0} << QVector<double>{3};
    QTest::newRow("too many generic nodes") << 'g' << QVector<double>{0.0, 1.0, maxNodeCount + 1.0, 0.0} << QVector<double>{};
    QTest::newRow("generic, nan") << 'g' << QVector<double>{kNan, 1.0, 5.0, 0.0} << QVector<double>{};
    QTest::newRow("generic, overflowing width") << 'g' << QVector<double>{-1e308, 1e308, 5.0, 0.0} << QVector<double>{};
    QTest::newRow("points beyond both ends") << 'f' << QVector<double>{0.0, 1.0, 0.3, 0.25} << QVector<double>{-0.2, 0.05, 0.3, 0.55, 0.8, 1.05};
    QTest::newRow("step wider than the range") << 'f' << QVector<double>{0.0, 1.0, 0.5, 3.0} << QVector<double>{-2.5, 0.5, 3.5};
    QTest::newRow("zero step") << 'f' << QVector<double>{0.0, 1.0, 0.5, 0.0} << QVector<double>{};
    QTest::newRow("nan step") << 'f' << QVector<double>{0.0, 1.0, 0.5, kNan} << QVector<double>{};
    QTest::newRow("point above") << 'f' << QVector<double>{0.0, 1.0, 1.1, 0.25} << QVector<double>{};
    QTest::newRow("single point range") << 'f' << QVector<double>{1.0, 1.0, 1.0, 0.25} << QVector<double>{};
    QTest::newRow("explodes") << 'f' << QVector<double>{0.0, 1.0, 0.5, 1e-12} << QVector<double>{};
    QTest::newRow("delta, high not reached") << 'd' << QVector<double>{0.0, 1.0, 0.3, 0.0} << QVector<double>{0, 0.3, 0.6, 0.9};
    QTest::newRow("delta, tenths reach high") << 'd' << QVector<double>{0.0, 1.0, 0.1, 0.0} << QVector<double>{0, 0.1, 0.2, 0.3, 0.4, 0.5, 0.6, 0.7, 0.8, 0.9, 1};
    QTest::newRow("delta, tenths from 1 reach 2") << 'd' << QVector<double>{1.0, 2.0, 0.1, 0.0} << QVector<double>{1, 1.1, 1.2, 1.3, 1.4, 1.5, 1.6, 1.7, 1.8, 1.9, 2};
    QTest::newRow("delta wider than range") << 'd' << QVector<double>{2.0, 3.0, 5.0, 0.0} << QVector<double>{2};
    QTest::newRow("delta explodes") << 'd' << QVector<double>{0.0, 1e6, 1e-6, 0.0} << QVector<double>{};
    // clang-format on
  }

  void layouts()
  {
    QFETCH(char, kind);
    QFETCH(QVector<double>, p);
    QFETCH(QVector<double>, expected);
    const auto d = domain(p[0], p[1]);
    const double a = p[2], b = p[3];
    const QVector<double> nodes = kind == 'g'   ? genericNodes(*d, int(a))
                                  : kind == 'f' ? fixedPointNodes(*d, a, b)
                                                : deltaNodes(*d, a);
    QVERIFY2(fuzzyEqual(nodes, expected), qPrintable(QStringLiteral("%1 nodes").arg(nodes.size())));
  }

  void sameAsEquidistantDomain_data()
  {
    QTest::addColumn<QVector<double>>("p"); // low, high, count, fixed point, h
    QTest::newRow("unit") << QVector<double>{0, 1, 5, 0.3, 0.25};
    QTest::newRow("awkward") << QVector<double>{-0.7, 2.3, 37, 0.1, 0.07};
    QTest::newRow("many") << QVector<double>{0, 0.3, 10001, 0.3, 0.3 / 9999};
  }

  // The widgets, the tool and the partition plot must see the very same points
  // as the math domains, not merely close ones.
  void sameAsEquidistantDomain()
  {
    QFETCH(QVector<double>, p);
    const double low = p[0], high = p[1], fixedPoint = p[3], h = p[4];
    const int count = int(p[2]);
    const auto d = domain(low, high);

    const ::Domains::Equidistant<double> byCount(low, high, unsigned(count - 1));
    const QVector<double> generic = genericNodes(*d, count);
    QCOMPARE(std::vector<double>(generic.begin(), generic.end()), byCount.values());

    const ::Domains::Equidistant<double> byPoint(low, high, fixedPoint, h);
    const QVector<double> fixed = fixedPointNodes(*d, fixedPoint, h);
    QCOMPARE(std::vector<double>(fixed.begin(), fixed.end()), byPoint.values());
  }

  void stalledStepIsRefused()
  {
    // Two ulps of range at 1e20; a step below the spacing of doubles there
    // never moves the point, which would loop for ever without the guard.
    const double low = 1e20;
    const double high = std::nextafter(std::nextafter(low, kInf), kInf);
    const auto d = domain(low, high);
    QVERIFY(fixedPointNodes(*d, low, (high - low) / 1000).isEmpty());
    QVERIFY(fixedPointNodes(*d, low, high - low).size() >= 2);
    QVERIFY(deltaNodes(*d, (high - low) / 1000).isEmpty());
  }

  void nodesValidity_data()
  {
    QTest::addColumn<QVector<double>>("nodes");
    QTest::addColumn<bool>("valid");

    QTest::newRow("one node") << QVector<double>{0.5} << false;
    QTest::newRow("two nodes") << QVector<double>{0, 1} << true;
    QTest::newRow("unsorted") << QVector<double>{0, 0.75, 0.5, 1} << false;
    QTest::newRow("below low") << QVector<double>{-0.1, 0.5, 1} << false;
    QTest::newRow("nan") << QVector<double>{0, kNan, 1} << false;
  }

  void nodesValidity()
  {
    QFETCH(QVector<double>, nodes);
    QFETCH(bool, valid);
    QString why;
    QCOMPARE(nodesValid(nodes, *domain(0, 1), &why), valid);
    QCOMPARE(why.isEmpty(), valid);
  }

  void fixedDomainChange_data()
  {
    QTest::addColumn<QVector<double>>("p"); // low, high, expected h, expected fixed point
    QTest::newRow("same range keeps the point") << QVector<double>{0, 1, 0.25, 0.4};
    QTest::newRow("new range moves it to low + h") << QVector<double>{2, 3, 0.25, 2.25};
    QTest::newRow("shrunk range clamps h first") << QVector<double>{0, 0.1, 0.1, 0.1};
    QTest::newRow("grown range raises h") << QVector<double>{0, 1e6, 100, 100};
  }

  void fixedDomainChange()
  {
    QFETCH(QVector<double>, p);
    const double width = p[2], fixedPoint = p[3];
    DP::FuzzyPt record;
    record.fixedPoint = 0.4;
    const auto d = domain(p[0], p[1]);
    QVERIFY(DP::setDomain(record, d));
    QCOMPARE(record.partElementWidth, width);
    QCOMPARE(record.fixedPoint, fixedPoint);
    QCOMPARE(record.nodes, fixedPointNodes(*d, fixedPoint, width));
  }

  void deltaDomainChange()
  {
    DP::FuzzyDelta record;
    record.extraParam = 1e-9;
    QVERIFY(DP::setDomain(record, domain(0, 1e6)));
    QCOMPARE(record.delta, 100.0);
    QCOMPARE(record.extraParam, 0.01);
    QCOMPARE(record.nodes.size(), 10001);
    record.extraParam = 7;
    QVERIFY(DP::setDomain(record, domain(0, 2)));
    QCOMPARE(record.delta, 2.0);
    QCOMPARE(record.extraParam, 7.0);
    QCOMPARE(record.nodes, (QVector<double>{0, 2}));
    DP::FuzzyEq generic;
    generic.componentCount = 3;
    QVERIFY(DP::setDomain(generic, domain(-2, 2)));
    QCOMPARE(generic.nodes, (QVector<double>{-2, 0, 2}));
  }

  void invalidDomainChangesNothing()
  {
    DP::FuzzyEq eq;
    DP::FuzzyPt pt;
    DP::FuzzyDelta delta;
    const auto before = eq.domain;
    for (const DomainPtr& bad : std::initializer_list<DomainPtr>{
             DomainPtr(), domain(1, 1), domain(kNan, 1), domain(0, kInf)}) {
      QVERIFY(!DP::setDomain(eq, bad) && !DP::setDomain(pt, bad) && !DP::setDomain(delta, bad));
      QVERIFY(!DP::resetToDomain(pt, bad));
    }
    QCOMPARE(pt.partElementWidth, 0.25);
    QCOMPARE(delta.nodes.size(), 5);
    eq.componentCount = 0;
    QVERIFY(!DP::setDomain(eq, domain(0, 2)));
    QCOMPARE(eq.domain, before);
  }

  void resetToDomain()
  {
    const auto d = domain(2, 6);
    DP::FuzzyEq eq;
    eq.componentCount = eq.chosenComponentCount = 9; // the user's count is forgotten
    DP::FuzzyPt pt;
    DP::FuzzyDelta delta;
    QVERIFY(DP::resetToDomain(eq, d) && DP::resetToDomain(pt, d) && DP::resetToDomain(delta, d));
    QCOMPARE(QPair(eq.componentCount, eq.chosenComponentCount), QPair(5, 0));
    QCOMPARE(pt.fixedPoint, 2.0);
    QCOMPARE(delta.extraParam, 0.5);
    for (auto* r : std::initializer_list<DP::FuzzyPartBase*>{&eq, &pt, &delta}) {
      QCOMPARE(r->domain, d);
      QCOMPARE(r->nodes, (QVector<double>{2, 3, 4, 5, 6}));
      QCOMPARE(DP::layoutNodes(*r), r->nodes);
    }
    pt.domain.reset();
    QVERIFY(DP::layoutNodes(pt).isEmpty());
  }
};

QTEST_APPLESS_MAIN(TestNodeLayout)
#include "tst_nodelayout.moc"
