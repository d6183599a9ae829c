#include "gui/inputs/fuzzypartfixedwidget.h"

#include "gui/ftransform_widgets/nodelayout.h"

#include "partitionplotdriver.h"

#include <QLabel>

#include <qwt_slider.h>

using DataHolders::Partitions::FuzzyPt;

class TestFuzzyPartFixedWidget : public QObject
{
  Q_OBJECT

  QSharedPointer<FuzzyPt> record;
  FuzzyPartFixedWidget* w = nullptr;

  QLineEdit* width() const { return w->findChild<QLineEdit*>("elemWidthEdt"); }
  QwtSlider* slider() const { return w->findChild<QwtSlider*>("fixedPtSlider"); }
  QString label() const { return w->findChild<QLabel*>("fixedPtLbl")->text(); }

private slots:
  void init()
  {
    w = new FuzzyPartFixedWidget(record = QSharedPointer<FuzzyPt>::create());
    QVERIFY(showActive(w));
  }
  void cleanup() { delete w; }

  void fixedPointAtLowIsValidCandidatesFollowTheDistance()
  {
    QCOMPARE(label(), QString("Fixed point (0.0000)"));
    QVERIFY(sameNodes(record->nodes, {0, 0.25, 0.5, 0.75, 1}));
    QVERIFY(w->isValid()); // a node at a domain end is a sound fixed point
    slider()->setFocus();
    QTest::keyClick(slider(), Qt::Key_Right);
    QCOMPARE(record->fixedPoint, 0.0005);
    QVERIFY(w->isValid());
    QCOMPARE(label(), QString("Fixed point (0.0005)"));
    QVERIFY(sameNodes(record->nodes, {0.0005 - 0.25, 0.0005, 0.2505, 0.5005, 0.7505, 1.0005}));

    // Two basic functions of 0.1 leave a slider range of 0..0.2.
    retypeEdit(width(), "0.1");
    QCOMPARE(record->partElementWidth, 0.1);
    QCOMPARE(w->candidates().back(), 0.2);
    QCOMPARE(slider()->upperBound(), 400.0);
    QCOMPARE(slider()->value(), 1.0);
    slider()->setValue(slider()->upperBound());
    QCOMPARE(record->fixedPoint, 0.2);
    // A refused distance is named and stays marked.
    retypeEdit(width(), "5");
    QCOMPARE(w->markInvalidInput(), QString("Nodes Distance"));
    QVERIFY(!width()->styleSheet().isEmpty());
  }

  // The slider spans one basic function: candidates 0 .. nearest domain point to 2h (shape 0)
  // or 1.6h (shape 1), one per subinterval.
  void sliderCandidates_data()
  {
    QTest::addColumn<int>("count");
    QTest::addColumn<double>("h");
    QTest::addColumn<int>("shape");
    QTest::addColumn<QVector<double>>("expected");
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
    QFETCH(QVector<double>, expected);
    auto r = QSharedPointer<FuzzyPt>::create();
    r->domain->count = count;
    r->partElementWidth = h;
    r->shape = shape;
    FuzzyPartFixedWidget other(r);
    const std::vector<double>& c = other.candidates();
    QVERIFY(sameNodes(QVector<double>(c.begin(), c.end()), expected));
    QCOMPARE(other.findChild<QwtSlider*>("fixedPtSlider")->upperBound(), double(c.size() - 1));
  }

  void distanceBounds_data()
  {
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("stored");
    QTest::newRow("the bound itself") << "0.0001" << 0.25;
    QTest::newRow("just above the bound") << "0.00011" << 0.00011;
    QTest::newRow("the whole range") << "1" << 1.0;
    QTest::newRow("above the range") << "3" << 0.25;
  }
  void distanceBounds()
  {
    QFETCH(QString, text);
    QFETCH(double, stored);
    retypeEdit(width(), text);
    w->data();
    QCOMPARE(record->partElementWidth, stored);
    QCOMPARE(width()->styleSheet().isEmpty(), stored != 0.25);
  }

  void domainChange()
  {
    QCOMPARE(w->candidates().size(), std::size_t(1001));
    slider()->setFocus();
    for (int i = 0; i < 7; ++i)
      QTest::keyClick(slider(), Qt::Key_Right);
    w->setDomainData(equid(0, 1, 1000));
    QCOMPARE(record->fixedPoint, 0.0035); // same range: kept
    // Candidates are now 0.001 apart: the slider sits on the first not below 0.0035.
    QCOMPARE(slider()->value(), 4.0);
    QCOMPARE(w->candidates()[4], 0.004);

    w->setDomainData(equid(0, 0.1));
    QCOMPARE(width()->text(), QString("0.1")); // the records' own tests pin the values
    w->setDomainData(equid(0, 1e6));
    QCOMPARE(width()->text(), QString("100"));
  }

  // A stored point is kept as it is (within the domain): the candidates follow
  // the painting resolution. The slider stands on the first candidate not below it.
  void setFixedPointKeepsThePoint_data()
  {
    QTest::addColumn<double>("stored");
    QTest::addColumn<double>("fixedPoint");
    QTest::addColumn<int>("position");
    // Candidates 0, 0.0005, ..., 0.5 on [0, 1].
    QTest::newRow("a candidate") << 0.1235 << 0.1235 << 247;
    QTest::newRow("between two") << 0.12345 << 0.12345 << 247;
    QTest::newRow("beyond them") << 0.8 << 0.8 << 1000;
    QTest::newRow("beyond the domain") << 1.5 << 1.0 << 1000;
    QTest::newRow("the slider's own place") << 0.0 << 0.0 << 0;
  }
  void setFixedPointKeepsThePoint()
  {
    QFETCH(double, stored);
    QFETCH(double, fixedPoint);
    QFETCH(int, position);
    QSignalSpy changed(w, &PartitionWidgetBase::inputsChanged);
    w->setFixedPoint(stored);
    QCOMPARE(slider()->value(), double(position));
    QCOMPARE(record->fixedPoint, fixedPoint);
    QCOMPARE(changed.count(), 1);
    QVERIFY(sameNodes(record->nodes, DataHolders::Partitions::layoutNodes(*record)));
    QCOMPARE(label(), QString("Fixed point (%1)").arg(fixedPoint, 0, 'f', 4));
  }
};

QTEST_MAIN(TestFuzzyPartFixedWidget)
#include "tst_fuzzypartfixedwidget.moc"
