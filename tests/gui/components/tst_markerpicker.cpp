#include "gui/components/canvasdriver.h"
#include "gui/components/crossvaluepicker.h"
#include "gui/components/markerpicker.h"
#include "math/domains/equidistant.h"
#include "math/fce/mathfntable.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QtTest>

#include <qwt_plot_curve.h>
#include <qwt_plot_marker.h>
#include <qwt_plot_picker.h>

#include <cmath>

Q_DECLARE_METATYPE(QwtPlotMarker*)

namespace {

// Markers whose options and bounds the test chooses.
struct TestPolicy : CurveInfoBase
{
  TestPolicy(const Function* f, std::size_t n) : CurveInfoBase(f, n) {}
  void set(Options o, const QRectF& r) { setOptions(o), area = r; }
  QRectF bounds(QwtPlotMarker*) const override { return area; }
  QRectF area;
};

// x^2 on [0, 1] x [0, 1] with two markers at (0.25, 0.5) and (0.75, 0.5).
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
    if (!CanvasDriver::show(&w))
      return false;
    w.replot();
    w.canvas()->setFocus();
    return w.canvas()->hasFocus();
  }
  QwtPlotMarker* marker(int i) const { return info->markers()[std::size_t(i)]; }
  void crossPicker()
  {
    w.setPicker(new CrossValuePicker(w.plot()));
    info->setName("f");
  }

  Domains::Equidistant<double> domain{0, 1, 4};
  Fn::MathFnTable<double, double> fn{&domain, {0.0, 0.0625, 0.25, 0.5625, 1.0}};
  PlotWidget w;
  CurveInfo<TestPolicy>* info = new CurveInfo<TestPolicy>(&fn, 2);
  CanvasDriver d{&w};
};

} // namespace

class TestMarkerPicker : public QObject
{
  Q_OBJECT

private slots:
  void initTestCase() { qRegisterMetaType<QwtPlotMarker*>(); }

  void selectsStrictlyWithin13Pixels_data()
  {
    QTest::addColumn<double>("distance");
    QTest::addColumn<bool>("selected");
    QTest::newRow("12.9") << 12.9 << true;
    QTest::newRow("13") << 13.0 << false;
    QTest::newRow("0") << 0.0 << true;
  }
  void selectsStrictlyWithin13Pixels()
  {
    QFETCH(double, distance);
    QFETCH(bool, selected);
    Fixture f;
    QVERIFY(f.show());
    f.w.plot()->setAxisScale(QwtPlot::xBottom, 0, 1);
    f.w.replot();
    // The axis minima map to whole pixels, so offsets from them are exact.
    const QPointF origin = f.d.pixel(0, 0);
    QCOMPARE(origin, QPointF(origin.toPoint()));
    const QPoint press = origin.toPoint() + QPoint(13, 0);
    const double px = press.x() - distance;
    const double x =
        distance == 13 ? 0.0 : f.w.plot()->canvasMap(QwtPlot::xBottom).invTransform(px);
    f.marker(0)->setValue(x, 0);
    f.marker(1)->setValue(1, 0.5);
    QVERIFY(std::abs(f.d.pixel(x, 0).x() - px) < 1e-9);

    QSignalSpy spy(f.w.picker(), &MarkerPicker::markerSelectionChanged);
    f.d.press(press);
    QCOMPARE(f.w.picker()->selectedMarker(), selected ? f.marker(0) : nullptr);
    f.d.release(press);
    QCOMPARE(spy.count(), selected ? 2 : 0);
    if (selected) {
      QCOMPARE(spy.at(1).at(0).value<QwtPlotMarker*>(), f.marker(0));
      QCOMPARE(spy.at(1).at(1).toBool(), false);
    }
    QVERIFY(!f.w.picker()->selectedMarker());
  }

  void tieGoesToFirstItem()
  {
    Fixture f;
    QVERIFY(f.show());
    f.marker(1)->setValue(0.25, 0.5);
    f.d.press(f.d.pixelOf(0.25, 0.5) + QPoint(3, 0));
    QCOMPARE(f.w.picker()->selectedMarker(), f.marker(0));
  }

