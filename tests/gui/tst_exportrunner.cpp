#include "common/promptrecorder.h"
#include "gui/components/plotwidget.h"
#include "gui/exportrunner.h"
#include "math/domains/equidistant.h"
#include "math/fce/mathfntable.h"

#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

// The steps after the export dialog: which columns, writing them, and the
// picture; every failure must reach the user and spare an existing file.
class TestExportRunner : public QObject
{
  Q_OBJECT

private:
  using Table = Fn::MathFnTable<double, double>;
  using Function = ExportRunner::Function;

  struct Results
  {
    Domains::Equidistant<double> domain{0.0, 1.0, 2};
    Domains::Equidistant<double> nodes{0.0, 1.0, 1};
    std::unique_ptr<Table> f{new Table(&domain, {1.0, 1.5, 2.0})};
    std::unique_ptr<Table> g{new Table(&domain, {2.0, 2.5, 3.0})};
    ExportRunner::ResultMap components, inverses;

    Results()
    {
      for (const Function* fn :
           {static_cast<const Function*>(f.get()), static_cast<const Function*>(g.get())})
        for (int flag : {1, 2, 4}) {
          components.insert(FnKey{fn, flag},
                            QSharedPointer<Function>(new Table(&nodes, {0.5, 0.25})));
          inverses.insert(FnKey{fn, flag},
                          QSharedPointer<Function>(new Table(&domain, {1.0, 1.0, 1.0})));
        }
    }
    QList<ExportRunner::NamedFunction> named() const { return {{f.get(), "f"}, {g.get(), "g"}}; }
  };

  static QByteArray contents(const QString& path)
  {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
  }
  static void writeFile(const QString& path, const QByteArray& data)
  {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(data);
  }

private slots:
  void columnsInSelectorOrder();
  void missingResultsWriteNothing();
  void failedValueWrite_data();
  void failedValueWrite();
  void pictureAtChosenSize_data();
  void pictureAtChosenSize();
  void failedPicture_data();
  void failedPicture();
};

void TestExportRunner::columnsInSelectorOrder()
{
  Results r;
  ExportRunner::ValueChoices all;
  all.originalFunction = all.coefficients = all.inverseFunction = true;
  QList<ExportRunner::Column> columns;
  QString missing;
  QVERIFY(ExportRunner::valueColumns(all, r.named(), 1 | 4, r.components, r.inverses, columns,
                                     missing));
  QStringList names;
  for (const auto& c : columns)
    names.append(c.second);
  QCOMPARE(names, (QStringList{"f", "f - Comp0", "f - Comp2", "f - Inverse0", "f - Inverse2", "g",
                               "g - Comp0", "g - Comp2", "g - Inverse0", "g - Inverse2"}));
  QCOMPARE(columns[1].first, r.components.value(FnKey{r.f.get(), 1}).data());
  QCOMPARE(columns[4].first, r.inverses.value(FnKey{r.f.get(), 4}).data());
  QCOMPARE(columns[5].first, static_cast<const Function*>(r.g.get()));

  ExportRunner::ValueChoices onlyInverse;
  onlyInverse.inverseFunction = true;
  QVERIFY(ExportRunner::valueColumns(onlyInverse, r.named(), 2, r.components, r.inverses, columns,
                                     missing));
  QCOMPARE(columns.size(), 2);
  QCOMPARE(columns[1].second, QString("g - Inverse1"));
}

void TestExportRunner::missingResultsWriteNothing()
{
  // A partition that could not be built leaves no results for a shown degree.
  PromptRecorder rec;
  QTemporaryDir dir;
  Results r;
  const QString path = dir.filePath("old.csv");
  writeFile(path, "keep me\n");
  ExportRunner::ValueChoices c;
  c.filePath = path;
  c.coefficients = true;
  QVERIFY(!ExportRunner::exportValues(nullptr, c, r.named(), 8, r.components, r.inverses));
  QCOMPARE(rec.titles(), QStringList{"Error"});
  QVERIFY(rec.messages[0].text.contains("Direct fuzzy transform was not calculated"));
  QVERIFY(rec.messages[0].text.contains(path));
  QCOMPARE(contents(path), QByteArray("keep me\n"));

  c.coefficients = false;
  c.inverseFunction = true;
  QVERIFY(!ExportRunner::exportValues(nullptr, c, r.named(), 8, r.components, r.inverses));
  QVERIFY(rec.messages[1].text.contains("Inverse fuzzy transform was not calculated"));
}

