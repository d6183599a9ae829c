#include "common/testfiles.h"
#include "math/domains/enumeration.h"
#include "math/fce/mathfntable.h"
#include "midle/export/csvexportfunction.h"
#include "midle/export/outputfile.h"

#include <QtTest>

#include <clocale>
#include <csignal>
#include <locale>
#include <memory>
#include <sys/resource.h>
#include <unistd.h>

namespace {

using Domain = Domains::Enumeration<double>;
using Table = Fn::MathFnTable<double, double>;

// A column of values over its own points; owns both.
struct Column
{
  Column(const std::vector<double>& x, const std::vector<double>& y)
      : domain(new Domain(x, true)), fn(new Table(domain.get(), y))
  {
  }
  std::unique_ptr<Domain> domain;
  std::unique_ptr<Table> fn;
};

std::vector<double> range(int n, double step = 1.0)
{
  std::vector<double> v;
  for (int i = 0; i < n; ++i)
    v.push_back(i * step);
  return v;
}

struct CommaPoint : std::numpunct<char>
{
  char do_decimal_point() const override { return ','; }
};

} // namespace

class TestCsvExport : public QObject
{
  Q_OBJECT

private slots:
  void exampleFileByteForByte();
  void shorterColumn();
  void numbersIgnoreLocale_data();
  void numbersIgnoreLocale();
  void failedWriteKeepsOldFile();
  void targetsThatAreNotFiles_data();
  void targetsThatAreNotFiles();
};

// Written to a file as content() gives it. A column of components is written
// once as its points (the nodes) and once as its values, each under its own name.
void TestCsvExport::exampleFileByteForByte()
{
  Column a({0, 0.5, 1}, {1, 1.5, 2});
  Column b({0, 0.5, 1}, {2, 2.5, 3});
  Column components({0.1, 0.9}, {10, 11});
  QTemporaryDir dir;
  const QString path = dir.filePath("example.csv");
  CsvExportFunction writer(path);
  writer.setIncludeDomain(true);
  writer.addColumn(a.fn.get(), "a");
  writer.addColumn(b.fn.get(), "b");
  writer.addPointsColumn(components.fn.get(), "Nodes");
  writer.addColumn(components.fn.get(), "f - Comp0");
  QVERIFY2(writer.write(), qPrintable(writer.errorString()));
  QCOMPARE(readAll(path), QByteArray("\"Domain\";\"a\";\"b\";\"Nodes\";\"f - Comp0\";\n"
                                     "0; 1; 2; 0.1; 10\n0.5; 1.5; 2.5; 0.9; 11\n1; 2; 3; ;;\n"));
  QCOMPARE(writer.content(), readAll(path));
}

void TestCsvExport::shorterColumn()
{
  Column function(range(2049, 1.0 / 2048), range(2049));
  Column components({0, 0.25, 0.5, 0.75, 1}, {10, 11, 12, 13, 14});
  for (bool componentsFirst : {false, true}) {
    CsvExportFunction writer;
    if (componentsFirst)
      writer.addColumn(components.fn.get(), "f - Comp0");
    writer.addColumn(function.fn.get(), "f");
    if (!componentsFirst)
      writer.addColumn(components.fn.get(), "f - Comp0");
    const QList<QByteArray> lines = writer.content().split('\n');
    QCOMPARE(lines.size(), 1 + 2049 + 1); // header, data, and the empty rest after the last newline
    QVERIFY(lines.last().isEmpty());
    const QByteArrayList expected = componentsFirst ? QByteArrayList{"14; 4", ";5", ";2048"}
                                                    : QByteArrayList{"4; 14", "5; ;", "2048; ;"};
    QCOMPARE((QByteArrayList{lines[5], lines[6], lines[2049]}), expected);
  }
}

void TestCsvExport::numbersIgnoreLocale_data()
{
  QTest::addColumn<double>("value");
  QTest::addColumn<QByteArray>("text");
  QTest::newRow("half") << 0.5 << QByteArray("0.5");
  QTest::newRow("small") << 1e-7 << QByteArray("1e-07");
  QTest::newRow("six digits") << 123456.0 << QByteArray("123456");
  QTest::newRow("large") << 123456789.0 << QByteArray("1.23457e+08");
}

