#include "gui/formulabuilderhelp.h"
#include "math/domains/equidistant.h"
#include "math/fce/formulaexpression.h"
#include "math/fce/mathfncachedformula.h"

#include <QLabel>
#include <QScrollArea>
#include <QtTest>

#include <muParser.h>

#include <cmath>

// Every row of the help page is held against what muParser really computes.
class TestFormulaBuilderHelp : public QObject
{
  Q_OBJECT

private:
  static double eval(const QString& expression, double x = 0.5)
  {
    mu::Parser parser;
    parser.DefineVar("x", &x);
    parser.SetExpr(expression.toStdString());
    return parser.Eval();
  }

  static const FormulaBuilderHelp::Row* rowOf(const QVector<FormulaBuilderHelp::Row>& rows,
                                              const QString& name)
  {
    for (const auto& row : rows)
      if (row.names.split(", ").contains(name))
        return &row;
    return nullptr;
  }

private slots:
  void functions_data();
  void functions();
  void everyParserFunctionListed();
  void operatorPriorities_data();
  void operatorPriorities();
  void conditional();
  void programFunctions();
  void pageShowsEveryRow();
};

void TestFormulaBuilderHelp::functions_data()
{
  // One case or more per row of the table; the meaning must state what the parser gives.
  QTest::addColumn<QString>("name");
  QTest::addColumn<QString>("expression");
  QTest::addColumn<double>("expected");
  QTest::addColumn<QString>("meaningHas");
  // clang-format off
  QTest::newRow("sin") << "sin" << "sin(1)" << std::sin(1.0) << "radians";
  QTest::newRow("asin") << "asin" << "asin(0.5)" << std::asin(0.5) << "arc sine";
  QTest::newRow("atan2") << "atan2" << "atan2(1,0)" << std::atan2(1.0, 0.0) << "y given first";
  QTest::newRow("sinh") << "sinh" << "sinh(1)" << std::sinh(1.0) << "hyperbolic sine";
  QTest::newRow("acosh") << "acosh" << "acosh(2)" << std::acosh(2.0) << "inverse hyperbolic";
  QTest::newRow("log2") << "log2" << "log2(8)" << 3.0 << "base 2";
  QTest::newRow("log10") << "log10" << "log10(1000)" << 3.0 << "base 10";
  QTest::newRow("log is natural") << "log" << "log(100)" << std::log(100.0) << "base e";
  QTest::newRow("ln") << "ln" << "ln(100)" << std::log(100.0) << "base e";
  QTest::newRow("exp") << "exp" << "exp(2)" << std::exp(2.0) << "e raised";
  QTest::newRow("sqrt") << "sqrt" << "sqrt(16)" << 4.0 << "square root";
  QTest::newRow("sign negative") << "sign" << "sign(-3)" << -1.0 << "-1 for x < 0";
  QTest::newRow("sign zero") << "sign" << "sign(0)" << 0.0 << "0 for x = 0";
  QTest::newRow("rint half up") << "rint" << "rint(2.5)" << 3.0 << "rint(2.5) = 3";
  QTest::newRow("rint negative half") << "rint" << "rint(-2.5)" << -2.0 << "rint(-2.5) = -2";
  QTest::newRow("abs") << "abs" << "abs(-3)" << 3.0 << "absolute";
  QTest::newRow("avg") << "avg" << "avg(1,2,6)" << 3.0 << "mean";
  QTest::newRow("one argument") << "min" << "min(7)" << 7.0 << "minimum";
  // clang-format on
}

void TestFormulaBuilderHelp::functions()
{
  QFETCH(QString, name);
  QFETCH(QString, expression);
  QFETCH(double, expected);
  QFETCH(QString, meaningHas);
  const auto* row = rowOf(FormulaBuilderHelp::functionRows(), name);
  QVERIFY2(row, qPrintable(name));
  QVERIFY2(row->meaning.contains(meaningHas), qPrintable(row->meaning));
  QCOMPARE(eval(expression), expected);
}

void TestFormulaBuilderHelp::everyParserFunctionListed()
{
  mu::Parser parser;
  for (const auto& entry : parser.GetFunDef()) {
    const QString name = QString::fromStdString(entry.first);
    QVERIFY2(rowOf(FormulaBuilderHelp::functionRows(), name), qPrintable(name));
  }
  // Arguments column against the parser's own argument counts.
  for (const auto& row : FormulaBuilderHelp::functionRows())
    for (const QString& name : row.names.split(", ")) {
      const auto it = parser.GetFunDef().find(name.toStdString());
      if (it == parser.GetFunDef().end())
        continue; // the program's own random functions
      const int argc = it->second.GetArgc();
      if (argc < 0)
        QVERIFY2(row.arguments.startsWith("variable"), qPrintable(name));
      else
        QCOMPARE(row.arguments, QString::number(argc));
    }
}

