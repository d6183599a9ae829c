// Undo and redo in the main window: every kind of step puts back the state
// and the numbers bit for bit and redo repeats them; drags, spin boxes,
// sessions, the saved state and the step limit as the history treats them.
#include "gui/mainwindowtester.h"

#include "common/promptrecorder.h"
#include "gui/components/functiontablewidget.h"
#include "gui/formulabuilderwidget.h"
#include "gui/inputs/partitionplotdriver.h"
#include "math/fce/mathfn.h"

#include <QComboBox>
#include <QDockWidget>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QToolButton>
#include <QUndoStack>

namespace {

using T = MainWindowTester;
using Ptr = std::unique_ptr<MainWindow>;

// The window's inputs and records, and every computed number as raw bytes.
struct Snapshot
{
  QString state;
  QList<QByteArray> numbers;
  bool operator==(const Snapshot& o) const { return state == o.state && numbers == o.numbers; }
};

Snapshot snapshot(MainWindow* w)
{
  FtransformWidget* ft = T::controller(w);
  QStringList p{T::fingerprint(w), T::records(w), QString::number(ft->visibleDegrees())};
  for (int i = 0; i < T::selector(w)->count(); ++i)
    p << T::selector(w)->selection(i);
  Snapshot s;
  for (int i = 0; i < ft->functions().size(); ++i) {
    for (int flag : {1, 2, 4, 8}) {
      const FnKey key{ft->functions()[i], flag};
      for (auto e : ft->editedComponents().edits(key).toStdMap())
        p << QStringLiteral("%1/%2/%3=%4").arg(i).arg(flag).arg(e.first).arg(e.second);
      for (const auto* results : {&ft->components(), &ft->inverses()}) {
        const auto r = results->value(key);
        const std::vector<double> v = r ? r->values() : std::vector<double>();
        s.numbers << QByteArray(reinterpret_cast<const char*>(v.data()), int(v.size() * 8));
      }
    }
  }
  s.state = p.join(QLatin1Char('|'));
  return s;
}

void drag(MainWindow* w, double from, double to, int moves)
{
  PartitionPlotDriver d{T::partitionWidget(w)};
  d.canvas()->setFocus(Qt::OtherFocusReason);
  const int y = qRound(d.plot()->plot()->canvasMap(QwtPlot::yLeft).transform(0.0));
  const QPoint a = d.canvas()->mapTo(w, QPoint(d.pixel(from), y));
  const QPoint b = d.canvas()->mapTo(w, QPoint(d.pixel(to), y));
  QTest::mousePress(w->windowHandle(), Qt::LeftButton, Qt::NoModifier, a);
  for (int i = 1; i <= moves; ++i)
    QTest::mouseMove(w->windowHandle(), a + (b - a) * i / moves);
  QTest::mouseRelease(w->windowHandle(), Qt::LeftButton, Qt::NoModifier, b);
}

QString dataFile(const QTemporaryDir& dir)
{
  QFile f(dir.filePath(QStringLiteral("data.txt")));
  if (!f.exists() && f.open(QIODevice::WriteOnly))
    for (int i = 0; i <= 50; ++i)
      f.write(QByteArray::number(i / 50.0) + ' ' + QByteArray::number(i * i / 2500.0) + '\n');
  return f.fileName();
}

// What a user does for one step, through the widgets' own signals.
void perform(MainWindow* w, const QString& what, const QTemporaryDir& dir)
{
  PartitionWidgetBase* pw = T::partitionWidget(w);
  const PartitionPlotDriver d{pw};
  const auto spin = [pw](const char* name) { return pw->findChild<QSpinBox*>(name); };
  const QStringList words = what.split(QLatin1Char(' '));
  if (what == "drag")
    drag(w, 0.25, 0.4, 12);
  else if (what == "type node")
    d.typeNode(1, QStringLiteral("0.3"));
  else if (what == "add node")
    d.ctrlClick(Qt::LeftButton, 0.6);
  else if (what == "remove node")
    d.ctrlClick(Qt::RightButton, 0.5, 3);
  else if (words[0] == "kind")
    T::action(w, words[1].toLatin1())->trigger();
  else if (what == "shape")
    pw->findChild<QComboBox*>("shapeCbox")->setCurrentIndex(1);
  else if (what == "components")
    spin("nodesSpin")->setValue(7);
  else if (what == "offset x3")
    for (int i = 0; i < 3; ++i) {
      spin("offsetSpin")->stepUp();
      QCoreApplication::processEvents();
    }
  else if (what == "shift")
    spin("shiftSpin")->setValue(2);
  else if (what == "fixed point")
    pw->findChild<QwtSlider*>("fixedPtSlider")->setValue(3);
  else if (words[0] == "type") // a partition line edit, typed key by key
    retypeEdit(pw->findChild<QLineEdit*>(words[1]), words[2]);
  else if (words[0] == "domain")
    retypeEdit(T::child<QLineEdit>(w, words[1].toLatin1()), words[2], true);
  else if (words[0] == "degree")
    T::degreeSpin(w)->setValue(words[1].toInt());
  else if (what == "hide ft0")
    T::degreeBox(w, 0)->setChecked(false);
  else if (what == "closed forms")
    T::child<QComboBox>(w, "basisCbox")->setCurrentIndex(1);
  else if (what == "add function")
    QTest::mouseClick(T::child<QPushButton>(w, "addBtn"), Qt::LeftButton);
  else if (what == "remove function")
    QTest::mouseClick(T::selector(w)->removeButton(1), Qt::LeftButton);
  else if (what == "function Square")
    T::selector(w)->select(0, QStringLiteral("Square"));
  else if (what == "edit component") {
    T::child<QDockWidget>(w, "dockFunctionTable")->show();
    T::child<FunctionTableWidget>(w, "functionTableWidget")->table()->item(2, 0)->setText("5");
  } else if (what == "reset")
    QTest::mouseClick(T::child<QPushButton>(w, "resetBtn"), Qt::LeftButton);
  else if (what == "open data")
    QVERIFY(w->openFile(dataFile(dir)));
  else if (what == "close data")
    T::action(w, "actionCloseData")->trigger();
  else if (what == "random data")
    T::randomData(w)->trigger();
  else
    QFAIL(qPrintable(what));
  QCoreApplication::processEvents(); // the user's action is over
}

} // namespace

