#include "gui/components/functioncurve.h"
#include "gui/components/markerpolicy.h"
#include "gui/components/nodemarker.h"

#include <QImage>
#include <QPainter>
#include <QtTest>

#include <qwt_plot.h>
#include <qwt_plot_canvas.h>
#include <qwt_scale_map.h>

#include <cmath>
#include <random>

// The drawing shortcuts of curves and node markers must give the picture of the plain Qwt items.
namespace {

QImage paint(const QwtPlotCurve& curve, double viewLow = 0.0, double viewHigh = 1.0,
             double yLow = -1.2, double yHigh = 1.2)
{
  QImage image(400, 300, QImage::Format_RGB32);
  image.fill(Qt::white);
  QwtScaleMap xMap, yMap;
  xMap.setScaleInterval(viewLow, viewHigh);
  xMap.setPaintInterval(0, 399);
  yMap.setScaleInterval(yLow, yHigh);
  yMap.setPaintInterval(299, 0);
  QPainter painter(&image);
  curve.draw(&painter, xMap, yMap, QRectF(0, 0, 400, 300));
  return image;
}

QImage render(QwtPlotCurve&& curve, const QVector<double>& xs, const QVector<double>& ys,
              double viewLow = 0.0, double viewHigh = 1.0, double yLow = -1.2, double yHigh = 1.2)
{
  curve.setRawSamples(xs.data(), ys.data(), xs.size());
  curve.setPen(QPen(Qt::black, 0));
  return paint(curve, viewLow, viewHigh, yLow, yHigh);
}

int count(const QImage& a, const QImage& b) // pixels that differ from b, or from white
{
  int n = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x)
      n += a.pixel(x, y) != (b.isNull() ? QColor(Qt::white).rgb() : b.pixel(x, y));
  return n;
}

// count markers spread over [-0.1, 1.1] on a [0, 1] axis: many share a pixel column, some are
// off the canvas.
QImage markers(bool nodeMarkers, int count, const QList<int>& highlighted, const QList<int>& hidden)
{
  QwtPlot plot;
  plot.resize(300, 150);
  plot.setAxisScale(QwtPlot::xBottom, 0, 1);
  plot.setAxisScale(QwtPlot::yLeft, -1, 1);
  const NodeMarker* previous = nullptr;
  for (int i = 0; i < count; ++i) {
    NodeMarker* n = nodeMarkers ? new NodeMarker(previous) : nullptr;
    QwtPlotMarker* m = n ? n : new QwtPlotMarker;
    previous = n;
    CurveInfoBase::styleMarker(m);
    if (highlighted.contains(i))
      m->setSymbol(CurveInfoBase::highlightedSymbol());
    m->setVisible(!hidden.contains(i));
    m->setValue(-0.1 + 1.2 * i / (count - 1), 0.0);
    m->attach(&plot);
  }
  plot.replot();
  return plot.canvas()->grab().toImage();
}

} // namespace

class TestFunctionCurve : public QObject
{
  Q_OBJECT

private slots:
  void looksLikeEveryPointDrawn_data()
  {
    QTest::addColumn<int>("points");
    QTest::addColumn<double>("frequency");
    QTest::addColumn<double>("viewLow");
    QTest::addColumn<double>("viewHigh");
    QTest::addColumn<bool>("summarized");
    // clang-format off
    for (bool summarized : {false, true}) {
      QTest::addRow("dense sine %d", summarized) << 100001 << 5.0 << 0.0 << 1.0 << summarized;
      QTest::addRow("dense noise %d", summarized) << 20001 << 2000.0 << 0.0 << 1.0 << summarized;
      QTest::addRow("zoomed in %d", summarized) << 100001 << 5.0 << 0.41 << 0.43 << summarized;
      QTest::addRow("sparse zoomed between points %d", summarized) << 11 << 1.0 << 0.52 << 0.58 << summarized;
      QTest::addRow("view right of the data %d", summarized) << 101 << 1.0 << 1.5 << 2.0 << summarized;
    }
    // clang-format on
  }
  void looksLikeEveryPointDrawn()
  {
    QFETCH(int, points);
    QFETCH(double, frequency);
    QFETCH(double, viewLow);
    QFETCH(double, viewHigh);
    QFETCH(bool, summarized);
    QVector<double> xs, ys;
    for (int i = 0; i < points; ++i) {
      xs.append(double(i) / (points - 1));
      ys.append(std::sin(2 * M_PI * frequency * xs[i]) * (0.5 + 0.5 * std::cos(37.0 * xs[i])));
    }
    const QImage expected = render(QwtPlotCurve(), xs, ys, viewLow, viewHigh);
    FunctionCurve curve;
    curve.setSummarized(summarized);
    const QImage actual = render(std::move(curve), xs, ys, viewLow, viewHigh);
    const int ink = count(expected, QImage());
    if (viewLow > 1.0)
      QCOMPARE(count(actual, QImage()), 0);
    else // only the rasterisation of the joins may differ by a pixel here and there
      QVERIFY(ink > 300 && count(expected, actual) <= ink / 50);
  }

  void nonFiniteValuesBreakTheLine()
  {
    const QImage image = render(FunctionCurve(), {0.0, 0.25, 0.5, 0.75, 1.0}, {0, 0, NAN, 0, 0});
    const QRgb white = QColor(Qt::white).rgb(); // a gap around the NaN
    QVERIFY(image.pixel(50, 150) != white && image.pixel(350, 150) != white);
    QCOMPARE(image.pixel(200, 150), white);
  }

