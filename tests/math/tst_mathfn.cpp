#include "math/domains/equidistant.h"
#include "math/fce/formulaexpression.h"
#include "math/fce/mathfncachedformula.h"
#include "math/fce/mathfnformula.h"
#include "math/fce/mathfntable.h"

#include "assertioncatcher.h"

#include <QtTest>

#include <cmath>
#include <memory>
#include <set>

using Domain = Domains::Equidistant<double>;
using Expression = Fn::MathFnCachedFormula<double, double, Fn::FormulaExpression<double, double>>;
using PlainExpression = Fn::MathFnFormula<double, double, Fn::FormulaExpression<double, double>>;
using Table = Fn::MathFnTable<double, double>;
using Owned = std::unique_ptr<Fn::MathFn<double, double>>;
using OwnedDomain = std::unique_ptr<const Fn::MathFn<double, double>::Domain>;

class TestMathFn : public QObject
{
  Q_OBJECT

private slots:
  void table();
  void expressionCacheAndClone();
  void expressions_data();
  void expressions();
  void rejectedExpressions_data();
  void rejectedExpressions();
  void randomFunctionsAreNotFolded();
  void preconditions_data();
  void preconditions();
};

void TestMathFn::table()
{
  Domain d(0, 1, 4);
  Table t(&d, {1, 2, 3, 4, 5});
  QCOMPARE(t.value(0.1), 2.0); // between elements reads the next one
  QCOMPARE(t.value(0.5), 3.0);
  QCOMPARE(t.value(-1.0), 1.0);
  QCOMPARE(t.nzValuesData(), t.valuesData());
  QCOMPARE(t.nzEnd(), d.size());
  QCOMPARE((*t.valueIterator(-3)).second, 1.0);
  QCOMPARE((*t.valueIterator(9)).second, 5.0);
  QCOMPARE((*t.valueIterator(2)).first, 0.5);
  double sum = 0;
  for (auto it = t.valueIterator(0); it != t.valueIterator(5); ++it)
    sum += (*it).second;
  QCOMPARE(sum, 15.0);
  Owned c(t.clone());
  OwnedDomain cd(c->domain());
  QVERIFY(c->domain() != &d);
  QVERIFY(c->values() == t.values());
  QVERIFY((dynamic_cast<Fn::MathFnTable_MathFn<double, double>*>(c.get())));
}

void TestMathFn::expressionCacheAndClone()
{
  Domain d(0, 1, 2000);
  Expression e(&d);
  QCOMPARE(e.expression(), std::string("x"));
  for (std::size_t i = 0; i < d.size(); ++i)
    QCOMPARE(e.valueAtIndex(i), d.values()[i]);
  QCOMPARE(e.windowEnd(), d.size());
  QCOMPARE(e.valuesData(), e.values().data());
  e.setExpression("x*x");
  Owned c(e.clone());
  OwnedDomain cd(c->domain());
  QVERIFY(c->domain() != &d);
  QVERIFY(c->values() == e.values());
  QCOMPARE(static_cast<Expression*>(c.get())->expression(), std::string("x*x"));
  // A refused expression leaves the function as it was.
  QVERIFY_EXCEPTION_THROWN(e.setExpression("2*"), mu::ParserError);
  QCOMPARE(e.expression(), std::string("x*x"));
  e.recompute(d.begin(), d.end());
  QCOMPARE(e.valueAtIndex(2000), 1.0);
  PlainExpression p(&d);
  p.setExpression("x + 1");
  QCOMPARE(p.value(0.3), 1.3);
  QCOMPARE(p.valueAtIndex(1000), 1.5);
}

void TestMathFn::expressions_data()
{
  QTest::addColumn<QString>("expression");
  QTest::addColumn<double>("x");
  QTest::addColumn<double>("expected");
  // clang-format off
  QTest::newRow("pi is exact") << "sin(_pi)" << 0.0 << std::sin(M_PI);
  QTest::newRow("log is natural") << "log(x)" << 1.0 << 0.0;
  QTest::newRow("decimal point") << "1.5*x" << 1.0 << 1.5;
  QTest::newRow("argument comma") << "min(x, 0.25)" << 1.0 << 0.25;
  QTest::newRow("uniform of equal bounds") << "uniform(2, 2)" << 0.5 << 2.0;
  QTest::newRow("normal without spread") << "normal(3, 0)" << 0.5 << 3.0;
  // clang-format on
}

void TestMathFn::expressions()
{
  QFETCH(QString, expression);
  QFETCH(double, x);
  QFETCH(double, expected);
  Domain d(0, 1, 4);
  Expression e(&d);
  e.setExpression(expression.toStdString());
  QCOMPARE(e.value(x), expected);
  QVERIFY((Fn::FormulaExpression<double, double>::checkExpression(expression.toStdString()).ok));
}

