#include "common/datatable.h"
#include "common/fifodrain.h"
#include "common/testfiles.h"

#include <QtTest>

#include <algorithm>
#include <cmath>

namespace {

struct Run
{
  int exitCode = -1; // also for a crash or a hang
  QByteArray out, err;
};

// home: the user settings of the run ("" keeps the test's own).
Run runTool(const QStringList& args, const QByteArray& input = QByteArray(),
            const QString& home = QString())
{
  QProcess p;
  if (!home.isEmpty()) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("HOME", home);
    env.insert("XDG_CONFIG_HOME", home + "/.config");
    env.insert("XDG_DATA_HOME", home + "/.local/share");
    p.setProcessEnvironment(env);
  }
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

using Outputs = DataTable<QString, QByteArray, QStringList, QByteArray>;
using Bases = DataTable<QStringList, QString, int, QList<double>>;
using Sessions = DataTable<QStringList, bool, QString, QStringList>;
using Sweeps = DataTable<QStringList, QByteArrayList, QByteArray>;

} // namespace

class TestQuelmoraFt : public QObject
{
  Q_OBJECT

private slots:
  void defaultOutput();
  void columnsAndNames_data();
  void columnsAndNames();
  void nodesColumn_data();
  void nodesColumn();
  void finerThanTheDomain();
  void outputFile();
  void badInput_data();
  void badInput();
  void badInputLeavesOutputFile();
  void dataRoundTripsTheToolsOwnOutput();
  void errors();
  void higherDegreeBases_data();
  void higherDegreeBases();
  void sweepMarksAndOrders_data();
  void sweepMarksAndOrders();
  void standardInputAndOutput();
  void sessionFormulasAndData_data();
  void sessionFormulasAndData();
  void threadsGiveTheSameOutput_data();
  void threadsGiveTheSameOutput();
  void loadsNoGuiLibrary();
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
  // data file ("" for none), its content, arguments, output (without a file: its header line)
  Outputs::declare();
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
  auto [file, content, args, expected] = Outputs::fetch();
  QTemporaryDir dir;
  if (!file.isEmpty())
    args << "--data" << writeFile(dir, file, content) << "--output=function"
         << "--components=2";
  const Run r = runTool(args);
  QCOMPARE(r.exitCode, 0);
  QCOMPARE(file.isEmpty() ? lines(r.out).first() : r.out, expected);
}

// The components' rows follow their nodes, not the domain column: "nodes"
// adds a Nodes column before the first components. Without it the layout is
// that of the versions before, byte for byte.
void TestQuelmoraFt::nodesColumn_data()
{
  QTest::addColumn<QStringList>("args");
  QTest::addColumn<QByteArray>("expected");
  const QStringList small{"--domain", "0,1,4", "--components", "3", "--include-domain"};
  // clang-format off
  QTest::newRow("default layout") << small << QByteArray("\"Domain\";\"x\";\"x - Comp0\";\"x - Inverse0\";\n0; 0; 0.0833333; 0.0833333\n0.25; 0.25; 0.5; 0.291667\n0.5; 0.5; 0.916667; 0.5\n0.75; 0.75; ;0.708333\n1; 1; ;0.916667\n");
  QTest::newRow("beside the components") << small + QStringList{"--output", "inverse,nodes,function,components"} << QByteArray("\"Domain\";\"x\";\"Nodes\";\"x - Comp0\";\"x - Inverse0\";\n0; 0; 0; 0.0833333; 0.0833333\n0.25; 0.25; 0.5; 0.5; 0.291667\n0.5; 0.5; 1; 0.916667; 0.5\n0.75; 0.75; ;;0.708333\n1; 1; ;;0.916667\n");
  QTest::newRow("nodes alone") << QStringList{"--nodes", "0,0.1,0.6,1", "--output", "nodes"} << QByteArray("\"Nodes\";\n0\n0.1\n0.6\n1\n");
  // The kinds' own layouts are checked with the layout; here the options that set them.
  QTest::newRow("equidistant around a fixed point") << QStringList{"--partition", "equidistant", "--fixed-point", "0.3", "--output", "nodes"} << QByteArray("\"Nodes\";\n-0.2\n0.05\n0.3\n0.55\n0.8\n1.05\n");
  QTest::newRow("equidistant tenths end at high") << QStringList{"--partition", "equidistant", "--fixed-point", "0", "--distance", "0.1", "--output", "nodes"} << QByteArray("\"Nodes\";\n0\n0.1\n0.2\n0.3\n0.4\n0.5\n0.6\n0.7\n0.8\n0.9\n1\n");
  QTest::newRow("custom nodes placed by hand") << QStringList{"--domain", "0,1,4", "--partition", "custom", "--shape", "triangle", "--delta", "0.5", "--nodes", "0,0.25,1", "--output", "nodes,components"} << QByteArray("\"Nodes\";\"x - Comp0\";\n0; 0\n0.25; 0.25\n1; 1\n");
  QTest::newRow("custom nodes") << QStringList{"--domain", "0,1,4", "--partition", "custom", "--delta", "0.5", "--output", "nodes,components"} << QByteArray("\"Nodes\";\"x - Comp0\";\n0; 0.130021\n0.5; 0.5\n1; 0.869979\n");
  // clang-format on
}

