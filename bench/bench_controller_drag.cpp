// A node dragged on the partition plot: the time from one mouse move on the
// canvas to the finished replot of the partition plot and the main plot, with
// three formula functions and degrees 0 to 3 shown. The main plot stays at
// zoom 1, so every curve is drawn over the whole canvas width. The same drag
// in the whole window, with its undo and redo.
#include "gui/components/partitioneditor.h"
#include "gui/components/plotpartition.h"
#include "gui/components/plotwidget.h"
#include "gui/components/prompt.h"
#include "gui/ftransform_widgets/ftransformwidget.h"
#include "gui/inputs/partitionwidgetbase.h"
#include "gui/mainwindow.h"
#include "math/domains/equidistant.h"
#include "math/fce/formulaexpression.h"
#include "math/fce/mathfncachedformula.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QSettings>
#include <QTemporaryDir>
#include <QWindow>

#include <qwt_plot.h>
#include <qwt_scale_map.h>

#include <benchmark/benchmark.h>

#include <clocale>
#include <memory>
#include <vector>

namespace {

using Formula = Fn::MathFnCachedFormula<double, double, Fn::FormulaExpression<double, double>>;

void sendMouse(QWidget* canvas, QEvent::Type type, const QPoint& pos, Qt::MouseButtons buttons)
{
  QMouseEvent e(type, pos, canvas->mapToGlobal(pos), Qt::LeftButton, buttons, Qt::NoModifier);
  QApplication::sendEvent(canvas, &e);
}

bool waitExposed(QWidget* w)
{
  QElapsedTimer t;
  t.start();
  while (!(w->windowHandle() && w->windowHandle()->isExposed()) && t.elapsed() < 5000)
    QApplication::processEvents(QEventLoop::AllEvents, 50);
  QApplication::processEvents();
  return w->windowHandle() && w->windowHandle()->isExposed();
}

// range(0): subintervals of the computation domain; range(1): components.
void BM_NodeDrag(benchmark::State& state)
{
  const auto subintervals = static_cast<unsigned>(state.range(0));
  const auto components = static_cast<int>(state.range(1));

  Domains::Equidistant<double> domain(0.0, 1.0, subintervals);
  std::vector<std::unique_ptr<Formula>> owned;
  QList<Fn::MathFn<double, double>*> fns;
  for (const char* e : {"sin(10*x)", "x^2 - 0.5", "exp(-3*x)*cos(20*x)"}) {
    owned.emplace_back(new Formula(&domain));
    owned.back()->setExpression(e);
    fns.append(owned.back().get());
  }

  QSharedPointer<DataHolders::Partitions::FuzzyEq> record(new DataHolders::Partitions::FuzzyEq);
  record->componentCount = components;
  record->nodes.clear();
  for (int i = 0; i < components; ++i)
    record->nodes.append(double(i) / (components - 1));

  FtransformWidget ctrl;
  ctrl.resize(1000, 700);
  ctrl.setMaxDegree(3);
  ctrl.setVisibleDegrees(15);
  ctrl.setPartition(record, &domain);
  ctrl.addFunctions(fns);
  ctrl.show();
  if (!waitExposed(&ctrl)) {
    state.SkipWithError("window not exposed");
    return;
  }
  PlotPartition* pplot = ctrl.partitionWidget()->partitionEditor()->plot();
  // Many nodes lie closer than the marker pick distance: the partition plot
  // alone is zoomed in, so that the dragged node has room between its neighbours.
  if (components > 40)
    pplot->setZoom(components / 20.0);
  pplot->replot();
  ctrl.replot();
  QApplication::processEvents();
  QwtPlot* qwt = pplot->plot();
  QWidget* canvas = pplot->canvas();
  const int node = components > 40 ? 10 : components / 2;
  const double x = record->nodes[node];
  const double gap = record->nodes[node + 1] - x;
  const auto pixel = [&](double vx) {
    return QPoint(qRound(qwt->canvasMap(QwtPlot::xBottom).transform(vx)),
                  qRound(qwt->canvasMap(QwtPlot::yLeft).transform(0.0)));
  };
  const QPoint a = pixel(x), b = pixel(x + 0.3 * gap), c = pixel(x - 0.3 * gap);
  if (b.x() - a.x() < 2) {
    state.SkipWithError("nodes too close on the canvas");
    return;
  }

  // The picker drags only while the canvas has the keyboard focus, as after a real click.
  ctrl.activateWindow();
  QElapsedTimer t;
  t.start();
  while (!ctrl.isActiveWindow() && t.elapsed() < 5000)
    QApplication::processEvents(QEventLoop::AllEvents, 50);
  canvas->setFocus(Qt::MouseFocusReason);
  if (!canvas->hasFocus()) {
    state.SkipWithError("canvas has no focus");
    return;
  }

  int refreshed = 0;
  QObject::connect(&ctrl, &FtransformWidget::ftransformRefreshed, [&] { ++refreshed; });
  sendMouse(canvas, QEvent::MouseButtonPress, a, Qt::LeftButton);
  bool toB = true;
  for (auto _ : state) {
    sendMouse(canvas, QEvent::MouseMove, toB ? b : c, Qt::LeftButton);
    // Both plots paint on the update requests that their replot posted.
    QApplication::processEvents();
    toB = !toB;
  }
  sendMouse(canvas, QEvent::MouseButtonRelease, toB ? b : c, Qt::NoButton);
  if (refreshed < static_cast<int>(state.iterations()))
    state.SkipWithError("a move did not recompute the transforms");
  else if (ctrl.lastChange().everything)
    state.SkipWithError("a move recomputed everything");
  ctrl.removeFunctions(fns);
  state.counters["components"] = components;
}

// A node moved from code, as a typed value or an undone drag moves it
// (PartitionWidgetBase::moveNode), at zoom 1, painting included.
void BM_NodeMoveFromCode(benchmark::State& state)
{
  const auto subintervals = static_cast<unsigned>(state.range(0));
  const auto components = static_cast<int>(state.range(1));
  Domains::Equidistant<double> domain(0.0, 1.0, subintervals);
  std::vector<std::unique_ptr<Formula>> owned;
  QList<Fn::MathFn<double, double>*> fns;
  for (const char* e : {"sin(10*x)", "x^2 - 0.5", "exp(-3*x)*cos(20*x)"}) {
    owned.emplace_back(new Formula(&domain));
    owned.back()->setExpression(e);
    fns.append(owned.back().get());
  }
  QSharedPointer<DataHolders::Partitions::FuzzyEq> record(new DataHolders::Partitions::FuzzyEq);
  record->componentCount = components;
  record->nodes.clear();
  for (int i = 0; i < components; ++i)
    record->nodes.append(double(i) / (components - 1));
  FtransformWidget ctrl;
  ctrl.resize(1000, 700);
  ctrl.setMaxDegree(3);
  ctrl.setVisibleDegrees(15);
  ctrl.setPartition(record, &domain);
  ctrl.addFunctions(fns);
  ctrl.show();
  if (!waitExposed(&ctrl)) {
    state.SkipWithError("window not exposed");
    return;
  }
  for (int i = 0; i < 5; ++i)
    QApplication::processEvents();
  const int node = components / 2;
  const double x = record->nodes[node], gap = record->nodes[node + 1] - x;
  bool right = true;
  for (auto _ : state) {
    if (!ctrl.partitionWidget()->moveNode(std::size_t(node), x + (right ? 0.3 : -0.3) * gap))
      state.SkipWithError("the node did not move");
    QApplication::processEvents();
    right = !right;
  }
  if (ctrl.lastChange().everything)
    state.SkipWithError("the move recomputed everything");
  ctrl.removeFunctions(fns);
}

// One accepted input change that needs a new partition (the partition
// widget's inputsChanged() after the shape changed), at zoom 1, with as many
// components as subintervals in the last case: memory and time must follow
// the total support of the basic functions, not components x domain size.
void BM_InputChange(benchmark::State& state)
{
  // The closed-form bases warn when sines come to be shown at degree 1 and above.
  Prompt::setMessageHandler([](const Prompt::Message&) { return QMessageBox::Ok; });
  const auto subintervals = static_cast<unsigned>(state.range(0));
  const auto components = static_cast<int>(state.range(1));
  Domains::Equidistant<double> domain(0.0, 1.0, subintervals);
  std::vector<std::unique_ptr<Formula>> owned;
  QList<Fn::MathFn<double, double>*> fns;
  for (const char* e : {"sin(10*x)", "x^2 - 0.5", "exp(-3*x)*cos(20*x)"}) {
    owned.emplace_back(new Formula(&domain));
    owned.back()->setExpression(e);
    fns.append(owned.back().get());
  }
  QSharedPointer<DataHolders::Partitions::FuzzyEq> record(new DataHolders::Partitions::FuzzyEq);
  record->componentCount = components;
  record->nodes.clear();
  for (int i = 0; i < components; ++i)
    record->nodes.append(double(i) / (components - 1));

  FtransformWidget ctrl;
  ctrl.resize(1000, 700);
  ctrl.setMaxDegree(3);
  ctrl.setVisibleDegrees(15);
  ctrl.setPartition(record, &domain);
  ctrl.addFunctions(fns);
  if (!waitExposed(&ctrl)) {
    state.SkipWithError("window not exposed");
    return;
  }
  // Let the first layout settle (it redraws the partition at the canvas's resolution).
  for (int i = 0; i < 5; ++i)
    QApplication::processEvents();
  // A change that needs a new partition: the shape, between triangles and sines.
  for (auto _ : state) {
    record->shape = 1 - record->shape;
    emit ctrl.partitionWidget()->inputsChanged();
    QApplication::processEvents();
  }
  if (ctrl.components().value(FnKey{fns[0], 1})->values().size() != std::size_t(components))
    state.SkipWithError("components missing");
  ctrl.removeFunctions(fns);
}

// The whole window on 100,001 points with 1,000 components, three formulas and
// degrees 0 to 3 shown, opened from a session as a user would have it. One
// node of the partition plot is dragged: one mouse move, or a whole drag (one
// step of the history); undo and redo take back and repeat a whole drag.
struct WindowFixture
{
  QTemporaryDir dir;
  std::unique_ptr<MainWindow> w;
  FtransformWidget* ctrl = nullptr;
  QWidget* canvas = nullptr;
  QPoint a, b, c;
  double x = 0;

