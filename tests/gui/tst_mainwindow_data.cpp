// Data in and out of the real window; modal dialogs are answered from the event loop they run.
#include "guitesthelpers.h"

#include "common/promptrecorder.h"
#include "common/testfiles.h"
#include "gui/components/functiontablewidget.h"
#include "gui/components/plotwidget.h"
#include "gui/exportwidget.h"
#include "gui/inputs/partitionplotdriver.h"
#include "math/domains/enumerationbase.h"
#include "math/fce/mathfn.h"
#include "midle/numberreader/csvnumberreader.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QImage>
#include <QLabel>
#include <QMimeData>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QtTest>

class TestMainWindowData : public QObject
{
  Q_OBJECT

  using T = MainWindowTester;
  ProgramEnvironment env;
  QTemporaryDir dir;
  std::unique_ptr<PromptRecorder> rec; // each test's prompts, answered at once
  std::unique_ptr<MainWindow> window;

  void write(const QString& name, const QByteArray& content)
  {
    writeFile(dir.filePath(name), content);
  }
  static QVector<double> vec(const std::vector<double>& v) { return {v.begin(), v.end()}; }
  QVector<double> values(int i) const { return vec(T::functions(window.get()).at(i)->values()); }
  QVector<double> xs() const { return vec(T::domain(window.get())->values()); }

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
        d->findChild<QLineEdit*>("pathEdt")->setText(dir.path());
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
  void initTestCase()
  {
    env.setUp();
    write("header.txt", "time value\nmeasured today\n0 1\n1 2\n2 4\n3 8\n");
    write("unsorted.txt", "0 1\n2 2\n1 3\n3 4\n");
    write("data.dat", "0 1\n1 2\n2 3\n3 4\n");
    write("named.txt", "time temperature pressure\n0 1 10\n1 2 20\n2 4 30\n3 8 40\n");
    write("pipes.csv", "x|y|z\n0|1|10\n1|2,5|20\n2|4|x\n3|8|40\n");
    write("d.csv", "1;2\n3;4\n");
    write("comma.csv", "x,y\n0,1\n1,2\n2,3\n3,5\n");
    // Excel's "Unicode text": UTF-16 LE with a byte-order mark, tabs, CRLF.
    QByteArray excel("\xFF\xFE", 2);
    for (QChar c : QString::fromUtf8("Čas\tHodnota\r\n0\t1\r\n1\t2\r\n2\t3\r\n3\t5\r\n"))
      excel.append(char(c.unicode() & 0xFF)).append(char(c.unicode() >> 8));
    write("unicode.txt", excel);
    QByteArray prices("Date,Open,High,Low,Close,Volume\n");
    for (int i = 0; i < 40; ++i) {
      prices += QString("2024-02-%1").arg(i + 1, 2, 10, QChar('0')).toUtf8();
      for (double base : {180.0, 183.0, 178.0, 181.2})
        prices += ',' + QByteArray::number(base + std::sin(i * 0.3) * 6, 'f', 2);
      prices += ',' + QByteArray::number(50000000 + i * 731) + '\n';
    }
    write("prices.csv", prices);
    // The formulas the sessions below choose from.
    writeFormulas(
        env.dir.path(),
        {{"Default", "sin(15*x) * x^2"}, {"wave", "sin(7*x) + x/3"}, {"cubic", "x^3 - x"}});
  }

  void init()
  {
    // An import dialog nobody expected fails the test instead of blocking it.
    CsvDialog::setRunner([](CsvDialog&) {
      qWarning("unexpected import dialog");
      return int(QDialog::Rejected);
    });
    rec = std::make_unique<PromptRecorder>();
    window = startWindow();
    rec->messages.clear();
  }

  void cleanup()
  {
    DataFileOpenDialog::setRunner({});
    CsvDialog::setRunner({});
    window.reset();
    rec.reset();
  }

