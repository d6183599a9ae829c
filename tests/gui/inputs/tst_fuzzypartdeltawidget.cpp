#include "gui/inputs/fuzzypartdeltawidget.h"

#include "partitionplotdriver.h"

#include "midle/session/sessionpartition.h"

#include <QComboBox>
#include <QDoubleValidator>

using DataHolders::Partitions::FuzzyDelta;

class TestFuzzyPartDeltaWidget : public QObject
{
  Q_OBJECT

  QSharedPointer<FuzzyDelta> record;
  FuzzyPartDeltaWidget* w = nullptr;
  PartitionPlotDriver drv{nullptr};

  QLineEdit* deltaEdit() const { return w->findChild<QLineEdit*>("deltaEdt"); }
  QLineEdit* varianceEdit() const { return w->findChild<QLineEdit*>("extraParamEdt"); }
  QComboBox* shapes() const { return w->findChild<QComboBox*>("shapeCbox"); }

private slots:
  void init()
  {
    drv.w = w = new FuzzyPartDeltaWidget(record = QSharedPointer<FuzzyDelta>::create());
    QVERIFY(showActive(w, {600, 300}));
  }
  void cleanup() { delete w; }

  void bounds_data()
  {
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("accepted");
    // clang-format off
    QTest::newRow("width at the bound") << "deltaEdt" << "0.0001" << false;
    QTest::newRow("width above the range") << "deltaEdt" << "2" << false;
    QTest::newRow("width whole range") << "deltaEdt" << "1" << true;
    QTest::newRow("variance at the bound") << "extraParamEdt" << "0.000025" << false;
    QTest::newRow("variance above the bound") << "extraParamEdt" << "0.00003" << true;
    // clang-format on
  }
  void bounds()
  {
    QFETCH(QString, edit);
    QFETCH(QString, text);
    QFETCH(bool, accepted);
    QLineEdit* e = w->findChild<QLineEdit*>(edit);
    double& stored = edit == "deltaEdt" ? record->delta : record->extraParam;
    const double before = stored;
    QSignalSpy inputs(w, &ConfigWidgetBase::inputsChanged);
    retypeEdit(e, text);
    w->data();
    QCOMPARE(stored, accepted ? text.toDouble() : before);
    QCOMPARE(e->styleSheet().isEmpty(), accepted);
    QCOMPARE(inputs.isEmpty(), !accepted);
  }

  // A session's texts count where the edit's validator would take them.
  void sessionsAcceptWhatTheEditAccepts_data()
  {
    QTest::addColumn<QString>("text");
    for (const char* t : {"0.5", "1", "0.0001", "1.5", "-0.5", "5e-1", "5E-1", ".5", "+.5", "0,5",
                          " 0.5", "0.5e", "1e400", "inf", "0.5.1", "1e-1e1", ""})
      QTest::newRow(t) << QString::fromLatin1(t);
    QTest::newRow("Unicode minus") << QString::fromUtf8("\u22120.5");
    QTest::newRow("1000 decimals") << "0." + QString(999, '1') + "2";
    QTest::newRow("1001 decimals") << "0." + QString(1001, '1');
  }
  void sessionsAcceptWhatTheEditAccepts()
  {
    QFETCH(QString, text);
    deltaEdit()->setText(text);
    const auto* v = qobject_cast<const QDoubleValidator*>(deltaEdit()->validator());
    QCOMPARE(SessionPartition::acceptable(text, v->bottom(), v->top()),
             WidgetBase::isAcceptable(deltaEdit()));
  }

  // A new element width lays the nodes out afresh; the other inputs keep the
  // nodes the user placed.
  void widthRelayoutsOthersKeep()
  {
    retypeEdit(deltaEdit(), "0.3");
    QVERIFY(sameNodes(drv.nodes(), {0, 0.3, 0.6, 0.8999999999999999}));
    drv.ctrlClick(Qt::LeftButton, 0.45);
    retypeEdit(varianceEdit(), "0.05");
    shapes()->setCurrentIndex(0);
    QCOMPARE(drv.nodes().size(), 5);
    retypeEdit(deltaEdit(), "0.5");
    QVERIFY(sameNodes(drv.nodes(), {0, 0.5, 1}));
    // The node editors' keys edit the same nodes.
    QTest::keyClick(drv.editors()->editor(0), Qt::Key_Insert, Qt::AltModifier);
    QCOMPARE(drv.nodes().size(), 4);
    QTest::keyClick(drv.editors()->editor(1), Qt::Key_Delete, Qt::AltModifier);
    QVERIFY(sameNodes(drv.nodes(), {0, 0.5, 1}));
  }

  void domainChange()
  {
    w->setDomainData(DataHolderBase(equid(0, 0.1)));
    QCOMPARE(deltaEdit()->text(), QString("0.1"));
    // Bounds follow the new range.
    retypeEdit(deltaEdit(), "0.2");
    QVERIFY(!deltaEdit()->styleSheet().isEmpty());
    retypeEdit(deltaEdit(), "0.05");
    QCOMPARE(record->delta, 0.05);
  }

  void restoredValuesAreJudged()
  {
    auto r = QSharedPointer<FuzzyDelta>::create();
    r->extraParam = 1e-9;
    FuzzyPartDeltaWidget other(r);
    QCOMPARE(r->extraParam, 0.25 / 10000);
    QCOMPARE(other.findChild<QLineEdit*>("extraParamEdt")->text(), QString("2.5e-05"));

    // Text put in by a restore bypasses the validators; reading it marks it.
    deltaEdit()->setText("nan");
    varianceEdit()->setText("0.2");
    w->onInputsChanged();
    QCOMPARE(record->delta, 0.25);
    QCOMPARE(record->extraParam, 0.2);
    QVERIFY(!deltaEdit()->styleSheet().isEmpty());
    QVERIFY(varianceEdit()->styleSheet().isEmpty());
    // Saved, such text would give a session that cannot be opened.
    QCOMPARE(w->markInvalidInput(), QString("Element width"));
  }
};

QTEST_MAIN(TestFuzzyPartDeltaWidget)
#include "tst_fuzzypartdeltawidget.moc"
