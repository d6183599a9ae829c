#include "gui/components/canvasdriver.h"
#include "gui/components/markerpicker.h"
#include "gui/components/plotpartition.h"
#include "math/domains/enumeration.h"
#include "math/domains/equidistant.h"
#include "math/fce/mathfncachedformula.h"
#include "math/fuzzy_sets/triangle.h"
#include "math/partitions/fuzzypartition.h"

#include <QSignalSpy>
#include <QtTest>

#include <qwt_plot_curve.h>
#include <qwt_plot_marker.h>
#include <qwt_point_data.h>

#include <cmath>

namespace {

using Shape = Fn::MathFnCachedFormula<double, double, FuzzySets::Triangle<double, double>>;

// A Ruspini partition of triangles on [0, 1] with the given nodes, on a shown plot.
struct Fixture
{
  explicit Fixture(const std::vector<double>& nodes, unsigned parts = 400) : domain(0, 1, parts)
  {
    partition.reset(
        new Partitions::FuzzyPartition<Shape>(&domain, Domains::Enumeration<double>(nodes, true)));
    partition->setShift(1);
    partition->setOffset(-1);
    partition->createFromNodes();
    plot.setPartition(partition.get());
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
  double node(std::size_t i) const { return partition->nodes()[i]; }
  QwtPlotMarker* marker(std::size_t i) const { return plot.nodeMarker(i); }
  bool near(std::size_t i, double x) const { return std::abs(node(i) - x) < 0.006; }
  // Drags node marker i along the path of plot points.
  void dragNode(std::size_t i, std::initializer_list<QPointF> path)
  {
    const QPoint start = d.pixelOf(marker(i)->xValue(), 0);
    d.move(start + QPoint(1, 1));
    d.press(start);
    for (const QPointF& p : path)
      d.move(d.pixelOf(p.x(), p.y()));
    d.release(d.pixelOf(path.end()[-1].x(), path.end()[-1].y()));
  }
  bool curvesOnNonZeroRanges() const
  {
    for (auto* fn : partition->allFce()) {
      auto* data = dynamic_cast<QwtCPointerData*>(plot.curve(fn)->data());
      if (!data || data->size() != fn->nzEnd() - fn->nzBegin() ||
          data->xData() != domain.values().data() + fn->nzBegin() ||
          data->yData() != fn->nzValuesData())
        return false;
    }
    return true;
  }

  Domains::Equidistant<double> domain;
  std::unique_ptr<Partitions::FuzzyPartition<Shape>> partition;
  PlotPartition plot;
  CanvasDriver d{&plot};
};

} // namespace

class TestPlotPartition : public QObject
{
  Q_OBJECT

private slots:
  void initTestCase() { qRegisterMetaType<size_t>("size_t"); }

  void markersSitOnNodes()
  {
    Fixture f({0, 0.25, 0.5, 0.75, 1});
    QCOMPARE(f.plot.curveInfos().size(), 5);
    for (std::size_t i = 0; i < 5; ++i) {
      QCOMPARE(f.marker(i)->value(), QPointF(f.node(i), 0));
      QCOMPARE(f.plot.indexOf(f.marker(i)), i);
    }
    QwtPlotMarker stranger;
    QCOMPARE(f.plot.indexOf(&stranger), std::size_t(5));
    f.plot.highlightNode(9, true); // past the nodes: ignored
    f.plot.highlightNode(2, true);
    QCOMPARE(f.marker(2)->symbol()->brush().color(), QColor(Qt::darkRed));
  }

  void endNodesStayInnerNodesStopShort()
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
    QVERIFY(f.near(2, 0.6));
    QCOMPARE(f.marker(2)->value(), QPointF(f.node(2), 0));
    QCOMPARE(nodeMoved.count(), 1);
    QCOMPARE(nodeMoved.at(0).at(0).value<size_t>(), size_t(2));
    QCOMPARE(nodeMoved.at(0).at(1).toDouble(), f.node(2));
    QCOMPARE(markerMoved.count(), 1);

