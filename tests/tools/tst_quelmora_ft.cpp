#include "common/fifodrain.h"
#include "common/testfiles.h"

#include <QtTest>

#include <cmath>

namespace {

struct Run
{
  int exitCode = -1; // also for a crash or a hang
  QByteArray out, err;
};

Run runTool(const QStringList& args, const QByteArray& input = QByteArray())
{
  QProcess p;
  p.start(QStringLiteral(QUELMORA_FT_PATH), args);
  p.write(input);
  p.closeWriteChannel();
  if (!p.waitForFinished(120000)) {
    p.kill();
    p.waitForFinished();
    return Run();
  }
  const int code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
  return Run{code, p.readAllStandardOutput(), p.readAllStandardError()};
}

QList<QByteArray> lines(const QByteArray& text)
{
  QList<QByteArray> l = text.split('\n');
  if (!l.isEmpty() && l.last().isEmpty())
    l.removeLast();
  return l;
}

QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& content)
{
  return writeFile(dir.filePath(name), content);
}

} // namespace

class TestQuelmoraFt : public QObject
{
  Q_OBJECT

private slots:
  void defaultOutput();
  void columnsAndNames_data();
  void columnsAndNames();
  void kindsLayOutTheirNodes_data();
  void kindsLayOutTheirNodes();
  void finerThanTheDomain();
  void outputFile();
  void badInput_data();
  void badInput();
  void badInputLeavesOutputFile();
  void dataRoundTripsTheToolsOwnOutput();
  void errors();
  void standardInputAndOutput();
};

void TestQuelmoraFt::defaultOutput()
{
  const Run r = runTool({});
  QCOMPARE(r.exitCode, 0);
  QVERIFY(r.err.isEmpty());
  const QList<QByteArray> l = lines(r.out);
  QCOMPARE(l.size(), 1 + 2001);
  QCOMPARE(l[0], QByteArray("\"x\";\"x - Comp0\";\"x - Inverse0\";"));
  // x over five triangles: the inner components are the inner nodes.
  QVERIFY(l[2].startsWith("0.0005; 0.25; "));
  QVERIFY(l[4].startsWith("0.0015; 0.75; "));
  // Past the five components that column keeps its place with ";".
  QVERIFY(l[6].startsWith("0.0025; ;"));
  QVERIFY(l.last().startsWith("1; ;"));
}

// Without a data file only the header line is compared; with one, the whole output
// (function columns only, over two components).
void TestQuelmoraFt::columnsAndNames_data()
{
  QTest::addColumn<QString>("file");
  QTest::addColumn<QByteArray>("content");
  QTest::addColumn<QStringList>("args");
  QTest::addColumn<QByteArray>("expected");
  // Columns are detected on the fourth line, so every file has at least four.
  const QByteArray csv("x;y;z\n0;1;2\n0.5;1.5;2.5\n1;2;3\n");
  // clang-format off
  QTest::newRow("two formulas, one name, degree 2") << "" << QByteArray() << QStringList{"--formula", "x", "--name", "f", "--formula", "x*x", "--degree", "2", "--include-domain"} << QByteArray("\"Domain\";\"f\";\"f - Comp0\";\"f - Comp1\";\"f - Comp2\";\"f - Inverse0\";\"f - Inverse1\";\"f - Inverse2\";\"x*x\";\"x*x - Comp0\";\"x*x - Comp1\";\"x*x - Comp2\";\"x*x - Inverse0\";\"x*x - Inverse1\";\"x*x - Inverse2\";");
  QTest::newRow("list order does not reorder columns") << "" << QByteArray() << QStringList{"--output", "inverse,function", "--degree", "1"} << QByteArray("\"x\";\"x - Inverse0\";\"x - Inverse1\";");
  QTest::newRow("components only") << "" << QByteArray() << QStringList{"--output", "components", "--name", "g"} << QByteArray("\"g - Comp0\";");
  QTest::newRow("inline value") << "" << QByteArray() << QStringList{"--output=function", "--name=h"} << QByteArray("\"h\";");
  QTest::newRow("csv, x in column 0") << "d.csv" << csv << QStringList{"--include-domain"} << QByteArray("\"Domain\";\"DataFile 1\";\"DataFile 2\";\n0; 1; 2\n0.5; 1.5; 2.5\n1; 2; 3\n");
  QTest::newRow("csv, x in column 2, named") << "d.csv" << csv << QStringList{"--x-column", "2", "--include-domain", "--name", "a"} << QByteArray("\"Domain\";\"a\";\"DataFile 1\";\n2; 0; 1\n2.5; 0.5; 1.5\n3; 1; 2\n");
  QTest::newRow("one txt column is the function") << "one.txt" << QByteArray("4\n5\n7\n9\n") << QStringList{"--include-domain"} << QByteArray("\"Domain\";\"DataFile\";\n0; 4\n1; 5\n2; 7\n3; 9\n");
  QTest::newRow("txt with a separator") << "s.txt" << QByteArray("0|3\n1|4\n2|6\n3|7\n") << QStringList{"--separator", "|"} << QByteArray("\"DataFile\";\n3\n4\n6\n7\n");
  QTest::newRow("stock prices: the date column gives row numbers") << "p.csv" << QByteArray("Date,Open,Close\n2024-01-02,\"1,5\",2\n2024-01-03,2.5,3\n2024-01-04,3,4.5\n") << QStringList{"--separator", ",", "--include-domain"} << QByteArray("\"Domain\";\"DataFile 1\";\"DataFile 2\";\n0; 1.5; 2\n1; 2.5; 3\n2; 3; 4.5\n");
  // clang-format on
}

