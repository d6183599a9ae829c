#include "common/promptrecorder.h"
#include "gui/exportwidget.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>

class TestExportWidget : public QObject
{
  Q_OBJECT

private:
  template <typename T>
  static T* child(ExportWidget& w, const char* name)
  {
    T* c = w.findChild<T*>(QLatin1String(name));
    if (!c)
      qFatal("missing child %s", name);
    return c;
  }
  static bool okEnabled(ExportWidget& w)
  {
    return w.buttonBox()->button(QDialogButtonBox::Ok)->isEnabled();
  }

private slots:
  void fileNameTyping_data();
  void fileNameTyping();
  void okState_data();
  void okState();
  void existingFileWarning();
  void pathDialogFillsFields_data();
  void pathDialogFillsFields();
  void modesAndPictureSize();
};

void TestExportWidget::fileNameTyping_data()
{
  QTest::addColumn<QString>("typed");
  QTest::addColumn<QString>("kept");
  // clang-format off
  QTest::newRow("dot allowed") << "result.final" << "result.final";
  QTest::newRow("slash") << "res/ult" << "result";
  QTest::newRow("backslash") << "res\\ult" << "result";
  QTest::newRow("bar star angles") << "a|b*c<d>e" << "abcde";
  QTest::newRow("spaces and colon") << "my data: 1" << "my data: 1";
  // clang-format on
}

void TestExportWidget::fileNameTyping()
{
  QFETCH(QString, typed);
  QFETCH(QString, kept);
  ExportWidget w;
  auto* edit = child<QLineEdit>(w, "fileNameEdt");
  QTest::keyClicks(edit, typed);
  QCOMPARE(edit->text(), kept);
  QCOMPARE(edit->toolTip(),
           QString("Following regular expression is validated:\n^[^\\\\/\\|*<>]+$"));
}

void TestExportWidget::okState_data()
{
  QTest::addColumn<QString>("dir");
  QTest::addColumn<QString>("name");
  QTest::addColumn<QString>("suffix");
  QTest::addColumn<bool>("ok");
  // clang-format off
  QTest::newRow("complete") << "<tmp>" << "values" << "csv" << true;
  QTest::newRow("no path") << "" << "values" << "csv" << false;
  QTest::newRow("missing dir") << "<tmp>/missing" << "values" << "csv" << false;
  QTest::newRow("path is a file") << "<tmp>/plain" << "values" << "csv" << false;
  QTest::newRow("blank name") << "<tmp>" << "   " << "csv" << false;
  QTest::newRow("no suffix") << "<tmp>" << "values" << "" << false;
  QTest::newRow("suffix leaves directory") << "<tmp>" << "values" << "csv/../../x" << false;
  // clang-format on
}

void TestExportWidget::okState()
{
  QFETCH(QString, dir);
  QFETCH(QString, name);
  QFETCH(QString, suffix);
  QFETCH(bool, ok);
  QTemporaryDir tmp;
  QVERIFY(tmp.isValid());
  QFile plain(tmp.filePath("plain"));
  QVERIFY(plain.open(QIODevice::WriteOnly));
  plain.close();

  ExportWidget w;
  child<QLineEdit>(w, "pathEdt")->setText(QString(dir).replace("<tmp>", tmp.path()));
  child<QLineEdit>(w, "suffixEdt")->setText(suffix);
  auto* nameEdt = child<QLineEdit>(w, "fileNameEdt");
  nameEdt->setFocus();
  // Typing runs the check the way the user does.
  QTest::keyClicks(nameEdt, name);
  QCOMPARE(w.isInputValid(), ok);
  QCOMPARE(okEnabled(w), ok);
  if (ok)
    QCOMPARE(w.filePath(), QDir::toNativeSeparators(tmp.path() + "/values.csv"));
}

