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

class TestMathFn : public QObject
{
  Q_OBJECT

private slots:
  void tableLookup_data();
  void tableLookup();
  void tableCloneOwnsDomain();
  void identityExpression();
  void expressions_data();
  void expressions();
  void rejectedExpressions_data();
  void rejectedExpressions();
  void rejectedExpressionKeepsFunction();
  void randomFunctionsAreNotFolded();
  void normalSample();
  void cloneKeepsExpression();
  void plainFormula();
  void valueIterator();
  void preconditions_data();
  void preconditions();
};

void TestMathFn::tableLookup_data()
{
  QTest::addColumn<double>("x");
  QTest::addColumn<double>("expected");
  QTest::newRow("between elements reads the next one") << 0.00025 << 0.0005 * 3;
  QTest::newRow("exact element") << 0.5 << 1.5;
  QTest::newRow("below the domain reads the first") << -1.0 << 0.0;
}

void TestMathFn::tableLookup()
{
  QFETCH(double, x);
  QFETCH(double, expected);
  Domain d(0, 1, 2000);
  std::vector<double> v(d.size());
  for (std::size_t i = 0; i < v.size(); ++i)
    v[i] = 3 * d.values()[i];
  Table t(&d, v);
  QCOMPARE(t.value(x), expected);
  QCOMPARE(t.values().size(), d.size());
  QCOMPARE(t.valuesData()[10], v[10]);
  QCOMPARE(t.nzValuesData(), t.valuesData());
  QCOMPARE(t.nzBegin(), std::size_t(0));
  QCOMPARE(t.nzEnd(), d.size());
  QCOMPARE(t.paramsSize(), std::size_t(0));
}

void TestMathFn::tableCloneOwnsDomain()
{
  Domain d(0, 1, 4);
  Table t(&d, {1, 2, 3, 4, 5});
  std::unique_ptr<Fn::MathFn<double, double>> c(t.clone());
  std::unique_ptr<const Fn::MathFn<double, double>::Domain> cd(c->domain());
  QVERIFY(c->domain() != &d);
  QVERIFY(c->values() == t.values());
  QVERIFY((dynamic_cast<Fn::MathFnTable_MathFn<double, double>*>(c.get())));
}

void TestMathFn::identityExpression()
{
  Domain d(0, 1, 2000);
  Expression e(&d);
  QCOMPARE(e.expression(), std::string("x"));
  for (std::size_t i = 0; i < d.size(); ++i)
    QCOMPARE(e.valueAtIndex(i), d.values()[i]);
  QCOMPARE(e.values().size(), d.size());
  QCOMPARE(e.windowBegin(), std::size_t(0));
  QCOMPARE(e.windowEnd(), d.size());
  QCOMPARE(e.valuesData(), e.values().data());
}

