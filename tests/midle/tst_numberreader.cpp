#include "common/datatable.h"
#include "common/testfiles.h"
#include "math/domains/enumerationbase.h"
#include "math/fce/mathfn.h"
#include "midle/numberreader/csvnumberreader.h"
#include "midle/numberreader/dataimport.h"
#include "midle/numberreader/fieldsplitter.h"
#include "midle/numberreader/linereader.h"
#include "midle/numberreader/numberreaderbase.h"

#include <QLocale>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <cmath>
#include <cstring>

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

// Text as a Windows program writes UTF-16: a byte-order mark, then the code units.
QByteArray utf16(const QString& text, bool bigEndian, bool mark = true)
{
  QByteArray out = mark ? QByteArray(bigEndian ? "\xFE\xFF" : "\xFF\xFE", 2) : QByteArray();
  for (QChar c : text) {
    const char hi = char(c.unicode() >> 8), lo = char(c.unicode() & 0xFF);
    out.append(bigEndian ? hi : lo).append(bigEndian ? lo : hi);
  }
  return out;
}

// Hands its data out in pieces of given lengths, as a pipe or a slow disk may:
// each read ends where the next piece begins.
class PieceDevice : public QIODevice
{
public:
  PieceDevice(const QByteArray& data, QList<int> pieces) : _data(data), _pieces(std::move(pieces))
  {
    open(QIODevice::ReadOnly);
  }

protected:
  qint64 readData(char* out, qint64 max) override
  {
    const qint64 left = _data.size() - _at;
    const qint64 piece = _pieces.isEmpty() ? left : _pieces.takeFirst();
    const qint64 n = std::min({max, left, piece});
    std::memcpy(out, _data.constData() + _at, size_t(n));
    _at += n;
    return n;
  }
  qint64 writeData(const char*, qint64) override { return -1; }

private:
  QByteArray _data;
  QList<int> _pieces;
  qint64 _at = 0;
};

std::unique_ptr<NumberReaderBase> readerFor(const DataFileInfo& info)
{
  return std::unique_ptr<NumberReaderBase>(info.suffix == "csv" ? new CsvNumberReader(info)
                                                                : new NumberReaderBase(info));
}

using Readers = DataTable<QString, QByteArray, QString, Columns, int>;
using Splits = DataTable<QString, QByteArray, QStringList, QStringList>;
using Loads =
    DataTable<QByteArray, QString, int, QVector<double>, QVector<double>, int, int, QStringList>;
using Refusals = DataTable<QByteArray, QString, int, QStringList>;
using Fields = DataTable<QByteArray, bool, double>;
using Pieces = DataTable<QByteArray, QList<int>, QStringList>;

QStringList allLines(QIODevice* device)
{
  LineReader reader(device, 1000);
  QStringList lines;
  const char *b, *e;
  bool overlong;
  while (reader.next(b, e, overlong))
    // Latin-1: fromUtf8 would drop a byte-order mark left in the line.
    lines << (overlong ? QString("<overlong>") : QString::fromLatin1(b, int(e - b)));
  return lines;
}

} // namespace

class TestNumberReader : public QObject
{
  Q_OBJECT

  QTemporaryDir dir;

