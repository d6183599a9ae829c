#include "common/promptrecorder.h"
#include "common/testfiles.h"
#include "gui/components/markerpolicy.h"
#include "gui/components/plotwidget.h"
#include "gui/formulabuilderhelp.h"
#include "gui/formulabuilderwidget.h"
#include "math/fce/mathfn.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

#include <muParser.h>
#include <qwt_plot.h>

#include <cmath>

class TestFormulaBuilderWidget : public QObject
{
  Q_OBJECT

  struct Builder
  {
    QTemporaryDir dir;
    FormulaBuilderWidget w;
    QListWidget* list = w.findChild<QListWidget*>("listWidget");
    QPlainTextEdit* edit = w.findChild<QPlainTextEdit*>("textEdit");
    PlotWidget* plot = w.findChild<PlotWidget*>("plotWidget");

    Builder() { w.setFormulaDirectory(dir.path()); }
    QLineEdit* lineEdit(const QString& name) { return w.findChild<QLineEdit*>(name); }
    void click(const char* button) { w.findChild<QPushButton*>(button)->click(); }
    void setRange(const QString& low, const QString& high)
    {
      lineEdit("lowEdt")->setText(low);
      lineEdit("highEdt")->setText(high);
      QMetaObject::invokeMethod(&w, "onDomainRange_changed");
    }
    const Fn::MathFn<double, double>* preview() const
    {
      const auto infos = plot->curveInfos();
      return infos.size() == 1 ? infos.first()->function() : nullptr;
    }
    QLineEdit* editor(QListWidgetItem* item) const
    {
      return qobject_cast<QLineEdit*>(list->indexWidget(list->model()->index(list->row(item), 0)));
    }
    void typeIntoOpenEditor(QListWidgetItem* item, const QString& name)
    {
      QLineEdit* e = editor(item);
      QVERIFY(e);
      e->selectAll();
      QTest::keyClicks(e, name);
      QTest::keyClick(e, Qt::Key_Return);
      QCoreApplication::processEvents(); // the delegate commits through a queued call
    }
  };

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
  void loadHostileFile()
  {
    PromptRecorder rec;
    QTemporaryDir dir;
    writeFile(dir.filePath("FormulaBuilder.ini"),
              "[General]\nselectedRow=99\ndomainLow=x\ndomainHigh=1\n"
              "[formulas]\nsize=2000000000\n1\\formula_name=a\n1\\formula_expression=x*2\n"
              "2\\formula_name=a\n2\\formula_expression=x*3\n3\\formula_name=\n"
              "4\\formula_name=bad\n4\\formula_expression=1,5\n");
    FormulaBuilderWidget w;
    w.setFormulaDirectory(dir.path());
    QCOMPARE(w.formulaNames(), (QStringList{"a", "bad"}));
    QCOMPARE(w.expression("a"), QString("x*2"));
    QCOMPARE(w.expression("bad"), QString());
    QCOMPARE(rec.titles(), QStringList{"Formulas file"});
    QVERIFY2(rec.messages[0].text.contains("Ignoring 2") && rec.messages[0].text.contains("bad"),
             qPrintable(rec.messages[0].text));
    QVERIFY(!w.findChild<QLineEdit*>("lowEdt")->styleSheet().isEmpty());
  }

