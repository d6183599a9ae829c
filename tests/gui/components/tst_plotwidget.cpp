#include "gui/components/canvasdriver.h"
#include "gui/components/plotwidget.h"
#include "math/domains/equidistant.h"
#include "math/fce/mathfntable.h"

#include <QScrollBar>
#include <QVBoxLayout>
#include <QtTest>

#include <qwt_plot.h>
#include <qwt_plot_curve.h>
#include <qwt_plot_marker.h>
#include <qwt_point_data.h>
#include <qwt_scale_div.h>

#include <memory>

using Domain = Domains::Equidistant<double>;
using Table = Fn::MathFnTable<double, double>;

namespace {

// A function of x^2 on [low, high] cut into parts subintervals.
struct Sampled
{
  Sampled(double low, double high, unsigned parts) : domain(low, high, parts)
  {
    std::vector<double> ys;
    for (double x : domain.values())
      ys.push_back(x * x);
    fn.reset(new Table(&domain, ys));
  }
  Domain domain;
  std::unique_ptr<Table> fn;
};

class OneMarker : public CurveInfoBase
{
public:
  OneMarker(const Function* f, std::size_t n) : CurveInfoBase(f, n) {}
  QRectF bounds(QwtPlotMarker*) const override { return QRectF(); }
};

} // namespace

class TestPlotWidget : public QObject
{
  Q_OBJECT

private slots:
  void scrollRange_data();
  void scrollRange();
  void scrollValueMovesAxis();
  void sameFunctionTwiceAddsOneCurve();
  void lastCurveRemovedEmptiesRange();
  void curvesReadTheFunctionArrays();
  void valueReadOut_data();
  void valueReadOut();
  void highlightedMarkerOutlivesHiding();
  void followerScrollsWithMaster();
  void pictureAtSizeRestoresWidget();
};

void TestPlotWidget::scrollRange_data()
{
  QTest::addColumn<double>("low");
  QTest::addColumn<double>("high");
  QTest::addColumn<double>("zoom");
  QTest::addColumn<int>("policy");
  QTest::addColumn<bool>("visible");
  QTest::addColumn<int>("minimum");
  QTest::addColumn<int>("maximum");
  QTest::addColumn<double>("axisLow");
  QTest::addColumn<double>("axisHigh");

  const int asNeeded = Qt::ScrollBarAsNeeded;
  QTest::newRow("zoom 1 hides") << 0.0 << 1.0 << 1.0 << asNeeded << false << 0 << 0 << 0.0 << 1.0;
  QTest::newRow("zoom 1.5 shows") << 0.0 << 1.0 << 1.5 << asNeeded << true << 0 << 33 << 0.0
                                  << 1.0 / 1.5;
  QTest::newRow("zoom 2 half") << 0.0 << 1.0 << 2.0 << asNeeded << true << 0 << 50 << 0.0 << 0.5;
  QTest::newRow("negative domain")
      << -5.0 << -1.0 << 1.0 << asNeeded << false << -500 << -500 << -5.0 << -1.0;
  QTest::newRow("always off") << 0.0 << 1.0 << 2.0 << int(Qt::ScrollBarAlwaysOff) << false << 0
                              << 50 << 0.0 << 0.5;
  QTest::newRow("always on") << 0.0 << 1.0 << 1.0 << int(Qt::ScrollBarAlwaysOn) << true << 0 << 0
                             << 0.0 << 1.0;
}

void TestPlotWidget::scrollRange()
{
  QFETCH(double, low);
  QFETCH(double, high);
  QFETCH(double, zoom);
  QFETCH(int, policy);
  QFETCH(bool, visible);
  QFETCH(int, minimum);
  QFETCH(int, maximum);
  QFETCH(double, axisLow);
  QFETCH(double, axisHigh);

  Sampled s(low, high, 8);
  PlotWidget w;
  w.setScrollBarPolicy(Qt::ScrollBarPolicy(policy));
  QVERIFY(CanvasDriver::show(&w));
  w.addFunction(s.fn.get(), QPen(Qt::blue));
  w.setZoom(zoom);
  w.replot();

  QCOMPARE(w.scrollBar()->isVisible(), visible);
  QCOMPARE(w.scrollBar()->minimum(), minimum);
  QCOMPARE(w.scrollBar()->maximum(), maximum);
  const QwtScaleDiv& div = w.plot()->axisScaleDiv(QwtPlot::xBottom);
  QCOMPARE(div.lowerBound(), axisLow);
  QCOMPARE(div.upperBound(), axisHigh);
}

