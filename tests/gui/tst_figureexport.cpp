// Figures as a reader sees them: axes, tick labels and legend in every
// format, stacked plots on one x range, and failures reported.
#include "common/promptrecorder.h"
#include "common/testfiles.h"
#include "gui/components/plotwidget.h"
#include "gui/exportrunner.h"
#include "gui/figureexport.h"
#include "math/domains/equidistant.h"
#include "math/fce/mathfntable.h"

#include <qwt_plot.h>

#include <QXmlStreamReader>
#include <QtTest>

namespace {

// Text and lines are black; the curves are blue.
bool dark(const QImage& image, int x, int y)
{
  const QRgb c = image.pixel(x, y);
  return qRed(c) < 90 && qGreen(c) < 90 && qBlue(c) < 90;
}

// Columns of the left tenth of the upper half that hold a dark pixel.
int darkColumnsAtLeft(const QImage& image)
{
  int n = 0;
  for (int x = 0; x < image.width() / 10; ++x) {
    bool found = false;
    for (int y = 0; y < image.height() / 2 && !found; ++y)
      found = dark(image, x, y);
    n += found;
  }
  return n;
}

// The left edge of a canvas: the first dark pixel left of the middle of row y.
int leftEdge(const QImage& image, int y)
{
  int x = image.width() / 2;
  while (x > 0 && !dark(image, x, y))
    --x;
  return x;
}

std::vector<double> ramp(double from, double to)
{
  std::vector<double> v(101);
  for (std::size_t i = 0; i < v.size(); ++i)
    v[i] = from + (to - from) * double(i) / 100.0;
  return v;
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
    upper.addFunction(&rising, QPen(Qt::blue, 2));
    lower.addFunction(&wide, QPen(Qt::blue, 2));
    upper.curveInfo(&rising)->setName(QStringLiteral("Rising"));
    upper.setLegendVisible(true);
    for (PlotWidget* p : {&upper, &lower}) {
      p->setCanvasBackground(Qt::white);
      p->resize(500, 300);
      p->show();
      QVERIFY(QTest::qWaitForWindowExposed(p));
      p->replot();
    }
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
    writeFile(dir.filePath("old.png"), "keep");
    const QString path = dir.filePath(name);
    const bool ok = FigureExport::exportFigure(nullptr, {path, sizeMm, dpi}, upper.plot(),
                                               stacked ? lower.plot() : nullptr);
    if (!reason.isEmpty()) {
      QVERIFY(!ok && readAll(dir.filePath("old.png")) == "keep");
      QCOMPARE(rec.titles(), QStringList{"Error"});
      QVERIFY2(rec.messages[0].text.contains(QFileInfo(path).absoluteFilePath()) &&
                   rec.messages[0].text.contains(reason),
               qPrintable(rec.messages[0].text));
      return;
    }
    QVERIFY(ok && rec.messages.isEmpty());
    const QByteArray content = readAll(path);
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
      QVERIFY(darkColumnsAtLeft(figure) >= 5);
      QCOMPARE(darkColumnsAtLeft(ExportRunner::canvasPicture(&upper, figure.size()).toImage()), 0);
      // The lower plot's labels are wider, yet both canvases start at the same x.
      if (stacked)
        QCOMPARE(leftEdge(figure, figure.height() / 4), leftEdge(figure, figure.height() * 7 / 8));
    }
    QCOMPARE(upper.size(), QSize(500, 300));
  }
};

QTEST_MAIN(TestFigureExport)
#include "tst_figureexport.moc"
