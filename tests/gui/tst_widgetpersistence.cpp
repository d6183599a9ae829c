#include "common/promptrecorder.h"
#include "common/testfiles.h"
#include "gui/widgetpersistence.h"

#include <QCheckBox>
#include <QSpinBox>
#include <QtTest>

namespace {

int diagnostics = 0;

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
    QSignalSpy spinSpy(tree.spin, QOverload<int>::of(&QSpinBox::valueChanged));
    // The diagnostic lines are off by default.
    const QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType, const QMessageLogContext& c, const QString&) {
          diagnostics += qstrcmp(c.category, "quelmora.diagnostics") == 0;
        });
    QVERIFY(p.save());
    qInstallMessageHandler(previous);
    QCOMPARE(diagnostics, 0);
    // The spin box's own line edit and the unnamed root are never stored.
    QCOMPARE(QString::fromUtf8(readAll(path)),
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
    QCOMPARE(tree.spin->value(), 3);
    QCOMPARE(spinSpy.count(), 1);
    QVERIFY(!tree.box->isEnabled());
    // Qt 5 would write false for a missing key if it reached the property.
    QVERIFY(tree.box->isChecked());
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
