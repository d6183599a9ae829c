// The error measures against plain loops, the incremental update against a
// fresh computation, what the errors of the F-transform are near and away
// from the ends, and the convergence study's count lists and order estimate
// (the orders of whole studies are checked with the study).
#include "analysis/convergencestudy.h"
#include "analysis/errormeasure.h"
#include "common/datatable.h"
#include "math/domains/equidistant.h"

#include <QtTest>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>

namespace {

using Analysis::ErrorMeasure;
using Vec = std::vector<double>;
const double NaN = std::numeric_limits<double>::quiet_NaN();
const double Inf = std::numeric_limits<double>::infinity();

// The definition, written out; long double holds the squares of 1e300.
ErrorMeasure direct(const Vec& x, const Vec& f, const Vec& g)
{
  ErrorMeasure m;
  long double sum = 0;
  for (std::size_t i = 0; i < x.size(); ++i) {
    if (!std::isfinite(f[i]) || !std::isfinite(g[i]))
      continue;
    const double e = f[i] - g[i];
    sum += (long double)e * e;
    if (m.points == 0 || std::fabs(e) > m.maxAbs) {
      m.maxAbs = std::fabs(e);
      m.argMax = x[i];
    }
    ++m.points;
  }
  if (m.points > 0)
    m.rmse = double(std::sqrt(sum / m.points));
  return m;
}

Vec points(std::size_t n)
{
  Vec x(n);
  for (std::size_t i = 0; i < n; ++i)
    x[i] = double(i) / double(n > 1 ? n - 1 : 1);
  return x;
}

bool sameBits(const ErrorMeasure& a, const ErrorMeasure& b)
{
  return std::memcmp(&a.maxAbs, &b.maxAbs, sizeof(double)) == 0 &&
         std::memcmp(&a.rmse, &b.rmse, sizeof(double)) == 0 &&
         std::memcmp(&a.argMax, &b.argMax, sizeof(double)) == 0 && a.points == b.points;
}

using TransformErrors = DataTable<int, int, bool, double, double, double, double, double>;

} // namespace

class TestErrorMeasure : public QObject
{
  Q_OBJECT

private slots:
  void againstDirectLoop_data()
  {
    QTest::addColumn<Vec>("f");
    QTest::addColumn<Vec>("g");
    std::mt19937 rng(7);
    std::normal_distribution<double> normal;
    Vec f(5000), g(5000);
    for (std::size_t i = 0; i < f.size(); ++i) {
      f[i] = normal(rng);
      g[i] = normal(rng) * 1e-3 + f[i];
    }
    f[17] = NaN, g[300] = Inf, f[4096] = -Inf, g[4097] = NaN;
    QTest::newRow("several blocks, non-finite points left out") << f << g;
    QTest::newRow("ties: the first point") << Vec{0, 1, 2, 3, 4} << Vec{0, 2, 1, 4, 3};
    Vec late(4100, 1.0);
    late[4099] = 3;
    QTest::newRow("maximum in the last block") << late << Vec(4100, 1.0);
    QTest::newRow("no finite point") << Vec{NaN, 1, Inf} << Vec{0, NaN, 1};
    QTest::newRow("squares beyond double") << Vec{3e200, -1e200, 0} << Vec{0, 0, 4e200};
    QTest::newRow("squares below double") << Vec{3e-200, 1e-201, 0} << Vec{0, 0, 0};
    QTest::newRow("difference overflows") << Vec{1e308, 0} << Vec{-1e308, 0};
  }

  void againstDirectLoop()
  {
    QFETCH(Vec, f);
    QFETCH(Vec, g);
    const Vec x = points(f.size());
    const ErrorMeasure want = direct(x, f, g);
    const ErrorMeasure got = Analysis::measureError(x.data(), f.data(), g.data(), x.size());
    QCOMPARE(got.points, want.points);
    if (want.points == 0) {
      QVERIFY(std::isnan(got.maxAbs) && std::isnan(got.rmse) && std::isnan(got.argMax));
      return;
    }
    QCOMPARE(got.maxAbs, want.maxAbs);
    QCOMPARE(got.argMax, want.argMax);
    QCOMPARE(x[got.argIndex], got.argMax);
    if (std::isfinite(want.rmse) && want.rmse > 0)
      QVERIFY2(std::fabs(got.rmse / want.rmse - 1) < 1e-13, qPrintable(QString::number(got.rmse)));
    else
      QCOMPARE(got.rmse, want.rmse);
  }