  // Writes content to a file (a bare suffix: a fresh name with it) and returns its record.
  // A CSV file's separator is ";" unless given.
  DataFileInfo file(const QByteArray& content, const QString& name = "txt",
                    const QString& separator = QString(), int xColumn = 0)
  {
    static int serial = 0;
    const QString path = writeFile(
        dir.filePath(name.contains('.') ? name : QString("f%1.%2").arg(++serial).arg(name)),
        content);
    DataFileInfo info(QFile::encodeName(path), false, xColumn);
    info.valueSeparator = separator.isNull() && name.endsWith("csv") ? ";" : separator;
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
  void toNumber_data();
  void toNumber();
  void toNumberAgreesWithLocaleRules();
  void readers_data();
  void readers();
  void defaultLocaleStaysWhileReading();
  void overlongLineIsIgnored();
  void lineEndsAcrossReads_data();
  void lineEndsAcrossReads();
  void separatorsAtLineEnds_data();
  void separatorsAtLineEnds();
  void valueLimitStopsReading();
  void loaded_data();
  void loaded();
  void refused_data();
  void refused();
  void unreadableFileNamesFileAndReason_data();
  void unreadableFileNamesFileAndReason();
  void importDialogMayChangeOrCancel();
};

void TestNumberReader::toNumber_data()
{
  Fields::declare(); // field, ok, value
  // clang-format off
  QTest::newRow("denormal") << QByteArray("4.9e-324") << true << 4.9e-324;
  QTest::newRow("long mantissa") << QByteArray("0.1000000000000000055511151231257827021181583404541015625") << true << 0.1;
  QTest::newRow("longer than the direct conversion takes") << "1" + QByteArray(299, '0') << true << 1e299;
  QTest::newRow("nan") << QByteArray("nan") << false << 0.0;
  QTest::newRow("inf") << QByteArray("inf") << false << 0.0;
  QTest::newRow("overflow") << QByteArray("1e999") << false << 0.0;
  QTest::newRow("hex") << QByteArray("0x10") << false << 0.0;
  QTest::newRow("nul byte") << raw("1\0" "2") << false << 0.0;
  // clang-format on
}

void TestNumberReader::toNumber()
{
  const auto [field, ok, value] = Fields::fetch();
  double v = -7.0;
  QCOMPARE(NumberReaderBase::toNumber(field.constData(), field.constData() + field.size(), v), ok);
  if (ok)
    QCOMPARE(v, value);
}

// The direct conversion of common shapes must give what the two locales give.
void TestNumberReader::toNumberAgreesWithLocaleRules()
{
  const QLocale czech(QLocale::Czech), posix(QLocale::C);
  const char alphabet[] = "0123456789.,eE+-:/ a";
  QRandomGenerator rng(12345);
  for (int i = 0; i < 20000; ++i) {
    QByteArray field;
    for (int c = 0, length = 1 + rng.bounded(9); c < length; ++c)
      field.append(alphabet[rng.bounded(int(sizeof alphabet) - 1)]);
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
  // suffix, content, separator (empty: any white space), columns read, lines ignored
  Readers::declare();
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
  // Real files: Excel's "Unicode text", a UTF-16 BE export, a stock price
  // CSV, quoting as spreadsheets write it, labels amid numbers.
  QTest::newRow("utf-16 le, tabs, crlf") << "txt" << utf16(QString::fromUtf8("Čas\tHodnota\r\n0\t1,5\r\n1\t2\r\n2\t4\r\n3\t8\r\n"), false) << QString() << cols({{0, 1, 2, 3}, {1.5, 2, 4, 8}}) << 1;
  QTest::newRow("utf-16 be, no newline at the end") << "csv" << utf16("x;y\n1;2\n3;4\n5;6", true) << ";" << cols({{1, 3, 5}, {2, 4, 6}}) << 1;
  QTest::newRow("stock prices, date column first") << "csv" << QByteArray("Date,Open,Close,Volume\n2024-01-02,187.15,185.64,82488700\n2024-01-03,184.22,184.25,58414500\n2024-01-04,182.15,181.91,71983600\n") << "," << cols({{}, {187.15, 184.22, 182.15}, {185.64, 184.25, 181.91}, {82488700, 58414500, 71983600}}) << 1;
  QTest::newRow("quoted separator, quote and line break") << "csv" << QByteArray("\"t\";\"a;b\"\n\"1,5\";\"say \"\"hi\"\"\"\n2;\"two\r\nlines\"\n 3 ; \"x\"\"\" \n4;\"\"\n") << ";" << cols({{1.5, 2, 3, 4}, {}}) << 1;
  QTest::newRow("text after a closing quote joins the field") << "csv" << QByteArray("\"1,\"5;\"2\"0\n\"3\"e1;4\n") << ";" << cols({{1.5, 30}, {20, 4}}) << 0;
  QTest::newRow("line break quoted beyond the width") << "csv" << QByteArray("1;2\n3;4;\"x\ny\"\n5;6\n") << ";" << cols({{1, 3, 5}, {2, 4, 6}}) << 0;
  QTest::newRow("quoted numbers, empty cell keeps its column") << "csv" << QByteArray("\"1,5\",\"2\",,\"4\"\n2,3,7,5\n3,,8,6\n") << "," << cols({{2}, {3}, {7}, {5}}) << 2;
  QTest::newRow("label column in the middle") << "txt" << QByteArray("1 a 2\n2 b 4\n3 c 6\n4 d 8\n5 e\n") << QString() << cols({{1, 2, 3, 4}, {}, {2, 4, 6, 8}}) << 1;
  // clang-format on
}

void TestNumberReader::readers()
{
  const auto [suffix, content, separator, expected, ignored] = Readers::fetch();
  const auto reader = readerFor(file(content, suffix, separator));
  if (suffix == "txt")
    QCOMPARE(reader->detectColumns(3), static_cast<int>(expected.size()));
  Columns columns;
  QCOMPARE(reader->read(columns), ignored);
  QCOMPARE(columns, expected);
  QCOMPARE(reader->lastProblem(), NumberReaderBase::NoProblem);
}

// The readers convert with locales of their own: the program's stays as it is.
void TestNumberReader::defaultLocaleStaysWhileReading()
{
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Austria));
  {
    NumberReaderBase reader(file("1,5 2.5\n"));
    Columns columns;
    reader.read(columns);
    QCOMPARE(columns, (Columns{{1.5}, {2.5}}));
    QCOMPARE(QLocale().country(), QLocale::Austria);
  }
  QCOMPARE(QLocale().country(), QLocale::Austria);
  QLocale::setDefault(QLocale::c());
}

