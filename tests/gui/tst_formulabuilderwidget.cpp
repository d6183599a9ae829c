#include "common/promptrecorder.h"
#include "gui/components/markerpolicy.h"
#include "gui/components/plotwidget.h"
#include "gui/formulabuilderwidget.h"
#include "math/domains/enumerationbase.h"
#include "math/fce/mathfn.h"

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

class TestFormulaBuilderWidget : public QObject
{
  Q_OBJECT

private:
  struct Builder
  {
    QTemporaryDir dir;
    FormulaBuilderWidget w;
    QListWidget* list;
    QPlainTextEdit* edit;
    PlotWidget* plot;

    Builder()
    {
      list = w.findChild<QListWidget*>("listWidget");
      edit = w.findChild<QPlainTextEdit*>("textEdit");
      plot = w.findChild<PlotWidget*>("plotWidget");
      w.setFormulaDirectory(dir.path());
    }
    QString file() const { return dir.filePath("FormulaBuilder.ini"); }
    QLineEdit* lineEdit(const char* name) { return w.findChild<QLineEdit*>(name); }
    const Fn::MathFn<double, double>* preview() const
    {
      const auto infos = plot->curveInfos();
      return infos.size() == 1 ? infos.first()->function() : nullptr;
    }
    // Types a name into the item's editor and commits it with Return.
    void rename(QListWidgetItem* item, const QString& name)
    {
      list->setCurrentItem(item);
      list->editItem(item);
      typeIntoOpenEditor(item, name);
    }
    void typeIntoOpenEditor(QListWidgetItem* item, const QString& name)
    {
      auto* editor =
          qobject_cast<QLineEdit*>(list->indexWidget(list->model()->index(list->row(item), 0)));
      QVERIFY(editor);
      editor->selectAll();
      QTest::keyClicks(editor, name);
      QTest::keyClick(editor, Qt::Key_Return);
      // The delegate commits and closes through a queued call.
      QCoreApplication::processEvents();
    }
    bool editorOpen(QListWidgetItem* item) const
    {
      return list->indexWidget(list->model()->index(list->row(item), 0)) != nullptr;
    }
  };

private slots:
  void defaultsAndFileKeys();
  void renameEmitsOnce();
  void duplicateNameBlocksAccept();
  void expressionMarking_data();
  void expressionMarking();
  void newWithInvalidExpression();
  void acceptSavesRejectReloads();
  void closingQuestion();
  void previewSubintervals();
  void previewRangeRefused_data();
  void previewRangeRefused();
  void loadHostileFile();
};

void TestFormulaBuilderWidget::defaultsAndFileKeys()
{
  PromptRecorder rec;
  Builder b;
  QCOMPARE(b.w.windowTitle(), QString("Formula builder"));
  QCOMPARE(b.plot->toolTip(), QString("Preview graph"));
  QCOMPARE(b.w.formulaNames(), QStringList{"Default"});
  QCOMPARE(b.w.expression("Default"), QString("sin(15*x) * x^2"));
  QCOMPARE(b.w.expression("nothing"), QString());
  QCOMPARE(b.lineEdit("lowEdt")->text(), QString("0"));
  QCOMPARE(b.lineEdit("highEdt")->text(), QString("1"));
  QVERIFY(rec.messages.isEmpty());

  // No file yet: the directory gets one with the current list.
  QSettings s(b.file(), QSettings::IniFormat);
  QCOMPARE(s.value("formulas/size").toInt(), 1);
  QCOMPARE(s.value("formulas/1/formula_name").toString(), QString("Default"));
  QCOMPARE(s.value("formulas/1/formula_expression").toString(), QString("sin(15*x) * x^2"));
  QCOMPARE(s.value("selectedRow").toInt(), 0);
  QCOMPARE(s.value("domainLow").toString(), QString("0"));
  QCOMPARE(s.value("domainHigh").toString(), QString("1"));

  // A file that exists is loaded instead, in its order with its row selected.
  QTemporaryDir other;
  {
    QSettings f(other.filePath("FormulaBuilder.ini"), QSettings::IniFormat);
    f.beginWriteArray("formulas");
    f.setArrayIndex(0);
    f.setValue("formula_name", "b");
    f.setValue("formula_expression", "x+1");
    f.setArrayIndex(1);
    f.setValue("formula_name", "a");
    f.setValue("formula_expression", "max(x, 0.5)");
    f.endArray();
    f.setValue("selectedRow", 1);
    f.setValue("domainLow", "-2");
    f.setValue("domainHigh", "3");
  }
  b.w.setFormulaDirectory(other.path());
  QCOMPARE(b.w.formulaNames(), (QStringList{"b", "a"}));
  QCOMPARE(b.list->currentRow(), 1);
  QCOMPARE(b.edit->toPlainText(), QString("max(x, 0.5)"));
  QCOMPARE(b.w.expression("a"), QString("max(x, 0.5)"));
  QCOMPARE(b.preview()->domain()->low(), -2.0);
  QCOMPARE(b.preview()->domain()->high(), 3.0);
  QCOMPARE(b.preview()->values().front(), 0.5);
  QVERIFY(rec.messages.isEmpty());
}

