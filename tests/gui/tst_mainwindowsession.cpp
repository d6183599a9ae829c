// Session files as the main window writes and reads them, the recent-session
// list, the default session, and refusals of damaged sessions and writes.
#include "mainwindowtester.h"

#include "common/promptrecorder.h"
#include "common/testfiles.h"
#include "gui/components/plotwidget.h"
#include "gui/exportwidget.h"
#include "gui/figureexportwidget.h"
#include "gui/formulabuilderwidget.h"
#include "gui/inputs/partitionplotdriver.h"
#include "math/domains/enumerationbase.h"
#include "midle/session/apppaths.h"

#include <QComboBox>
#include <QDir>
#include <QRadioButton>

#include <sys/stat.h>

namespace {

using T = MainWindowTester;
using Ptr = std::unique_ptr<MainWindow>;

// The preferences dialog is a window of its own.
template <typename W>
W* preference(const char* name)
{
  for (QWidget* top : QApplication::topLevelWidgets())
    if (auto* found = top->findChild<W*>(QLatin1String(name)))
      return found;
  qFatal("no %s", name);
}

bool reported(const PromptRecorder& rec, const char* title, const QString& text)
{
  for (const Prompt::Message& m : rec.messages)
    if (m.title == QLatin1String(title) && m.text.contains(text))
      return true;
  return false;
}

// Runs fill on the next modal dialog of type D, then cancels it.
template <typename D>
void cancelNextDialog(const std::function<void(D*)>& fill)
{
  QTimer::singleShot(0, [fill] {
    auto* d = qobject_cast<D*>(QApplication::activeModalWidget());
    if (!d)
      qFatal("no dialog");
    fill(d);
    d->reject();
  });
}

// The window's formulas file holds content until the end of the test.
struct FormulaList
{
  QString file;
  QByteArray previous;
  FormulaList(const QString& path, const QByteArray& content) : file(path), previous(readAll(path))
  {
    writeFile(file, content);
  }
  ~FormulaList() { writeFile(file, previous); }
};

const QString savedSessions = QStringLiteral(QUELMORA_TEST_DATA "/sessions/");

} // namespace

class TestMainWindowSession : public QObject
{
  Q_OBJECT

  ProgramEnvironment env;

  QString path(const QString& name) const { return env.dir.filePath(name); }
  // Opens an empty session: back to the defaults.
  void openEmpty(MainWindow* w)
  {
    writeFile(path("empty.qms"), QByteArray());
    QVERIFY(w->openSession(path("empty.qms")));
  }

private slots:
  void initTestCase() { env.setUp(); }
  void init() { ProgramEnvironment::clearWindowSettings(); }

  // End to end: the start-up session is created, a node dragged with the mouse
  // and the session saved through the menu; the file then holds the moved node.
  void startUpSessionDragANodeAndSave()
  {
    PromptRecorder rec;
    Ptr w = startWindow();
    const QString def = MainWindow::defaultSessionPath();
    QCOMPARE(def, path("default.qms"));
    QCOMPARE(w->currentSessionFile(), def);
    QVERIFY(QFileInfo::exists(def));
    QCOMPARE(w->recentSessions(), QStringList{def});
    QCOMPARE(w->windowTitle(), QStringLiteral("Quelmora - default.qms[*]"));
    QCOMPARE(T::nodes(w.get()), (QVector<double>{0.0, 0.25, 0.5, 0.75, 1.0}));

    PartitionPlotDriver{T::partitionWidget(w.get())}.dragNode(0.25, 0.4);
    const QVector<double> moved = T::nodes(w.get());
    QVERIFY2(moved.at(1) > 0.3 && moved.at(1) < 0.5, qPrintable(QString::number(moved.at(1))));
    T::action(w.get(), "actionSaveSession")->trigger();
    QVERIFY(rec.messages.isEmpty());
    QSettings s(def, QSettings::IniFormat);
    QCOMPARE(s.value("MainWindow/partitionType").toInt(), 6);
    QCOMPARE(s.value("GenericRuspini/NodeList/size").toInt(), 5);
    QCOMPARE(s.value("GenericRuspini/NodeList/2/node").toDouble(), moved.at(1));
    Ptr again = startWindow();
    QCOMPARE(again->currentSessionFile(), def);
    QCOMPARE(T::nodes(again.get()), moved);

    // Without a directory of the test's own it belongs beside the program when writable.
    MainWindow::setDefaultSessionDirectory(QString());
    const QString placed = MainWindow::defaultSessionPath();
    MainWindow::setDefaultSessionDirectory(env.dir.path());
    QCOMPARE(placed, AppPaths::writableAppDirectory() + QStringLiteral("/default.qms"));
    if (AppPaths::isDirectoryWritable(QCoreApplication::applicationDirPath()))
      QCOMPARE(QFileInfo(placed).absolutePath(),
               QDir(QCoreApplication::applicationDirPath()).absolutePath());
  }

