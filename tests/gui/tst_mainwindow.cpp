// The main window's own controls: degrees and the component-table columns,
// legend corners, random data and closing it, the window title.
#include "mainwindowtester.h"

#include "common/promptrecorder.h"
#include "gui/components/plotwidget.h"

#include "gui/components/functiontablewidget.h"
#include "gui/components/markerpolicy.h"
#include "gui/components/partitioneditor.h"
#include "gui/preferenceswidget.h"
#include "math/domains/enumerationbase.h"
#include "math/fce/mathfn.h"
#include <QPushButton>

#include "gui/formulabuilderwidget.h"

#include <QDockWidget>
#include <QListWidget>
#include <QTableWidget>

#include <cmath>

namespace {
using T = MainWindowTester;

QAction* randomDataAction(MainWindow* w)
{
  for (QAction* a : T::child<QMenu>(w, "menuFile")->actions())
    if (a->text() == QStringLiteral("&Random data"))
      return a;
  return nullptr;
}
} // namespace

class TestMainWindow : public QObject
{
  Q_OBJECT

  ProgramEnvironment env;

private slots:
  void initTestCase() { env.setUp(); }
  void init() { ProgramEnvironment::clearWindowSettings(); }

  void degreeSpinShowsAndUnchecksBoxes()
  {
    PromptRecorder rec;
    auto w = startWindow();
    MainWindow* const win = w.get();
    T::degreeSpin(win)->setValue(2);
    QVERIFY(!T::degreeBox(win, 1)->isHidden());
    QVERIFY(!T::degreeBox(win, 2)->isHidden());
    QVERIFY(T::degreeBox(win, 3)->isHidden());
    QCOMPARE(T::controller(w.get())->maxDegree(), 2);
    T::degreeBox(win, 1)->setChecked(true);
    T::degreeBox(win, 2)->setChecked(true);
    QCOMPARE(T::controller(w.get())->visibleDegrees(), 1 | 2 | 4);
    T::degreeSpin(win)->setValue(0);
    QVERIFY(!T::degreeBox(win, 1)->isChecked());
    QVERIFY(!T::degreeBox(win, 2)->isChecked());
    QVERIFY(T::degreeBox(win, 0)->isChecked());
    QCOMPARE(T::controller(w.get())->visibleDegrees(), 1);
    QCOMPARE(T::controller(w.get())->maxDegree(), 0);
    QVERIFY(rec.messages.isEmpty());
  }

  void uncheckingADegreeHidesItsColumns()
  {
    PromptRecorder rec;
    auto w = startWindow();
    MainWindow* const win = w.get();
    QTest::mouseClick(T::selector(win)->findChild<QPushButton*>(QStringLiteral("addBtn")),
                      Qt::LeftButton);
    T::degreeSpin(win)->setValue(1);
    T::degreeBox(win, 1)->setChecked(true);
    QTableWidget* table = T::child<FunctionTableWidget>(win, "functionTableWidget")->table();
    table->setColumnCount(4);
    for (int c = 0; c < 4; ++c)
      table->setColumnHidden(c, false);
    T::degreeBox(win, 1)->setChecked(false);
    QVERIFY(!table->isColumnHidden(0));
    QVERIFY(table->isColumnHidden(1));
    QVERIFY(!table->isColumnHidden(2));
    QVERIFY(table->isColumnHidden(3));
  }

  void componentTableFollowsTheFunctions()
  {
    PromptRecorder rec;
    auto w = startWindow();
    MainWindow* const win = w.get();
    T::degreeSpin(win)->setValue(1);
    T::degreeBox(win, 1)->setChecked(true);
    T::child<QDockWidget>(win, "dockFunctionTable")->show();
    QTableWidget* table = T::child<FunctionTableWidget>(win, "functionTableWidget")->table();
    QTRY_COMPARE(table->columnCount(), 2);
    const QString name = T::selector(win)->selection(0);
    QCOMPARE(table->horizontalHeaderItem(0)->text(), name + QStringLiteral(" Ft0"));
    QCOMPARE(table->horizontalHeaderItem(1)->text(), name + QStringLiteral(" Ft1"));
    QCOMPARE(table->rowCount(), 5);

    // A new selector gets its columns at once.
    QTest::mouseClick(T::selector(win)->findChild<QPushButton*>(QStringLiteral("addBtn")),
                      Qt::LeftButton);
    QCOMPARE(table->columnCount(), 4);
    QCOMPARE(table->horizontalHeaderItem(3)->text(), QStringLiteral("Unknown name Ft1"));

    // The legend names the function as the table does.
    const Fn::MathFn<double, double>* fn = T::controller(win)->functions().value(0);
    QCOMPARE(T::controller(win)->plotWidget()->curveInfo(fn)->name(), name);

    randomDataAction(w.get())->trigger();
    QCOMPARE(table->horizontalHeaderItem(0)->text(), QStringLiteral("DataFile Ft0"));
    fn = T::controller(win)->functions().value(0);
    QCOMPARE(T::controller(win)->plotWidget()->curveInfo(fn)->name(), QStringLiteral("DataFile"));

    T::child<QDockWidget>(win, "dockFunctionTable")->hide();
    QCOMPARE(table->rowCount(), 0);
    QVERIFY(rec.messages.isEmpty());
  }

