#include "gui/csvdialog.h"
#include "gui/datafileopendialog.h"
#include "midle/numberreader/csvnumberreader.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>

#include <clocale>

class TestDataDialogs : public QObject
{
  Q_OBJECT

  QTemporaryDir dir;
  DataFileInfo info;

  static QRadioButton* radio(QWidget& w, const char* name)
  {
    auto* b = w.findChild<QRadioButton*>(name);
    if (!b)
      qFatal("no radio button %s", name);
    return b;
  }

private slots:
  void initTestCase();
  void csvDialogForm();
  void csvDialogAppliesChoice_data();
  void csvDialogAppliesChoice();
  void csvDialogCancelKeepsReader();
  void csvDialogSystemDecimal();
  void openDialogForm();
  void openDialogXColumn();
  void openDialogRunnerSeesSelection();
};

void TestDataDialogs::initTestCase()
{
  const QString path = dir.filePath("d.csv");
  QFile f(path);
  QVERIFY(f.open(QIODevice::WriteOnly));
  f.write("1;2\n3;4\n");
  f.close();
  info = DataFileInfo(QFile::encodeName(path), true, 0);
  info.valueSeparator = "|";
}

void TestDataDialogs::csvDialogForm()
{
  CsvNumberReader reader(info);
  CsvDialog dialog(reader);
  QCoreApplication::processEvents(); // the title is taken over after construction
  QCOMPARE(dialog.windowTitle(), QString("Import data setting"));
  QCOMPARE(dialog.size(), QSize(640, 400));
  QStringList groups;
  for (auto* g : dialog.findChildren<QGroupBox*>())
    groups << g->title();
  QCOMPARE(groups, QStringList({"Decimal separator", "Separator options"}));
  QStringList checked;
  QStringList texts;
  for (auto* b : dialog.findChildren<QRadioButton*>()) {
    texts << b->text();
    if (b->isChecked())
      checked << b->text();
  }
  QCOMPARE(texts, QStringList({"System (locale setting)", "Dot", "Comma", "Semicolon", "Comma",
                               "White space"}));
  QCOMPARE(checked, QStringList({"System (locale setting)", "Semicolon"}));
}

void TestDataDialogs::csvDialogAppliesChoice_data()
{
  QTest::addColumn<QString>("decimal");
  QTest::addColumn<QString>("separatorButton");
  QTest::addColumn<int>("decimalComma");
  QTest::addColumn<QString>("separator");
  QTest::newRow("dot, semicolon") << "dotRbtn"
                                  << "semicolonRbtn" << 0 << ";";
  QTest::newRow("comma, comma") << "commaRbtn"
                                << "commaSepRbtn" << 1 << ",";
  QTest::newRow("white space keeps separator") << "commaRbtn"
                                               << "whiteSpaceRbtn" << 1 << "|";
}

void TestDataDialogs::csvDialogAppliesChoice()
{
  QFETCH(QString, decimal);
  QFETCH(QString, separatorButton);
  QFETCH(int, decimalComma);
  QFETCH(QString, separator);
  CsvNumberReader reader(info);
  CsvDialog::setRunner([&](CsvDialog& d) {
    QTest::mouseClick(radio(d, qPrintable(decimal)), Qt::LeftButton);
    QTest::mouseClick(radio(d, qPrintable(separatorButton)), Qt::LeftButton);
    d.buttonBox()->button(QDialogButtonBox::Ok)->click();
    return d.result();
  });
  QCOMPARE(CsvDialog::execFor(reader), int(QDialog::Accepted));
  CsvDialog::setRunner({});
  QCOMPARE(reader.decimalSeparator(), decimalComma);
  QCOMPARE(reader.valueSeparator(), separator);
}

void TestDataDialogs::csvDialogCancelKeepsReader()
{
  CsvNumberReader reader(info);
  CsvDialog::setRunner([&](CsvDialog& d) {
    QTest::mouseClick(radio(d, "commaRbtn"), Qt::LeftButton);
    QTest::mouseClick(radio(d, "commaSepRbtn"), Qt::LeftButton);
    d.buttonBox()->button(QDialogButtonBox::Cancel)->click();
    return d.result();
  });
  QCOMPARE(CsvDialog::execFor(reader), int(QDialog::Rejected));
  CsvDialog::setRunner({});
  QCOMPARE(reader.decimalSeparator(), 0);
  QCOMPARE(reader.valueSeparator(), QString("|"));
}