  void savedIniTextPerKind_data()
  {
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("group");
    QTest::addColumn<bool>("random");
    // clang-format off
    QTest::newRow("generic") << "actionEquidistant" << 6 << "GenericRuspini" << false;
    QTest::newRow("equidistant") << "actionFixedPT" << 7 << "EquidistantRuspini" << false;
    QTest::newRow("custom") << "actionPartDelta" << 8 << "CustomPartition" << false;
    QTest::newRow("random data") << "actionEquidistant" << 6 << "GenericRuspini" << true;
    // clang-format on
  }

  void savedIniTextPerKind()
  {
    QFETCH(QString, action);
    QFETCH(int, kind);
    QFETCH(QString, group);
    QFETCH(bool, random);
    PromptRecorder rec;
    Ptr w = startWindow();
    T::action(w.get(), action.toLatin1())->trigger();
    if (random)
      T::randomData(w.get())->trigger();
    QCOMPARE(int(w->functionSourceType()), int(random));
    const QString file = path(QString::fromLatin1(QTest::currentDataTag()) + ".qms");
    QVERIFY(w->saveSession(file));
    QSettings s(file, QSettings::IniFormat);
    const QStringList groups = s.childGroups();
    for (const char* g : {"GenericRuspini", "EquidistantRuspini", "CustomPartition"})
      QCOMPARE(groups.contains(QLatin1String(g)), group == QLatin1String(g));
    for (const char* g : {"Preferences_page0", "Preferences_page1", "DomainWidget",
                          "FunctionSelector", "FtDegreeWidget", "MainWindow"})
      QVERIFY2(groups.contains(QLatin1String(g)), g);
    s.beginGroup("MainWindow");
    QCOMPARE(s.value("partitionType").toInt(), kind);
    QCOMPARE(s.value("functionTypeUsed").toInt(), int(random));
    QVERIFY(s.contains("dataFile"));
    if (!random)
      QCOMPARE(s.value("dataFile").toString(), QString());
    QCOMPARE(s.contains("valueSeparator"), random);
    QCOMPARE(s.contains("decimalSeparator"), random);
    QCOMPARE(s.value("zoom").toDouble(), 1.0);
    QCOMPARE(s.value("legendAlignment").toInt(), 34);
    QCOMPARE(s.value("showLegend").toString(), QStringLiteral("false"));
    QCOMPARE(s.value("higherDegreeBasis").toString(), QStringLiteral("orthogonal"));
    s.endGroup();
    QCOMPARE(s.value("FunctionSelector/count").toInt(), 1);
    QCOMPARE(s.value("FtDegreeWidget/ftDegreeSpin_value").toInt(), 0);
    QCOMPARE(s.value("FtDegreeWidget/ft0ChBox_checked").toString(), QStringLiteral("true"));
    const QVector<double> nodes = kind == 7 ? QVector<double>() : T::nodes(w.get());
    QCOMPARE(s.contains(group + "/NodeList/size"), kind != 7);
    QCOMPARE(s.value(group + "/NodeList/size", 0).toInt(), nodes.size());
    for (int i = 0; i < nodes.size(); ++i)
      QCOMPARE(s.value(group + QStringLiteral("/NodeList/%1/node").arg(i + 1)).toDouble(),
               nodes.at(i));
    // Random data cannot be restored: the session comes back with the formulas.
    QVERIFY(w->openSession(file));
    QCOMPARE(w->functionSourceType(), FunctionSource::Formulas);
    QVERIFY(rec.messages.isEmpty());
  }

