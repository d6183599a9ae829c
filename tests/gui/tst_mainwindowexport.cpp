// The two export commands of the real window, with their modal dialog
// answered from the event loop the dialog runs.
#include "mainwindowtester.h"

#include "common/promptrecorder.h"
#include "gui/components/plotwidget.h"
#include "gui/exportwidget.h"
#include "math/domains/enumerationbase.h"
#include "math/fce/mathfn.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <functional>

class TestMainWindowExport : public QObject
{
  Q_OBJECT

  using T = MainWindowTester;
  ProgramEnvironment env;
  QTemporaryDir out;

  // Runs fill on the next export dialog with the target out/name, then presses OK (or Cancel).
  void answerDialog(const QString& name, const std::function<void(ExportWidget*)>& fill,
                    bool ok = true)
  {
    QTimer::singleShot(0, [=] {
      auto* d = qobject_cast<ExportWidget*>(QApplication::activeModalWidget());
      if (!d)
        qFatal("no export dialog");
      fill(d);
      if (ok) {
        d->findChild<QLineEdit*>("pathEdt")->setText(out.path());
        d->findChild<QLineEdit*>("fileNameEdt")->setText(name.section('.', 0, 0));
        d->findChild<QLineEdit*>("suffixEdt")->setText(name.section('.', 1));
      }
      d->setupOkBtnState();
      d->buttonBox()->button(ok ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel)->click();
      if (d->isVisible())
        d->reject();
    });
  }

private slots:
  void initTestCase() { env.setUp(); }
  void valuesAndPicture();
};

void TestMainWindowExport::valuesAndPicture()
{
  PromptRecorder rec;
  auto w = startWindow();
  T::degreeSpin(w.get())->setValue(1);
  T::degreeBox(w.get(), 1)->setChecked(true);
  answerDialog("values.csv", [](ExportWidget* d) {
    for (const char* box : {"domainCBox", "originFnChbox", "coefChbox", "inverseFnChbox"})
      d->findChild<QCheckBox*>(box)->setChecked(true);
  });
  T::action(w.get(), "actionExportValues")->trigger();
  QVERIFY(rec.messages.isEmpty());

  QFile file(out.filePath("values.csv"));
  QVERIFY(file.open(QIODevice::ReadOnly));
  const auto lines = file.readAll().split('\n');
  QCOMPARE(QString::fromUtf8(lines.at(0)),
           QStringLiteral("\"Domain\";\"%1\";\"%1 - Comp0\";\"%1 - Comp1\";"
                          "\"%1 - Inverse0\";\"%1 - Inverse1\";")
               .arg(T::selector(w.get())->selection(0)));
  // Header, a line per point of the longest column, the empty rest after the last line end.
  std::size_t points = 0;
  for (const auto* fn : T::controller(w.get())->functions())
    points = std::max(points, fn->domain()->size());
  for (const auto& inverse : T::controller(w.get())->inverses())
    points = std::max(points, inverse->domain()->size());
  QCOMPARE(lines.size(), int(points) + 2);
  QVERIFY(lines.at(1).startsWith("0; "));
  QVERIFY(lines.at(int(points)).startsWith("1; "));

  // The fields come back in the next dialog of this session.
  bool restored = false;
  answerDialog(
      "",
      [&restored](ExportWidget* d) {
        restored = d->findChild<QLineEdit*>("fileNameEdt")->text() == "values" &&
                   d->findChild<QCheckBox*>("coefChbox")->isChecked() &&
                   !d->findChild<QWidget*>("groupBox")->isHidden() &&
                   d->findChild<QWidget*>("pictureWidget")->isHidden();
      },
      false);
  T::action(w.get(), "actionExportValues")->trigger();
  QVERIFY(restored);

  const QSize canvas = T::controller(w.get())->plotWidget()->canvas()->size();
  QString shown;
  answerDialog("plot.png", [&shown](ExportWidget* d) {
    shown = d->findChild<QLabel*>("currentSizeLbl")->text() + " " +
            QString::number(d->pictureSize().width());
    d->findChild<QSpinBox*>("widthSpin")->setValue(321);
    d->findChild<QSpinBox*>("heightSpin")->setValue(123);
  });
  T::action(w.get(), "actionExportPicture")->trigger();
  QVERIFY(rec.messages.isEmpty());
  QCOMPARE(shown, QString("Current size: %1 x %2 %1").arg(canvas.width()).arg(canvas.height()));
  QCOMPARE(QImage(out.filePath("plot.png")).size(), QSize(321, 123));
  QCOMPARE(T::controller(w.get())->plotWidget()->canvas()->size(), canvas);

  QSize size;
  answerDialog(
      "", [&size](ExportWidget* d) { size = d->pictureSize(); }, false);
  T::action(w.get(), "actionExportPicture")->trigger();
  QCOMPARE(size, QSize(321, 123));
}

QTEST_MAIN(TestMainWindowExport)
#include "tst_mainwindowexport.moc"
