// Starting on a file and dropping one on the window: the command line is read
// as the program entry reads it, the window opens what it was given.
#include "guitesthelpers.h"

#include "common/promptrecorder.h"
#include "common/testfiles.h"
#include "gui/aboutwidget.h"
#include "gui/launch.h"

#include <QLabel>

using T = MainWindowTester;

class TestLaunch : public QObject
{
  Q_OBJECT

  ProgramEnvironment env;

  QString path(const QString& name) const { return env.dir.filePath(name); }
  void write(const QString& name, const QByteArray& text) { writeFile(path(name), text); }

private slots:
  void initTestCase()
  {
    env.setUp();
    write("s.qms", "[FtDegreeWidget]\nftDegreeSpin_value=2\n");
    write("bad.qms", "[DomainWidget]\nlowEdt_text=3\nhighEdt_text=2\n");
    write("d.CSV", "0;1\n1;2\n2;4\n3;8\n4;16\n");
    write("notes.dat", "0 1\n");
    QDir(env.dir.path()).mkdir("folder.qms");
    CsvDialog::setRunner([](CsvDialog& d) {
      d.buttonBox()->button(QDialogButtonBox::Ok)->click();
      return d.result();
    });
  }
  void init() { ProgramEnvironment::clearWindowSettings(); }

  void arguments_data()
  {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("exitCode"); // -1: the window starts
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("says"); // in the output or the error line
    // clang-format off
    QTest::newRow("no file") << QStringList{} << -1 << int(Launch::NoFile) << "";
    QTest::newRow("session") << QStringList{path("s.qms")} << -1 << int(Launch::Session) << "";
    QTest::newRow("data, upper-case suffix") << QStringList{path("d.CSV")} << -1 << int(Launch::Data) << "";
    QTest::newRow("help") << QStringList{"--help"} << 0 << 0 << "[FILE]";
    QTest::newRow("version") << QStringList{"-v"} << 0 << 0 << "quelmora 1.4\n";
    QTest::newRow("unknown option") << QStringList{"--bogus", path("s.qms")} << 2 << 0 << "'bogus'";
    QTest::newRow("missing file") << QStringList{path("gone.qms")} << 2 << 0 << "gone.qms\": No such file";
    QTest::newRow("two files") << QStringList{path("s.qms"), path("d.CSV")} << 2 << 0 << "at most one";
    QTest::newRow("directory") << QStringList{path("folder.qms")} << 2 << 0 << "directory";
    QTest::newRow("other file") << QStringList{path("notes.dat")} << 2 << 0 << "neither a session";
    // clang-format on
  }

  void arguments()
  {
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    QFETCH(int, kind);
    QFETCH(QString, says);
    const Launch::Request r = Launch::parseArguments(QStringList{"quelmora"} + args);
    QCOMPARE(r.exit, exitCode >= 0);
    if (exitCode == 2) {
      QCOMPARE(r.exitCode, 2);
      QVERIFY(r.out.isEmpty() && r.error.startsWith("quelmora: ") && r.error.count('\n') == 1);
      QVERIFY2(r.error.endsWith('\n') && r.error.contains(says), qPrintable(r.error));
    } else if (exitCode == 0) {
      QCOMPARE(r.exitCode, 0);
      QVERIFY(r.error.isEmpty() && r.out.contains(says));
    } else {
      QCOMPARE(int(r.kind), kind);
      QCOMPARE(r.file, args.isEmpty() ? QString() : args.first());
    }
  }

  // The same version in the About box; Esc closes it.
  void aboutBox()
  {
    AboutWidget about;
    QCOMPARE(about.findChild<QLabel*>("versionValueLbl")->text(), QString("1.4"));
    QVERIFY(!about.findChild<QLabel*>("logoLbl")->pixmap(Qt::ReturnByValue).isNull());
    about.show();
    QVERIFY(QTest::qWaitForWindowActive(&about));
    QTest::keyClick(&about, Qt::Key_Escape);
    QVERIFY(!about.isVisible());
  }

  // The file is given at start (before the window runs) or dropped on the running window.
  void opensWhatItIsGiven_data()
  {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("dropped");
    QTest::addColumn<QString>("session"); // the session open afterwards
    QTest::addColumn<int>("source");      // 0 formulas, 1 data
    QTest::addColumn<QString>("refusal"); // the window's own message, if any
    // clang-format off
    QTest::newRow("session at start") << "s.qms" << false << "s.qms" << 0 << "";
    QTest::newRow("data at start, after the start-up session") << "d.CSV" << false << "default.qms" << 1 << "";
    QTest::newRow("refused session: start-up session") << "bad.qms" << false << "default.qms" << 0 << "Error when opening session";
    QTest::newRow("dropped session") << "s.qms" << true << "s.qms" << 0 << "";
    QTest::newRow("dropped other file") << "notes.dat" << true << "default.qms" << 0 << "";
    // clang-format on
  }

  void opensWhatItIsGiven()
  {
    QFETCH(QString, name);
    QFETCH(bool, dropped);
    QFETCH(QString, session);
    QFETCH(int, source);
    QFETCH(QString, refusal);
    PromptRecorder rec;
    auto w = std::make_unique<MainWindow>();
    if (!dropped)
      w->setStartupFile(path(name));
    w->show();
    QTRY_VERIFY(!w->currentSessionFile().isEmpty());
    if (dropped)
      QCOMPARE(dropFile(w.get(), path(name)), Launch::kindOf(name) != Launch::NoFile);
    QTRY_COMPARE(QFileInfo(w->currentSessionFile()).fileName(), session);
    QTRY_COMPARE(int(w->functionSourceType()), source);
    QCOMPARE(T::degreeSpin(w.get())->value(), session == "s.qms" ? 2 : 0);
    QCOMPARE(w->recentSessions().first(), w->currentSessionFile());
    QCOMPARE(rec.titles(), refusal.isEmpty() ? QStringList() : QStringList{refusal});
  }
};

QTEST_MAIN(TestLaunch)
#include "tst_launch.moc"