void TestPlotWidget::scrollValueMovesAxis()
{
  Sampled s(0, 1, 8);
  PlotWidget w;
  w.addFunction(s.fn.get());
  w.setZoom(2.0);
  w.scrollBar()->setValue(30);
  const QwtScaleDiv& div = w.plot()->axisScaleDiv(QwtPlot::xBottom);
  QCOMPARE(div.lowerBound(), 0.3);
  QCOMPARE(div.upperBound(), 0.8);

  // Zooming back keeps what it can of the position and hides the bar again.
  w.setZoom(1.0);
  QCOMPARE(w.scrollBar()->value(), 0);
  QVERIFY(w.scrollBar()->isHidden());
  QCOMPARE(w.plot()->axisScaleDiv(QwtPlot::xBottom).upperBound(), 1.0);
}

void TestPlotWidget::sameFunctionTwiceAddsOneCurve()
{
  Sampled s(0, 1, 4);
  PlotWidget w;
  QVERIFY(w.addFunction(s.fn.get(), QPen(Qt::red, 2, Qt::DashLine)));
  QVERIFY(!w.addFunction(s.fn.get(), QPen(Qt::green)));
  QCOMPARE(w.plot()->itemList(QwtPlotItem::Rtti_PlotCurve).size(), 1);
  // Colour and width are taken, the style is not.
  const QPen pen = w.curve(s.fn.get())->pen();
  QCOMPARE(pen.color(), QColor(Qt::red));
  QCOMPARE(pen.widthF(), 2.0);
  QCOMPARE(pen.style(), Qt::SolidLine);

  w.removeFunction(s.fn.get());
  w.removeFunction(s.fn.get()); // unknown by now: ignored
  QVERIFY(w.plot()->itemList(QwtPlotItem::Rtti_PlotCurve).isEmpty());
  QVERIFY(!w.curveInfo(s.fn.get()));
}

void TestPlotWidget::lastCurveRemovedEmptiesRange()
{
  Sampled a(0, 1, 4), b(2, 3, 4), c(-5, -1, 4);
  PlotWidget w;
  w.addFunction(a.fn.get());
  w.addFunction(b.fn.get());
  QCOMPARE(w.xMin(), 0.0);
  QCOMPARE(w.xMax(), 3.0);
  w.removeFunction(a.fn.get());
  QCOMPARE(w.xMin(), 0.0); // a remaining curve keeps the range
  w.removeFunction(b.fn.get());
  QVERIFY(w.xMin() > w.xMax());
  w.addFunction(c.fn.get());
  QCOMPARE(w.xMin(), -5.0);
  QCOMPARE(w.xMax(), -1.0);
  w.clear();
  QVERIFY(w.xMin() > w.xMax());
  QVERIFY(w.curveInfos().isEmpty());
}

void TestPlotWidget::curvesReadTheFunctionArrays()
{
  Sampled s(0, 1, 100);
  PlotWidget w;
  w.addFunction(s.fn.get());
  auto* data = dynamic_cast<QwtCPointerData*>(w.curve(s.fn.get())->data());
  QVERIFY(data);
  QCOMPARE(data->xData(), s.domain.values().data());
  QCOMPARE(data->yData(), s.fn->valuesData());
  QCOMPARE(data->size(), s.domain.size());
}

