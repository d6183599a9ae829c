#include "gui/csvdialog.h"
#include "midle/numberreader/csvnumberreader.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>

class TestDataDialogs : public QObject
{
  Q_OBJECT

  QTemporaryDir dir;
  DataFileInfo info;

private slots:
  void initTestCase();
  void csvDialogAppliesChoice_data();
  void csvDialogAppliesChoice();
};

void TestDataDialogs::initTestCase()
{
  QFile f(dir.filePath("d.csv"));
  QVERIFY(f.open(QIODevice::WriteOnly));
  f.write("1;2\n3;4\n");
  f.close();
  info = DataFileInfo(QFile::encodeName(f.fileName()), true, 0);
  info.valueSeparator = "|";
}

void TestDataDialogs::csvDialogAppliesChoice_data()
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

void TestDataDialogs::csvDialogAppliesChoice()
{
  QFETCH(QString, decimal);
  QFETCH(QString, separatorButton);
  QFETCH(bool, ok);
  QFETCH(int, decimalComma);
  QFETCH(QString, separator);
  CsvNumberReader reader(info);
  CsvDialog::setRunner([&](CsvDialog& d) {
    QTest::mouseClick(d.findChild<QRadioButton*>(decimal), Qt::LeftButton);
    QTest::mouseClick(d.findChild<QRadioButton*>(separatorButton), Qt::LeftButton);
    d.buttonBox()->button(ok ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel)->click();
    return d.result();
  });
  QCOMPARE(CsvDialog::execFor(reader), int(ok ? QDialog::Accepted : QDialog::Rejected));
  CsvDialog::setRunner({});
  QCOMPARE(reader.decimalSeparator(), decimalComma);
  QCOMPARE(reader.valueSeparator(), separator);
}

QTEST_MAIN(TestDataDialogs)
#include "tst_datadialogs.moc"
