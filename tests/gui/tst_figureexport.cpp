// Figures as a reader sees them: axes, tick labels and every legend entry in
// every format, stacked plots on one x range and at one x place, the
// figure's own titles and colours, and failures reported.
#include "common/promptrecorder.h"
#include "common/testfiles.h"
#include "gui/components/fittedlegend.h"
#include "gui/components/plotwidget.h"
#include "gui/exportrunner.h"
#include "gui/figureexport.h"
#include "math/domains/equidistant.h"
#include "math/fce/mathfntable.h"

#include <qwt_plot.h>
#include <qwt_plot_curve.h>

#include <QXmlStreamReader>
#include <QtTest>

#include <memory>

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

std::vector<double> ramp(double from, double to)
{
  std::vector<double> v(101);
  for (std::size_t i = 0; i < v.size(); ++i)
    v[i] = from + (to - from) * double(i) / 100.0;
  return v;
}

FigureExport::Options options(const QString& path, const QSizeF& sizeMm, int dpi = 300)
{
  FigureExport::Options o;
  o.filePath = path;
  o.sizeMm = sizeMm;
  o.dpi = dpi;
  return o;
}

// The texts and the stroke colours of an SVG.
struct Svg
{
  explicit Svg(const QByteArray& content)
  {
    QXmlStreamReader xml(content);
    while (!xml.atEnd()) {
      if (xml.readNext() != QXmlStreamReader::StartElement)
        continue;
      if (xml.attributes().hasAttribute("stroke"))
        strokes << xml.attributes().value("stroke").toString();
      if (xml.name() == QLatin1String("text"))
        texts << xml.readElementText(QXmlStreamReader::IncludeChildElements).trimmed();
    }
    ok = !xml.hasError();
  }
  bool ok;
  QStringList texts, strokes;
};

} // namespace

class TestFigureExport : public QObject
{
  Q_OBJECT

  Domains::Equidistant<double> domain{0.0, 1.0, 100}, longer{0.0, 3.0, 100};
  Fn::MathFnTable<double, double> rising{&domain, ramp(1.0, 2.0)};
  Fn::MathFnTable<double, double> wide{&longer, ramp(-1000.0, 1000.0)};
  std::vector<std::unique_ptr<Fn::MathFnTable<double, double>>> flat;
  PlotWidget upper, lower;
  QStringList names{"Rising"};
  QTemporaryDir dir;

private slots:
  void initTestCase()
  {
    upper.addFunction(&rising, QPen(Qt::blue, 2));
    upper.curveInfo(&rising)->setName(names[0]);
    // Ten entries, more than one column holds on a short figure.
    for (int i = 1; i < 10; ++i) {
      flat.emplace_back(
          new Fn::MathFnTable<double, double>(&domain, ramp(1 + i / 10., 1 + i / 10.)));
      upper.addFunction(flat.back().get(), QPen(Qt::blue, 2));
      names << QString("Flat %1").arg(i);
      upper.curveInfo(flat.back().get())->setName(names.last());
    }
    lower.addFunction(&wide, QPen(Qt::blue, 2));
    upper.setLegendVisible(true);
    // A right-hand axis on the upper plot only, as the error curves have.
    upper.plot()->enableAxis(QwtPlot::yRight, true);
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
    QwtPlot* below = stacked ? lower.plot() : nullptr;
    if (!reason.isEmpty()) {
      QVERIFY(
          !FigureExport::exportFigure(nullptr, options(path, sizeMm, dpi), upper.plot(), below));
      QVERIFY(readAll(dir.filePath("old.png")) == "keep");
      QCOMPARE(rec.titles(), QStringList{"Error"});
      QVERIFY2(rec.messages[0].text.contains(QFileInfo(path).absoluteFilePath()) &&
                   rec.messages[0].text.contains(reason),
               qPrintable(rec.messages[0].text));
      return;
    }
    FigureExport::Layout layout;
    QString error;
    QVERIFY2(FigureExport::write(options(path, sizeMm, dpi), upper.plot(), below, error, &layout),
             qPrintable(error));
    // Both canvases span the same x, though only the upper plot has a right-hand axis.
    if (stacked)
      QVERIFY(std::abs(layout.canvas.left() - layout.belowCanvas.left()) < 0.5 &&
              std::abs(layout.canvas.right() - layout.belowCanvas.right()) < 0.5);
    const QByteArray content = readAll(path);
    if (name.endsWith(".svg")) {
      const Svg svg(content);
      QVERIFY(svg.ok);
      // The lower plot is there, on the upper plot's x range [0, 1] instead of its own [0, 3].
      for (const char* shown : {"0.2", "0.8", "1.4", "Rising", "-500"})
        QVERIFY2(svg.texts.contains(shown), qPrintable(svg.texts.join('|')));
      QVERIFY2(!svg.texts.contains("3"), qPrintable(svg.texts.join('|')));
    } else if (name.endsWith(".PDF")) {
      QVERIFY(content.startsWith("%PDF"));
    } else {
      const QImage figure = QImage::fromData(content, "png");
      QCOMPARE(figure.size(), QSize(400, stacked ? 400 : 200));
      // Tick labels left of the canvas; the canvas alone has none there.
      QVERIFY(darkColumnsAtLeft(figure) >= 5);
      QCOMPARE(darkColumnsAtLeft(ExportRunner::canvasPicture(&upper, figure.size()).toImage()), 0);
    }
    QCOMPARE(upper.size(), QSize(500, 300));
  }

