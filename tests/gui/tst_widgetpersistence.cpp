#include "common/promptrecorder.h"
#include "gui/widgetpersistence.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QSpinBox>
#include <QtTest>

namespace {

QStringList debugLines;

void collectDebug(QtMsgType type, const QMessageLogContext& context, const QString& s)
{
  if (type == QtDebugMsg && qstrcmp(context.category, "quelmora.diagnostics") == 0)
    debugLines.append(s);
}

// A root without a name holding a spin box and a check box, as the degree controls.
struct DegreeTree
{
  QWidget root;
  QSpinBox* spin = new QSpinBox(&root);
  QCheckBox* box = new QCheckBox(&root);
  DegreeTree()
  {
    spin->setObjectName("ftDegreeSpin");
    spin->setRange(0, 3);
    box->setObjectName("ft0ChBox");
  }
};

} // namespace

class TestWidgetPersistence : public QObject
{
  Q_OBJECT

  QTemporaryDir dir;

private slots:
  void initTestCase()
  {
    QCoreApplication::setOrganizationName("korvant");
    QCoreApplication::setApplicationName("quelmora");
  }

  void saveThenLoad()
  {
    const QString path = dir.filePath("text.ini");
    DegreeTree tree;
    tree.spin->setValue(2);
    tree.box->setChecked(true);
    WidgetPersistence p;
    p.setFile(path);
    p.addWidget(&tree.root, "G");
    QSignalSpy saved(&p, &WidgetPersistence::saved);
    QSignalSpy widgetLoaded(&p, &WidgetPersistence::widgetLoaded);
    QSignalSpy loaded(&p, &WidgetPersistence::loaded);
    QSignalSpy spinSpy(tree.spin, QOverload<int>::of(&QSpinBox::valueChanged));
    const QtMessageHandler previous = qInstallMessageHandler(collectDebug);
    QVERIFY(p.save()); // the diagnostic lines are off by default
    QVERIFY(debugLines.isEmpty());
    QLoggingCategory::setFilterRules("quelmora.diagnostics.debug=true");
    QVERIFY(p.save());
    QCOMPARE(saved.count(), 2);
    QVERIFY(debugLines.contains("WidgetPersistence::Saved"));
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly | QIODevice::Text));
    // The spin box's own line edit and the unnamed root are never stored.
    QCOMPARE(QString::fromUtf8(f.readAll()),
             QString("[G]\nft0ChBox_checked=true\nft0ChBox_down=false\n"
                     "ft0ChBox_enabled=true\nftDegreeSpin_enabled=true\nftDegreeSpin_value=2\n"));
    {
      QSettings s(path, QSettings::IniFormat);
      s.setValue("G/ftDegreeSpin_value", "3"); // as read back from a file: text
      s.setValue("G/ft0ChBox_enabled", "false");
      for (const char* key : {"G/ft0ChBox_checked", "G/ft0ChBox_down", "G/ftDegreeSpin_enabled"})
        s.remove(key);
    }
    p.load();
    qInstallMessageHandler(previous);
    QLoggingCategory::setFilterRules(QString());
    QCOMPARE(tree.spin->value(), 3);
    QCOMPARE(spinSpy.count(), 1);
    QVERIFY(!tree.box->isEnabled());
    // Qt 5 would write false for a missing key if it reached the property.
    QVERIFY(tree.box->isChecked());
    QCOMPARE(debugLines.filter("Property wasn't read:").size(), 3);
    QVERIFY(debugLines.contains("Property wasn't read: \"ft0ChBox_checked\""));
    QCOMPARE(debugLines.last(), QString("WidgetPersistence::Loaded"));
    QCOMPARE(widgetLoaded.count(), 1);
    QCOMPARE(widgetLoaded.first().first().value<QWidget*>(), &tree.root);
    QCOMPARE(loaded.count(), 1);
  }

  void walkOrder()
  {
    // Unnamed widgets are walked, not stored; breadth first, so the deeper
    // "dup" is visited last and wins on saving although it is the first child.
    const QString path = dir.filePath("walk.ini");
    QWidget root;
    root.setObjectName("root");
    auto* holder = new QWidget(&root);
    auto* deep = new QSpinBox(holder);
    auto* shallow = new QSpinBox(&root);
    auto* edit = new QLineEdit(holder);
    deep->setObjectName("dup");
    shallow->setObjectName("dup");
    edit->setObjectName("nameEdt");
    deep->setValue(7);
    shallow->setValue(4);
    edit->setText("deep");
    WidgetPersistence p;
    p.setFile(path);
    p.addWidget(&root, "G");
    QVERIFY(p.save());
    QSettings s(path, QSettings::IniFormat);
    QCOMPARE(s.value("G/dup_value").toInt(), 7);
    QCOMPARE(s.value("G/nameEdt_text").toString(), QString("deep"));
    QCOMPARE(s.value("G/root_enabled").toString(), QString("true"));
    QCOMPARE(s.allKeys().size(), 5);
    shallow->setValue(1);
    deep->setValue(1);
    p.load();
    QCOMPARE(shallow->value(), 7);
    QCOMPARE(deep->value(), 7);
  }

  void registrationOrderIsVisitingOrder()
  {
    QWidget first, second;
    (new QSpinBox(&first))->setObjectName("spin");
    (new QSpinBox(&second))->setObjectName("spin");
    first.findChild<QSpinBox*>()->setValue(1);
    second.findChild<QSpinBox*>()->setValue(2);
    for (bool firstBefore : {true, false}) {
      const QString path = dir.filePath(firstBefore ? "a.ini" : "b.ini");
      WidgetPersistence p;
      p.setFile(path);
      p.addWidget(firstBefore ? &first : &second, "G");
      p.addWidget(firstBefore ? &second : &first, "G");
      p.addWidget(firstBefore ? &first : &second, "G"); // again: replaces, keeps the place
      QVERIFY(p.save());
      QCOMPARE(QSettings(path, QSettings::IniFormat).value("G/spin_value").toInt(),
               firstBefore ? 2 : 1);
    }
  }

  void unwritableTarget()
  {
    QVERIFY(QFile(dir.filePath("plain.txt")).open(QIODevice::WriteOnly));
    DegreeTree tree;
    WidgetPersistence p;
    p.addWidget(&tree.root, "G");
    {
      PromptRecorder rec;
      p.setFile(dir.filePath("plain.txt/s.ini"));
      QCOMPARE(rec.messages.size(), 1);
      QCOMPARE(rec.messages.first().title, QString("Error"));
      QCOMPARE(rec.messages.first().text, QString("Cannot write to target location."));
      QCOMPARE(rec.messages.first().icon, QMessageBox::Critical);
      QCOMPARE(rec.messages.first().buttons, QMessageBox::StandardButtons(QMessageBox::Close));
    }
    QVERIFY(!p.save());
    QCOMPARE(p.status(), QSettings::AccessError);

    // A directory that does not exist yet is created on saving: no message.
    PromptRecorder rec;
    p.setFile(dir.filePath("new/sub/s.ini"));
    QVERIFY(rec.messages.isEmpty());
    QVERIFY(p.save());
    QVERIFY(QFile::exists(dir.filePath("new/sub/s.ini")));
  }
};

QTEST_MAIN(TestWidgetPersistence)
#include "tst_widgetpersistence.moc"
