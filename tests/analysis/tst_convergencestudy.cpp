// The convergence study measures approximation, not sampling: the default
// counts stop while every basic function still covers enough points, counts
// beyond are marked and left out of the orders, refinement computes a count
// on a finer discretisation, and the orders go to a file of their own.
#include "analysis/convergencestudy.h"
#include "common/datatable.h"
#include "common/testfiles.h"
#include "math/domains/equidistant.h"
#include "math/fce/formulaexpression.h"
#include "math/fce/mathfncachedformula.h"
#include "math/fce/mathfntable.h"

#include <QtTest>

#include <cmath>
#include <memory>

namespace {

using Analysis::ConvergenceStudy;
using Analysis::CountResult;
using Vec = std::vector<double>;
using Formula = Fn::MathFnCachedFormula<double, double, Fn::FormulaExpression<double, double>>;

std::unique_ptr<ConvergenceStudy> study(int subintervals, const std::vector<std::string>& formulas,
                                        const Analysis::StudyLayout& layout = {})
{
  const Domains::Equidistant<double> domain(0.0, 1.0, unsigned(subintervals));
  std::vector<Vec> values;
  for (const std::string& e : formulas) {
    Formula f(&domain);
    f.setExpression(e);
    values.push_back(f.values());
  }
  return std::make_unique<ConvergenceStudy>(
      std::unique_ptr<const Domains::EnumerationBase<double>>(domain.clone()), values, layout, 0);
}

CountResult at(const ConvergenceStudy& s, int count)
{
  CountResult r;
  QString why;
  if (!s.compute(count, &r, &why))
    qFatal("count %d: %s", count, qPrintable(why));
  return r;
}

CountResult result(int count, int fewest, double maxAbs, double rmse)
{
  return CountResult{count, 2000, fewest, {{Analysis::ErrorMeasure{maxAbs, rmse, 0}}}};
}

using Layouts = DataTable<int, int, double, int, int>;
using Orders = DataTable<QString, bool, double>;
using Refinements = DataTable<int, int, int>;
using Refusals = DataTable<QString, int, QString>;

} // namespace

class TestConvergenceStudy : public QObject
{
  Q_OBJECT

private slots:
  void defaultCountsStayResolved_data()
  {
    // kind, shape, widthRatio, subintervals, largest (-1: whatever the coverage says)
    Layouts::declare();
    const int generic = int(DataHolders::PartitionKind::Generic);
    const int custom = int(DataHolders::PartitionKind::Custom);
    // clang-format off
    // The half triangles at the ends cover the points of one node distance.
    QTest::newRow("triangles on 2000") << generic << int(DataHolders::ShapeTriangle) << 0.5 << 2000 << 286;
    QTest::newRow("sines on 2000") << generic << int(DataHolders::ShapeSin) << 0.5 << 2000 << -1;
    QTest::newRow("custom triangles") << custom << int(DataHolders::ShapeTriangle) << 0.5 << 1000 << -1;
    QTest::newRow("custom Gaussians") << custom << int(DataHolders::ShapeGaussian) << 0.3 << 300 << -1;
    QTest::newRow("no count resolved") << generic << int(DataHolders::ShapeTriangle) << 0.5 << 6 << 0;
    // clang-format on
  }

  void defaultCountsStayResolved()
  {
    const auto [kind, shape, widthRatio, subintervals, largest] = Layouts::fetch();
    Analysis::StudyLayout layout;
    layout.kind = DataHolders::PartitionKind(kind);
    layout.shape = shape;
    layout.widthRatio = widthRatio;
    const auto s = study(subintervals, {"x"}, layout);
    const int found = s->largestResolvedCount();
    if (largest >= 0)
      QCOMPARE(found, largest);
    const std::vector<int> counts = s->defaultCounts();
    QCOMPARE(counts.empty(), found == 0);
    if (found == 0)
      return;
    QCOMPARE(counts.back(), found);
    QVERIFY(at(*s, found).resolved());
    if (found < subintervals)
      QVERIFY(!at(*s, found + 1).resolved());
  }

  // The counts the study took before, up to the domain's subintervals: the
  // errors collapse where the basic functions cover one or two points.
  void underResolvedLeftOutOfOrders_data()
  {
    Orders::declare(); // formula, rmse, order
    QTest::newRow("x, MaxAbs: h/3 at the ends") << "x" << false << 1.0;
    QTest::newRow("x, RMSE: two end intervals") << "x" << true << 1.5;
    QTest::newRow("cos(pi x), MaxAbs: flat ends") << "cos(_pi*x)" << false << 2.0;
  }

  void underResolvedLeftOutOfOrders()
  {
    const auto [formula, rmse, order] = Orders::fetch();
    const auto s = study(2000, {formula.toStdString()});
    std::vector<CountResult> results;
    for (int n : Analysis::defaultCounts(2000))
      results.push_back(at(*s, n));
    QVERIFY(!results.back().resolved());
    const auto fit = Analysis::fitOrder(results, 0, 0,
                                        rmse ? Analysis::Measure::Rmse : Analysis::Measure::MaxAbs);
    QVERIFY2(std::fabs(fit.order - order) < 0.1, qPrintable(QString::number(fit.order)));
    QVERIFY(fit.to <= s->largestResolvedCount() && fit.from < fit.to && fit.counts >= 2);
  }

