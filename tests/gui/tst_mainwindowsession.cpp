// Session files as the main window writes and reads them, the recent-session
// list, the default session, and refusals of damaged sessions and writes.
#include "mainwindowtester.h"

#include "common/promptrecorder.h"
#include "gui/components/plotwidget.h"

#include "gui/apppaths.h"
#include <QPushButton>

#include <QDir>
#include <QFile>
#include <QRadioButton>
#include <QSpinBox>

namespace {

using T = MainWindowTester;

QByteArray readAll(const QString& path)
{
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& text)
{
  QFile f(path);
  if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
    qFatal("cannot write %s", qPrintable(path));
  f.write(text);
}

QStringList groupsOf(const QString& path)
{
  QSettings s(path, QSettings::IniFormat);
  return s.childGroups();
}

void setMaxRecent(MainWindow* w, int n)
{
  auto* spin = w->findChild<QSpinBox*>(QStringLiteral("maxRecentSpin"));
  if (!spin) {
    // The preferences dialog is a window of its own.
    for (QWidget* top : QApplication::topLevelWidgets())
      if (!spin)
        spin = top->findChild<QSpinBox*>(QStringLiteral("maxRecentSpin"));
  }
  QVERIFY(spin);
  spin->setValue(n);
}

QRadioButton* preferenceButton(const char* name)
{
  for (QWidget* top : QApplication::topLevelWidgets())
    if (auto* b = top->findChild<QRadioButton*>(QLatin1String(name)))
      return b;
  return nullptr;
}

} // namespace

class TestMainWindowSession : public QObject
{
  Q_OBJECT

  ProgramEnvironment env;

  QString path(const QString& name) const { return env.dir.filePath(name); }

private slots:
  void initTestCase() { env.setUp(); }
  void init() { ProgramEnvironment::clearWindowSettings(); }

  void startUpCreatesAndOpensTheDefaultSession()
  {
    PromptRecorder rec;
    auto w = startWindow();
    const QString def = MainWindow::defaultSessionPath();
    QCOMPARE(def, path(QStringLiteral("default.qms")));
    QCOMPARE(w->currentSessionFile(), def);
    QVERIFY(QFileInfo::exists(def));
    QCOMPARE(w->recentSessions(), QStringList{def});
    QVERIFY(T::action(w.get(), "actionSaveSession")->isEnabled());
    QCOMPARE(w->windowTitle(), QStringLiteral("Quelmora - default.qms"));
    QVERIFY(rec.messages.isEmpty());
  }

  void defaultSessionBelongsBesideTheProgram()
  {
    // Only the place: the start-up test above creates the file, in a directory
    // of this test's own rather than beside the shared test binaries.
    MainWindow::setDefaultSessionDirectory(QString());
    const QString def = MainWindow::defaultSessionPath();
    MainWindow::setDefaultSessionDirectory(env.dir.path());
    QCOMPARE(def, AppPaths::writableAppDirectory() + QStringLiteral("/default.qms"));
    if (AppPaths::isDirectoryWritable(QCoreApplication::applicationDirPath()))
      QCOMPARE(QFileInfo(def).absolutePath(),
               QDir(QCoreApplication::applicationDirPath()).absolutePath());
  }

  void savedIniTextPerKind_data()
  {
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("group");
    QTest::addColumn<bool>("hasNodes");
    QTest::newRow("generic") << 6 << "GenericRuspini" << true;
    QTest::newRow("equidistant") << 7 << "EquidistantRuspini" << false;
    QTest::newRow("custom") << 8 << "CustomPartition" << true;
  }