void TestNumberReader::overlongLineIsIgnored()
{
  // Longer than the limit by more than the reader fetches at once (1 MiB), so
  // the reading stops before the line ends and skips the rest.
  const int overlong = NumberReaderBase::maxLineLength + (3 << 20);
  QByteArray content = "1 2\n" + QByteArray(overlong, '7');
  content += "\n3 4\n5 6\n" + QByteArray(overlong, ' ') + "\r7 8";
  NumberReaderBase reader(file(content));
  QCOMPARE(reader.detectColumns(0), 2);
  Columns columns;
  QCOMPARE(reader.read(columns), 2);
  QCOMPARE(columns, cols({{1, 3, 5, 7}, {2, 4, 6, 8}}));
}

// A CR LF whose two bytes come in two reads ends one line, not two; a CR
// alone still ends a line wherever the read ends.
void TestNumberReader::lineEndsAcrossReads_data()
{
  Pieces::declare(); // data, pieces, lines
  // clang-format off
  QTest::newRow("CR LF split") << QByteArray("1 2\r\n3 4\r\n") << QList<int>{4, 5} << QStringList{"1 2", "3 4"};
  QTest::newRow("CR LF split after the mark") << QByteArray("\xEF\xBB\xBF" "5\r\n6") << QList<int>{2, 2, 1} << QStringList{"5", "6"};
  QTest::newRow("lone CR at a read's end") << QByteArray("7\r8\r\n") << QList<int>{2} << QStringList{"7", "8"};
  QTest::newRow("empty line after a split CR LF") << QByteArray("9\r\n\r\n10") << QList<int>{2, 1, 1} << QStringList{"9", "", "10"};
  QTest::newRow("byte by byte") << QByteArray("a\r\nb\n\rc") << QList<int>{1, 1, 1, 1, 1, 1, 1, 1} << QStringList{"a", "b", "", "c"};
  // clang-format on
}

void TestNumberReader::lineEndsAcrossReads()
{
  const auto [data, pieces, lines] = Pieces::fetch();
  PieceDevice device(data, pieces);
  QCOMPARE(allLines(&device), lines);
}