  // The bases of the higher degrees are the session's; a session from before
  // the choice opens with the orthogonal ones, whatever was chosen.
  void higherDegreeBasisGoesWithTheSession()
  {
    PromptRecorder rec;
    Ptr w = startWindow();
    auto* basis = T::child<QComboBox>(w.get(), "basisCbox");
    FtransformWidget* ft = T::controller(w.get());
    T::degreeSpin(w.get())->setValue(1);
    T::degreeBox(w.get(), 1)->setChecked(true);
    const auto slopes = [ft] {
      return ft->components().value({ft->functions().value(0), 2})->values();
    };
    const std::vector<double> orthogonal = slopes();
    basis->setCurrentIndex(1);
    QCOMPARE(ft->higherDegreeBasis(), Fn::HigherDegreeBasis::ClosedForm);
    QVERIFY(slopes() != orthogonal);
    QVERIFY(w->saveSession(path("closed.qms")));
    QCOMPARE(QSettings(path("closed.qms"), QSettings::IniFormat)
                 .value("MainWindow/higherDegreeBasis")
                 .toString(),
             QStringLiteral("closed-form"));

    QByteArray old = readAll(path("closed.qms"));
    old.replace("higherDegreeBasis=closed-form\n", "");
    writeFile(path("old.qms"), old);
    QVERIFY(w->openSession(path("old.qms")));
    QCOMPARE(basis->currentIndex(), 0);
    QCOMPARE(ft->higherDegreeBasis(), Fn::HigherDegreeBasis::Orthogonal);
    QVERIFY(slopes() == orthogonal);
    QVERIFY(w->openSession(path("closed.qms")));
    QCOMPARE(basis->currentIndex(), 1);
    QCOMPARE(ft->higherDegreeBasis(), Fn::HigherDegreeBasis::ClosedForm);
    QVERIFY(rec.messages.isEmpty());
  }

  void dataSessionKeepsItsPartition()
  {
    PromptRecorder rec;
    Ptr w = startWindow();
    MainWindow* const win = w.get();
    const QString data = path("wave.txt");
    QByteArray rows("x y\n");
    for (int i = 0; i <= 50; ++i)
      rows += QByteArray::number(i * 0.1) + ' ' + QByteArray::number(i * i * 0.01) + '\n';
    writeFile(data, rows);
    QVERIFY(T::loadDataFile(win, DataFileInfo(QFile::encodeName(data), false, 0), true));
    T::setFunctionType(win, FunctionSource::TableData);

    // Node distance and fixed point are relative to the data's domain, beyond the input's 0..1.
    T::action(win, "actionFixedPT")->trigger();
    PartitionWidgetBase* pw = T::partitionWidget(win);
    pw->findChild<QLineEdit*>("elemWidthEdt")->setText(QStringLiteral("2"));
    pw->onInputsChanged();
    auto* slider = pw->findChild<QwtSlider*>("fixedPtSlider");
    slider->setValue(slider->upperBound());
    using Pt = DataHolders::Partitions::FuzzyPt;
    const double fixedPoint = T::partitionWidget(win)->data().dynamicCast<Pt>()->fixedPoint;
    QVERIFY(fixedPoint > 1.0);
    const QVector<double> nodes = T::nodes(win);
    const QString file = path("data.qms");
    QVERIFY(w->saveSession(file));
    QSettings s(file, QSettings::IniFormat);
    QCOMPARE(s.value("MainWindow/dataFile").toString(), data);
    QVERIFY(s.contains("MainWindow/valueSeparator") && s.contains("MainWindow/decimalSeparator"));
    openEmpty(win);
    QCOMPARE(w->functionSourceType(), FunctionSource::Formulas);
    QVERIFY(w->openSession(file));
    QCOMPARE(w->functionSourceType(), FunctionSource::TableData);
    QCOMPARE(w->windowTitle(), QStringLiteral("Quelmora - data.qms - ") + data + "[*]");
    const auto fixed = T::partitionWidget(win)->data().dynamicCast<Pt>();
    QCOMPARE(fixed->partElementWidth, 2.0);
    QCOMPARE(fixed->fixedPoint, fixedPoint);
    QCOMPARE(T::nodes(win), nodes);
    QVERIFY(!rec.titles().contains(QStringLiteral("Error when opening session")));
  }

