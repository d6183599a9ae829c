// The live error read-out beside the node drag it follows, in one run: the
// real FtransformWidget (offscreen, 1000 x 700) with three formula functions
// on 100,000 subintervals, 1,000 components, degrees 0 to 3 shown, so the
// read-out measures 3 x 4 inverses of 100,001 points.
#include "gui/analysis/errormonitor.h"
#include "gui/analysis/errortablewidget.h"
#include "gui/components/partitioneditor.h"
#include "gui/components/plotpartition.h"
#include "gui/ftransform_widgets/ftransformwidget.h"
#include "gui/inputs/partitionwidgetbase.h"
#include "math/domains/equidistant.h"
#include "math/fce/formulaexpression.h"
#include "math/fce/mathfncachedformula.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QWindow>

#include <qwt_plot.h>
#include <qwt_scale_map.h>

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace {

using Formula = Fn::MathFnCachedFormula<double, double, Fn::FormulaExpression<double, double>>;

constexpr unsigned subintervals = 100000;
constexpr int components = 1000;

bool waitExposed(QWidget* w)
{
  QElapsedTimer t;
  t.start();
  while (!(w->windowHandle() && w->windowHandle()->isExposed()) && t.elapsed() < 5000)
    QApplication::processEvents(QEventLoop::AllEvents, 50);
  QApplication::processEvents();
  return w->windowHandle() && w->windowHandle()->isExposed();
}

// The controller of the drag benchmark, with an error table beside it.
struct Scene
{
  Domains::Equidistant<double> domain{0.0, 1.0, subintervals};
  std::vector<std::unique_ptr<Formula>> owned;
  QList<Fn::MathFn<double, double>*> fns;
  QSharedPointer<DataHolders::Partitions::FuzzyEq> record{new DataHolders::Partitions::FuzzyEq};
  FtransformWidget ctrl;
  ErrorMonitor monitor{&ctrl};
  ErrorTableWidget table{&monitor};

  Scene()
  {
    for (const char* e : {"sin(10*x)", "x^2 - 0.5", "exp(-3*x)*cos(20*x)"}) {
      owned.emplace_back(new Formula(&domain));
      owned.back()->setExpression(e);
      fns.append(owned.back().get());
    }
    record->componentCount = components;
    record->nodes.clear();
    for (int i = 0; i < components; ++i)
      record->nodes.append(double(i) / (components - 1));
    ctrl.resize(1000, 700);
    ctrl.setMaxDegree(3);
    ctrl.setVisibleDegrees(15);
    ctrl.setPartition(record, &domain);
    ctrl.addFunctions(fns);
    ctrl.show();
  }
  ~Scene() { ctrl.removeFunctions(fns); }
};

void sendMouse(QWidget* canvas, QEvent::Type type, const QPoint& pos, Qt::MouseButtons buttons)
{
  QMouseEvent e(type, pos, canvas->mapToGlobal(pos), Qt::LeftButton, buttons, Qt::NoModifier);
  QApplication::sendEvent(canvas, &e);
}

// range(0): 1 with the error table shown, 0 without; the difference is
// what the read-out costs the drag.
void BM_NodeDrag(benchmark::State& state)
{
  Scene s;
  if (state.range(0))
    s.table.show();
  if (!waitExposed(&s.ctrl)) {
    state.SkipWithError("window not exposed");
    return;
  }
  // Zoomed so that the dragged node has room between its neighbours.
  s.ctrl.setZoom(components / 20.0);
  QApplication::processEvents();
  PlotPartition* pplot = s.ctrl.partitionWidget()->partitionEditor()->plot();
  pplot->replot();
  s.ctrl.replot();
  QApplication::processEvents();
  QwtPlot* qwt = pplot->plot();
  QWidget* canvas = pplot->canvas();
  const double x = s.record->nodes[10], gap = s.record->nodes[11] - x;
  const auto pixel = [&](double vx) {
    return QPoint(qRound(qwt->canvasMap(QwtPlot::xBottom).transform(vx)),
                  qRound(qwt->canvasMap(QwtPlot::yLeft).transform(0.0)));
  };
  const QPoint a = pixel(x), b = pixel(x + 0.3 * gap), c = pixel(x - 0.3 * gap);
  s.ctrl.activateWindow();
  canvas->setFocus(Qt::MouseFocusReason);
  int updates = 0;
  QObject::connect(&s.monitor, &ErrorMonitor::updated, [&] { ++updates; });
  sendMouse(canvas, QEvent::MouseButtonPress, a, Qt::LeftButton);
  bool toB = true;
  for (auto _ : state) {
    sendMouse(canvas, QEvent::MouseMove, toB ? b : c, Qt::LeftButton);
    QApplication::processEvents();
    toB = !toB;
  }
  sendMouse(canvas, QEvent::MouseButtonRelease, toB ? b : c, Qt::NoButton);
  // The last move's update may still be queued.
  if (state.range(0) && updates + 1 < int(state.iterations()))
    state.SkipWithError("a move did not update the error table");
  if (!state.range(0) && updates > 0)
    state.SkipWithError("the hidden table was computed");
}

// range(0): 0 for the full read-out (all 12 x 100,001 points), else the
// length of a changed range at the domain's middle; a node drag with 1,000
// components changes the 200 points between its neighbours.
void BM_ErrorReadout(benchmark::State& state)
{
  Scene s;
  s.table.show();
  if (!waitExposed(&s.ctrl)) {
    state.SkipWithError("window not exposed");
    return;
  }
  s.monitor.update();
  if (s.monitor.rows().size() != 12) {
    state.SkipWithError("not 3 x 4 rows");
    return;
  }
  const qint64 from = subintervals / 2, to = from + state.range(0);
  for (auto _ : state) {
    if (state.range(0) == 0)
      s.monitor.refresh();
    else
      s.monitor.refreshRange(from, to);
    s.monitor.update();
  }
  state.counters["points"] =
      double(state.range(0) == 0 ? 12 * (subintervals + 1) : 12 * state.range(0));
}

} // namespace

BENCHMARK(BM_NodeDrag)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();
BENCHMARK(BM_ErrorReadout)
    ->Arg(0)
    ->Arg(200)
    ->Unit(benchmark::kMicrosecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

#include "guibenchmain.h"