  void drags_data()
  {
    QTest::addColumn<int>("options");
    QTest::addColumn<QRectF>("bounds");
    QTest::addColumn<bool>("bySignals"); // no plot widget: options and bounds come from signals
    QTest::addColumn<QPointF>("from");
    QTest::addColumn<QList<QPointF>>("path");
    QTest::addColumn<QPointF>("to");
    QTest::addColumn<int>("moves");
    const int x = CurveInfoBase::MoveX, y = CurveInfoBase::MoveY, b = CurveInfoBase::Bounded;
    // Past a bound the marker stays where it was (no clamping) and follows again once back inside.
    // clang-format off
    QTest::newRow("bounded stops and resumes") << (x | b) << QRectF(0.1, 10, 0.5, -20) << false << QPointF(0.25, 0.5) << QList<QPointF>{{0.5, 0.5}, {0.7, 0.5}, {0.603, 0.5}, {0.4, 0.5}, {0.05, 0.5}} << QPointF(0.4, 0.5) << 2;
    QTest::newRow("bounded by signals") << (x | b) << QRectF(0, 1, 0.5, -2) << true << QPointF(0.25, 0.5) << QList<QPointF>{{0.4, 0.5}, {0.6, 0.5}} << QPointF(0.4, 0.5) << 1;
    QTest::newRow("x never moves vertically") << x << QRectF() << false << QPointF(0.75, 0.5) << QList<QPointF>{{0.6, 0.9}, {0.65, 0.1}} << QPointF(0.65, 0.5) << 2;
    QTest::newRow("y bounded upside down") << (y | b) << QRectF(-10, 0.8, 20, -0.6) << false << QPointF(0.25, 0.5) << QList<QPointF>{{0.1, 0.7}, {0.1, 0.9}} << QPointF(0.25, 0.7) << 1;
    QTest::newRow("no options: selected, not moved") << 0 << QRectF() << false << QPointF(0.25, 0.5) << QList<QPointF>{{0.4, 0.6}} << QPointF(0.25, 0.5) << 0;
    // clang-format on
  }
  void drags()
  {
    QFETCH(int, options);
    QFETCH(QRectF, bounds);
    QFETCH(bool, bySignals);
    QFETCH(QPointF, from);
    QFETCH(QList<QPointF>, path);
    QFETCH(QPointF, to);
    Fixture f(CurveInfoBase::Options(options), bounds);
    QVERIFY(f.show());
    if (bySignals) {
      f.info->set({}, {});
      f.w.picker()->setPlotWidget(nullptr);
      connect(
          f.w.picker(), &MarkerPicker::requestOptions, this,
          [=](QwtPlotMarker*, CurveInfoBase::Options& o) { o = CurveInfoBase::Options(options); });
      connect(f.w.picker(), &MarkerPicker::requestBounds, this,
              [=](QwtPlotMarker*, QRectF& r) { r = bounds; });
    }
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
    if (!bySignals)
      QTEST(plotMoved.count(), "moves");
  }

  void ctrlClickRequestsNode_data()
  {
    QTest::addColumn<int>("button");
    QTest::newRow("left") << int(Qt::LeftButton);
    QTest::newRow("right") << int(Qt::RightButton);
  }
  void ctrlClickRequestsNode()
  {
    QFETCH(int, button);
    Fixture f(CurveInfoBase::MoveX);
    QVERIFY(f.show());
    QSignalSpy left(f.w.picker(), &MarkerPicker::userClicked_lmb_withCtrl);
    QSignalSpy right(f.w.picker(), &MarkerPicker::userClicked_rmb_withCtrl);
    QSignalSpy selection(f.w.picker(), &MarkerPicker::markerSelectionChanged);
    const QPoint p = f.d.pixelOf(0.25, 0.5), q = p + QPoint(20, 0);
    f.d.press(p, Qt::ControlModifier, Qt::MouseButton(button));
    f.d.move(q);
    f.d.release(q, Qt::MouseButton(button));
    QSignalSpy& hit = button == Qt::LeftButton ? left : right;
    QCOMPARE(hit.count(), 1);
    QCOMPARE(hit.at(0).at(0).toPoint(), p);
    QCOMPARE(left.count() + right.count(), 1);
    QCOMPARE(selection.count(), 0);
    QCOMPARE(f.marker(0)->xValue(), 0.25);
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
    f.crossPicker();
    QVERIFY(f.show());
    QWidget* canvas = f.w.canvas();
    QTest::keyClick(canvas, Qt::Key_A); // a release after no Ctrl press leaves the legend alone
    QCOMPARE(f.w.isLegendVisible(), legendBefore);

    f.d.move(f.d.pixelOf(0.2, 0.5)); // QTest drops a move to where it already is
    QTest::keyPress(canvas, Qt::Key_Control);
    QVERIFY(f.w.isLegendVisible() && f.w.tracker()->isEnabled());
    f.d.move(f.d.pixelOf(0.5, 0.5));
    QCOMPARE(f.info->curve()->title().text(), QString("f: [0.50, 0.250]"));
    f.d.move(f.d.pixelOf(1.0, 0.5));
    QCOMPARE(f.info->valueText(), QString(": [1.00, 1.000]"));

    QTest::keyRelease(canvas, Qt::Key_Control);
    QCOMPARE(f.w.isLegendVisible(), legendBefore);
    QVERIFY(!f.w.tracker()->isEnabled());
    QCOMPARE(f.info->curve()->title().text(), QString("f"));
    f.d.move(f.d.pixelOf(0.5, 0.5));
    QVERIFY(f.info->valueText().isEmpty());
  }

  void ctrlHoverFocusesCanvas()
  {
    Fixture f;
    f.crossPicker();
    auto* other = new QLineEdit(&f.w);
    QVERIFY(f.show());
    other->setFocus();
    const QPoint p = f.d.pixelOf(0.25, 0.5);
    // The offscreen platform sends no enter events; mark the pointer as over the canvas.
    for (QWidget* under : std::initializer_list<QWidget*>{&f.w, f.w.plot(), f.w.canvas()})
      under->setAttribute(Qt::WA_UnderMouse);
    f.d.hover(p, Qt::NoModifier);
    QVERIFY(!f.w.canvas()->hasFocus());
    QVERIFY(f.info->valueText().isEmpty());
    f.d.hover(p, Qt::ControlModifier);
    QVERIFY(f.w.canvas()->hasFocus() && f.w.isLegendVisible());
    QCOMPARE(f.info->valueText(), QString(": [0.25, 0.063]"));
    QTest::keyRelease(f.w.canvas(), Qt::Key_Control);
    QVERIFY(!f.w.isLegendVisible());
  }
};

QTEST_MAIN(TestMarkerPicker)
#include "tst_markerpicker.moc"
