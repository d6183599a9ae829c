#include "gui/components/markerpolicy.h"
#include "gui/components/nodemarker.h"

#include <QImage>
#include <QtTest>

#include <qwt_plot.h>
#include <qwt_plot_canvas.h>

#include <memory>
#include <vector>

namespace {

// A plot of count node markers spread over [-0.1, 1.1] on a [0, 1] axis, so
// that many share a pixel column and some lie off the canvas.
struct MarkerPlot
{
  MarkerPlot(bool nodeMarkers, int count)
  {
    plot.resize(300, 150);
    plot.setAxisScale(QwtPlot::xBottom, 0, 1);
    plot.setAxisScale(QwtPlot::yLeft, -1, 1);
    const NodeMarker* previous = nullptr;
    for (int i = 0; i < count; ++i) {
      QwtPlotMarker* m;
      if (nodeMarkers) {
        auto* n = new NodeMarker(previous);
        previous = n;
        m = n;
      } else {
        m = new QwtPlotMarker;
      }
      CurveInfoBase::styleMarker(m);
      m->setValue(-0.1 + 1.2 * i / (count - 1), 0.0);
      m->attach(&plot);
      markers.push_back(m);
    }
  }
  QImage picture()
  {
    plot.replot();
    return plot.canvas()->grab().toImage();
  }

  QwtPlot plot;
  std::vector<QwtPlotMarker*> markers;
};

} // namespace

class TestNodeMarker : public QObject
{
  Q_OBJECT

private slots:
  void samePictureAsPlainMarkers_data();
  void samePictureAsPlainMarkers();
};

void TestNodeMarker::samePictureAsPlainMarkers_data()
{
  QTest::addColumn<int>("count");
  QTest::addColumn<QList<int>>("highlighted");
  QTest::addColumn<QList<int>>("hidden");
  QTest::newRow("few, apart") << 7 << QList<int>() << QList<int>();
  QTest::newRow("many per pixel") << 3000 << QList<int>() << QList<int>();
  QTest::newRow("highlighted among many") << 3000 << QList<int>{1500, 1501, 2999} << QList<int>();
  QTest::newRow("hidden among many") << 3000 << QList<int>{1500} << QList<int>{1499, 1502};
}

void TestNodeMarker::samePictureAsPlainMarkers()
{
  QFETCH(int, count);
  QFETCH(QList<int>, highlighted);
  QFETCH(QList<int>, hidden);
  MarkerPlot plain(false, count), nodes(true, count);
  for (MarkerPlot* p : {&plain, &nodes}) {
    for (int i : highlighted)
      p->markers[std::size_t(i)]->setSymbol(CurveInfoBase::highlightedSymbol());
    for (int i : hidden)
      p->markers[std::size_t(i)]->setVisible(false);
  }
  const QImage a = plain.picture(), b = nodes.picture();
  QVERIFY(!a.isNull());
  QCOMPARE(a.size(), b.size());
  QVERIFY(a == b);
}

QTEST_MAIN(TestNodeMarker)
#include "tst_nodemarker.moc"