void TestPlotWidget::valueReadOut_data()
{
  QTest::addColumn<double>("x");
  QTest::addColumn<QString>("text");
  // Points 0, 0.25, 0.5, 0.75, 1 with values x^2.
  QTest::newRow("half-way goes low") << 0.375 << "f: [0.25, 0.063]";
  QTest::newRow("just past half-way") << 0.3751 << "f: [0.50, 0.250]";
  QTest::newRow("before the first") << -3.0 << "f: [0.00, 0.000]";
  QTest::newRow("at the last") << 1.0 << "f: [1.00, 1.000]";
  QTest::newRow("after the last") << 7.0 << "f: [1.00, 1.000]";
}

void TestPlotWidget::valueReadOut()
{
  QFETCH(double, x);
  QFETCH(QString, text);
  Sampled s(0, 1, 4);
  PlotWidget w;
  CurveInfoBase* info = w.addFunction(s.fn.get());
  info->setName("f");
  info->setValueAt(x, ": ");
  QCOMPARE(info->name() + info->valueText(), text);
  QCOMPARE(info->curve()->title().text(), text);
  info->clearValueText();
  QCOMPARE(info->curve()->title().text(), QString("f"));
}

void TestPlotWidget::highlightedMarkerOutlivesHiding()
{
  Sampled s(0, 1, 4);
  PlotWidget w;
  auto* info = new CurveInfo<OneMarker>(s.fn.get(), 2);
  w.addCurveInfo(info);
  QwtPlotMarker* a = info->markers()[0];
  QwtPlotMarker* b = info->markers()[1];
  QVERIFY(a->plot() == w.plot() && a->isVisible());

  w.highlightMarker(a, true);
  w.setMarkersVisible(false);
  QVERIFY(a->isVisible());
  QVERIFY(!b->isVisible());
  QCOMPARE(w.markerOptions(b), CurveInfoBase::Options()); // hidden markers cannot move
  w.highlightMarker(a, false);
  QVERIFY(!a->isVisible());
  QCOMPARE(a->symbol()->brush().color(), QColor(Qt::darkGreen));
  w.setMarkersVisible(true);
  QVERIFY(a->isVisible() && b->isVisible());
}

void TestPlotWidget::followerScrollsWithMaster()
{
  Sampled s(0, 1, 8);
  QWidget top;
  auto* master = new PlotWidget(&top);
  auto* follower = new PlotWidget(&top);
  auto* layout = new QVBoxLayout(&top);
  layout->addWidget(master);
  layout->addWidget(follower);
  QVERIFY(CanvasDriver::show(&top));
  master->addFunction(s.fn.get());
  follower->addFunction(s.fn.get());
  master->setZoom(2.0);
  follower->setZoom(2.0);
  follower->attachScrollBar(master);
  QVERIFY(follower->scrollBar()->isHidden());
  QCOMPARE(follower->scrollBar()->objectName(), QString("attached"));
  QVERIFY(master->scrollBar()->isVisible());

  master->scrollBar()->setValue(40);
  QCOMPARE(follower->plot()->axisScaleDiv(QwtPlot::xBottom).lowerBound(), 0.4);
  follower->setZoom(3.0); // an attached bar stays hidden
  QVERIFY(follower->scrollBar()->isHidden());

  follower->detachScrollBar();
  QVERIFY(follower->scrollBar()->objectName().isEmpty());
  QVERIFY(follower->scrollBar()->isVisible());
  master->scrollBar()->setValue(10);
  QCOMPARE(follower->scrollBar()->value(), 40);
}

void TestPlotWidget::pictureAtSizeRestoresWidget()
{
  Sampled s(0, 1, 8);
  PlotWidget w;
  w.addFunction(s.fn.get());
  QVERIFY(CanvasDriver::show(&w));
  const QSize before = w.size();
  const QPixmap pm = w.picture(QSize(300, 200));
  QVERIFY(!pm.isNull());
  QVERIFY(pm.width() < 300 && pm.width() > 150);
  QVERIFY(pm.height() < 200 && pm.height() > 100);
  QCOMPARE(w.size(), before);
  QCOMPARE(w.picture().size(), w.canvas()->size());
}

QTEST_MAIN(TestPlotWidget)
#include "tst_plotwidget.moc"
