#include "common/datatable.h"
#include "design_patterns/staticfactory/staticfactory.h"
#include "math/domains/equidistant.h"
#include "math/fce/formulaexpression.h"
#include "math/fce/mathfncachedformula.h"
#include "math/fce/mathfnformula.h"
#include "math/fce/mathfntable.h"
#include "math/fuzzy_sets/any.h"
#include "math/fuzzy_sets/gaussian.h"
#include "math/fuzzy_sets/sin.h"
#include "math/fuzzy_sets/sinalternate.h"
#include "math/fuzzy_sets/trapezoid.h"
#include "math/fuzzy_sets/triangle.h"
#include "math/fuzzy_sets/trianglealternate.h"

#include <QtTest>

#include <memory>

#include <cmath>
#include <cstring>
#include <random>
#include <set>

using Domain = Domains::Equidistant<double>;
template <typename S>
using Cached = Fn::MathFnCachedFormula<double, double, S>;
template <typename S>
using Plain = Fn::MathFnFormula<double, double, S>;
using Triangle = FuzzySets::Triangle<double, double>;
using Trapezoid = FuzzySets::Trapezoid<double, double>;
using Sin = FuzzySets::Sin<double, double>;
using Gaussian = FuzzySets::Gaussian<double, double>;
using TriangleAlternate = FuzzySets::TriangleAlternate<double, double>;
using SinAlternate = FuzzySets::SinAlternate<double, double>;
using Any = FuzzySets::Any<double, double>;
using Expression = Cached<Fn::FormulaExpression<double, double>>;
using Table = Fn::MathFnTable<double, double>;

namespace {

// Every way of reading a cached function agrees with its formula.
template <typename S>
void compareWithFormula(const Cached<S>& fn)
{
  const auto& xs = fn.domain()->values();
  const std::vector<double>& all = fn.values();
  QCOMPARE(all.size(), xs.size());
  for (std::size_t i = 0; i < xs.size(); ++i) {
    QCOMPARE(fn.valueAtIndex(i), fn.formula(xs[i]));
    QCOMPARE(all[i], fn.formula(xs[i]));
    if (i < fn.nzBegin() || i >= fn.nzEnd())
      QCOMPARE(all[i], 0.0);
    else
      QCOMPARE(fn.nzValuesData()[i - fn.nzBegin()], all[i]);
  }
}

// Random parameter changes and kernel moves keep the windowed cache equal to the formula.
template <typename S>
void randomMoves(int shape)
{
  Domain d(-1, 2, 3000);
  Cached<S> fn(&d);
  std::mt19937 rng(7);
  std::uniform_real_distribution<double> pos(-1.5, 2.5), width(0.0005, 0.4);
  for (int step = 0; step < 200; ++step) {
    if (shape <= 1) {
      double p[3] = {pos(rng), pos(rng), pos(rng)};
      std::sort(p, p + 3);
      if (step % 3 == 0)
        p[1] = p[0];
      fn.setParams({p[0], p[1], p[2]});
    } else if (step % 2) {
      fn.setParams({pos(rng), width(rng) * (shape == 2 ? 0.05 : 1)});
    } else {
      fn.moveKernelTo(pos(rng));
    }
    compareWithFormula(fn);
    if (QTest::currentTestFailed())
      return;
  }
}

using Memberships = DataTable<int, QVector<double>, double, double>;
using Bases = DataTable<int, double, double>;
using Expressions = DataTable<QString, double, double, QStringList>;

} // namespace

class TestFuzzySets : public QObject
{
  Q_OBJECT

private slots:
  void memberships_data();
  void memberships();
  void windowMatchesFormula();
  void gaussianCutOff();
  void bases_data();
  void bases();
  void table();
  void expressionCache();
  void expressions_data();
  void expressions();
  void randomFunctionsAreNotFolded();
  void wholeDomainAtOnce_data();
  void wholeDomainAtOnce();
};