void TestFormulaBuilderWidget::renameEmitsOnce()
{
  Builder b;
  b.w.show();
  QVERIFY(QTest::qWaitForWindowExposed(&b.w));
  QSignalSpy spy(&b.w, &FormulaBuilderWidget::formulaRenamed);
  b.rename(b.list->item(0), "Wave");
  QCOMPARE(spy.count(), 1);
  QCOMPARE(spy.at(0).at(0).toString(), QString("Default"));
  QCOMPARE(spy.at(0).at(1).toString(), QString("Wave"));
  QCOMPARE(b.w.expression("Wave"), QString("sin(15*x) * x^2"));
  QCOMPARE(b.w.expression("Default"), QString());
  // Editing the expression afterwards is no rename.
  b.edit->setPlainText("x");
  QCOMPARE(spy.count(), 1);
}

void TestFormulaBuilderWidget::duplicateNameBlocksAccept()
{
  PromptRecorder rec;
  Builder b;
  b.w.show();
  QVERIFY(QTest::qWaitForWindowExposed(&b.w));
  QSignalSpy renamed(&b.w, &FormulaBuilderWidget::formulaRenamed);
  QSignalSpy accepted(&b.w, &QDialog::accepted);

  b.edit->setPlainText("x^3");
  b.w.findChild<QPushButton*>("newBtn")->click();
  QCOMPARE(b.list->count(), 2);
  QListWidgetItem* item = b.list->item(1);
  QCOMPARE(item->text(), QString("item name"));
  QVERIFY(b.editorOpen(item));
  QVERIFY(b.w.hasPendingName());

  b.typeIntoOpenEditor(item, "Default");
  QCOMPARE(rec.titles(), QStringList{"Item already exists: "});
  QCOMPARE(rec.messages.at(0).text, QString("Two items cannot have same name: 'Default'"));
  QVERIFY(b.editorOpen(item));
  b.w.accept();
  QCOMPARE(accepted.count(), 0);
  QVERIFY(b.w.isVisible());
  // The first "Default" keeps its own expression meanwhile.
  QCOMPARE(b.w.expression("Default"), QString("x^3"));

  b.typeIntoOpenEditor(item, "Cube");
  QCOMPARE(rec.messages.size(), 1);
  QVERIFY(!b.w.hasPendingName());
  // Naming a new formula is not a rename of anything the window refers to.
  QCOMPARE(renamed.count(), 0);
  b.w.accept();
  QCOMPARE(accepted.count(), 1);
  QCOMPARE(b.w.formulaNames(), (QStringList{"Default", "Cube"}));
  QCOMPARE(b.w.expression("Cube"), QString("x^3"));
  QSettings s(b.file(), QSettings::IniFormat);
  QCOMPARE(s.value("formulas/size").toInt(), 2);
  QCOMPARE(s.value("formulas/2/formula_name").toString(), QString("Cube"));
}

void TestFormulaBuilderWidget::expressionMarking_data()
{
  QTest::addColumn<QString>("invalid");
  QTest::addColumn<QString>("marked");
  QTest::addColumn<QString>("messageHas");
  // clang-format off
  QTest::newRow("unbalanced") << "sin(" << "(" << "end of expression";
  QTest::newRow("two results") << "1,5" << "," << "more than one result";
  QTest::newRow("two results in x") << "1,5*x" << "," << "more than one result";
  QTest::newRow("unknown function") << "2*foo(x)" << "foo" << "foo";
  // clang-format on
}