  // Updates of random ranges in any order end bit for bit where a fresh
  // computation of the same values does.
  void incrementalUpdateIsFresh()
  {
    std::mt19937 rng(11);
    std::uniform_real_distribution<double> u(-1, 1);
    const std::size_t n = 10001;
    const Vec x = points(n);
    Vec f(n), g(n);
    for (std::size_t i = 0; i < n; ++i)
      f[i] = std::sin(7 * x[i]), g[i] = f[i] + 1e-3 * u(rng);
    Analysis::ErrorTracker t;
    t.updateAll(x.data(), f.data(), g.data(), n);
    for (int step = 0; step < 300; ++step) {
      const std::size_t from = rng() % n, to = std::min(n, from + 1 + rng() % 700);
      for (std::size_t i = from; i < to; ++i)
        g[i] = step % 50 == 0 ? NaN : f[i] + 1e-3 * u(rng) * (1 + step % 7);
      t.update(x.data(), f.data(), g.data(), n, from, to);
      QVERIFY(sameBits(t.result(), Analysis::measureError(x.data(), f.data(), g.data(), n)));
    }
    // Another size starts afresh whatever range is given.
    t.update(x.data(), f.data(), g.data(), 5000, 10, 20);
    QVERIFY(sameBits(t.result(), Analysis::measureError(x.data(), f.data(), g.data(), 5000)));
  }

  // Five triangles on [0, 1] (h = 0.25), 2,001 points, measured on ranges.
  // The bases orthogonal on the points reproduce a line everywhere. The closed
  // forms do only away from the ends: at the half triangles the degree-1
  // basis is not orthogonal to constants, and what that costs is pinned here.
  void transformErrors_data()
  {
    // function (0: f = 2, 1: f = x), degree, closedForms, from, to, maxAbs, argMax, tolerance
    TransformErrors::declare();
    // clang-format off
    QTest::newRow("linear, degree 1, everywhere") << 1 << 1 << false << 0.0 << 1.0 << 0.0 << -1.0 << 1e-12;
    QTest::newRow("closed forms, constant, degree 1, inner range") << 0 << 1 << true << 0.25 << 0.75 << 0.0 << -1.0 << 1e-12;
    // The closed forms of degrees 2 and 3 are orthogonal for the continuous
    // triangle, not for the sums over its 501 points.
    QTest::newRow("closed forms, constant, degree 3, inner range") << 0 << 3 << true << 0.25 << 0.75 << 0.0 << -1.0 << 1e-5;
    // e = -(2c/h) A0(x) (x - x0): c/2 in the middle of the half triangle.
    QTest::newRow("closed forms, constant, degree 1, first half triangle") << 0 << 1 << true << 0.0 << 0.25 << 1.0 << 0.125 << 1e-12;
    QTest::newRow("closed forms, linear, degree 1, inner range") << 1 << 1 << true << 0.25 << 0.75 << 0.0 << -1.0 << 1e-12;
    // The degree-0 component of a half triangle is its centroid, about h/3
    // off the end; at x0 = 0 the degree-1 term does not move it.
    QTest::newRow("linear, degree 0, first half triangle") << 1 << 0 << false << 0.0 << 0.25 << 0.25 / 3 << 0.0 << 2e-4;
    QTest::newRow("closed forms, linear, degree 1, first half triangle") << 1 << 1 << true << 0.0 << 0.25 << 0.25 / 3 << 0.0 << 2e-4;
    // At the other end x_N = 1 enters: e(s) = (s/h)((2 x_N/h)(s - h) + h/3),
    // largest where s = 0.1198 (from x = 0.75).
    QTest::newRow("closed forms, linear, degree 1, last half triangle") << 1 << 1 << true << 0.75 << 1.0 << -1.0 << 0.8695 << 2e-4;
    // clang-format on
  }