  void renameAndDuplicateName()
  {
    PromptRecorder rec;
    Builder b;
    b.w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&b.w));
    QSignalSpy renamed(&b.w, &FormulaBuilderWidget::formulaRenamed);
    QSignalSpy accepted(&b.w, &QDialog::accepted);

    b.edit->setPlainText("x^3");
    b.click("newBtn");
    QListWidgetItem* item = b.list->item(1);
    b.typeIntoOpenEditor(item, "Default");
    QCOMPARE(rec.titles(), QStringList{"Item already exists: "});
    QCOMPARE(rec.messages.at(0).text, QString("Two items cannot have same name: 'Default'"));
    QVERIFY(b.editor(item));
    b.w.accept();
    QCOMPARE(accepted.count(), 0);
    QCOMPARE(b.w.expression("Default"), QString("x^3")); // the first keeps its own

    b.typeIntoOpenEditor(item, "Cube");
    QCOMPARE(renamed.count(), 0); // naming a new formula renames nothing
    b.w.accept();
    QCOMPARE(accepted.count(), 1);
    QCOMPARE(b.w.formulaNames(), (QStringList{"Default", "Cube"}));

    b.w.show();
    b.list->editItem(b.list->item(0));
    b.typeIntoOpenEditor(b.list->item(0), "Wave");
    QCOMPARE(renamed.value(0), (QList<QVariant>{"Default", "Wave"}));
    QCOMPARE(b.w.expression("Wave"), QString("x^3"));
    b.edit->setPlainText("x"); // editing the expression is no rename
    QCOMPARE(renamed.count(), 1);
  }

  void expressionMarking_data()
  {
    QTest::addColumn<QString>("invalid");
    QTest::addColumn<QString>("marked");
    QTest::addColumn<QString>("messageHas");
    // clang-format off
    QTest::newRow("unbalanced") << "sin(" << "(" << "end of expression";
    QTest::newRow("two results") << "1,5" << "," << "more than one result";
    QTest::newRow("unknown function") << "2*foo(x)" << "foo" << "foo";
    // clang-format on
  }

  void expressionMarking()
  {
    QFETCH(QString, invalid);
    QFETCH(QString, marked);
    QFETCH(QString, messageHas);
    PromptRecorder rec;
    Builder b;
    const QString stored = b.w.expression("Default");

    b.edit->setPlainText(invalid);
    QVERIFY(!b.edit->styleSheet().isEmpty());
    QVERIFY2(b.edit->toolTip().contains(messageHas), qPrintable(b.edit->toolTip()));
    const auto marks = b.edit->extraSelections();
    QCOMPARE(marks.size(), 1);
    QCOMPARE(marks[0].cursor.selectedText(), marked);
    for (double v : b.preview()->values())
      QCOMPARE(v, 0.0);
    QCOMPARE(b.w.expression("Default"), stored);
    b.click("newBtn"); // no new formula from an invalid one
    QCOMPARE(b.list->count(), 1);
    // OK keeps the dialog open and names the fault rather than dropping the edit.
    QSignalSpy accepted(&b.w, &QDialog::accepted);
    b.w.accept();
    QVERIFY(accepted.isEmpty() && b.edit->toPlainText() == invalid);
    QCOMPARE(rec.titles(), (QStringList{"Error", "Error"}));
    QVERIFY2(rec.messages[0].text.contains(messageHas), qPrintable(rec.messages[0].text));
    QVERIFY2(rec.messages[1].text.startsWith("The formula \"Default\" is not valid: ") &&
                 rec.messages[1].text.contains(messageHas),
             qPrintable(rec.messages[1].text));

    b.edit->setPlainText("sin(x)");
    QVERIFY(b.edit->styleSheet().isEmpty());
    QVERIFY(b.edit->extraSelections().isEmpty());
    QCOMPARE(b.preview()->values().back(), std::sin(b.preview()->domain()->high()));
    // The preview's y axis follows the curve.
    b.edit->setPlainText("1000*x");
    QCOMPARE(b.plot->plot()->axisInterval(QwtPlot::yLeft).maxValue(), 1000.0);
    b.w.accept();
    QCOMPARE(accepted.count(), 1);
    QCOMPARE(b.w.expression("Default"), QString("1000*x"));
  }

  void acceptRejectAndClose()
  {
    PromptRecorder rec;
    Builder b;
    for (int width : {6, 300}) { // the preview keeps at least 10 subintervals
      b.plot->canvas()->resize(width, b.plot->canvas()->height());
      QMetaObject::invokeMethod(&b.w, "onDomainRange_changed");
      QCOMPARE(b.preview()->domain()->size(), std::size_t(qMax(10, width) + 1));
    }
    b.w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&b.w));
    QSignalSpy rejected(&b.w, &QDialog::rejected);
    QSignalSpy accepted(&b.w, &QDialog::accepted);
    for (const char* name : {"lowEdt", "highEdt"}) { // Enter there applies the range only
      b.lineEdit(name)->setFocus();
      QTest::keyClick(b.lineEdit(name), Qt::Key_Return);
    }
    QVERIFY(b.w.isVisible() && accepted.isEmpty());
    QSettings s(b.dir.filePath("FormulaBuilder.ini"), QSettings::IniFormat); // made when missing
    QCOMPARE(s.value("formulas/1/formula_name").toString(), QString("Default"));
    b.edit->setPlainText("x^2");
    b.lineEdit("highEdt")->setText("4");
    b.w.accept();
    s.sync();
    QCOMPARE(s.value("formulas/1/formula_expression").toString(), QString("x^2"));
    QCOMPARE(s.value("domainHigh").toString(), QString("4"));

    b.w.show();
    b.edit->setPlainText("x^3");
    b.click("deleteBtn");
    QCOMPARE(b.list->count(), 0);
    rec.messageAnswer = QMessageBox::Abort;
    QVERIFY(!b.w.close());
    QCOMPARE(rec.titles(), QStringList{"Formula builder Closing"});
    QCOMPARE(rec.messages[0].text, QString("All changes made will be lost"));
    QCOMPARE(b.list->count(), 0);

    rec.messageAnswer = QMessageBox::Ok;
    QVERIFY(b.w.close());
    QCOMPARE(rejected.count(), 1);
    QCOMPARE(b.w.formulaNames(), QStringList{"Default"});
    QCOMPARE(b.edit->toPlainText(), QString("x^2"));
    QCOMPARE(b.preview()->domain()->high(), 4.0);

    // While a new item has no accepted name, closing is refused without asking.
    b.w.show();
    b.click("newBtn");
    rec.messages.clear();
    QVERIFY(!b.w.close());
    QVERIFY(rec.messages.isEmpty());
  }

  void previewRangeRefused_data()
  {
    QTest::addColumn<QString>("low");
    QTest::addColumn<QString>("high");
    QTest::addColumn<QString>("marked");
    // clang-format off
    QTest::newRow("low above high") << "2" << "1" << "highEdt";
    QTest::newRow("not a number") << "abc" << "1" << "lowEdt";
    QTest::newRow("infinite") << "0" << "inf" << "highEdt";
    QTest::newRow("width overflows") << "-1e308" << "1e308" << "highEdt";
    QTest::newRow("no room for points") << "0" << "4.9e-324" << "highEdt";
    // clang-format on
  }

  void previewRangeRefused()
  {
    QFETCH(QString, low);
    QFETCH(QString, high);
    QFETCH(QString, marked);
    Builder b;
    const auto* before = b.preview();
    const std::size_t points = before->domain()->size();
    b.setRange(low, high);
    QVERIFY(!b.lineEdit(marked)->styleSheet().isEmpty());
    QCOMPARE(b.preview(), before);
    QCOMPARE(b.preview()->domain()->size(), points);
    b.setRange("-1", "1");
    QVERIFY(b.lineEdit(marked)->styleSheet().isEmpty());
  }

  void everyParserFunctionListed()
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
        if (it->second.GetArgc() < 0)
          QVERIFY2(row.arguments.startsWith("variable"), qPrintable(name));
        else
          QCOMPARE(row.arguments, QString::number(it->second.GetArgc()));
      }
    // The program's own functions and constant (their values: the expression tests).
    QVERIFY(rowOf("uniform") && rowOf("normal") && FormulaBuilderHelp::helpText().contains("_pi"));
  }
};

QTEST_MAIN(TestFormulaBuilderWidget)
#include "tst_formulabuilderwidget.moc"