void TestCsvExport::numbersIgnoreLocale()
{
  QFETCH(double, value);
  QFETCH(QByteArray, text);

  // Every locale a program can end up in: Qt's default, the C library's
  // (QApplication calls setlocale) and the C++ global one.
  const QLocale oldQt;
  const std::string oldC = std::setlocale(LC_ALL, nullptr);
  const std::locale oldCpp;
  QLocale::setDefault(QLocale(QLocale::Czech));
  for (const char* name : {"cs_CZ.UTF-8", "de_DE.UTF-8", "ru_RU.UTF-8"})
    if (std::setlocale(LC_ALL, name))
      break;
  std::locale::global(std::locale(std::locale::classic(), new CommaPoint));

  Column c({0}, {value});
  CsvExportFunction writer;
  writer.addColumn(c.fn.get(), "v");
  const QByteArray content = writer.content();
  const std::string single = CsvExportFunction::formatNumber(value);

  std::locale::global(oldCpp);
  std::setlocale(LC_ALL, oldC.c_str());
  QLocale::setDefault(oldQt);

  QCOMPARE(content, QByteArray("\"v\";\n") + text + "\n");
  QCOMPARE(QByteArray::fromStdString(single), text);
}

void TestCsvExport::failedWriteKeepsOldFile()
{
  // A full disk, simulated by a file size limit (which also binds root).
  QTemporaryDir dir;
  const QString path = dir.filePath("old.csv");
  writeFile(path, "old content\n");
  Column big(range(200000), range(200000));
  CsvExportFunction writer(path);
  writer.addColumn(big.fn.get(), "big");

  rlimit saved{};
  QVERIFY(getrlimit(RLIMIT_FSIZE, &saved) == 0);
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 64 * 1024;
  QVERIFY(setrlimit(RLIMIT_FSIZE, &small) == 0);
  const bool ok = writer.write();
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, oldHandler);

  QVERIFY(!ok);
  QVERIFY(writer.errorString().contains(path));
  QCOMPARE(readAll(path), QByteArray("old content\n"));
  QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"old.csv"});

  // Without the limit the same writer replaces the file.
  QVERIFY2(writer.write(), qPrintable(writer.errorString()));
  QVERIFY(readAll(path).startsWith("\"big\";\n0\n1\n"));
}

void TestCsvExport::targetsThatAreNotFiles_data()
{
  // Never written here: /dev/null, should the rule break, would be replaced for the machine.
  QTest::addColumn<QString>("target");
  QTest::addColumn<bool>("renamed");
  QTest::newRow("link to a file") << "link" << true;
  QTest::newRow("descriptor onto a file") << "descriptor" << false; // `-o /dev/stdout >> file`
  QTest::newRow("device") << "/dev/null" << false;
  QTest::newRow("standard output") << "/dev/stdout" << false;
}

void TestCsvExport::targetsThatAreNotFiles()
{
  QFETCH(QString, target);
  QFETCH(bool, renamed);
  QTemporaryDir dir;
  const QString file = dir.filePath("file"), link = dir.filePath("link");
  QFile old(file);
  QVERIFY(old.open(QIODevice::ReadWrite) && old.write("old\n") == 4 && old.flush());
  QVERIFY(QFile::link(file, link));
  const QString path = target == "link"         ? link
                       : target == "descriptor" ? QString("/proc/self/fd/%1").arg(old.handle())
                                                : target;
  QCOMPARE(OutputFile::replacesByRename(path), renamed);
  if (path == target)
    return;
  QString error;
  QVERIFY2(OutputFile::write(path, "new\n", &error), qPrintable(error));
  // A descriptor's file goes on after what its owner wrote; a link stays a link.
  QCOMPARE(readAll(file), QByteArray(renamed ? "new\n" : "old\nnew\n"));
  QVERIFY(QFileInfo(link).isSymLink());
}

QTEST_APPLESS_MAIN(TestCsvExport)
#include "tst_csvexportfunction.moc"
