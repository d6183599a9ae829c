#include "common/fifodrain.h"
#include "common/promptrecorder.h"
#include "common/testfiles.h"
#include "gui/components/plotwidget.h"
#include "gui/exportrunner.h"
#include "gui/exportwidget.h"
#include "math/domains/equidistant.h"
#include "math/fce/mathfntable.h"

#include <QBuffer>
#include <QDialogButtonBox>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QtTest>

#include <memory>

// Every export failure must reach the user and spare an existing file.
class TestExportRunner : public QObject
{
  Q_OBJECT

  // A function without results, and a directory with files to keep and a subdirectory in the way.
  struct Scene
  {
    Domains::Equidistant<double> domain{0.0, 1.0, 2};
    Fn::MathFnTable<double, double> f{&domain, {1.0, 1.5, 2.0}};
    QList<ExportRunner::NamedFunction> named{{&f, "f"}};
    ExportRunner::ResultMap components, inverses;
    QTemporaryDir dir;
    Scene()
    {
      for (const char* name : {"plain", "old.xyz", "old.csv"})
        writeFile(dir.filePath(name), "keep me\n");
      if (!QDir(dir.path()).mkdir("folder") || !QDir(dir.path()).mkdir("folder.png"))
        qFatal("cannot make directories");
    }
    bool untouched() const
    {
      for (const char* name : {"plain", "old.xyz", "old.csv"})
        if (readAll(dir.filePath(name)) != "keep me\n")
          return false;
      return QFileInfo(dir.filePath("folder")).isDir();
    }
  };

private slots:
  void digits_data()
  {
    QTest::addColumn<int>("digits"); // 0: as the dialog starts
    QTest::addColumn<QByteArray>("line");
    QTest::newRow("the usual format") << 0 << QByteArray("0.333333");
    QTest::newRow("asked for more") << 17 << QByteArray("0.33333333333333331");
  }

  // The value export keeps its format unless more digits are asked for.
  void digits()
  {
    QFETCH(int, digits);
    Scene scene;
    Fn::MathFnTable<double, double> third{&scene.domain, {1.0 / 3, 1.0 / 3, 1.0 / 3}};
    ExportWidget dialog;
    dialog.setValueOptionsVisible(true);
    if (digits > 0)
      dialog.findChild<QSpinBox*>("digitsSpin")->setValue(digits);
    ExportRunner::ValueChoices c = ExportRunner::valueChoices(dialog);
    c.filePath = scene.dir.filePath("third.csv");
    c.originalFunction = true;
    QVERIFY(ExportRunner::exportValues(nullptr, c, {{&third, "t"}}, 0, {}, {}));
    QTEST(readAll(c.filePath).split('\n').value(1), "line");
  }

  void okState_data()
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
    QTest::newRow("dots, spaces, colon") << "<tmp>" << "my data: 1.final" << "my data: 1.final" << "csv" << true << false;
    QTest::newRow("refused characters") << "<tmp>" << "r/e\\s|u*l<t>s" << "results" << "csv" << true << false;
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

  void okState()
  {
    QFETCH(QString, dir);
    QFETCH(QString, typed);
    QFETCH(QString, kept);
    QFETCH(QString, suffix);
    QFETCH(bool, ok);
    QFETCH(bool, warning);
    PromptRecorder rec;
    QTemporaryDir tmp;
    QVERIFY(QFile(tmp.filePath("old.csv")).open(QIODevice::WriteOnly));

    ExportWidget w;
    const QPushButton* okBtn = w.buttonBox()->button(QDialogButtonBox::Ok);
    auto* nameEdt = w.findChild<QLineEdit*>("fileNameEdt");
    if (dir == "<dialog>") {
      rec.fileAnswer = tmp.filePath(typed);
      w.findChild<QPushButton*>("pathDialogBtn")->click();
      QCOMPARE(w.findChild<QLineEdit*>("pathEdt")->text(), QDir(tmp.path()).absolutePath());
      QCOMPARE(w.findChild<QLineEdit*>("suffixEdt")->text(), suffix);
      rec.fileAnswer.clear(); // a cancelled dialog changes nothing
      w.findChild<QPushButton*>("pathDialogBtn")->click();
    } else {
      w.findChild<QLineEdit*>("pathEdt")->setText(QString(dir).replace("<tmp>", tmp.path()));
      w.findChild<QLineEdit*>("suffixEdt")->setText(suffix);
      nameEdt->setFocus();
      QTest::keyClicks(nameEdt, typed); // typing runs the check the way the user does
    }
    QCOMPARE(nameEdt->text(), kept);
    QCOMPARE(w.isInputValid(), ok);
    QCOMPARE(okBtn->isEnabled(), ok);
    QCOMPARE(!w.findChild<QLabel*>("warningLbl")->isHidden(), warning);
    if (!ok)
      return;
    QCOMPARE(w.filePath(), QDir::toNativeSeparators(tmp.path() + "/" + kept + "." + suffix));
    // Text restored from a session skips the validator; it must not pass here.
    nameEdt->setText("../" + kept);
    w.setupOkBtnState();
    QVERIFY(!okBtn->isEnabled());
  }