void TestFuzzySets::memberships_data()
{
  Memberships::declare(); // shape, params, x, expected
  const QVector<double> tri{0.2, 0.5, 0.8}, trap{0, 0.25, 0.75, 1};
  // clang-format off
  QTest::newRow("triangle left") << 0 << tri << 0.35 << 0.5;
  QTest::newRow("triangle below") << 0 << tri << 0.1 << 0.0;
  QTest::newRow("half triangle peak") << 0 << QVector<double>{0, 0, 1} << 0.0 << 1.0;
  QTest::newRow("point triangle") << 0 << QVector<double>{0.5, 0.5, 0.5} << 0.5 << 1.0;
  QTest::newRow("trapezoid kernel end") << 1 << trap << 0.75 << 1.0;
  QTest::newRow("trapezoid slope") << 1 << trap << 0.125 << 0.5;
  QTest::newRow("sine quarter") << 2 << QVector<double>{0, 0.5, 1} << 0.25 << 0.5;
  QTest::newRow("gaussian one deviation") << 3 << QVector<double>{0.5, 0.1} << 0.6 << std::exp(-0.5);
  QTest::newRow("triangle alternate") << 4 << QVector<double>{0.5, 0.2} << 0.4 << 0.5;
  QTest::newRow("triangle alternate, half-width 1") << 4 << QVector<double>{0.5, 1} << 1.0 << 0.5;
  QTest::newRow("sine alternate") << 5 << QVector<double>{0.5, 0.5} << 0.25 << 0.5;
  // clang-format on
}

void TestFuzzySets::memberships()
{
  const auto [shape, params, x, expected] = Memberships::fetch();
  Domain d(0, 1, 2000);
  Plain<Triangle> t(&d);
  Plain<Trapezoid> z(&d);
  Plain<Sin> s(&d);
  Plain<Gaussian> g(&d);
  Plain<TriangleAlternate> ta(&d);
  Plain<SinAlternate> sa(&d);
  Fn::MathFn<double, double>* const fn =
      std::vector<Fn::MathFn<double, double>*>{&t, &z, &s, &g, &ta, &sa}[shape];
  fn->setParams(std::vector<double>(params.begin(), params.end()));
  QVERIFY2(std::abs(fn->value(x) - expected) < 1e-12, qPrintable(QString::number(fn->value(x))));
}

void TestFuzzySets::windowMatchesFormula()
{
  randomMoves<Triangle>(0);
  randomMoves<Sin>(1);
  randomMoves<Gaussian>(2);
  randomMoves<TriangleAlternate>(3);
  // Windows of one to seven elements, across the few kept inside the object.
  Domain coarse(0, 1, 20);
  Cached<TriangleAlternate> narrow(&coarse);
  for (int k = 1; k <= 60; ++k) {
    narrow.setParams({k / 60.0, 0.02 + 0.0025 * k});
    compareWithFormula(narrow);
    if (QTest::currentTestFailed())
      return;
  }
  // Only the non-zero range is stored.
  Domain d(0, 1, 2000);
  Cached<Triangle> t(&d);
  t.setParams({0.5, 0.6, 0.7});
  QVERIFY(t.windowBegin() >= 1000 && t.windowEnd() <= 1401);
  Cached<Any> any(&d);
  QCOMPARE(any.valueAtIndex(3), 1.0);
  QCOMPARE(any.nzEnd(), d.size());
}

void TestFuzzySets::gaussianCutOff()
{
  Domain d(0, 1, 100000);
  Cached<Gaussian> g(&d);
  g.setParams({0.5, 0.001});
  // Exactly 0 beyond the cut-off, so nothing is lost by not storing it.
  QCOMPARE(g.formula(0.5 + 38.7 * 0.001), 0.0);
  QVERIFY(g.formula(0.5 + 38.5 * 0.001) > 0);
  QVERIFY(g.nzEnd() - g.nzBegin() <= 8002);
  QVERIFY(g.windowEnd() - g.windowBegin() <= 8002);
  compareWithFormula(g);
  Cached<Gaussian> wide(&d);
  wide.setParams({0.5, 0.1});
  QCOMPARE(wide.nzBegin(), std::size_t(0));
  QCOMPARE(wide.nzEnd(), d.size());
  for (double v : wide.values())
    QVERIFY(v > 0);
}

