#include "gui/inputs/fuzzypartdeltawidget.h"

#include "partitionplotdriver.h"

#include <QComboBox>
#include <QSignalSpy>
#include <QtTest>

using DataHolders::Partitions::FuzzyDelta;

class TestFuzzyPartDeltaWidget : public QObject
{
  Q_OBJECT

private:
  QSharedPointer<FuzzyDelta> record;
  FuzzyPartDeltaWidget* w = nullptr;
  PartitionPlotDriver* drv = nullptr;

  QLineEdit* deltaEdit() const { return w->findChild<QLineEdit*>("deltaEdt"); }
  QLineEdit* varianceEdit() const { return w->findChild<QLineEdit*>("extraParamEdt"); }
  QComboBox* shapes() const { return w->findChild<QComboBox*>("shapeCbox"); }
  QVector<double> nodes() const { return drv->recordNodes(); }

private slots:
  void init()
  {
    record = QSharedPointer<FuzzyDelta>::create();
    w = new FuzzyPartDeltaWidget(record);
    drv = new PartitionPlotDriver(w);
    w->resize(600, 300);
    w->show();
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w));
  }
  void cleanup()
  {
    delete drv;
    delete w;
  }

  void construction()
  {
    QCOMPARE(w->objectName(), QString("DeltaPart"));
    QStringList items;
    for (int i = 0; i < shapes()->count(); ++i)
      items << shapes()->itemText(i);
    QCOMPARE(items, QStringList({"Triangle", "Sin", "Gaussian"}));
    QCOMPARE(shapes()->currentText(), QString("Gaussian"));
    QCOMPARE(deltaEdit()->text(), QString("0.25"));
    QCOMPARE(varianceEdit()->text(), QString("0.1"));
    QCOMPARE(drv->editors()->count(), std::size_t(5));
    QVERIFY(w->isValid());
  }

  void bounds_data()
  {
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("width below") << "deltaEdt"
                                 << "0.00009" << false;
    QTest::newRow("width at the bound") << "deltaEdt"
                                        << "0.0001" << false;
    QTest::newRow("width above the range") << "deltaEdt"
                                           << "2" << false;
    QTest::newRow("width whole range") << "deltaEdt"
                                       << "1" << true;
    QTest::newRow("width inside") << "deltaEdt"
                                  << "0.2" << true;
    QTest::newRow("variance at the bound") << "extraParamEdt"
                                           << "0.000025" << false;
    QTest::newRow("variance above the bound") << "extraParamEdt"
                                              << "0.00003" << true;
    QTest::newRow("variance large") << "extraParamEdt"
                                    << "3" << true;
  }
  void bounds()
  {
    QFETCH(QString, edit);
    QFETCH(QString, text);
    QFETCH(bool, accepted);
    QLineEdit* e = w->findChild<QLineEdit*>(edit);
    const double before = edit == "deltaEdt" ? record->delta : record->extraParam;
    QSignalSpy inputs(w, &ConfigWidgetBase::inputsChanged);
    retypeEdit(e, text);
    w->data();
    const double after = edit == "deltaEdt" ? record->delta : record->extraParam;
    QCOMPARE(after, accepted ? text.toDouble() : before);
    QCOMPARE(e->styleSheet().isEmpty(), accepted);
    QCOMPARE(inputs.isEmpty(), !accepted);
  }

  // A new element width lays the nodes out afresh; the other inputs keep the
  // nodes the user placed.
  void widthRelayoutsOthersKeep()
  {
    retypeEdit(deltaEdit(), "0.3");
    QVERIFY(sameNodes(nodes(), {0, 0.3, 0.6, 0.8999999999999999}, 1e-12));
    drv->ctrlClick(Qt::LeftButton, drv->pixel(0.45), drv->lowestThirdY());
    QCOMPARE(nodes().size(), 5);
    retypeEdit(varianceEdit(), "0.05");
    QCOMPARE(nodes().size(), 5);
    shapes()->setCurrentIndex(0);
    QCOMPARE(nodes().size(), 5);
    QCOMPARE(record->shape, 0);
    retypeEdit(deltaEdit(), "0.5");
    QVERIFY(sameNodes(nodes(), {0, 0.5, 1}));
  }

  void ctrlClicks()
  {
    drv->ctrlClick(Qt::LeftButton, drv->pixel(0.6), drv->lowestThirdY());
    QCOMPARE(nodes().size(), 6);
    drv->ctrlClick(Qt::RightButton, drv->pixel(0.25) - 5, drv->lowestThirdY());
    QCOMPARE(nodes().size(), 6);
    drv->ctrlClick(Qt::RightButton, drv->pixel(0.25) + 5, drv->lowestThirdY());
    const QVector<double> n = nodes();
    QCOMPARE(n.size(), 5);
    QCOMPARE(n[1], 0.5);
    drv->ctrlClick(Qt::LeftButton, drv->pixel(0.6), drv->upperY());
    QCOMPARE(nodes().size(), 5);
  }

  void domainChange()
  {
    drv->ctrlClick(Qt::LeftButton, drv->pixel(0.6), drv->lowestThirdY());
    auto finer = QSharedPointer<DataHolders::Domains::Equid>::create();
    finer->count = 700;
    w->setDomainData(finer);
    QCOMPARE(nodes().size(), 6);

    auto narrow = QSharedPointer<DataHolders::Domains::Equid>::create();
    narrow->high = 0.1;
    w->setDomainData(DataHolderBase(narrow));
    QCOMPARE(record->delta, 0.1);
    QCOMPARE(deltaEdit()->text(), QString("0.1"));
    QCOMPARE(record->extraParam, 0.1);
    QVERIFY(sameNodes(nodes(), {0, 0.1}));
    // Bounds follow the new range: 0.05 is a width of [0, 0.1], 0.2 is not.
    retypeEdit(deltaEdit(), "0.2");
    QVERIFY(!deltaEdit()->styleSheet().isEmpty());
    retypeEdit(deltaEdit(), "0.05");
    QCOMPARE(record->delta, 0.05);
  }

  void varianceRaisedToItsBound()
  {
    auto r = QSharedPointer<FuzzyDelta>::create();
    r->extraParam = 1e-9;
    FuzzyPartDeltaWidget other(r);
    QCOMPARE(r->extraParam, 0.25 / 10000);
    QCOMPARE(other.findChild<QLineEdit*>("extraParamEdt")->text(), QString("2.5e-05"));
  }

  // Text put in by a restore bypasses the validators; reading it marks it.
  void restoredTextIsJudged()
  {
    deltaEdit()->setText("nan");
    varianceEdit()->setText("0.2");
    w->onInputsChanged();
    QCOMPARE(record->delta, 0.25);
    QCOMPARE(record->extraParam, 0.2);
    QVERIFY(!deltaEdit()->styleSheet().isEmpty());
    QVERIFY(varianceEdit()->styleSheet().isEmpty());
    QVERIFY(w->isValid());
  }

  void setNodeSet()
  {
    QSignalSpy inputs(w, &ConfigWidgetBase::inputsChanged);
    QVERIFY(w->setNodeSet({0.1, 0.5, 0.9}));
    QCOMPARE(inputs.count(), 0);
    QVERIFY(sameNodes(nodes(), {0.1, 0.5, 0.9}));
    w->onInputsChanged();
    QCOMPARE(drv->editors()->count(), std::size_t(3));
    QVERIFY(sameNodes(nodes(), {0.1, 0.5, 0.9}));
  }
};

QTEST_MAIN(TestFuzzyPartDeltaWidget)
#include "tst_fuzzypartdeltawidget.moc"