void TestFormulaBuilderWidget::expressionMarking()
{
  QFETCH(QString, invalid);
  QFETCH(QString, marked);
  QFETCH(QString, messageHas);
  Builder b;
  const QString stored = b.w.expression("Default");

  b.edit->setPlainText(invalid);
  QVERIFY(!b.edit->styleSheet().isEmpty());
  QVERIFY2(b.edit->toolTip().contains(messageHas), qPrintable(b.edit->toolTip()));
  const auto selections = b.edit->extraSelections();
  QCOMPARE(selections.size(), 1);
  QCOMPARE(selections[0].cursor.selectedText(), marked);
  QCOMPARE(selections[0].format.underlineStyle(), QTextCharFormat::SingleUnderline);
  QCOMPARE(selections[0].format.underlineColor(), QColor(Qt::red));
  QCOMPARE(selections[0].format.background().color(), QColor(Qt::yellow));
  for (double v : b.preview()->values())
    QCOMPARE(v, 0.0);
  QCOMPARE(b.w.expression("Default"), stored);
  QCOMPARE(b.list->currentItem()->data(Qt::UserRole).toString(), stored);

  b.edit->setPlainText("sin(x)");
  QVERIFY(b.edit->styleSheet().isEmpty());
  QVERIFY(b.edit->extraSelections().isEmpty());
  QCOMPARE(b.w.expression("Default"), QString("sin(x)"));
  const auto* preview = b.preview();
  const std::size_t last = preview->domain()->size() - 1;
  QCOMPARE(preview->values()[last], std::sin(preview->domain()->values()[last]));
}

void TestFormulaBuilderWidget::newWithInvalidExpression()
{
  PromptRecorder rec;
  Builder b;
  b.edit->setPlainText("1,5");
  b.w.findChild<QPushButton*>("newBtn")->click();
  QCOMPARE(rec.titles(), QStringList{"Error"});
  QVERIFY(rec.messages[0].text.contains("more than one result"));
  QCOMPARE(b.list->count(), 1);
  QVERIFY(!b.w.hasPendingName());
}

void TestFormulaBuilderWidget::acceptSavesRejectReloads()
{
  Builder b;
  b.edit->setPlainText("x^2");
  b.lineEdit("highEdt")->setText("4");
  b.w.accept();
  QCOMPARE(
      QSettings(b.file(), QSettings::IniFormat).value("formulas/1/formula_expression").toString(),
      QString("x^2"));
  QCOMPARE(QSettings(b.file(), QSettings::IniFormat).value("domainHigh").toString(), QString("4"));

  b.edit->setPlainText("x^3");
  b.w.findChild<QPushButton*>("deleteBtn")->click();
  QCOMPARE(b.list->count(), 0);
  QCOMPARE(b.w.expression("Default"), QString());
  b.w.reject();
  QCOMPARE(b.w.formulaNames(), QStringList{"Default"});
  QCOMPARE(b.w.expression("Default"), QString("x^2"));
  QCOMPARE(b.edit->toPlainText(), QString("x^2"));
  QCOMPARE(b.preview()->domain()->high(), 4.0);
}

void TestFormulaBuilderWidget::closingQuestion()
{
  PromptRecorder rec;
  Builder b;
  b.w.show();
  QVERIFY(QTest::qWaitForWindowExposed(&b.w));
  QSignalSpy rejected(&b.w, &QDialog::rejected);
  b.edit->setPlainText("x+2");

  rec.messageAnswer = QMessageBox::Abort;
  QVERIFY(!b.w.close());
  QVERIFY(b.w.isVisible());
  QCOMPARE(rec.titles(), QStringList{"Formula builder Closing"});
  QCOMPARE(rec.messages[0].text, QString("All chnages made will be lost"));
  QCOMPARE(b.w.expression("Default"), QString("x+2"));

  rec.messageAnswer = QMessageBox::Ok;
  QVERIFY(b.w.close());
  QCOMPARE(rejected.count(), 1);
  QCOMPARE(b.w.expression("Default"), QString("sin(15*x) * x^2"));

  // While a new item has no accepted name, closing is refused without asking.
  b.w.show();
  b.w.findChild<QPushButton*>("newBtn")->click();
  rec.messages.clear();
  QVERIFY(!b.w.close());
  QVERIFY(rec.messages.isEmpty());
}