  void openData_data()
  {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("xColumn");
    QTest::addColumn<QVector<double>>("last");
    QTest::addColumn<QString>("ignored");
    // clang-format off
    QTest::newRow("text, row indices") << "header.txt" << -1 << QVector<double>{1, 2, 4, 8} << "2 lines";
    QTest::newRow("csv through import dialog") << "comma.csv" << 0 << QVector<double>{1, 2, 3, 5} << "1 line";
    QTest::newRow("excel unicode text") << "unicode.txt" << 0 << QVector<double>{1, 2, 3, 5} << "1 line";
    // clang-format on
  }

  void openData()
  {
    QFETCH(QString, name);
    QFETCH(int, xColumn);
    QFETCH(QVector<double>, last);
    QFETCH(QString, ignored);
    const QString path = dir.filePath(name);
    DataFileOpenDialog::setRunner([path, xColumn](DataFileOpenDialog& d) {
      d.selectFile(path);
      d.xColumnCheckBox()->setChecked(xColumn >= 0);
      d.xColumnSpinBox()->setValue(qMax(0, xColumn));
      return int(QDialog::Accepted);
    });
    int dialogs = 0;
    importWithCommas(&dialogs);
    T::openData(window.get());
    QCOMPARE(dialogs, name.endsWith(".csv") ? 1 : 0);
    QCOMPARE(rec->titles(), QStringList{"File parser"});
    QCOMPARE(rec->messages.front().text,
             "Ignoring " + ignored + " that could not be read from file or contains a text.");
    QCOMPARE(rec->messages.front().icon, QMessageBox::Information);
    QCOMPARE(window->functionSourceType(), FunctionSource::TableData);
    QVERIFY(T::action(window.get(), "actionCloseData")->isEnabled());
    QCOMPARE(T::functions(window.get()).size(), xColumn < 0 ? 2 : 1); // the x column as well
    QCOMPARE(xs(), QVector<double>({0, 1, 2, 3}));
    QCOMPARE(values(T::functions(window.get()).size() - 1), last);
    QCOMPARE(T::domainRecord(window.get())->high, 3.0);
    QCOMPARE(T::dataFileInfo(window.get()).xColumn, xColumn);
    QVERIFY(window->windowTitle().endsWith(" - " + path + "[*]"));
    T::randomData(window.get())->trigger(); // random data has no file
    QVERIFY(!window->windowTitle().contains(path));
  }

  void refusedFileThenCsvSession()
  {
    const auto functions = T::functions(window.get());
    const auto* domain = T::domain(window.get());
    const QString title = window->windowTitle();
    const FunctionSource source = window->functionSourceType();
    for (const char* name : {"unsorted.txt", "data.dat"})
      QVERIFY(!T::loadDataFile(
          window.get(), DataFileInfo(QFile::encodeName(dir.filePath(name)), false, 0), true));
    QCOMPARE(rec->titles(), (QStringList{"Input data", "File parser"}));
    QVERIFY(rec->messages[0].text.contains("data is not sorted"));
    QVERIFY(rec->messages[1].text.contains("data.dat"));
    QCOMPARE(rec->messages[1].icon, QMessageBox::Critical);
    QCOMPARE(T::functions(window.get()), functions);
    QCOMPARE(T::domain(window.get()), domain);
    QCOMPARE(window->windowTitle(), title);
    QCOMPARE(window->functionSourceType(), source);
    // Through the menu, a refused file leaves the component table as it was.
    T::action(window.get(), "actionShowComponentTable")->trigger();
    QTableWidget* table =
        T::child<FunctionTableWidget>(window.get(), "functionTableWidget")->table();
    QTRY_COMPARE(table->rowCount(), 5);
    pickDataFile(dir.filePath("unsorted.txt"));
    T::openData(window.get());
    QVERIFY(table->rowCount() == 5 && !table->item(4, 0)->text().isEmpty());
    rec->messages.clear();

    // A CSV session reopens with its stored separator.
    DataFileInfo stored(QFile::encodeName(dir.filePath("pipes.csv")), false, 0);
    stored.valueSeparator = "|";
    QVERIFY(T::loadDataFile(window.get(), stored, true));
    T::setFunctionType(window.get(), FunctionSource::TableData);
    const QString session = dir.filePath("pipes.qms");
    QVERIFY(window->saveSession(session));
    QCOMPARE(QSettings(session, QSettings::IniFormat).value("MainWindow/valueSeparator").toString(),
             QString("|"));

    // A fresh window opens the session without asking anything (init refuses the import dialog).
    window = startWindow();
    rec->messages.clear();
    QVERIFY(window->openSession(session));
    QCOMPARE(T::dataFileInfo(window.get()).valueSeparator, QString("|"));
    QCOMPARE(window->functionSourceType(), FunctionSource::TableData);
    QCOMPARE(T::functions(window.get()).size(), 2);
    QCOMPARE(rec->messages.size(), 1);
    QCOMPARE(rec->messages.front().text,
             QString("Ignoring 2 lines that could not be read from file or contains a text."));
  }