void TestQuelmoraFt::nodesColumn()
{
  QFETCH(QStringList, args);
  QFETCH(QByteArray, expected);
  const Run r = runTool(args);
  QVERIFY2(r.exitCode == 0, r.err.constData());
  QCOMPARE(r.out, expected);
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
  const Run version = runTool({"--version"});
  QVERIFY(version.exitCode == 0 && version.out.startsWith("quelmora-ft ") && version.err.isEmpty());
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
  QTest::newRow("custom too many nodes") << QStringList{custom, "--delta", "1e-9"} << "--delta 1e-09 would lay out more than 10000001 nodes";
  QTest::newRow("custom too slow") << QStringList{custom, "--domain", "0,1,10000000", "--delta", "1e-6", "--variance", "1"} << "would cache";
  QTest::newRow("option of another kind") << QStringList{"--delta", "0.1"} << "--delta";
  QTest::newRow("degree 4") << QStringList{"--degree", "4"} << "--degree";
  QTest::newRow("unknown basis") << QStringList{"--basis", "legendre"} << "\"legendre\" is neither orthogonal nor closed-form";
  QTest::newRow("basis with a session") << QStringList{"--session", "@/empty.qms", "--basis", "closed-form"} << "--basis does not go with --session";
  QTest::newRow("session naming an unknown basis") << QStringList{"--session", "@/basis.qms"} << "MainWindow/higherDegreeBasis";
  QTest::newRow("precision 18") << QStringList{"--precision", "18"} << "--precision";
  QTest::newRow("threads 0") << QStringList{"--threads", "0"} << "--threads: 0 is outside 1..1024";
  QTest::newRow("threads 1025") << QStringList{"--threads", "1025"} << "--threads: 1025 is outside 1..1024";
  QTest::newRow("threads not a number") << QStringList{"--threads", "two"} << "--threads: \"two\" is not a whole number";
  QTest::newRow("threads negative") << QStringList{"--threads=-2"} << "--threads: -2 is outside";
  QTest::newRow("more names than formulas") << QStringList{"--name", "a", "--name", "b"} << "names";
  QTest::newRow("syntax error") << QStringList{"--formula", "sin("} << "Unexpected end of expression";
  QTest::newRow("two results") << QStringList{"--formula", "1,5"} << "more than one result";
  QTest::newRow("output file unnamed") << QStringList{"-o", ""} << "needs a file name";
  QTest::newRow("output directory missing") << QStringList{"-o", "no/such/dir/out.csv"} << "does not exist";
  QTest::newRow("too many values") << QStringList{"--domain", "0,1,10000000", "--components", "10000000"} << "too many values";
  QTest::newRow("missing data file") << QStringList{"--data", "@/nothere.csv"} << "no such file";
  QTest::newRow("x column beyond") << QStringList{"--data", "@/d.csv", "--x-column", "5"} << "only 3 columns";
  QTest::newRow("x column 10000") << QStringList{"--data", "@/d.csv", "--x-column", "10000"} << "--x-column: 10000 is outside";
  QTest::newRow("x column without data") << QStringList{"--x-column", "1"} << "--data";
  QTest::newRow("sweep without errors") << QStringList{"--components-sweep", "4,8"} << "needs --errors";
  QTest::newRow("sweep descending") << QStringList{"--errors", "--components-sweep", "8,4"} << "ascending";
  QTest::newRow("sweep of a custom partition") << QStringList{"--errors", custom, "--components-sweep", "4"} << "generic";
  QTest::newRow("sweep and components") << QStringList{"--errors", "--components", "5", "--components-sweep", "4"} << "--components";
  QTest::newRow("refinement without a sweep") << QStringList{"--errors", "--points-per-function", "64"} << "--components-sweep only";
  QTest::newRow("refinement of too few points") << QStringList{"--errors", "--components-sweep", "4", "--points-per-function", "7"} << "--points-per-function: 7 is outside 8..";
  QTest::newRow("refinement of data") << QStringList{"--data", "@/d.csv", "--errors", "--components-sweep", "2", "--points-per-function", "64"} << "no formula";
  QTest::newRow("refinement of random numbers") << QStringList{"--formula", "normal(0,1)", "--errors", "--components-sweep", "4", "--points-per-function", "64"} << "no formula";
  QTest::newRow("no resolved default count") << QStringList{"--domain", "0,1,6", "--errors", "--components-sweep", "default"} << "give the counts";
  QTest::newRow("errors and value columns") << QStringList{"--errors", "--output", "function"} << "--output";
  QTest::newRow("x column holding text") << QStringList{"--data", "@/dates.csv", "--x-column", "0"} << "holds text";
  QTest::newRow("option a session sets") << QStringList{"--session", "@/empty.qms", "--degree=1"} << "--degree does not go with --session";
  QTest::newRow("formulas without a session") << QStringList{"--formulas", "@/empty.qms"} << "--session";
  QTest::newRow("formulas file missing") << QStringList{"--session", "@/empty.qms", "--formulas", "@/nothere.ini"} << "no such file";
  QTest::newRow("session that is not there") << QStringList{"--session", "@/nothere.qms"} << "was not opened: it does not exist.";
  QTest::newRow("session the program refuses") << QStringList{"--session", "@/inverted.qms"} << "was not opened: the value of DomainWidget/highEdt_text";
  QTest::newRow("session naming a missing data file") << QStringList{"--session", "@/gone.qms"} << "MainWindow/dataFile";
  QTest::newRow("session whose data the import refuses") << QStringList{"--session", "@/unsorted.qms"} << "X axis - data is not sorted";
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
  writeFile(dir, "basis.qms", "[MainWindow]\nhigherDegreeBasis=Orthogonal\n");
  writeFile(dir, "inverted.qms", "[DomainWidget]\nlowEdt_text=2\nhighEdt_text=1\n");
  writeFile(dir, "gone.qms",
            "[MainWindow]\nfunctionTypeUsed=1\ndataFile=" + dir.filePath("gone.csv").toUtf8() +
                "\n");
  writeFile(dir, "unsorted.txt", "0 1\n2 2\n1 3\n3 4\n");
  writeFile(dir, "unsorted.qms",
            "[MainWindow]\nfunctionTypeUsed=1\ndataFile=" + dir.filePath("unsorted.txt").toUtf8() +
                "\n");
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

// Every thread count writes the same bytes; the partitions are large enough
// for the sums to be split.
void TestQuelmoraFt::threadsGiveTheSameOutput_data()
{
  QTest::addColumn<QStringList>("args");
  const QStringList domain{"--domain", "-1,2,200000", "--precision", "17"};
  // clang-format off
  QTest::newRow("generic triangles, degree 3") << domain + QStringList{"--formula", "sin(5*x)", "--formula", "x", "--components", "3000", "--degree", "3"};
  QTest::newRow("custom sines, degree 2, closed forms") << domain + QStringList{"--formula", "exp(-x)", "--partition", "custom", "--shape", "sin", "--delta", "0.001", "--degree", "2", "--basis", "closed-form"};
  QTest::newRow("custom Gaussians, errors") << domain + QStringList{"--formula", "x^2", "--partition", "custom", "--delta", "0.002", "--variance", "0.0005", "--degree", "1", "--errors"};
  // clang-format on
}

void TestQuelmoraFt::threadsGiveTheSameOutput()
{
  QFETCH(QStringList, args);
  const Run one = runTool(args + QStringList{"--threads", "1"});
  QCOMPARE(one.exitCode, 0);
  QVERIFY(!one.out.isEmpty());
  for (const char* threads : {"2", "7"}) {
    const Run r = runTool(args + QStringList{"--threads", threads});
    QCOMPARE(r.exitCode, 0);
    QVERIFY2(r.out == one.out, threads);
  }
  QCOMPARE(runTool(args).out, one.out); // all cores
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
  // x over five triangles: degree 0 is about h/3 = 1/12 off at both ends; degree 1 is exact.
  const Run r = runTool({"--errors", "--formula", "x", "--name", "lin", "--degree", "1"});
  const QList<QByteArray> l = lines(r.out);
  QVERIFY2(r.exitCode == 0 && l.size() == 3, r.err.constData());
  QCOMPARE(l[0], QByteArray("\"Function\";\"Degree\";\"MaxAbs\";\"RMSE\";\"ArgMax\";"));
  const QList<QByteArray> d0 = l[1].split(';'), d1 = l[2].split(';');
  QVERIFY2(d0.size() == 5 && d0[0] == "lin" && d0[1] == " 0" &&
               std::abs(d0[2].toDouble() - 1.0 / 12) < 2e-4 && d1[1] == " 1" &&
               std::abs(d1[2].toDouble()) < 1e-12,
           r.out.constData());
  // A sweep: one block per count, in the order given, in --precision digits.
  const QByteArray s =
      runTool({"--errors", "--formula", "x", "--components-sweep", "3,5,9", "--precision", "3"})
          .out;
  const QList<QByteArray> rows = lines(s);
  QVERIFY2(rows.size() == 4 && rows[1].startsWith("3; x; 0; 0.166; ") &&
               rows[2].startsWith("5; x; 0; 0.0832; ") && rows[3].startsWith("9; x; 0; 0.0415; "),
           s.constData());
}

// Degree 1 of a line is the line and its components are the slope, with
// the bases orthogonal on the points; the closed forms (chosen, or by a
// session) keep their old numbers, which are wrong at the ends and between
// unequal nodes.
void TestQuelmoraFt::higherDegreeBases_data()
{
  // arguments, session ("" for none), line, the columns of that line
  Bases::declare();
  const QStringList constant{"--formula", "1", "--degree", "1", "--output", "components"};
  const QStringList line{"--formula", "x",       "--degree",
                         "1",         "--nodes", "0,0.1,0.5,0.6,1",
                         "--output",  "inverse", "--include-domain"};
  const QString closed = "[MainWindow]\nhigherDegreeBasis=closed-form\n";
  // clang-format off
  QTest::newRow("constant, first component") << constant << "" << 1 << QList<double>{1, 0};
  QTest::newRow("constant, last component") << constant << "" << 5 << QList<double>{1, 0};
  QTest::newRow("constant, closed forms") << constant + QStringList{"--basis", "closed-form"} << "" << 1 << QList<double>{1, 8};
  QTest::newRow("constant, orthogonal named") << constant + QStringList{"--basis", "orthogonal"} << "" << 5 << QList<double>{1, 0};
  QTest::newRow("line between unequal nodes") << line << "" << 1601 << QList<double>{0.8, 0.783417, 0.8};
  QTest::newRow("line, closed forms") << line + QStringList{"--basis=closed-form"} << "" << 1601 << QList<double>{0.8, 0.783417, 1.56034};
  QTest::newRow("session with the closed forms") << QStringList{"--output", "components"} << closed + "[FtDegreeWidget]\nftDegreeSpin_value=1\nft1ChBox_checked=true\n" << 5 << QList<double>{0.916829, -7};
  QTest::newRow("session without the key") << QStringList{"--output", "components"} << "[FtDegreeWidget]\nftDegreeSpin_value=1\nft1ChBox_checked=true\n" << 5 << QList<double>{0.916829, 1};
  // clang-format on
}

void TestQuelmoraFt::higherDegreeBases()
{
  auto [args, session, row, expected] = Bases::fetch();
  QTemporaryDir dir;
  if (!session.isEmpty())
    args << "--session" << writeFile(dir, "s.qms", session.toUtf8()) << "--formulas"
         << writeFile(dir, "f.ini",
                      "[formulas]\n1\\formula_name=line\n1\\formula_expression=x\nsize=1\n");
  const Run r = runTool(args);
  QCOMPARE(r.exitCode, 0);
  const QList<QByteArray> cells = lines(r.out).value(row).split(';');
  QCOMPARE(cells.size(), expected.size());
  for (int i = 0; i < cells.size(); ++i)
    QVERIFY2(std::abs(cells[i].toDouble() - expected[i]) < 1e-6,
             lines(r.out).value(row).constData());
}

// The study's table marks the counts whose basic functions cover too few
// points (2000 subintervals: from 287 on); the orders, of the resolved ones,
// go beside -o FILE. "default" stops at the last resolved count; points per
// basic function refine the finer counts.
void TestQuelmoraFt::sweepMarksAndOrders_data()
{
  // The last row's count, subintervals, fewest points and mark; the counts of the MaxAbs order.
  Sweeps::declare(); // args, lastCells, fitted
  // clang-format off
  QTest::newRow("beyond the resolution") << QStringList{"--components-sweep", "4,28,286,1000,2000"} << QByteArrayList{"2000", "2000", "2", "yes"} << QByteArray("28; 286; 2");
  QTest::newRow("default counts") << QStringList{"--components-sweep", "default"} << QByteArrayList{"286", "2000", "8", "no"} << QByteArray("41; 286; 6");
  QTest::newRow("refined") << QStringList{"--components-sweep=4,28,286,1000,2000", "--points-per-function=64"} << QByteArrayList{"2000", "127936", "64", "no"} << QByteArray("286; 2000; 3");
  // clang-format on
}

void TestQuelmoraFt::sweepMarksAndOrders()
{
  const auto [args, lastCells, fitted] = Sweeps::fetch();
  QTemporaryDir dir;
  const QString path = dir.filePath("study.csv");
  const Run r = runTool(args + QStringList{"--errors", "--precision", "3", "-o", path});
  QVERIFY2(r.exitCode == 0, r.err.constData());
  const QList<QByteArray> rows = lines(readAll(path));
  const QList<QByteArray> cells = rows.last().split(';');
  QCOMPARE(cells.size(), 9);
  QCOMPARE((QByteArrayList{cells[0], cells[6].trimmed(), cells[7].trimmed(), cells[8].trimmed()}),
           lastCells);
  const QList<QByteArray> orders = lines(readAll(dir.filePath("study-orders.csv")));
  QCOMPARE(orders.size(), 3);
  // x is off by about h/3 at the ends: first order.
  QVERIFY2(orders[1].startsWith("x; 0; MaxAbs; ") && orders[1].endsWith("; " + fitted) &&
               std::abs(orders[1].split(';')[3].toDouble() - 1) < 0.1,
           orders[1].constData());
  // To standard output the table alone.
  QCOMPARE(runTool(args + QStringList{"--errors", "--precision", "3"}).out, readAll(path));
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

// Sessions saved before they carried their formulas (tests/data/sessions)
// and sessions that carry them. @ is a folder holding copies of the saved
// sessions and of their formulas file; each run has a home of its own, where
// the window may have recorded its formulas directory (@/window).
void TestQuelmoraFt::sessionFormulasAndData_data()
{
  // arguments, the window recorded its formulas directory, header (or the message of a
  // refusal), a run with the same output
  Sessions::declare();
  const QString two = "\"Domain\";\"sine\";\"sine - Comp0\";\"sine - Inverse0\";\"cubic\";"
                      "\"cubic - Comp0\";\"cubic - Inverse0\";";
  const QStringList carried{"--session", "@/carried.qms", "--include-domain"};
  // clang-format off
  QTest::newRow("formulas the session carries, none listed") << carried << false << two << QStringList{"--session", "@/formula-v1.qms", "--formulas", "@/formulas-v1.ini", "--include-domain"};
  QTest::newRow("carried formula, nothing else") << QStringList{"--session", "@/sine.qms", "--include-domain"} << false << "\"Domain\";\"sine\";\"sine - Comp0\";\"sine - Inverse0\";" << QStringList{"--formula", "sin(6*x)", "--name", "sine", "--domain", "0,1,2048", "--include-domain"};
  QTest::newRow("old session, --formulas") << QStringList{"--session", "@/formula-v1.qms", "--formulas", "@/formulas-v1.ini", "--include-domain"} << false << two << carried;
  QTest::newRow("old session, where the window keeps its formulas") << QStringList{"--session", "@/formula-v1.qms", "--include-domain"} << true << two << carried;
  QTest::newRow("old session, no formulas file") << QStringList{"--session", "@/formula-v1.qms"} << false << "the formula of function selector 0 of the session \"@/formula-v1.qms\" cannot be found: the session names it only by its place in a formulas file (FunctionSelector/comboBox0_currentIndex), and there is no formulas file" << QStringList();
  QTest::newRow("old session, position past the list") << QStringList{"--session", "@/formula-v1.qms", "--formulas", "@/one.ini"} << false << "FunctionSelector/comboBox0_currentIndex selects entry 1 of a list of 1 formulas in the formulas file \"@/one.ini\"" << QStringList();
  QTest::newRow("old session, listed formula invalid") << QStringList{"--session", "@/formula-v1.qms", "--formulas", "@/broken.ini"} << false << "selects the formula \"sine\", whose expression is not valid" << QStringList();
  QTest::newRow("data file moved beside its session") << QStringList{"--session", "@/data-v1.qms", "--include-domain"} << false << "\"Domain\";\"DataFile 1\";\"DataFile 1 - Comp0\";\"DataFile 1 - Comp1\";\"DataFile 1 - Inverse0\";\"DataFile 1 - Inverse1\";\"DataFile 2\";\"DataFile 2 - Comp0\";\"DataFile 2 - Comp1\";\"DataFile 2 - Inverse0\";\"DataFile 2 - Inverse1\";" << QStringList{"--data", "@/data-v1.csv", "--degree", "1", "--include-domain"};
  // clang-format on
}

void TestQuelmoraFt::sessionFormulasAndData()
{
  auto [args, windowRecorded, header, same] = Sessions::fetch();
  QTemporaryDir dir, home;
  const QString saved = QStringLiteral(QUELMORA_TEST_DATA "/sessions/");
  for (const QString& name : QDir(saved).entryList(QDir::Files))
    QVERIFY(QFile::copy(saved + name, dir.filePath(name)));
  // The saved session with the keys of today: selector positions that name nothing.
  QVERIFY(QFile::copy(dir.filePath("formula-v1.qms"), dir.filePath("carried.qms")));
  {
    QSettings s(dir.filePath("carried.qms"), QSettings::IniFormat);
    const char* const formulas[][2] = {{"sine", "sin(6*x)"}, {"cubic", "x^3 - x"}};
    for (int i = 0; i < 2; ++i) {
      s.setValue(QString("FunctionSelector/comboBox%1_currentIndex").arg(i), 9);
      s.setValue(QString("FunctionSelector/formula%1_name").arg(i), formulas[i][0]);
      s.setValue(QString("FunctionSelector/formula%1_expression").arg(i), formulas[i][1]);
    }
  }
  writeFile(dir, "sine.qms",
            "[FunctionSelector]\ncount=1\ncomboBox0_currentIndex=3\nformula0_name=sine\n"
            "formula0_expression=sin(6*x)\n");
  writeFile(dir, "one.ini",
            "[formulas]\n1\\formula_name=Default\n1\\formula_expression=x\nsize=1\n");
  writeFile(dir, "broken.ini",
            "[formulas]\n1\\formula_name=Default\n1\\formula_expression=x\n"
            "2\\formula_name=sine\n2\\formula_expression=sin(\nsize=2\n");
  if (windowRecorded) {
    QVERIFY(QDir(dir.path()).mkdir("window"));
    QVERIFY(
        QFile::copy(dir.filePath("formulas-v1.ini"), dir.filePath("window/FormulaBuilder.ini")));
    QSettings(home.path() + "/.config/korvant/quelmora.ini", QSettings::IniFormat)
        .setValue("MainWindow/formulasDirectory", dir.filePath("window"));
  }
  for (QStringList* list : {&args, &same})
    for (QString& a : *list)
      a.replace('@', dir.path());
  header.replace('@', dir.path());

  const Run r = runTool(args, QByteArray(), home.path());
  if (same.isEmpty()) {
    QCOMPARE(r.exitCode, 2);
    QVERIFY(r.out.isEmpty());
    QVERIFY2(r.err.contains(header.toUtf8()), r.err.constData());
    QCOMPARE(r.err.contains("--formulas"), !args.contains("--formulas"));
    return;
  }
  QVERIFY2(r.exitCode == 0, r.err.constData());
  // The sessions' colours are nothing to the tool, and nothing to say.
  QVERIFY2(!r.err.contains("QVariant"), r.err.constData());
  QCOMPARE(lines(r.out).first(), header.toUtf8());
  QCOMPARE(r.out, runTool(same, QByteArray(), home.path()).out);
}

// The batch tool runs where there is no display: no Qt GUI library is loaded
// while it runs (those it needs are all in place from the start).
void TestQuelmoraFt::loadsNoGuiLibrary()
{
  // It keeps standard input in a temporary file while it reads it: once that
  // is open it runs its own code, every library it needs in place.
  QTemporaryDir tmp;
  QProcess p;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("TMPDIR", tmp.path());
  p.setProcessEnvironment(env);
  p.start(QUELMORA_FT_PATH, {"--data", "-"});
  QVERIFY(p.waitForStarted());
  const QString proc = QStringLiteral("/proc/%1/").arg(p.processId());
  const auto keepsInput = [&] {
    const QFileInfoList fds = QDir(proc + "fd").entryInfoList(QDir::AllEntries | QDir::System);
    return std::any_of(fds.begin(), fds.end(), [&](const QFileInfo& fd) {
      return fd.symLinkTarget().startsWith(tmp.path());
    });
  };
  QElapsedTimer waited;
  waited.start();
  while (!keepsInput() && waited.elapsed() < 60000)
    QThread::msleep(10);
  QVERIFY(keepsInput());
  QFile maps(proc + "maps");
  QVERIFY(maps.open(QIODevice::ReadOnly));
  const QByteArray mapped = maps.readAll();
  p.closeWriteChannel();
  p.waitForFinished();
  QVERIFY(mapped.contains("libQt5Core"));
  QVERIFY2(!mapped.contains("libQt5Gui") && !mapped.contains("libQt5Widgets"), mapped.constData());
}

QTEST_APPLESS_MAIN(TestQuelmoraFt)
#include "tst_quelmora_ft.moc"
