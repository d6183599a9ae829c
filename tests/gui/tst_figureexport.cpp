// Figures as a reader sees them: axes, tick labels and legend in every
// format, stacked plots on one x range, and failures reported.
#include "common/promptrecorder.h"
#include "gui/components/plotwidget.h"
#include "gui/exportrunner.h"
#include "gui/figureexport.h"
#include "math/domains/equidistant.h"
#include "math/fce/mathfntable.h"

#include <qwt_plot.h>

#include <QXmlStreamReader>
#include <QtTest>

namespace {

bool dark(QRgb c)
{
  return qRed(c) < 90 && qGreen(c) < 90 && qBlue(c) < 90;
}

// Columns of [from, to) holding a dark pixel: text and lines, not the blue curve.
int darkColumns(const QImage& image, int from, int to, int top = 0, int bottom = -1)
{
  bottom = bottom < 0 ? image.height() : bottom;
  int n = 0;
  for (int x = from; x < to; ++x) {
    bool found = false;
    for (int y = top; y < bottom && !found; ++y)
      found = dark(image.pixel(x, y));
    n += found;
  }
  return n;
}

std::vector<double> ramp(double from, double to)
{
  std::vector<double> v(101);
  for (std::size_t i = 0; i < v.size(); ++i)
    v[i] = from + (to - from) * double(i) / 100.0;
  return v;
}

// The left edge of a canvas: the first dark pixel left of the middle of row y.
int leftEdge(const QImage& image, int y)
{
  for (int x = image.width() / 2; x > 0; --x)
    if (dark(image.pixel(x, y)))
      return x;
  return -1;
}

} // namespace

class TestFigureExport : public QObject
{
  Q_OBJECT

  Domains::Equidistant<double> domain{0.0, 1.0, 100}, longer{0.0, 3.0, 100};
  Fn::MathFnTable<double, double> rising{&domain, ramp(1.0, 2.0)};
  Fn::MathFnTable<double, double> wide{&longer, ramp(-1000.0, 1000.0)};
  PlotWidget upper, lower;
  QTemporaryDir dir;

private slots:
  void initTestCase()
  {
    for (PlotWidget* p : {&upper, &lower}) {
      p->setCanvasBackground(Qt::white);
      p->resize(500, 300);
      p->show();
      QVERIFY(QTest::qWaitForWindowExposed(p));
    }
    upper.addFunction(&rising, QPen(Qt::blue, 2));
    lower.addFunction(&wide, QPen(Qt::blue, 2));
    upper.curveInfo(&rising)->setName(QStringLiteral("Rising"));
    upper.setLegendVisible(true);
    upper.replot();
    lower.replot();
  }

  void writes_data()
  {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QSizeF>("sizeMm");
    QTest::addColumn<int>("dpi");
    QTest::addColumn<bool>("stacked");
    QTest::addColumn<QString>("reason"); // empty: written
    // clang-format off
    QTest::newRow("png") << "f.png" << QSizeF(101.6, 50.8) << 100 << false << "";
    QTest::newRow("png, stacked") << "s.png" << QSizeF(101.6, 101.6) << 100 << true << "";
    QTest::newRow("svg, stacked") << "f.svg" << QSizeF(100, 60) << 300 << true << "";
    QTest::newRow("pdf, stacked") << "f.PDF" << QSizeF(100, 60) << 300 << true << "";
    QTest::newRow("missing directory") << "no/f.pdf" << QSizeF(100, 60) << 300 << false << "No such file";
    QTest::newRow("directory") << "folder.svg" << QSizeF(100, 60) << 300 << false << "directory";
    QTest::newRow("unknown format") << "old.jpg" << QSizeF(100, 60) << 300 << false << ".png, .svg or .pdf";
    QTest::newRow("too large keeps the file") << "old.png" << QSizeF(1000, 1000) << 2400 << false << "more than";
    // clang-format on
  }

  void writes()
  {
    QFETCH(QString, name);
    QFETCH(QSizeF, sizeMm);
    QFETCH(int, dpi);
    QFETCH(bool, stacked);
    QFETCH(QString, reason);
    PromptRecorder rec;
    QDir(dir.path()).mkdir("folder.svg");
    for (const char* old : {"old.png", "old.jpg"}) {
      QFile f(dir.filePath(old));
      QVERIFY(f.open(QIODevice::WriteOnly) && f.write("keep") == 4);
    }
    const QString path = dir.filePath(name);
    const FigureExport::Options o{path, sizeMm, dpi};
    const bool ok =
        FigureExport::exportFigure(nullptr, o, upper.plot(), stacked ? lower.plot() : nullptr);
    QCOMPARE(upper.size(), QSize(500, 300));
    if (!reason.isEmpty()) {
      QVERIFY(!ok);
      QCOMPARE(rec.titles(), QStringList{"Error"});
      QVERIFY2(rec.messages[0].text.contains(QFileInfo(path).absoluteFilePath()) &&
                   rec.messages[0].text.contains(reason),
               qPrintable(rec.messages[0].text));
      QFile old(dir.filePath("old.png"));
      QVERIFY(old.open(QIODevice::ReadOnly) && old.readAll() == "keep");
      return;
    }
    QVERIFY(ok && rec.messages.isEmpty());
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray content = file.readAll();

    if (name.endsWith(".svg")) {
      QStringList texts;
      QXmlStreamReader xml(content);
      while (!xml.atEnd())
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("text"))
          texts << xml.readElementText(QXmlStreamReader::IncludeChildElements).trimmed();
      QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
      // The lower plot is there, on the upper plot's x range [0, 1] instead of its own [0, 3].
      for (const char* shown : {"0.2", "0.8", "1.4", "Rising", "-500"})
        QVERIFY2(texts.contains(shown), qPrintable(texts.join('|')));
      QVERIFY2(!texts.contains("3"), qPrintable(texts.join('|')));
    } else if (name.endsWith(".PDF")) {
      QVERIFY(content.startsWith("%PDF"));
    } else {
      const QImage figure = QImage::fromData(content, "png");
      QCOMPARE(figure.size(), QSize(400, stacked ? 400 : 200));
      // Tick labels left of the canvas; the canvas alone has none there.
      const QImage canvas = ExportRunner::canvasPicture(&upper, figure.size()).toImage();
      const int strip = figure.width() / 10;
      QVERIFY(darkColumns(figure, 0, strip, 0, figure.height() / 2) >= 5);
      QCOMPARE(darkColumns(canvas, 0, strip), 0);
      // The lower plot's labels are wider, yet both canvases start at the same x.
      if (stacked)
        QCOMPARE(leftEdge(figure, figure.height() / 4), leftEdge(figure, figure.height() * 7 / 8));
    }
  }
};

QTEST_MAIN(TestFigureExport)
#include "tst_figureexport.moc"
