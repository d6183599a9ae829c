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

// Every failed export must reach the user and spare an existing file.
class TestExportRunner : public QObject
{
  Q_OBJECT

  static QByteArray contents(const QString& path)
  {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
  }
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
      for (const char* name : {"plain", "old.xyz", "old.csv"}) {
        QFile file(dir.filePath(name));
        if (!file.open(QIODevice::WriteOnly) || file.write("keep me\n") != 8)
          qFatal("cannot write %s", name);
      }
      if (!QDir(dir.path()).mkdir("folder") || !QDir(dir.path()).mkdir("folder.png"))
        qFatal("cannot make directories");
    }
    bool untouched() const
    {
      for (const char* name : {"plain", "old.xyz", "old.csv"})
        if (contents(dir.filePath(name)) != "keep me\n")
          return false;
      return QFileInfo(dir.filePath("folder")).isDir();
    }
  };

private slots:
  void failedValueWrite_data();
  void failedValueWrite();
  void picture_data();
  void picture();
};

void TestExportRunner::failedValueWrite_data()
{
  QTest::addColumn<QString>("target");
  QTest::addColumn<int>("degrees"); // 8: a degree whose partition could not be built
  QTest::addColumn<int>("column");  // 0 original, 1 components, 2 inverse
  QTest::addColumn<QString>("reasonHas");
  // clang-format off
  QTest::newRow("missing directory") << "missing/values.csv" << 1 << 0 << "values.csv";
  QTest::newRow("parent is a file") << "plain/values.csv" << 1 << 0 << "values.csv";
  QTest::newRow("target is a directory") << "folder" << 1 << 0 << "folder";
  QTest::newRow("name too long") << QString(300, 'n') + ".csv" << 1 << 0 << QString(300, 'n');
  QTest::newRow("no components") << "old.csv" << 8 << 1 << "Direct fuzzy transform was not calculated";
  QTest::newRow("no inverse") << "old.csv" << 8 << 2 << "Inverse fuzzy transform was not calculated";
  // clang-format on
}

void TestExportRunner::failedValueWrite()
{
  QFETCH(QString, target);
  QFETCH(int, degrees);
  QFETCH(int, column);
  QFETCH(QString, reasonHas);
  PromptRecorder rec;
  Scene scene;
  ExportRunner::ValueChoices c;
  c.filePath = scene.dir.filePath(target);
  c.originalFunction = column == 0;
  c.coefficients = column == 1;
  c.inverseFunction = column == 2;
  QVERIFY(!ExportRunner::exportValues(nullptr, c, scene.named, degrees, scene.components,
                                      scene.inverses));
  QCOMPARE(rec.titles(), QStringList{"Error"});
  const QString text = rec.messages[0].text;
  QVERIFY2(text.contains(QFileInfo(c.filePath).fileName()) && text.contains(reasonHas),
           qPrintable(text));
  QVERIFY(scene.untouched());
}

void TestExportRunner::picture_data()
{
  QTest::addColumn<QString>("name");
  QTest::addColumn<QSize>("size");
  QTest::addColumn<QByteArray>("format"); // empty: refused
  QTest::addColumn<QString>("reasonHas");
  // clang-format off
  QTest::newRow("png") << "plot.png" << QSize(320, 200) << QByteArray("png") << "";
  QTest::newRow("larger than screen") << "large.png" << QSize(2100, 1500) << QByteArray("png") << "";
  QTest::newRow("suffix decides format") << "plot.jpg" << QSize(200, 120) << QByteArray("jpeg") << "";
  QTest::newRow("unknown format") << "old.xyz" << QSize(100, 80) << QByteArray() << "not a known image format";
  QTest::newRow("missing directory") << "missing/plot.png" << QSize(100, 80) << QByteArray() << "plot.png";
  QTest::newRow("target is a directory") << "folder.png" << QSize(100, 80) << QByteArray() << "directory";
  // clang-format on
}

void TestExportRunner::picture()
{
  QFETCH(QString, name);
  QFETCH(QSize, size);
  QFETCH(QByteArray, format);
  QFETCH(QString, reasonHas);
  PromptRecorder rec;
  Scene scene;
  PlotWidget plot;
  plot.resize(500, 300);
  plot.addFunction(&scene.f, QPen(Qt::blue));
  plot.show();
  QVERIFY(QTest::qWaitForWindowExposed(&plot));
  const QString path = scene.dir.filePath(name);
  QCOMPARE(ExportRunner::exportPicture(nullptr, &plot, size, path), !format.isEmpty());
  QVERIFY(scene.untouched());
  QCOMPARE(plot.size(), QSize(500, 300));
  if (format.isEmpty()) {
    QCOMPARE(rec.titles(), QStringList{"Error"});
    QVERIFY2(rec.messages[0].text.contains(path) && rec.messages[0].text.contains(reasonHas),
             qPrintable(rec.messages[0].text));
    return;
  }
  QVERIFY(rec.messages.isEmpty());
  QImageReader reader(path);
  QCOMPARE(reader.format(), format);
  QCOMPARE(reader.read().size(), size);
}

QTEST_MAIN(TestExportRunner)
#include "tst_exportrunner.moc"
