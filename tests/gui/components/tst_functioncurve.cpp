#include "gui/components/functioncurve.h"

#include <QImage>
#include <QPainter>
#include <QtTest>

#include <qwt_scale_map.h>

#include <cmath>
#include <limits>

namespace {

QImage render(QwtPlotCurve& curve, const QVector<double>& xs, const QVector<double>& ys,
              double viewLow = 0.0, double viewHigh = 1.0)
{
  curve.setRawSamples(xs.data(), ys.data(), xs.size());
  curve.setPen(QPen(Qt::black, 0));
  QImage image(400, 300, QImage::Format_RGB32);
  image.fill(Qt::white);
  QwtScaleMap xMap, yMap;
  xMap.setScaleInterval(viewLow, viewHigh);
  xMap.setPaintInterval(0, 399);
  yMap.setScaleInterval(-1.2, 1.2);
  yMap.setPaintInterval(299, 0);
  QPainter painter(&image);
  curve.draw(&painter, xMap, yMap, QRectF(0, 0, 400, 300));
  return image;
}

int differingPixels(const QImage& a, const QImage& b)
{
  int n = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x)
      n += a.pixel(x, y) != b.pixel(x, y);
  return n;
}

int inkedPixels(const QImage& a)
{
  int n = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x)
      n += a.pixel(x, y) != QColor(Qt::white).rgb();
  return n;
}

} // namespace

class TestFunctionCurve : public QObject
{
  Q_OBJECT

private slots:
  void looksLikeEveryPointDrawn_data();
  void looksLikeEveryPointDrawn();
  void nonFiniteValuesBreakTheLine();
};

void TestFunctionCurve::looksLikeEveryPointDrawn_data()
{
  QTest::addColumn<int>("points");
  QTest::addColumn<double>("frequency");
  QTest::addColumn<double>("viewLow");
  QTest::addColumn<double>("viewHigh");
  QTest::newRow("sparse") << 50 << 3.0 << 0.0 << 1.0;
  QTest::newRow("dense sine") << 100001 << 5.0 << 0.0 << 1.0;
  QTest::newRow("dense noise") << 20001 << 2000.0 << 0.0 << 1.0;
  QTest::newRow("zoomed in") << 100001 << 5.0 << 0.41 << 0.43;
  QTest::newRow("sparse zoomed between points") << 11 << 1.0 << 0.52 << 0.58;
  QTest::newRow("view right of the data") << 101 << 1.0 << 1.5 << 2.0;
}

void TestFunctionCurve::looksLikeEveryPointDrawn()
{
  QFETCH(int, points);
  QFETCH(double, frequency);
  QFETCH(double, viewLow);
  QFETCH(double, viewHigh);
  QVector<double> xs, ys;
  for (int i = 0; i < points; ++i) {
    const double x = double(i) / (points - 1);
    xs.append(x);
    ys.append(std::sin(2 * M_PI * frequency * x) * (0.5 + 0.5 * std::cos(37.0 * x)));
  }
  QwtPlotCurve plain;
  FunctionCurve reduced;
  const QImage expected = render(plain, xs, ys, viewLow, viewHigh);
  const QImage actual = render(reduced, xs, ys, viewLow, viewHigh);
  // Within a pixel column the ink covers the same span; only the
  // rasterisation of the joins may differ by a pixel here and there.
  if (viewLow > 1.0) {
    QCOMPARE(inkedPixels(actual), 0);
    return;
  }
  QVERIFY(inkedPixels(expected) > 300);
  QVERIFY2(differingPixels(expected, actual) <= inkedPixels(expected) / 50,
           qPrintable(QString::number(differingPixels(expected, actual))));
}

void TestFunctionCurve::nonFiniteValuesBreakTheLine()
{
  const double nan = std::numeric_limits<double>::quiet_NaN();
  QVector<double> xs{0.0, 0.25, 0.5, 0.75, 1.0};
  QVector<double> ys{0.0, 0.0, nan, 0.0, 0.0};
  FunctionCurve curve;
  const QImage image = render(curve, xs, ys);
  const int y = 150; // value 0
  QVERIFY(image.pixel(50, y) != QColor(Qt::white).rgb());
  QCOMPARE(image.pixel(200, y), QColor(Qt::white).rgb()); // the gap around the NaN
  QVERIFY(image.pixel(350, y) != QColor(Qt::white).rgb());
}

QTEST_MAIN(TestFunctionCurve)
#include "tst_functioncurve.moc"
