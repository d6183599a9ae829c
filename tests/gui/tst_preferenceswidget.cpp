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

  void storedKeys()
  {
    PreferencesWidget p;
    p.findChild<QSpinBox*>("maxZoomSpin")->setValue(12);
    press(p, QDialogButtonBox::Ok);
    QSettings s = userSettings();
    s.beginGroup("Preferences");
    QCOMPARE(s.value("maxZoomSpin_value").toInt(), 12);
    QCOMPARE(s.value("showGridCbox_checked").toBool(), true);
    QCOMPARE(s.value("legendIconWidthSpin_value").toInt(), 15);
    QCOMPARE(s.value("formulasPathEdt_text").toString(), QString());
    QCOMPARE(s.value("maxRecentSpin_value").toInt(), 7);
    QCOMPARE(s.value("defaultOnlyRbtn_checked").toBool(), true);
    QCOMPARE(s.value("functionStyle_LineWidth").toInt(), 2);
    QCOMPARE(s.value("Original_functionLineStyleColor_color").value<QColor>(), QColor(Qt::black));
    QCOMPARE(s.value("Transformed_function_Ft0LineStyleWidth_value").toInt(), 2);
    QVERIFY(!s.allKeys().join(' ').contains("qt_spinbox_lineedit"));
  }

  void cancelRestoresLastOk()
  {
    PreferencesWidget p;
    auto* zoom = p.findChild<QSpinBox*>("maxZoomSpin");
    auto* color = p.findChild<LineStyleSelector*>("transform1Style")->colorLabel();
    zoom->setValue(20);
    color->setColor(Qt::darkCyan);
    press(p, QDialogButtonBox::Ok);
    zoom->setValue(80);
    color->setColor(Qt::yellow);
    p.findChild<QRadioButton*>("allRbtn")->setChecked(true);
    press(p, QDialogButtonBox::Cancel);
    QCOMPARE(p.maxZoom(), 20);
    QCOMPARE(p.transformPen(1).color(), QColor(Qt::darkCyan));
    QCOMPARE(p.saveOnExitPolicy(), 1);

    // The next run starts from the defaults; Cancel brings back the stored values.
    PreferencesWidget next;
    QCOMPARE(next.maxZoom(), 5);
    press(next, QDialogButtonBox::Cancel);
    QCOMPARE(next.maxZoom(), 20);
    QCOMPARE(next.transformPen(1).color(), QColor(Qt::darkCyan));
  }

  void failedSaveIsReported()
  {
    // User settings under a path whose "directory" is a regular file.
    QTemporaryDir dir;
    QFile plain(dir.filePath("plain"));
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.close();
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, plain.fileName());
    PreferencesWidget p;
    PromptRecorder rec;
    press(p, QDialogButtonBox::Ok);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                       QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
    QCOMPARE(rec.titles(), QStringList{"Error"});
    QVERIFY(rec.messages.first().text.contains(plain.fileName()));
  }
};

QTEST_MAIN(TestPreferencesWidget)
#include "tst_preferenceswidget.moc"
