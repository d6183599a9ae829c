// Import of large data files, from the file to table functions on their
// domain. The peak memory of one import is measured in a fresh process (the
// benchmark runs this executable again with --import-once), so the figure is
// not hidden by what earlier runs left allocated.
#include "math/domains/enumerationbase.h"
#include "math/fce/mathfn.h"
#include "midle/numberreader/dataimport.h"

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

constexpr int rowCount = 1000000;

QTemporaryDir& workDir()
{
  static QTemporaryDir dir;
  return dir;
}

QString dataPath(const char* kind)
{
  return workDir().filePath(QString("big.") + kind);
}

bool isCsv(const char* kind)
{
  return std::strstr(kind, "csv") != nullptr;
}

// 1,000,000 rows: a text file with two header lines and "x y" rows, and a
// semicolon CSV with a header row and decimal commas; then the same data as
// UTF-16 (little endian, with a byte-order mark) and as a CSV with every
// field in quotes, as spreadsheets write them.
void writeFiles()
{
  for (const char* kind : {"txt", "csv", "utf16.txt", "quoted.csv"}) {
    const bool csv = isCsv(kind);
    const bool utf16 = std::strstr(kind, "utf16") != nullptr;
    const bool quoted = std::strstr(kind, "quoted") != nullptr;
    QFile f(dataPath(kind));
    if (!f.open(QIODevice::WriteOnly))
      std::abort();
    QByteArray block = quoted ? "\"x\";\"value\"\n" : csv ? "x;value\n" : "time value\nmeasured\n";
    auto flush = [&](bool last) {
      if (!last && block.size() < (1 << 20))
        return;
      if (utf16) {
        QByteArray wide;
        for (char c : block)
          wide.append(c).append('\0');
        f.write(wide);
      } else {
        f.write(block);
      }
      block.clear();
    };
    if (utf16)
      f.write("\xFF\xFE", 2);
    char line[64];
    for (int i = 0; i < rowCount; ++i) {
      const double y = (i % 1000) * 0.001234 - 0.5;
      const int n = quoted ? std::snprintf(line, sizeof line, "\"%d\";\"%.6f\"\n", i, y)
                    : csv  ? std::snprintf(line, sizeof line, "%d;%.6f\n", i, y)
                           : std::snprintf(line, sizeof line, "%d\t%.6f\n", i, y);
      if (csv)
        *std::strrchr(line, '.') = ',';
      block.append(line, n);
      flush(false);
    }
    flush(true);
  }
}

DataFileInfo recordFor(const char* kind)
{
  DataFileInfo info(QFile::encodeName(dataPath(kind)), false, 0);
  if (isCsv(kind))
    info.valueSeparator = ";";
  return info;
}

// One import as the window does it; returns the number of function values.
size_t importOnce(const char* kind)
{
  DataImport import;
  if (import.run(recordFor(kind)) != DataImport::Loaded)
    return 0;
  std::unique_ptr<Domains::EnumerationBase<double>> domain(import.createDomain());
  auto functions = import.createFunctions(domain.get());
  import.releaseColumns();
  size_t values = 0;
  for (auto* f : functions) {
    values += f->values().size();
    delete f;
  }
  return values;
}

void BM_Import(benchmark::State& state, const char* kind)
{
  for (auto _ : state) {
    const size_t values = importOnce(kind);
    if (values != rowCount)
      state.SkipWithError("import failed");
    benchmark::DoNotOptimize(values);
  }
  state.counters["rows"] = rowCount;
}

// Peak resident memory of one import in a child process, in MB.
void BM_ImportPeakMemory(benchmark::State& state, const char* kind)
{
  double peakMb = 0;
  for (auto _ : state) {
    const pid_t child = fork();
    if (child == 0) {
      char self[] = "/proc/self/exe";
      char flag[] = "--import-once";
      char arg[16];
      std::snprintf(arg, sizeof arg, "%s", kind);
      char path[4096];
      std::snprintf(path, sizeof path, "%s", QFile::encodeName(dataPath(kind)).constData());
      char* argv[] = {self, flag, arg, path, nullptr};
      execv(self, argv);
      _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
      state.SkipWithError("child import failed");
    peakMb = usage.ru_maxrss / 1024.0;
  }
  state.counters["peak_rss_MB"] = peakMb;
}

} // namespace

BENCHMARK_CAPTURE(BM_Import, txt_1M_lines, "txt")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Import, txt_utf16_1M_lines, "utf16.txt")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Import, csv_1M_rows, "csv")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Import, csv_quoted_1M_rows, "quoted.csv")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ImportPeakMemory, txt_1M_lines, "txt")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK_CAPTURE(BM_ImportPeakMemory, txt_utf16_1M_lines, "utf16.txt")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK_CAPTURE(BM_ImportPeakMemory, csv_1M_rows, "csv")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK_CAPTURE(BM_ImportPeakMemory, csv_quoted_1M_rows, "quoted.csv")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

int main(int argc, char** argv)
{
  if (argc == 4 && std::strcmp(argv[1], "--import-once") == 0) {
    DataFileInfo info(argv[3], false, 0);
    if (isCsv(argv[2]))
      info.valueSeparator = ";";
    DataImport import;
    if (import.run(info) != DataImport::Loaded)
      return 1;
    std::unique_ptr<Domains::EnumerationBase<double>> domain(import.createDomain());
    auto functions = import.createFunctions(domain.get());
    import.releaseColumns();
    const bool ok = functions.size() == 1 && functions.front()->values().size() == rowCount;
    for (auto* f : functions)
      delete f;
    return ok ? 0 : 1;
  }
  writeFiles();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
