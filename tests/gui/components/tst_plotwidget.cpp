#include "gui/components/canvasdriver.h"
#include "math/domains/equidistant.h"
#include "math/fce/mathfntable.h"

#include <QScrollBar>
#include <QVBoxLayout>
#include <QtTest>

#include <qwt_plot_curve.h>
#include <qwt_plot_marker.h>
#include <qwt_point_data.h>
#include <qwt_scale_div.h>

#include <memory>

namespace {

// x^2 on [low, high] cut into parts subintervals.
struct Sampled
{
  Sampled(double low, double high, unsigned parts) : domain(low, high, parts)
  {
    std::vector<double> ys;
    for (double x : domain.values())
      ys.push_back(x * x);
    fn.reset(new Fn::MathFnTable<double, double>(&domain, ys));
  }
  Domains::Equidistant<double> domain;
  std::unique_ptr<Fn::MathFnTable<double, double>> fn;
};

struct OneMarker : CurveInfoBase
{
  OneMarker(const Function* f, std::size_t n) : CurveInfoBase(f, n) {}
  QRectF bounds(QwtPlotMarker*) const override { return {}; }
};

QPair<double, double> axis(PlotWidget* w)
{
  const QwtScaleDiv& div = w->plot()->axisScaleDiv(QwtPlot::xBottom);
  return {div.lowerBound(), div.upperBound()};
}

} // namespace

class TestPlotWidget : public QObject
{
  Q_OBJECT

private slots:
  void scrollRange_data()
  {
    QTest::addColumn<double>("low");
    QTest::addColumn<double>("high");
    QTest::addColumn<double>("zoom");
    QTest::addColumn<int>("policy");
    QTest::addColumn<bool>("visible");
    QTest::addColumn<int>("minimum");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<double>("axisHigh");
    const int asNeeded = Qt::ScrollBarAsNeeded, off = Qt::ScrollBarAlwaysOff;
    // clang-format off
    QTest::newRow("zoom 1 hides") << 0.0 << 1.0 << 1.0 << asNeeded << false << 0 << 0 << 1.0;
    QTest::newRow("zoom 1.5 shows") << 0.0 << 1.0 << 1.5 << asNeeded << true << 0 << 33 << 1 / 1.5;
    QTest::newRow("zoom 2 half") << 0.0 << 1.0 << 2.0 << asNeeded << true << 0 << 50 << 0.5;
    QTest::newRow("negative domain") << -5.0 << -1.0 << 1.0 << asNeeded << false << -500 << -500 << -1.0;
    QTest::newRow("always off") << 0.0 << 1.0 << 2.0 << off << false << 0 << 50 << 0.5;
    QTest::newRow("always on") << 0.0 << 1.0 << 1.0 << int(Qt::ScrollBarAlwaysOn) << true << 0 << 0 << 1.0;
    // clang-format on
  }
  void scrollRange()
  {
    QFETCH(double, low);
    QFETCH(double, high);
    QFETCH(double, zoom);
    QFETCH(int, policy);
    QFETCH(double, axisHigh);
    Sampled s(low, high, 8);
    PlotWidget w;
    w.setScrollBarPolicy(Qt::ScrollBarPolicy(policy));
    QVERIFY(CanvasDriver::show(&w));
    w.addFunction(s.fn.get(), QPen(Qt::blue));
    w.setZoom(zoom);
    w.replot();
    QTEST(w.scrollBar()->isVisible(), "visible");
    QTEST(w.scrollBar()->minimum(), "minimum");
    QTEST(w.scrollBar()->maximum(), "maximum");
    QCOMPARE(axis(&w), qMakePair(low, axisHigh));
  }

  void scrollValueMovesAxis()
  {
    Sampled s(0, 1, 8);
    PlotWidget w;
    w.addFunction(s.fn.get());
    w.setZoom(2.0);
    w.scrollBar()->setValue(30);
    QCOMPARE(axis(&w), qMakePair(0.3, 0.8));
    // Zooming back keeps what it can of the position and hides the bar again.
    w.setZoom(1.0);
    QCOMPARE(w.scrollBar()->value(), 0);
    QVERIFY(w.scrollBar()->isHidden());
    QCOMPARE(axis(&w).second, 1.0);
  }

