#include "gui/components/canvasdriver.h"
#include "gui/components/crossvaluepicker.h"
#include "gui/components/fittedlegend.h"
#include "gui/components/markerpicker.h"
#include "math/domains/equidistant.h"
#include "math/fce/mathfntable.h"

#include <QLineEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QVBoxLayout>
#include <QtTest>

#include <qwt_plot_curve.h>
#include <qwt_plot_marker.h>
#include <qwt_plot_picker.h>
#include <qwt_scale_div.h>

#include <cmath>
#include <memory>

Q_DECLARE_METATYPE(QwtPlotMarker*)

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

struct TestPolicy : CurveInfoBase
{
  TestPolicy(const Function* f, std::size_t n) : CurveInfoBase(f, n) {}
  void set(Options o, const QRectF& r) { setOptions(o), area = r; }
  QRectF bounds(QwtPlotMarker*) const override { return area; }
  QRectF area;
};

// x^2 at 0, 0.25, ... 1 on a [0, 1] y axis, with markers at (0.25, 0.5) and (0.75, 0.5).
struct Fixture
{
  Fixture(CurveInfoBase::Options o = {}, const QRectF& r = {})
  {
    w.addCurveInfo(info);
    w.plot()->setAxisScale(QwtPlot::yLeft, 0, 1);
    marker(0)->setValue(0.25, 0.5);
    marker(1)->setValue(0.75, 0.5);
    info->set(o, r);
  }
  bool show()
  {
    const bool shown = CanvasDriver::show(&w);
    w.replot();
    w.canvas()->setFocus();
    return shown && w.canvas()->hasFocus();
  }
  QwtPlotMarker* marker(int i) const { return info->markers()[std::size_t(i)]; }

  Sampled s{0, 1, 4};
  PlotWidget w;
  CurveInfo<TestPolicy>* info = new CurveInfo<TestPolicy>(s.fn.get(), 2);
  CanvasDriver d{&w};
};

QPair<double, double> axis(PlotWidget* w)
{
  w->plot()->updateAxes();
  const QwtScaleDiv& div = w->plot()->axisScaleDiv(QwtPlot::xBottom);
  return {div.lowerBound(), div.upperBound()};
}

} // namespace

class TestPlotWidget : public QObject
{
  Q_OBJECT

private slots:
  void initTestCase() { qRegisterMetaType<QwtPlotMarker*>(); }

  void curvesAndRange()
  {
    Sampled a(0, 1, 100), b(2, 3, 4);
    PlotWidget w;
    QVERIFY(w.addFunction(a.fn.get(), QPen(Qt::red, 2, Qt::DashLine)));
    QVERIFY(!w.addFunction(a.fn.get(), QPen(Qt::green)));
    QCOMPARE(w.plot()->itemList(QwtPlotItem::Rtti_PlotCurve).size(), 1);
    // Colour and width are taken, the style is not.
    const QPen pen = w.curve(a.fn.get())->pen();
    QVERIFY(pen.color() == Qt::red && pen.widthF() == 2.0 && pen.style() == Qt::SolidLine);

    w.addFunction(b.fn.get());
    QCOMPARE(qMakePair(w.xMin(), w.xMax()), qMakePair(0.0, 3.0));
    w.removeFunction(a.fn.get());
    w.removeFunction(a.fn.get());                         // unknown by now: ignored
    QVERIFY(!w.curveInfo(a.fn.get()) && w.xMin() == 0.0); // a remaining curve keeps the range
    w.removeFunction(b.fn.get());
    QVERIFY(w.xMin() > w.xMax());
    w.addFunction(b.fn.get());
    w.clear();
    QVERIFY(w.xMin() > w.xMax() && w.curveInfos().isEmpty());
  }

  void legendReadOut()
  {
    Fixture f(CurveInfoBase::MoveX);
    f.info->setName("f");
    // Points 0, 0.25, 0.5, 0.75, 1 with values x^2; half-way goes low.
    const QPair<double, QString> readOuts[] = {{0.375, "f: [0.25, 0.063]"},
                                               {0.3751, "f: [0.50, 0.250]"},
                                               {-3, "f: [0.00, 0.000]"},
                                               {7, "f: [1.00, 1.000]"}};
    for (const auto& r : readOuts) {
      f.info->setValueAt(r.first, ": ");
      QCOMPARE(f.info->curve()->title().text(), r.second);
      f.info->clearValueText();
      QCOMPARE(f.info->curve()->title().text(), QString("f"));
    }
  }

