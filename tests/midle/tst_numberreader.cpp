#include "midle/numberreader/csvnumberreader.h"
#include "midle/numberreader/numberreaderbase.h"

#include <QLocale>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

using Columns = NumberReaderBase::Columns;
Q_DECLARE_METATYPE(Columns)

namespace {

Columns cols(std::initializer_list<std::vector<double>> c)
{
  return Columns(c);
}

// A byte string that may hold zero bytes.
template <size_t N>
QByteArray raw(const char (&s)[N])
{
  return QByteArray(s, N - 1);
}

} // namespace

class TestNumberReader : public QObject
{
  Q_OBJECT

  QTemporaryDir dir;

  // Writes content to a fresh file with the suffix and returns its record.
  DataFileInfo file(const QByteArray& content, const QString& suffix = "txt",
                    const QString& separator = QString())
  {
    static int serial = 0;
    const QString path = dir.filePath(QString("f%1.%2").arg(++serial).arg(suffix));
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(content) != content.size())
      qFatal("cannot write test file");
    DataFileInfo info(QFile::encodeName(path), false, 0);
    info.valueSeparator = separator;
    return info;
  }

private slots:
  void toNumber_data();
  void toNumber();
  void toNumberAgreesWithLocaleRules();
  void readers_data();
  void readers();
  void detectColumns_data();
  void detectColumns();
  void defaultLocaleIsCzechWhileReaderLives();
  void overlongLineIsIgnored();
  void valueLimitStopsReading();
  void unreadableFiles();
};

void TestNumberReader::toNumber_data()
{
  QTest::addColumn<QByteArray>("field");
  QTest::addColumn<bool>("ok");
  QTest::addColumn<double>("value");
  // clang-format off
  QTest::newRow("decimal comma") << QByteArray("1,5") << true << 1.5;
  QTest::newRow("comma exponent") << QByteArray("-1,5e3") << true << -1500.0;
  QTest::newRow("denormal") << QByteArray("4.9e-324") << true << 4.9e-324;
  QTest::newRow("long mantissa") << QByteArray( "0.1000000000000000055511151231257827021181583404541015625") << true << 0.1;
  QTest::newRow("nan") << QByteArray("nan") << false << 0.0;
  QTest::newRow("inf") << QByteArray("inf") << false << 0.0;
  QTest::newRow("overflow") << QByteArray("1e999") << false << 0.0;
  QTest::newRow("hex") << QByteArray("0x10") << false << 0.0;
  QTest::newRow("two commas") << QByteArray("1,2,3") << false << 0.0;
  QTest::newRow("nul byte") << raw("1\0" "2") << false << 0.0;
  QTest::newRow("lone exponent") << QByteArray("1e") << false << 0.0;
  // clang-format on
}

void TestNumberReader::toNumber()
{
  QFETCH(QByteArray, field);
  QFETCH(bool, ok);
  QFETCH(double, value);
  double v = -7.0;
  QCOMPARE(NumberReaderBase::toNumber(field.constData(), field.constData() + field.size(), v), ok);
  if (ok)
    QCOMPARE(v, value);
}

// The direct conversion of common shapes must give what the two locales give.
void TestNumberReader::toNumberAgreesWithLocaleRules()
{
  const QLocale czech(QLocale::Czech);
  const QLocale posix(QLocale::C);
  const char alphabet[] = "0123456789.,eE+-";
  QRandomGenerator rng(12345);
  for (int i = 0; i < 20000; ++i) {
    QByteArray field;
    const int length = 1 + rng.bounded(9);
    for (int c = 0; c < length; ++c)
      field.append(alphabet[rng.bounded(16)]);
    bool okRef = false;
    double ref = czech.toDouble(QString::fromLatin1(field), &okRef);
    if (!okRef)
      ref = posix.toDouble(QString::fromLatin1(field), &okRef);
    okRef = okRef && std::isfinite(ref);
    double v = 0.0;
    const bool ok =
        NumberReaderBase::toNumber(field.constData(), field.constData() + field.size(), v);
    QVERIFY2(ok == okRef, field.constData());
    if (ok)
      QVERIFY2(v == ref, field.constData());
  }
}