  void exports_data()
  {
    // A name starting "fifo" is a FIFO being read, "deaf" one that nobody reads.
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("column");        // -1 picture, 0 original, 1 components, 2 inverse
    QTest::addColumn<QSize>("size");        // of the picture
    QTest::addColumn<QByteArray>("format"); // empty: refused
    QTest::addColumn<QString>("reasonHas");
    // clang-format off
    QTest::newRow("larger than screen") << "large.png" << -1 << QSize(2100, 1500) << QByteArray("png") << "";
    QTest::newRow("suffix decides format") << "plot.jpg" << -1 << QSize(200, 120) << QByteArray("jpeg") << "";
    QTest::newRow("unknown format") << "old.xyz" << -1 << QSize(100, 80) << QByteArray() << "not a known image format";
    QTest::newRow("picture, missing directory") << "missing/plot.png" << -1 << QSize(100, 80) << QByteArray() << "plot.png";
    QTest::newRow("picture is a directory") << "folder.png" << -1 << QSize(100, 80) << QByteArray() << "directory";
    QTest::newRow("values, missing directory") << "missing/values.csv" << 0 << QSize() << QByteArray() << "values.csv";
    QTest::newRow("values are a directory") << "folder" << 0 << QSize() << QByteArray() << "folder";
    QTest::newRow("name too long") << QString(300, 'n') + ".csv" << 0 << QSize() << QByteArray() << QString(300, 'n');
    QTest::newRow("picture into a FIFO") << "fifo.png" << -1 << QSize(100, 80) << QByteArray("png") << "";
    QTest::newRow("values into a FIFO") << "fifo.csv" << 0 << QSize() << QByteArray("csv") << "";
    QTest::newRow("FIFO nobody reads") << "deaf.csv" << 0 << QSize() << QByteArray() << "no program is reading from it";
    QTest::newRow("no components") << "old.csv" << 1 << QSize() << QByteArray() << "Direct fuzzy transform was not calculated";
    QTest::newRow("no inverse") << "old.csv" << 2 << QSize() << QByteArray() << "Inverse fuzzy transform was not calculated";
    // clang-format on
  }