  // P subintervals per node distance at least; a count the domain already
  // resolves that well keeps the domain.
  void refinement_data()
  {
    Refinements::declare(); // count, subintervals, fewest
    QTest::newRow("coarse count keeps the domain") << 20 << 2000 << 106;
    QTest::newRow("finer than the domain resolves") << 64 << 4032 << 64;
    QTest::newRow("as many as subintervals") << 2000 << 127936 << 64;
    QTest::newRow("more than subintervals") << 5000 << 319936 << 64;
  }

  void refinement()
  {
    const auto [count, subintervals, fewest] = Refinements::fetch();
    const auto s = study(2000, {"sin(6*x)"});
    QString why;
    QVERIFY(s->refine(Analysis::defaultPointsPerFunction, {"sin(6*x)"}, &why));
    QVERIFY(s->largestCount() > 100000);
    const CountResult r = at(*s, count);
    QCOMPARE(r.subintervals, subintervals);
    QCOMPARE(r.fewestPoints, fewest);
    // The same numbers as a study of a domain that fine.
    const CountResult fine = at(*study(subintervals, {"sin(6*x)"}), count);
    QCOMPARE(r.errors[0][0].maxAbs, fine.errors[0][0].maxAbs);
    QCOMPARE(r.errors[0][0].rmse, fine.errors[0][0].rmse);
  }

  void refinementRefusals_data()
  {
    Refusals::declare(); // function ("" stands for data values), points, why
    QTest::newRow("data") << "" << 64 << "no formula";
    QTest::newRow("random numbers") << "x + normal(0, 1)" << 64 << "no formula";
    QTest::newRow("random after a bracket") << "(uniform(0, 1))" << 64 << "no formula";
    QTest::newRow("too few points") << "x" << 7 << "not between 8";
  }

  void refinementRefusals()
  {
    const auto [function, points, why] = Refusals::fetch();
    const Domains::Equidistant<double> domain(0.0, 1.0, 100u);
    Fn::MathFnTable<double, double> table(&domain, Vec(101, 1.0));
    Formula formula(&domain);
    if (!function.isEmpty())
      formula.setExpression(function.toStdString());
    const Fn::MathFn<double, double>& fn =
        function.isEmpty() ? static_cast<const Fn::MathFn<double, double>&>(table) : formula;
    ConvergenceStudy s(std::unique_ptr<const Domains::EnumerationBase<double>>(domain.clone()),
                       {fn.values()}, {}, 0);
    QString error;
    QVERIFY(!s.refine(points, {Analysis::refinableFormula(fn)}, &error));
    QVERIFY2(error.contains(why), qPrintable(error));
    QCOMPARE(s.largestCount(), 100);
    QCOMPARE(at(s, 50).subintervals, 100);
  }

  void ordersPath_data()
  {
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("orders");
    // clang-format off
    QTest::newRow("csv") << "dir/study.csv" << "dir/study-orders.csv";
    QTest::newRow("dotted name") << "a.b.csv" << "a.b-orders.csv";
    QTest::newRow("no suffix, dotted directory") << "d.x/study" << "d.x/study-orders";
    // clang-format on
  }

  void ordersPath()
  {
    QFETCH(QString, table);
    QFETCH(QString, orders);
    QCOMPARE(Analysis::ordersPath(table), orders);
  }

  // The table keeps one table; the orders of the resolved counts go beside it.
  void ordersFile()
  {
    const std::vector<CountResult> results{
        result(4, 500, 1.0 / 4, 1.0 / 16), result(8, 250, 1.0 / 8, 1.0 / 64),
        result(16, 125, 1.0 / 16, 1.0 / 256), result(1000, 2, 1e-12, 1e-13)};
    QTemporaryDir dir;
    QString error;
    QVERIFY(Analysis::writeStudy(dir.filePath("study.csv"), results, {"f"}, 6, false, &error));
    const QList<QByteArray> table = readAll(dir.filePath("study.csv")).split('\n');
    QCOMPARE(table[0], QByteArray("\"Components\";\"Function\";\"Degree\";\"MaxAbs\";\"RMSE\";"
                                  "\"ArgMax\";\"Subintervals\";\"Fewest points\";"
                                  "\"Under-resolved\";"));
    QCOMPARE(table[1], QByteArray("4; f; 0; 0.25; 0.0625; 0; 2000; 500; no"));
    QCOMPARE(table[4], QByteArray("1000; f; 0; 1e-12; 1e-13; 0; 2000; 2; yes"));
    QCOMPARE(table.size(), 6);
    QCOMPARE(readAll(dir.filePath("study-orders.csv")),
             QByteArray("\"Function\";\"Degree\";\"Measure\";\"Order\";\"From\";\"To\";"
                        "\"Counts\";\n"
                        "f; 0; MaxAbs; 1; 8; 16; 2\n"
                        "f; 0; RMSE; 2; 8; 16; 2\n"));
  }
};

QTEST_APPLESS_MAIN(TestConvergenceStudy)
#include "tst_convergencestudy.moc"