void TestQuelmoraFt::columnsAndNames()
{
  QFETCH(QString, file);
  QFETCH(QByteArray, content);
  QFETCH(QStringList, args);
  QFETCH(QByteArray, expected);
  QTemporaryDir dir;
  if (!file.isEmpty())
    args << "--data" << writeFile(dir, file, content) << "--output=function"
         << "--components=2";
  const Run r = runTool(args);
  QCOMPARE(r.exitCode, 0);
  QCOMPARE(file.isEmpty() ? lines(r.out).first() : r.out, expected);
}

void TestQuelmoraFt::kindsLayOutTheirNodes_data()
{
  QTest::addColumn<QStringList>("args");
  QTest::addColumn<QList<double>>("nodes");

  // clang-format off
  QTest::newRow("generic nodes") << QStringList{"--nodes", "0,0.1,0.6,1"} << QList<double>{0, 0.1, 0.6, 1};
  QTest::newRow("equidistant around a fixed point") << QStringList{"--partition", "equidistant", "--fixed-point", "0.3"} << QList<double>{-0.2, 0.05, 0.3, 0.55, 0.8, 1.05};
  QTest::newRow("custom delta") << QStringList{"--partition", "custom", "--delta", "0.5"} << QList<double>{0, 0.5, 1};
  QTest::newRow("custom triangle") << QStringList{"--partition", "custom", "--shape", "triangle", "--delta", "0.3"} << QList<double>{0, 0.3, 0.6, 0.9};
  // Rounding must neither lose the node at the end nor add one past it.
  QList<double> tenths, fromOne;
  for (int i = 0; i <= 10; ++i) {
    tenths << i / 10.0;
    fromOne << 1 + i / 10.0;
  }
  QTest::newRow("custom tenths reach high") << QStringList{"--partition", "custom", "--shape", "triangle", "--domain", "1,2,1000", "--delta", "0.1"} << fromOne;
  QTest::newRow("equidistant tenths end at high") << QStringList{"--partition", "equidistant", "--fixed-point", "0", "--distance", "0.1"} << tenths;
  // clang-format on
}

void TestQuelmoraFt::kindsLayOutTheirNodes()
{
  QFETCH(QStringList, args);
  QFETCH(QList<double>, nodes);
  const Run r = runTool(args + QStringList{"--output", "components", "--include-domain"});
  QCOMPARE(r.exitCode, 0);
  const QList<QByteArray> l = lines(r.out);
  QCOMPARE(l.size(), nodes.size() + 1);
  for (int i = 0; i < nodes.size(); ++i)
    QVERIFY2(std::abs(l[i + 1].split(';').first().toDouble() - nodes[i]) < 1e-9,
             l[i + 1].constData());
}