  void savedIniTextPerKind()
  {
    QFETCH(int, kind);
    QFETCH(QString, group);
    QFETCH(bool, hasNodes);
    PromptRecorder rec;
    auto w = startWindow();
    MainWindow* const win = w.get();
    QAction* action = kind == 6   ? T::action(win, "actionEquidistant")
                      : kind == 7 ? T::action(win, "actionFixedPT")
                                  : T::action(win, "actionPartDelta");
    action->trigger();
    QCOMPARE(T::kind(w.get()), kind);

    const QString file = path(QStringLiteral("kind%1.qms").arg(kind));
    QVERIFY(w->saveSession(file));
    const QStringList partitionGroups = {QStringLiteral("GenericRuspini"),
                                         QStringLiteral("EquidistantRuspini"),
                                         QStringLiteral("CustomPartition")};
    for (const QString& g : partitionGroups)
      QCOMPARE(groupsOf(file).contains(g), g == group);
    for (const char* g : {"Preferences_page0", "Preferences_page1", "DomainWidget",
                          "FunctionSelector", "FtDegreeWidget", "MainWindow"})
      QVERIFY2(groupsOf(file).contains(QLatin1String(g)), g);

    QSettings s(file, QSettings::IniFormat);
    QCOMPARE(s.value(QStringLiteral("MainWindow/partitionType")).toInt(), kind);
    QCOMPARE(s.value(QStringLiteral("MainWindow/functionTypeUsed")).toInt(), 0);
    QVERIFY(s.contains(QStringLiteral("MainWindow/dataFile")));
    QCOMPARE(s.value(QStringLiteral("MainWindow/dataFile")).toString(), QString());
    QVERIFY(!s.contains(QStringLiteral("MainWindow/valueSeparator")));
    QVERIFY(!s.contains(QStringLiteral("MainWindow/decimalSeparator")));
    QCOMPARE(s.value(QStringLiteral("MainWindow/zoom")).toDouble(), 1.0);
    QCOMPARE(s.value(QStringLiteral("MainWindow/legendAlignment")).toInt(), 34);
    QCOMPARE(s.value(QStringLiteral("MainWindow/showLegend")).toString(), QStringLiteral("false"));
    QCOMPARE(s.value(QStringLiteral("FunctionSelector/count")).toInt(), 1);
    QCOMPARE(s.value(QStringLiteral("FtDegreeWidget/ftDegreeSpin_value")).toInt(), 0);
    QCOMPARE(s.value(QStringLiteral("FtDegreeWidget/ft0ChBox_checked")).toString(),
             QStringLiteral("true"));
    QCOMPARE(s.contains(group + QStringLiteral("/NodeList/size")), hasNodes);
    if (hasNodes) {
      const QVector<double> nodes = T::nodes(w.get());
      QCOMPARE(s.value(group + QStringLiteral("/NodeList/size")).toInt(), nodes.size());
      for (int i = 0; i < nodes.size(); ++i)
        QCOMPARE(s.value(group + QStringLiteral("/NodeList/%1/node").arg(i + 1)).toDouble(),
                 nodes.at(i));
    }
    QVERIFY(rec.messages.isEmpty());
  }

  void randomDataSessionHoldsAllThreeDataKeys()
  {
    PromptRecorder rec;
    auto w = startWindow();
    QAction* random = nullptr;
    for (QAction* a : T::child<QMenu>(w.get(), "menuFile")->actions())
      if (a->text() == QStringLiteral("&Random data"))
        random = a;
    QVERIFY(random);
    random->trigger();
    QCOMPARE(w->functionSourceType(), 1);
    const QString file = path(QStringLiteral("random.qms"));
    QVERIFY(w->saveSession(file));
    QSettings s(file, QSettings::IniFormat);
    QCOMPARE(s.value(QStringLiteral("MainWindow/functionTypeUsed")).toInt(), 1);
    for (const char* k : {"dataFile", "valueSeparator", "decimalSeparator"})
      QVERIFY2(s.contains(QStringLiteral("MainWindow/") + QLatin1String(k)), k);
    // Random data cannot be restored: the session comes back with the formulas.
    QVERIFY(w->openSession(file));
    QCOMPARE(w->functionSourceType(), 0);
    QVERIFY(rec.messages.isEmpty());
  }