  void recentListSwapsAndKeepsItsOrder()
  {
    PromptRecorder rec;
    Ptr w = startWindow();
    preference<QSpinBox>("maxRecentSpin")->setValue(7);
    const QString s1 = path("s1.qms"), s2 = path("s2.qms"), s3 = path("s3.qms"),
                  s4 = path("s4.qms");
    for (const QString& p : {s4, s3, s2, s1}) {
      writeFile(p, QByteArray());
      T::addRecent(w.get(), p);
    }
    QCOMPARE(T::menuOrder(w.get()).mid(0, 4), (QStringList{s1, s2, s3, s4}));
    // The third entry goes to the top of the menu; the list only swaps it with the first.
    T::addRecent(w.get(), s3);
    QCOMPARE(T::menuOrder(w.get()).mid(0, 4), (QStringList{s3, s1, s2, s4}));
    QCOMPARE(w->recentSessions().mid(0, 4), (QStringList{s3, s2, s1, s4}));

    w->close();
    std::unique_ptr<QSettings> s(ProgramEnvironment::user());
    QStringList stored;
    for (int i = 0, n = s->beginReadArray("MainWindow/Menu"); i < n; ++i) {
      s->setArrayIndex(i);
      stored << s->value("recent").toString();
    }
    QCOMPARE(stored.mid(0, 4), (QStringList{s3, s2, s1, s4}));
    w.reset();
    Ptr again = startWindow();
    QCOMPARE(T::menuOrder(again.get()).mid(0, 4), (QStringList{s3, s2, s1, s4}));
    QCOMPARE(again->currentSessionFile(), s3);

    // At the limit a new entry drops the last.
    const QStringList before = again->recentSessions();
    preference<QSpinBox>("maxRecentSpin")->setValue(before.size());
    T::addRecent(again.get(), path("s5.qms"));
    const QStringList dropped = QStringList{path("s5.qms")} + before.mid(0, before.size() - 1);
    QCOMPARE(again->recentSessions(), dropped);
    QCOMPARE(T::menuOrder(again.get()), again->recentSessions());
  }

  // A refused start-up session leaves the formulas on the domain input's
  // points, not on the painting resolution the controller drew with.
  void refusedStartUpSessionKeepsTheDomainInput()
  {
    PromptRecorder rec;
    const QString bad = path("refused-start.qms");
    writeFile(bad, "[DomainWidget]\nlowEdt_text=3\nhighEdt_text=2\n");
    {
      std::unique_ptr<QSettings> s(ProgramEnvironment::user());
      s->beginWriteArray("MainWindow/Menu", 1);
      s->setArrayIndex(0);
      s->setValue("recent", bad);
      s->endArray();
    }
    Ptr w = startWindow();
    QCOMPARE(rec.titles(), QStringList{"Error when opening session"});
    QCOMPARE(int(T::domain(w.get())->size()), T::domainText(w.get(), "discrEdt").toInt() + 1);
  }