// Finer than the domain's points is valid: a basic function that covers no
// point has a NaN component, which must not spoil the inverse where it is 0;
// one that covers a single point has no degree-1 component (no line through
// one point), and the inverse of degree 1 keeps that of degree 0 there.
void TestQuelmoraFt::finerThanTheDomain()
{
  const Run r = runTool({"--domain", "0,1,10", "--partition", "custom", "--delta", "0.02",
                         "--shape", "triangle", "--variance", "0.01", "--degree", "1", "--output",
                         "components,inverse"});
  const QList<QByteArray> l = lines(r.out);
  QVERIFY(r.exitCode == 0 && l.size() == 1 + 51 && l[2] == "nan; nan; 0.1; 0.1");
  for (int i = 1; i <= 11; ++i) {
    const QList<QByteArray> cells = l[i].split(';');
    QVERIFY2(!cells[2].contains("nan") && cells[2] == cells[3], l[i].constData());
  }
  // Narrow Gaussians on a domain around 0 cache little: no refusal.
  QCOMPARE(runTool({"--domain", "-1,1.0001,100000", "--partition", "custom", "--delta", "0.003",
                    "--variance", "0.0001", "--output", "components"})
               .exitCode,
           0);
}

void TestQuelmoraFt::outputFile()
{
  QTemporaryDir dir;
  const QString path = dir.filePath("out.csv");
  const QStringList args{"--degree", "1", "--formula", "sin(x)"};
  const Run r = runTool(args + QStringList{"-o", path});
  QCOMPARE(r.exitCode, 0);
  QVERIFY(r.out.isEmpty());
  QCOMPARE(readAll(path), runTool(args).out);
  QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"out.csv"});
  // A FIFO, like /dev/null, is written into; a rename would replace the node with a file.
  const QString fifo = dir.filePath("fifo");
  FifoDrain drain(fifo);
  QCOMPARE(runTool(args + QStringList{"-o", fifo}).exitCode, 0);
  QCOMPARE(drain.data(), readAll(path));
  QVERIFY(FifoDrain::isFifo(fifo));
  QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"out.csv"});
  const Run help = runTool({"--help"});
  QCOMPARE(help.exitCode, 0);
  QVERIFY(help.out.startsWith("Usage: quelmora-ft") && help.err.isEmpty());
}