    f.dragNode(2, {{0.2, 0.2}, {0.3, 0.9}});
    QVERIFY(f.near(2, 0.3));
    QCOMPARE(f.marker(2)->yValue(), 0.0);
    // The basic functions bound to the node took the new parameter, and their curves the new
    // ranges.
    const auto& fce = f.partition->allFce();
    QCOMPARE(fce[2]->param(1), f.node(2));
    QCOMPARE(fce[1]->param(2), f.node(2));
    QCOMPARE(fce[3]->param(0), f.node(2));
    QVERIFY(f.curvesOnNonZeroRanges());
  }

  void twoNodesMoveFreelyButNeverCross()
  {
    Fixture f({0, 1});
    QVERIFY(f.show());
    QCOMPARE(f.plot.markerOptions(f.marker(1)), CurveInfoBase::Options(CurveInfoBase::MoveX));
    QSignalSpy nodeMoved(&f.plot, &PlotPartition::nodeMoved);
    QSignalSpy pickerMoved(f.plot.picker(), &MarkerPicker::markerMoved);
    // No neighbour bounds: the first node may even leave the domain.
    f.plot.plot()->setAxisScale(QwtPlot::xBottom, -0.5, 1.5);
    f.plot.replot();
    f.dragNode(0, {{-0.3, 0}});
    QVERIFY(f.near(0, -0.3));
    // Onto or past the other node: refused, the marker stays at its last place.
    const double first = f.node(0);
    f.dragNode(0, {{1.2, 0}});
    QCOMPARE(f.node(0), first);
    QCOMPARE(f.marker(0)->xValue(), first);
    f.dragNode(1, {{-0.4, 0}});
    f.dragNode(1, {{f.node(0), 0}});
    QCOMPARE(f.node(1), 1.0);
    QCOMPARE(f.marker(1)->xValue(), 1.0);
    QCOMPARE(nodeMoved.count(), 1);
    QCOMPARE(pickerMoved.count(), 1);
  }

  void lockedNodesDoNotMove()
  {
    Fixture f({0, 0.25, 0.5, 0.75, 1});
    f.plot.setNodesMovable(false);
    QVERIFY(f.show());
    f.dragNode(2, {{0.6, 0}});
    QCOMPARE(f.node(2), 0.5);
    f.plot.setNodesMovable(true);
    QCOMPARE(f.plot.markerOptions(f.marker(2)), CurveInfoBase::MoveX | CurveInfoBase::Bounded);
    f.plot.setMarkersVisible(false);
    QCOMPARE(f.plot.markerOptions(f.marker(2)), CurveInfoBase::Options());
  }

  void curvesCoverNonZeroRangesOnly()
  {
    std::vector<double> nodes;
    for (int i = 0; i <= 100; ++i)
      nodes.push_back(i / 100.0);
    Fixture f(nodes, 10000);
    QVERIFY(f.curvesOnNonZeroRanges());
    std::size_t points = 0;
    for (auto* fn : f.partition->allFce())
      points += f.plot.curve(fn)->data()->size();
    QVERIFY(points < 2 * f.domain.size() + 2 * nodes.size());
    f.partition->moveNode(50, 0.503); // synced from outside
    f.plot.syncMarkers();
    QCOMPARE(f.marker(50)->xValue(), 0.503);
    QVERIFY(f.curvesOnNonZeroRanges());
  }

  void clearAndNewPartitionReportMarkerCount()
  {
    Fixture f({0, 0.5, 1}), other({0, 0.2, 0.4, 1}, 100);
    QSignalSpy count(&f.plot, &PlotWidget::markersCountChanged);
    f.plot.clearPartition();
    QVERIFY(!f.plot.partition());
    QVERIFY(f.plot.plot()->itemList(QwtPlotItem::Rtti_PlotMarker).isEmpty());
    QVERIFY(f.plot.plot()->itemList(QwtPlotItem::Rtti_PlotCurve).isEmpty());
    f.plot.setPartition(other.partition.get());
    QCOMPARE(count.count(), 2);
    QCOMPARE(count.at(0).at(0).value<size_t>(), size_t(0));
    QCOMPARE(count.at(1).at(0).value<size_t>(), size_t(4));
    f.plot.clearPartition();
  }
};

QTEST_MAIN(TestPlotPartition)
#include "tst_plotpartition.moc"
