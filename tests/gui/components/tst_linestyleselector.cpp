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
  void namingGivesStoredKeys_data()
  {
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("key");
    QTest::newRow("one space") << "Original function"
                               << "Original_functionLineStyle";
    QTest::newRow("two spaces") << "Transformed function Ft0"
                                << "Transformed_function_Ft0LineStyle";
    QTest::newRow("no space") << "Background"
                              << "BackgroundLineStyle";
  }
  void namingGivesStoredKeys()
  {
    QFETCH(QString, caption);
    QFETCH(QString, key);
    LineStyleSelector s;
    s.setName(caption);
    QCOMPARE(s.findChild<QLabel*>("captionLbl")->text(), caption);
    QCOMPARE(s.colorLabel()->objectName(), key + "Color");
    QVERIFY(s.findChild<QSpinBox*>(key + "Width"));
  }

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
    if (changes)
      QCOMPARE(spy.first().first().value<QColor>(), answer);
  }

  void propertiesSetSilently()
  {
    ColorLabel label;
    QSignalSpy spy(&label, &ColorLabel::colorChanged);
    QVERIFY(label.setProperty("color", QColor(10, 20, 30)));
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
      QCOMPARE(label.palette().color(group, QPalette::Window), QColor(10, 20, 30));
    QCOMPARE(spy.count(), 0);
    LineStyleSelector s;
    QVERIFY(s.setProperty("LineWidth", 5));
    QCOMPARE(s.width(), 5);
  }
};

QTEST_MAIN(TestLineStyleSelector)
#include "tst_linestyleselector.moc"
