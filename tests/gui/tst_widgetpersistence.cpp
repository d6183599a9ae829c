#include "common/promptrecorder.h"
#include "gui/widgetpersistence.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QSpinBox>
#include <QtTest>

namespace {

QStringList debugLines;

void collect(QtMsgType type, const QMessageLogContext&, const QString& text)
{
  if (type == QtDebugMsg)
    debugLines.append(text);
}

// Collects the debug lines written while it lives.
struct DebugCapture
{
  DebugCapture()
  {
    debugLines.clear();
    previous = qInstallMessageHandler(collect);
  }
  ~DebugCapture() { qInstallMessageHandler(previous); }
  QtMessageHandler previous;
};

QString readText(const QString& path)
{
  QFile f(path);
  return f.open(QIODevice::ReadOnly | QIODevice::Text) ? QString::fromUtf8(f.readAll()) : QString();
}

// A root without a name holding a spin box and a check box, as the degree controls.
struct DegreeTree
{
  DegreeTree()
  {
    spin = new QSpinBox(&root);
    spin->setObjectName("ftDegreeSpin");
    spin->setRange(0, 3);
    box = new QCheckBox(&root);
    box->setObjectName("ft0ChBox");
  }
  QWidget root;
  QSpinBox* spin;
  QCheckBox* box;
};

} // namespace

class TestWidgetPersistence : public QObject
{
  Q_OBJECT

private slots:
  void initTestCase();
  void iniTextAndKeys();
  void restoreDrivesSignals();
  void missingKeysLeaveValues();
  void unnamedWidgetsAreWalkedNotStored();
  void laterVisitWinsOnSave();
  void registrationOrderIsVisitingOrder();
  void unwritableTarget();
  void setFileSameNameAndFallback();
};

void TestWidgetPersistence::initTestCase()
{
  QCoreApplication::setOrganizationName("korvant");
  QCoreApplication::setApplicationName("quelmora");
}

void TestWidgetPersistence::iniTextAndKeys()
{
  QTemporaryDir dir;
  const QString path = dir.filePath("s.ini");
  DegreeTree tree;
  tree.spin->setValue(2);
  tree.box->setChecked(true);

  WidgetPersistence p;
  p.setFile(path);
  p.addWidget(&tree.root, "FtDegreeWidget");
  QCOMPARE(p.groupName(&tree.root), QString("FtDegreeWidget"));
  QSignalSpy saved(&p, &WidgetPersistence::saved);
  DebugCapture capture;
  QVERIFY(p.save());
  QCOMPARE(saved.count(), 1);
  QCOMPARE(p.status(), QSettings::NoError);
  QVERIFY(debugLines.contains("WidgetPersistence::Saved"));

  const QString text = readText(path);
  QVERIFY2(text.startsWith("[FtDegreeWidget]\n"), qPrintable(text));
  for (const char* line : {"ftDegreeSpin_value=2", "ftDegreeSpin_enabled=true",
                           "ft0ChBox_checked=true", "ft0ChBox_down=false", "ft0ChBox_enabled=true"})
    QVERIFY2(text.contains(QString(line) + "\n"), line);
  // The spin box's own line edit and the unnamed root are never stored.
  QVERIFY(!text.contains("qt_spinbox_lineedit"));
  QCOMPARE(text.count('\n'), 6);
}

void TestWidgetPersistence::restoreDrivesSignals()
{
  QTemporaryDir dir;
  const QString path = dir.filePath("s.ini");
  {
    QSettings s(path, QSettings::IniFormat);
    s.setValue("G/ftDegreeSpin_value", "3"); // as read back from a file: text
    s.setValue("G/ft0ChBox_checked", "true");
    s.setValue("G/ft0ChBox_enabled", "false");
  }
  DegreeTree tree;
  QSignalSpy spinSpy(tree.spin, QOverload<int>::of(&QSpinBox::valueChanged));
  WidgetPersistence p;
  p.setFile(path);
  p.addWidget(&tree.root, "G");
  QSignalSpy widgetLoaded(&p, &WidgetPersistence::widgetLoaded);
  QSignalSpy loaded(&p, &WidgetPersistence::loaded);
  p.load();
  QCOMPARE(tree.spin->value(), 3);
  QCOMPARE(spinSpy.count(), 1);
  QVERIFY(tree.box->isChecked());
  QVERIFY(!tree.box->isEnabled());
  QCOMPARE(widgetLoaded.count(), 1);
  QCOMPARE(widgetLoaded.first().first().value<QWidget*>(), &tree.root);
  QCOMPARE(loaded.count(), 1);
}

void TestWidgetPersistence::missingKeysLeaveValues()
{
  QTemporaryDir dir;
  DegreeTree tree;
  tree.spin->setValue(2);
  tree.box->setChecked(true);
  WidgetPersistence p;
  p.setFile(dir.filePath("empty.ini"));
  p.addWidget(&tree.root, "FtDegreeWidget");
  DebugCapture capture;
  p.load();
  // Qt 5 would write 0 and false for a missing key if it reached the property.
  QCOMPARE(tree.spin->value(), 2);
  QVERIFY(tree.box->isChecked());
  QVERIFY(tree.box->isEnabled());
  QCOMPARE(debugLines.filter("Property wasn't read:").size(), 5);
  QVERIFY(debugLines.contains("Property wasn't read: \"ftDegreeSpin_value\""));
  QCOMPARE(debugLines.last(), QString("WidgetPersistence::Loaded"));
}

