// The approximation error in the main window: the error table during a node
// drag, the error curves from the preference, and the convergence window
// running, cancelled and exported.
#include "gui/guitesthelpers.h"

#include "common/promptrecorder.h"
#include "common/testfiles.h"
#include "gui/analysis/analysisfeatures.h"
#include "gui/analysis/convergencedialog.h"
#include "gui/analysis/errormonitor.h"
#include "gui/components/plotwidget.h"
#include "gui/inputs/partitionplotdriver.h"
#include "gui/preferenceswidget.h"
#include "math/fce/mathfn.h"

#include <QCheckBox>
#include <QDockWidget>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

#include <qwt_plot.h>
#include <qwt_plot_curve.h>

namespace {

using T = MainWindowTester;
using Ptr = std::unique_ptr<MainWindow>;

AnalysisFeatures* features(MainWindow* w)
{
  return w->findChild<AnalysisFeatures*>();
}

QString cell(MainWindow* w, int row, int column)
{
  const QAbstractItemModel* m = T::child<QTableView>(w, "errorTableView")->model();
  return m->data(m->index(row, column)).toString();
}

QStringList errorCurveTitles(MainWindow* w)
{
  QStringList titles;
  QwtPlot* plot = T::controller(w)->plotWidget()->plot();
  for (QwtPlotItem* item : plot->itemList(QwtPlotItem::Rtti_PlotCurve))
    if (item->yAxis() == QwtPlot::yRight)
      titles << item->title().text();
  return titles;
}

} // namespace

class TestAnalysisFeatures : public QObject
{
  Q_OBJECT

  ProgramEnvironment env;
  std::unique_ptr<PromptRecorder> rec;
  Ptr w;
  MainWindow* win = nullptr;

private slots:
  void initTestCase()
  {
    env.setUp();
    writeFormulas(env.dir.path(), {{"Default", "sin(15*x) * x^2"}, {"wave", "sin(7*x)"}});
  }
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

  void errorTableFollowsADrag()
  {
    auto* dock = T::child<QDockWidget>(win, "dockErrorTable");
    QVERIFY(dock->isHidden());
    T::action(win, "actionShowErrorTable")->trigger();
    showDegrees(win, 1, 3);
    QTRY_COMPARE(features(win)->monitor()->rows().size(), 2);
    QCOMPARE(cell(win, 1, 1), QStringLiteral("1"));

    // The rows hold the measure of the controller's own arrays.
    const FtransformWidget* ft = T::controller(win);
    const Fn::MathFn<double, double>* f = ft->functions().first();
    const auto* g = ft->inverses().value(FnKey{f, 1}).data();
    const auto want = Analysis::measureError(ft->domain()->values().data(), f->values().data(),
                                             g->values().data(), ft->domain()->size());
    QCOMPARE(features(win)->monitor()->rows().first().error.maxAbs, want.maxAbs);

    const PartitionPlotDriver d{T::partitionWidget(win)};
    QWidget* top = d.canvas()->window();
    d.canvas()->setFocus(Qt::OtherFocusReason);
    const int y = qRound(d.plot()->plot()->canvasMap(QwtPlot::yLeft).transform(0.0));
    const auto at = [&](double x) { return d.canvas()->mapTo(top, QPoint(d.pixel(x), y)); };
    QTest::mousePress(top->windowHandle(), Qt::LeftButton, Qt::NoModifier, at(0.5));
    QStringList seen{cell(win, 0, 2)};
    for (double x : {0.55, 0.6}) {
      QTest::mouseMove(top->windowHandle(), at(x));
      QTRY_VERIFY(cell(win, 0, 2) != seen.last());
      seen << cell(win, 0, 2);
    }
    QTest::mouseRelease(top->windowHandle(), Qt::LeftButton, Qt::NoModifier, at(0.6));
  }

  void errorCurvesFromThePreference()
  {
    PreferencesWidget* prefs = nullptr; // a window of its own
    for (QWidget* top : QApplication::topLevelWidgets())
      prefs = prefs ? prefs : qobject_cast<PreferencesWidget*>(top);
    QVERIFY(prefs);
    auto* box = prefs->findChild<QCheckBox*>("showErrCbox");
    QVERIFY(!box->isChecked());
    QVERIFY(errorCurveTitles(win).isEmpty());
    box->setChecked(true);
    QMetaObject::invokeMethod(prefs, "accept");
    QTRY_COMPARE(errorCurveTitles(win), QStringList{"ErrFt0"});
    QwtPlot* plot = T::controller(win)->plotWidget()->plot();
    QVERIFY(plot->axisEnabled(QwtPlot::yRight));
    QCOMPARE(plot->axisTitle(QwtPlot::yRight).text(), QStringLiteral("Error"));
    // Symmetric about 0, just wider than the largest error.
    const double maxAbs = features(win)->monitor()->rows().first().error.maxAbs;
    QCOMPARE(plot->axisScaleDiv(QwtPlot::yRight).upperBound(), maxAbs * 1.05);

    // With two functions every result and error curve names its function, each title once.
    const QString first = T::selector(win)->selection(0);
    addSecondFunction(win, "wave");
    const auto titles = [plot] {
      QStringList all;
      for (const QwtPlotItem* c : plot->itemList(QwtPlotItem::Rtti_PlotCurve))
        all << c->title().text();
      return all;
    };
    for (const QString& f : {first, QString("wave")})
      QTRY_VERIFY2(titles().contains("InvFt0 " + f) && titles().contains("ErrFt0 " + f),
                   qPrintable(titles().join('|')));
    const QStringList all = titles();
    QCOMPARE(all.size(), QSet<QString>(all.begin(), all.end()).size());
    QCOMPARE(errorCurveTitles(win).size(), 2);
    box->setChecked(false);
    QMetaObject::invokeMethod(prefs, "accept");
    QTRY_VERIFY(errorCurveTitles(win).isEmpty());
    QVERIFY(!plot->axisEnabled(QwtPlot::yRight));
  }