class TestEditHistory : public QObject
{
  Q_OBJECT

  ProgramEnvironment env;

  Ptr start()
  {
    QFile::remove(MainWindow::defaultSessionPath());
    Ptr w = startWindow();
    T::history(w.get())->clear();
    return w;
  }

private slots:
  void initTestCase() { env.setUp(); }
  void init()
  {
    ProgramEnvironment::clearWindowSettings();
    QSettings f(env.dir.filePath("FormulaBuilder.ini"), QSettings::IniFormat);
    f.clear();
    f.beginWriteArray("formulas");
    const char* formulas[][2] = {{"Sine", "sin(6*x)"}, {"Square", "x^2"}, {"Wave", "cos(9*x)*x"}};
    for (int i = 0; i < 3; ++i) {
      f.setArrayIndex(i);
      f.setValue("formula_name", formulas[i][0]);
      f.setValue("formula_expression", formulas[i][1]);
    }
    f.endArray();
  }

  void everyStepUndoesAndRedoes_data()
  {
    QTest::addColumn<QString>("prep");
    QTest::addColumn<QString>("step");
    QTest::addColumn<QString>("text");
    // clang-format off
    QTest::newRow("drag of many moves") << "" << "drag" << "Move node 2";
    QTest::newRow("typed node") << "" << "type node" << "Move node 2";
    QTest::newRow("node added") << "" << "add node" << "Add node";
    QTest::newRow("node removed") << "" << "remove node" << "Remove node";
    QTest::newRow("kind") << "" << "kind actionPartDelta" << "Change partition to custom";
    QTest::newRow("shape") << "" << "shape" << "Change shape";
    QTest::newRow("components") << "" << "components" << "Change component count";
    QTest::newRow("offset edits merge") << "" << "offset x3" << "Change offset";
    QTest::newRow("shift") << "" << "shift" << "Change shift";
    QTest::newRow("fixed point") << "kind actionFixedPT" << "fixed point" << "Move fixed point";
    QTest::newRow("distance") << "kind actionFixedPT" << "type elemWidthEdt 0.2" << "Change nodes distance";
    QTest::newRow("element width") << "kind actionPartDelta" << "type deltaEdt 0.2" << "Change element width";
    QTest::newRow("variance") << "kind actionPartDelta" << "type extraParamEdt 0.05" << "Change variance";
    QTest::newRow("custom node drag") << "kind actionPartDelta" << "drag" << "Move node 2";
    QTest::newRow("domain low") << "" << "domain lowEdt -1" << "Change domain low end";
    QTest::newRow("domain high") << "" << "domain highEdt 2" << "Change domain high end";
    QTest::newRow("discretization") << "" << "domain discrEdt 1000" << "Change discretization";
    QTest::newRow("degree") << "" << "degree 2" << "Change degree";
    QTest::newRow("shown degrees") << "" << "hide ft0" << "Hide Ft-0";
    QTest::newRow("higher-degree bases") << "" << "closed forms" << "Change higher-degree bases";
    QTest::newRow("function added") << "" << "add function" << "Add function";
    QTest::newRow("function removed") << "add function" << "remove function" << "Remove function 2";
    QTest::newRow("function changed") << "" << "function Square" << "Change function 1 to Square";
    QTest::newRow("component edited") << "" << "edit component" << "Edit component 3";
    QTest::newRow("edits reset") << "edit component" << "reset" << "Reset edited components";
    QTest::newRow("data opened") << "" << "open data" << "Open data data.txt";
    QTest::newRow("data closed") << "open data" << "close data" << "Close data";
    QTest::newRow("random data") << "" << "random data" << "Random data";
    // clang-format on
  }

