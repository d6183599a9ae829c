#include "gui/inputs/fuzzypartfixedwidget.h"

#include "gui/ftransform_widgets/nodelayout.h"

#include "partitionplotdriver.h"

#include <QComboBox>
#include <QLabel>
#include <QSignalSpy>
#include <QSpinBox>
#include <QtTest>

#include <qwt_slider.h>

using DataHolders::Partitions::FuzzyPt;

class TestFuzzyPartFixedWidget : public QObject
{
  Q_OBJECT

private:
  QSharedPointer<FuzzyPt> record;
  FuzzyPartFixedWidget* w = nullptr;

  QLineEdit* width() const { return w->findChild<QLineEdit*>("elemWidthEdt"); }
  QwtSlider* slider() const { return w->findChild<QwtSlider*>("fixedPtSlider"); }
  QComboBox* shapes() const { return w->findChild<QComboBox*>("shapeCbox"); }

  void make(double low = 0, double high = 1, int count = 2000, double h = 0.25)
  {
    delete w;
    record = QSharedPointer<FuzzyPt>::create();
    record->domain->low = low;
    record->domain->high = high;
    record->domain->count = count;
    record->partElementWidth = h;
    record->fixedPoint = low;
    w = new FuzzyPartFixedWidget(record);
    w->show();
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w));
  }