void TestMathFn::expressions_data()
{
  QTest::addColumn<QString>("expression");
  QTest::addColumn<double>("x");
  QTest::addColumn<double>("expected");
  QTest::newRow("pi is exact") << "sin(_pi)" << 0.0 << std::sin(M_PI);
  QTest::newRow("e is exact") << "_e" << 0.0 << M_E;
  QTest::newRow("log is natural") << "log(x)" << 1.0 << 0.0;
  QTest::newRow("decimal point") << "1.5*x" << 1.0 << 1.5;
  QTest::newRow("argument comma") << "min(x, 0.25)" << 1.0 << 0.25;
  QTest::newRow("uniform of equal bounds") << "uniform(2, 2)" << 0.5 << 2.0;
  QTest::newRow("normal without spread") << "normal(3, 0)" << 0.5 << 3.0;
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
  QTest::newRow("decimal comma") << "1,5" << twoResults << ",";
  QTest::newRow("decimal comma with x") << "1,5*x" << twoResults << ",";
  QTest::newRow("unexpected end") << "sin("
                                  << ""
                                  << "";
  QTest::newRow("unknown function") << "foo(x)"
                                    << ""
                                    << "foo";
  QTest::newRow("empty") << ""
                         << ""
                         << "";
  QTest::newRow("wrong argument count") << "normal(1)"
                                        << ""
                                        << "";
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

void TestMathFn::rejectedExpressionKeepsFunction()
{
  Domain d(0, 1, 4);
  Expression e(&d);
  e.setExpression("2*x");
  QVERIFY_EXCEPTION_THROWN(e.setExpression("2*"), mu::ParserError);
  QCOMPARE(e.expression(), std::string("2*x"));
  e.recompute(d.begin(), d.end());
  QCOMPARE(e.valueAtIndex(4), 2.0);
}

void TestMathFn::randomFunctionsAreNotFolded()
{
  Domain d(0, 1, 2000);
  Expression e(&d);
  e.setExpression("uniform(0, 1)");
  const std::vector<double> first = e.values();
  std::set<double> distinct(first.begin(), first.end());
  QVERIFY(distinct.size() > first.size() - 5);
  for (double v : first)
    QVERIFY(v >= 0 && v < 1);
  e.recompute(d.begin(), d.end());
  QVERIFY(e.values() != first);
}

void TestMathFn::normalSample()
{
  Domain d(0, 1, 20000);
  Expression e(&d);
  e.setExpression("normal(5, 2)");
  double sum = 0, sq = 0;
  for (double v : e.values()) {
    sum += v;
    sq += v * v;
  }
  const double n = double(d.size());
  const double mean = sum / n, var = sq / n - mean * mean;
  QVERIFY2(std::abs(mean - 5) < 0.1, qPrintable(QString::number(mean)));
  QVERIFY2(std::abs(var - 4) < 0.3, qPrintable(QString::number(var)));
}

void TestMathFn::cloneKeepsExpression()
{
  Domain d(0, 1, 10);
  Expression e(&d);
  e.setExpression("x*x");
  std::unique_ptr<Fn::MathFn<double, double>> c(e.clone());
  std::unique_ptr<const Fn::MathFn<double, double>::Domain> cd(c->domain());
  QVERIFY(c->domain() != &d);
  QVERIFY(c->values() == e.values());
  QCOMPARE(static_cast<Expression*>(c.get())->expression(), std::string("x*x"));
}

void TestMathFn::plainFormula()
{
  Domain d(0, 1, 4);
  PlainExpression p(&d);
  p.setExpression("x + 1");
  QCOMPARE(p.value(0.3), 1.3);
  QCOMPARE(p.valueAtIndex(2), 1.5);
}

void TestMathFn::valueIterator()
{
  Domain d(0, 1, 4);
  Table t(&d, {1, 2, 3, 4, 5});
  QCOMPARE((*t.valueIterator(-3)).second, 1.0);
  QCOMPARE((*t.valueIterator(-3)).first, 0.0);
  QCOMPARE((*t.valueIterator(9)).second, 5.0);
  QCOMPARE((*t.valueIterator(2)).first, 0.5);
  double sum = 0;
  for (auto it = t.valueIterator(0); it != t.valueIterator(5); ++it)
    sum += (*it).second;
  QCOMPARE(sum, 15.0);
}

void TestMathFn::preconditions_data()
{
  QTest::addColumn<int>("which");
  QTest::addColumn<QString>("condition");
  QTest::addColumn<QString>("file");
  QTest::addColumn<QString>("message");
  QTest::newRow("table size") << 0 << "domain->size() == values.size()"
                              << "src/math/fce/mathfntable.h"
                              << "";
  QTest::newRow("table index") << 1 << "domainIndex < _values.size()"
                               << "src/math/fce/mathfntable.h"
                               << "";
  QTest::newRow("table value") << 2 << "valid"
                               << "src/math/policy.h"
                               << "MathFnTable_MathFn::Domain doesn't contain value.";
  QTest::newRow("cache index") << 3 << "domainIndex < _values.size()"
                               << "src/math/fce/mathfncachedformula.h"
                               << "";
  QTest::newRow("cache value") << 4 << "valid"
                               << "src/math/policy.h"
                               << "MathFnCachedFormula::Domain doesn't contain value.";
  QTest::newRow("formula value") << 5 << "valid"
                                 << "src/math/policy.h"
                                 << "MathFnFormula::Domain doesn't contain value.";
  QTest::newRow("formula index") << 6 << "domainIndex < domain()->size()"
                                 << "src/math/fce/mathfnformula.h"
                                 << "";
  QTest::newRow("formula values") << 7 << "false"
                                  << "src/math/fce/mathfnformula.h"
                                  << "";
  QTest::newRow("formula data") << 8 << "false"
                                << "src/math/fce/mathfnformula.h"
                                << "";
  QTest::newRow("setParam") << 9 << "index < _params.size()"
                            << "src/math/fce/mathfn.h"
                            << "";
  QTest::newRow("setParams") << 10 << "_params.size() == params.size()"
                             << "src/math/fce/mathfn.h"
                             << "";
  QTest::newRow("formula non-zero data") << 12 << "false"
                                         << "src/math/fce/mathfnformula.h"
                                         << "";
  QTest::newRow("param") << 11 << "index < paramsSize()"
                         << "src/math/fce/mathfn.h"
                         << "";
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
  AssertionCatcher catcher;
  const AssertionCatcher::Failure f = catcher.run([&] {
    switch (which) {
    case 0:
      Table(&d, {1, 2});
      break;
    case 1:
      t.valueAtIndex(5);
      break;
    case 2:
      t.value(1.5);
      break;
    case 3:
      e.valueAtIndex(5);
      break;
    case 4:
      e.value(1.5);
      break;
    case 5:
      p.value(-0.1);
      break;
    case 6:
      p.valueAtIndex(5);
      break;
    case 7:
      p.values();
      break;
    case 8:
      p.valuesData();
      break;
    case 9:
      e.setParam(0, 1.0);
      break;
    case 10:
      e.setParams({1.0});
      break;
    case 11:
      e.param(0);
      break;
    case 12:
      p.nzValuesData();
      break;
    }
  });
  QCOMPARE(f.condition, condition);
  QCOMPARE(f.file, file);
  QCOMPARE(f.message, message);
}

QTEST_APPLESS_MAIN(TestMathFn)
#include "tst_mathfn.moc"
