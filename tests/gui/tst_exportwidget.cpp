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
  void okState_data();
  void okState();
};

void TestExportWidget::okState_data()
{
  // dir "<dialog>": the path dialog answers with the file typed.
  QTest::addColumn<QString>("dir");
  QTest::addColumn<QString>("typed");
  QTest::addColumn<QString>("kept");
  QTest::addColumn<QString>("suffix");
  QTest::addColumn<bool>("ok");
  QTest::addColumn<bool>("warning");
  // clang-format off
  QTest::newRow("complete") << "<tmp>" << "values" << "values" << "csv" << true << false;
  QTest::newRow("dot allowed") << "<tmp>" << "result.final" << "result.final" << "csv" << true << false;
  QTest::newRow("slash") << "<tmp>" << "res/ult" << "result" << "csv" << true << false;
  QTest::newRow("backslash") << "<tmp>" << "res\\ult" << "result" << "csv" << true << false;
  QTest::newRow("bar star angles") << "<tmp>" << "a|b*c<d>e" << "abcde" << "csv" << true << false;
  QTest::newRow("spaces and colon") << "<tmp>" << "my data: 1" << "my data: 1" << "csv" << true << false;
  QTest::newRow("existing file") << "<tmp>" << "old" << "old" << "csv" << true << true;
  QTest::newRow("no path") << "" << "values" << "values" << "csv" << false << false;
  QTest::newRow("missing dir") << "<tmp>/missing" << "values" << "values" << "csv" << false << false;
  QTest::newRow("path is a file") << "<tmp>/old.csv" << "values" << "values" << "csv" << false << false;
  QTest::newRow("blank name") << "<tmp>" << "   " << "   " << "csv" << false << false;
  QTest::newRow("no suffix") << "<tmp>" << "values" << "values" << "" << false << false;
  QTest::newRow("suffix leaves directory") << "<tmp>" << "values" << "values" << "csv/../../x" << false << false;
  QTest::newRow("dialog, dotted name") << "<dialog>" << "result.final.csv" << "result.final" << "csv" << true << false;
  QTest::newRow("dialog, picture") << "<dialog>" << "plot.png" << "plot" << "png" << true << false;
  QTest::newRow("dialog, refused characters") << "<dialog>" << "a|b.csv" << "" << "csv" << false << false;
  QTest::newRow("dialog, no suffix") << "<dialog>" << "values" << "values" << "" << false << false;
  // clang-format on
}

void TestExportWidget::okState()
{
  QFETCH(QString, dir);
  QFETCH(QString, typed);
  QFETCH(QString, kept);
  QFETCH(QString, suffix);
  QFETCH(bool, ok);
  QFETCH(bool, warning);
  PromptRecorder rec;
  QTemporaryDir tmp;
  QFile old(tmp.filePath("old.csv"));
  QVERIFY(old.open(QIODevice::WriteOnly));
  old.close();

  ExportWidget w;
  auto* nameEdt = child<QLineEdit>(w, "fileNameEdt");
  QCOMPARE(nameEdt->toolTip(),
           QString("Following regular expression is validated:\n^[^\\\\/\\|*<>]+$"));
  if (dir == "<dialog>") {
    rec.fileAnswer = tmp.filePath(typed);
    child<QPushButton>(w, "pathDialogBtn")->click();
    QCOMPARE(child<QLineEdit>(w, "pathEdt")->text(), QDir(tmp.path()).absolutePath());
    QCOMPARE(child<QLineEdit>(w, "suffixEdt")->text(), suffix);
    rec.fileAnswer.clear(); // a cancelled dialog changes nothing
    child<QPushButton>(w, "pathDialogBtn")->click();
  } else {
    child<QLineEdit>(w, "pathEdt")->setText(QString(dir).replace("<tmp>", tmp.path()));
    child<QLineEdit>(w, "suffixEdt")->setText(suffix);
    nameEdt->setFocus();
    QTest::keyClicks(nameEdt, typed); // typing runs the check the way the user does
  }
  QCOMPARE(nameEdt->text(), kept);
  QCOMPARE(w.isInputValid(), ok);
  QCOMPARE(okEnabled(w), ok);
  QCOMPARE(!child<QLabel>(w, "warningLbl")->isHidden(), warning);
  if (!ok)
    return;
  QCOMPARE(w.filePath(), QDir::toNativeSeparators(tmp.path() + "/" + kept + "." + suffix));
  // Text restored from a session skips the validator; it must not pass here.
  nameEdt->setText("../" + kept);
  w.setupOkBtnState();
  QVERIFY(!okEnabled(w));
}

QTEST_MAIN(TestExportWidget)
#include "tst_exportwidget.moc"