  void nodeSelectionFollowsTheTableWhileItIsShown()
  {
    PromptRecorder rec;
    auto w = startWindow();
    MainWindow* const win = w.get();
    auto* dock = T::child<QDockWidget>(win, "dockFunctionTable");
    FunctionTableWidget* table = T::child<FunctionTableWidget>(win, "functionTableWidget");
    // Hidden table: no links.
    PartitionEditor* editor = T::partitionWidget(win)->partitionEditor();
    emit editor->nodeSelected(2);
    QCOMPARE(table->table()->currentRow(), -1);

    dock->show();
    QTRY_COMPARE(table->table()->rowCount(), 5);
    emit editor->nodeSelected(2);
    QCOMPARE(table->table()->currentRow(), 2);
    table->selectRow(3);
    QCOMPARE(editor->current(), 3);

    // A new partition kind brings a new editor: the links follow it.
    T::action(win, "actionPartDelta")->trigger();
    T::action(win, "actionEquidistant")->trigger();
    editor = T::partitionWidget(win)->partitionEditor();
    emit editor->nodeSelected(1);
    QCOMPARE(table->table()->currentRow(), 1);

    dock->hide();
    QCOMPARE(table->table()->rowCount(), 0);
    QCOMPARE(editor->current(), -1);
  }