  // Every value the validator refuses is in its own test; here the window's side:
  // the message names file and key, and the work stays as it was.
  void hostileSessionIsRefusedAndTheWorkKept_data()
  {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("key");
    const QString truncated = path("truncated.txt"), binaryData = path("binary.csv");
    writeFile(truncated, "0 1\n1 2\n");
    writeFile(binaryData, QByteArray("1;2\n\0\0\0\xff", 9));
    const QByteArray data = "[MainWindow]\nfunctionTypeUsed=1\ndataFile=";
    // clang-format off
    QTest::newRow("inverted domain") << QByteArray("[DomainWidget]\nlowEdt_text=3\nhighEdt_text=2\n") << "DomainWidget/highEdt_text";
    QTest::newRow("binary session") << QByteArray("\x7f" "ELF\0\0\x01\x02garbage", 16) << "";
    // Data files that pass the checks but cannot be read: applied, failed, then undone.
    QTest::newRow("truncated data") << data + truncated.toUtf8() + "\npartitionType=7\n[FunctionSelector]\ncount=2\n" << "MainWindow/dataFile";
    QTest::newRow("binary data") << data + binaryData.toUtf8() + "\n" << "MainWindow/dataFile";
    // clang-format on
  }

  void hostileSessionIsRefusedAndTheWorkKept()
  {
    QFETCH(QByteArray, text);
    QFETCH(QString, key);
    PromptRecorder rec;
    Ptr w = startWindow();
    T::action(w.get(), "actionPartDelta")->trigger();
    T::degreeSpin(w.get())->setValue(2);
    const QString before = T::fingerprint(w.get());
    // One file per row: the settings cache may not notice a rewrite within a second.
    const QString file = path(QString::fromLatin1(QTest::currentDataTag()) + ".qms");
    writeFile(file, text);
    QVERIFY(!w->openSession(file));
    // The data reader may have said why first; the refusal comes last.
    QVERIFY(!rec.messages.isEmpty());
    const Prompt::Message& m = rec.messages.last();
    QCOMPARE(m.icon, QMessageBox::Critical);
    QCOMPARE(m.title, QStringLiteral("Error when opening session"));
    QVERIFY2(m.text.contains(file) && m.text.contains(key), qPrintable(m.text));
    QCOMPARE(T::fingerprint(w.get()), before);
  }

  // The settings file blocked by a directory, the session by a file standing for one.
  void failedWritesAreReported()
  {
    const QString settingsFile = std::unique_ptr<QSettings>(ProgramEnvironment::user())->fileName();
    QFile::remove(settingsFile);
    QVERIFY(QDir().mkpath(settingsFile));
    writeFile(path("blocker"), "x");
    const QString target = path("blocker/session.qms");
    {
      PromptRecorder rec;
      Ptr w = startWindow();
      rec.messages.clear();
      QVERIFY(!w->saveSession(target));
      QVERIFY(reported(rec, "Error when saving session", target));
      // A FIFO (or a device) is no session: refused, never read (a hang) nor replaced.
      const QString fifo = path("fifo.qms");
      QVERIFY(mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0);
      rec.messages.clear();
      QVERIFY(!w->saveSession(fifo));
      QVERIFY(reported(rec, "Error when saving session", fifo));
      QVERIFY(!QFileInfo(fifo).isFile() && QFile::remove(fifo));
      // So are the session and the settings written on exit.
      rec.messages.clear();
      preference<QRadioButton>("allRbtn")->setChecked(true);
      T::setSessionFile(w.get(), target);
      w->close();
      QVERIFY(reported(rec, "Error when saving session", target));
      QVERIFY2(reported(rec, "Error when saving settings", settingsFile),
               qPrintable(rec.titles().join(';')));
    }
    QVERIFY(QDir().rmdir(settingsFile));
    env.setUp();
  }

  void invalidInputBlocksSaving()
  {
    PromptRecorder rec;
    Ptr w = startWindow();
    const QString file = w->currentSessionFile();
    const QByteArray before = readAll(file);
    T::child<QWidget>(w.get(), "domainWidget")->findChild<QLineEdit*>("lowEdt")->setText("5");
    T::action(w.get(), "actionSaveSession")->trigger();
    QCOMPARE(rec.titles(), QStringList{QStringLiteral("Error when saving session")});
    QCOMPARE(rec.messages.first().text,
             QStringLiteral("Session could not be saved, invalid input values: Low and High (Low "
                            "must be less than High)."));
    QVERIFY(!T::child<QLineEdit>(w.get(), "highEdt")->styleSheet().isEmpty());
    QCOMPARE(readAll(file), before);
    // Nor does the save on exit write a session that could not be opened again.
    rec.messages.clear();
    preference<QRadioButton>("allRbtn")->setChecked(true);
    w->close();
    QCOMPARE(rec.messages.size(), 1);
    QVERIFY(reported(rec, "Error when saving session", file));
    QVERIFY(reported(rec, "Error when saving session", "DomainWidget/highEdt_text"));
    QCOMPARE(readAll(file), before);
    QCOMPARE(QDir(env.dir.path()).entryList({"default.qms.*"}), QStringList());
  }

