#include "common/promptrecorder.h"
#include "gui/exportwidget.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
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
  void pathDialogFillsFields_data();
  void pathDialogFillsFields();
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
  QTest::addColumn<bool>("warning");
  // clang-format off
  QTest::newRow("complete") << "<tmp>" << "values" << "csv" << true << false;
  QTest::newRow("existing file") << "<tmp>" << "old" << "csv" << true << true;
  QTest::newRow("no path") << "" << "values" << "csv" << false << false;
  QTest::newRow("missing dir") << "<tmp>/missing" << "values" << "csv" << false << false;
  QTest::newRow("path is a file") << "<tmp>/old.csv" << "values" << "csv" << false << false;
  QTest::newRow("blank name") << "<tmp>" << "   " << "csv" << false << false;
  QTest::newRow("no suffix") << "<tmp>" << "values" << "" << false << false;
  QTest::newRow("suffix leaves directory") << "<tmp>" << "values" << "csv/../../x" << false << false;
  // clang-format on
}

void TestExportWidget::okState()
{
  QFETCH(QString, dir);
  QFETCH(QString, name);
  QFETCH(QString, suffix);
  QFETCH(bool, ok);
  QFETCH(bool, warning);
  QTemporaryDir tmp;
  QFile old(tmp.filePath("old.csv"));
  QVERIFY(old.open(QIODevice::WriteOnly));
  old.close();

  ExportWidget w;
  child<QLineEdit>(w, "pathEdt")->setText(QString(dir).replace("<tmp>", tmp.path()));
  child<QLineEdit>(w, "suffixEdt")->setText(suffix);
  auto* nameEdt = child<QLineEdit>(w, "fileNameEdt");
  nameEdt->setFocus();
  QTest::keyClicks(nameEdt, name); // typing runs the check the way the user does
  QCOMPARE(w.isInputValid(), ok);
  QCOMPARE(okEnabled(w), ok);
  QCOMPARE(!child<QLabel>(w, "warningLbl")->isHidden(), warning);
  if (!ok)
    return;
  QCOMPARE(w.filePath(), QDir::toNativeSeparators(tmp.path() + "/" + name + ".csv"));
  // Text restored from a session skips the validator; it must not pass here.
  nameEdt->setText("../" + name);
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
  QCOMPARE(child<QLineEdit>(w, "pathEdt")->text(), QDir(tmp.path()).absolutePath());
  QCOMPARE(child<QLineEdit>(w, "fileNameEdt")->text(), name);
  QCOMPARE(child<QLineEdit>(w, "suffixEdt")->text(), suffix);
  QCOMPARE(okEnabled(w), ok);

  rec.fileAnswer.clear(); // a cancelled dialog changes nothing
  child<QPushButton>(w, "pathDialogBtn")->click();
  QCOMPARE(child<QLineEdit>(w, "fileNameEdt")->text(), name);
}

QTEST_MAIN(TestExportWidget)
#include "tst_exportwidget.moc"