void TestFormulaBuilderHelp::operatorPriorities_data()
{
  // Each expression gives a different value depending on which operator binds tighter.
  QTest::addColumn<QString>("expression");
  QTest::addColumn<double>("expected");
  QTest::addColumn<QString>("looser");
  QTest::addColumn<QString>("tighter");
  // clang-format off
  QTest::newRow("or below and") << "1 || 1 && 0" << 1.0 << "||" << "&&";
  QTest::newRow("and below comparison") << "0 && 0 < 1" << 0.0 << "&&" << "<";
  QTest::newRow("comparison below addition") << "1 < 2 + 3" << 1.0 << "<" << "+";
  QTest::newRow("addition below multiplication") << "2 + 3 * 4" << 14.0 << "+" << "*";
  QTest::newRow("division below power") << "8 / 2 ^ 2" << 2.0 << "/" << "^";
  QTest::newRow("assignment below or") << "(x = 0 || 2) * 0 + x" << 1.0 << "=" << "||";
  // clang-format on
}

void TestFormulaBuilderHelp::operatorPriorities()
{
  QFETCH(QString, expression);
  QFETCH(double, expected);
  QFETCH(QString, looser);
  QFETCH(QString, tighter);
  QCOMPARE(eval(expression), expected);
  const auto* low = rowOf(FormulaBuilderHelp::binaryOperatorRows(), looser);
  const auto* high = rowOf(FormulaBuilderHelp::binaryOperatorRows(), tighter);
  QVERIFY(low && high);
  QVERIFY2(low->arguments.toInt() < high->arguments.toInt(),
           qPrintable(looser + " " + low->arguments + " vs " + tighter + " " + high->arguments));
}

void TestFormulaBuilderHelp::conditional()
{
  QCOMPARE(eval("x < 0.5 ? 0 : 1", 0.25), 0.0);
  QCOMPARE(eval("x < 0.5 ? 0 : 1", 0.75), 1.0);
  QCOMPARE(eval("2^3^2"), 512.0);
  QCOMPARE(eval("-2^2"), -4.0);
  QVERIFY(rowOf(FormulaBuilderHelp::otherOperatorRows(), "?:"));
}

void TestFormulaBuilderHelp::programFunctions()
{
  // "uniform", "normal" and the constants come from the program's parser set-up.
  Domains::Equidistant<double> domain(0.0, 1.0, 20000);
  Fn::MathFnCachedFormula<double, double, Fn::FormulaExpression<double, double>> fn(&domain);
  QVERIFY(rowOf(FormulaBuilderHelp::functionRows(), "uniform")->meaning.contains("[a, b)"));
  fn.setExpression("uniform(2, 3)");
  double sum = 0.0;
  for (double v : fn.values()) {
    QVERIFY(2.0 <= v && v < 3.0);
    sum += v;
  }
  QVERIFY(std::abs(sum / fn.values().size() - 2.5) < 0.02);

  QVERIFY(
      rowOf(FormulaBuilderHelp::functionRows(), "normal")->meaning.contains("mean given first"));
  fn.setExpression("normal(10, 2)");
  double mean = 0.0, squares = 0.0;
  for (double v : fn.values())
    mean += v;
  mean /= fn.values().size();
  for (double v : fn.values())
    squares += (v - mean) * (v - mean);
  // Five standard errors: a false alarm is practically impossible.
  QVERIFY2(std::abs(mean - 10.0) < 0.08, qPrintable(QString::number(mean)));
  QVERIFY(std::abs(std::sqrt(squares / fn.values().size()) - 2.0) < 0.06);

  fn.setExpression("sin(_pi)");
  QVERIFY(std::abs(fn.values().front()) < 1e-15);
  QVERIFY(FormulaBuilderHelp::helpText().contains("_pi"));
}

void TestFormulaBuilderHelp::pageShowsEveryRow()
{
  FormulaBuilderHelp help;
  QCOMPARE(help.windowTitle(), QString("Formula Builder Help"));
  auto* label = help.findChild<QLabel*>("helpLbl");
  QVERIFY(label);
  QVERIFY(label->text().contains("muParser"));
  for (const auto* rows :
       {&FormulaBuilderHelp::functionRows(), &FormulaBuilderHelp::binaryOperatorRows(),
        &FormulaBuilderHelp::otherOperatorRows()})
    for (const auto& row : *rows)
      QVERIFY2(label->text().contains(row.meaning.toHtmlEscaped()), qPrintable(row.meaning));
  QVERIFY(!label->text().contains("http"));
  QCOMPARE(help.findChild<QScrollArea*>()->styleSheet(),
           QString("background: rgb(255, 255, 255);"));
}

QTEST_MAIN(TestFormulaBuilderHelp)
#include "tst_formulabuilderhelp.moc"
