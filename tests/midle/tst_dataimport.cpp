#include "math/domains/enumerationbase.h"
#include "math/domains/equidistant.h"
#include "math/fce/mathfn.h"
#include "midle/numberreader/dataimport.h"

#include <QLocale>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

Q_DECLARE_METATYPE(DataImport::Status)

class TestDataImport : public QObject
{
  Q_OBJECT

  QTemporaryDir dir;

  DataFileInfo file(const QByteArray& content, const QString& name, int xColumn,
                    const QString& separator = QString())
  {
    const QString path = dir.filePath(name);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(content) != content.size())
      qFatal("cannot write test file");
    DataFileInfo info(QFile::encodeName(path), false, xColumn);
    info.valueSeparator = separator;
    return info;
  }

  static QStringList texts(const DataImport& import)
  {
    QStringList t;
    for (const auto& m : import.messages())
      t << m.title + " / " + m.text;
    return t;
  }

private slots:
  void loaded_data();
  void loaded();
  void refused_data();
  void refused();
  void unreadableFileNamesFileAndReason_data();
  void unreadableFileNamesFileAndReason();
  void importDialogMayChangeOrCancel();
  void storedSeparatorIsUsed();
};

// x column -1: row indices; beyond the last column: row indices as well.
void TestDataImport::loaded_data()
{
  QTest::addColumn<QByteArray>("content");
  QTest::addColumn<QString>("name");
  QTest::addColumn<int>("xColumn");
  QTest::addColumn<QVector<double>>("domain");
  QTest::addColumn<QVector<double>>("firstFunction");
  QTest::addColumn<int>("functionCount");
  QTest::addColumn<int>("ignored");
  // clang-format off
  QTest::newRow("two header lines") << QByteArray("time value\nin seconds\n0 1\n1 2\n2 4\n3 8\n") << "h.txt" << 0 << QVector<double>{0, 1, 2, 3} << QVector<double>{1, 2, 4, 8} << 1 << 2;
  QTest::newRow("row indices") << QByteArray("a\nb\n5 1\n7 2\n9 4\n") << "r.txt" << -1 << QVector<double>{0, 1, 2} << QVector<double>{5, 7, 9} << 2 << 2;
  QTest::newRow("x column 0") << QByteArray("0 5 6\n1 6 7\n1 7 8\n2,5 8 9\n") << "x.txt" << 0 << QVector<double>{0, 1, 1, 2.5} << QVector<double>{5, 6, 7, 8} << 2 << 0;
  QTest::newRow("x column 1") << QByteArray("5;0\n6;1\n7;3\n8;4\n") << "x.csv" << 1 << QVector<double>{0, 1, 3, 4} << QVector<double>{5, 6, 7, 8} << 1 << 0;
  QTest::newRow("x column beyond last") << QByteArray("5 0\n6 1\n7 3\n8 4\n") << "b.txt" << 2 << QVector<double>{0, 1, 2, 3} << QVector<double>{5, 6, 7, 8} << 2 << 0;
  QTest::newRow("one column as x") << QByteArray("1\n3\n3\n4\n") << "o.txt" << 0 << QVector<double>{0, 1, 2, 3} << QVector<double>() << 0 << 0;
  QTest::newRow("csv header, text cells, ragged rows") << QByteArray("x;y\n0;1\n1;text\n2;4\n3;9;27\n4\n") << "c.csv" << 0 << QVector<double>{0, 2, 3} << QVector<double>{1, 4, 9} << 1 << 3;
  // clang-format on
}

void TestDataImport::loaded()
{
  QFETCH(QByteArray, content);
  QFETCH(QString, name);
  QFETCH(int, xColumn);
  QFETCH(QVector<double>, domain);
  QFETCH(QVector<double>, firstFunction);
  QFETCH(int, functionCount);
  QFETCH(int, ignored);
  DataImport import;
  const auto info = file(content, name, xColumn, name.endsWith("csv") ? ";" : "");
  QCOMPARE(import.run(info), DataImport::Loaded);
  QCOMPARE(import.ignoredLines(), ignored);
  const QStringList expected(QString("File parser / Ignoring %1 lines that could not be read from "
                                     "file or contains a text.")
                                 .arg(ignored));
  QCOMPARE(texts(import), ignored ? expected : QStringList());
  std::unique_ptr<Domains::EnumerationBase<double>> d(import.createDomain());
  QCOMPARE(QVector<double>(d->values().begin(), d->values().end()), domain);
  QCOMPARE(import.low(), domain.front());
  QCOMPARE(import.high(), domain.back());
  auto functions = import.createFunctions(d.get());
  QCOMPARE(int(functions.size()), functionCount);
  if (!functions.empty()) {
    const auto& v = functions.front()->values();
    QCOMPARE(QVector<double>(v.begin(), v.end()), firstFunction);
  }
  for (auto* f : functions)
    delete f;
}