  // A summarised curve follows values changed in place once told, and draws
  // what a curve drawing every point draws, gaps and huge values included.
  void summaryFollowsValuesChangedInPlace()
  {
    QVector<double> xs, ys(50001, 0.0);
    for (int i = 0; i < ys.size(); ++i)
      xs.append(double(i) / (ys.size() - 1));
    FunctionCurve curve;
    curve.setSummarized(true);
    render(std::move(curve), xs, ys); // builds the summary
    for (int i = 20000; i < 30000; ++i)
      ys[i] = i < 21000 ? NAN : i < 21010 ? 1e300 : std::sin(i * 0.01);
    curve.valuesChanged(20000, 30000);
    const QRectF box = curve.boundingRect();
    QVERIFY(box.left() == 0 && box.right() == 1 && box.top() < -0.99 && box.bottom() == 1e300);
    QVector<double> clamped = ys; // the same picture, in a range every painter takes
    for (double& y : clamped)
      y = std::min(y, 1e5);
    const QImage expected = render(QwtPlotCurve(), xs, clamped);
    QVERIFY(count(paint(curve), expected) <= count(expected, QImage()) / 50);
  }

  void pyramidMatchesADirectScan()
  {
    std::mt19937 rng(5);
    const auto value = [&rng]() {
      const unsigned r = rng() % 100;
      return r < 3   ? NAN
             : r < 5 ? INFINITY
                     : std::round(std::uniform_real_distribution<double>(-9, 9)(rng));
    };
    std::vector<double> v(1037);
    for (double& x : v)
      x = value();
    MinMaxPyramid pyramid;
    pyramid.reset(v.data(), v.size());
    for (int round = 0; round < 400; ++round) {
      std::size_t a = rng() % v.size(), b = rng() % (v.size() + 1);
      if (a > b)
        std::swap(a, b);
      if (round % 3 == 0) {
        for (std::size_t i = a; i < b; ++i)
          v[i] = value();
        pyramid.update(a, b);
        continue;
      }
      const MinMaxPyramid::Extremes e = pyramid.query(a, b);
      std::size_t nonFinite = 0, lo = b, hi = b;
      for (std::size_t i = a; i < b; ++i) {
        if (!std::isfinite(v[i]))
          ++nonFinite;
        else if (lo == b || v[i] < v[lo])
          lo = i;
        if (std::isfinite(v[i]) && (hi == b || v[i] > v[hi]))
          hi = i;
      }
      QCOMPARE(e.nonFinite, nonFinite);
      QCOMPARE(e.hasFinite(), lo < b);
      if (lo < b)
        QCOMPARE(QList<std::size_t>({e.minIndex, e.maxIndex}), QList<std::size_t>({lo, hi}));
    }
  }

  // Pixel positions beyond the int range (undefined when rounded) and scales whose
  // distance to a value overflows, as Qwt's autoscale gives for data near 1e308.
  void extremeValuesDrawWhereTheyLie_data()
  {
    QTest::addColumn<QVector<double>>("ys"); // at x = 0, 0.5, 1
    QTest::addColumn<double>("yLow");
    QTest::addColumn<double>("yHigh");
    QTest::addColumn<QPoint>("ink");
    QTest::addColumn<QPoint>("blank");
    // clang-format off
    QTest::newRow("far off a unit scale") << QVector<double>{0, 1e308, 0} << -1.2 << 1.2 << QPoint(0, 75) << QPoint(200, 150);
    QTest::newRow("span beyond the doubles") << QVector<double>{-1e308, 1.7976931348623157e308, 1e308} << -6e307 << 1e308 << QPoint(71, 187) << QPoint(0, 187);
    // clang-format on
  }
  void extremeValuesDrawWhereTheyLie()
  {
    QFETCH(QVector<double>, ys);
    QFETCH(double, yLow);
    QFETCH(double, yHigh);
    QFETCH(QPoint, ink);
    QFETCH(QPoint, blank);
    const QImage image = render(FunctionCurve(), {0.0, 0.5, 1.0}, ys, 0.0, 1.0, yLow, yHigh);
    const QRgb white = QColor(Qt::white).rgb();
    QVERIFY(image.pixel(ink) != white || image.pixel(ink + QPoint(1, 0)) != white);
    QCOMPARE(image.pixel(blank), white);
  }

  void nodeMarkersDrawLikePlainMarkers_data()
  {
    QTest::addColumn<int>("count");
    QTest::addColumn<QList<int>>("highlighted");
    QTest::addColumn<QList<int>>("hidden");
    // clang-format off
    QTest::newRow("few, apart") << 7 << QList<int>() << QList<int>();
    QTest::newRow("highlighted among many") << 3000 << QList<int>{1500, 1501, 2999} << QList<int>();
    QTest::newRow("hidden among many") << 3000 << QList<int>{1500} << QList<int>{1499, 1502};
    // clang-format on
  }
  void nodeMarkersDrawLikePlainMarkers()
  {
    QFETCH(int, count);
    QFETCH(QList<int>, highlighted);
    QFETCH(QList<int>, hidden);
    const QImage a = markers(false, count, highlighted, hidden);
    QVERIFY(!a.isNull() && a == markers(true, count, highlighted, hidden));
  }
};

QTEST_MAIN(TestFunctionCurve)
#include "tst_functioncurve.moc"
