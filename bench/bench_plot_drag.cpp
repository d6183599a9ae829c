// Dragging an inner node marker of a partition plot: from the mouse move
// event to the finished repaint of the canvas, including the node editor
// update. Runs offscreen.

#include "gui/components/markerpicker.h"
#include "gui/components/partitioneditor.h"
#include "gui/components/plotpartition.h"
#include "gui/ftransform_widgets/data_structures.h"
#include "math/partitions/partitionbase.h"

#include <QApplication>
#include <QMouseEvent>
#include <QThread>
#include <QWindow>

#include <qwt_plot.h>
#include <qwt_plot_marker.h>

#include <benchmark/benchmark.h>

#include <cmath>

namespace {

void send(QWidget* canvas, QEvent::Type type, const QPoint& p, Qt::MouseButtons buttons)
{
  QMouseEvent e(type, p, canvas->mapToGlobal(p), Qt::LeftButton, buttons, Qt::NoModifier);
  QApplication::sendEvent(canvas, &e);
}

// state.range(0) nodes on a domain of state.range(1) points.
void BM_DragInnerNode(benchmark::State& state)
{
  const int nodes = int(state.range(0));
  const int points = int(state.range(1));
  QSharedPointer<DataHolders::Partitions::FuzzyEq> record(new DataHolders::Partitions::FuzzyEq);
  record->componentCount = nodes;
  record->nodes.clear();
  for (int i = 0; i < nodes; ++i)
    record->nodes.append(double(i) / (nodes - 1));
  record->domain->count = points - 1;

  PartitionEditor editor;
  // Wide enough that neighbouring nodes of 1,000 lie more than a pixel apart.
  editor.resize(1920, 400);
  editor.setPartition(record);
  editor.show();
  for (int i = 0; i < 200 && !editor.windowHandle()->isExposed(); ++i) {
    QApplication::processEvents();
    QThread::msleep(5);
  }
  if (!editor.windowHandle()->isExposed()) {
    state.SkipWithError("window not exposed");
    return;
  }
  PlotPartition* plot = editor.plot();
  QWidget* canvas = plot->canvas();
  // As the partition widgets set it.
  plot->plot()->setAxisScale(QwtPlot::yLeft, 0, 1, 0.5);
  QApplication::setActiveWindow(&editor);
  QApplication::processEvents();
  canvas->setFocus();
  plot->replot();
  canvas->repaint();

  const std::size_t k = std::size_t(nodes / 2);
  const double x0 = editor.partition()->nodes()[k];
  const QPoint start(int(std::lround(plot->plot()->transform(QwtPlot::xBottom, x0))),
                     int(std::lround(plot->plot()->transform(QwtPlot::yLeft, 0.0))));
  send(canvas, QEvent::MouseButtonPress, start, Qt::LeftButton);
  if (plot->nodeMarker(k) != plot->picker()->selectedMarker()) {
    state.SkipWithError("node marker not selected");
    return;
  }

  // Back and forth by one pixel: both positions lie between the neighbours.
  const QPoint a = start, b = start + QPoint(1, 0);
  bool toB = true;
  std::int64_t moves = 0;
  for (auto _ : state) {
    const double before = editor.partition()->nodes()[k];
    send(canvas, QEvent::MouseMove, toB ? b : a, Qt::LeftButton);
    canvas->repaint();
    if (editor.partition()->nodes()[k] != before)
      ++moves;
    toB = !toB;
  }
  send(canvas, QEvent::MouseButtonRelease, toB ? a : b, Qt::NoButton);
  if (moves < state.iterations() - 1)
    state.SkipWithError("the node did not follow every move");
  state.counters["nodes"] = nodes;
  state.counters["points"] = points;
}

} // namespace

BENCHMARK(BM_DragInnerNode)
    ->Args({5, 2001})
    ->Args({5, 100001})
    ->Args({1000, 2001})
    ->Args({1000, 100001})
    ->Unit(benchmark::kMillisecond);

#include "guibenchmain.h"
