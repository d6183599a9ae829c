#include "common/promptrecorder.h"
#include "gui/components/colorlabel.h"
#include "gui/components/linestyleselector.h"
#include "gui/preferenceswidget.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QtTest>

namespace {

QSettings userSettings()
{
  return QSettings(QSettings::IniFormat, QSettings::UserScope, "korvant", "quelmora");
}

void press(PreferencesWidget& p, QDialogButtonBox::StandardButton b)
{
  p.buttonBox()->button(b)->click();
}

} // namespace

class TestPreferencesWidget : public QObject
{
  Q_OBJECT

private slots:
  void initTestCase()
  {
    QCoreApplication::setOrganizationName("korvant");
    QCoreApplication::setApplicationName("quelmora");
  }
  void init() { userSettings().clear(); }

  // The stored keys, and Cancel going back to the values of the last OK; a
  // later run starts from the defaults and Cancel brings the stored values back.
  void storedKeysAndCancel()
  {
    PreferencesWidget p;
    auto* zoom = p.findChild<QSpinBox*>("maxZoomSpin");
    auto* color = p.findChild<LineStyleSelector*>("transform1Style")->colorLabel();
    zoom->setValue(12);
    color->setColor(Qt::darkCyan);
    press(p, QDialogButtonBox::Ok);
    QSettings s = userSettings();
    s.beginGroup("Preferences");
    for (const char* line :
         {"maxZoomSpin_value=12", "showGridCbox_checked=true", "legendIconWidthSpin_value=15",
          "formulasPathEdt_text=", "maxRecentSpin_value=7", "defaultOnlyRbtn_checked=true",
          "functionStyle_LineWidth=2", "Original_functionLineStyleColor_color=#000000",
          "Transformed_function_Ft0LineStyleWidth_value=2"})
      QCOMPARE(s.value(QString(line).section('=', 0, 0)).toString(), QString(line).section('=', 1));
    QVERIFY(!s.allKeys().join(' ').contains("qt_spinbox_lineedit"));

    zoom->setValue(80);
    color->setColor(Qt::yellow);
    p.findChild<QRadioButton*>("allRbtn")->setChecked(true);
    press(p, QDialogButtonBox::Cancel);
    QCOMPARE(p.maxZoom(), 12);
    QCOMPARE(p.transformPen(1).color(), QColor(Qt::darkCyan));
    QCOMPARE(p.saveOnExitPolicy(), SaveOnExit::DefaultOnly);
    PreferencesWidget next;
    QCOMPARE(next.maxZoom(), 5);
    press(next, QDialogButtonBox::Cancel);
    QCOMPARE(next.maxZoom(), 12);
    QCOMPARE(next.transformPen(1).color(), QColor(Qt::darkCyan));
  }

  // A left click, or Space or Enter from the keyboard, asks for a colour;
  // restoring one (setColor) repaints without a signal.
  void colourLabel_data()
  {
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("key"); // pressed instead of the button
    QTest::addColumn<QColor>("answer");
    QTest::addColumn<bool>("changes");
    QTest::newRow("cancelled") << int(Qt::LeftButton) << 0 << QColor() << false;
    QTest::newRow("same colour") << int(Qt::LeftButton) << 0 << QColor(Qt::red) << false;
    QTest::newRow("new colour") << int(Qt::LeftButton) << 0 << QColor(Qt::blue) << true;
    QTest::newRow("right button") << int(Qt::RightButton) << 0 << QColor(Qt::blue) << false;
    QTest::newRow("Space") << int(Qt::LeftButton) << int(Qt::Key_Space) << QColor(Qt::blue) << true;
    QTest::newRow("Enter") << int(Qt::LeftButton) << int(Qt::Key_Return) << QColor(Qt::blue)
                           << true;
    QTest::newRow("other key") << int(Qt::RightButton) << int(Qt::Key_A) << QColor(Qt::blue)
                               << false;
  }
  void colourLabel()
  {
    QFETCH(int, button);
    QFETCH(int, key);
    QFETCH(QColor, answer);
    QFETCH(bool, changes);
    PreferencesWidget p;
    ColorLabel* label = p.findChild<LineStyleSelector*>("transform1Style")->colorLabel();
    QSignalSpy spy(label, &ColorLabel::colorChanged);
    label->setColor(Qt::red);
    PromptRecorder rec;
    rec.colorAnswer = answer;
    if (key)
      QTest::keyClick(label, Qt::Key(key));
    else
      QTest::mouseClick(label, Qt::MouseButton(button));
    QCOMPARE(rec.colorRequests, button == Qt::LeftButton ? 1 : 0);
    QCOMPARE(spy.count(), changes ? 1 : 0);
    QCOMPARE(label->palette().color(QPalette::Window), changes ? answer : QColor(Qt::red));
    press(p, QDialogButtonBox::Ok);
    QCOMPARE(p.transformPen(1).color(), changes ? answer : QColor(Qt::red));
  }

  void failedSaveIsReported()
  {
    // User settings under a path whose "directory" is a regular file.
    QTemporaryDir dir;
    const QString plain = dir.filePath("plain");
    QVERIFY(QFile(plain).open(QIODevice::WriteOnly));
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, plain);
    PreferencesWidget p;
    PromptRecorder rec;
    press(p, QDialogButtonBox::Ok);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                       QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
    QCOMPARE(rec.titles(), QStringList{"Error"});
    QVERIFY(rec.messages.first().text.contains(plain));
  }
};

QTEST_MAIN(TestPreferencesWidget)
#include "tst_preferenceswidget.moc"