void TestExportRunner::failedValueWrite_data()
{
  QTest::addColumn<QString>("target");
  // clang-format off
  QTest::newRow("missing directory") << "missing/values.csv";
  QTest::newRow("parent is a file") << "plain/values.csv";
  QTest::newRow("target is a directory") << "folder";
  QTest::newRow("name too long") << QString(300, 'n') + ".csv";
  // clang-format on
}

void TestExportRunner::failedValueWrite()
{
  QFETCH(QString, target);
  PromptRecorder rec;
  QTemporaryDir dir;
  writeFile(dir.filePath("plain"), "plain\n");
  QVERIFY(QDir(dir.path()).mkdir("folder"));
  Results r;
  ExportRunner::ValueChoices c;
  c.filePath = dir.filePath(target);
  c.originalFunction = true;
  QVERIFY(!ExportRunner::exportValues(nullptr, c, r.named(), 1, r.components, r.inverses));
  QCOMPARE(rec.titles(), QStringList{"Error"});
  QVERIFY2(rec.messages[0].text.contains(QFileInfo(c.filePath).fileName()),
           qPrintable(rec.messages[0].text));
  QCOMPARE(contents(dir.filePath("plain")), QByteArray("plain\n"));
  QVERIFY(QFileInfo(dir.filePath("folder")).isDir());
}

void TestExportRunner::pictureAtChosenSize_data()
{
  QTest::addColumn<QString>("name");
  QTest::addColumn<QSize>("size");
  QTest::addColumn<QByteArray>("format");
  // clang-format off
  QTest::newRow("png") << "plot.png" << QSize(320, 200) << QByteArray("png");
  QTest::newRow("small") << "small.png" << QSize(40, 30) << QByteArray("png");
  QTest::newRow("larger than screen") << "large.png" << QSize(2100, 1500) << QByteArray("png");
  QTest::newRow("suffix decides format") << "plot.jpg" << QSize(200, 120) << QByteArray("jpeg");
  // clang-format on
}

void TestExportRunner::pictureAtChosenSize()
{
  QFETCH(QString, name);
  QFETCH(QSize, size);
  QFETCH(QByteArray, format);
  PromptRecorder rec;
  QTemporaryDir dir;
  Results r;
  PlotWidget plot;
  plot.resize(500, 300);
  plot.addFunction(r.f.get(), QPen(Qt::blue));
  plot.show();
  QVERIFY(QTest::qWaitForWindowExposed(&plot));
  const QSize before = plot.size();

  const QString path = dir.filePath(name);
  QVERIFY(ExportRunner::exportPicture(nullptr, &plot, size, path));
  QVERIFY(rec.messages.isEmpty());
  QImageReader reader(path);
  QCOMPARE(reader.format(), format);
  QCOMPARE(reader.read().size(), size);
  QCOMPARE(plot.size(), before);
}

void TestExportRunner::failedPicture_data()
{
  QTest::addColumn<QString>("target");
  QTest::addColumn<QString>("reasonHas");
  // clang-format off
  QTest::newRow("unknown format") << "old.xyz" << "not a known image format";
  QTest::newRow("missing directory") << "missing/plot.png" << "plot.png";
  QTest::newRow("target is a directory") << "folder.png" << "directory";
  // clang-format on
}

void TestExportRunner::failedPicture()
{
  QFETCH(QString, target);
  QFETCH(QString, reasonHas);
  PromptRecorder rec;
  QTemporaryDir dir;
  writeFile(dir.filePath("old.xyz"), "keep me\n");
  QVERIFY(QDir(dir.path()).mkdir("folder.png"));
  Results r;
  PlotWidget plot;
  plot.addFunction(r.f.get(), QPen(Qt::blue));

  QVERIFY(!ExportRunner::exportPicture(nullptr, &plot, QSize(100, 80), dir.filePath(target)));
  QCOMPARE(rec.titles(), QStringList{"Error"});
  QVERIFY2(rec.messages[0].text.contains(dir.filePath(target)), qPrintable(rec.messages[0].text));
  QVERIFY2(rec.messages[0].text.contains(reasonHas), qPrintable(rec.messages[0].text));
  QCOMPARE(contents(dir.filePath("old.xyz")), QByteArray("keep me\n"));
}

QTEST_MAIN(TestExportRunner)
#include "tst_exportrunner.moc"