  // Every entry of the legend is drawn where it is seen, in every format and
  // place: inside the canvas, or beside or below the plots.
  void legendInEveryFormat_data()
  {
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<int>("place");
    for (const char* suffix : {"png", "svg", "pdf"}) {
      const QString s = QString::fromLatin1(suffix);
      QTest::newRow(qPrintable(s + ", as shown")) << s << int(FigureExport::LegendAsShown);
      QTest::newRow(qPrintable(s + ", bottom left")) << s << int(FigureExport::LegendBottomLeft);
      QTest::newRow(qPrintable(s + ", outside right"))
          << s << int(FigureExport::LegendOutsideRight);
      QTest::newRow(qPrintable(s + ", below")) << s << int(FigureExport::LegendBelow);
    }
  }
  void legendInEveryFormat()
  {
    QFETCH(QString, suffix);
    QFETCH(int, place);
    const QString path = dir.filePath("legend." + suffix);
    FigureExport::Options o = options(path, QSizeF(160, 45));
    o.legend = FigureExport::LegendPlace(place);
    FigureExport::Layout layout;
    QString error;
    QVERIFY2(FigureExport::write(o, upper.plot(), nullptr, error, &layout), qPrintable(error));
    QCOMPARE(layout.legendTitles, names);
    const bool inside = place < FigureExport::LegendOutsideRight;
    auto within = [](const QRectF& outer, const QRectF& r) {
      return outer.adjusted(-0.5, -0.5, 0.5, 0.5).contains(r);
    };
    for (const QRectF& r : layout.legendRects) {
      QVERIFY(within(layout.figure, r));
      QVERIFY(inside ? within(layout.canvas, r) : !layout.canvas.intersects(r));
    }
    if (suffix == "svg") {
      const Svg svg(readAll(path));
      for (const QString& name : names)
        QVERIFY2(svg.texts.contains(name), qPrintable(name));
    }
    QVERIFY(upper.legend()->isVisible());
  }

  // Titles of the figure's own and a hue per function, on loan: the plots keep theirs.
  void titlesAndColours()
  {
    const QString path = dir.filePath("looks.svg");
    FigureExport::Options o = options(path, QSizeF(120, 80));
    o.xTitle = "time";
    o.yTitle = "level";
    o.colours = FigureExport::FunctionHuesShades;
    o.roles = {{upper.curve(&rising), 0, -1},
               {upper.curve(flat[0].get()), 1, -1},
               {upper.curve(flat[1].get()), 1, 0}};
    QString error;
    QVERIFY2(FigureExport::write(o, upper.plot(), lower.plot(), error), qPrintable(error));
    const Svg svg(readAll(path));
    QVERIFY(svg.texts.contains("time") && svg.texts.contains("level"));
    QSet<int> hues;
    for (const auto& r : o.roles) {
      const QColor c = FigureExport::roleColour(o.colours, r.function, 2, r.degree);
      QVERIFY2(svg.strokes.contains(c.name()), qPrintable(c.name()));
      hues << c.hslHue();
    }
    QCOMPARE(hues.size(), 2);
    QVERIFY(FigureExport::roleColour(o.colours, 1, 2, -1) !=
            FigureExport::roleColour(o.colours, 1, 2, 0));
    QCOMPARE(upper.curve(flat[0].get())->pen().color(), QColor(Qt::blue));
    QVERIFY(upper.plot()->axisTitle(QwtPlot::yLeft).isEmpty() &&
            lower.plot()->axisTitle(QwtPlot::xBottom).isEmpty());
  }
};

QTEST_MAIN(TestFigureExport)
#include "tst_figureexport.moc"