void TestQuelmoraFt::badInput_data()
{
  QTest::addColumn<QStringList>("args");
  QTest::addColumn<QString>("mentions");
  const QString eq = "--partition=equidistant", custom = "--partition=custom";
  // clang-format off
  QTest::newRow("unknown option") << QStringList{"--bogus"} << "--bogus";
  QTest::newRow("stray argument") << QStringList{"x"} << "\"x\"";
  QTest::newRow("domain of two parts") << QStringList{"--domain", "0,1"} << "LOW,HIGH,COUNT";
  QTest::newRow("domain of four parts") << QStringList{"--domain", "0,1,10,5"} << "LOW,HIGH,COUNT";
  QTest::newRow("low = high") << QStringList{"--domain", "1,1,10"} << "LOW";
  // The window's limits; a count taken lets the next option fail.
  const QString limits = "--domain COUNT %1: Discretization must be between 2 and 10000000.";
  QTest::newRow("count 1") << QStringList{"--domain", "0,1,1"} << limits.arg(1);
  QTest::newRow("count 10000001") << QStringList{"--domain", "0,1,10000001"} << limits.arg(10000001);
  for (const char* count : {"2", "999999", "10000000"})
    QTest::newRow(qPrintable(QString("count %1 taken").arg(count))) << QStringList{"--domain", QString("0,1,") + count, "--components", "1"} << "--components: 1 is outside";
  QTest::newRow("one node") << QStringList{"--nodes", "0.5"} << "two nodes";
  QTest::newRow("node outside") << QStringList{"--nodes", "0,0.5,1.5"} << "outside";
  QTest::newRow("components above count") << QStringList{"--domain", "0,1,10", "--components", "11"} << "above";
  QTest::newRow("gaussian equidistant") << QStringList{eq, "--shape", "gaussian"} << "gaussian";
  QTest::newRow("unknown shape") << QStringList{"--shape", "square"} << "square";
  QTest::newRow("zero distance") << QStringList{eq, "--distance", "0"} << "--distance";
  QTest::newRow("delta past the domain") << QStringList{custom, "--delta", "5"} << "two nodes";
  QTest::newRow("custom triangles, a node short") << QStringList{custom, "--shape", "triangle", "--delta", "0.5", "--nodes", "0,1"} << "exactly 3 nodes";
  QTest::newRow("custom too many nodes") << QStringList{custom, "--delta", "1e-9"} << "--delta 1e-09 would lay out more than 10000001 nodes";
  QTest::newRow("custom too slow") << QStringList{custom, "--domain", "0,1,10000000", "--delta", "1e-6", "--variance", "1"} << "would cache";
  QTest::newRow("option of another kind") << QStringList{"--delta", "0.1"} << "--delta";
  QTest::newRow("degree 4") << QStringList{"--degree", "4"} << "--degree";
  QTest::newRow("precision 18") << QStringList{"--precision", "18"} << "--precision";
  QTest::newRow("more names than formulas") << QStringList{"--name", "a", "--name", "b"} << "names";
  QTest::newRow("syntax error") << QStringList{"--formula", "sin("} << "Unexpected end of expression";
  QTest::newRow("two results") << QStringList{"--formula", "1,5"} << "more than one result";
  QTest::newRow("output file unnamed") << QStringList{"-o", ""} << "needs a file name";
  QTest::newRow("output directory missing") << QStringList{"-o", "no/such/dir/out.csv"} << "does not exist";
  QTest::newRow("too many values") << QStringList{"--domain", "0,1,10000000", "--components", "10000000"} << "too many values";
  QTest::newRow("missing data file") << QStringList{"--data", "@/nothere.csv"} << "no such file";
  QTest::newRow("x column beyond") << QStringList{"--data", "@/d.csv", "--x-column", "5"} << "only 3 columns";
  QTest::newRow("x column without data") << QStringList{"--x-column", "1"} << "--data";
  QTest::newRow("sweep without errors") << QStringList{"--components-sweep", "4,8"} << "needs --errors";
  QTest::newRow("sweep descending") << QStringList{"--errors", "--components-sweep", "8,4"} << "ascending";
  QTest::newRow("sweep of a custom partition") << QStringList{"--errors", custom, "--components-sweep", "4"} << "generic";
  QTest::newRow("sweep and components") << QStringList{"--errors", "--components", "5", "--components-sweep", "4"} << "--components";
  QTest::newRow("errors and value columns") << QStringList{"--errors", "--output", "function"} << "--output";
  QTest::newRow("x column holding text") << QStringList{"--data", "@/dates.csv", "--x-column", "0"} << "holds text";
  QTest::newRow("option a session sets") << QStringList{"--session", "@/empty.qms", "--degree=1"} << "--degree does not go with --session";
  QTest::newRow("formulas without a session") << QStringList{"--formulas", "@/empty.qms"} << "--session";
  QTest::newRow("formulas file missing") << QStringList{"--session", "@/empty.qms", "--formulas", "@/nothere.ini"} << "no such file";
  QTest::newRow("session the program refuses") << QStringList{"--session", "@/inverted.qms"} << "was not opened: the value of DomainWidget/highEdt_text";
  QTest::newRow("session naming a missing data file") << QStringList{"--session", "@/gone.qms"} << "MainWindow/dataFile";
  // clang-format on
}

void TestQuelmoraFt::badInput()
{
  QFETCH(QStringList, args);
  QFETCH(QString, mentions);
  QTemporaryDir dir;
  writeFile(dir, "d.csv", "0;1;2\n0.5;1.5;2.5\n1;2;3\n2;3;4\n");
  writeFile(dir, "dates.csv", "2024-01-01;1\n2024-01-02;2\n2024-01-03;3\n2024-01-04;5\n");
  writeFile(dir, "empty.qms", "");
  writeFile(dir, "inverted.qms", "[DomainWidget]\nlowEdt_text=2\nhighEdt_text=1\n");
  writeFile(dir, "gone.qms", "[MainWindow]\nfunctionTypeUsed=1\ndataFile=" +
                                 dir.filePath("gone.csv").toUtf8() + "\n");
  for (QString& a : args)
    a.replace('@', dir.path());
  const Run r = runTool(args);
  QCOMPARE(r.exitCode, 2);
  QVERIFY(r.out.isEmpty());
  const QString err = QString::fromUtf8(r.err);
  QVERIFY2(err.startsWith("quelmora-ft: ") && err.endsWith('\n') && err.count('\n') == 1,
           qPrintable(err));
  QVERIFY2(err.contains(mentions), qPrintable(err));
}

