// Opening data files in the real window: the open dialog, the import dialog,
// refused files and data sessions.
#include "mainwindowtester.h"

#include "common/promptrecorder.h"
#include "gui/csvdialog.h"
#include "gui/datafileopendialog.h"
#include "math/domains/enumerationbase.h"
#include "math/fce/mathfn.h"

#include <QAction>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>

// Reaches the window's data state for the checks below.
class DataWindow
{
public:
  explicit DataWindow(MainWindow& window) : w(&window) {}

  bool load(const DataFileInfo& info, bool interactive)
  {
    return MainWindowTester::loadDataFile(w, info, interactive);
  }
  void openData() { MainWindowTester::openData(w); }
  void setFunctionType(int type) { MainWindowTester::setFunctionType(w, type); }
  QList<Fn::MathFn<double, double>*> functions() const { return MainWindowTester::functions(w); }
  const Domains::EnumerationBase<double>* domain() const { return MainWindowTester::domain(w); }
  DataFileInfo info() const { return MainWindowTester::dataFileInfo(w); }
  QVector<double> domainValues() const
  {
    const auto& v = domain()->values();
    return QVector<double>(v.begin(), v.end());
  }
  QVector<double> values(int i) const
  {
    const auto& v = functions().at(i)->values();
    return QVector<double>(v.begin(), v.end());
  }
  double recordLow() const { return MainWindowTester::domainRecord(w)->low; }
  double recordHigh() const { return MainWindowTester::domainRecord(w)->high; }
  bool closeDataEnabled() const
  {
    return MainWindowTester::action(w, "actionCloseData")->isEnabled();
  }

private:
  MainWindow* w;
};

class TestMainWindowData : public QObject
{
  Q_OBJECT

  // The program's settings, default session and formulas stay in a directory
  // of the test's own; the data files in another.
  ProgramEnvironment env;
  QTemporaryDir dir;
  MainWindow* window = nullptr;

  QString write(const QString& name, const QByteArray& content)
  {
    const QString path = dir.filePath(name);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(content) != content.size())
      qFatal("cannot write test file");
    return path;
  }

  static QStringList texts(const PromptRecorder& rec)
  {
    QStringList t;
    for (const auto& m : rec.messages)
      t << m.title + " / " + m.text;
    return t;
  }

  // Answers the open dialog with the file and the x-column choice.
  static void answerOpenDialog(const QString& path, int xColumn)
  {
    DataFileOpenDialog::setRunner([path, xColumn](DataFileOpenDialog& d) {
      d.selectFile(path);
      d.xColumnCheckBox()->setChecked(xColumn >= 0);
      d.xColumnSpinBox()->setValue(qMax(0, xColumn));
      return int(QDialog::Accepted);
    });
  }

private slots:
  void initTestCase();
  void cleanupTestCase();
  void init();
  void cleanup();
  void openTextWithHeaderAndXColumn();
  void openTextWithoutXColumn();
  void refusedFileChangesNothing_data();
  void refusedFileChangesNothing();
  void openCsvThroughImportDialog();
  void cancelledImportDialogChangesNothing();
  void cancelledOpenDialogChangesNothing();
  void csvSessionReopensWithStoredSeparator();
};

void TestMainWindowData::initTestCase()
{
  env.setUp();
  write("header.txt", "time value\nmeasured today\n0 1\n1 2\n2 4\n3 8\n");
  write("unsorted.txt", "0 1\n2 2\n1 3\n3 4\n");
  write("data.dat", "0 1\n1 2\n2 3\n3 4\n");
  write("pipes.csv", "x|y|z\n0|1|10\n1|2,5|20\n2|4|x\n3|8|40\n");
  write("semi.csv", "0;1\n1;2\n2;3\n3;4\n");
  QFile::link("/dev/zero", dir.filePath("zero.csv"));
}

void TestMainWindowData::cleanupTestCase() {}