  // Fresh start, equidistant partition: its fixed point at low is sound; a
  // name typed without a suffix gets ".qms", and the session dialogs start
  // in the folder of the last session.
  void savingWhatAFreshStartGives()
  {
    PromptRecorder rec;
    Ptr w = startWindow();
    T::action(w.get(), "actionFixedPT")->trigger();
    T::action(w.get(), "actionSaveSession")->trigger();
    QVERIFY2(rec.messages.isEmpty(), qPrintable(rec.titles().join(';')));
    QVERIFY(readAll(w->currentSessionFile()).contains("partitionType=7"));
    QStringList dirs;
    QVERIFY(QDir().mkpath(path("sub")));
    Prompt::setFileHandler([&](const QString&, const QString& dir, const QString&) {
      dirs << dir;
      return dirs.size() == 1 ? path("sub/s1") : QString();
    });
    T::action(w.get(), "actionSaveAsSession")->trigger();
    T::action(w.get(), "actionOpenSession")->trigger();
    QVERIFY(QFileInfo::exists(path("sub/s1.qms")) && w->currentSessionFile() == path("sub/s1.qms"));
    QCOMPARE(dirs.last(), QDir(path("sub")).canonicalPath());
    // A new domain puts the fixed point at low + h.
    T::child<QWidget>(w.get(), "domainWidget")->findChild<QLineEdit*>("lowEdt")->setText("-1");
    T::domainChanged(w.get());
    const auto pt =
        T::partitionWidget(w.get())->data().dynamicCast<DataHolders::Partitions::FuzzyPt>();
    QVERIFY(pt && pt->fixedPoint == -0.75);
  }