  // A follower scrolls with its master, and its canvas stays under the master's
  // whichever has the wider axes beside it (the error curves' right-hand axis comes and goes).
  void followerScrollsWithMaster()
  {
    Sampled s(0, 1, 8);
    QWidget top;
    auto* master = new PlotWidget(&top);
    auto* follower = new PlotWidget(&top);
    auto* layout = new QVBoxLayout(&top);
    layout->addWidget(master);
    layout->addWidget(follower);
    follower->plot()->setAxisScale(QwtPlot::yLeft, -100000, 100000);
    QVERIFY(CanvasDriver::show(&top));
    for (PlotWidget* w : {master, follower}) {
      w->addFunction(s.fn.get());
      w->setZoom(2.0);
    }
    follower->attachScrollBar(master);
    auto span = [](PlotWidget* w) {
      const int x = w->canvas()->mapToGlobal(QPoint(0, 0)).x();
      return qMakePair(x, x + w->canvas()->width());
    };
    for (bool rightAxis : {true, false}) {
      master->plot()->enableAxis(QwtPlot::yRight, rightAxis);
      QTRY_COMPARE(span(follower), span(master));
    }
    QVERIFY(follower->scrollBar()->isHidden() && master->scrollBar()->isVisible());
    master->scrollBar()->setValue(40);
    QCOMPARE(axis(master), qMakePair(0.4, 0.9));
    QCOMPARE(axis(follower).first, 0.4);
    follower->setZoom(3.0); // an attached bar stays hidden
    QVERIFY(follower->scrollBar()->isHidden());

    follower->detachScrollBar();
    QVERIFY(follower->scrollBar()->isVisible());
    master->scrollBar()->setValue(10);
    QCOMPARE(follower->scrollBar()->value(), 40);
    // Zooming back keeps what it can of the position and hides the bar again.
    master->setZoom(1.0);
    QVERIFY(master->scrollBar()->value() == 0 && master->scrollBar()->isHidden());
    QCOMPARE(axis(master).second, 1.0);
  }

  // The axis spans the domain at zoom 1 and scrolls from one end to the
  // other when zoomed, for tiny, huge and far-off domains alike.
  void axisFollowsAnyDomain_data()
  {
    QTest::addColumn<double>("low");
    QTest::addColumn<double>("high");
    QTest::newRow("[0, 1]") << 0.0 << 1.0;
    QTest::newRow("[0, 1e-6]") << 0.0 << 1e-6;
    QTest::newRow("[1e6, 1e6 + 1e-3]") << 1e6 << 1e6 + 1e-3;
    QTest::newRow("[-1e300, 1e300]") << -1e300 << 1e300;
  }
  void axisFollowsAnyDomain()
  {
    QFETCH(double, low);
    QFETCH(double, high);
    Sampled s(low, high, 8);
    PlotWidget w;
    w.addFunction(s.fn.get());
    QCOMPARE(axis(&w), qMakePair(low, high));
    w.setZoom(2.0);
    QScrollBar* bar = w.scrollBar();
    const double half = high / 2 - low / 2;
    auto near = [&](double a, double b) { return std::abs(a - b) <= 1e-6 * half; };
    bar->setValue(bar->minimum());
    QVERIFY(axis(&w).first == low && near(axis(&w).second, low + half));
    bar->setValue(bar->maximum());
    QVERIFY(near(axis(&w).first, high - half) && axis(&w).second == high);
    QVERIFY(bar->maximum() - bar->minimum() >= 50);
  }

  // Entries that one column cannot hold inside the canvas take more columns.
  void legendShowsEveryEntry()
  {
    std::vector<std::unique_ptr<Sampled>> curves;
    PlotWidget w;
    for (int i = 0; i < 12; ++i) {
      curves.emplace_back(new Sampled(0, 1, 4));
      w.addFunction(curves.back()->fn.get());
      w.curveInfo(curves.back()->fn.get())->setName(QString("curve %1").arg(i));
    }
    w.setLegendVisible(true);
    QVERIFY(CanvasDriver::show(&w, {600, 200}));
    w.replot();
    QApplication::processEvents();
    const QVector<FittedLegend::Drawn>& drawn = w.legend()->lastDrawn();
    QCOMPARE(drawn.size(), 12);
    for (const FittedLegend::Drawn& d : drawn)
      QVERIFY2(w.canvas()->rect().contains(d.rect.toRect()), qPrintable(d.title));
  }

