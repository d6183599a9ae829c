#include "math/domains/bilateral.h"
#include "math/domains/enumeration.h"
#include "math/domains/equidistant.h"

#include "assertioncatcher.h"

#include <QtTest>

#include <cmath>
#include <limits>
#include <memory>
#include <random>

using Domains::Bilateral;
using Domains::Enumeration;
using Domains::EnumerationBase;
using Domains::Equidistant;

class TestDomains : public QObject
{
  Q_OBJECT

private slots:
  void equidistantCount_data();
  void equidistantCount();
  void fixedPoint_data();
  void fixedPoint();
  void nearestAgreesWithPlainSearch();
  void findElement();
  void newDomainKeepsClass();
  void elementsBetweenAndSnap();
  void preconditions_data();
  void preconditions();
};

void TestDomains::equidistantCount_data()
{
  QTest::addColumn<double>("low");
  QTest::addColumn<double>("high");
  QTest::addColumn<uint>("parts");
  QTest::addColumn<double>("width");
  QTest::newRow("default") << 0.0 << 1.0 << 2000u << 0.0005;
  QTest::newRow("negative") << -3.0 << 5.0 << 8u << 1.0;
  QTest::newRow("last is high, 3 * 0.1 != 0.3") << 0.0 << 0.3 << 3u << 0.1;
  QTest::newRow("single point") << 2.0 << 2.0 << 0u << 0.0;
}

void TestDomains::equidistantCount()
{
  QFETCH(double, low);
  QFETCH(double, high);
  QFETCH(uint, parts);
  QFETCH(double, width);
  Equidistant<double> d(low, high, parts);
  QCOMPARE(d.size(), std::size_t(parts) + 1);
  QCOMPARE(d.partElementWidth(), width);
  QVERIFY(d.high() == high && d.values().back() == high);
  for (std::size_t i = 0; i + 1 < d.size(); ++i)
    QCOMPARE(d.values()[i], double(i) * width + low);
}

void TestDomains::fixedPoint_data()
{
  QTest::addColumn<double>("p");
  QTest::addColumn<double>("h");
  QTest::addColumn<QVector<double>>("expected");
  QTest::newRow("outer elements outside")
      << 0.3 << 0.25 << QVector<double>{-0.2, 0.05, 0.3, 0.55, 0.8, 1.05};
  QTest::newRow("from low") << 0.0 << 0.5 << QVector<double>{0, 0.5, 1};
  QTest::newRow("from high") << 1.0 << 0.5 << QVector<double>{0, 0.5, 1};
}

void TestDomains::fixedPoint()
{
  QFETCH(double, p);
  QFETCH(double, h);
  QFETCH(QVector<double>, expected);
  Equidistant<double> d(0, 1, p, h);
  QCOMPARE(int(d.size()), expected.size());
  for (int i = 0; i < expected.size(); ++i)
    QVERIFY2(std::abs(d.values()[std::size_t(i)] - expected[i]) < 1e-12,
             qPrintable(QString::number(i)));
  std::unique_ptr<EnumerationBase<double>> copy(d.clone());
  QVERIFY(copy->values() == d.values());
}

void TestDomains::nearestAgreesWithPlainSearch()
{
  // The plain definition: upper bound, then the closer neighbour, ties down.
  const auto plain = [](const std::vector<double>& v, double x) {
    auto next = std::upper_bound(v.begin(), v.end(), x);
    if (next == v.begin())
      return std::size_t(0);
    if (next == v.end())
      return v.size() - 1;
    auto prev = next - 1;
    return std::size_t((std::abs(x - *prev) > std::abs(x - *next) ? next : prev) - v.begin());
  };
  std::mt19937 rng(5);
  std::uniform_real_distribution<double> u(-2, 3);
  Equidistant<double> even(0, 1, 1000);
  std::vector<double> uneven;
  for (int i = 0; i < 500; ++i)
    uneven.push_back(std::pow(u(rng) + 2, 3));
  uneven.push_back(uneven[10]); // duplicates are allowed
  Enumeration<double> clustered(uneven, false);
  Enumeration<double> single({4.0}, true);
  for (const EnumerationBase<double>* d :
       std::vector<const EnumerationBase<double>*>{&even, &clustered, &single}) {
    std::vector<double> probes{std::nan(""), -1e308, 1e308, d->low(), d->high(), HUGE_VAL};
    for (int i = 0; i < 2000; ++i)
      probes.push_back(u(rng) * (d->high() - d->low() + 1) + d->low());
    for (double v : d->values()) {
      probes.push_back(v);
      probes.push_back(std::nextafter(v, 1e300));
    }
    for (double x : probes)
      QCOMPARE(d->nearest(x), plain(d->values(), x));
  }
}

