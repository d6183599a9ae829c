#include "gui/components/canvasdriver.h"
#include "gui/components/crossvaluepicker.h"
#include "gui/components/markerpicker.h"
#include "gui/components/plotwidget.h"
#include "math/domains/equidistant.h"
#include "math/fce/mathfntable.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QtTest>

#include <qwt_plot.h>
#include <qwt_plot_curve.h>
#include <qwt_plot_marker.h>
#include <qwt_plot_picker.h>

#include <cmath>
#include <memory>

using Domain = Domains::Equidistant<double>;
using Table = Fn::MathFnTable<double, double>;

Q_DECLARE_METATYPE(QwtPlotMarker*)

namespace {

// Markers whose options and bounds the test chooses.
class TestPolicy : public CurveInfoBase
{
public:
  TestPolicy(const Function* f, std::size_t n) : CurveInfoBase(f, n) {}
  void set(Options o, const QRectF& r)
  {
    setOptions(o);
    area = r;
  }
  QRectF bounds(QwtPlotMarker*) const override { return area; }
  QRectF area;
};

// A plot over [0, 1] x [0, 1] with a curve carrying two test markers, shown
// as an active window so that the canvas can take the focus.
struct Fixture
{
  Fixture() : domain(0, 1, 4)
  {
    fn.reset(new Table(&domain, {0.0, 0.0625, 0.25, 0.5625, 1.0}));
    info = new CurveInfo<TestPolicy>(fn.get(), 2);
    w.addCurveInfo(info);
    w.plot()->setAxisScale(QwtPlot::yLeft, 0, 1);
    info->markers()[0]->setValue(0.25, 0.5);
    info->markers()[1]->setValue(0.75, 0.5);
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

  Domain domain;
  std::unique_ptr<Table> fn;
  PlotWidget w;
  CurveInfo<TestPolicy>* info;
  CanvasDriver drive{&w};
};

} // namespace

class TestMarkerPicker : public QObject
{
  Q_OBJECT

private slots:
  void initTestCase() { qRegisterMetaType<QwtPlotMarker*>(); }
  void selectsStrictlyWithin13Pixels_data();
  void selectsStrictlyWithin13Pixels();
  void tieGoesToFirstItem();
  void boundedDragStopsAndResumes();
  void moveXNeverMovesVertically();
  void noOptionsNoMove();
  void ctrlClickRequestsNode_data();
  void ctrlClickRequestsNode();
  void requestsGoToSignalsWithoutPlotWidget();
  void ctrlReadOutAndLegendRestore_data();
  void ctrlReadOutAndLegendRestore();
  void ctrlHoverFocusesCanvas();
};

void TestMarkerPicker::selectsStrictlyWithin13Pixels_data()
{
  QTest::addColumn<double>("distance");
  QTest::addColumn<bool>("selected");
  QTest::newRow("12.9") << 12.9 << true;
  QTest::newRow("13") << 13.0 << false;
  QTest::newRow("0") << 0.0 << true;
  QTest::newRow("40") << 40.0 << false;
}

void TestMarkerPicker::selectsStrictlyWithin13Pixels()
{
  QFETCH(double, distance);
  QFETCH(bool, selected);
  Fixture f;
  QVERIFY(f.show());
  f.w.plot()->setAxisScale(QwtPlot::xBottom, 0, 1);
  f.w.replot();
  // The axis minima map to whole pixels, so offsets from them are exact.
  const QPointF origin = f.drive.pixel(0, 0);
  QCOMPARE(origin.x(), std::round(origin.x()));
  QCOMPARE(origin.y(), std::round(origin.y()));
  const QPoint press(int(origin.x()) + 13, int(origin.y()));
  const double markerPx = press.x() - distance;
  const double x =
      markerPx == origin.x() ? 0.0 : f.w.plot()->canvasMap(QwtPlot::xBottom).invTransform(markerPx);
  f.marker(0)->setValue(x, 0);
  f.marker(1)->setValue(1, 0.5);
  QVERIFY(std::abs(f.drive.pixel(x, 0).x() - markerPx) < 1e-9);

  QSignalSpy spy(f.w.picker(), &MarkerPicker::markerSelectionChanged);
  f.drive.press(press);
  QCOMPARE(f.w.picker()->selectedMarker(), selected ? f.marker(0) : nullptr);
  QCOMPARE(spy.count(), selected ? 1 : 0);
  f.drive.release(press);
  QCOMPARE(spy.count(), selected ? 2 : 0);
  if (selected) {
    QCOMPARE(spy.at(1).at(0).value<QwtPlotMarker*>(), f.marker(0));
    QCOMPARE(spy.at(1).at(1).toBool(), false);
  }
  QVERIFY(!f.w.picker()->selectedMarker());
}

void TestMarkerPicker::tieGoesToFirstItem()
{
  Fixture f;
  QVERIFY(f.show());
  f.marker(1)->setValue(0.25, 0.5);
  const QPoint p = f.drive.pixelOf(0.25, 0.5) + QPoint(3, 0);
  f.drive.press(p);
  QCOMPARE(f.w.picker()->selectedMarker(), f.marker(0));
  f.drive.release(p);
}

void TestMarkerPicker::boundedDragStopsAndResumes()
{
  Fixture f;
  f.info->set(CurveInfoBase::MoveX | CurveInfoBase::Bounded, QRectF(0.1, 10, 0.5, -20));
  QVERIFY(f.show());
  QSignalSpy moved(f.w.picker(), &MarkerPicker::markerMoved);
  QSignalSpy plotMoved(&f.w, &PlotWidget::markerMoved);
  CanvasDriver& d = f.drive;

  d.press(d.pixelOf(0.25, 0.5));
  d.move(d.pixelOf(0.5, 0.5));
  const double accepted = f.marker(0)->xValue();
  QVERIFY(std::abs(accepted - 0.5) < 0.01);
  QCOMPARE(moved.count(), 1);
  QCOMPARE(plotMoved.count(), 1);

  d.move(d.pixelOf(0.7, 0.5)); // past the right bound: not clamped, not moved
  QCOMPARE(f.marker(0)->xValue(), accepted);
  d.move(d.pixelOf(0.6, 0.5) + QPoint(1, 0)); // still past it by a pixel
  QCOMPARE(f.marker(0)->xValue(), accepted);
  QCOMPARE(moved.count(), 1);

  d.move(d.pixelOf(0.4, 0.5)); // back inside: follows again
  QVERIFY(std::abs(f.marker(0)->xValue() - 0.4) < 0.01);
  QCOMPARE(moved.count(), 2);
  d.move(d.pixelOf(0.05, 0.5)); // past the left bound
  QVERIFY(std::abs(f.marker(0)->xValue() - 0.4) < 0.01);
  d.release(d.pixelOf(0.05, 0.5));

  // After the release moves no longer drag.
  d.move(d.pixelOf(0.3, 0.5));
  QVERIFY(std::abs(f.marker(0)->xValue() - 0.4) < 0.01);
}

void TestMarkerPicker::moveXNeverMovesVertically()
{
  Fixture f;
  f.info->set(CurveInfoBase::MoveX, QRectF());
  QVERIFY(f.show());
  CanvasDriver& d = f.drive;
  d.press(d.pixelOf(0.75, 0.5));
  d.move(d.pixelOf(0.6, 0.9));
  d.move(d.pixelOf(0.65, 0.1));
  d.release(d.pixelOf(0.65, 0.1));
  QVERIFY(std::abs(f.marker(1)->xValue() - 0.65) < 0.01);
  QCOMPARE(f.marker(1)->yValue(), 0.5);

  // MoveY alone is the mirror image, bounded by a rectangle whose height is negative.
  f.info->set(CurveInfoBase::MoveY | CurveInfoBase::Bounded, QRectF(-10, 0.8, 20, -0.6));
  d.press(d.pixelOf(0.25, 0.5));
  d.move(d.pixelOf(0.1, 0.7));
  QVERIFY(std::abs(f.marker(0)->yValue() - 0.7) < 0.01);
  d.move(d.pixelOf(0.1, 0.9)); // above the top
  QVERIFY(std::abs(f.marker(0)->yValue() - 0.7) < 0.01);
  d.release(d.pixelOf(0.1, 0.9));
  QCOMPARE(f.marker(0)->xValue(), 0.25);
}

void TestMarkerPicker::noOptionsNoMove()
{
  Fixture f;
  QVERIFY(f.show());
  QSignalSpy selection(f.w.picker(), &MarkerPicker::markerSelectionChanged);
  QSignalSpy moved(f.w.picker(), &MarkerPicker::markerMoved);
  f.drive.press(f.drive.pixelOf(0.25, 0.5));
  f.drive.move(f.drive.pixelOf(0.4, 0.6));
  f.drive.release(f.drive.pixelOf(0.4, 0.6));
  QCOMPARE(f.marker(0)->value(), QPointF(0.25, 0.5));
  QCOMPARE(selection.count(), 2); // selected all the same
  QCOMPARE(moved.count(), 0);
}

void TestMarkerPicker::ctrlClickRequestsNode_data()
{
  QTest::addColumn<int>("button");
  QTest::newRow("left") << int(Qt::LeftButton);
  QTest::newRow("right") << int(Qt::RightButton);
}

void TestMarkerPicker::ctrlClickRequestsNode()
{
  QFETCH(int, button);
  Fixture f;
  f.info->set(CurveInfoBase::MoveX, QRectF());
  QVERIFY(f.show());
  QSignalSpy left(f.w.picker(), &MarkerPicker::userClicked_lmb_withCtrl);
  QSignalSpy right(f.w.picker(), &MarkerPicker::userClicked_rmb_withCtrl);
  QSignalSpy selection(f.w.picker(), &MarkerPicker::markerSelectionChanged);
  const QPoint p = f.drive.pixelOf(0.25, 0.5);
  f.drive.press(p, Qt::ControlModifier, Qt::MouseButton(button));
  f.drive.move(p + QPoint(20, 0));
  f.drive.release(p + QPoint(20, 0), Qt::MouseButton(button));
  QSignalSpy& hit = button == Qt::LeftButton ? left : right;
  QSignalSpy& other = button == Qt::LeftButton ? right : left;
  QCOMPARE(hit.count(), 1);
  QCOMPARE(hit.at(0).at(0).toPoint(), p);
  QCOMPARE(other.count(), 0);
  QCOMPARE(selection.count(), 0);
  QCOMPARE(f.marker(0)->xValue(), 0.25);
}

void TestMarkerPicker::requestsGoToSignalsWithoutPlotWidget()
{
  Fixture f;
  QVERIFY(f.show());
  f.w.picker()->setPlotWidget(nullptr);
  connect(f.w.picker(), &MarkerPicker::requestOptions, this,
          [](QwtPlotMarker*, CurveInfoBase::Options& o) {
            o = CurveInfoBase::MoveX | CurveInfoBase::Bounded;
          });
  connect(f.w.picker(), &MarkerPicker::requestBounds, this,
          [](QwtPlotMarker*, QRectF& r) { r = QRectF(0, 1, 0.5, -2); });
  CanvasDriver& d = f.drive;
  d.press(d.pixelOf(0.25, 0.5));
  d.move(d.pixelOf(0.4, 0.5));
  QVERIFY(std::abs(f.marker(0)->xValue() - 0.4) < 0.01);
  d.move(d.pixelOf(0.6, 0.5));
  QVERIFY(std::abs(f.marker(0)->xValue() - 0.4) < 0.01);
  d.release(d.pixelOf(0.6, 0.5));
}

void TestMarkerPicker::ctrlReadOutAndLegendRestore_data()
{
  QTest::addColumn<bool>("legendBefore");
  QTest::newRow("legend hidden") << false;
  QTest::newRow("legend shown") << true;
}

void TestMarkerPicker::ctrlReadOutAndLegendRestore()
{
  QFETCH(bool, legendBefore);
  Fixture f;
  f.w.setLegendVisible(legendBefore);
  f.w.setPicker(new CrossValuePicker(f.w.plot()));
  f.info->setName("f");
  QVERIFY(f.show());
  QWidget* canvas = f.w.canvas();

  // A key release that follows no Ctrl press leaves the legend alone.
  QTest::keyClick(canvas, Qt::Key_A);
  QCOMPARE(f.w.isLegendVisible(), legendBefore);

  f.drive.move(f.drive.pixelOf(0.2, 0.5)); // QTest drops a move to where it already is
  QTest::keyPress(canvas, Qt::Key_Control);
  QVERIFY(f.w.isLegendVisible());
  QVERIFY(f.w.tracker()->isEnabled());
  f.drive.move(f.drive.pixelOf(0.5, 0.5));
  QCOMPARE(f.info->curve()->title().text(), QString("f: [0.50, 0.250]"));
  f.drive.move(f.drive.pixelOf(1.0, 0.5));
  QCOMPARE(f.info->valueText(), QString(": [1.00, 1.000]"));

  QTest::keyRelease(canvas, Qt::Key_Control);
  QCOMPARE(f.w.isLegendVisible(), legendBefore);
  QVERIFY(!f.w.tracker()->isEnabled());
  QCOMPARE(f.info->curve()->title().text(), QString("f"));
  f.drive.move(f.drive.pixelOf(0.5, 0.5));
  QVERIFY(f.info->valueText().isEmpty());
}

void TestMarkerPicker::ctrlHoverFocusesCanvas()
{
  Fixture f;
  f.w.setPicker(new CrossValuePicker(f.w.plot()));
  f.info->setName("f");
  auto* other = new QLineEdit(&f.w);
  QVERIFY(f.show());
  other->setFocus();
  QVERIFY(!f.w.canvas()->hasFocus());

  const QPoint p = f.drive.pixelOf(0.25, 0.5);
  // The offscreen platform sends no enter events; mark the pointer as over the canvas.
  for (QWidget* under :
       {static_cast<QWidget*>(&f.w), static_cast<QWidget*>(f.w.plot()), f.w.canvas()})
    under->setAttribute(Qt::WA_UnderMouse);
  f.drive.hover(p, Qt::NoModifier);
  QVERIFY(!f.w.canvas()->hasFocus());
  QVERIFY(f.info->valueText().isEmpty());

  f.drive.hover(p, Qt::ControlModifier);
  QVERIFY(f.w.canvas()->hasFocus());
  QVERIFY(f.w.isLegendVisible());
  QCOMPARE(f.info->valueText(), QString(": [0.25, 0.063]"));
  QTest::keyRelease(f.w.canvas(), Qt::Key_Control);
  QVERIFY(!f.w.isLegendVisible());
}

QTEST_MAIN(TestMarkerPicker)
#include "tst_markerpicker.moc"
