#include "common/promptrecorder.h"
#include "gui/components/colorlabel.h"

#include <QtTest>

class TestColorLabel : public QObject
{
  Q_OBJECT

private slots:
  void colourDialog_data()
  {
    QTest::addColumn<int>("button");
    QTest::addColumn<QColor>("answer");
    QTest::addColumn<bool>("changes");
    QTest::newRow("cancelled") << int(Qt::LeftButton) << QColor() << false;
    QTest::newRow("same colour") << int(Qt::LeftButton) << QColor(Qt::red) << false;
    QTest::newRow("new colour") << int(Qt::LeftButton) << QColor(Qt::blue) << true;
    QTest::newRow("right button") << int(Qt::RightButton) << QColor(Qt::blue) << false;
  }
  void colourDialog()
  {
    QFETCH(int, button);
    QFETCH(QColor, answer);
    QFETCH(bool, changes);
    ColorLabel label;
    label.setColor(Qt::red);
    QSignalSpy spy(&label, &ColorLabel::colorChanged);
    PromptRecorder rec;
    rec.colorAnswer = answer;
    QTest::mouseClick(&label, Qt::MouseButton(button));
    QCOMPARE(rec.colorRequests, button == Qt::LeftButton ? 1 : 0);
    QCOMPARE(label.color(), changes ? answer : QColor(Qt::red));
    QCOMPARE(spy.count(), changes ? 1 : 0);
    QVERIFY(!changes || spy.first().first().value<QColor>() == answer);
  }

  void colorPropertySetSilently()
  {
    ColorLabel label;
    QSignalSpy spy(&label, &ColorLabel::colorChanged);
    QVERIFY(label.setProperty("color", QColor(10, 20, 30)));
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
      QCOMPARE(label.palette().color(group, QPalette::Window), QColor(10, 20, 30));
    QCOMPARE(spy.count(), 0);
  }
};

QTEST_MAIN(TestColorLabel)
#include "tst_colorlabel.moc"