void TestWidgetPersistence::unnamedWidgetsAreWalkedNotStored()
{
  QTemporaryDir dir;
  const QString path = dir.filePath("s.ini");
  QWidget root;
  root.setObjectName("root");
  auto* unnamed = new QWidget(&root);
  auto* edit = new QLineEdit(unnamed);
  edit->setObjectName("nameEdt");
  edit->setText("deep");
  WidgetPersistence p;
  p.setFile(path);
  p.addWidget(&root, "G");
  QVERIFY(p.save());
  QSettings s(path, QSettings::IniFormat);
  QCOMPARE(s.value("G/nameEdt_text").toString(), QString("deep"));
  QCOMPARE(s.value("G/root_enabled").toString(), QString("true"));
  QCOMPARE(s.allKeys().size(), 3);
}

void TestWidgetPersistence::laterVisitWinsOnSave()
{
  QTemporaryDir dir;
  const QString path = dir.filePath("s.ini");
  QWidget root;
  auto* holder = new QWidget(&root);
  auto* deep = new QSpinBox(holder);
  deep->setObjectName("dup");
  deep->setValue(7);
  auto* shallow = new QSpinBox(&root);
  shallow->setObjectName("dup");
  shallow->setValue(4);
  // Breadth first: "shallow" (a child of the root) comes before "deep",
  // although "deep" comes first in child order, so "deep" is written last.
  WidgetPersistence p;
  p.setFile(path);
  p.addWidget(&root, "G");
  QVERIFY(p.save());
  QCOMPARE(QSettings(path, QSettings::IniFormat).value("G/dup_value").toInt(), 7);

  shallow->setValue(1);
  deep->setValue(1);
  p.load();
  QCOMPARE(shallow->value(), 7);
  QCOMPARE(deep->value(), 7);
}

void TestWidgetPersistence::registrationOrderIsVisitingOrder()
{
  QTemporaryDir dir;
  QWidget first, second;
  auto* a = new QSpinBox(&first);
  auto* b = new QSpinBox(&second);
  a->setObjectName("spin");
  b->setObjectName("spin");
  a->setValue(1);
  b->setValue(2);
  for (bool firstBefore : {true, false}) {
    const QString path = dir.filePath(firstBefore ? "a.ini" : "b.ini");
    WidgetPersistence p;
    p.setFile(path);
    p.addWidget(firstBefore ? &first : &second, "G");
    p.addWidget(firstBefore ? &second : &first, "G");
    p.addWidget(firstBefore ? &first : &second, "G"); // again: replaces the group, keeps the place
    QVERIFY(p.save());
    QCOMPARE(QSettings(path, QSettings::IniFormat).value("G/spin_value").toInt(),
             firstBefore ? 2 : 1);
  }
}

void TestWidgetPersistence::unwritableTarget()
{
  QTemporaryDir dir;
  QFile plain(dir.filePath("plain.txt"));
  QVERIFY(plain.open(QIODevice::WriteOnly));
  plain.close();

  DegreeTree tree;
  WidgetPersistence p;
  p.addWidget(&tree.root, "G");
  {
    PromptRecorder rec;
    p.setFile(dir.filePath("plain.txt/s.ini"));
    QCOMPARE(rec.messages.size(), 1);
    QCOMPARE(rec.messages.first().title, QString("Error"));
    QCOMPARE(rec.messages.first().text, QString("Cannot write to target location."));
    QCOMPARE(rec.messages.first().buttons, QMessageBox::StandardButtons(QMessageBox::Close));
    QCOMPARE(rec.messages.first().icon, QMessageBox::Critical);
  }
  QVERIFY(!p.save());
  QCOMPARE(p.status(), QSettings::AccessError);

  // A directory that does not exist yet is created on saving: no message.
  PromptRecorder rec;
  p.setFile(dir.filePath("new/sub/s.ini"));
  QVERIFY(rec.messages.isEmpty());
  QCOMPARE(p.status(), QSettings::NoError);
  QVERIFY(p.save());
  QVERIFY(QFile::exists(dir.filePath("new/sub/s.ini")));
}

void TestWidgetPersistence::setFileSameNameAndFallback()
{
  QTemporaryDir dir;
  WidgetPersistence p;
  const QString user = p.settings()->fileName();
  QVERIFY(user.endsWith("korvant/quelmora.ini"));
  p.setFile(dir.filePath("s.ini"));
  QSettings* opened = p.settings();
  opened->setValue("unsynced", 1);
  p.setFile(dir.filePath("s.ini"));
  QCOMPARE(p.settings(), opened);
  QCOMPARE(p.settings()->value("unsynced").toInt(), 1);
  p.setFile(QString());
  QCOMPARE(p.settings()->fileName(), user);
  QCOMPARE(p.settings()->format(), QSettings::IniFormat);
}

QTEST_MAIN(TestWidgetPersistence)
#include "tst_widgetpersistence.moc"
