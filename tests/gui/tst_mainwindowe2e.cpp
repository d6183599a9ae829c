// The real main window from start to saved file: the start-up session is
// created, a node is dragged with the mouse on the partition plot and the
// session saved through the menu; the file then holds the moved node.
#include "mainwindowtester.h"

#include "common/promptrecorder.h"
#include "gui/components/partitioneditor.h"
#include "gui/components/plotpartition.h"

#include <qwt_plot.h>
#include <qwt_scale_map.h>

#include <QWindow>

class TestMainWindowE2e : public QObject
{
  Q_OBJECT

  ProgramEnvironment env;

private slots:
  void initTestCase() { env.setUp(); }

  void dragANodeAndSave()
  {
    using T = MainWindowTester;
    PromptRecorder rec;
    auto w = startWindow();
    const QString session = MainWindow::defaultSessionPath();
    QCOMPARE(w->currentSessionFile(), session);
    QVERIFY(QFileInfo::exists(session));
    QCOMPARE(T::nodes(w.get()), (QVector<double>{0.0, 0.25, 0.5, 0.75, 1.0}));

    PlotPartition* plot = T::partitionWidget(w.get())->partitionEditor()->plot();
    QWidget* canvas = plot->canvas();
    plot->replot();
    QTRY_VERIFY(canvas->width() > 100);

    const QwtScaleMap xMap = plot->plot()->canvasMap(QwtPlot::xBottom);
    const QwtScaleMap yMap = plot->plot()->canvasMap(QwtPlot::yLeft);
    const QPoint from(qRound(xMap.transform(0.25)), qRound(yMap.transform(0.0)));
    const QPoint to(qRound(xMap.transform(0.4)), from.y());

    QWindow* window = w->windowHandle();
    auto at = [&](const QPoint& p) { return canvas->mapTo(w.get(), p); };
    QTest::mouseMove(window, at(from));
    QTest::mousePress(window, Qt::LeftButton, Qt::NoModifier, at(from));
    QTest::mouseMove(window, at(QPoint((from.x() + to.x()) / 2, from.y())));
    QTest::mouseMove(window, at(to));
    QTest::mouseRelease(window, Qt::LeftButton, Qt::NoModifier, at(to));

    const QVector<double> moved = T::nodes(w.get());
    QVERIFY2(moved.at(1) > 0.3 && moved.at(1) < 0.5, qPrintable(QString::number(moved.at(1))));

    T::action(w.get(), "actionSaveSession")->trigger();
    QVERIFY(rec.messages.isEmpty());

    QSettings s(session, QSettings::IniFormat);
    QCOMPARE(s.value("MainWindow/partitionType").toInt(), 6);
    QCOMPARE(s.value("GenericRuspini/NodeList/size").toInt(), 5);
    QCOMPARE(s.value("GenericRuspini/NodeList/2/node").toDouble(), moved.at(1));

    // The saved file reopens to the same picture.
    auto again = startWindow();
    QCOMPARE(again->currentSessionFile(), session);
    QCOMPARE(T::nodes(again.get()), moved);
  }
};

QTEST_MAIN(TestMainWindowE2e)
#include "tst_mainwindowe2e.moc"
