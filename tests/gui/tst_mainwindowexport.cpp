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

  // Sets the next export dialog up with fill, then presses OK (or Cancel).
  static void answerDialog(const std::function<void(ExportWidget*)>& fill, bool ok = true)
  {
    QTimer::singleShot(0, [fill, ok] {
      auto* d = qobject_cast<ExportWidget*>(QApplication::activeModalWidget());
      if (!d)
        qFatal("no export dialog");
      fill(d);
      d->setupOkBtnState();
      QPushButton* button =
          d->buttonBox()->button(ok ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel);
      button->click();
      if (d->isVisible())
        d->reject();
    });
  }
  static void setTarget(ExportWidget* d, const QString& dir, const QString& name,
                        const QString& suffix)
  {
    d->findChild<QLineEdit*>("pathEdt")->setText(dir);
    d->findChild<QLineEdit*>("fileNameEdt")->setText(name);
    d->findChild<QLineEdit*>("suffixEdt")->setText(suffix);
  }
  template <typename W>
  static W* field(ExportWidget* d, const char* name)
  {
    return d->findChild<W*>(name);
  }

private slots:
  void initTestCase() { env.setUp(); }
  void values();
  void picture();
};

void TestMainWindowExport::values()
{
  PromptRecorder rec;
  auto w = startWindow();
  T::degreeSpin(w.get())->setValue(1);
  T::degreeBox(w.get(), 1)->setChecked(true);
  const QString name = T::selector(w.get())->selection(0);

  answerDialog([this](ExportWidget* d) {
    setTarget(d, out.path(), "values", "csv");
    for (const char* box : {"domainCBox", "originFnChbox", "coefChbox", "inverseFnChbox"})
      field<QCheckBox>(d, box)->setChecked(true);
  });
  T::action(w.get(), "actionExportValues")->trigger();
  QVERIFY(rec.messages.isEmpty());

  QFile file(out.filePath("values.csv"));
  QVERIFY(file.open(QIODevice::ReadOnly));
  const auto lines = file.readAll().split('\n');
  const QString header = QStringLiteral("\"Domain\";\"%1\";\"%1 - Comp0\";\"%1 - Comp1\";"
                                        "\"%1 - Inverse0\";\"%1 - Inverse1\";")
                             .arg(name);
  QCOMPARE(QString::fromUtf8(lines.at(0)), header);
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
      [&restored](ExportWidget* d) {
        restored = field<QLineEdit>(d, "fileNameEdt")->text() == "values" &&
                   field<QCheckBox>(d, "coefChbox")->isChecked() &&
                   !field<QWidget>(d, "groupBox")->isHidden() &&
                   field<QWidget>(d, "pictureWidget")->isHidden();
      },
      false);
  T::action(w.get(), "actionExportValues")->trigger();
  QVERIFY(restored);
}

void TestMainWindowExport::picture()
{
  PromptRecorder rec;
  auto w = startWindow();
  const QSize canvas = T::controller(w.get())->plotWidget()->canvas()->size();
  QString shown;
  answerDialog([&](ExportWidget* d) {
    shown = d->findChild<QLabel*>("currentSizeLbl")->text() + " " +
            QString::number(d->pictureSize().width());
    setTarget(d, out.path(), "plot", "png");
    field<QSpinBox>(d, "widthSpin")->setValue(321);
    field<QSpinBox>(d, "heightSpin")->setValue(123);
  });
  T::action(w.get(), "actionExportPicture")->trigger();
  QVERIFY(rec.messages.isEmpty());
  QCOMPARE(shown, QString("Current size: %1 x %2 %1").arg(canvas.width()).arg(canvas.height()));
  QCOMPARE(QImage(out.filePath("plot.png")).size(), QSize(321, 123));
  QCOMPARE(T::controller(w.get())->plotWidget()->canvas()->size(), canvas);

  QSize restored;
  answerDialog([&restored](ExportWidget* d) { restored = d->pictureSize(); }, false);
  T::action(w.get(), "actionExportPicture")->trigger();
  QCOMPARE(restored, QSize(321, 123));
}

QTEST_MAIN(TestMainWindowExport)
#include "tst_mainwindowexport.moc"
