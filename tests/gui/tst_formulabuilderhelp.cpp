#include "gui/formulabuilderhelp.h"
#include "math/domains/equidistant.h"
#include "math/fce/formulaexpression.h"
#include "math/fce/mathfncachedformula.h"

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

  static const FormulaBuilderHelp::Row* rowOf(const QString& name)
  {
    for (const auto* rows :
         {&FormulaBuilderHelp::functionRows(), &FormulaBuilderHelp::binaryOperatorRows(),
          &FormulaBuilderHelp::otherOperatorRows()})
      for (const auto& row : *rows)
        if (row.names.split(", ").contains(name))
          return &row;
    return nullptr;
  }

private slots:
  void rowsMatchParser_data();
  void rowsMatchParser();
  void everyParserFunctionListed();
  void programFunctions();
};

void TestFormulaBuilderHelp::rowsMatchParser_data()
{
  QTest::addColumn<QString>("expression");
  QTest::addColumn<double>("expected");
  QTest::addColumn<QString>("name");
  QTest::addColumn<QString>("meaningHas");
  QTest::addColumn<QString>("tighter"); // an operator that must bind tighter than name
  // clang-format off
  QTest::newRow("atan2") << "atan2(1,0)" << std::atan2(1.0, 0.0) << "atan2" << "y given first" << "";
  QTest::newRow("log2") << "log2(8)" << 3.0 << "log2" << "base 2" << "";
  QTest::newRow("log10") << "log10(1000)" << 3.0 << "log10" << "base 10" << "";
  QTest::newRow("log is natural") << "log(100)" << std::log(100.0) << "log" << "base e" << "";
  QTest::newRow("sign") << "sign(-3)" << -1.0 << "sign" << "-1 for x < 0" << "";
  QTest::newRow("rint half up") << "rint(2.5)" << 3.0 << "rint" << "rint(2.5) = 3" << "";
  QTest::newRow("rint negative half") << "rint(-2.5)" << -2.0 << "rint" << "rint(-2.5) = -2" << "";
  QTest::newRow("conditional") << "x < 0.5 ? 0 : 1" << 1.0 << "?:" << "" << "";
  QTest::newRow("or below and") << "1 || 1 && 0" << 1.0 << "||" << "" << "&&";
  QTest::newRow("and below comparison") << "0 && 0 < 1" << 0.0 << "&&" << "" << "<";
  QTest::newRow("comparison below addition") << "1 < 2 + 3" << 1.0 << "<" << "" << "+";
  QTest::newRow("addition below multiplication") << "2 + 3 * 4" << 14.0 << "+" << "" << "*";
  QTest::newRow("division below power") << "8 / 2 ^ 2" << 2.0 << "/" << "" << "^";
  QTest::newRow("assignment below or") << "(x = 0 || 2) * 0 + x" << 1.0 << "=" << "" << "||";
  QTest::newRow("power right-associative") << "2^3^2" << 512.0 << "^" << "" << "";
  QTest::newRow("sign below power") << "-2^2" << -4.0 << "^" << "" << "";
  // clang-format on
}

void TestFormulaBuilderHelp::rowsMatchParser()
{
  QFETCH(QString, expression);
  QFETCH(double, expected);
  QFETCH(QString, name);
  QFETCH(QString, meaningHas);
  QFETCH(QString, tighter);
  QCOMPARE(eval(expression), expected);
  const auto* row = rowOf(name);
  QVERIFY2(row, qPrintable(name));
  QVERIFY2(row->meaning.contains(meaningHas), qPrintable(row->meaning));
  if (!tighter.isEmpty()) {
    const auto* high = rowOf(tighter);
    QVERIFY(high);
    QVERIFY2(row->arguments.toInt() < high->arguments.toInt(), qPrintable(row->arguments));
  }
}

void TestFormulaBuilderHelp::everyParserFunctionListed()
{
  mu::Parser parser;
  for (const auto& entry : parser.GetFunDef())
    QVERIFY2(rowOf(QString::fromStdString(entry.first)), entry.first.c_str());
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

void TestFormulaBuilderHelp::programFunctions()
{
  // The program's own parser set-up; their values are checked with the expression functions.
  QVERIFY(rowOf("uniform")->meaning.contains("[a, b)"));
  QVERIFY(rowOf("normal")->meaning.contains("mean given first"));
  Domains::Equidistant<double> domain(0.0, 1.0, 2);
  Fn::MathFnCachedFormula<double, double, Fn::FormulaExpression<double, double>> fn(&domain);
  fn.setExpression("sin(_pi)");
  QVERIFY(std::abs(fn.values().front()) < 1e-15);
  QVERIFY(FormulaBuilderHelp::helpText().contains("_pi"));
}

QTEST_MAIN(TestFormulaBuilderHelp)
#include "tst_formulabuilderhelp.moc"