  void reopeningGivesTheSameState()
  {
    PromptRecorder rec;
    auto w = startWindow();
    MainWindow* const win = w.get();
    T::action(win, "actionPartDelta")->trigger();
    PartitionWidgetBase* pw = T::partitionWidget(w.get());
    QVERIFY(pw);
    QVERIFY(pw->setNodeSet({0.1, 0.5, 0.9}));
    pw->onInputsChanged();
    T::degreeSpin(win)->setValue(1);
    T::degreeBox(win, 1)->setChecked(true);
    T::action(win, "actionLegendBottomRight")->trigger();
    T::action(win, "actionShowLegend")->setChecked(true);
    QTest::mouseClick(T::selector(win)->findChild<QPushButton*>(QStringLiteral("addBtn")),
                      Qt::LeftButton);
    QCOMPARE(T::selector(win)->count(), 2);

    const QString file = path(QStringLiteral("custom.qms"));
    QVERIFY(w->saveSession(file));
    const QByteArray text = readAll(file);
    QVERIFY(text.contains("[CustomPartition]"));
    QVERIFY(text.contains("NodeList\\1\\node=0.1"));
    QVERIFY(text.contains("NodeList\\3\\node=0.9"));
    QVERIFY(text.contains("NodeList\\size=3"));
    QVERIFY(!text.contains("[GenericRuspini]"));
    const QString before = T::fingerprint(w.get());

    // Back to the defaults, then the saved session again.
    const QString empty = path(QStringLiteral("empty.qms"));
    writeFile(empty, QByteArray());
    QVERIFY(w->openSession(empty));
    QCOMPARE(T::kind(w.get()), 6);
    QVERIFY(w->openSession(file));
    QCOMPARE(T::nodes(w.get()), (QVector<double>{0.1, 0.5, 0.9}));
    QCOMPARE(T::fingerprint(w.get()).section(QLatin1Char('|'), 1),
             before.section(QLatin1Char('|'), 1));
    QCOMPARE(w->currentSessionFile(), file);
    QVERIFY(T::degreeBox(win, 1)->isChecked());
    QVERIFY(T::controller(w.get())->plotWidget()->isLegendVisible());
    QCOMPARE(int(T::controller(w.get())->plotWidget()->legendAlignment()), 0x42);
    // Degree 1 on Gaussian sets warns; nothing else may be reported.
    QVERIFY(!rec.titles().contains(QStringLiteral("Error when opening session")));
    QVERIFY(!rec.titles().contains(QStringLiteral("Error when saving session")));

    // A second window reads the same picture from the file.
    auto other = startWindow();
    QVERIFY(other->openSession(file));
    QCOMPARE(T::fingerprint(other.get()), T::fingerprint(w.get()));
  }

  void dataSessionKeepsItsNodes()
  {
    PromptRecorder rec;
    auto w = startWindow();
    const QString data = path(QStringLiteral("wave.txt"));
    QByteArray rows("x y\n");
    for (int i = 0; i <= 50; ++i)
      rows += QByteArray::number(i * 0.1) + ' ' + QByteArray::number(i * i * 0.01) + '\n';
    writeFile(data, rows);
    QVERIFY(T::loadData(w.get(), data));
    QCOMPARE(w->functionSourceType(), 1);
    PartitionWidgetBase* pw = T::partitionWidget(w.get());
    QVERIFY(pw->setNodeSet({0.0, 1.5, 2.5, 5.0}));
    pw->onInputsChanged();

    const QString file = path(QStringLiteral("data.qms"));
    QVERIFY(w->saveSession(file));
    QSettings s(file, QSettings::IniFormat);
    QCOMPARE(s.value(QStringLiteral("MainWindow/dataFile")).toString(), data);
    QVERIFY(s.contains(QStringLiteral("MainWindow/valueSeparator")));
    QVERIFY(s.contains(QStringLiteral("MainWindow/decimalSeparator")));

    const QString empty = path(QStringLiteral("empty3.qms"));
    writeFile(empty, QByteArray());
    QVERIFY(w->openSession(empty));
    QCOMPARE(w->functionSourceType(), 0);
    QVERIFY(w->openSession(file));
    QCOMPARE(w->functionSourceType(), 1);
    QCOMPARE(T::nodes(w.get()), (QVector<double>{0.0, 1.5, 2.5, 5.0}));
    QCOMPARE(w->windowTitle(), QStringLiteral("Quelmora - data.qms - ") + data);
    QVERIFY(!rec.titles().contains(QStringLiteral("Error when opening session")));

    // The node distance of the equidistant kind is relative to the data's domain too.
    T::action(w.get(), "actionFixedPT")->trigger();
    pw = T::partitionWidget(w.get());
    auto* width = pw->findChild<QLineEdit*>(QStringLiteral("elemWidthEdt"));
    QVERIFY(width);
    width->setText(QStringLiteral("2"));
    pw->onInputsChanged();
    // So is the fixed point, which lies beyond the domain input's 0..1.
    auto* slider = pw->findChild<QwtSlider*>(QStringLiteral("fixedPtSlider"));
    QVERIFY(slider);
    slider->setValue(slider->upperBound());
    const double fixedPoint =
        pw->data().dynamicCast<DataHolders::Partitions::FuzzyPt>()->fixedPoint;
    QVERIFY(fixedPoint > 1.0);
    const QVector<double> nodes = T::nodes(w.get());
    QVERIFY(w->saveSession(file));
    QVERIFY(w->openSession(empty));
    QVERIFY(w->openSession(file));
    const auto fixed =
        T::partitionWidget(w.get())->data().dynamicCast<DataHolders::Partitions::FuzzyPt>();
    QVERIFY(fixed);
    QCOMPARE(fixed->partElementWidth, 2.0);
    QCOMPARE(fixed->fixedPoint, fixedPoint);
    QCOMPARE(T::nodes(w.get()), nodes);
    QVERIFY(!rec.titles().contains(QStringLiteral("Error when opening session")));
  }