void TestFuzzySets::bases_data()
{
  Bases::declare(); // degree, x, expected
  const double c2 = 0.25 / 12 + 0.25 / 12;
  // clang-format off
  QTest::newRow("degree 0 inside") << 0 << 0.3 << 1.0;
  QTest::newRow("degree 1 left") << 1 << 0.25 << -0.25;
  QTest::newRow("degree 1 right") << 1 << 1.0 << 0.5;
  QTest::newRow("degree 2 node") << 2 << 0.5 << -c2;
  QTest::newRow("degree 2 high") << 2 << 1.0 << 0.25 - c2;
  QTest::newRow("degree 3 high") << 3 << 1.0 << 0.075; // t^3 - 0.1 t
  QTest::newRow("degree 3 node") << 3 << 0.5 << 0.0;
  // clang-format on
}

// The closed forms exactly; the bases orthogonal on the points of a symmetric
// triangle come within the discretisation (2000 subintervals) of them.
void TestFuzzySets::bases()
{
  const auto [degree, x, expected] = Bases::fetch();
  Domain d(0, 1, 2000);
  for (const auto kind : {Fn::HigherDegreeBasis::ClosedForm, Fn::HigherDegreeBasis::Orthogonal}) {
    StaticFactory<> factory(&d, kind);
    auto* basis = factory.get(degree);
    const double tolerance = kind == Fn::HigherDegreeBasis::ClosedForm ? 1e-15 : 1e-6;
    QVERIFY2(std::abs(basis->value(x) - expected) < tolerance,
             qPrintable(QString::number(basis->value(x), 'g', 17)));
    // Outside the triangle: 1 for degree 0, 0 above.
    basis->setParams({0.2, 0.3, 0.4});
    QCOMPARE(basis->value(0.9), degree == 0 ? 1.0 : 0.0);
  }
}

void TestFuzzySets::table()
{
  Domain d(0, 1, 4);
  Table t(&d, {1, 2, 3, 4, 5});
  QCOMPARE(t.value(0.1), 2.0); // between elements reads the next one
  QCOMPARE(t.value(0.5), 3.0);
  QCOMPARE(t.value(-1.0), 1.0);
  QCOMPARE(t.nzValuesData(), t.valuesData());
}

void TestFuzzySets::expressionCache()
{
  Domain d(0, 1, 2000);
  Expression e(&d);
  QCOMPARE(e.expression(), std::string("x"));
  for (std::size_t i = 0; i < d.size(); ++i)
    QCOMPARE(e.valueAtIndex(i), d.values()[i]);
  e.setExpression("x*x");
  e.recompute(d.begin(), d.end());
  QCOMPARE(e.valueAtIndex(2000), 1.0);
}

// Accepted: the value at x. Refused: the message and token of the check
// ("" for any), the same message thrown, and the function left as it was.
void TestFuzzySets::expressions_data()
{
  Expressions::declare(); // expression, x, expected, refusal (message, token)
  const QString twoResults = "Expression has more than one result; use '.' as the decimal point "
                             "and ',' only between function arguments.";
  // clang-format off
  QTest::newRow("pi is exact") << "sin(_pi)" << 0.0 << std::sin(M_PI) << QStringList();
  QTest::newRow("log is natural") << "log(x)" << 1.0 << 0.0 << QStringList();
  QTest::newRow("e") << "_e" << 0.0 << std::exp(1.0) << QStringList();
  QTest::newRow("argument comma") << "min(x, 0.25)" << 1.0 << 0.25 << QStringList();
  QTest::newRow("uniform of equal bounds") << "uniform(2, 2)" << 0.5 << 2.0 << QStringList();
  QTest::newRow("normal without spread") << "normal(3, 0)" << 0.5 << 3.0 << QStringList();
  QTest::newRow("decimal comma") << "1,5" << 0.0 << 0.0 << QStringList{twoResults, ","};
  QTest::newRow("decimal comma with x") << "1,5*x" << 0.0 << 0.0 << QStringList{twoResults, ","};
  QTest::newRow("empty") << "" << 0.0 << 0.0 << QStringList{"", ""};
  QTest::newRow("wrong argument count") << "normal(1)" << 0.0 << 0.0 << QStringList{"", ""};
  QTest::newRow("syntax error") << "2*" << 0.0 << 0.0 << QStringList{"", ""};
  // clang-format on
}