// Text files (separator empty: any white space) and CSV files, by the file suffix.
void TestNumberReader::readers_data()
{
  QTest::addColumn<QString>("suffix");
  QTest::addColumn<QByteArray>("content");
  QTest::addColumn<QString>("separator");
  QTest::addColumn<Columns>("expected");
  QTest::addColumn<int>("ignored");
  const Columns c4 = cols({{1, 3, 5, 7}, {2, 4, 6, 8}});
  // clang-format off
  QTest::newRow("tabs and runs") << "txt" << QByteArray("h\nh\nh\n0\t\t1\n1  \t 2\n  2 4  \n") << QString() << cols({{0, 1, 2}, {1, 2, 4}}) << 3;
  QTest::newRow("decimal comma") << "txt" << QByteArray("a\nb\nc\n0,5 1,5\n1.5 2,25\n") << QString() << cols({{0.5, 1.5}, {1.5, 2.25}}) << 3;
  QTest::newRow("lone cr ends a line") << "txt" << QByteArray("1 2\r3 4\r5 6\r7 8") << QString() << c4 << 0;
  QTest::newRow("byte-order mark, crlf") << "txt" << QByteArray("\xEF\xBB\xBF" "1 2\r\n3 4\r\n5 6\r\n7 8\r\n") << QString() << c4 << 0;
  QTest::newRow("nul byte in a line") << "txt" << raw("1 2\n3 4\n5 6\n7 8\n9\0 10\n") << QString() << c4 << 1;
  QTest::newRow("non-finite fields") << "txt" << QByteArray("1 2\n3 4\n5 6\n7 8\nnan 1\n9 inf\n1e999 0\n") << QString() << c4 << 3;
  QTest::newRow("wrong field counts and empty lines") << "txt" << QByteArray("1 2\n3 4\n5 6\n7 8\n9\n\n1 2 3\n9 9 x\n") << QString() << c4 << 4;
  QTest::newRow("pattern-like separator is literal") << "txt" << QByteArray("1.*2\n3.*4\n5.*6\n7.*8\n") << QString(".*") << c4 << 0;
  QTest::newRow("invalid pattern as separator") << "txt" << QByteArray("1(2\n3(4\n5((6\n7(8\n") << QString("(") << c4 << 0;
  QTest::newRow("csv text cells skip their rows") << "csv" << QByteArray("0;1\n1;oops\n2;4\nn/a;5\n3;9\n") << ";" << cols({{0, 2, 3}, {1, 4, 9}}) << 2;
  QTest::newRow("csv non-finite cells") << "csv" << QByteArray("0;1\n1;nan\n2;inf\n3;1e999\n4;5\n") << ";" << cols({{0, 4}, {1, 5}}) << 3;
  QTest::newRow("csv cells beyond first row not stored") << "csv" << QByteArray("0;1\n1;2;99\n2;4;98;97\n") << ";" << cols({{0, 1, 2}, {1, 2, 4}}) << 0;
  QTest::newRow("csv short rows skipped") << "csv" << QByteArray("0;1\n1\n2;4\n3\n4;5\n") << ";" << cols({{0, 2, 4}, {1, 4, 5}}) << 2;
  QTest::newRow("csv blank cells and rows") << "csv" << QByteArray("0 ; 1 ;  \n\n ; ; \n1;2; \n2 ;4;\t\n") << ";" << cols({{0, 1, 2}, {1, 2, 4}}) << 0;
  QTest::newRow("csv decimal comma cells") << "csv" << QByteArray("0,5;1,5\n1,5;2\n") << ";" << cols({{0.5, 1.5}, {1.5, 2}}) << 0;
  QTest::newRow("csv crlf, bom and nul") << "csv" << raw("\xEF\xBB\xBF" "1;2\r\n3;4\0junk\r\n5;6\r\n") << ";" << cols({{1, 3, 5}, {2, 4, 6}}) << 0;
  QTest::newRow("csv only text") << "csv" << QByteArray("a;b\nc;d\n") << ";" << Columns() << 2;
  // clang-format on
}