  void transformErrors()
  {
    auto [function, degree, closedForms, from, to, maxAbs, argMax, tolerance] =
        TransformErrors::fetch();
    const Domains::Equidistant<double> domain(0.0, 1.0, 2000u);
    const Vec& x = domain.values();
    Vec f;
    for (double v : x)
      f.push_back(function == 0 ? 2.0 : v);
    Analysis::StudyLayout layout;
    if (closedForms)
      layout.basis = Fn::HigherDegreeBasis::ClosedForm;
    const Analysis::ConvergenceStudy study(
        std::unique_ptr<const Domains::EnumerationBase<double>>(domain.clone()), {f}, layout,
        degree);
    std::vector<Vec> inverses;
    QString why;
    QVERIFY(study.inverses(5, 0, &inverses, &why));
    const std::size_t a = domain.nearest(from), b = domain.nearest(to) + 1;
    const Vec& g = inverses[std::size_t(degree)];
    const ErrorMeasure e = Analysis::measureError(x.data() + a, f.data() + a, g.data() + a, b - a);
    if (maxAbs < 0) { // the formula of the last half triangle
      const double h = 0.25;
      double largest = 0;
      for (std::size_t i = a; i < b; ++i) {
        const double s = x[i] - 0.75;
        largest = std::max(largest, std::fabs(s / h * (2 / h * (s - h) + h / 3)));
      }
      maxAbs = largest;
    }
    QVERIFY2(std::fabs(e.maxAbs - maxAbs) < tolerance,
             qPrintable(QString::number(e.maxAbs, 'g', 17)));
    if (maxAbs > tolerance)
      QVERIFY2(std::fabs(e.argMax - argMax) < 1e-3, qPrintable(QString::number(e.argMax)));
  }

  void countLists_data()
  {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("counts"); // "" when refused
    // clang-format off
    QTest::newRow("spaces allowed") << " 4, 8 ,16" << "4, 8, 16";
    QTest::newRow("largest") << "2,2000" << "2, 2000";
    QTest::newRow("repeat") << "4,4" << "";
    QTest::newRow("descending") << "8,4" << "";
    QTest::newRow("below 2") << "1,5" << "";
    QTest::newRow("above the domain") << "5,2001" << "";
    QTest::newRow("not whole") << "4,5.5" << "";
    QTest::newRow("empty entry") << "4,,8" << "";
    QTest::newRow("nothing") << "" << "";
    // clang-format on
  }

  void countLists()
  {
    QFETCH(QString, text);
    QFETCH(QString, counts);
    std::vector<int> parsed;
    QString why;
    QCOMPARE(Analysis::parseCounts(text, 2000, &parsed, &why), !counts.isEmpty());
    if (counts.isEmpty())
      QVERIFY(!why.isEmpty());
    else
      QCOMPARE(Analysis::countsText(parsed), counts);
  }

  void defaultCountsAndOrder()
  {
    // The default counts are a list the parser takes back.
    std::vector<int> parsed;
    QString why;
    QVERIFY(Analysis::parseCounts(Analysis::countsText(Analysis::defaultCounts(2000)), 2000,
                                  &parsed, &why));
    QCOMPARE(Analysis::defaultCounts(3), std::vector<int>{3});
    QVERIFY(Analysis::defaultCounts(1).empty());
    // The finer half only, and errors a log cannot take are left out.
    QCOMPARE(Analysis::empiricalOrder({2, 4, 8, 16}, {5, 1, 1.0 / 64, 1.0 / 512}).order, 3.0);
    QVERIFY(std::isnan(Analysis::empiricalOrder({2, 4, 8, 16}, {1, 0.5, NaN, 0}).order));
  }
};

QTEST_APPLESS_MAIN(TestErrorMeasure)
#include "tst_errormeasure.moc"
