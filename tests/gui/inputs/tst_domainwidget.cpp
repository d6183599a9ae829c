#include "gui/inputs/domainwidget.h"

#include <QBoxLayout>
#include <QDoubleValidator>
#include <QGridLayout>
#include <QLineEdit>
#include <QSignalSpy>
#include <QtTest>

namespace {

const QString invalid = QStringLiteral("border-style: groove;border-color: red;border-width: 3px;");

} // namespace

class TestDomainWidget : public QObject
{
  Q_OBJECT

private:
  DomainWidget* w = nullptr;
  QLineEdit* edit(const char* name) { return w->findChild<QLineEdit*>(name); }

  // Gives the edit focus with a click, replaces its text by typing and leaves it with Tab.
  void retype(QLineEdit* e, const QString& text)
  {
    QTest::mouseClick(e, Qt::LeftButton);
    QVERIFY(e->hasFocus());
    QTest::keyClick(e, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(e, Qt::Key_Delete);
    QTest::keyClicks(e, text);
    QTest::keyClick(e, Qt::Key_Tab);
  }

private slots:
  void initTestCase() { qRegisterMetaType<DataHolderBase>("DataHolderBase"); }

  void init()
  {
    w = new DomainWidget;
    w->show();
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w));
  }
  void cleanup()
  {
    delete w;
    w = nullptr;
  }

  void form()
  {
    QCOMPARE(w->windowTitle(), QString("Form"));
    QCOMPARE(edit("lowEdt")->text(), QString("0"));
    QCOMPARE(edit("highEdt")->text(), QString("1"));
    QCOMPARE(edit("discrEdt")->text(), QString("2048"));
    QCOMPARE(edit("discrEdt")->toolTip(),
             QString("Number of subintervals in domain. Recommended value is in the form 2^n."));
    QCOMPARE(w->lastInputWidget(), edit("discrEdt"));
    QCOMPARE(w->firstInputWidget(), nullptr);
    auto d = w->data().staticCast<DataHolders::Domains::Equid>();
    QCOMPARE(d->type, 1);
    QCOMPARE(d->low, 0.0);
    QCOMPARE(d->high, 1.0);
    QCOMPARE(d->center, 0.5);
    QCOMPARE(d->count, 2048);
    QVERIFY(w->isValid());
  }

  void retypingOldValueEmitsNothing_data()
  {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::newRow("low") << "lowEdt"
                         << "0";
    QTest::newRow("high") << "highEdt"
                          << "1";
    QTest::newRow("discretization") << "discrEdt"
                                    << "2048";
  }
  void retypingOldValueEmitsNothing()
  {
    QFETCH(QString, name);
    QFETCH(QString, text);
    QSignalSpy inputs(w, &ConfigWidgetBase::inputsChanged);
    QSignalSpy range(w, &DomainWidgetBase::domainRangeChanged);
    retype(edit(name.toLatin1().constData()), text);
    QCOMPARE(inputs.count(), 0);
    QCOMPARE(range.count(), 0);
  }

  void invalidRangeMarkedThenCleared()
  {
    QSignalSpy inputs(w, &ConfigWidgetBase::inputsChanged);
    QSignalSpy range(w, &DomainWidgetBase::domainRangeChanged);
    retype(edit("lowEdt"), "5");
    QCOMPARE(edit("lowEdt")->styleSheet(), invalid);
    QCOMPARE(edit("highEdt")->styleSheet(), QString());
    QCOMPARE(inputs.count(), 0);
    QCOMPARE(range.count(), 0);
    QVERIFY(!w->isValid());

    retype(edit("highEdt"), "10");
    QCOMPARE(edit("lowEdt")->styleSheet(), QString());
    QCOMPARE(edit("highEdt")->styleSheet(), QString());
    QCOMPARE(inputs.count(), 1);
    QCOMPARE(range.count(), 1);
    auto d = range.at(0).at(0).value<DataHolderBase>().staticCast<DataHolders::Domains::Equid>();
    QCOMPARE(d->low, 5.0);
    QCOMPARE(d->high, 10.0);
    QCOMPARE(d->center, 7.5);
    QCOMPARE(d->count, 2048);
  }

  void discretizationOnlyIsNoRangeChange()
  {
    QSignalSpy inputs(w, &ConfigWidgetBase::inputsChanged);
    QSignalSpy range(w, &DomainWidgetBase::domainRangeChanged);
    retype(edit("discrEdt"), "512");
    QCOMPARE(inputs.count(), 1);
    QCOMPARE(range.count(), 0);
    QCOMPARE(w->data().staticCast<DataHolders::Domains::Equid>()->count, 512);
  }

  // A count the validator shows red must never reach a domain, not even by
  // editing another field afterwards.
  void countOutOfRangeBlocksEveryChange()
  {
    QLineEdit* discr = edit("discrEdt");
    QTest::mouseClick(discr, Qt::LeftButton);
    QTest::keyClick(discr, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(discr, "1");
    QCOMPARE(discr->styleSheet(), invalid);
    QTest::keyClicks(discr, "6");
    QCOMPARE(discr->styleSheet(), QString());
    QTest::keyClick(discr, Qt::Key_Backspace);
    QCOMPARE(discr->styleSheet(), invalid);

    QSignalSpy inputs(w, &ConfigWidgetBase::inputsChanged);
    QSignalSpy range(w, &DomainWidgetBase::domainRangeChanged);
    retype(edit("highEdt"), "2");
    QCOMPARE(inputs.count(), 0);
    QCOMPARE(range.count(), 0);
    QVERIFY(!w->isValid());
  }

  void isValid_data()
  {
    QTest::addColumn<QString>("low");
    QTest::addColumn<QString>("high");
    QTest::addColumn<QString>("count");
    QTest::addColumn<bool>("valid");
    QTest::newRow("default") << "0"
                             << "1"
                             << "2048" << true;
    QTest::newRow("negative range") << "-3.5"
                                    << "-1"
                                    << "2" << true;
    QTest::newRow("largest count") << "0"
                                   << "1"
                                   << "100000" << true;
    QTest::newRow("empty range") << "1"
                                 << "1"
                                 << "2048" << false;
    QTest::newRow("reversed") << "2"
                              << "1"
                              << "2048" << false;
    QTest::newRow("count not a number") << "0"
                                        << "1"
                                        << "x" << false;
    QTest::newRow("count 0") << "0"
                             << "1"
                             << "0" << false;
    QTest::newRow("count 1") << "0"
                             << "1"
                             << "1" << false;
    QTest::newRow("count too large") << "0"
                                     << "1"
                                     << "100001" << false;
    QTest::newRow("inf") << "0"
                         << "inf"
                         << "2048" << false;
    QTest::newRow("nan") << "nan"
                         << "1"
                         << "2048" << false;
    QTest::newRow("low empty") << ""
                               << "1"
                               << "2048" << false;
  }
  void isValid()
  {
    QFETCH(QString, low);
    QFETCH(QString, high);
    QFETCH(QString, count);
    QFETCH(bool, valid);
    // Texts as a restored session may set them, bypassing the validators.
    edit("lowEdt")->setText(low);
    edit("highEdt")->setText(high);
    edit("discrEdt")->setText(count);
    QCOMPARE(w->isValid(), valid);
  }

  void isAcceptable_data()
  {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("acceptable");
    QTest::newRow("bottom") << "0" << false;
    QTest::newRow("bottom spelt differently") << "0.000" << false;
    QTest::newRow("just above") << "0.001" << true;
    QTest::newRow("top") << "10" << true;
    QTest::newRow("above top") << "11" << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("comma decimal") << "1,5" << false;
    QTest::newRow("inf") << "inf" << false;
  }
  void isAcceptable()
  {
    QFETCH(QString, text);
    QFETCH(bool, acceptable);
    QLineEdit e;
    auto* v = new QDoubleValidator(0.0, 10.0, 3, &e);
    WidgetBase::useCLocale(v);
    e.setValidator(v);
    e.setText(text);
    QCOMPARE(WidgetBase::isAcceptable(&e), acceptable);
  }

  void replaceWidget()
  {
    QWidget box;
    auto* vbox = new QVBoxLayout(&box);
    auto* first = new QWidget;
    QPointer<QWidget> placeholder = new QWidget;
    placeholder->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    placeholder->setMinimumSize(20, 30);
    placeholder->setMaximumSize(200, 300);
    vbox->addWidget(first);
    vbox->addWidget(placeholder);
    vbox->addWidget(new QWidget);
    auto* widget = new QWidget;
    WidgetBase::replaceWidget(vbox, placeholder, widget);
    QVERIFY(placeholder.isNull());
    QCOMPARE(vbox->count(), 3);
    QCOMPARE(vbox->indexOf(widget), 1);
    QCOMPARE(widget->sizePolicy(), QSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed));
    QCOMPARE(widget->minimumSize(), QSize(20, 30));
    QCOMPARE(widget->maximumSize(), QSize(200, 300));

    QWidget grid;
    auto* g = new QGridLayout(&grid);
    QPointer<QWidget> gp = new QWidget;
    g->addWidget(gp, 0, 0);
    g->addWidget(new QWidget, 0, 1);
    auto* other = new QWidget;
    WidgetBase::replaceWidget(g, gp, other);
    QVERIFY(gp.isNull());
    QCOMPARE(g->count(), 2);
    QCOMPARE(g->indexOf(other), 1);
  }
};

QTEST_MAIN(TestDomainWidget)
#include "tst_domainwidget.moc"