void TestMathFn::rejectedExpressions_data()
{
  QTest::addColumn<QString>("expression");
  QTest::addColumn<QString>("message");
  QTest::addColumn<QString>("token");
  const QString twoResults = "Expression has more than one result; use '.' as the decimal point "
                             "and ',' only between function arguments.";
  // clang-format off
  QTest::newRow("decimal comma") << "1,5" << twoResults << ",";
  QTest::newRow("decimal comma with x") << "1,5*x" << twoResults << ",";
  QTest::newRow("unexpected end") << "sin(" << "" << "";
  QTest::newRow("unknown function") << "foo(x)" << "" << "foo";
  QTest::newRow("empty") << "" << "" << "";
  QTest::newRow("wrong argument count") << "normal(1)" << "" << "";
  // clang-format on
}

void TestMathFn::rejectedExpressions()
{
  QFETCH(QString, expression);
  QFETCH(QString, message);
  QFETCH(QString, token);
  const Fn::ExpressionCheck c =
      Fn::FormulaExpression<double, double>::checkExpression(expression.toStdString());
  QVERIFY(!c.ok);
  QVERIFY(!c.message.empty());
  if (!message.isEmpty())
    QCOMPARE(QString::fromStdString(c.message), message);
  if (!token.isEmpty())
    QCOMPARE(QString::fromStdString(c.token), token);
  Domain d(0, 1, 4);
  Expression e(&d);
  bool thrown = false;
  try {
    e.setExpression(expression.toStdString());
  } catch (const mu::ParserError& err) {
    thrown = true;
    QCOMPARE(err.GetMsg(), c.message);
  }
  QVERIFY(thrown);
}

void TestMathFn::randomFunctionsAreNotFolded()
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

void TestMathFn::preconditions_data()
{
  QTest::addColumn<int>("which");
  QTest::addColumn<QString>("condition");
  QTest::addColumn<QString>("file");
  QTest::addColumn<QString>("message");
  const QString fce = "src/math/fce/", policy = "src/math/policy.h";
  // clang-format off
  QTest::newRow("table size") << 0 << "domain->size() == values.size()" << fce + "mathfntable.h" << "";
  QTest::newRow("table index") << 1 << "domainIndex < _values.size()" << fce + "mathfntable.h" << "";
  QTest::newRow("table value") << 2 << "valid" << policy << "MathFnTable_MathFn::Domain doesn't contain value.";
  QTest::newRow("cache index") << 3 << "domainIndex < _values.size()" << fce + "mathfncachedformula.h" << "";
  QTest::newRow("cache value") << 4 << "valid" << policy << "MathFnCachedFormula::Domain doesn't contain value.";
  QTest::newRow("formula value") << 5 << "valid" << policy << "MathFnFormula::Domain doesn't contain value.";
  QTest::newRow("formula index") << 6 << "domainIndex < domain()->size()" << fce + "mathfnformula.h" << "";
  QTest::newRow("formula values") << 7 << "false" << fce + "mathfnformula.h" << "";
  QTest::newRow("formula data") << 8 << "false" << fce + "mathfnformula.h" << "";
  QTest::newRow("setParam") << 9 << "index < _params.size()" << fce + "mathfn.h" << "";
  QTest::newRow("setParams") << 10 << "_params.size() == params.size()" << fce + "mathfn.h" << "";
  QTest::newRow("param") << 11 << "index < paramsSize()" << fce + "mathfn.h" << "";
  QTest::newRow("formula non-zero data") << 12 << "false" << fce + "mathfnformula.h" << "";
  // clang-format on
}

void TestMathFn::preconditions()
{
  QFETCH(int, which);
  QFETCH(QString, condition);
  QFETCH(QString, file);
  QFETCH(QString, message);
  Domain d(0, 1, 4);
  Table t(&d, {1, 2, 3, 4, 5});
  Expression e(&d);
  PlainExpression p(&d);
  const std::function<void()> cases[] = {
      [&] { Table(&d, {1, 2}); },  [&] { t.valueAtIndex(5); },  [&] { t.value(1.5); },
      [&] { e.valueAtIndex(5); },  [&] { e.value(1.5); },       [&] { p.value(-0.1); },
      [&] { p.valueAtIndex(5); },  [&] { p.values(); },         [&] { p.valuesData(); },
      [&] { e.setParam(0, 1.0); }, [&] { e.setParams({1.0}); }, [&] { e.param(0); },
      [&] { p.nzValuesData(); }};
  AssertionCatcher catcher;
  const AssertionCatcher::Failure f = catcher.run(cases[which]);
  QCOMPARE(f.condition, condition);
  QCOMPARE(f.file, file);
  QCOMPARE(f.message, message);
}

QTEST_APPLESS_MAIN(TestMathFn)
#include "tst_mathfn.moc"