  void acceptedPreferencesReachThePlot()
  {
    PromptRecorder rec;
    auto w = startWindow();
    MainWindow* const win = w.get();
    PreferencesWidget* prefs = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets())
      if (auto* p = qobject_cast<PreferencesWidget*>(top))
        prefs = p;
    QVERIFY(prefs);
    prefs->findChild<QSpinBox*>(QStringLiteral("maxZoomSpin"))->setValue(9);
    prefs->findChild<QCheckBox*>(QStringLiteral("showGridCbox"))->setChecked(false);
    prefs->findChild<QSpinBox*>(QStringLiteral("legendIconWidthSpin"))->setValue(30);
    prefs->accept();
    auto* slider = T::child<QwtSlider>(win, "zoomSlider");
    QCOMPARE(slider->maximum(), 9.0);
    QCOMPARE(slider->totalSteps(), 16u);
    PlotWidget* plot = T::controller(win)->plotWidget();
    QVERIFY(!plot->isGridVisible());
    QCOMPARE(plot->legendIconSize().width(), 30);
    QVERIFY(rec.messages.isEmpty());
  }

  void legendCorners_data()
  {
    QTest::addColumn<int>("alignment");
    QTest::addColumn<QString>("checked");
    QTest::newRow("bottom right") << 0x42 << "actionLegendBottomRight";
    QTest::newRow("top left") << 0x21 << "actionLegendTopLeft";
    QTest::newRow("bottom left") << 0x41 << "actionLegendBottomLeft";
    QTest::newRow("top right") << 0x22 << "actionLegendTopRight";
    QTest::newRow("none") << 0 << "";
  }

  void legendCorners()
  {
    QFETCH(int, alignment);
    QFETCH(QString, checked);
    PromptRecorder rec;
    auto w = startWindow();
    const QString file = env.dir.filePath(QStringLiteral("legend%1.qms").arg(alignment));
    {
      QSettings s(file, QSettings::IniFormat);
      s.setValue(QStringLiteral("MainWindow/legendAlignment"), alignment);
      s.setValue(QStringLiteral("MainWindow/showLegend"), true);
    }
    QVERIFY(w->openSession(file));
    QStringList on;
    for (QAction* a : T::child<QMenu>(w.get(), "menuPlot")->actions())
      if (a->isChecked() && a->objectName().startsWith(QStringLiteral("actionLegend")))
        on << a->objectName();
    QCOMPARE(on, checked.isEmpty() ? QStringList() : QStringList{checked});
    QCOMPARE(T::legendAlignment(w.get()), alignment);
    if (alignment)
      QCOMPARE(int(T::controller(w.get())->plotWidget()->legendAlignment()), alignment);
    QVERIFY(T::controller(w.get())->plotWidget()->isLegendVisible());
  }

  void randomDataAndCloseData()
  {
    PromptRecorder rec;
    auto w = startWindow();
    MainWindow* const win = w.get();
    randomDataAction(w.get())->trigger();
    QCOMPARE(w->functionSourceType(), 1);
    QCOMPARE(T::functionCount(w.get()), 1);
    const Fn::MathFn<double, double>* fn = T::controller(w.get())->functions().value(0);
    QVERIFY(fn);
    QCOMPARE(fn->domain()->size(), std::size_t(201));
    QCOMPARE(fn->domain()->low(), 0.0);
    QCOMPARE(fn->domain()->high(), 201.0);
    for (std::size_t i = 0; i < fn->domain()->size(); ++i) {
      const double v = fn->valueAtIndex(i);
      QVERIFY(v >= 0.0 && v <= 1.0);
      QCOMPARE(std::round(v * 1000.0), v * 1000.0);
    }
    QVERIFY(!T::child<QWidget>(win, "domainWidget")->isEnabled());
    QVERIFY(!T::selector(win)->isEnabled());
    QVERIFY(!T::action(win, "actionFormulaBuilder")->isEnabled());
    QVERIFY(T::action(win, "actionCloseData")->isEnabled());

    T::action(win, "actionCloseData")->trigger();
    QCOMPARE(w->functionSourceType(), 0);
    QVERIFY(T::child<QWidget>(win, "domainWidget")->isEnabled());
    QVERIFY(T::selector(win)->isEnabled());
    QVERIFY(!T::action(win, "actionCloseData")->isEnabled());
    QCOMPARE(T::functionCount(w.get()), 1);
    const Fn::MathFn<double, double>* back = T::controller(w.get())->functions().value(0);
    QVERIFY(back);
    QCOMPARE(back->domain()->low(), T::domainText(w.get(), "lowEdt").toDouble());
    QCOMPARE(back->domain()->high(), T::domainText(w.get(), "highEdt").toDouble());
    QCOMPARE(w->windowTitle(), QStringLiteral("Quelmora - default.qms"));
    QVERIFY(rec.messages.isEmpty());
  }

  void renamedFormulaFollowsInTheSelectors()
  {
    PromptRecorder rec;
    auto w = startWindow();
    MainWindow* const win = w.get();
    FormulaBuilderWidget* builder = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets())
      if (auto* b = qobject_cast<FormulaBuilderWidget*>(top))
        builder = b;
    QVERIFY(builder);
    auto* list = builder->findChild<QListWidget*>(QStringLiteral("listWidget"));
    QVERIFY(list && list->count() > 0);
    const QString old = T::selector(win)->selection(0);
    QList<QListWidgetItem*> items = list->findItems(old, Qt::MatchExactly);
    QCOMPARE(items.size(), 1);
    items.first()->setText(QStringLiteral("Wave"));
    items.first()->setText(QStringLiteral("Wave2"));
    builder->accept();
    QCOMPARE(T::selector(win)->selection(0), QStringLiteral("Wave2"));
    // The function keeps its formula under the new name.
    const Fn::MathFn<double, double>* fn = T::controller(win)->functions().value(0);
    QVERIFY(fn);
    QVERIFY(fn->valueAtIndex(fn->domain()->size() - 1) != 0.0);
    QVERIFY(rec.messages.isEmpty());
  }

  void domainChangeRebuildsTheFunctions()
  {
    PromptRecorder rec;
    auto w = startWindow();
    auto* high = T::child<QWidget>(w.get(), "domainWidget")
                     ->findChild<QLineEdit*>(QStringLiteral("highEdt"));
    QVERIFY(high);
    high->setFocus();
    QApplication::processEvents();
    high->selectAll();
    QTest::keyClicks(high, QStringLiteral("4"));
    QTest::keyClick(high, Qt::Key_Return);
    const Fn::MathFn<double, double>* fn = T::controller(w.get())->functions().value(0);
    QVERIFY(fn);
    QCOMPARE(fn->domain()->high(), 4.0);
    QCOMPARE(T::nodes(w.get()).last(), 4.0);
    QVERIFY(rec.messages.isEmpty());
  }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