  void equidistantFixedPointSurvivesReopening()
  {
    PromptRecorder rec;
    auto w = startWindow();
    T::action(w.get(), "actionFixedPT")->trigger();
    auto* slider =
        T::partitionWidget(w.get())->findChild<QwtSlider*>(QStringLiteral("fixedPtSlider"));
    QVERIFY(slider);
    slider->setValue(37.0);
    const auto moved =
        T::partitionWidget(w.get())->data().dynamicCast<DataHolders::Partitions::FuzzyPt>();
    QVERIFY(moved);
    const double fixedPoint = moved->fixedPoint;
    QVERIFY(fixedPoint > 0.0);
    const QVector<double> nodes = T::nodes(w.get());

    const QString file = path(QStringLiteral("fixed-point.qms"));
    QVERIFY(w->saveSession(file));
    QSettings s(file, QSettings::IniFormat);
    QCOMPARE(s.value(QStringLiteral("EquidistantRuspini/fixedPoint")).toDouble(), fixedPoint);
    for (const char* k :
         {"shapeCbox_currentIndex", "elemWidthEdt_text", "offsetSpin_value", "shiftSpin_value"})
      QVERIFY2(s.contains(QStringLiteral("EquidistantRuspini/") + QLatin1String(k)), k);
    QVERIFY(!s.contains(QStringLiteral("EquidistantRuspini/NodeList/size")));

    auto other = startWindow();
    QVERIFY(other->openSession(file));
    const auto restored =
        T::partitionWidget(other.get())->data().dynamicCast<DataHolders::Partitions::FuzzyPt>();
    QVERIFY(restored);
    QCOMPARE(restored->fixedPoint, fixedPoint);
    QCOMPARE(T::nodes(other.get()), nodes);
    QCOMPARE(T::partitionWidget(other.get())
                 ->findChild<QwtSlider*>(QStringLiteral("fixedPtSlider"))
                 ->value(),
             37.0);
    QVERIFY(rec.messages.isEmpty());
  }