void TestMainWindowData::init()
{
  // An import dialog nobody expected fails the test instead of blocking it.
  CsvDialog::setRunner([](CsvDialog&) {
    qWarning("unexpected import dialog");
    return int(QDialog::Rejected);
  });
  PromptRecorder rec;
  window = new MainWindow;
  window->show();
  QVERIFY(QTest::qWaitForWindowExposed(window));
  QTest::qWait(50); // the start-up session
}

void TestMainWindowData::cleanup()
{
  DataFileOpenDialog::setRunner({});
  CsvDialog::setRunner({});
  PromptRecorder rec;
  delete window;
  window = nullptr;
}

void TestMainWindowData::openTextWithHeaderAndXColumn()
{
  PromptRecorder rec;
  const QString path = dir.filePath("header.txt");
  answerOpenDialog(path, 0);
  DataWindow t(*window);
  t.openData();
  QCOMPARE(texts(rec).join(" | "), QString("File parser / Ignoring 2 lines that could not be read "
                                           "from file or contains a text."));
  QCOMPARE(rec.messages.front().icon, QMessageBox::Information);
  QCOMPARE(window->functionSourceType(), 1);
  QVERIFY(t.closeDataEnabled());
  QCOMPARE(t.functions().size(), 1);
  QCOMPARE(t.domainValues(), QVector<double>({0, 1, 2, 3}));
  QCOMPARE(t.values(0), QVector<double>({1, 2, 4, 8}));
  QCOMPARE(t.recordLow(), 0.0);
  QCOMPARE(t.recordHigh(), 3.0);
  QCOMPARE(t.info().filePath(), path);
  QVERIFY(!t.info().showImportDialog);
  QVERIFY(window->windowTitle().endsWith(" - " + path));
}

void TestMainWindowData::openTextWithoutXColumn()
{
  PromptRecorder rec;
  answerOpenDialog(dir.filePath("header.txt"), -1);
  DataWindow t(*window);
  t.openData();
  QCOMPARE(t.functions().size(), 2);
  QCOMPARE(t.domainValues(), QVector<double>({0, 1, 2, 3}));
  QCOMPARE(t.values(0), QVector<double>({0, 1, 2, 3}));
  QCOMPARE(t.values(1), QVector<double>({1, 2, 4, 8}));
  QCOMPARE(t.info().xColumn, -1);
}

void TestMainWindowData::refusedFileChangesNothing_data()
{
  QTest::addColumn<QString>("name");
  QTest::addColumn<QString>("title");
  QTest::addColumn<QString>("textPart");
  QTest::newRow("unsorted x") << "unsorted.txt"
                              << "Input data"
                              << "data is not sorted";
  QTest::newRow("suffix") << "data.dat"
                          << "File parser"
                          << "data.dat";
  QTest::newRow("device") << "zero.csv"
                          << "File parser"
                          << "not a regular file";
}

void TestMainWindowData::refusedFileChangesNothing()
{
  QFETCH(QString, name);
  QFETCH(QString, title);
  QFETCH(QString, textPart);
  DataWindow t(*window);
  {
    PromptRecorder rec;
    answerOpenDialog(dir.filePath("header.txt"), 0);
    t.openData();
  }
  const auto functions = t.functions();
  const auto* domain = t.domain();
  const QString title0 = window->windowTitle();

  PromptRecorder rec;
  DataFileInfo info(QFile::encodeName(dir.filePath(name)), false, 0);
  QVERIFY(!t.load(info, true));
  QCOMPARE(rec.messages.size(), 1);
  QCOMPARE(rec.messages.front().icon, QMessageBox::Critical);
  QCOMPARE(rec.messages.front().title, title);
  QVERIFY2(rec.messages.front().text.contains(textPart), qPrintable(rec.messages.front().text));
  QCOMPARE(t.functions(), functions);
  QCOMPARE(t.domain(), domain);
  QCOMPARE(t.info().filePath(), dir.filePath("header.txt"));
  QCOMPARE(window->windowTitle(), title0);
  QCOMPARE(window->functionSourceType(), 1);
}