  QString setUp()
  {
    std::setlocale(LC_NUMERIC, "C");
    QCoreApplication::setOrganizationName(QStringLiteral("korvant"));
    QCoreApplication::setApplicationName(QStringLiteral("quelmora"));
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.path());
    MainWindow::setDefaultSessionDirectory(dir.path());
    {
      QSettings f(dir.filePath(QStringLiteral("FormulaBuilder.ini")), QSettings::IniFormat);
      f.beginWriteArray(QStringLiteral("formulas"));
      const char* formulas[][2] = {
          {"a", "sin(10*x)"}, {"b", "x^2 - 0.5"}, {"c", "exp(-3*x)*cos(20*x)"}};
      for (int i = 0; i < 3; ++i) {
        f.setArrayIndex(i);
        f.setValue(QStringLiteral("formula_name"), formulas[i][0]);
        f.setValue(QStringLiteral("formula_expression"), formulas[i][1]);
      }
      f.endArray();
    }
    const QString session = dir.filePath(QStringLiteral("drag.qms"));
    {
      QSettings s(session, QSettings::IniFormat);
      s.setValue(QStringLiteral("DomainWidget/discrEdt_text"), QStringLiteral("100000"));
      s.setValue(QStringLiteral("FunctionSelector/count"), 3);
      for (int i = 0; i < 3; ++i)
        s.setValue(QStringLiteral("FunctionSelector/comboBox%1_currentIndex").arg(i), i);
      s.setValue(QStringLiteral("FtDegreeWidget/ftDegreeSpin_value"), 3);
      for (int i = 0; i < 4; ++i)
        s.setValue(QStringLiteral("FtDegreeWidget/ft%1ChBox_checked").arg(i), true);
      s.setValue(QStringLiteral("GenericRuspini/nodesSpin_value"), 1000);
      s.setValue(QStringLiteral("MainWindow/partitionType"), 6);
    }
    w.reset(new MainWindow);
    w->resize(1200, 900);
    w->show();
    if (!waitExposed(w.get()))
      return QStringLiteral("window not exposed");
    if (!w->openSession(session))
      return QStringLiteral("session not opened");
    ctrl = w->findChild<FtransformWidget*>(QStringLiteral("centralwidget"));
    if (ctrl->functions().size() != 3 || ctrl->maxDegree() != 3 || ctrl->visibleDegrees() != 15 ||
        ctrl->partitionRecord()->nodes.size() != 1000 || ctrl->domain()->size() != 100001)
      return QStringLiteral("the session did not give the case");
    PlotPartition* pplot = ctrl->partitionWidget()->partitionEditor()->plot();
    pplot->setZoom(50.0); // as the controller's drag: room between the neighbours
    pplot->replot();
    for (int i = 0; i < 5; ++i)
      QApplication::processEvents();
    QwtPlot* qwt = pplot->plot();
    canvas = pplot->canvas();
    const QVector<double>& nodes = ctrl->partitionRecord()->nodes;
    x = nodes[10];
    const double gap = nodes[11] - x;
    const auto pixel = [&](double vx) {
      return QPoint(qRound(qwt->canvasMap(QwtPlot::xBottom).transform(vx)),
                    qRound(qwt->canvasMap(QwtPlot::yLeft).transform(0.0)));
    };
    a = pixel(x);
    b = pixel(x + 0.3 * gap);
    c = pixel(x - 0.3 * gap);
    if (b.x() - a.x() < 2)
      return QStringLiteral("nodes too close on the canvas");
    w->activateWindow();
    QElapsedTimer t;
    t.start();
    while (!w->isActiveWindow() && t.elapsed() < 5000)
      QApplication::processEvents(QEventLoop::AllEvents, 50);
    canvas->setFocus(Qt::MouseFocusReason);
    return canvas->hasFocus() ? QString() : QStringLiteral("canvas has no focus");
  }