void TestDataImport::refused_data()
{
  QTest::addColumn<QByteArray>("content");
  QTest::addColumn<QString>("name");
  QTest::addColumn<int>("xColumn");
  QTest::addColumn<QStringList>("messages");
  const QString notSorted = "Input data / Invalid column selected for X axis - data is not sorted.";
  // clang-format off
  QTest::newRow("unsorted x") << QByteArray("0 1\n2 2\n1 3\n3 4\n") << "u.txt" << 0 << QStringList(notSorted);
  QTest::newRow("equal x values") << QByteArray("2 1\n2 2\n2 3\n2 4\n") << "e.txt" << 0 << QStringList("Input data / Invalid column selected for X axis - all its values are equal, so it spans no interval.");
  QTest::newRow("x span overflows") << QByteArray("-1e308 1\n0 2\n1e308 3\n1e308 4\n") << "v.txt" << 0 << QStringList("Input data / Invalid column selected for X axis - its values span a range too large to compute with.");
  QTest::newRow("three lines") << QByteArray("0 1\n1 2\n2 3\n") << "t.txt" << 0 << QStringList("File parser / Could not detect number of columns in file.");
  QTest::newRow("text at detection line") << QByteArray("a\nb\nc\nd\n1 2\n") << "d.txt" << 0 << QStringList("File parser / Data file is empty or error occured while reading file.");
  QTest::newRow("one row") << QByteArray("a\nb\nc\n1 2\n") << "o.txt" << 0 << QStringList("File parser / Data was not parsed correctly or file is empty.");
  QTest::newRow("ignored lines, then unsorted") << QByteArray("h\n0 1\n2 2\n1 3\n") << "i.txt" << 0 << QStringList({"File parser / Ignoring 1 line that could not be read from file or contains a text.", notSorted});
  // clang-format on
}

void TestDataImport::refused()
{
  QFETCH(QByteArray, content);
  QFETCH(QString, name);
  QFETCH(int, xColumn);
  QFETCH(QStringList, messages);
  DataImport import;
  QCOMPARE(import.run(file(content, name, xColumn)), DataImport::Failed);
  QCOMPARE(texts(import), messages);
  QCOMPARE(import.messages().back().icon, DataImport::Critical);
  QVERIFY(import.columns().empty());
}

void TestDataImport::unreadableFileNamesFileAndReason_data()
{
  QTest::addColumn<QString>("path");
  QTest::addColumn<QString>("reason");
  // clang-format off
  QTest::newRow("suffix") << "data.dat" << "\"csv\" or \"txt\"";
  QTest::newRow("missing") << "missing.txt" << "does not exist";
  QTest::newRow("directory") << "folder.txt" << "directory";
  QTest::newRow("device") << "/dev/null" << "\"csv\" or \"txt\"";
  QTest::newRow("device with suffix") << "device.csv" << "not a regular file";
  // clang-format on
}

void TestDataImport::unreadableFileNamesFileAndReason()
{
  QFETCH(QString, path);
  QFETCH(QString, reason);
  QDir(dir.path()).mkdir("folder.txt");
  QFile::link("/dev/zero", dir.filePath("device.csv"));
  file("0 1\n1 2\n2 3\n3 4\n", "data.dat", 0);
  const QString full = path.startsWith('/') ? path : dir.filePath(path);
  DataImport import;
  QCOMPARE(import.run(DataFileInfo(QFile::encodeName(full), true, 0)), DataImport::Failed);
  const QStringList t = texts(import);
  QCOMPARE(t.size(), 1);
  QVERIFY2(t[0].startsWith("File parser / ") && t[0].contains(full) && t[0].contains(reason),
           qPrintable(t[0]));
}

void TestDataImport::importDialogMayChangeOrCancel()
{
  auto info = file("0,1\n1,2\n2,3\n3,4\n", "dlg.csv", 0);
  info.showImportDialog = true;
  DataImport import;
  int shown = 0;
  QCOMPARE(import.run(info, [&](NumberReaderBase&) { return ++shown, false; }),
           DataImport::Cancelled);
  QCOMPARE(shown, 1);
  QVERIFY(import.messages().isEmpty());
  QCOMPARE(import.run(info,
                      [&](NumberReaderBase& r) {
                        r.setValueSeparator(",");
                        r.setDecimalSeparator(1);
                        return true;
                      }),
           DataImport::Loaded);
  QCOMPARE(import.fileInfo().valueSeparator, QString(","));
  QCOMPARE(import.fileInfo().decimalSeparator, 1);
  QCOMPARE(import.count(), 3);
  // Without the dialog flag the dialog is not asked.
  info.showImportDialog = false;
  info.valueSeparator = ",";
  QCOMPARE(import.run(info, [&](NumberReaderBase&) { return ++shown, false; }), DataImport::Loaded);
  QCOMPARE(shown, 1);
}

void TestDataImport::storedSeparatorIsUsed()
{
  // The record a session restores: no dialog, x column 0, its own separator.
  DataFileInfo info = file("0|1\n1|2\n2|4\n3|8\n", "s.csv", 0, "|");
  DataImport import;
  QCOMPARE(import.run(info), DataImport::Loaded);
  QCOMPARE(import.columns(), DataImport::Columns({{0, 1, 2, 3}, {1, 2, 4, 8}}));
  QCOMPARE(import.fileInfo().valueSeparator, QString("|"));
  // A pattern that would match everything is only a literal string.
  info.valueSeparator = ".*|";
  QCOMPARE(import.run(info), DataImport::Failed);
}

QTEST_GUILESS_MAIN(TestDataImport)
#include "tst_dataimport.moc"
