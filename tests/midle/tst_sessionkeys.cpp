// The session's own keys: each reads back what it writes, and a value no
// program wrote is refused with the key and why.
#include "midle/session/sessionkeys.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Key, a good value, a bad one (none: every text is taken) and why it is refused.
const char* const rows[][4] = {
    {"FunctionSelector/count", "3", "33", "is outside 1..32"},
    {"MainWindow/zoom", "2.5", "inf", "is not a finite number"},
    {"MainWindow/functionTypeUsed", "1", "2", "is outside 0..1"},
    {"MainWindow/decimalSeparator", "1", "x", "is not an integer"},
    {"MainWindow/xColumn", "-1", "1000", "is outside -1..999"},
    {"MainWindow/legendAlignment", "66", "65536", "is outside 0..65535"},
    {"MainWindow/showLegend", "true", "yes", "is not true or false"},
    {"MainWindow/partitionType", "8", "5", "is not a known partition type"},
    {"MainWindow/dataFile", "/d/a b.csv", nullptr, ""},
    {"MainWindow/valueSeparator", ";", "12345678901234567", "is too long"},
    {"MainWindow/higherDegreeBasis", "closed-form", "Closed-form",
     "is neither \"orthogonal\" nor \"closed-form\""},
    {"FtDegreeWidget/ftDegreeSpin_value", "2", "4", "is outside 0..3"},
    {"FtDegreeWidget/ft0ChBox_checked", "false", nullptr, ""},
    {"FtDegreeWidget/ft1ChBox_checked", "true", nullptr, ""},
    {"FtDegreeWidget/ft2ChBox_checked", "true", nullptr, ""},
    {"FtDegreeWidget/ft3ChBox_checked", "true", nullptr, ""},
    {"DomainWidget/lowEdt_text", "-1.5", nullptr, ""},
    {"DomainWidget/highEdt_text", "2e3", nullptr, ""},
    {"DomainWidget/discrEdt_text", "x", nullptr, ""},
};

} // namespace

class TestSessionKeys : public QObject
{
  Q_OBJECT

  QTemporaryDir dir;
  int files = 0;

  // A new file each time: the settings cache may miss a rewrite within a second.
  QString file() { return dir.filePath(QStringLiteral("s%1.ini").arg(++files)); }

private slots:
  void keys_data()
  {
    QTest::addColumn<QString>("good"); // written back as read
    QTest::addColumn<QString>("bad");
    QTest::addColumn<QString>("why");
    for (const auto& r : rows)
      QTest::newRow(r[0]) << r[1] << r[2] << r[3];
  }

  void keys()
  {
    QFETCH(QString, good);
    QFETCH(QString, bad);
    QFETCH(QString, why);
    const QString key = QString::fromLatin1(QTest::currentDataTag());
    QString badKey, reason;
    {
      const QString in = file();
      QSettings(in, QSettings::IniFormat).setValue(key, good);
      SessionContents c;
      c.functionSource = FunctionSource::TableData; // the data file's keys are written
      QVERIFY2(SessionKeys::read(QSettings(in, QSettings::IniFormat), c, badKey, reason),
               qPrintable(reason));
      const QString out = file();
      SessionKeys::write(*std::make_unique<QSettings>(out, QSettings::IniFormat), c);
      QCOMPARE(QSettings(out, QSettings::IniFormat).value(key).toString(), good);
    }
    if (bad.isNull())
      return;
    const QString in = file();
    QSettings(in, QSettings::IniFormat).setValue(key, bad);
    SessionContents c;
    QVERIFY(!SessionKeys::read(QSettings(in, QSettings::IniFormat), c, badKey, reason));
    QCOMPARE(badKey, key);
    QCOMPARE(reason, why);
  }

  // Every key of the table has a row above, so none is renamed unnoticed.
  void everyKeyIsTested()
  {
    QStringList names, tested;
    for (const SessionKeys::Key& k : SessionKeys::table())
      names << QString::fromLatin1(k.name);
    for (const auto& r : rows)
      tested << QString::fromLatin1(r[0]);
    QCOMPARE(names, tested);
  }

  // Formulas write no data-file keys but the file name.
  void formulasWriteNoImportSettings()
  {
    const QString out = file();
    SessionKeys::write(*std::make_unique<QSettings>(out, QSettings::IniFormat), SessionContents());
    const QSettings s(out, QSettings::IniFormat);
    QVERIFY(s.contains("MainWindow/dataFile"));
    QVERIFY(!s.contains("MainWindow/xColumn"));
    QVERIFY(!s.contains("MainWindow/valueSeparator"));
    QVERIFY(!s.contains("MainWindow/decimalSeparator"));
  }

  // A session's data file reopens with the import settings it was read with.
  void dataFileSettingsComeBack()
  {
    DataFileInfo info(QByteArray("/d/x.csv"), true, 3);
    info.valueSeparator = ";";
    info.decimalSeparator = 1;
    SessionContents c;
    SessionKeys::takeDataFile(c, info);
    const DataFileInfo back = SessionKeys::dataFileInfo(c);
    QCOMPARE(back.filePath(), info.filePath());
    QCOMPARE(back.xColumn, 3);
    QCOMPARE(back.valueSeparator, QString(";"));
    QCOMPARE(back.decimalSeparator, 1);
    QVERIFY(!back.showImportDialog);
  }
};

QTEST_GUILESS_MAIN(TestSessionKeys)
#include "tst_sessionkeys.moc"