  void menuCommandsOpenAndSaveAs()
  {
    PromptRecorder rec;
    auto w = startWindow();
    const QString saved = path(QStringLiteral("menu/saved-as.qms"));
    QDir().mkpath(QFileInfo(saved).path());
    rec.fileAnswer = saved;
    T::action(w.get(), "actionSaveAsSession")->trigger();
    QCOMPARE(rec.fileCaptions, QStringList{QStringLiteral("Save session")});
    QVERIFY(QFileInfo::exists(saved));
    QCOMPARE(w->currentSessionFile(), saved);
    QCOMPARE(w->windowTitle(), QStringLiteral("Quelmora - saved-as.qms"));
    // Saving as does not make a recent entry.
    QVERIFY(!w->recentSessions().contains(saved));

    const QString def = MainWindow::defaultSessionPath();
    rec.fileAnswer = def;
    T::action(w.get(), "actionOpenSession")->trigger();
    QCOMPARE(rec.fileCaptions.last(), QStringLiteral("Open session"));
    QCOMPARE(w->currentSessionFile(), def);
    QCOMPARE(w->recentSessions().first(), def);
    QSettings user(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("korvant"),
                   QStringLiteral("quelmora"));
    QCOMPARE(user.value(QStringLiteral("MainWindow/FileDialogDir")).toString(),
             QFileInfo(def).absoluteDir().canonicalPath());

    // A cancelled dialog changes nothing.
    rec.fileAnswer.clear();
    T::action(w.get(), "actionOpenSession")->trigger();
    T::action(w.get(), "actionSaveAsSession")->trigger();
    QCOMPARE(w->currentSessionFile(), def);
    QVERIFY(rec.messages.isEmpty());
  }

  void duplicateNodesMerge()
  {
    PromptRecorder rec;
    auto w = startWindow();
    const QString file = path(QStringLiteral("duplicates.qms"));
    writeFile(file, "[MainWindow]\npartitionType=6\n[GenericRuspini]\n"
                    "NodeList\\1\\node=0\nNodeList\\2\\node=0.5\nNodeList\\3\\node=0.5\n"
                    "NodeList\\4\\node=1\nNodeList\\size=4\n");
    QVERIFY(w->openSession(file));
    QCOMPARE(T::nodes(w.get()), (QVector<double>{0.0, 0.5, 1.0}));
    QVERIFY(rec.messages.isEmpty());
  }

  void emptyFileGivesTheDefaults()
  {
    PromptRecorder rec;
    auto w = startWindow();
    MainWindow* const win = w.get();
    T::action(win, "actionFixedPT")->trigger();
    QTest::mouseClick(T::selector(win)->findChild<QPushButton*>(QStringLiteral("addBtn")),
                      Qt::LeftButton);
    T::action(win, "actionLegendBottomLeft")->trigger();
    T::action(win, "actionShowLegend")->setChecked(true);

    const QString empty = path(QStringLiteral("empty2.qms"));
    writeFile(empty, QByteArray());
    QVERIFY(w->openSession(empty));
    QCOMPARE(T::selector(win)->count(), 1);
    QCOMPARE(T::zoom(w.get()), 1.0);
    QCOMPARE(T::kind(w.get()), 6);
    QVERIFY(T::action(win, "actionEquidistant")->isChecked());
    QCOMPARE(w->functionSourceType(), 0);
    QVERIFY(T::action(win, "actionLegendTopRight")->isChecked());
    QVERIFY(!T::action(win, "actionShowLegend")->isChecked());
    QVERIFY(!T::controller(w.get())->plotWidget()->isLegendVisible());
    QCOMPARE(T::functionCount(w.get()), 1);
    QVERIFY(rec.messages.isEmpty());
  }

  void recentListSwapsAndKeepsItsOrder()
  {
    PromptRecorder rec;
    auto w = startWindow();
    setMaxRecent(w.get(), 7);
    const QString s1 = path("s1.qms"), s2 = path("s2.qms"), s3 = path("s3.qms"),
                  s4 = path("s4.qms");
    for (const QString& p : {s4, s3, s2, s1}) {
      writeFile(p, QByteArray());
      T::addRecent(w.get(), p);
    }
    QCOMPARE(T::menuOrder(w.get()).mid(0, 4), (QStringList{s1, s2, s3, s4}));

    // Re-opening the third entry moves it to the top of the menu, but the
    // list only exchanges it with the first.
    T::addRecent(w.get(), s3);
    QCOMPARE(T::menuOrder(w.get()).mid(0, 4), (QStringList{s3, s1, s2, s4}));
    QCOMPARE(w->recentSessions().mid(0, 4), (QStringList{s3, s2, s1, s4}));

    // The stored list follows the list order.
    w->close();
    QSettings s(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("korvant"),
                QStringLiteral("quelmora"));
    s.beginGroup(QStringLiteral("MainWindow"));
    const int n = s.beginReadArray(QStringLiteral("Menu"));
    QStringList stored;
    for (int i = 0; i < n; ++i) {
      s.setArrayIndex(i);
      stored << s.value(QStringLiteral("recent")).toString();
    }
    s.endArray();
    QCOMPARE(stored.mid(0, 4), (QStringList{s3, s2, s1, s4}));

    // And comes back in the menu in that order at the next start.
    auto again = startWindow();
    QCOMPARE(T::menuOrder(again.get()).mid(0, 4), (QStringList{s3, s2, s1, s4}));
    QCOMPARE(again->currentSessionFile(), s3);
  }