void TestQuelmoraFt::badInputLeavesOutputFile()
{
  QTemporaryDir dir;
  const QString path = writeFile(dir, "keep.csv", "keep me\n");
  for (const QStringList& bad : {QStringList{"--formula", "sin("}, QStringList{"--nodes", "1,0"},
                                 QStringList{"--degree", "9"}}) {
    const Run r = runTool(bad + QStringList{"-o", path});
    QCOMPARE(r.exitCode, 2);
    QCOMPARE(readAll(path), QByteArray("keep me\n"));
  }
  QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"keep.csv"});
}

void TestQuelmoraFt::dataRoundTripsTheToolsOwnOutput()
{
  // The written format reads back as data: the header is one ignored line.
  QTemporaryDir dir;
  const QString path = dir.filePath("sin.csv");
  const QStringList common{"--output", "function,components", "--precision", "17"};
  const QStringList write{"--formula", "sin(3*x)", "--output", "function", "--include-domain"};
  QCOMPARE(runTool(write + QStringList{"--precision", "17", "-o", path}).exitCode, 0);
  const Run fromFormula =
      runTool(common + QStringList{"--formula", "sin(3*x)", "--name", "DataFile"});
  const Run fromData = runTool(common + QStringList{"--data", path});
  QCOMPARE(fromData.exitCode, 0);
  QCOMPARE(fromData.out, fromFormula.out);
  QVERIFY(fromData.err.contains("note: Ignoring 1 line"));
}

void TestQuelmoraFt::errors()
{
  // x over five triangles: degree 0 is about h/3 = 1/12 off at both ends;
  // degree 1 is worst inside the last half triangle, at x = 0.87.
  const Run r = runTool({"--errors", "--formula", "x", "--name", "lin", "--degree", "1"});
  QCOMPARE(r.exitCode, 0);
  QList<QByteArray> l = lines(r.out);
  QCOMPARE(l.size(), 3);
  QCOMPARE(l[0], QByteArray("\"Function\";\"Degree\";\"MaxAbs\";\"RMSE\";\"ArgMax\";"));
  QList<QByteArray> cells = l[1].split(';');
  QCOMPARE(cells.size(), 5);
  QCOMPARE(cells[0], QByteArray("lin"));
  QCOMPARE(cells[1], QByteArray(" 0"));
  QVERIFY2(std::abs(cells[2].toDouble() - 1.0 / 12) < 2e-4, l[1].constData());
  QVERIFY2(l[2].startsWith("lin; 1; 0.45928; ") && l[2].endsWith("; 0.87"), l[2].constData());

  // A sweep: one block per count, in the order given, in --precision digits;
  // the error of x falls with the node distance.
  const Run s =
      runTool({"--errors", "--formula", "x", "--components-sweep", "3,5,9", "--precision", "3"});
  QCOMPARE(s.exitCode, 0);
  l = lines(s.out);
  QCOMPARE(l.size(), 4);
  QCOMPARE(l[0],
           QByteArray("\"Components\";\"Function\";\"Degree\";\"MaxAbs\";\"RMSE\";\"ArgMax\";"));
  QVERIFY2(l[1].startsWith("3; x; 0; 0.166; ") && l[2].startsWith("5; x; 0; 0.0832; ") &&
               l[3].startsWith("9; x; 0; 0.0415; "),
           s.out.constData());
}

// "-" is standard input for --data (text, or CSV with a separator) and
// standard output for -o, as with other Unix tools.
void TestQuelmoraFt::standardInputAndOutput()
{
  QTemporaryDir dir;
  const QByteArray csv("x;y\n0;1\n1;4\n2;9\n3;16\n");
  const Run fromFile = runTool({"--data", writeFile(dir, "f.csv", csv), "--include-domain"});
  QCOMPARE(fromFile.exitCode, 0);
  for (const QStringList& args : {QStringList{"--data", "-", "--separator", ";"},
                                  QStringList{"--data=-", "--separator=;", "-o", "-"}}) {
    const Run r = runTool(args + QStringList{"--include-domain"}, csv);
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.out, fromFile.out);
  }
  QByteArray txt = csv;
  const Run text = runTool({"--data", "-", "--include-domain"}, txt.replace(';', ' '));
  QCOMPARE(text.out, fromFile.out);
  QVERIFY(!QFileInfo::exists("-"));
}

QTEST_APPLESS_MAIN(TestQuelmoraFt)
#include "tst_quelmora_ft.moc"
