#include "gui/components/canvasdriver.h"
#include "gui/components/markerpicker.h"
#include "gui/components/plotpartition.h"
#include "gui/components/trianglepartition.h"

#include <QSignalSpy>
#include <QtTest>

#include <qwt_plot.h>
#include <qwt_plot_curve.h>
#include <qwt_plot_marker.h>
#include <qwt_point_data.h>

#include <cmath>

namespace {

struct Fixture
{
  explicit Fixture(const std::vector<double>& nodes, unsigned parts = 400) : tp(nodes, parts)
  {
    plot.setPartition(tp.partition.get());
    plot.plot()->setAxisScale(QwtPlot::yLeft, 0, 1);
  }
  bool show()
  {
    if (!CanvasDriver::show(&plot))
      return false;
    plot.replot();
    plot.canvas()->setFocus();
    return plot.canvas()->hasFocus();
  }
  double node(std::size_t i) const { return tp.partition->nodes()[i]; }
  QwtPlotMarker* marker(std::size_t i) const { return plot.nodeMarker(i); }
  // Drags node marker i to x (pixel-exact targets are not needed: the
  // marker takes whatever x the pixel maps to).
  void dragNode(std::size_t i, std::initializer_list<QPointF> path)
  {
    const QPoint start = drive.pixelOf(marker(i)->xValue(), 0);
    drive.move(start + QPoint(1, 1));
    drive.press(start);
    for (const QPointF& p : path)
      drive.move(drive.pixelOf(p.x(), p.y()));
    drive.release(drive.pixelOf(path.end()[-1].x(), path.end()[-1].y()));
  }

  TrianglePartition tp;
  PlotPartition plot;
  CanvasDriver drive{&plot};
};

bool near(double a, double b)
{
  return std::abs(a - b) < 0.006;
}

} // namespace

class TestPlotPartition : public QObject
{
  Q_OBJECT

private slots:
  void initTestCase() { qRegisterMetaType<size_t>("size_t"); }
  void markersSitOnNodes();
  void endNodesStayInnerNodesStopShort();
  void lockedNodesDoNotMove();
  void curvesCoverNonZeroRangesOnly();
  void syncMarkersFollowsPartition();
  void clearPartitionReportsZeroMarkers();
  void twoNodesMoveFreelyButNeverCross();
};

void TestPlotPartition::markersSitOnNodes()
{
  Fixture f({0, 0.25, 0.5, 0.75, 1});
  QCOMPARE(f.plot.nodeCount(), std::size_t(5));
  QCOMPARE(f.plot.curveInfos().size(), 5);
  for (std::size_t i = 0; i < 5; ++i) {
    QCOMPARE(f.marker(i)->value(), QPointF(f.node(i), 0));
    QCOMPARE(f.plot.indexOf(f.marker(i)), i);
    QCOMPARE(f.plot.curve(f.tp.partition->allFce()[i])->pen().color(), QColor(Qt::black));
  }
  QwtPlotMarker stranger;
  QCOMPARE(f.plot.indexOf(&stranger), std::size_t(5));

  // Highlighting an index past the nodes is ignored.
  f.plot.highlightNode(9, true);
  f.plot.highlightNode(2, true);
  QVERIFY(f.plot.isMarkerHighlighted(f.marker(2)));
  QCOMPARE(f.marker(2)->symbol()->brush().color(), QColor(Qt::darkRed));
}

void TestPlotPartition::endNodesStayInnerNodesStopShort()
{
  Fixture f({0, 0.25, 0.5, 0.75, 1});
  QVERIFY(f.show());
  QSignalSpy nodeMoved(&f.plot, &PlotPartition::nodeMoved);
  QSignalSpy markerMoved(&f.plot, &PlotWidget::markerMoved);

  f.dragNode(0, {{0.1, 0}, {0.2, 0.3}});
  f.dragNode(4, {{0.9, 0}});
  QCOMPARE(f.node(0), 0.0);
  QCOMPARE(f.node(4), 1.0);
  QCOMPARE(f.marker(0)->xValue(), 0.0);
  QCOMPARE(nodeMoved.count(), 0);

  // The inner node follows, stops short of its right neighbour, never
  // leaves the x axis, and follows again once back inside.
  f.dragNode(2, {{0.6, 0.8}, {0.8, 0.5}, {0.9, 0.1}});
  QVERIFY(near(f.node(2), 0.6));
  QCOMPARE(f.marker(2)->xValue(), f.node(2));
  QCOMPARE(f.marker(2)->yValue(), 0.0);
  QCOMPARE(nodeMoved.count(), 1);
  QCOMPARE(nodeMoved.at(0).at(0).value<size_t>(), size_t(2));
  QCOMPARE(nodeMoved.at(0).at(1).toDouble(), f.node(2));
  QCOMPARE(markerMoved.count(), 1);

  f.dragNode(2, {{0.2, 0.2}, {0.3, 0.9}});
  QVERIFY(near(f.node(2), 0.3));
  QVERIFY(f.node(1) < f.node(2) && f.node(2) < f.node(3));
  QCOMPARE(f.marker(2)->yValue(), 0.0);
  // The basic functions bound to the node took the new parameter.
  const auto& fce = f.tp.partition->allFce();
  QCOMPARE(fce[2]->param(1), f.node(2));
  QCOMPARE(fce[1]->param(2), f.node(2));
  QCOMPARE(fce[3]->param(0), f.node(2));
}

