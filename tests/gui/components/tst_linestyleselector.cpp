#include "common/promptrecorder.h"
#include "gui/components/colorlabel.h"
#include "gui/components/linestyleselector.h"

#include <QLabel>
#include <QSpinBox>
#include <QtTest>

class TestLineStyleSelector : public QObject
{
  Q_OBJECT

private slots:
  void namingGivesStoredKeys_data();
  void namingGivesStoredKeys();
  void colourDialog_data();
  void colourDialog();
  void otherButtonsOpenNothing();
  void colorPropertyRepaintsSilently();
  void widthPropertyAndVisibility();
};

void TestLineStyleSelector::namingGivesStoredKeys_data()
{
  QTest::addColumn<QString>("caption");
  QTest::addColumn<QString>("colorName");
  QTest::addColumn<QString>("widthName");
  QTest::newRow("one space") << "Original function"
                             << "Original_functionLineStyleColor"
                             << "Original_functionLineStyleWidth";
  QTest::newRow("two spaces") << "Transformed function Ft0"
                              << "Transformed_function_Ft0LineStyleColor"
                              << "Transformed_function_Ft0LineStyleWidth";
  QTest::newRow("no space") << "Background"
                            << "BackgroundLineStyleColor"
                            << "BackgroundLineStyleWidth";
}

void TestLineStyleSelector::namingGivesStoredKeys()
{
  QFETCH(QString, caption);
  QFETCH(QString, colorName);
  QFETCH(QString, widthName);
  LineStyleSelector s;
  QCOMPARE(s.findChild<QLabel*>("captionLbl")->text(), QString("Caption"));
  s.setName(caption);
  QCOMPARE(s.findChild<QLabel*>("captionLbl")->text(), caption);
  QCOMPARE(s.colorLabel()->objectName(), colorName);
  QVERIFY(s.findChild<QSpinBox*>(widthName));
}

void TestLineStyleSelector::colourDialog_data()
{
  QTest::addColumn<QColor>("answer");
  QTest::addColumn<bool>("changes");
  QTest::newRow("cancelled") << QColor() << false;
  QTest::newRow("same colour") << QColor(Qt::red) << false;
  QTest::newRow("new colour") << QColor(Qt::blue) << true;
}

void TestLineStyleSelector::colourDialog()
{
  QFETCH(QColor, answer);
  QFETCH(bool, changes);
  ColorLabel label;
  label.setColor(Qt::red);
  QSignalSpy spy(&label, &ColorLabel::colorChanged);
  PromptRecorder rec;
  rec.colorAnswer = answer;
  QTest::mouseClick(&label, Qt::LeftButton);
  QCOMPARE(rec.colorRequests, 1);
  QCOMPARE(spy.count(), changes ? 1 : 0);
  QCOMPARE(label.color(), changes ? answer : QColor(Qt::red));
  if (changes)
    QCOMPARE(spy.first().first().value<QColor>(), answer);
}

void TestLineStyleSelector::otherButtonsOpenNothing()
{
  ColorLabel label;
  PromptRecorder rec;
  rec.colorAnswer = Qt::blue;
  QTest::mouseClick(&label, Qt::RightButton);
  QTest::mouseClick(&label, Qt::MiddleButton);
  QCOMPARE(rec.colorRequests, 0);
}

void TestLineStyleSelector::colorPropertyRepaintsSilently()
{
  ColorLabel label;
  QCOMPARE(label.color(), label.palette().color(QPalette::Window));
  QVERIFY(label.text().isEmpty());
  QCOMPARE(label.frameShape(), QFrame::Box);
  QSignalSpy spy(&label, &ColorLabel::colorChanged);
  QVERIFY(label.setProperty("color", QColor(10, 20, 30)));
  QCOMPARE(label.color(), QColor(10, 20, 30));
  for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
    QCOMPARE(label.palette().color(group, QPalette::Window), QColor(10, 20, 30));
  QCOMPARE(spy.count(), 0);
}

void TestLineStyleSelector::widthPropertyAndVisibility()
{
  LineStyleSelector s;
  QCOMPARE(s.width(), 2);
  QVERIFY(s.setProperty("LineWidth", 5));
  QCOMPARE(s.width(), 5);
  s.setWidth(40); // the spin box keeps 1..10
  QCOMPARE(s.property("LineWidth").toInt(), 10);
  s.setWidthVisible(false);
  QVERIFY(s.findChild<QLabel*>("widthLbl")->isHidden());
  QVERIFY(s.findChild<QSpinBox*>("widthSpin")->isHidden());
  QVERIFY(!s.colorLabel()->isHidden());
}

QTEST_MAIN(TestLineStyleSelector)
#include "tst_linestyleselector.moc"