  // Changes mark the title and are asked about before they would be lost.
  void unsavedWorkIsAskedAbout()
  {
    PromptRecorder rec;
    Ptr w = startWindow();
    const QString def = w->currentSessionFile(), other = path("other.qms");
    QVERIFY(w->saveSession(other) && !w->isWindowModified());
    T::degreeSpin(w.get())->setValue(1);
    QVERIFY(w->isWindowModified());
    rec.messageAnswer = QMessageBox::Cancel; // nothing happens, no file dialog either
    rec.fileAnswer = other;
    T::action(w.get(), "actionOpenSession")->trigger();
    QVERIFY(!w->openFile(other) && w->currentSessionFile() == def); // dropped or given
    preference<QRadioButton>("noneRbtn")->setChecked(true);
    QVERIFY(!w->close() && rec.fileCaptions.isEmpty() && rec.messages.size() == 3);
    QCOMPARE(rec.messages[2].text, QString("Save changes to default.qms?"));
    QCOMPARE(rec.messages[2].buttons,
             QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
    rec.messageAnswer = QMessageBox::Save;
    T::action(w.get(), "actionOpenSession")->trigger();
    QVERIFY(readAll(def).contains("ftDegreeSpin_value=1"));
    QVERIFY(w->currentSessionFile() == other && !w->isWindowModified());
    T::degreeSpin(w.get())->setValue(2); // saved on exit: nothing is asked
    rec.messages.clear();
    preference<QRadioButton>("allRbtn")->setChecked(true);
    QVERIFY(w->close() && rec.messages.isEmpty());
  }

  // Sessions saved before they carried their formulas open with the user's
  // list and save every key they had with its value, the export fields
  // included; a data file that moved with its session is found beside it.
  void savedSessionsKeepTheirKeys_data()
  {
    QTest::addColumn<QString>("name");
    QTest::newRow("formulas") << "formula-v1";
    QTest::newRow("data file moved beside") << "data-v1";
  }

  void savedSessionsKeepTheirKeys()
  {
    QFETCH(QString, name);
    PromptRecorder rec;
    QTemporaryDir dir;
    for (const QString& file : QDir(savedSessions).entryList(QDir::Files))
      QVERIFY(QFile::copy(savedSessions + file, dir.filePath(file)));
    FormulaList list(path("FormulaBuilder.ini"), readAll(dir.filePath("formulas-v1.ini")));
    Ptr w = startWindow();
    const QString session = dir.filePath(name + ".qms");
    QVERIFY(w->openSession(session));
    QVERIFY2(rec.titles().filter("Error").isEmpty(), qPrintable(rec.titles().join(';')));
    const bool data = name.startsWith("data");
    QCOMPARE(int(w->functionSourceType()), data ? 1 : 0);
    QCOMPARE(T::functions(w.get()).size(), 2);
    QCOMPARE(T::selector(w.get())->selection(0), QString("sine"));
    QCOMPARE(T::selector(w.get())->selection(1), QString("cubic"));
    if (data)
      QCOMPARE(T::dataFileInfo(w.get()).filePath(), dir.filePath("data-v1.csv"));

    const QString again = dir.filePath("again.qms");
    QVERIFY(w->saveSession(again));
    QSettings before(session, QSettings::IniFormat), after(again, QSettings::IniFormat);
    // Qt's own helper widgets (qt_...) come and go with the display.
    for (const QString& key : before.allKeys())
      if (key != "MainWindow/dataFile" && !key.section('/', 1).startsWith("qt_"))
        QVERIFY2(after.value(key) == before.value(key), qPrintable(key));
    QCOMPARE(after.value("MainWindow/dataFile").toString(),
             data ? dir.filePath("data-v1.csv") : QString());
    QCOMPARE(after.value("FunctionSelector/formula0_name").toString(), QString("sine"));
    QCOMPARE(after.value("FunctionSelector/formula0_expression").toString(), QString("sin(6*x)"));
    QCOMPARE(after.value("FunctionSelector/formula1_expression").toString(), QString("x^3 - x"));
  }

  // A session that carries its formulas opens with them whatever the user's
  // list holds; one the list lacks is offered for this run, not stored there.
  void sessionFormulasJoinTheList_data()
  {
    QTest::addColumn<QByteArray>("listed"); // the user's formulas
    QTest::addColumn<QString>("shown");     // the selector's name for sin(6*x)
    const QByteArray entry = "[formulas]\n1\\formula_name=Default\n1\\formula_expression=x\n";
    // clang-format off
    QTest::newRow("listed alike") << entry + "2\\formula_name=sine\n2\\formula_expression=sin(6*x)\nsize=2\n" << "sine";
    QTest::newRow("not listed") << entry + "size=1\n" << "sine";
    QTest::newRow("name listed for another formula") << entry + "2\\formula_name=sine\n2\\formula_expression=cos(x)\nsize=2\n" << "sine (session)";
    // clang-format on
  }

  void sessionFormulasJoinTheList()
  {
    QFETCH(QByteArray, listed);
    QFETCH(QString, shown);
    PromptRecorder rec;
    FormulaList list(path("FormulaBuilder.ini"), listed);
    const QString session = path("carried.qms");
    writeFile(session, "[FunctionSelector]\ncount=2\ncomboBox0_currentIndex=9\n"
                       "formula0_name=sine\nformula0_expression=sin(6*x)\n"
                       "comboBox1_currentIndex=0\n");
    Ptr w = startWindow();
    // Where the batch tool looks for the formulas of older sessions.
    QCOMPARE(std::unique_ptr<QSettings>(ProgramEnvironment::user())
                 ->value("MainWindow/formulasDirectory")
                 .toString(),
             env.dir.path());
    QVERIFY(w->openSession(session));
    FunctionSelectorWidget* selector = T::selector(w.get());
    QCOMPARE(selector->selection(0), shown);
    QCOMPARE(selector->selector(0)->toolTip(), QString("sin(6*x)"));
    QCOMPARE(selector->selection(1), QString("Default")); // by its stored place
    const auto* fn = T::functions(w.get()).at(0);
    const std::size_t k = fn->domain()->size() / 3;
    QCOMPARE(fn->values().at(k), std::sin(6 * fn->domain()->values().at(k)));
    QCOMPARE(selector->itemList().count(shown), 1);
    QCOMPARE(readAll(path("FormulaBuilder.ini")), listed);
    QVERIFY(!T::formulaBuilder(w.get())->formulaNames().contains("sine (session)"));
    // Opened again, the session's formula is the one already offered.
    QVERIFY(w->openSession(session));
    QCOMPARE(selector->itemList(), T::selector(w.get())->itemList());
    QCOMPARE(selector->selection(0), shown);
    QVERIFY2(rec.messages.isEmpty(), qPrintable(rec.titles().join(';')));
  }

  // The export dialogs' fields are the session's: the file changes only on saving.
  void exportFieldsWaitForSave()
  {
    PromptRecorder rec;
    Ptr w = startWindow();
    const QString session = path("export.qms");
    QVERIFY(w->saveSession(session));
    QVERIFY(w->openSession(session));
    const QByteArray before = readAll(session);
    cancelNextDialog<ExportWidget>([](ExportWidget* d) {
      d->findChild<QLineEdit*>("fileNameEdt")->setText("vals");
      d->findChild<QCheckBox*>("coefChbox")->setChecked(true);
    });
    T::action(w.get(), "actionExportValues")->trigger();
    cancelNextDialog<FigureExportWidget>([](FigureExportWidget* d) {
      d->findChild<QLineEdit*>("fileNameEdt")->setText("fig");
      d->findChild<QSpinBox*>("widthSpin")->setValue(123);
    });
    T::action(w.get(), "actionExportFigure")->trigger();
    QTest::qWait(50); // a settings object writes from the event loop
    QCOMPARE(readAll(session), before);

    QString shown;
    cancelNextDialog<ExportWidget>(
        [&shown](ExportWidget* d) { shown = d->findChild<QLineEdit*>("fileNameEdt")->text(); });
    T::action(w.get(), "actionExportValues")->trigger();
    QCOMPARE(shown, QString("vals"));
    T::action(w.get(), "actionSaveSession")->trigger();
    QVERIFY2(rec.messages.isEmpty(), qPrintable(rec.titles().join(';')));
    QSettings s(session, QSettings::IniFormat);
    QCOMPARE(s.value("ExportValueWidget/fileNameEdt_text").toString(), QString("vals"));
    QCOMPARE(s.value("ExportValueWidget/coefChbox_checked").toBool(), true);
    QCOMPARE(s.value("ExportFigureWidget/fileNameEdt_text").toString(), QString("fig"));
    QCOMPARE(s.value("ExportFigureWidget/widthSpin_value").toInt(), 123);
  }

  void saveOnExitWritesThroughALink()
  {
    PromptRecorder rec;
    Ptr w = startWindow();
    const QString real = path("linked/real.qms"), link = path("link.qms");
    QVERIFY(QDir().mkpath(path("linked")));
    QVERIFY(w->saveSession(real));
    QFile::remove(link);
    QVERIFY(QFile::link(real, link));
    QVERIFY(w->openSession(link));
    T::action(w.get(), "actionPartDelta")->trigger();
    preference<QRadioButton>("allRbtn")->setChecked(true);
    w->close();
    QVERIFY2(rec.messages.isEmpty(), qPrintable(rec.titles().join(';')));
    QVERIFY(QFileInfo(link).isSymLink());
    QVERIFY(readAll(real).contains("partitionType=8"));
    QCOMPARE(QDir(path("linked")).entryList(QDir::Files), QStringList{"real.qms"});
  }
};

QTEST_MAIN(TestMainWindowSession)
#include "tst_mainwindowsession.moc"