private slots:
  void init() { make(); }
  void cleanup()
  {
    delete w;
    w = nullptr;
  }

  void construction()
  {
    QCOMPARE(w->objectName(), QString("FixedPart"));
    QCOMPARE(slider()->orientation(), Qt::Horizontal);
    QCOMPARE(width()->toolTip(), QString("Interval [-h, +h]"));
    QCOMPARE(width()->text(), QString("0.25"));
    QCOMPARE(w->findChild<QLabel*>("fixedPtLbl")->text(), QString("Fixed point (0.0000)"));
    QVERIFY(sameNodes(record->nodes, {0, 0.25, 0.5, 0.75, 1}));
  }

  void fixedPointAtLowIsNotValid()
  {
    QVERIFY(!w->isValid());
    slider()->setFocus();
    QTest::keyClick(slider(), Qt::Key_Right);
    QCOMPARE(record->fixedPoint, 0.0005);
    QVERIFY(w->isValid());
    QCOMPARE(w->findChild<QLabel*>("fixedPtLbl")->text(), QString("Fixed point (0.0005)"));
    QVERIFY(
        sameNodes(record->nodes, {0.0005 - 0.25, 0.0005, 0.2505, 0.5005, 0.7505, 1.0005}, 1e-12));
  }

  void sliderCandidates_data()
  {
    QTest::addColumn<int>("count");
    QTest::addColumn<double>("h");
    QTest::addColumn<int>("shape");
    QTest::addColumn<QVector<double>>("candidates");
    QTest::newRow("nearest below") << 4 << 0.3 << 0 << QVector<double>{0, 0.25, 0.5};
    QTest::newRow("nearest above") << 4 << 0.35 << 0 << QVector<double>{0, 0.25, 0.5, 0.75};
    QTest::newRow("tie takes the lower") << 4 << 0.3125 << 1 << QVector<double>{0, 0.25, 0.5};
    QTest::newRow("beyond high") << 4 << 0.75 << 0 << QVector<double>{0, 0.25, 0.5, 0.75, 1};
    QTest::newRow("finer domain") << 8 << 0.25 << 1 << QVector<double>{0, 0.125, 0.25, 0.375, 0.5};
  }
  void sliderCandidates()
  {
    QFETCH(int, count);
    QFETCH(double, h);
    QFETCH(int, shape);
    QFETCH(QVector<double>, candidates);
    record = QSharedPointer<FuzzyPt>::create();
    record->domain->count = count;
    record->partElementWidth = h;
    record->shape = shape;
    delete w;
    w = new FuzzyPartFixedWidget(record);
    const std::vector<double>& c = w->candidates();
    QVERIFY(sameNodes(QVector<double>(c.begin(), c.end()), candidates));
    QCOMPARE(slider()->upperBound(), double(candidates.size() - 1));
  }

  void defaultCandidatesSpanOneFunction()
  {
    const std::vector<double>& c = w->candidates();
    QCOMPARE(c.size(), std::size_t(1001));
    QCOMPARE(c.back(), 0.5);
    QCOMPARE(slider()->upperBound(), 1000.0);
  }

  void distanceBounds_data()
  {
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("stored");
    QTest::newRow("below the bound") << "0.00005" << 0.25;
    QTest::newRow("the bound itself") << "0.0001" << 0.25;
    QTest::newRow("just above the bound") << "0.00011" << 0.00011;
    QTest::newRow("the whole range") << "1" << 1.0;
    QTest::newRow("above the range") << "3" << 0.25;
    QTest::newRow("inside") << "0.1" << 0.1;
  }
  void distanceBounds()
  {
    QFETCH(QString, text);
    QFETCH(double, stored);
    retypeEdit(width(), text);
    w->data();
    QCOMPARE(record->partElementWidth, stored);
    const bool accepted = stored != 0.25;
    QCOMPARE(width()->styleSheet().isEmpty(), accepted);
  }

  void distanceClampedOnDomainChange()
  {
    make(0, 1, 2000, 0.25);
    auto narrow = QSharedPointer<DataHolders::Domains::Equid>::create();
    narrow->high = 0.1;
    w->setDomainData(narrow);
    QCOMPARE(record->partElementWidth, 0.1);
    QCOMPARE(width()->text(), QString("0.1"));
    // The range changed: the fixed point moves to low + h.
    QCOMPARE(record->fixedPoint, 0.1);

    auto wide = QSharedPointer<DataHolders::Domains::Equid>::create();
    wide->high = 1e6;
    w->setDomainData(wide);
    QCOMPARE(record->partElementWidth, 100.0);
    QCOMPARE(width()->text(), QString("100"));
  }

  void sameRangeKeepsFixedPoint()
  {
    slider()->setFocus();
    for (int i = 0; i < 7; ++i)
      QTest::keyClick(slider(), Qt::Key_Right);
    QCOMPARE(record->fixedPoint, 0.0035);
    auto coarser = QSharedPointer<DataHolders::Domains::Equid>::create();
    coarser->count = 1000;
    w->setDomainData(coarser);
    QCOMPARE(record->fixedPoint, 0.0035);
    // Candidates are now 0.001 apart: the slider sits on the first not below 0.0035.
    QCOMPARE(slider()->value(), 4.0);
    QCOMPARE(w->candidates()[4], 0.004);
  }

  void shapeSetsShift()
  {
    w->findChild<QSpinBox*>("shiftSpin")->setValue(3);
    QCOMPARE(record->shift, 3);
    shapes()->setFocus();
    QTest::keyClick(shapes(), Qt::Key_Down);
    QCOMPARE(shapes()->currentText(), QString("Sin"));
    QCOMPARE(w->findChild<QSpinBox*>("shiftSpin")->value(), 1);
    QCOMPARE(record->shape, 1);
  }

  void candidatesFollowTheDistance()
  {
    // Typing a distance of 0.1 leaves two basic functions of slider range: 0..0.2.
    width()->setFocus();
    width()->selectAll();
    QTest::keyClicks(width(), "0.1");
    QCOMPARE(record->partElementWidth, 0.1);
    QCOMPARE(w->candidates().back(), 0.2);
    QCOMPARE(slider()->upperBound(), 400.0);
    QCOMPARE(slider()->value(), 0.0);
    slider()->setValue(slider()->upperBound());
    QCOMPARE(record->fixedPoint, 0.2);
  }

  void setFixedPointTakesACandidate_data()
  {
    QTest::addColumn<double>("stored");
    QTest::addColumn<double>("fixedPoint");
    QTest::addColumn<int>("position");
    // Candidates on [0, 1] with 2000 subintervals and h = 0.25: 0, 0.0005, ..., 0.5.
    QTest::newRow("a candidate") << 0.1235 << 0.1235 << 247;
    QTest::newRow("between two") << 0.12345 << 0.1235 << 247;
    QTest::newRow("beyond them") << 0.8 << 0.5 << 1000;
    QTest::newRow("the slider's own place") << 0.0 << 0.0 << 0;
  }
  void setFixedPointTakesACandidate()
  {
    QFETCH(double, stored);
    QFETCH(double, fixedPoint);
    QFETCH(int, position);
    QSignalSpy changed(w, &PartitionWidgetBase::inputsChanged);
    w->setFixedPoint(stored);
    QCOMPARE(slider()->value(), double(position));
    QCOMPARE(record->fixedPoint, w->candidates()[std::size_t(position)]);
    QVERIFY(qAbs(record->fixedPoint - fixedPoint) < 1e-12);
    QCOMPARE(changed.count(), 1);
    QVERIFY(record->nodes.contains(record->fixedPoint));
    QVERIFY(sameNodes(record->nodes, DataHolders::Partitions::layoutNodes(*record)));
    QCOMPARE(w->findChild<QLabel*>("fixedPtLbl")->text(),
             QString("Fixed point (%1)").arg(fixedPoint, 0, 'f', 4));
  }

  void lockedNodesDoNotMove()
  {
    PartitionPlotDriver drv(w);
    w->setNodesLocked(true);
    drv.dragNode(0.5, 0.6);
    QVERIFY(sameNodes(drv.recordNodes(), {0, 0.25, 0.5, 0.75, 1}));
  }
};

QTEST_MAIN(TestFuzzyPartFixedWidget)
#include "tst_fuzzypartfixedwidget.moc"