// A separator in the last bytes of a line, whole or cut short, and one of
// several bytes that starts right where the line does.
void TestNumberReader::separatorsAtLineEnds_data()
{
  // separator, line, fields split, fields split as CSV
  Splits::declare();
  // clang-format off
  QTest::newRow("one byte, last") << ";" << QByteArray("1;2;") << QStringList{"1", "2"} << QStringList{"1", "2", ""};
  QTest::newRow("two bytes, last") << "::" << QByteArray("1::2::") << QStringList{"1", "2"} << QStringList{"1", "2", ""};
  QTest::newRow("two bytes, cut short") << "::" << QByteArray("1::2:") << QStringList{"1", "2:"} << QStringList{"1", "2:"};
  QTest::newRow("two bytes, first") << "::" << QByteArray("::3") << QStringList{"3"} << QStringList{"", "3"};
  QTest::newRow("quoted, then the separator") << ";" << QByteArray("\"4\";") << QStringList{"\"4\""} << QStringList{"4", ""};
  QTest::newRow("three bytes, twice at the end") << "|||" << QByteArray("5||||||") << QStringList{"5"} << QStringList{"5", "", ""};
  // clang-format on
}

void TestNumberReader::separatorsAtLineEnds()
{
  const auto [separator, line, fields, csvFields] = Splits::fetch();
  const FieldSplitter splitter(separator);
  const char *begin = line.constData(), *end = begin + line.size();
  QStringList got;
  const auto collect = [&got](const char* b, const char* e) {
    got << QString::fromUtf8(b, int(e - b));
    return true;
  };
  splitter.split(begin, end, collect);
  QCOMPARE(got, fields);
  got.clear();
  std::string scratch;
  QCOMPARE(splitter.splitCsv(begin, end, scratch, collect), FieldSplitter::Complete);
  QCOMPARE(got, csvFields);
}

