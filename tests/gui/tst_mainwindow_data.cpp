// Opening data files in the real window: the open dialog, the import dialog,
// refused files and data sessions; and the import dialog's choices on a reader.
#include "mainwindowtester.h"

#include "common/promptrecorder.h"
#include "gui/csvdialog.h"
#include "gui/datafileopendialog.h"
#include "math/domains/enumerationbase.h"
#include "math/fce/mathfn.h"
#include "midle/numberreader/csvnumberreader.h"

#include <QAction>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>

class TestMainWindowData : public QObject
{
  Q_OBJECT

  using T = MainWindowTester;
  ProgramEnvironment env;
  QTemporaryDir dir;
  std::unique_ptr<MainWindow> window;

  void write(const QString& name, const QByteArray& content)
  {
    QFile f(dir.filePath(name));
    if (!f.open(QIODevice::WriteOnly) || f.write(content) != content.size())
      qFatal("cannot write test file");
  }
  static QVector<double> vec(const std::vector<double>& v) { return {v.begin(), v.end()}; }
  QVector<double> values(int i) const { return vec(T::functions(window.get()).at(i)->values()); }
  QVector<double> xs() const { return vec(T::domain(window.get())->values()); }
  DataFileInfo info() const { return T::dataFileInfo(window.get()); }

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
  void init();
  void cleanup();
  void openData_data();
  void openData();
  void refusedFileChangesNothing();
  void csvSessionReopensWithStoredSeparator();
  void csvDialogAppliesChoice_data();
  void csvDialogAppliesChoice();
};

void TestMainWindowData::initTestCase()
{
  env.setUp();
  write("header.txt", "time value\nmeasured today\n0 1\n1 2\n2 4\n3 8\n");
  write("unsorted.txt", "0 1\n2 2\n1 3\n3 4\n");
  write("data.dat", "0 1\n1 2\n2 3\n3 4\n");
  write("pipes.csv", "x|y|z\n0|1|10\n1|2,5|20\n2|4|x\n3|8|40\n");
  write("d.csv", "1;2\n3;4\n");
  write("comma.csv", "x,y\n0,1\n1,2\n2,3\n3,5\n");
}

void TestMainWindowData::init()
{
  // An import dialog nobody expected fails the test instead of blocking it.
  CsvDialog::setRunner([](CsvDialog&) {
    qWarning("unexpected import dialog");
    return int(QDialog::Rejected);
  });
  PromptRecorder rec;
  window = startWindow();
}

void TestMainWindowData::cleanup()
{
  DataFileOpenDialog::setRunner({});
  CsvDialog::setRunner({});
  PromptRecorder rec;
  window.reset();
}

void TestMainWindowData::openData_data()
{
  QTest::addColumn<QString>("name");
  QTest::addColumn<int>("xColumn");
  QTest::addColumn<QVector<double>>("last");
  QTest::addColumn<QString>("ignored");
  // clang-format off
  QTest::newRow("text, row indices") << "header.txt" << -1 << QVector<double>{1, 2, 4, 8} << "2 lines";
  QTest::newRow("csv through import dialog") << "comma.csv" << 0 << QVector<double>{1, 2, 3, 5} << "1 line";
  // clang-format on
}

void TestMainWindowData::openData()
{
  QFETCH(QString, name);
  QFETCH(int, xColumn);
  QFETCH(QVector<double>, last);
  QFETCH(QString, ignored);
  PromptRecorder rec;
  const QString path = dir.filePath(name);
  answerOpenDialog(path, xColumn);
  int dialogs = 0;
  CsvDialog::setRunner([&dialogs](CsvDialog& d) {
    ++dialogs;
    d.findChild<QRadioButton*>("commaSepRbtn")->setChecked(true);
    d.findChild<QRadioButton*>("dotRbtn")->setChecked(true);
    d.buttonBox()->button(QDialogButtonBox::Ok)->click();
    return d.result();
  });
  T::openData(window.get());
  QCOMPARE(dialogs, name.endsWith(".csv") ? 1 : 0);
  QCOMPARE(rec.titles(), QStringList{"File parser"});
  QCOMPARE(rec.messages.front().text,
           "Ignoring " + ignored + " that could not be read from file or contains a text.");
  QCOMPARE(rec.messages.front().icon, QMessageBox::Information);
  QCOMPARE(window->functionSourceType(), 1);
  QVERIFY(T::action(window.get(), "actionCloseData")->isEnabled());
  QCOMPARE(T::functions(window.get()).size(), xColumn < 0 ? 2 : 1); // the x column as well
  QCOMPARE(xs(), QVector<double>({0, 1, 2, 3}));
  QCOMPARE(values(T::functions(window.get()).size() - 1), last);
  QCOMPARE(T::domainRecord(window.get())->high, 3.0);
  QCOMPARE(info().xColumn, xColumn);
  QVERIFY(window->windowTitle().endsWith(" - " + path));
}