  void curvesAndRange()
  {
    Sampled a(0, 1, 100), b(2, 3, 4), c(-5, -1, 4);
    PlotWidget w;
    QVERIFY(w.addFunction(a.fn.get(), QPen(Qt::red, 2, Qt::DashLine)));
    QVERIFY(!w.addFunction(a.fn.get(), QPen(Qt::green)));
    QCOMPARE(w.plot()->itemList(QwtPlotItem::Rtti_PlotCurve).size(), 1);
    // Colour and width are taken, the style is not.
    const QPen pen = w.curve(a.fn.get())->pen();
    QVERIFY(pen.color() == Qt::red && pen.widthF() == 2.0 && pen.style() == Qt::SolidLine);
    // Raw samples: the curve reads the function's own arrays.
    auto* data = dynamic_cast<QwtCPointerData*>(w.curve(a.fn.get())->data());
    QVERIFY(data && data->size() == a.domain.size());
    QCOMPARE(data->xData(), a.domain.values().data());
    QCOMPARE(data->yData(), a.fn->valuesData());

    w.addFunction(b.fn.get());
    QCOMPARE(qMakePair(w.xMin(), w.xMax()), qMakePair(0.0, 3.0));
    w.removeFunction(a.fn.get());
    w.removeFunction(a.fn.get()); // unknown by now: ignored
    QVERIFY(!w.curveInfo(a.fn.get()));
    QCOMPARE(w.xMin(), 0.0); // a remaining curve keeps the range
    w.removeFunction(b.fn.get());
    QVERIFY(w.xMin() > w.xMax());
    w.addFunction(c.fn.get());
    QCOMPARE(qMakePair(w.xMin(), w.xMax()), qMakePair(-5.0, -1.0));
    w.clear();
    QVERIFY(w.xMin() > w.xMax() && w.curveInfos().isEmpty());
  }

  void valueReadOut_data()
  {
    QTest::addColumn<double>("x");
    QTest::addColumn<QString>("text");
    // Points 0, 0.25, 0.5, 0.75, 1 with values x^2.
    QTest::newRow("half-way goes low") << 0.375 << "f: [0.25, 0.063]";
    QTest::newRow("just past half-way") << 0.3751 << "f: [0.50, 0.250]";
    QTest::newRow("before the first") << -3.0 << "f: [0.00, 0.000]";
    QTest::newRow("after the last") << 7.0 << "f: [1.00, 1.000]";
  }
  void valueReadOut()
  {
    QFETCH(double, x);
    Sampled s(0, 1, 4);
    PlotWidget w;
    CurveInfoBase* info = w.addFunction(s.fn.get());
    info->setName("f");
    info->setValueAt(x, ": ");
    QTEST(info->curve()->title().text(), "text");
    info->clearValueText();
    QCOMPARE(info->curve()->title().text(), QString("f"));
  }

  void highlightedMarkerOutlivesHiding()
  {
    Sampled s(0, 1, 4);
    PlotWidget w;
    auto* info = new CurveInfo<OneMarker>(s.fn.get(), 2);
    w.addCurveInfo(info);
    QwtPlotMarker *a = info->markers()[0], *b = info->markers()[1];
    w.highlightMarker(a, true);
    w.setMarkersVisible(false);
    QVERIFY(a->isVisible() && !b->isVisible());
    QCOMPARE(w.markerOptions(b), CurveInfoBase::Options()); // hidden markers cannot move
    w.highlightMarker(a, false);
    QVERIFY(!a->isVisible());
    QCOMPARE(a->symbol()->brush().color(), QColor(Qt::darkGreen));
    w.setMarkersVisible(true);
    QVERIFY(a->isVisible() && b->isVisible());
  }

  void followerScrollsWithMaster()
  {
    Sampled s(0, 1, 8);
    QWidget top;
    auto* master = new PlotWidget(&top);
    auto* follower = new PlotWidget(&top);
    auto* layout = new QVBoxLayout(&top);
    layout->addWidget(master);
    layout->addWidget(follower);
    QVERIFY(CanvasDriver::show(&top));
    for (PlotWidget* w : {master, follower}) {
      w->addFunction(s.fn.get());
      w->setZoom(2.0);
    }
    follower->attachScrollBar(master);
    QVERIFY(follower->scrollBar()->isHidden() && master->scrollBar()->isVisible());
    QCOMPARE(follower->scrollBar()->objectName(), QString("attached"));
    master->scrollBar()->setValue(40);
    QCOMPARE(axis(follower).first, 0.4);
    follower->setZoom(3.0); // an attached bar stays hidden
    QVERIFY(follower->scrollBar()->isHidden());

    follower->detachScrollBar();
    QVERIFY(follower->scrollBar()->objectName().isEmpty() && follower->scrollBar()->isVisible());
    master->scrollBar()->setValue(10);
    QCOMPARE(follower->scrollBar()->value(), 40);
  }

  void pictureAtSizeRestoresWidget()
  {
    Sampled s(0, 1, 8);
    PlotWidget w;
    w.addFunction(s.fn.get());
    QVERIFY(CanvasDriver::show(&w));
    const QSize before = w.size();
    const QPixmap pm = w.picture(QSize(300, 200));
    QVERIFY(pm.width() < 300 && pm.width() > 150 && pm.height() < 200 && pm.height() > 100);
    QCOMPARE(w.size(), before);
    QCOMPARE(w.picture().size(), w.canvas()->size());
  }
};

QTEST_MAIN(TestPlotWidget)
#include "tst_plotwidget.moc"