  void exports()
  {
    QFETCH(QString, name);
    QFETCH(int, column);
    QFETCH(QSize, size);
    QFETCH(QByteArray, format);
    QFETCH(QString, reasonHas);
    PromptRecorder rec;
    Scene scene;
    const QString path = scene.dir.filePath(name);
    const bool fifo = name.startsWith("fifo") || name.startsWith("deaf");
    std::unique_ptr<FifoDrain> drain;
    if (name.startsWith("fifo"))
      drain.reset(new FifoDrain(path));
    if (name.startsWith("deaf"))
      QVERIFY(mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
    if (column < 0) {
      PlotWidget plot;
      plot.resize(500, 300);
      plot.addFunction(&scene.f, QPen(Qt::blue));
      plot.show();
      QVERIFY(QTest::qWaitForWindowExposed(&plot));
      QCOMPARE(ExportRunner::exportPicture(nullptr, &plot, size, path), !format.isEmpty());
      QCOMPARE(plot.size(), QSize(500, 300));
    } else {
      ExportRunner::ValueChoices c;
      c.filePath = path;
      c.originalFunction = column == 0;
      c.coefficients = column == 1;
      c.inverseFunction = column == 2;
      // Degree 3 shown, but its partition could not be built: no results.
      QCOMPARE(
          ExportRunner::exportValues(nullptr, c, scene.named, 8, scene.components, scene.inverses),
          !format.isEmpty());
    }
    QVERIFY(scene.untouched());
    QVERIFY(!fifo || FifoDrain::isFifo(path));
    if (format.isEmpty()) {
      QCOMPARE(rec.titles(), QStringList{"Error"});
      QVERIFY2(rec.messages[0].text.contains(path) && rec.messages[0].text.contains(reasonHas),
               qPrintable(rec.messages[0].text));
      return;
    }
    QVERIFY(rec.messages.isEmpty());
    if (column >= 0) {
      QCOMPARE(drain->data(), QByteArray("\"f\";\n1\n1.5\n2\n"));
      return;
    }
    QFile file(path);
    QByteArray bytes = drain ? drain->data() : (file.open(QIODevice::ReadOnly), file.readAll());
    QBuffer buffer(&bytes);
    QImageReader reader(&buffer);
    QCOMPARE(reader.format(), format);
    QCOMPARE(reader.read().size(), size);
  }

  // The components' rows follow the nodes, not the domain column: the Nodes
  // column, asked for, comes once, just before the first function's components.
  void nodesColumn_data()
  {
    QTest::addColumn<bool>("original");
    QTest::addColumn<bool>("nodes");
    QTest::addColumn<bool>("components");
    QTest::addColumn<bool>("computed");
    QTest::addColumn<QString>("columns"); // "" for none; "*" marks the column of points
    // clang-format off
    QTest::newRow("default, no nodes") << true << false << true << true << "f|f - Comp0|f - Comp1|g|g - Comp0|g - Comp1";
    QTest::newRow("beside the components") << true << true << true << true << "f|*Nodes|f - Comp0|f - Comp1|g|g - Comp0|g - Comp1";
    QTest::newRow("nodes alone") << false << true << false << true << "*Nodes";
    QTest::newRow("nothing computed") << true << true << false << false << "";
    // clang-format on
  }

  void nodesColumn()
  {
    QFETCH(bool, original);
    QFETCH(bool, nodes);
    QFETCH(bool, components);
    QFETCH(bool, computed);
    QFETCH(QString, columns);
    Scene scene;
    Fn::MathFnTable<double, double> g{&scene.domain, {0.0, 0.0, 0.0}};
    const Domains::Equidistant<double> nodeSet{0.0, 1.0, 4};
    std::vector<std::unique_ptr<Fn::MathFnTable<double, double>>> tables;
    for (const auto* fn : {static_cast<const ExportRunner::Function*>(&scene.f),
                           static_cast<const ExportRunner::Function*>(&g)})
      for (int d = 0; d < 2 && computed; ++d) {
        tables.emplace_back(new Fn::MathFnTable<double, double>(&nodeSet, std::vector<double>(5)));
        scene.components.insert(FnKey{fn, 1 << d},
                                QSharedPointer<ExportRunner::Function>(
                                    tables.back().get(), [](ExportRunner::Function*) {}));
      }
    ExportRunner::ValueChoices c;
    c.originalFunction = original;
    c.nodes = nodes;
    c.coefficients = components;
    QList<ExportRunner::Column> got;
    QString missing;
    const bool ok = ExportRunner::valueColumns(c, {{&scene.f, "f"}, {&g, "g"}}, 3, scene.components,
                                               scene.inverses, got, missing);
    QCOMPARE(ok, !columns.isEmpty());
    if (!ok) {
      QCOMPARE(missing, QString("Direct fuzzy transform was not calculated"));
      return;
    }
    QStringList names;
    for (const auto& column : got)
      names << (column.points ? "*" : "") + column.name;
    QCOMPARE(names.join('|'), columns);
  }
};

QTEST_MAIN(TestExportRunner)
#include "tst_exportrunner.moc"