  void everyStepUndoesAndRedoes()
  {
    QFETCH(QString, prep);
    QFETCH(QString, step);
    QFETCH(QString, text);
    PromptRecorder rec;
    Ptr w = start();
    MainWindow* const win = w.get();
    perform(win, "degree 1", env.dir);
    T::degreeBox(win, 1)->setChecked(true);
    if (!prep.isEmpty())
      perform(win, prep, env.dir);
    EditHistory* h = T::history(win);
    h->clear();
    const Snapshot before = snapshot(win);
    perform(win, step, env.dir);
    QCOMPARE(h->stack()->count(), 1);
    QCOMPARE(h->undoAction()->text(), "Undo " + text);
    const Snapshot after = snapshot(win);
    QVERIFY(!(after == before));
    h->undoAction()->trigger();
    QCOMPARE(snapshot(win).state, before.state);
    QVERIFY(snapshot(win) == before);
    // A moved node goes back the way it came: only what it reaches is recomputed.
    QCOMPARE(T::controller(win)->lastChange().everything, step != "drag" && step != "type node");
    h->redoAction()->trigger();
    QCOMPARE(snapshot(win).state, after.state);
    QVERIFY(snapshot(win) == after);
    QCOMPARE(h->stack()->count(), 1);
    QCOMPARE(h->stack()->index(), 1);
    QVERIFY2(rec.titles().filter("rror").isEmpty(), qPrintable(rec.titles().join(';')));
  }

