#include "gui/inputs/domainwidget.h"

#include "partitionplotdriver.h"

#include <QToolTip>

using DataHolders::Domains::Equid;

static const QString invalid("border-style: groove;border-color: red;border-width: 3px;");

class TestDomainWidget : public QObject
{
  Q_OBJECT

  DomainWidget* w = nullptr;
  QLineEdit* edit(const QString& name) { return w->findChild<QLineEdit*>(name); }
  void retype(QLineEdit* e, const QString& text) { retypeEdit(e, text, true); }

private slots:
  void initTestCase() { qRegisterMetaType<DataHolderBase>("DataHolderBase"); }
  void init()
  {
    w = new DomainWidget;
    QVERIFY(showActive(w));
  }
  void cleanup() { delete w; }

  // Retyping a value unchanged says nothing; a new count is no range change,
  // and going back to the count in force before it is a change too.
  void retypeEmits()
  {
    QSignalSpy in(w, &ConfigWidgetBase::inputsChanged);
    QSignalSpy range(w, &DomainWidgetBase::domainRangeChanged);
    retype(edit("lowEdt"), "0");
    retype(edit("highEdt"), "1");
    retype(edit("discrEdt"), "2048");
    QCOMPARE(in.count(), 0);
    retype(edit("discrEdt"), "512");
    QCOMPARE(QPair(in.count(), range.count()), QPair(1, 0));
    QCOMPARE(w->data().staticCast<Equid>()->count, 512);
    retypeEdit(edit("discrEdt"), "2048");
    QTest::keyClick(edit("discrEdt"), Qt::Key_Return);
    QCOMPARE(in.count(), 2);
  }

  void invalidRangeMarkedThenCleared()
  {
    QSignalSpy inputs(w, &ConfigWidgetBase::inputsChanged);
    QSignalSpy range(w, &DomainWidgetBase::domainRangeChanged);
    retype(edit("lowEdt"), "5");
    QCOMPARE(QPair(edit("lowEdt")->styleSheet(), edit("highEdt")->styleSheet()),
             QPair(invalid, QString()));
    QCOMPARE(inputs.count() + range.count(), 0);
    QVERIFY(!w->isValid());

    retype(edit("highEdt"), "10");
    QCOMPARE(edit("lowEdt")->styleSheet() + edit("highEdt")->styleSheet(), QString());
    QCOMPARE(QPair(inputs.count(), range.count()), QPair(1, 1));
    auto d = range.at(0).at(0).value<DataHolderBase>().staticCast<Equid>();
    QCOMPARE(QVector<double>({d->low, d->high, double(d->count)}), QVector<double>({5, 10, 2048}));
  }

  // A count the validator shows red must never reach a domain, not even by
  // editing another field afterwards.
  void countOutOfRangeBlocksEveryChange()
  {
    QLineEdit* discr = edit("discrEdt");
    retypeEdit(discr, "1");
    QCOMPARE(discr->styleSheet(), invalid);
    QTest::keyClicks(discr, "6");
    QCOMPARE(discr->styleSheet(), QString());
    QTest::keyClick(discr, Qt::Key_Backspace);
    QCOMPARE(discr->styleSheet(), invalid);

    QSignalSpy inputs(w, &ConfigWidgetBase::inputsChanged);
    QSignalSpy range(w, &DomainWidgetBase::domainRangeChanged);
    retype(edit("highEdt"), "2");
    QCOMPARE(inputs.count() + range.count(), 0);
    QVERIFY(!w->isValid());
  }

  // Typed and confirmed with Enter: within the limits the count is taken,
  // beyond them it stays as typed, refused in red with the limits in words.
  void countLimits_data()
  {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("taken");
    QTest::newRow("1") << "1" << false;
    QTest::newRow("2") << "2" << true;
    QTest::newRow("999999") << "999999" << true;
    QTest::newRow("1000000") << "1000000" << true;
    QTest::newRow("10000000") << "10000000" << true;
    QTest::newRow("10000001") << "10000001" << false;
  }
  void countLimits()
  {
    QFETCH(QString, typed);
    QFETCH(bool, taken);
    QLineEdit* discr = edit("discrEdt");
    QSignalSpy inputs(w, &ConfigWidgetBase::inputsChanged);
    retypeEdit(discr, typed);
    QTest::keyClick(discr, Qt::Key_Return);
    QCOMPARE(discr->text(), typed);
    QCOMPARE(inputs.count(), taken ? 1 : 0);
    QCOMPARE(w->isValid(), taken);
    QCOMPARE(discr->styleSheet(), taken ? QString() : invalid);
    const QString limits("Discretization must be between 2 and 10000000.");
    QCOMPARE(discr->toolTip() == limits, !taken);
    if (!taken)
      QCOMPARE(QToolTip::text(), limits);
    if (taken)
      QCOMPARE(w->data().staticCast<Equid>()->count, typed.toInt());
  }

  // Texts as a restored session may set them, bypassing the validators.
  void isValid_data()
  {
    QTest::addColumn<QString>("low");
    QTest::addColumn<QString>("high");
    QTest::addColumn<QString>("count");
    QTest::addColumn<bool>("valid");
    // clang-format off
    QTest::newRow("largest count") << "0" << "1" << "10000000" << true;
    QTest::newRow("empty range") << "1" << "1" << "2048" << false;
    QTest::newRow("count not a number") << "0" << "1" << "x" << false;
    QTest::newRow("count 1") << "0" << "1" << "1" << false;
    QTest::newRow("count too large") << "0" << "1" << "10000001" << false;
    QTest::newRow("inf") << "0" << "inf" << "2048" << false;
    QTest::newRow("comma decimal") << "0,5" << "1" << "2048" << false;
    // clang-format on
  }
  void isValid()
  {
    QFETCH(QString, low);
    QFETCH(QString, high);
    QFETCH(QString, count);
    QFETCH(bool, valid);
    edit("lowEdt")->setText(low);
    edit("highEdt")->setText(high);
    edit("discrEdt")->setText(count);
    QCOMPARE(w->isValid(), valid);
  }
};

QTEST_MAIN(TestDomainWidget)
#include "tst_domainwidget.moc"