  // The start-up session was saved while data was open, with every input
  // disabled; more data comes in one of the ways a user has.
  void closeDataAfterEachWayIn_data()
  {
    QTest::addColumn<QString>("way");
    for (const char* way : {"start-up session", "command line", "open data", "drop"})
      QTest::newRow(way) << way;
  }

  void closeDataAfterEachWayIn()
  {
    QFETCH(QString, way);
    MainWindow* w = window.get();
    T::child<DomainWidget>(w, "domainWidget")->showTexts("-2", "5", "512");
    T::domainChanged(w);
    QVERIFY(w->openFile(dir.filePath("header.txt")));
    struct Forget
    {
      ~Forget() { QFile::remove(MainWindow::defaultSessionPath()); }
    } forget;
    QVERIFY(w->saveSession(MainWindow::defaultSessionPath()));
    window.reset();
    ProgramEnvironment::clearWindowSettings();

    const QString more = dir.filePath("named.txt");
    window = std::make_unique<MainWindow>();
    w = window.get();
    if (way == "command line")
      w->setStartupFile(more);
    w->show();
    QTRY_VERIFY(!w->currentSessionFile().isEmpty());
    if (way == "open data") {
      pickDataFile(more);
      T::openData(w);
    } else if (way == "drop") {
      QVERIFY(dropFile(w, more));
    }
    QTRY_COMPARE(T::dataFileInfo(w).filePath(),
                 way == "start-up session" ? dir.filePath("header.txt") : more);

    T::action(w, "actionCloseData")->trigger();
    QCOMPARE(w->functionSourceType(), FunctionSource::Formulas);
    for (const char* input : {"lowEdt", "highEdt", "discrEdt", "addBtn", "comboBox0"})
      QVERIFY2(T::child<QWidget>(w, input)->isEnabled(), input);
    QCOMPARE(T::domainText(w, "lowEdt") + " " + T::domainText(w, "highEdt"), QString("-2 5"));
    QCOMPARE(T::domain(w)->size(), std::size_t(513));
    QCOMPARE(T::domain(w)->high(), 5.0);
  }

  // A range typed but never taken is not what the formulas come back on. The
  // header line names the columns beside their numbers, until the data is closed.
  void closeDataShowsTheDomainInForce()
  {
    MainWindow* w = window.get();
    T::child<QLineEdit>(w, "highEdt")->setText("-3");
    QVERIFY(w->openFile(dir.filePath("named.txt")));
    QStringList names;
    for (const auto* fn : T::functions(w))
      names << T::controller(w)->plotWidget()->curveInfo(fn)->name();
    QCOMPARE(names, (QStringList{"DataFile 1 (temperature)", "DataFile 2 (pressure)"}));
    T::action(w, "actionCloseData")->trigger();
    QCOMPARE(T::domainText(w, "lowEdt") + " " + T::domainText(w, "highEdt"), QString("0 1"));
    QCOMPARE(T::domain(w)->high(), 1.0);
    QCOMPARE(T::domainRecord(w)->high, 1.0);
    QCOMPARE(T::controller(w)->plotWidget()->curveInfo(T::functions(w).at(0))->name(),
             T::selector(w)->selection(0));
  }