  QAction* action(const char* name) const { return w->findChild<QAction*>(QLatin1String(name)); }

  // One whole drag of the node to b: one step.
  void drag()
  {
    sendMouse(canvas, QEvent::MouseButtonPress, a, Qt::LeftButton);
    sendMouse(canvas, QEvent::MouseMove, c, Qt::LeftButton);
    sendMouse(canvas, QEvent::MouseMove, b, Qt::LeftButton);
    sendMouse(canvas, QEvent::MouseButtonRelease, b, Qt::NoButton);
    QApplication::processEvents();
  }
};

// range(0): 0 times one mouse move of a held node, 1 a whole drag (press, one
// move, release), which the history records as a step.
void BM_WindowDragStep(benchmark::State& state)
{
  WindowFixture f;
  const QString why = f.setUp();
  if (!why.isEmpty()) {
    state.SkipWithError(why.toLatin1().constData());
    return;
  }
  const bool whole = state.range(0) == 1;
  if (!whole)
    sendMouse(f.canvas, QEvent::MouseButtonPress, f.a, Qt::LeftButton);
  bool toB = true;
  for (auto _ : state) {
    if (whole) {
      sendMouse(f.canvas, QEvent::MouseButtonPress, toB ? f.a : f.b, Qt::LeftButton);
      sendMouse(f.canvas, QEvent::MouseMove, toB ? f.b : f.a, Qt::LeftButton);
      sendMouse(f.canvas, QEvent::MouseButtonRelease, toB ? f.b : f.a, Qt::NoButton);
    } else {
      sendMouse(f.canvas, QEvent::MouseMove, toB ? f.b : f.c, Qt::LeftButton);
    }
    QApplication::processEvents();
    toB = !toB;
  }
  if (!whole)
    sendMouse(f.canvas, QEvent::MouseButtonRelease, toB ? f.b : f.c, Qt::NoButton);
  if (f.ctrl->lastChange().everything)
    state.SkipWithError("a move recomputed everything");
  else if (whole && f.action("actionUndo")->text() != QStringLiteral("Undo Move node 11"))
    state.SkipWithError("the drag is not one step");
  state.SetLabel(whole ? "whole drag" : "one move");
}