void TestNumberReader::readers()
{
  QFETCH(QString, suffix);
  QFETCH(QByteArray, content);
  QFETCH(QString, separator);
  QFETCH(Columns, expected);
  QFETCH(int, ignored);
  const DataFileInfo info = file(content, suffix, separator);
  std::unique_ptr<NumberReaderBase> reader(suffix == "csv" ? new CsvNumberReader(info)
                                                           : new NumberReaderBase(info));
  if (suffix == "txt")
    QCOMPARE(reader->detectColumns(3), static_cast<int>(expected.size()));
  Columns columns;
  QCOMPARE(reader->read(columns), ignored);
  QCOMPARE(columns, expected);
  QCOMPARE(reader->lastProblem(), NumberReaderBase::NoProblem);
}

void TestNumberReader::detectColumns_data()
{
  QTest::addColumn<QByteArray>("content");
  QTest::addColumn<int>("skip");
  QTest::addColumn<int>("count");
  QTest::newRow("three lines") << QByteArray("1 2\n3 4\n5 6\n") << 3 << -1;
  QTest::newRow("four lines") << QByteArray("x\ny\nz\n1 2 3 w 4\n") << 3 << 3;
}

void TestNumberReader::detectColumns()
{
  QFETCH(QByteArray, content);
  QFETCH(int, skip);
  QFETCH(int, count);
  NumberReaderBase reader(file(content));
  QCOMPARE(reader.detectColumns(skip), count);
  // Detection can be repeated: it rewinds first.
  QCOMPARE(reader.detectColumns(skip), count);
}

void TestNumberReader::defaultLocaleIsCzechWhileReaderLives()
{
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Austria));
  {
    NumberReaderBase reader(file("1 2\n"));
    QCOMPARE(QLocale().language(), QLocale::Czech);
  }
  QCOMPARE(QLocale().country(), QLocale::Austria);
  QLocale::setDefault(QLocale::c());
}

void TestNumberReader::overlongLineIsIgnored()
{
  QByteArray content = "1 2\n";
  content += QByteArray(NumberReaderBase::maxLineLength + 100, '7');
  content += "\n3 4\n5 6\n" + QByteArray(NumberReaderBase::maxLineLength + 5, ' ') + "\r7 8";
  NumberReaderBase reader(file(content));
  QCOMPARE(reader.detectColumns(0), 2);
  Columns columns;
  QCOMPARE(reader.read(columns), 2);
  QCOMPARE(columns, cols({{1, 3, 5, 7}, {2, 4, 6, 8}}));
}

void TestNumberReader::valueLimitStopsReading()
{
  QByteArray content;
  for (int i = 0; i < 100; ++i)
    content += QByteArray::number(i) + ";" + QByteArray::number(2 * i) + "\n";
  for (const char* suffix : {"txt", "csv"}) {
    const DataFileInfo info = file(content, suffix, ";");
    std::unique_ptr<NumberReaderBase> reader(info.suffix == "csv" ? new CsvNumberReader(info)
                                                                  : new NumberReaderBase(info));
    reader->setValueLimit(200);
    QCOMPARE(reader->detectColumns(3), 2);
    Columns columns;
    reader->read(columns);
    QCOMPARE(reader->lastProblem(), NumberReaderBase::NoProblem);
    QCOMPARE(columns.front().size(), size_t(100));
    reader->setValueLimit(199);
    reader->read(columns);
    QCOMPARE(reader->lastProblem(), NumberReaderBase::TooManyValues);
    QVERIFY(reader->errorString().contains("199"));
  }
}

void TestNumberReader::unreadableFiles()
{
  const QString missing = dir.filePath("missing.txt");
  for (const QString& path : {missing, dir.path(), QString("/dev/zero"), QString()}) {
    NumberReaderBase reader(DataFileInfo(QFile::encodeName(path), false, 0));
    QVERIFY(!reader.isOpen());
    QCOMPARE(reader.lastProblem(), NumberReaderBase::CannotOpen);
    QVERIFY(!reader.errorString().isEmpty());
    QCOMPARE(reader.detectColumns(3), -1);
    Columns columns;
    QCOMPARE(reader.read(columns), 0);
  }
}

QTEST_GUILESS_MAIN(TestNumberReader)
#include "tst_numberreader.moc"
