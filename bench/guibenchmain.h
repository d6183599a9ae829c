#ifndef QUELMORA_BENCH_GUIBENCHMAIN_H
#define QUELMORA_BENCH_GUIBENCHMAIN_H

// The main of the widget benchmarks: an offscreen application around Google
// Benchmark. Include it once, after the benchmarks are registered.

#include <QApplication>

#include <benchmark/benchmark.h>

int main(int argc, char** argv)
{
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv))
    return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

#endif