void TestNumberReader::valueLimitStopsReading()
{
  QByteArray content;
  for (int i = 0; i < 100; ++i)
    content += QByteArray::number(i) + ";" + QByteArray::number(2 * i) + "\n";
  for (const char* suffix : {"txt", "csv"}) {
    const auto reader = readerFor(file(content, suffix, ";"));
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

// x column -1: row indices; beyond the last column: row indices as well.
// The labels take the names of the header line right above the data, column
// by column (the column count is taken from the fourth line).
void TestNumberReader::loaded_data()
{
  // content, file name, x column, domain, first function, function count, lines ignored, labels
  Loads::declare();
  using V = QVector<double>;
  // clang-format off
  QTest::newRow("two header lines") << QByteArray("time value\nin seconds\n0 1\n1 2\n2 4\n3 8\n") << "h.txt" << 0 << V{0, 1, 2, 3} << V{1, 2, 4, 8} << 1 << 2 << QStringList{"DataFile (seconds)"};
  QTest::newRow("row indices") << QByteArray("a\nb\n5 1\n7 2\n9 4\n") << "r.txt" << -1 << V{0, 1, 2} << V{5, 7, 9} << 2 << 2 << QStringList{"DataFile 1", "DataFile 2"};
  QTest::newRow("x column 0") << QByteArray("0 5 6\n1 6 7\n1 7 8\n2,5 8 9\n") << "x.txt" << 0 << V{0, 1, 1, 2.5} << V{5, 6, 7, 8} << 2 << 0 << QStringList{"DataFile 1", "DataFile 2"};
  QTest::newRow("x column 1") << QByteArray("5;0\n6;1\n7;3\n8;4\n") << "x.csv" << 1 << V{0, 1, 3, 4} << V{5, 6, 7, 8} << 1 << 0 << QStringList{"DataFile"};
  QTest::newRow("x column beyond last") << QByteArray("5 0\n6 1\n7 3\n8 4\n") << "b.txt" << 2 << V{0, 1, 2, 3} << V{5, 6, 7, 8} << 2 << 0 << QStringList{"DataFile 1", "DataFile 2"};
  QTest::newRow("two rows") << QByteArray("a\nb\n0 2\n1 4\n") << "2.txt" << 0 << V{0, 1} << V{2, 4} << 1 << 2 << QStringList{"DataFile"};
  QTest::newRow("one column as x") << QByteArray("1\n3\n3\n4\n") << "o.txt" << 0 << V{0, 1, 2, 3} << V() << 0 << 0 << QStringList();
  QTest::newRow("csv header, text cells, ragged rows") << QByteArray("x;y\n0;1\n1;text\n2;4\n3;9;27\n4\n") << "c.csv" << 0 << V{0, 2, 3} << V{1, 4, 9} << 1 << 3 << QStringList{"DataFile (y)"};
  QTest::newRow("x column after a text column") << QByteArray("a 0 5\nb 1 6\nc 3 7\nd 4 8\n") << "t.txt" << 1 << V{0, 1, 3, 4} << V{5, 6, 7, 8} << 1 << 0 << QStringList{"DataFile"};
  QTest::newRow("x column holding text") << QByteArray("Date;Close\n2024-01-02;5\n2024-01-03;6\n2024-01-04;8\n") << "d.csv" << 0 << V{0, 1, 2} << V{5, 6, 8} << 1 << 1 << QStringList{"DataFile (Close)"};
  QTest::newRow("txt header") << QByteArray("time temperature pressure\n0 1 10\n1 2 20\n2 4 30\n") << "t.txt" << 0 << V{0, 1, 2} << V{1, 2, 4} << 2 << 1 << QStringList{"DataFile 1 (temperature)", "DataFile 2 (pressure)"};
  QTest::newRow("txt, a note above the names") << QByteArray("measured today\nx y\n0 1\n1 2\n") << "n.txt" << 0 << V{0, 1} << V{1, 2} << 1 << 2 << QStringList{"DataFile (y)"};
  QTest::newRow("txt, names of another width") << QByteArray("a b c\n0 1\n1 2\n2 4\n") << "w.txt" << 0 << V{0, 1, 2} << V{1, 2, 4} << 1 << 1 << QStringList{"DataFile"};
  QTest::newRow("csv, an empty column dropped") << QByteArray("x;;y;z\n0;;1;2\n1;;2;3\n2;;3;4\n") << "e.csv" << 0 << V{0, 1, 2} << V{1, 2, 3} << 2 << 1 << QStringList{"DataFile 1 (y)", "DataFile 2 (z)"};
  QTest::newRow("csv, quoted names, a date column") << QByteArray("\"Date\";\"Close; EUR\";Volume\n2024-01-02;5;7\n2024-01-03;6;8\n2024-01-04;7;9\n") << "q.csv" << 0 << V{0, 1, 2} << V{5, 6, 7} << 2 << 1 << QStringList{"DataFile 1 (Close; EUR)", "DataFile 2 (Volume)"};
  // clang-format on
}

void TestNumberReader::loaded()
{
  const auto [content, name, xColumn, domain, firstFunction, functionCount, ignored, labels] =
      Loads::fetch();
  DataImport import;
  QCOMPARE(import.run(file(content, name, {}, xColumn)), DataImport::Loaded);
  QCOMPARE(import.ignoredLines(), ignored);
  QStringList expected;
  if (ignored)
    expected << QString("Ignoring %1 %2 that could not be read from file or contains a text.")
                    .arg(ignored)
                    .arg(ignored == 1 ? "line" : "lines");
  for (int c : import.textColumns())
    expected << QString("Ignoring column %1 (text).").arg(c);
  if (import.isTextColumn(xColumn))
    expected << QString("Column %1 holds text, not numbers: the rows are numbered for X instead.")
                    .arg(xColumn);
  QCOMPARE(texts(import), expected.isEmpty() ? QStringList()
                                             : QStringList("File parser / " + expected.join('\n')));
  std::unique_ptr<Domains::EnumerationBase<double>> d(import.createDomain());
  QCOMPARE(QVector<double>(d->values().begin(), d->values().end()), domain);
  auto functions = import.createFunctions(d.get());
  QCOMPARE(int(functions.size()), functionCount);
  if (!functions.empty()) {
    const auto& v = functions.front()->values();
    QCOMPARE(QVector<double>(v.begin(), v.end()), firstFunction);
  }
  for (auto* f : functions)
    delete f;
  QStringList shown;
  for (int i = 0; i < int(import.functionColumns().size()); ++i)
    shown << import.functionLabel(i);
  QCOMPARE(shown, labels);
}

void TestNumberReader::refused_data()
{
  // content, file name, x column, messages ("%1": the file's path)
  Refusals::declare();
  const QString notSorted = "Input data / Invalid column selected for X axis - data is not sorted.";
  QByteArray wide; // one field more than a file may hold
  for (int i = 0; i <= 1000; ++i)
    wide += QByteArray::number(i) + ' ';
  QByteArray wideCsv = wide.trimmed().replace(' ', ';') + '\n';
  wide = (wide.trimmed() + '\n').repeated(4);
  wideCsv += "1;2\n3;4\n5;6\n"; // the first row sets a CSV file's width
  // clang-format off
  QTest::newRow("unsorted x") << QByteArray("0 1\n2 2\n1 3\n3 4\n") << "u.txt" << 0 << QStringList(notSorted);
  QTest::newRow("equal x values") << QByteArray("2 1\n2 2\n2 3\n2 4\n") << "e.txt" << 0 << QStringList("Input data / Invalid column selected for X axis - all its values are equal, so it spans no interval.");
  QTest::newRow("x span overflows") << QByteArray("-1e308 1\n0 2\n1e308 3\n1e308 4\n") << "v.txt" << 0 << QStringList("Input data / Invalid column selected for X axis - its values span a range too large to compute with.");
  QTest::newRow("three lines") << QByteArray("0 1\n1 2\n2 3\n") << "t.txt" << 0 << QStringList("File parser / Could not detect number of columns in file.");
  QTest::newRow("text at detection line") << QByteArray("a\nb\nc\nd\n1 2\n") << "d.txt" << 0 << QStringList("File parser / Data file is empty or error occurred while reading file.");
  QTest::newRow("one row") << QByteArray("a\nb\nc\n1 2\n") << "o.txt" << 0 << QStringList("File parser / Data was not parsed correctly or file is empty.");
  QTest::newRow("ignored lines, then unsorted") << QByteArray("h\n0 1\n2 2\n1 3\n") << "i.txt" << 0 << QStringList({"File parser / Ignoring 1 line that could not be read from file or contains a text.", notSorted});
  QTest::newRow("1001 fields") << wide << "f.txt" << 0 << QStringList("File parser / Cannot read \"%1\": a line holds more than 1000 fields.");
  QTest::newRow("1001 cells") << wideCsv << "f.csv" << 0 << QStringList("File parser / Cannot read \"%1\": a line holds more than 1000 cells.");
  QTest::newRow("quote left open at the end") << QByteArray("1;2\n3;4\n5;6\n7;\"8\n") << "q.csv" << 0 << QStringList("File parser / Cannot read \"%1\": the quote that opens a field on line 4 is never closed.");
  QTest::newRow("utf-16 without a byte-order mark") << utf16("0 1\n1 2\n2 4\n3 8\n", false, false) << "w.txt" << 0 << QStringList("File parser / Cannot read \"%1\": it looks like UTF-16 text without a byte-order mark; save it as UTF-8, or as UTF-16 with a byte-order mark.");
  // clang-format on
}

void TestNumberReader::refused()
{
  auto [content, name, xColumn, messages] = Refusals::fetch();
  DataImport import;
  const DataFileInfo info = file(content, name, {}, xColumn);
  QCOMPARE(import.run(info), DataImport::Failed);
  QCOMPARE(texts(import), messages.replaceInStrings("%1", info.filePath()));
  QCOMPARE(import.messages().back().icon, DataImport::Critical);
  QVERIFY(import.columns().empty());
}

void TestNumberReader::unreadableFileNamesFileAndReason_data()
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

void TestNumberReader::unreadableFileNamesFileAndReason()
{
  QFETCH(QString, path);
  QFETCH(QString, reason);
  QDir(dir.path()).mkdir("folder.txt");
  QFile::link("/dev/zero", dir.filePath("device.csv"));
  file("0 1\n1 2\n2 3\n3 4\n", "data.dat");
  const QString full = path.startsWith('/') ? path : dir.filePath(path);
  DataImport import;
  QCOMPARE(import.run(DataFileInfo(QFile::encodeName(full), true, 0)), DataImport::Failed);
  const QStringList t = texts(import);
  QCOMPARE(t.size(), 1);
  QVERIFY2(t[0].startsWith("File parser / ") && t[0].contains(full) && t[0].contains(reason),
           qPrintable(t[0]));
}

void TestNumberReader::importDialogMayChangeOrCancel()
{
  auto info = file("0,1\n1,2\n2,3\n3,4\n", "dlg.csv");
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

QTEST_GUILESS_MAIN(TestNumberReader)
#include "tst_numberreader.moc"
