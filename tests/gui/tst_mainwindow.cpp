// The main window's own controls: degrees and the component-table columns,
// legend corners, random data and closing it, renamed formulas.
#include "guitesthelpers.h"

#include "common/promptrecorder.h"
#include "gui/components/functiontablewidget.h"
#include "gui/components/nodeeditors.h"
#include "gui/components/partitioneditor.h"
#include "gui/components/plotwidget.h"
#include "gui/formulabuilderwidget.h"
#include "math/domains/enumerationbase.h"
#include "math/fce/mathfn.h"

#include <QClipboard>
#include <QComboBox>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>

#include <qwt_plot.h>

#include <cmath>
#include <set>

namespace {

using T = MainWindowTester;
using Ptr = std::unique_ptr<MainWindow>;

const Fn::MathFn<double, double>* firstFunction(MainWindow* w)
{
  return T::controller(w)->functions().value(0);
}

QTableWidget* table(MainWindow* w)
{
  return T::child<FunctionTableWidget>(w, "functionTableWidget")->table();
}

} // namespace

class TestMainWindow : public QObject
{
  Q_OBJECT

  ProgramEnvironment env;
  std::unique_ptr<PromptRecorder> rec;
  Ptr w;
  MainWindow* win = nullptr;

private slots:
  void initTestCase() { env.setUp(); }
  // A started window whose prompts are recorded: none is expected.
  void init()
  {
    ProgramEnvironment::clearWindowSettings();
    rec = std::make_unique<PromptRecorder>();
    w = startWindow();
    win = w.get();
  }
  void cleanup()
  {
    QVERIFY(rec->messages.isEmpty());
    w.reset();
    rec.reset();
  }

  void degreeControlsAndTheirColumns()
  {
    T::degreeSpin(win)->setValue(2);
    QVERIFY(!T::degreeBox(win, 2)->isHidden() && T::degreeBox(win, 3)->isHidden());
    QCOMPARE(T::controller(win)->maxDegree(), 2);
    T::degreeBox(win, 1)->setChecked(true);
    T::degreeBox(win, 2)->setChecked(true);
    QCOMPARE(T::controller(win)->visibleDegrees(), 1 | 2 | 4);
    T::degreeSpin(win)->setValue(0);
    QVERIFY(!T::degreeBox(win, 1)->isChecked() && !T::degreeBox(win, 2)->isChecked());
    QCOMPARE(T::controller(win)->visibleDegrees(), 1);
    QCOMPARE(T::controller(win)->maxDegree(), 0);

    // Unchecking a degree hides its column of every function.
    QTest::mouseClick(T::selector(win)->findChild<QPushButton*>("addBtn"), Qt::LeftButton);
    showDegrees(win, 1, 3);
    table(win)->setColumnCount(4);
    for (int c = 0; c < 4; ++c)
      table(win)->setColumnHidden(c, false);
    T::degreeBox(win, 1)->setChecked(false);
    for (int c = 0; c < 4; ++c)
      QCOMPARE(table(win)->isColumnHidden(c), c % 2 == 1);
  }

  void legendCorners_data()
  {
    QTest::addColumn<int>("alignment");
    QTest::addColumn<QString>("checked");
    QTest::newRow("bottom left") << 0x41 << "actionLegendBottomLeft";
    QTest::newRow("none gives the default") << 0 << "actionLegendTopRight";
  }

  void legendCorners()
  {
    QFETCH(int, alignment);
    QFETCH(QString, checked);
    const QString file = env.dir.filePath(QStringLiteral("legend%1.qms").arg(alignment));
    {
      QSettings s(file, QSettings::IniFormat);
      s.setValue("MainWindow/legendAlignment", alignment);
      s.setValue("MainWindow/showLegend", true);
    }
    QVERIFY(w->openSession(file));
    QStringList on;
    for (QAction* a : T::child<QMenu>(win, "menuPlot")->actions())
      if (a->isChecked() && a->objectName().startsWith(QStringLiteral("actionLegend")))
        on << a->objectName();
    QCOMPARE(on, QStringList{checked});
    // A value that names no corner gives the default: menu and plot agree.
    const int shown = alignment ? alignment : 0x22;
    QCOMPARE(T::legendAlignment(win), shown);
    QCOMPARE(int(T::controller(win)->plotWidget()->legendAlignment()), shown);
    QVERIFY(T::controller(win)->plotWidget()->isLegendVisible());
  }

