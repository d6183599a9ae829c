#include "common/datatable.h"
#include "math/domains/enumeration.h"
#include "math/domains/equidistant.h"

#include <QtTest>

#include <cmath>
#include <random>

using Counts = DataTable<double, double, uint, double>;
using Domains::Enumeration;
using Domains::EnumerationBase;
using Domains::Equidistant;

class TestDomains : public QObject
{
  Q_OBJECT

private slots:
  void equidistantCount_data();
  void equidistantCount();
  void nearestAgreesWithPlainSearch();
};

void TestDomains::equidistantCount_data()
{
  Counts::declare(); // low, high, parts, width
  QTest::newRow("default") << 0.0 << 1.0 << 2000u << 0.0005;
  QTest::newRow("negative") << -3.0 << 5.0 << 8u << 1.0;
  QTest::newRow("last is high, 3 * 0.1 != 0.3") << 0.0 << 0.3 << 3u << 0.1;
  QTest::newRow("single point") << 2.0 << 2.0 << 0u << 0.0;
}

void TestDomains::equidistantCount()
{
  const auto [low, high, parts, width] = Counts::fetch();
  Equidistant<double> d(low, high, parts);
  QCOMPARE(d.size(), std::size_t(parts) + 1);
  QCOMPARE(d.partElementWidth(), width);
  QVERIFY(d.high() == high && d.values().back() == high);
  for (std::size_t i = 0; i + 1 < d.size(); ++i)
    QCOMPARE(d.values()[i], double(i) * width + low);
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

QTEST_APPLESS_MAIN(TestDomains)
#include "tst_domains.moc"