void TestMainWindowData::refusedFileChangesNothing()
{
  const auto functions = T::functions(window.get());
  const auto* domain = T::domain(window.get());
  const QString title = window->windowTitle();
  const int source = window->functionSourceType();
  PromptRecorder rec;
  for (const char* name : {"unsorted.txt", "data.dat"})
    QVERIFY(!T::loadDataFile(window.get(),
                             DataFileInfo(QFile::encodeName(dir.filePath(name)), false, 0), true));
  QCOMPARE(rec.titles(), (QStringList{"Input data", "File parser"}));
  QVERIFY(rec.messages[0].text.contains("data is not sorted"));
  QVERIFY(rec.messages[1].text.contains("data.dat"));
  QCOMPARE(rec.messages[1].icon, QMessageBox::Critical);
  QCOMPARE(T::functions(window.get()), functions);
  QCOMPARE(T::domain(window.get()), domain);
  QCOMPARE(window->windowTitle(), title);
  QCOMPARE(window->functionSourceType(), source);
}

void TestMainWindowData::csvSessionReopensWithStoredSeparator()
{
  PromptRecorder rec;
  DataFileInfo stored(QFile::encodeName(dir.filePath("pipes.csv")), false, 0);
  stored.valueSeparator = "|";
  QVERIFY(T::loadDataFile(window.get(), stored, true));
  T::setFunctionType(window.get(), 1);
  const QString session = dir.filePath("pipes.qms");
  QVERIFY(window->saveSession(session));
  QCOMPARE(QSettings(session, QSettings::IniFormat).value("MainWindow/valueSeparator").toString(),
           QString("|"));

  // A fresh window opens the session without asking anything (init refuses the import dialog).
  window = startWindow();
  rec.messages.clear();
  QVERIFY(window->openSession(session));
  QCOMPARE(info().valueSeparator, QString("|"));
  QCOMPARE(window->functionSourceType(), 1);
  QCOMPARE(T::functions(window.get()).size(), 2);
  QCOMPARE(values(0), QVector<double>({1, 2.5, 8}));
  QCOMPARE(xs(), QVector<double>({0, 1, 3}));
  QCOMPARE(rec.messages.size(), 1);
  QCOMPARE(rec.messages.front().text,
           QString("Ignoring 2 lines that could not be read from file or contains a text."));
}

void TestMainWindowData::csvDialogAppliesChoice_data()
{
  QTest::addColumn<QString>("decimal");
  QTest::addColumn<QString>("separatorButton");
  QTest::addColumn<bool>("ok");
  QTest::addColumn<int>("decimalComma");
  QTest::addColumn<QString>("separator");
  // clang-format off
  QTest::newRow("dot, semicolon") << "dotRbtn" << "semicolonRbtn" << true << 0 << ";";
  QTest::newRow("comma, comma") << "commaRbtn" << "commaSepRbtn" << true << 1 << ",";
  QTest::newRow("white space keeps separator") << "commaRbtn" << "whiteSpaceRbtn" << true << 1 << "|";
  QTest::newRow("cancel keeps reader") << "commaRbtn" << "commaSepRbtn" << false << 0 << "|";
  // clang-format on
}

void TestMainWindowData::csvDialogAppliesChoice()
{
  QFETCH(QString, decimal);
  QFETCH(QString, separatorButton);
  QFETCH(bool, ok);
  QFETCH(int, decimalComma);
  QFETCH(QString, separator);
  DataFileInfo info(QFile::encodeName(dir.filePath("d.csv")), true, 0);
  info.valueSeparator = "|";
  CsvNumberReader reader(info);
  CsvDialog::setRunner([&](CsvDialog& d) {
    QTest::mouseClick(d.findChild<QRadioButton*>(decimal), Qt::LeftButton);
    QTest::mouseClick(d.findChild<QRadioButton*>(separatorButton), Qt::LeftButton);
    d.buttonBox()->button(ok ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel)->click();
    return d.result();
  });
  QCOMPARE(CsvDialog::execFor(reader), int(ok ? QDialog::Accepted : QDialog::Rejected));
  QCOMPARE(reader.decimalSeparator(), decimalComma);
  QCOMPARE(reader.valueSeparator(), separator);
}

QTEST_MAIN(TestMainWindowData)
#include "tst_mainwindow_data.moc"