void TestDomains::findElement()
{
  Enumeration<double> d({0.0, 0.25, 0.5}, true);
  const struct
  {
    double x;
    std::size_t pos;
    bool found;
  } cases[] = {{0.3, 2, true}, {0.25, 1, true}, {-1.0, 0, true}, {0.6, 3, false}};
  for (const auto& c : cases) {
    std::size_t pos = 99;
    QCOMPARE(d.findElement(c.x, pos), c.found);
    QCOMPARE(pos, c.pos);
  }
}

void TestDomains::newDomainKeepsClass()
{
  using Owned = std::unique_ptr<EnumerationBase<double>>;
  Equidistant<double> d(0, 1, 4);
  Owned other(d.newDomain({5, 6, 7}));
  auto* eq = dynamic_cast<Equidistant<double>*>(other.get());
  QVERIFY(eq && eq->values() == d.values() && eq->partsCount() == 4u);
  Owned b(Bilateral<double>({-1, 0, 1}, 0).newDomain({-2, 0, 2}));
  QVERIFY(b->isBilateral());
  QCOMPARE(static_cast<Bilateral<double>*>(b.get())->centre(), 0.0);
  Owned e(Enumeration<double>({1, 2}, true).clone());
  QVERIFY(dynamic_cast<Enumeration<double>*>(e.get()));
}

void TestDomains::elementsBetweenAndSnap()
{
  Equidistant<double> d(0, 1, 4);
  QVERIFY((d.elementsBetween(0.2, 0.75) == std::vector<double>{0.25, 0.5, 0.75}));
  QVERIFY((d.elementsBetween(0, 1) == d.values()));
  std::vector<double> v{-1, 0.1, 0.125, 0.9, 3};
  d.snapToDomain(v);
  QVERIFY((v == std::vector<double>{0, 0, 0, 1, 1}));
  EnumerationBase<double> unsorted({3, 1, 2}, false);
  QVERIFY((unsorted.values() == std::vector<double>{1, 2, 3}));
}

void TestDomains::preconditions_data()
{
  QTest::addColumn<int>("which");
  QTest::addColumn<QString>("condition");
  QTest::addColumn<QString>("file");
  const QString eb = "src/math/domains/enumerationbase.h", eq = "src/math/domains/equidistant.h";
  // clang-format off
  QTest::newRow("empty") << 0 << "std_data.size() > 0" << eb;
  QTest::newRow("unsorted") << 1 << "std::is_sorted(_values.begin(), _values.end())" << eb;
  QTest::newRow("low > high") << 2 << "_partElementWidth > 0" << eq;
  QTest::newRow("zero parts") << 3 << "_partElementWidth > 0" << eq;
  QTest::newRow("fixed outside") << 4 << "_low <= _fixedPoint && _fixedPoint <= _high" << eq;
  QTest::newRow("fixed width") << 5 << "_partElementWidth > 0" << eq;
  QTest::newRow("fixed single point") << 6 << "valid" << "src/math/policy.h";
  QTest::newRow("centre") << 7 << "std::find(vals.begin(), vals.end(), centre) != vals.end()" << "src/math/domains/bilateral.h";
  QTest::newRow("between order") << 8 << "left < right" << eb;
  QTest::newRow("between low") << 9 << "this->low() <= left" << eb;
  QTest::newRow("between high") << 10 << "right <= this->high()" << eb;
  // clang-format on
}

void TestDomains::preconditions()
{
  QFETCH(int, which);
  QFETCH(QString, condition);
  QFETCH(QString, file);
  Equidistant<double> d(0, 1, 4);
  // clang-format off
  const std::function<void()> cases[] = {
      [] { EnumerationBase<double>(std::vector<double>{}, false); }, [] { EnumerationBase<double>({2, 1}, true); },
      [] { Equidistant<double>(1, 0, 4u); }, [] { Equidistant<double>(0, 1, 0u); },
      [] { Equidistant<double>(0, 1, 2.0, 0.25); }, [] { Equidistant<double>(0, 1, 0.5, 0.0); },
      [] { Equidistant<double>(1, 1, 1.0, 0.5); }, [] { Bilateral<double>({1, 2}, 3); },
      [&] { d.elementsBetween(0.5, 0.5); }, [&] { d.elementsBetween(-0.5, 0.5); }, [&] { d.elementsBetween(0.5, 1.5); }};
  // clang-format on
  AssertionCatcher catcher;
  const AssertionCatcher::Failure f = catcher.run(cases[which]);
  QCOMPARE(f.condition, condition);
  QCOMPARE(f.file, file);
  if (which == 6)
    QCOMPARE(f.message, QString("Domain has zero elements of discretization."));
}

QTEST_APPLESS_MAIN(TestDomains)
#include "tst_domains.moc"