void TestMainWindowData::openCsvThroughImportDialog()
{
  PromptRecorder rec;
  write("comma.csv", "x,y\n0,1\n1,2\n2,3\n3,5\n");
  answerOpenDialog(dir.filePath("comma.csv"), 0);
  int dialogs = 0;
  CsvDialog::setRunner([&dialogs](CsvDialog& d) {
    ++dialogs;
    d.findChild<QRadioButton*>("commaSepRbtn")->setChecked(true);
    d.findChild<QRadioButton*>("dotRbtn")->setChecked(true);
    d.buttonBox()->button(QDialogButtonBox::Ok)->click();
    return d.result();
  });
  DataWindow t(*window);
  t.openData();
  QCOMPARE(dialogs, 1);
  QCOMPARE(rec.messages.size(), 1); // the header row
  QCOMPARE(rec.messages.front().text,
           QString("Ignoring 1 line that could not be read from file or contains a text."));
  QCOMPARE(t.info().valueSeparator, QString(","));
  QCOMPARE(t.info().decimalSeparator, 0);
  QCOMPARE(t.functions().size(), 1);
  QCOMPARE(t.values(0), QVector<double>({1, 2, 3, 5}));
}

void TestMainWindowData::cancelledImportDialogChangesNothing()
{
  PromptRecorder rec;
  DataWindow t(*window);
  const auto functions = t.functions();
  const int source = window->functionSourceType();
  answerOpenDialog(dir.filePath("semi.csv"), 0);
  CsvDialog::setRunner([](CsvDialog&) { return int(QDialog::Rejected); });
  t.openData();
  QVERIFY(rec.messages.isEmpty());
  QCOMPARE(t.functions(), functions);
  QCOMPARE(window->functionSourceType(), source);
}

void TestMainWindowData::cancelledOpenDialogChangesNothing()
{
  PromptRecorder rec;
  DataWindow t(*window);
  const auto functions = t.functions();
  DataFileOpenDialog::setRunner([](DataFileOpenDialog&) { return int(QDialog::Rejected); });
  t.openData();
  QVERIFY(rec.messages.isEmpty());
  QCOMPARE(t.functions(), functions);
}

void TestMainWindowData::csvSessionReopensWithStoredSeparator()
{
  PromptRecorder rec;
  DataWindow t(*window);
  DataFileInfo info(QFile::encodeName(dir.filePath("pipes.csv")), false, 0);
  info.valueSeparator = "|";
  QVERIFY(t.load(info, true));
  t.setFunctionType(1);
  QCOMPARE(t.functions().size(), 2);
  const QString session = dir.filePath("pipes.qms");
  QVERIFY(window->saveSession(session));
  {
    QSettings s(session, QSettings::IniFormat);
    QCOMPARE(s.value("MainWindow/valueSeparator").toString(), QString("|"));
    QCOMPARE(s.value("MainWindow/functionTypeUsed").toInt(), 1);
  }

  // A fresh window opens the session without asking anything.
  delete window;
  window = new MainWindow;
  window->show();
  QVERIFY(QTest::qWaitForWindowExposed(window));
  QTest::qWait(50);
  int dialogs = 0;
  CsvDialog::setRunner([&dialogs](CsvDialog&) { return ++dialogs, int(QDialog::Rejected); });
  rec.messages.clear();
  QVERIFY(window->openSession(session));
  DataWindow t2(*window);
  QCOMPARE(dialogs, 0);
  QCOMPARE(t2.info().valueSeparator, QString("|"));
  QCOMPARE(window->functionSourceType(), 1);
  QCOMPARE(t2.functions().size(), 2);
  QCOMPARE(t2.values(0), QVector<double>({1, 2.5, 8}));
  QCOMPARE(t2.domainValues(), QVector<double>({0, 1, 3}));
  QStringList texts;
  for (const auto& m : rec.messages)
    texts << m.text;
  QCOMPARE(texts, QStringList("Ignoring 2 lines that could not be read from file or contains a "
                              "text."));
}

QTEST_MAIN(TestMainWindowData)
#include "tst_mainwindow_data.moc"
