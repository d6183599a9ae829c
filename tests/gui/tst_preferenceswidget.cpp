#include "common/promptrecorder.h"
#include "gui/components/colorlabel.h"
#include "gui/components/linestyleselector.h"
#include "gui/preferenceswidget.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QtTest>

namespace {

QSettings userSettings()
{
  return QSettings(QSettings::IniFormat, QSettings::UserScope, "korvant", "quelmora");
}

template <typename T>
T* child(QObject& parent, const char* name)
{
  T* w = parent.findChild<T*>(name);
  if (!w)
    qFatal("missing %s", name);
  return w;
}

} // namespace

class TestPreferencesWidget : public QObject
{
  Q_OBJECT

private slots:
  void initTestCase();
  void init();
  void firstRunDefaults();
  void storedKeys();
  void cancelRestoresLastOk();
  void formulasLocationButtons();
  void saveOnExitPolicy_data();
  void saveOnExitPolicy();
  void failedSaveIsReported();
};

void TestPreferencesWidget::initTestCase()
{
  QCoreApplication::setOrganizationName("korvant");
  QCoreApplication::setApplicationName("quelmora");
}

void TestPreferencesWidget::init()
{
  QSettings s = userSettings();
  s.clear();
  s.sync();
}

void TestPreferencesWidget::firstRunDefaults()
{
  PreferencesWidget p;
  QCOMPARE(p.backgroundColor(), QColor(Qt::white));
  QCOMPARE(p.functionPen(), QPen(QColor(Qt::black), 2));
  const QColor transforms[] = {Qt::magenta, Qt::green, Qt::blue, QColor(255, 128, 0, 255)};
  for (int d = 0; d < 4; ++d)
    QCOMPARE(p.transformPen(d), QPen(transforms[d], 2));
  QVERIFY(p.showGrid());
  QVERIFY(!p.showComponents());
  QCOMPARE(p.maxZoom(), 5);
  QCOMPARE(p.legendIconSize(), QSize(15, 3));
  QCOMPARE(p.maxRecentSessions(), 7);
  QCOMPARE(p.saveOnExitPolicy(), 1);
  QVERIFY(p.formulasLocation().isEmpty());
  auto* fit = child<QCheckBox>(p, "fitNodesCbox");
  QVERIFY(!fit->isEnabled() && !fit->isChecked());
  QVERIFY(child<QWidget>(p, "Background"
                            "LineStyleWidth")
              ->isHidden());

  // No page row is current and the third page shows until the window picks one.
  QCOMPARE(child<QListWidget>(p, "listWidget")->currentRow(), -1);
  QCOMPARE(p.pages()->currentIndex(), 2);
  p.setCurrentPage(1);
  QCOMPARE(p.pages()->currentWidget()->objectName(), QString("page_1"));
}

void TestPreferencesWidget::storedKeys()
{
  PreferencesWidget p;
  child<QSpinBox>(p, "maxZoomSpin")->setValue(12);
  p.buttonBox()->button(QDialogButtonBox::Ok)->click();

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

void TestPreferencesWidget::cancelRestoresLastOk()
{
  PreferencesWidget p;
  auto* zoom = child<QSpinBox>(p, "maxZoomSpin");
  auto* color = child<LineStyleSelector>(p, "transform1Style")->colorLabel();
  auto* allRbtn = child<QRadioButton>(p, "allRbtn");

  zoom->setValue(20);
  color->setColor(Qt::darkCyan);
  p.buttonBox()->button(QDialogButtonBox::Ok)->click();

  zoom->setValue(80);
  color->setColor(Qt::yellow);
  allRbtn->setChecked(true);
  p.buttonBox()->button(QDialogButtonBox::Cancel)->click();

  QCOMPARE(p.maxZoom(), 20);
  QCOMPARE(p.transformPen(1).color(), QColor(Qt::darkCyan));
  QCOMPARE(p.saveOnExitPolicy(), 1);

  // A new dialog (the next run) starts from the defaults; Cancel brings back the stored values.
  PreferencesWidget next;
  QCOMPARE(next.maxZoom(), 5);
  next.buttonBox()->button(QDialogButtonBox::Cancel)->click();
  QCOMPARE(next.maxZoom(), 20);
  QCOMPARE(next.transformPen(1).color(), QColor(Qt::darkCyan));
}

void TestPreferencesWidget::formulasLocationButtons()
{
  PreferencesWidget p;
  PromptRecorder rec;
  rec.fileAnswer = "/some/where";
  child<QPushButton>(p, "selectBtn")->click();
  QCOMPARE(rec.fileCaptions, QStringList{"Cap"});
  QCOMPARE(p.formulasLocation(), QString("/some/where"));

  rec.fileAnswer.clear(); // a cancelled dialog keeps the path
  child<QPushButton>(p, "selectBtn")->click();
  QCOMPARE(p.formulasLocation(), QString("/some/where"));

  child<QPushButton>(p, "defaultBtn")->click();
  QVERIFY(p.formulasLocation().isEmpty());
}

void TestPreferencesWidget::saveOnExitPolicy_data()
{
  QTest::addColumn<QString>("button");
  QTest::addColumn<int>("policy");
  QTest::newRow("none") << "noneRbtn" << 0;
  QTest::newRow("default only") << "defaultOnlyRbtn" << 1;
  QTest::newRow("all") << "allRbtn" << 2;
}

void TestPreferencesWidget::saveOnExitPolicy()
{
  QFETCH(QString, button);
  QFETCH(int, policy);
  PreferencesWidget p;
  p.findChild<QRadioButton*>(button)->setChecked(true);
  QCOMPARE(p.saveOnExitPolicy(), policy);
}

void TestPreferencesWidget::failedSaveIsReported()
{
  // User settings under a path whose "directory" is a regular file.
  QTemporaryDir dir;
  QFile plain(dir.filePath("plain"));
  QVERIFY(plain.open(QIODevice::WriteOnly));
  plain.close();
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.filePath("plain"));

  PreferencesWidget p;
  PromptRecorder rec;
  p.buttonBox()->button(QDialogButtonBox::Ok)->click();
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                     QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
  QCOMPARE(rec.titles(), QStringList{"Error"});
  QVERIFY(rec.messages.first().text.contains(dir.filePath("plain")));
}

QTEST_MAIN(TestPreferencesWidget)
#include "tst_preferenceswidget.moc"
