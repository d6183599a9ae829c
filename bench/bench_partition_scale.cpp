// Partitions of many basic functions in the partition editor: building,
// replacing and clearing a generic Ruspini partition with up to 100,000
// components on a 100,000-subinterval domain, each followed by the layout and
// painting of the shown editor. Also the controller's path: installing such a
// partition and adding one formula function. Runs offscreen.
#include "gui/components/nodeeditors.h"
#include "gui/components/partitioneditor.h"
#include "gui/components/plotpartition.h"
#include "gui/ftransform_widgets/data_structures.h"
#include "gui/ftransform_widgets/ftransformwidget.h"
#include "math/domains/equidistant.h"
#include "math/fce/formulaexpression.h"
#include "math/fce/mathfncachedformula.h"
#include "math/partitions/partitionbase.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QWindow>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

using Formula = Fn::MathFnCachedFormula<double, double, Fn::FormulaExpression<double, double>>;
using Record = QSharedPointer<DataHolders::Partitions::FuzzyEq>;

constexpr int subintervals = 100000;

Record ruspini(int components, double shift = 0.0)
{
  Record r(new DataHolders::Partitions::FuzzyEq);
  r->componentCount = components;
  r->nodes.clear();
  r->nodes.reserve(components);
  for (int i = 0; i < components; ++i)
    r->nodes.append((double(i) + shift) / (components - 1 + shift));
  r->domain->count = subintervals;
  return r;
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

// Lets the shown editor lay itself out and paint.
void settle()
{
  QApplication::processEvents();
  QApplication::processEvents();
}

bool shown(benchmark::State& state, PartitionEditor& editor)
{
  editor.resize(1000, 300);
  editor.show();
  if (!waitExposed(&editor)) {
    state.SkipWithError("window not exposed");
    return false;
  }
  return true;
}

bool check(benchmark::State& state, const PartitionEditor& editor, int components)
{
  if (editor.editors()->count() != std::size_t(components) ||
      editor.plot()->nodeCount() != std::size_t(components)) {
    state.SkipWithError("wrong editor or marker count");
    return false;
  }
  return true;
}

// setPartition on an empty editor.
void BM_EditorBuild(benchmark::State& state)
{
  const int components = int(state.range(0));
  const Record record = ruspini(components);
  PartitionEditor editor;
  if (!shown(state, editor))
    return;
  for (auto _ : state) {
    state.PauseTiming();
    editor.clear();
    settle();
    state.ResumeTiming();
    editor.setPartition(record);
    settle();
  }
  check(state, editor, components);
}

// setPartition over a shown partition of the same size.
void BM_EditorReplace(benchmark::State& state)
{
  const int components = int(state.range(0));
  const Record records[2] = {ruspini(components), ruspini(components, 0.5)};
  PartitionEditor editor;
  if (!shown(state, editor))
    return;
  editor.setPartition(records[0]);
  settle();
  int k = 1;
  for (auto _ : state) {
    editor.setPartition(records[k]);
    settle();
    k = 1 - k;
  }
  check(state, editor, components);
}

// Growing from 5 components and back, as the components spin box does.
void BM_EditorGrowShrink(benchmark::State& state)
{
  const int components = int(state.range(0));
  const Record big = ruspini(components), small = ruspini(5);
  PartitionEditor editor;
  if (!shown(state, editor))
    return;
  editor.setPartition(small);
  settle();
  for (auto _ : state) {
    editor.setPartition(big);
    settle();
    editor.setPartition(small);
    settle();
  }
  check(state, editor, 5);
}

void BM_EditorClear(benchmark::State& state)
{
  const int components = int(state.range(0));
  const Record record = ruspini(components);
  PartitionEditor editor;
  if (!shown(state, editor))
    return;
  for (auto _ : state) {
    state.PauseTiming();
    editor.setPartition(record);
    settle();
    state.ResumeTiming();
    editor.clear();
    settle();
  }
}

// The controller installs the partition and computes one formula function.
void BM_ControllerSetPartition(benchmark::State& state)
{
  const int components = int(state.range(0));
  Domains::Equidistant<double> domain(0.0, 1.0, unsigned(subintervals));
  Formula f(&domain);
  f.setExpression("sin(10*x)");
  const QList<Fn::MathFn<double, double>*> fns{&f};
  const Record record = ruspini(components);

  FtransformWidget ctrl;
  ctrl.resize(1000, 700);
  ctrl.show();
  if (!waitExposed(&ctrl)) {
    state.SkipWithError("window not exposed");
    return;
  }
  for (auto _ : state) {
    ctrl.setPartition(record, &domain);
    ctrl.addFunctions(fns);
    settle();
    state.PauseTiming();
    ctrl.removeFunctions(fns);
    ctrl.setPartition(FtransformWidget::PartitionRecord(), &domain);
    settle();
    state.ResumeTiming();
  }
}

} // namespace

BENCHMARK(BM_EditorBuild)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();
BENCHMARK(BM_EditorReplace)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();
BENCHMARK(BM_EditorGrowShrink)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();
BENCHMARK(BM_EditorClear)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();
BENCHMARK(BM_ControllerSetPartition)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

#include "guibenchmain.h"