  void recentListDropsOneEntryPerCall()
  {
    PromptRecorder rec;
    auto w = startWindow();
    setMaxRecent(w.get(), 3);
    const QString def = MainWindow::defaultSessionPath();
    T::addRecent(w.get(), path("s1.qms"));
    T::addRecent(w.get(), path("s2.qms"));
    QCOMPARE(w->recentSessions(), (QStringList{path("s2.qms"), path("s1.qms"), def}));
    T::addRecent(w.get(), path("s3.qms"));
    QCOMPARE(w->recentSessions(), (QStringList{path("s3.qms"), path("s2.qms"), path("s1.qms")}));
    QCOMPARE(T::menuOrder(w.get()), w->recentSessions());

    setMaxRecent(w.get(), 1);
    T::addRecent(w.get(), path("s4.qms"));
    QCOMPARE(w->recentSessions().size(), 3);
    QCOMPARE(w->recentSessions().first(), path("s4.qms"));
  }

  void hostileSessionIsRefusedAndTheWorkKept_data()
  {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("key");
    auto row = [](const char* name, const QByteArray& text, const char* key) {
      QTest::newRow(name) << text << QString::fromLatin1(key);
    };
    row("inverted domain", "[DomainWidget]\nlowEdt_text=3\nhighEdt_text=2\n",
        "DomainWidget/highEdt_text");
    row("discretization zero", "[DomainWidget]\ndiscrEdt_text=0\n", "DomainWidget/discrEdt_text");
    row("unknown kind", "[MainWindow]\npartitionType=42\n", "MainWindow/partitionType");
    row("huge node list", "[GenericRuspini]\nNodeList\\size=2147483647\n",
        "GenericRuspini/NodeList/size");
    row("node outside",
        "[GenericRuspini]\nNodeList\\1\\node=-5\nNodeList\\2\\node=1\n"
        "NodeList\\size=2\n",
        "GenericRuspini/NodeList/1/node");
    row("tiny distance",
        "[MainWindow]\npartitionType=7\n[EquidistantRuspini]\nelemWidthEdt_text=1e-12\n",
        "EquidistantRuspini/elemWidthEdt_text");
    row("fixed point outside",
        "[MainWindow]\npartitionType=7\n[EquidistantRuspini]\nfixedPoint=1.5\n",
        "EquidistantRuspini/fixedPoint");
    row("fixed point nan", "[MainWindow]\npartitionType=7\n[EquidistantRuspini]\nfixedPoint=nan\n",
        "EquidistantRuspini/fixedPoint");
    row("zero variance", "[MainWindow]\npartitionType=8\n[CustomPartition]\nextraParamEdt_text=0\n",
        "CustomPartition/extraParamEdt_text");
    row("shift zero", "[GenericRuspini]\nshiftSpin_value=0\n", "GenericRuspini/shiftSpin_value");
    row("degree 7", "[FtDegreeWidget]\nftDegreeSpin_value=7\n",
        "FtDegreeWidget/ftDegreeSpin_value");
    row("zoom inf", "[MainWindow]\nzoom=inf\n", "MainWindow/zoom");
    row("selectors", "[FunctionSelector]\ncount=99999\n", "FunctionSelector/count");
    row("missing data", "[MainWindow]\nfunctionTypeUsed=1\ndataFile=/nonexistent/d.txt\n",
        "MainWindow/dataFile");
    row("data directory", "[MainWindow]\nfunctionTypeUsed=1\ndataFile=/tmp\n",
        "MainWindow/dataFile");
    row("data device", "[MainWindow]\nfunctionTypeUsed=1\ndataFile=/dev/urandom\n",
        "MainWindow/dataFile");
    QByteArray binary("\x7f"
                      "ELF\0\0\x01\x02garbage",
                      16);
    row("binary session", binary, "");

    // Data files that pass the checks but cannot be read as data: the session
    // is applied, fails at the data and the window goes back to its work.
    const QString truncated = path(QStringLiteral("truncated.txt"));
    writeFile(truncated, "0 1\n1 2\n");
    row("truncated data",
        "[MainWindow]\nfunctionTypeUsed=1\npartitionType=7\ndataFile=" + truncated.toUtf8() +
            "\n[FunctionSelector]\ncount=2\n[FtDegreeWidget]\nftDegreeSpin_value=0\n",
        "MainWindow/dataFile");
    const QString binaryData = path(QStringLiteral("binary.csv"));
    writeFile(binaryData, QByteArray("1;2\n\0\0\0\xff", 9));
    row("binary data", "[MainWindow]\nfunctionTypeUsed=1\ndataFile=" + binaryData.toUtf8() + "\n",
        "MainWindow/dataFile");
  }