void TestFormulaBuilderWidget::previewSubintervals()
{
  Builder b;
  b.plot->canvas()->resize(6, b.plot->canvas()->height());
  QCOMPARE(b.plot->canvasWidth(), 6);
  QMetaObject::invokeMethod(&b.w, "onDomainRange_changed");
  QCOMPARE(b.preview()->domain()->size(), std::size_t(11));

  b.plot->canvas()->resize(300, b.plot->canvas()->height());
  QMetaObject::invokeMethod(&b.w, "onDomainRange_changed");
  QCOMPARE(b.preview()->domain()->size(), std::size_t(301));
}

void TestFormulaBuilderWidget::previewRangeRefused_data()
{
  QTest::addColumn<QString>("low");
  QTest::addColumn<QString>("high");
  QTest::addColumn<QString>("marked");
  // clang-format off
  QTest::newRow("low above high") << "2" << "1" << "highEdt";
  QTest::newRow("equal") << "1" << "1" << "highEdt";
  QTest::newRow("not a number") << "abc" << "1" << "lowEdt";
  QTest::newRow("infinite") << "0" << "inf" << "highEdt";
  QTest::newRow("width overflows") << "-1e308" << "1e308" << "highEdt";
  QTest::newRow("no room for points") << "0" << "4.9e-324" << "highEdt";
  // clang-format on
}

void TestFormulaBuilderWidget::previewRangeRefused()
{
  QFETCH(QString, low);
  QFETCH(QString, high);
  QFETCH(QString, marked);
  Builder b;
  const auto* before = b.preview();
  const std::size_t points = before->domain()->size();
  b.lineEdit("lowEdt")->setText(low);
  b.lineEdit("highEdt")->setText(high);
  QMetaObject::invokeMethod(&b.w, "onDomainRange_changed");
  QVERIFY(!b.lineEdit(qPrintable(marked))->styleSheet().isEmpty());
  QCOMPARE(b.preview(), before);
  QCOMPARE(b.preview()->domain()->size(), points);
  QCOMPARE(b.preview()->domain()->high(), 1.0);

  // A good range clears the marking.
  b.lineEdit("lowEdt")->setText("-1");
  b.lineEdit("highEdt")->setText("1");
  QMetaObject::invokeMethod(&b.w, "onDomainRange_changed");
  QVERIFY(b.lineEdit("lowEdt")->styleSheet().isEmpty());
  QVERIFY(b.lineEdit("highEdt")->styleSheet().isEmpty());
  QCOMPARE(b.preview()->domain()->low(), -1.0);
}

void TestFormulaBuilderWidget::loadHostileFile()
{
  PromptRecorder rec;
  QTemporaryDir dir;
  {
    QFile f(dir.filePath("FormulaBuilder.ini"));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("[General]\nselectedRow=99\ndomainLow=x\ndomainHigh=1\n"
            "[formulas]\nsize=2000000000\n1\\formula_name=a\n1\\formula_expression=x*2\n"
            "2\\formula_name=a\n2\\formula_expression=x*3\n3\\formula_name=\n"
            "4\\formula_name=bad\n4\\formula_expression=1,5\n");
  }
  FormulaBuilderWidget w;
  w.setFormulaDirectory(dir.path());
  QCOMPARE(w.formulaNames(), (QStringList{"a", "bad"}));
  QCOMPARE(w.expression("a"), QString("x*2"));
  // An expression the parser refuses is kept for correction but never handed out.
  QCOMPARE(w.expression("bad"), QString());
  QCOMPARE(rec.titles(), QStringList{"Formulas file"});
  QVERIFY(rec.messages[0].text.contains("Ignoring 2"));
  QVERIFY(rec.messages[0].text.contains("bad"));
  QVERIFY(!w.findChild<QLineEdit*>("lowEdt")->styleSheet().isEmpty());
}

QTEST_MAIN(TestFormulaBuilderWidget)
#include "tst_formulabuilderwidget.moc"