  void randomDataAndCloseData()
  {
    T::randomData(win)->trigger();
    QCOMPARE(w->functionSourceType(), FunctionSource::TableData);
    QCOMPARE(T::functions(win).size(), 1);
    const Fn::MathFn<double, double>* fn = firstFunction(win);
    QCOMPARE(fn->domain()->size(), std::size_t(201));
    for (std::size_t i = 0; i < fn->domain()->size(); ++i)
      QVERIFY(fn->valueAtIndex(i) >= 0.0 && fn->valueAtIndex(i) <= 1.0);
    QVERIFY(!T::child<QWidget>(win, "domainWidget")->isEnabled());
    QVERIFY(!T::selector(win)->isEnabled());
    QVERIFY(!T::action(win, "actionFormulaBuilder")->isEnabled());
    T::action(win, "actionCloseData")->trigger(); // the inputs: tst_mainwindow_data
    QCOMPARE(w->functionSourceType(), FunctionSource::Formulas);
    QVERIFY(!T::action(win, "actionCloseData")->isEnabled());
    QCOMPARE(T::functions(win).size(), 1);
    QCOMPARE(firstFunction(win)->domain()->low(), T::domainText(win, "lowEdt").toDouble());
    QCOMPARE(firstFunction(win)->domain()->high(), T::domainText(win, "highEdt").toDouble());
    QCOMPARE(w->windowTitle(), QStringLiteral("Quelmora - default.qms[*]"));
  }

  // The plot goes to the clipboard as an image, the table as text a spreadsheet
  // reads as the very numbers, whatever the locale (Ctrl+C: the table's own test).
  void copyPlotAndTable()
  {
    T::action(win, "actionCopyPlot")->trigger();
    QCOMPARE(QApplication::clipboard()->image().size(),
             T::controller(win)->plotWidget()->plot()->size());
    QVERIFY(!T::action(win, "actionCopyTable")->isEnabled()); // the table is hidden and empty
    showDegrees(win, 1, 3);
    T::action(win, "actionShowComponentTable")->trigger();
    QTRY_VERIFY(T::action(win, "actionCopyTable")->isEnabled());
    QTableWidget* t = table(win);
    // Edit > Copy table: the whole table with its header, whatever is selected.
    QCOMPARE(T::action(win, "actionCopyTable")->shortcut(), QKeySequence("Ctrl+Shift+C"));
    QLocale::setDefault(QLocale(QLocale::German));
    t->selectRow(2);
    T::action(win, "actionCopyTable")->trigger();
    QLocale::setDefault(QLocale::c());
    const QStringList lines = QApplication::clipboard()->text().split('\n');
    QCOMPARE(lines.size(), t->rowCount() + 2); // and what follows the last line break
    QCOMPARE(lines[0],
             t->horizontalHeaderItem(0)->text() + '\t' + t->horizontalHeaderItem(1)->text());
    const QStringList cells = lines[3].split('\t');
    QCOMPARE(cells.size(), 2);
    for (int d = 0; d < 2; ++d)
      QCOMPARE(
          cells[d].toDouble(),
          T::controller(win)->components().value({firstFunction(win), 1 << d})->valueAtIndex(2));
  }