  void convergenceRunsCancelsAndExports()
  {
    T::action(win, "actionConvergence")->trigger();
    ConvergenceDialog* dialog = features(win)->convergence();
    QVERIFY(dialog && dialog->isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(!dialog->isRunning(), 30000);
    const int counts = T::child<QLineEdit>(win, "countsEdt")->text().count(',') + 1;
    QCOMPARE(int(dialog->results().size()), counts);
    // The default counts stop while every basic function covers enough points.
    for (const Analysis::CountResult& r : dialog->results())
      QVERIFY2(r.resolved(), qPrintable(QString::number(r.count)));
    QVERIFY(std::isfinite(dialog->order(0, 0, false).order));

    // The table goes out in the value export's format, the orders beside it.
    QTemporaryDir dir;
    rec->fileAnswer = dir.filePath("study");
    T::child<QPushButton>(win, "exportTableBtn")->click();
    const QList<QByteArray> lines = readAll(rec->fileAnswer + ".csv").split('\n');
    QVERIFY(lines.first().startsWith("\"Components\";\"Function\";\"Degree\";\"MaxAbs\";"));
    QCOMPARE(lines.size(), counts + 2);
    QVERIFY(lines[1].startsWith("4; "));
    const QList<QByteArray> orders = readAll(rec->fileAnswer + "-orders.csv").split('\n');
    QCOMPARE(orders.size(), 1 + 2 + 1);
    QVERIFY2(orders[1].contains("; 0; MaxAbs; ") && orders[2].contains("; 0; RMSE; "),
             orders[1].constData());

    // Beyond the domain's resolution: marked and left out; refined: resolved.
    auto* countsEdt = T::child<QLineEdit>(win, "countsEdt");
    // Return runs the counts typed, and they stay (no button takes Return to reset them).
    const auto type = [countsEdt](const QString& text) {
      countsEdt->setFocus();
      countsEdt->selectAll();
      QTest::keyClicks(countsEdt, text);
      QTest::keyClick(countsEdt, Qt::Key_Return);
    };
    type("4, 64, 1000");
    QTRY_VERIFY_WITH_TIMEOUT(!dialog->isRunning(), 30000);
    QCOMPARE(countsEdt->text(), QString("4, 64, 1000"));
    QVERIFY(!dialog->results().back().resolved());
    QCOMPARE(dialog->order(0, 0, false).to, 64);
    QVERIFY2(dialog->message().contains("1 of them under-resolved"), qPrintable(dialog->message()));
    T::child<QCheckBox>(win, "pointsChbox")->setChecked(true);
    type("4, 64, 3000"); // above the domain's subintervals
    QTRY_VERIFY_WITH_TIMEOUT(!dialog->isRunning(), 30000);
    QCOMPARE(dialog->results().back().subintervals, 64 * 2999);
    QCOMPARE(dialog->order(0, 0, false).to, 3000);
    T::child<QCheckBox>(win, "pointsChbox")->setChecked(false);
    QVERIFY(!countsEdt->styleSheet().isEmpty()); // 3000 is too many again
    T::child<QPushButton>(win, "defaultCountsBtn")->click();

    // Cancel: nothing arrives afterwards.
    dialog->run();
    QVERIFY(dialog->isRunning());
    dialog->cancel();
    QVERIFY(!dialog->isRunning());
    const auto after = dialog->results().size();
    dialog->runner()->wait();
    QTest::qWait(50);
    QCOMPARE(dialog->results().size(), after);
    QVERIFY(dialog->message().startsWith("Cancelled"));

    // Another function cancels a run; closing the window too.
    dialog->run();
    addSecondFunction(win);
    QTRY_VERIFY(!dialog->isRunning());
    QVERIFY2(dialog->message().contains("changed"), qPrintable(dialog->message()));
    dialog->run();
    dialog->close();
    QVERIFY(!dialog->isRunning());
  }
};

QTEST_MAIN(TestAnalysisFeatures)
#include "tst_analysisfeatures.moc"