void TestFuzzySets::expressions()
{
  const auto [expression, x, expected, refusal] = Expressions::fetch();
  const Fn::ExpressionCheck c =
      Fn::FormulaExpression<double, double>::checkExpression(expression.toStdString());
  QCOMPARE(c.ok, refusal.isEmpty());
  Domain d(0, 1, 4);
  Expression e(&d);
  if (c.ok) {
    e.setExpression(expression.toStdString());
    QCOMPARE(e.value(x), expected);
    // A copy computes on a copy of the domain, which its caller owns.
    std::unique_ptr<Fn::MathFn<double, double>> copy(e.clone());
    const std::unique_ptr<const Domains::EnumerationBase<double>> copiedDomain(copy->domain());
    const double copied = copy->value(x);
    copy.reset();
    QCOMPARE(copied, expected);
    return;
  }
  QVERIFY(!c.message.empty());
  if (!refusal[0].isEmpty())
    QCOMPARE(QString::fromStdString(c.message), refusal[0]);
  if (!refusal[1].isEmpty())
    QCOMPARE(QString::fromStdString(c.token), refusal[1]);
  e.setExpression("x*x");
  try {
    e.setExpression(expression.toStdString());
    QFAIL("accepted");
  } catch (const mu::ParserError& err) {
    QCOMPARE(err.GetMsg(), c.message);
  }
  QCOMPARE(e.expression(), std::string("x*x"));
}

void TestFuzzySets::randomFunctionsAreNotFolded()
{
  Domain d(0, 1, 20000);
  Expression e(&d);
  e.setExpression("uniform(0, 1)");
  const std::vector<double> first = e.values();
  QVERIFY(std::set<double>(first.begin(), first.end()).size() > first.size() - 5);
  for (double v : first)
    QVERIFY(v >= 0 && v < 1);
  e.recompute(d.begin(), d.end());
  QVERIFY(e.values() != first);
  e.setExpression("normal(5, 2)");
  double sum = 0, sq = 0;
  for (double v : e.values()) {
    sum += v;
    sq += v * v;
  }
  const double n = double(d.size()), mean = sum / n, var = sq / n - mean * mean;
  QVERIFY2(std::abs(mean - 5) < 0.1, qPrintable(QString::number(mean)));
  QVERIFY2(std::abs(var - 4) < 0.3, qPrintable(QString::number(var)));
}

// The whole domain is evaluated at once (the variable copied, a constant
// filled in, the rest in muParser's bulk mode): the numbers of one
// evaluation a point, bit for bit; random numbers drawn in the points' order.
void TestFuzzySets::wholeDomainAtOnce_data()
{
  QTest::addColumn<QString>("expression");
  for (const char* e :
       {"x", " ( x ) ", "2.5", "2*3+1", "sin(x)*x", "x>0.5?x:-x", "exp(-x^2)/(1+abs(x))",
        "_pi*x^3-rint(x)", "(x)+(x)", "uniform(0, 1)", "x+uniform(-1, 1)"})
    QTest::newRow(e) << QString(e);
}

void TestFuzzySets::wholeDomainAtOnce()
{
  QFETCH(QString, expression);
  // Past the size from which the bulk mode runs.
  Domain d(-1, 2, 300000);
  Expression e(&d);
  e.setExpression(expression.toStdString());
  Fn::randomGenerator().seed(7);
  e.recompute(d.begin(), d.end());
  const std::vector<double> whole = e.values();
  Fn::randomGenerator().seed(7);
  for (std::size_t i = 0; i < d.size(); ++i) {
    const double one = e.formula(d.values()[i]);
    QVERIFY2(std::memcmp(&one, &whole[i], sizeof one) == 0, qPrintable(QString("point %1").arg(i)));
  }
}

QTEST_APPLESS_MAIN(TestFuzzySets)
#include "tst_fuzzysets.moc"