  // One row per basic function, whatever partition the table showed before (the count going
  // down, custom 25 nodes then equidistant 5), and every rebuild (count, domain, kind, data)
  // keeps the link between the table's rows and the partition editor's nodes.
  void tableFollowsThePartition()
  {
    T::action(win, "actionShowComponentTable")->trigger();
    auto* rows = T::child<FunctionTableWidget>(win, "functionTableWidget");
    auto basicFunctions = [this] { return int(T::controller(win)->partition()->fceCount()); };
    // The partition widget is made anew as the partition changes.
    auto count = [this] { return T::partitionWidget(win)->findChild<QSpinBox*>("nodesSpin"); };
    const int functions[] = {25, 5, 5, 25, 5, 0}; // 0: as many as the data gives
    for (int step = 0; step < 6; ++step) {
      if (step < 2) {
        count()->setValue(functions[step]);
      } else if (step == 2) {
        T::domainChanged(win);
      } else if (step == 3) {
        T::action(win, "actionPartDelta")->trigger();
        std::set<double> nodes;
        for (int i = 0; i < 25; ++i)
          nodes.insert(i / 24.0);
        QVERIFY(T::partitionWidget(win)->setNodeSet(nodes));
        T::partitionWidget(win)->onInputsChanged();
      } else if (step == 4) {
        T::action(win, "actionEquidistant")->trigger();
        count()->setValue(5);
      } else {
        T::randomData(win)->trigger();
      }
      if (functions[step])
        QTRY_COMPARE(basicFunctions(), functions[step]);
      QTRY_COMPARE(rows->table()->rowCount(), basicFunctions());
      const int row = step % 3 + 1;
      rows->selectRow(row);
      QCOMPARE(T::partitionWidget(win)->partitionEditor()->current(), row);
      T::partitionWidget(win)->partitionEditor()->editors()->editor(0)->setFocus();
      QTRY_COMPARE(rows->selectedRow(), 0);
    }
  }

  void renamedFormulaFollowsInTheSelectors()
  {
    FormulaBuilderWidget* builder = T::formulaBuilder(win);
    auto* list = builder->findChild<QListWidget*>("listWidget");
    const QList<QListWidgetItem*> items =
        list->findItems(T::selector(win)->selection(0), Qt::MatchExactly);
    QCOMPARE(items.size(), 1);
    items.first()->setText(QStringLiteral("Wave"));
    items.first()->setText(QStringLiteral("Wave2"));
    builder->accept();
    QCOMPARE(T::selector(win)->selection(0), QStringLiteral("Wave2"));
    // The function keeps its formula under the new name.
    const Fn::MathFn<double, double>* fn = firstFunction(win);
    QVERIFY(fn->valueAtIndex(fn->domain()->size() - 1) != 0.0);
  }

  // An added selector is empty: nothing is computed or drawn for it until a
  // formula is picked, also after the domain changes.
  void addedSelectorDrawsNothingUntilPicked()
  {
    PlotWidget* plot = T::controller(win)->plotWidget();
    const int curves = plot->curveInfos().size();
    QTest::mouseClick(T::selector(win)->findChild<QPushButton*>("addBtn"), Qt::LeftButton);
    T::domainChanged(win);
    QCOMPARE(T::selector(win)->selection(1), QString());
    QCOMPARE(T::controller(win)->functions().size(), 1);
    QCOMPARE(plot->curveInfos().size(), curves);
    for (const CurveInfoBase* info : plot->curveInfos())
      QVERIFY(info->name() != "Unknown name");

    T::selector(win)->select(1, T::selector(win)->selection(0));
    QCOMPARE(T::controller(win)->functions().size(), 2);
    QVERIFY(plot->curveInfos().size() > curves);
    const CurveInfoBase* added = plot->curveInfo(T::controller(win)->functions().at(1));
    QVERIFY(added && added->name() == T::selector(win)->selection(0));
  }

  void desktopConventions()
  {
    QCOMPARE(T::action(win, "actionExit")->shortcut(), QKeySequence(QKeySequence::Quit));
    QString keys; // the File menu's mnemonics differ
    for (QAction* a : T::child<QMenu>(win, "menuFile")->actions())
      keys += a->text().section('&', 1).left(1).toLower();
    QVERIFY2(std::all_of(keys.begin(), keys.end(), [&](QChar c) { return keys.count(c) == 1; }),
             qPrintable(keys));
    // Tab follows the form's reading order.
    const QStringList order{"lowEdt",     "highEdt", "discrEdt",     "computeBtn",
                            "zoomSlider", "addBtn",  "ftDegreeSpin", "ft0ChBox"};
    QStringList seen;
    for (QWidget* at = T::child<QWidget>(win, "lowEdt"); seen.size() < order.size();
         at = at->nextInFocusChain())
      if (order.value(seen.size()) == at->objectName())
        seen << at->objectName();
    QCOMPARE(seen, order);
  }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