void TestPlotPartition::twoNodesMoveFreelyButNeverCross()
{
  Fixture f({0, 1});
  QVERIFY(f.show());
  QCOMPARE(f.plot.markerOptions(f.marker(0)), CurveInfoBase::Options(CurveInfoBase::MoveX));
  QCOMPARE(f.plot.markerOptions(f.marker(1)), CurveInfoBase::Options(CurveInfoBase::MoveX));
  QSignalSpy nodeMoved(&f.plot, &PlotPartition::nodeMoved);
  QSignalSpy pickerMoved(f.plot.picker(), &MarkerPicker::markerMoved);

  // No neighbour bounds: the first node may even leave the domain.
  f.plot.plot()->setAxisScale(QwtPlot::xBottom, -0.5, 1.5);
  f.plot.replot();
  f.dragNode(0, {{-0.3, 0}});
  QVERIFY(near(f.node(0), -0.3));
  QCOMPARE(nodeMoved.count(), 1);

  // Onto or past the other node: refused, the marker stays at its last place.
  const double first = f.node(0);
  f.dragNode(0, {{1.2, 0}});
  QCOMPARE(f.node(0), first);
  QCOMPARE(f.marker(0)->xValue(), first);
  f.dragNode(1, {{-0.4, 0}});
  QCOMPARE(f.node(1), 1.0);
  QCOMPARE(f.marker(1)->xValue(), 1.0);
  f.dragNode(1, {{f.node(0), 0}});
  QCOMPARE(f.node(1), 1.0);
  QCOMPARE(nodeMoved.count(), 1);
  QCOMPARE(pickerMoved.count(), 1);
}

void TestPlotPartition::lockedNodesDoNotMove()
{
  Fixture f({0, 0.25, 0.5, 0.75, 1});
  f.plot.setNodesMovable(false);
  QVERIFY(f.show());
  f.dragNode(2, {{0.6, 0}});
  QCOMPARE(f.node(2), 0.5);
  QCOMPARE(f.plot.markerOptions(f.marker(2)), CurveInfoBase::Options());
  f.plot.setNodesMovable(true);
  QCOMPARE(f.plot.markerOptions(f.marker(2)), CurveInfoBase::MoveX | CurveInfoBase::Bounded);
  f.plot.setMarkersVisible(false);
  QCOMPARE(f.plot.markerOptions(f.marker(2)), CurveInfoBase::Options());
}

void TestPlotPartition::curvesCoverNonZeroRangesOnly()
{
  std::vector<double> nodes;
  for (int i = 0; i <= 100; ++i)
    nodes.push_back(i / 100.0);
  Fixture f(nodes, 10000);
  std::size_t points = 0;
  for (auto* fn : f.tp.partition->allFce()) {
    auto* data = dynamic_cast<QwtCPointerData*>(f.plot.curve(fn)->data());
    QVERIFY(data);
    QCOMPARE(data->size(), fn->nzEnd() - fn->nzBegin());
    QCOMPARE(data->xData(), f.tp.domain.values().data() + fn->nzBegin());
    QCOMPARE(data->yData(), fn->nzValuesData());
    points += data->size();
  }
  QVERIFY(points < 2 * f.tp.domain.size() + 2 * nodes.size());

  // After a move the curves point at the new ranges.
  f.plot.nodeMarker(50)->setXValue(0.503);
  QVERIFY(f.plot.onMarkerMoved(f.plot.nodeMarker(50)));
  for (auto* fn : f.tp.partition->allFce()) {
    const QwtSeriesData<QPointF>* data = f.plot.curve(fn)->data();
    QCOMPARE(data->size(), fn->nzEnd() - fn->nzBegin());
    if (data->size() > 0)
      QCOMPARE(data->sample(0).y(), fn->valueAtIndex(fn->nzBegin()));
  }
}

void TestPlotPartition::syncMarkersFollowsPartition()
{
  Fixture f({0, 0.25, 0.5, 0.75, 1});
  f.tp.partition->moveNode(1, 0.3);
  f.plot.syncMarkers();
  QCOMPARE(f.marker(1)->xValue(), 0.3);
  auto* fn = f.tp.partition->allFce()[1];
  QCOMPARE(f.plot.curve(fn)->data()->size(), fn->nzEnd() - fn->nzBegin());
}

void TestPlotPartition::clearPartitionReportsZeroMarkers()
{
  Fixture f({0, 0.5, 1});
  QSignalSpy count(&f.plot, &PlotWidget::markersCountChanged);
  f.plot.clearPartition();
  QCOMPARE(count.count(), 1);
  QCOMPARE(count.at(0).at(0).value<size_t>(), size_t(0));
  QVERIFY(!f.plot.partition());
  QVERIFY(f.plot.plot()->itemList(QwtPlotItem::Rtti_PlotMarker).isEmpty());
  QVERIFY(f.plot.plot()->itemList(QwtPlotItem::Rtti_PlotCurve).isEmpty());

  // A new partition reports its node count.
  TrianglePartition other({0, 0.2, 0.4, 1}, 100);
  f.plot.setPartition(other.partition.get());
  QCOMPARE(count.count(), 2);
  QCOMPARE(count.at(1).at(0).value<size_t>(), size_t(4));
  f.plot.clearPartition();
}

QTEST_MAIN(TestPlotPartition)
#include "tst_plotpartition.moc"