void TestDataDialogs::csvDialogSystemDecimal()
{
  CsvNumberReader reader(info);
  CsvDialog dialog(reader);
  std::setlocale(LC_NUMERIC, "C");
  QCOMPARE(dialog.chosenDecimalComma(), 0);
  const char* commaLocales[] = {"de_DE.UTF-8", "cs_CZ.UTF-8", "fr_FR.UTF-8", "C.UTF-8"};
  for (const char* name : commaLocales) {
    if (std::setlocale(LC_NUMERIC, name) && std::localeconv()->decimal_point[0] == ',') {
      QCOMPARE(dialog.chosenDecimalComma(), 1);
      break;
    }
  }
  std::setlocale(LC_NUMERIC, "C");
}

void TestDataDialogs::openDialogForm()
{
  DataFileOpenDialog dialog;
  QCOMPARE(dialog.windowTitle(), QString("Open file"));
  QVERIFY(dialog.testOption(QFileDialog::DontUseNativeDialog));
  QCOMPARE(dialog.fileMode(), QFileDialog::ExistingFile);
  QCOMPARE(dialog.nameFilters().value(0),
           QString("Simple txt: two columns, can have text in header (*.txt)"));
  QVERIFY(dialog.nameFilters().contains("Excel CSV (*.csv)"));
  auto* grid = qobject_cast<QGridLayout*>(dialog.layout());
  QVERIFY(grid);
  QCOMPARE(grid->itemAtPosition(4, 0)->widget(), static_cast<QWidget*>(dialog.xColumnCheckBox()));
  QCOMPARE(grid->itemAtPosition(4, 1)->widget(), static_cast<QWidget*>(dialog.xColumnSpinBox()));
  QCOMPARE(dialog.xColumnCheckBox()->text(), QString("File contains data for X axis"));
  QVERIFY(dialog.xColumnCheckBox()->isChecked());
  QCOMPARE(dialog.xColumnCheckBox()->layoutDirection(), Qt::RightToLeft);
  QCOMPARE(dialog.xColumnSpinBox()->minimum(), 0);
  QCOMPARE(dialog.xColumnSpinBox()->value(), 0);
  QCOMPARE(dialog.xColumnSpinBox()->maximumWidth(), 100);
  const QList<QUrl> places = dialog.sidebarUrls();
  QVERIFY(places.contains(QUrl::fromLocalFile(QDir::homePath())));
  QVERIFY(places.contains(QUrl::fromLocalFile(QDir::rootPath())));
}

void TestDataDialogs::openDialogXColumn()
{
  DataFileOpenDialog dialog;
  dialog.xColumnSpinBox()->setValue(2);
  QCOMPARE(dialog.xColumn(), 2);
  QTest::mouseClick(dialog.xColumnCheckBox(), Qt::LeftButton);
  QVERIFY(!dialog.xColumnCheckBox()->isChecked());
  QVERIFY(!dialog.xColumnSpinBox()->isEnabled());
  QCOMPARE(dialog.xColumn(), -1);
  QTest::mouseClick(dialog.xColumnCheckBox(), Qt::LeftButton);
  QVERIFY(dialog.xColumnSpinBox()->isEnabled());
  QCOMPARE(dialog.xColumn(), 2);
}

void TestDataDialogs::openDialogRunnerSeesSelection()
{
  DataFileOpenDialog dialog;
  dialog.setDirectory(dir.path());
  DataFileOpenDialog::setRunner([&](DataFileOpenDialog& d) {
    d.selectFile(dir.filePath("d.csv"));
    return int(QDialog::Accepted);
  });
  QCOMPARE(dialog.run(), int(QDialog::Accepted));
  DataFileOpenDialog::setRunner({});
  QCOMPARE(QFileInfo(dialog.selectedFiles().value(0)).canonicalFilePath(),
           QFileInfo(dir.filePath("d.csv")).canonicalFilePath());
}

QTEST_MAIN(TestDataDialogs)
#include "tst_datadialogs.moc"