void TestExportWidget::existingFileWarning()
{
  QTemporaryDir tmp;
  QFile existing(tmp.filePath("old.csv"));
  QVERIFY(existing.open(QIODevice::WriteOnly));
  existing.close();

  ExportWidget w;
  QVERIFY(!okEnabled(w));
  auto* warning = child<QLabel>(w, "warningLbl");
  QVERIFY(warning->isHidden());
  QVERIFY(warning->text().contains("File exists"));
  child<QLineEdit>(w, "pathEdt")->setText(tmp.path());
  child<QLineEdit>(w, "suffixEdt")->setText("csv");
  child<QLineEdit>(w, "fileNameEdt")->setText("old");
  w.setupOkBtnState();
  QVERIFY(!warning->isHidden());
  QVERIFY(okEnabled(w));

  child<QLineEdit>(w, "fileNameEdt")->setText("new");
  w.setupOkBtnState();
  QVERIFY(warning->isHidden());
  QVERIFY(okEnabled(w));

  // Text restored from a session skips the validator; it must not pass here.
  child<QLineEdit>(w, "fileNameEdt")->setText("../old");
  w.setupOkBtnState();
  QVERIFY(!okEnabled(w));
}

void TestExportWidget::pathDialogFillsFields_data()
{
  QTest::addColumn<QString>("chosen");
  QTest::addColumn<QString>("name");
  QTest::addColumn<QString>("suffix");
  QTest::addColumn<bool>("ok");
  // clang-format off
  QTest::newRow("dotted name") << "result.final.csv" << "result.final" << "csv" << true;
  QTest::newRow("picture") << "plot.png" << "plot" << "png" << true;
  QTest::newRow("refused characters") << "a|b.csv" << "" << "csv" << false;
  QTest::newRow("no suffix") << "values" << "values" << "" << false;
  // clang-format on
}

void TestExportWidget::pathDialogFillsFields()
{
  QFETCH(QString, chosen);
  QFETCH(QString, name);
  QFETCH(QString, suffix);
  QFETCH(bool, ok);
  QTemporaryDir tmp;
  PromptRecorder rec;
  rec.fileAnswer = tmp.filePath(chosen);

  ExportWidget w;
  child<QPushButton>(w, "pathDialogBtn")->click();
  QCOMPARE(rec.fileCaptions, QStringList{"Select file name"});
  QCOMPARE(child<QLineEdit>(w, "pathEdt")->text(), QDir(tmp.path()).absolutePath());
  QCOMPARE(child<QLineEdit>(w, "fileNameEdt")->text(), name);
  QCOMPARE(child<QLineEdit>(w, "suffixEdt")->text(), suffix);
  QCOMPARE(okEnabled(w), ok);

  // A cancelled dialog changes nothing.
  rec.fileAnswer.clear();
  child<QPushButton>(w, "pathDialogBtn")->click();
  QCOMPARE(child<QLineEdit>(w, "fileNameEdt")->text(), name);
}

void TestExportWidget::modesAndPictureSize()
{
  ExportWidget w;
  QCOMPARE(w.fileFilter(), QString("Excel CSV (*.csv)"));
  w.setValueOptionsVisible(false);
  QCOMPARE(w.fileFilter(), QString("PNG image (*.png)"));
  QVERIFY(child<QWidget>(w, "groupBox")->isHidden());
  w.setPictureOptionsVisible(false);
  QCOMPARE(w.fileFilter(), QString("Excel CSV (*.csv)"));
  QVERIFY(child<QWidget>(w, "pictureWidget")->isHidden());
  for (const char* box : {"domainCBox", "originFnChbox", "coefChbox", "inverseFnChbox"})
    QVERIFY(!child<QCheckBox>(w, box)->isChecked());
  QVERIFY(!child<QCheckBox>(w, "keepRatioCBox")->isEnabled());

  auto* width = child<QSpinBox>(w, "widthSpin");
  auto* height = child<QSpinBox>(w, "heightSpin");
  QCOMPARE(width->minimum(), 16);
  QCOMPARE(height->maximum(), 19999);
  QCOMPARE(width->suffix(), QString(" pix"));
  w.setCurrentSize(513, 300);
  w.showCurrentSize(513, 300);
  QCOMPARE(child<QLabel>(w, "currentSizeLbl")->text(), QString("Current size: 513 x 300"));
  width->setValue(5);
  height->setValue(25000);
  QCOMPARE(w.pictureSize(), QSize(16, 19999));
  child<QPushButton>(w, "resetSizeBtn")->click();
  QCOMPARE(w.pictureSize(), QSize(513, 300));
}

QTEST_MAIN(TestExportWidget)
#include "tst_exportwidget.moc"