// range(0): 0 measures undo, 1 redo; the other one runs untimed in between.
void BM_WindowUndoRedoDrag(benchmark::State& state)
{
  WindowFixture f;
  const QString why = f.setUp();
  if (!why.isEmpty()) {
    state.SkipWithError(why.toLatin1().constData());
    return;
  }
  f.drag();
  QAction* undo = f.action("actionUndo");
  QAction* redo = f.action("actionRedo");
  if (undo->text() != QStringLiteral("Undo Move node 11")) {
    state.SkipWithError("the drag is not one step");
    return;
  }
  const auto run = [&](QAction* a) {
    a->trigger();
    QApplication::processEvents();
  };
  const bool timeRedo = state.range(0) == 1;
  bool exact = true;
  for (auto _ : state) {
    if (timeRedo) {
      state.PauseTiming();
      run(undo);
      state.ResumeTiming();
      run(redo);
    } else {
      run(undo);
      exact = exact && f.ctrl->partitionRecord()->nodes[10] == f.x;
      state.PauseTiming();
      run(redo);
      state.ResumeTiming();
    }
    if (f.ctrl->lastChange().everything) {
      state.SkipWithError("undo or redo recomputed everything");
      break;
    }
  }
  if (!exact)
    state.SkipWithError("undo did not put the node back");
  state.SetLabel(timeRedo ? "redo" : "undo");
}

} // namespace

BENCHMARK(BM_InputChange)
    ->Args({2000, 5})
    ->Args({100000, 1000})
    ->Args({100000, 100000})
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

BENCHMARK(BM_NodeDrag)
    ->Args({2000, 5})
    ->Args({100000, 1000})
    ->Args({1000000, 10000})
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

BENCHMARK(BM_NodeMoveFromCode)
    ->Args({100000, 1000})
    ->Args({1000000, 10000})
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

BENCHMARK(BM_WindowDragStep)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

BENCHMARK(BM_WindowUndoRedoDrag)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

#include "guibenchmain.h"