  void hostileSessionIsRefusedAndTheWorkKept()
  {
    QFETCH(QByteArray, text);
    QFETCH(QString, key);
    PromptRecorder rec;
    auto w = startWindow();
    MainWindow* const win = w.get();
    // Some work of the user's own first.
    T::action(win, "actionPartDelta")->trigger();
    T::degreeSpin(win)->setValue(2);
    const QString before = T::fingerprint(w.get());

    // One file per row: the settings cache may not notice a rewrite within a second.
    const QString file =
        path(QString::fromLatin1(QTest::currentDataTag()) + QStringLiteral(".qms"));
    writeFile(file, text);
    QVERIFY(!w->openSession(file));
    // The data reader may have said why first; the refusal names file and key.
    QVERIFY(!rec.messages.isEmpty());
    const Prompt::Message& m = rec.messages.last();
    QCOMPARE(m.icon, QMessageBox::Critical);
    QCOMPARE(m.title, QStringLiteral("Error when opening session"));
    QVERIFY2(m.text.contains(file), qPrintable(m.text));
    QVERIFY2(m.text.contains(key), qPrintable(m.text));
    QCOMPARE(T::fingerprint(w.get()), before);
  }

  void failedSaveIsReported()
  {
    PromptRecorder rec;
    auto w = startWindow();
    // A directory that is a file: no rights help, not even root's.
    const QString blocker = path(QStringLiteral("blocker"));
    writeFile(blocker, "x");
    const QString target = blocker + QStringLiteral("/session.qms");
    QVERIFY(!w->saveSession(target));
    QVERIFY(!rec.messages.isEmpty());
    const Prompt::Message& m = rec.messages.last();
    QCOMPARE(m.title, QStringLiteral("Error when saving session"));
    QVERIFY2(m.text.contains(target), qPrintable(m.text));

    // Save on exit of a session that cannot be written is reported too.
    rec.messages.clear();
    QRadioButton* all = preferenceButton("allRbtn");
    QVERIFY(all);
    all->setChecked(true);
    T::setSessionFile(w.get(), target);
    w->close();
    bool reported = false;
    for (const Prompt::Message& msg : rec.messages)
      reported = reported || (msg.title == QStringLiteral("Error when saving session") &&
                              msg.text.contains(target));
    QVERIFY(reported);
  }

  void failedSettingsWriteIsReported()
  {
    const QString settingsFile = QSettings(QSettings::IniFormat, QSettings::UserScope,
                                           QStringLiteral("korvant"), QStringLiteral("quelmora"))
                                     .fileName();
    QFile::remove(settingsFile);
    // A directory where the settings file belongs cannot be written by anyone.
    QVERIFY(QDir().mkpath(settingsFile));
    {
      PromptRecorder rec;
      auto w = startWindow();
      rec.messages.clear();
      w->close();
      bool reported = false;
      for (const Prompt::Message& m : rec.messages)
        reported = reported || (m.title == QStringLiteral("Error when saving settings") &&
                                m.text.contains(settingsFile));
      QVERIFY2(reported, qPrintable(rec.titles().join(QLatin1Char(';'))));
    }
    QVERIFY(QDir().rmdir(settingsFile));
    env.setUp();
  }