  void drags_data()
  {
    QTest::addColumn<int>("options");
    QTest::addColumn<QRectF>("bounds");
    QTest::addColumn<QPointF>("from");
    QTest::addColumn<QList<QPointF>>("path");
    QTest::addColumn<QPointF>("to");
    QTest::addColumn<int>("moves");
    const int x = CurveInfoBase::MoveX, b = CurveInfoBase::Bounded;
    // Past a bound the marker stays where it was (no clamping) and follows again once back inside.
    // clang-format off
    QTest::newRow("bounded stops and resumes") << (x | b) << QRectF(0.1, 10, 0.5, -20) << QPointF(0.25, 0.5) << QList<QPointF>{{0.5, 0.5}, {0.7, 0.5}, {0.603, 0.5}, {0.4, 0.5}, {0.05, 0.5}} << QPointF(0.4, 0.5) << 2;
    QTest::newRow("x never moves vertically") << x << QRectF() << QPointF(0.75, 0.5) << QList<QPointF>{{0.6, 0.9}, {0.65, 0.1}} << QPointF(0.65, 0.5) << 2;
    QTest::newRow("no options: selected, not moved") << 0 << QRectF() << QPointF(0.25, 0.5) << QList<QPointF>{{0.4, 0.6}} << QPointF(0.25, 0.5) << 0;
    // clang-format on
  }
  void drags()
  {
    QFETCH(int, options);
    QFETCH(QRectF, bounds);
    QFETCH(QPointF, from);
    QFETCH(QList<QPointF>, path);
    QFETCH(QPointF, to);
    Fixture f(CurveInfoBase::Options(options), bounds);
    QVERIFY(f.show());
    QSignalSpy selection(f.w.picker(), &MarkerPicker::markerSelectionChanged);
    QSignalSpy moved(f.w.picker(), &MarkerPicker::markerMoved);
    QSignalSpy plotMoved(&f.w, &PlotWidget::markerMoved);
    QwtPlotMarker* m = f.marker(from.x() < 0.5 ? 0 : 1);
    f.d.press(f.d.pixelOf(from.x(), from.y()));
    for (const QPointF& p : path)
      f.d.move(f.d.pixelOf(p.x(), p.y()));
    f.d.release(f.d.pixelOf(path.last().x(), path.last().y()));
    f.d.move(f.d.pixelOf(from.x(), from.y())); // released: no longer drags
    // A coordinate that must not move stays exact.
    auto at = [](double v, double want, double was) {
      return want == was ? v == want : std::abs(v - want) < 0.01;
    };
    QVERIFY(at(m->xValue(), to.x(), from.x()) && at(m->yValue(), to.y(), from.y()));
    QCOMPARE(selection.count(), 2);
    QTEST(moved.count(), "moves");
    QTEST(plotMoved.count(), "moves");
  }

  void ctrlReadOutAndLegendRestore_data()
  {
    QTest::addColumn<bool>("legendBefore");
    QTest::newRow("legend hidden") << false;
    QTest::newRow("legend shown") << true;
  }
  void ctrlReadOutAndLegendRestore()
  {
    QFETCH(bool, legendBefore);
    Fixture f;
    f.w.setLegendVisible(legendBefore);
    f.w.setPicker(new CrossValuePicker(f.w.plot()));
    f.info->setName("f");
    QVERIFY(f.show());
    QWidget* canvas = f.w.canvas();
    QTest::keyClick(canvas, Qt::Key_A); // a release after no Ctrl press leaves the legend alone
    QCOMPARE(f.w.isLegendVisible(), legendBefore);

    f.d.move(f.d.pixelOf(0.2, 0.5)); // QTest drops a move to where it already is
    QTest::keyPress(canvas, Qt::Key_Control);
    QVERIFY(f.w.isLegendVisible() && f.w.tracker()->isEnabled());
    f.d.move(f.d.pixelOf(0.5, 0.5));
    QCOMPARE(f.info->curve()->title().text(), QString("f: [0.50, 0.250]"));

    QTest::keyRelease(canvas, Qt::Key_Control);
    QVERIFY(f.w.isLegendVisible() == legendBefore && !f.w.tracker()->isEnabled());
    QCOMPARE(f.info->curve()->title().text(), QString("f"));
    f.d.move(f.d.pixelOf(0.5, 0.5));
    QVERIFY(f.info->valueText().isEmpty());

    // A Ctrl hover takes the focus from another widget. The offscreen platform sends no enter
    // events; mark the pointer as over the canvas.
    auto* other = new QLineEdit(&f.w);
    other->show();
    other->setFocus();
    const QPoint p = f.d.pixelOf(0.25, 0.5);
    for (QWidget* under : std::initializer_list<QWidget*>{&f.w, f.w.plot(), canvas})
      under->setAttribute(Qt::WA_UnderMouse);
    f.d.hover(p, Qt::NoModifier);
    QVERIFY(!canvas->hasFocus() && f.info->valueText().isEmpty());
    f.d.hover(p, Qt::ControlModifier);
    QVERIFY(canvas->hasFocus() && f.w.isLegendVisible());
    QCOMPARE(f.info->valueText(), QString(": [0.25, 0.063]"));
    QTest::keyRelease(canvas, Qt::Key_Control);
    QCOMPARE(f.w.isLegendVisible(), legendBefore);
    // A dialog opened with Ctrl+O takes the focus before Ctrl is released: that
    // ends the read-out, which never overrides the legend set meanwhile.
    QTest::keyPress(canvas, Qt::Key_Control);
    f.w.setLegendVisible(!legendBefore);
    other->setFocus();
    QTest::keyRelease(canvas, Qt::Key_Control);
    QVERIFY(f.w.isLegendVisible() == !legendBefore && !f.w.tracker()->isEnabled());
  }
};

QTEST_MAIN(TestPlotWidget)
#include "tst_plotwidget.moc"