  // Ctrl+Z and Ctrl+Shift+Z as keys; a session opened starts a new history;
  // the modified flag follows the saved state.
  void keysSessionsAndTheSavedState()
  {
    PromptRecorder rec;
    Ptr w = start();
    MainWindow* const win = w.get();
    EditHistory* h = T::history(win);
    win->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(win) && !win->isWindowModified());
    const QVector<double> nodes = T::nodes(win);
    drag(win, 0.25, 0.4, 5);
    QCoreApplication::processEvents();
    const QVector<double> moved = T::nodes(win);
    QVERIFY(moved != nodes && win->isWindowModified());
    QWidget* canvas = PartitionPlotDriver{T::partitionWidget(win)}.canvas();
    QTest::keyClick(canvas, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(T::nodes(win), nodes);
    QVERIFY(!win->isWindowModified());
    QTest::keyClick(canvas, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(T::nodes(win), moved);
    // A spin box changed by its arrows has no text of its own to undo.
    const auto offset = [win] {
      return T::partitionWidget(win)->findChild<QSpinBox*>("offsetSpin");
    };
    offset()->setFocus();
    offset()->stepUp();
    QCoreApplication::processEvents();
    QTest::keyClick(offset(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(offset()->value(), -1);
    QCOMPARE(QApplication::focusWidget(), offset()); // the new widget's
    // A domain end typed and applied: the step goes, not only the text.
    auto* high = T::child<QLineEdit>(win, "highEdt");
    retypeEdit(high, "2");
    QTest::keyClick(high, Qt::Key_Return);
    QTest::keyClick(high, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(high->text() + QString::number(T::domain(win)->high()), "11");

    T::action(win, "actionSaveSession")->trigger();
    QVERIFY(!win->isWindowModified());
    perform(win, "degree 1", env.dir);
    perform(win, "degree 2", env.dir); // merges, but not into the saved step
    QCOMPARE(h->stack()->count(), 2);
    QVERIFY(win->isWindowModified());
    h->undoAction()->trigger();
    QVERIFY(!win->isWindowModified());
    h->undoAction()->trigger();
    QVERIFY(win->isWindowModified());
    h->redoAction()->trigger();
    QVERIFY(!win->isWindowModified());
    // A change no step undoes keeps the window modified.
    T::child<QwtSlider>(win, "zoomSlider")->setValue(2.0);
    h->redoAction()->trigger();
    h->undoAction()->trigger();
    QVERIFY(win->isWindowModified());

    QVERIFY(win->openSession(win->currentSessionFile()));
    QCOMPARE(h->stack()->count(), 0);
    QVERIFY(!h->undoAction()->isEnabled() && !win->isWindowModified());
    QVERIFY(rec.messages.isEmpty());
  }

  // The formula a step chose was renamed or deleted in the formula builder since.
  void formulaChangedSince_data()
  {
    QTest::addColumn<QString>("newName");
    QTest::addColumn<QString>("undone");
    QTest::newRow("renamed") << "Sinus"
                             << "Sinus";
    QTest::newRow("deleted") << ""
                             << "Square"; // the first one left
  }
  void formulaChangedSince()
  {
    QFETCH(QString, newName);
    QFETCH(QString, undone);
    PromptRecorder rec;
    Ptr w = start();
    MainWindow* const win = w.get();
    perform(win, "function Square", env.dir);
    FormulaBuilderWidget* builder = T::formulaBuilder(win);
    auto* list = builder->findChild<QListWidget*>("listWidget");
    list->setCurrentRow(0);
    if (newName.isEmpty())
      QTest::mouseClick(builder->findChild<QPushButton*>("deleteBtn"), Qt::LeftButton);
    else
      list->item(0)->setText(newName);
    builder->accept();
    T::history(win)->undoAction()->trigger();
    QCOMPARE(T::selector(win)->selection(0), undone);
    QCOMPARE(T::functions(win).size(), 1);
    QCOMPARE(T::functions(win)[0]->value(0.5), undone == "Square" ? 0.25 : std::sin(3.0));
  }

  void keepsAtMostTheLimit()
  {
    PromptRecorder rec;
    Ptr w = start();
    MainWindow* const win = w.get();
    EditHistory* h = T::history(win);
    auto* shape = T::partitionWidget(win)->findChild<QComboBox*>("shapeCbox");
    const int steps = EditHistory::stepLimit + 5;
    QString afterFive;
    for (int i = 1; i <= steps; ++i) {
      shape->setCurrentIndex(i % 2);
      QCoreApplication::processEvents();
      if (i == 5)
        afterFive = snapshot(win).state;
    }
    QCOMPARE(h->stack()->count(), EditHistory::stepLimit);
    while (h->stack()->canUndo())
      h->stack()->undo();
    QCOMPARE(snapshot(win).state, afterFive);
  }
};

QTEST_MAIN(TestEditHistory)
#include "tst_edithistory.moc"