  void invalidInputBlocksSaving()
  {
    PromptRecorder rec;
    auto w = startWindow();
    const QString file = w->currentSessionFile();
    const QByteArray before = readAll(file);
    auto* low =
        T::child<QWidget>(w.get(), "domainWidget")->findChild<QLineEdit*>(QStringLiteral("lowEdt"));
    QVERIFY(low);
    low->setText(QStringLiteral("5"));
    T::action(w.get(), "actionSaveSession")->trigger();
    QCOMPARE(rec.titles(), QStringList{QStringLiteral("Error when saving session")});
    QCOMPARE(rec.messages.first().text,
             QStringLiteral("Session could not be saved, invalid input values."));
    QCOMPARE(readAll(file), before);

    // Nor does the save on exit write a session that could not be opened again.
    rec.messages.clear();
    QRadioButton* all = preferenceButton("allRbtn");
    QVERIFY(all);
    all->setChecked(true);
    w->close();
    QCOMPARE(rec.titles(), QStringList{QStringLiteral("Error when saving session")});
    QVERIFY2(rec.messages.first().text.contains(file), qPrintable(rec.messages.first().text));
    QVERIFY2(rec.messages.first().text.contains(QStringLiteral("DomainWidget/highEdt_text")),
             qPrintable(rec.messages.first().text));
    QCOMPARE(readAll(file), before);
    QCOMPARE(QDir(env.dir.path()).entryList({QStringLiteral("default.qms.*")}), QStringList());
  }

  void saveOnExitWritesThroughALink()
  {
    PromptRecorder rec;
    auto w = startWindow();
    const QString real = path(QStringLiteral("linked/real.qms"));
    QVERIFY(QDir().mkpath(QFileInfo(real).path()));
    QVERIFY(w->saveSession(real));
    const QString link = path(QStringLiteral("link.qms"));
    QFile::remove(link);
    QVERIFY(QFile::link(real, link));
    QVERIFY(w->openSession(link));
    T::action(w.get(), "actionPartDelta")->trigger();
    QRadioButton* all = preferenceButton("allRbtn");
    QVERIFY(all);
    all->setChecked(true);
    w->close();
    QVERIFY2(rec.messages.isEmpty(), qPrintable(rec.titles().join(QLatin1Char(';'))));
    QVERIFY(QFileInfo(link).isSymLink());
    QVERIFY(readAll(real).contains("partitionType=8"));
    QCOMPARE(QDir(QFileInfo(real).path()).entryList(QDir::Files), QStringList{"real.qms"});
  }

  void saveOnExitWritesTheEquidistantDefault()
  {
    PromptRecorder rec;
    auto w = startWindow();
    const QString file = w->currentSessionFile();
    T::action(w.get(), "actionFixedPT")->trigger();
    // The fixed point at low is not valid input, yet the session opens again.
    T::action(w.get(), "actionSaveSession")->trigger();
    QCOMPARE(rec.titles(), QStringList{QStringLiteral("Error when saving session")});
    QVERIFY(!readAll(file).contains("partitionType=7"));

    rec.messages.clear();
    QRadioButton* all = preferenceButton("allRbtn");
    QVERIFY(all);
    all->setChecked(true);
    w->close();
    QVERIFY2(rec.messages.isEmpty(), qPrintable(rec.titles().join(QLatin1Char(';'))));
    QSettings s(file, QSettings::IniFormat);
    QCOMPARE(s.value(QStringLiteral("MainWindow/partitionType")).toInt(), 7);
    QCOMPARE(s.value(QStringLiteral("EquidistantRuspini/fixedPoint")).toDouble(), 0.0);
    QCOMPARE(QDir(env.dir.path()).entryList({QStringLiteral("default.qms.*")}), QStringList());

    auto again = startWindow();
    QCOMPARE(again->currentSessionFile(), file);
    QCOMPARE(T::kind(again.get()), 7);
    QVERIFY(rec.messages.isEmpty());
  }
};

QTEST_MAIN(TestMainWindowSession)
#include "tst_mainwindowsession.moc"