  void valuesAndPicture()
  {
    MainWindow* w = window.get();
    showDegrees(w, 1, 3);
    answerDialog("values.csv", [](ExportWidget* d) {
      for (const char* box : {"domainCBox", "originFnChbox", "coefChbox", "inverseFnChbox"})
        d->findChild<QCheckBox*>(box)->setChecked(true);
    });
    T::action(w, "actionExportValues")->trigger();
    QVERIFY(rec->messages.isEmpty());

    const auto lines = readAll(dir.filePath("values.csv")).split('\n');
    QCOMPARE(QString::fromUtf8(lines.at(0)),
             QStringLiteral("\"Domain\";\"%1\";\"%1 - Comp0\";\"%1 - Comp1\";"
                            "\"%1 - Inverse0\";\"%1 - Inverse1\";")
                 .arg(T::selector(w)->selection(0)));
    // The rows under the header: the golden sessions' exports, byte for byte.

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
    T::action(w, "actionExportValues")->trigger();
    QVERIFY(restored);

    const QSize canvas = T::controller(w)->plotWidget()->canvas()->size();
    QString shown;
    answerDialog("plot.png", [&shown](ExportWidget* d) {
      shown = d->findChild<QLabel*>("currentSizeLbl")->text() + " " +
              QString::number(d->pictureSize().width());
      d->findChild<QSpinBox*>("widthSpin")->setValue(321);
      d->findChild<QSpinBox*>("heightSpin")->setValue(123);
    });
    T::action(w, "actionExportPicture")->trigger();
    QVERIFY(rec->messages.isEmpty());
    QCOMPARE(shown, QString("Current size: %1 x %2 %1").arg(canvas.width()).arg(canvas.height()));
    QCOMPARE(QImage(dir.filePath("plot.png")).size(), QSize(321, 123));
    QCOMPARE(T::controller(w)->plotWidget()->canvas()->size(), canvas);

    QSize size;
    answerDialog(
        "", [&size](ExportWidget* d) { size = d->pictureSize(); }, false);
    T::action(w, "actionExportPicture")->trigger();
    QCOMPARE(size, QSize(321, 123));
  }

  void csvDialogAppliesChoice()
  {
    const struct
    {
      const char *decimal, *separator;
      bool ok;
      int decimalComma;
      QString kept; // white space and Cancel keep the reader's separator
    } cases[] = {{"dotRbtn", "semicolonRbtn", true, 0, ";"},
                 {"commaRbtn", "commaSepRbtn", true, 1, ","},
                 {"commaRbtn", "whiteSpaceRbtn", true, 1, "|"},
                 {"commaRbtn", "commaSepRbtn", false, 0, "|"}};
    for (const auto& c : cases) {
      DataFileInfo info(QFile::encodeName(dir.filePath("d.csv")), true, 0);
      info.valueSeparator = "|";
      CsvNumberReader reader(info);
      CsvDialog::setRunner([&](CsvDialog& d) {
        QTest::mouseClick(d.findChild<QRadioButton*>(c.decimal), Qt::LeftButton);
        QTest::mouseClick(d.findChild<QRadioButton*>(c.separator), Qt::LeftButton);
        d.buttonBox()->button(c.ok ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel)->click();
        return d.result();
      });
      QCOMPARE(CsvDialog::execFor(reader), int(c.ok ? QDialog::Accepted : QDialog::Rejected));
      QCOMPARE(QPair(reader.decimalSeparator(), reader.valueSeparator()),
               QPair(c.decimalComma, c.kept));
    }
  }

  // A session saved by the window, and the same session reopened in a window of
  // another width: "Export > Values" with every column gives the bytes
  // quelmora-ft --session writes.
  void toolReproducesSessionExport_data()
  {
    QTest::addColumn<QString>("setup");
    QTest::newRow("generic, dragged node, two formulas") << "generic";
    QTest::newRow("equidistant, sin, moved fixed point") << "equidistant";
    QTest::newRow("custom, triangles, typed node, components shown") << "custom";
    QTest::newRow("stock prices with a date column") << "data";
  }

  void toolReproducesSessionExport()
  {
    QFETCH(QString, setup);
    MainWindow* w = window.get();
    retypeEdit(T::child<QLineEdit>(w, "lowEdt"), "-1.5", true);
    retypeEdit(T::child<QLineEdit>(w, "discrEdt"), "3000", true);
    addSecondFunction(w, setup == "custom" ? "cubic" : "wave");
    if (setup == "equidistant")
      T::action(w, "actionFixedPT")->trigger();
    if (setup == "custom")
      T::action(w, "actionPartDelta")->trigger();
    if (setup == "data") {
      pickDataFile(dir.filePath("prices.csv"));
      importWithCommas();
      T::openData(w);
      QCOMPARE(T::functions(w).size(), 5); // the date column is left out
    }
    showDegrees(w, 3, 0b1011);

    QVERIFY(showActive(w, QSize(1100, 800)));
    PartitionPlotDriver drive{T::partitionWidget(w)};
    const QVector<double> nodes = drive.nodes();
    if (setup == "equidistant") {
      auto* shape = T::partitionWidget(w)->findChild<QComboBox*>("shapeCbox");
      shape->setCurrentIndex(1);
      retypeEdit(T::partitionWidget(w)->findChild<QLineEdit*>("elemWidthEdt"), "0.55");
      auto* slider = T::partitionWidget(w)->findChild<QwtSlider*>("fixedPtSlider");
      slider->setValue(qRound(slider->upperBound() * 0.37));
    } else if (setup == "custom") {
      T::partitionWidget(w)->findChild<QComboBox*>("shapeCbox")->setCurrentIndex(0);
      drive.typeNode(2, QString::number(nodes[2] + 0.137));
      for (QWidget* top : QApplication::topLevelWidgets())
        if (auto* box = top->findChild<QCheckBox*>("showCompCbox")) {
          box->setChecked(true);
          qobject_cast<QDialog*>(top)->accept();
        }
    } else {
      drive.dragNode(nodes[2], nodes[2] * 0.6 + nodes[3] * 0.4);
    }
    QVERIFY(drive.nodes() != nodes || setup == "equidistant");

    const QVector<double> placed = drive.nodes();
    const QString session = dir.filePath(setup + ".qms");
    QVERIFY(w->saveSession(session));
    // Nodes untouched: off unless asked for, in a fresh window as in a reopened session (the
    // Nodes column against the tool: the golden sessions).
    auto exportAll = [&](MainWindow* from, const QString& name) {
      answerDialog(name, [](ExportWidget* d) {
        for (const char* box : {"domainCBox", "originFnChbox", "coefChbox", "inverseFnChbox"})
          d->findChild<QCheckBox*>(box)->setChecked(true);
      });
      T::action(from, "actionExportValues")->trigger();
      return readAll(dir.filePath(name));
    };
    const QByteArray saved = exportAll(w, setup + "-window.csv");
    QVERIFY(saved.count('\n') > 40);

    window = startWindow();
    QVERIFY(showActive(window.get(), QSize(1500, 700)));
    QVERIFY(window->openSession(session));
    QVERIFY(sameNodes(T::nodes(window.get()), placed));
    QCOMPARE(exportAll(window.get(), setup + "-reopened.csv"), saved);

    QProcess tool;
    const QString toolFile = dir.filePath(setup + "-tool.csv");
    tool.start(QStringLiteral(QUELMORA_FT_PATH),
               {"--session", session, "--include-domain", "-o", toolFile});
    QVERIFY2(tool.waitForFinished(60000) && tool.exitCode() == 0,
             tool.readAllStandardError().constData());
    QCOMPARE(readAll(toolFile), saved);
    QVERIFY(rec->titles().filter("Error").isEmpty());
  }
};

QTEST_MAIN(TestMainWindowData)
#include "tst_mainwindow_data.moc"
