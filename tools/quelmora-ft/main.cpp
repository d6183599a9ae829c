// quelmora-ft: the direct and inverse F-transform of formulas, headless,
// through the same records, builders and value writer as the program.

#include "errorreport.h"
#include "gui/ftransform_widgets/data_structures.h"
#include "midle/export/csvexportfunction.h"
#include "midle/job/jobinput.h"
#include "midle/job/partitionsetup.h"
#include "midle/transform/inversecolumns.h"
#include "midle/transform/threadpool.h"
#include "midle/transform/transformpass.h"
#include "options.h"
#include "version_private.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <QTextStream>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#if defined(__GLIBC__)
#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace {

constexpr int badInput = 2;

// Values the tool may hold at once (the functions, their inverses and
// temporaries); above this it would exhaust memory rather than finish.
constexpr double maxHeldValues = 1.5e8;
constexpr int maxFormulas = 10000;

void printNotes(const QStringList& notes)
{
  for (const QString& note : notes)
    QTextStream(stderr) << "quelmora-ft: note: " << note << Qt::endl;
}

int fail(const QString& message)
{
  QString line = message;
  line.replace(QLatin1Char('\n'), QLatin1Char(' '));
  QTextStream(stderr) << "quelmora-ft: " << line << Qt::endl;
  return badInput;
}

// Options a session leaves open; every other one would contradict it.
const QStringList sessionOptions{"--session",   "--formulas", "--output", "--include-domain",
                                 "--precision", "--threads",  "--errors", "-o",
                                 "--help",      "-h"};

// Standard input in a temporary file, so that the readers can read it twice
// as they read a file. Read as CSV when a separator is given.
constexpr qint64 maxStandardInput = qint64(1) << 30;

bool standardInputFile(const ToolOptions& o, QTemporaryFile& file, QString* error)
{
  file.setFileTemplate(QDir::temp().filePath(QStringLiteral("quelmora-ft-XXXXXX.") +
                                             (o.separatorGiven ? "csv" : "txt")));
  QFile in;
  if (!file.open() || !in.open(stdin, QIODevice::ReadOnly)) {
    *error = QObject::tr("--data -: standard input cannot be read: %1")
                 .arg(file.isOpen() ? in.errorString() : file.errorString());
    return false;
  }
  QByteArray chunk;
  qint64 total = 0;
  while (!(chunk = in.read(1 << 20)).isEmpty()) {
    total += chunk.size();
    if (total > maxStandardInput) {
      *error =
          QObject::tr("--data -: standard input holds more than %1 MB").arg(maxStandardInput >> 20);
      return false;
    }
    if (file.write(chunk) != chunk.size()) {
      *error = QObject::tr("--data -: standard input cannot be kept: %1").arg(file.errorString());
      return false;
    }
  }
  return file.flush();
}

// The columns of a data file, or of standard input kept in a file; notes
// (ignored lines) go to standard error, the run goes on.
bool dataSource(const ToolOptions& o, JobInput& source, QString* error)
{
  QTemporaryFile input;
  const bool fromInput = o.dataFile == QLatin1String("-");
  if (fromInput && !standardInputFile(o, input, error))
    return false;
  if (!Job::dataInput(o, fromInput ? input.fileName() : o.dataFile, source, error))
    return false;
  printNotes(source.notes);
  return true;
}

// Values held at once: each function with its inverses, two temporaries,
// and every basic function (object, cache window and bindings: measured at
// about 60 doubles each).
bool valuesFit(const ToolOptions& o, int count, int functionCount, int nodeCount, QString* error)
{
  const double points = double(count) + 1;
  const double held =
      points * (double(functionCount) * (1 + (o.outInverse ? o.degree + 1 : 0)) + 2) +
      60.0 * nodeCount;
  if (held <= maxHeldValues)
    return true;
  *error = QObject::tr("%1 functions over %2 points with %3 nodes are too many values to hold; "
                       "use fewer functions, points or nodes, or a lower --degree")
               .arg(functionCount)
               .arg(count + 1)
               .arg(nodeCount);
  return false;
}

// Checked before any formula is evaluated, so a huge request fails at once.
bool formulaCountFits(const ToolOptions& o, QString* error)
{
  return valuesFit(o, o.count, int(o.formulas.size()), 0, error);
}

bool checkOutputTarget(const QString& path, QString* error)
{
  const QFileInfo info(path);
  if (info.isDir()) {
    *error = QObject::tr("-o \"%1\" is a directory").arg(path);
    return false;
  }
  if (!QFileInfo(info.absolutePath()).isDir()) {
    *error = QObject::tr("-o \"%1\": the directory \"%2\" does not exist")
                 .arg(path, info.absolutePath());
    return false;
  }
  return true;
}

// To -o FILE (replaced only when written completely) or to standard output.
int writeOutput(CsvExportFunction& writer, const ToolOptions& o)
{
  if (!o.outputFile.isEmpty()) {
    if (!writer.write())
      return fail(writer.errorString());
    return 0;
  }
  QFile out;
  if (!out.open(stdout, QIODevice::WriteOnly) || !writer.writeTo(out) || !out.flush())
    return fail(QObject::tr("cannot write to standard output: %1").arg(out.errorString()));
  return 0;
}

// A large run fills arrays of millions of values once, and faulting them in
// 4 KB pages can cost more than computing them. Arrays up to 32 MB come from
// the heap (not each from a mapping of its own), which grows in large steps
// marked for transparent huge pages: only address space is reserved, memory
// is still taken as it is touched.
void preferHugePages()
{
#if defined(__GLIBC__) && defined(MADV_HUGEPAGE)
  constexpr std::size_t hugePage = std::size_t(2) << 20;
  constexpr std::size_t reserve = std::size_t(1) << 30;
  mallopt(M_MMAP_THRESHOLD, 32 << 20);
  mallopt(M_TOP_PAD, int(reserve));
  mallopt(M_TRIM_THRESHOLD, int(reserve));
  // A block larger than any free room makes the heap grow now, by the pad.
  void* probe = std::malloc(16 << 20);
  const auto begin = (reinterpret_cast<std::uintptr_t>(probe) + hugePage) & ~(hugePage - 1);
  const auto end = reinterpret_cast<std::uintptr_t>(sbrk(0)) & ~(hugePage - 1);
  // Only when the block came from the heap just grown (not from a mapping of its own).
  if (end > begin && end - begin <= reserve + (std::size_t(16) << 20))
    madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
  std::free(probe);
#endif
}

// A session stores its colours as Qt GUI variants, which a process without
// the GUI libraries cannot load; the tool never uses them, so Qt's warning
// about each is noise, not news.
QtMessageHandler qtHandler = nullptr;

void dropGuiVariantWarnings(QtMsgType type, const QMessageLogContext& context, const QString& msg)
{
  if (type == QtWarningMsg && msg.startsWith(QLatin1String("QVariant::load: unable to load type")))
    return;
  if (qtHandler)
    qtHandler(type, context, msg);
}

} // namespace

int main(int argc, char** argv)
{
  preferHugePages();
  qtHandler = qInstallMessageHandler(dropGuiVariantWarnings);
  QCoreApplication app(argc, argv);
  QStringList args = QCoreApplication::arguments();
  args.removeFirst();

  ToolOptions o;
  QString error;
  if (!parseArguments(args, o, &error))
    return fail(error);
  if (o.help) {
    QTextStream(stdout) << usageText();
    return 0;
  }
  if (o.version) {
    QTextStream(stdout) << "quelmora-ft " QUELMORA_VERSION "\n";
    return 0;
  }
  // The program's names: the user settings say where the window keeps its formulas.
  QCoreApplication::setOrganizationName(QStringLiteral("korvant"));
  QCoreApplication::setApplicationName(QStringLiteral("quelmora"));
  if (o.outputFile == QLatin1String("-"))
    o.outputFile.clear(); // standard output
  const bool fromSession = !o.sessionFile.isEmpty();
  const bool fromData = !o.dataFile.isEmpty();
  if (fromSession) {
    for (const QString& option : qAsConst(o.given))
      if (option.startsWith(QLatin1Char('-')) && !sessionOptions.contains(option))
        return fail(QObject::tr("%1 does not go with --session: the session sets what it would")
                        .arg(option));
    if (!o.formulasFile.isEmpty() && !QFileInfo(o.formulasFile).isFile())
      return fail(QObject::tr("--formulas \"%1\": no such file").arg(o.formulasFile));
  } else if (!o.formulasFile.isEmpty()) {
    return fail(QObject::tr("--formulas applies to --session only"));
  }
  if (fromData && (!o.formulas.isEmpty() || o.domainGiven))
    return fail(
        QObject::tr("--data takes the place of --formula and --domain: give one or the other"));
  if (!fromData && (o.xColumnGiven || o.separatorGiven))
    return fail(QObject::tr("--x-column and --separator apply to --data only"));
  if (!checkErrorOptions(o, &error))
    return fail(error);
  if (!fromData && !fromSession && o.formulas.isEmpty())
    o.formulas << QStringLiteral("x");
  // Each formula carries a parser of its own (about 8 KB).
  if (o.formulas.size() > maxFormulas)
    return fail(QObject::tr("%1 formulas are more than the %2 one run takes")
                    .arg(o.formulas.size())
                    .arg(maxFormulas));
  if (!fromData && o.names.size() > o.formulas.size())
    return fail(QObject::tr("%1 names for %2 formulas: give at most one --name per --formula")
                    .arg(o.names.size())
                    .arg(o.formulas.size()));
  if (!o.outputFile.isEmpty() && !checkOutputTarget(o.outputFile, &error))
    return fail(error);

  // muParser's bulk mode too (when built with OpenMP), from here on.
  ThreadPool::setFormulaThreads(o.threads);
  JobInput source;
  if (fromSession) {
    const bool read = Job::sessionInput(o.sessionFile, o.formulasFile, source, &error);
    printNotes(source.notes);
    if (!read)
      return fail(error);
    o.degree = source.degree;
    o.basis = source.basis;
  } else {
    if (fromData) {
      if (!dataSource(o, source, &error))
        return fail(error);
      if (o.names.size() > int(source.functions.size()))
        return fail(QObject::tr("%1 names for %2 data columns: give at most one --name per column")
                        .arg(o.names.size())
                        .arg(source.functions.size()));
    } else if (!formulaCountFits(o, &error) || !Job::formulaInput(o, o.formulas, source, &error)) {
      return fail(error);
    }
    for (int i = 0; i < o.names.size(); ++i)
      source.names[i] = o.names[i];
    source.partition = Job::partitionRecord(o, source.record, &error);
    if (!source.partition)
      return fail(error);
    source.degree = o.degree;
    source.degreeMask = (2 << o.degree) - 1;
    source.basis = o.basis;
  }

  const auto& partRec = source.partition;
  const int largestNodes =
      o.sweep.empty() ? partRec->nodes.size() : std::max(partRec->nodes.size(), o.sweep.back());
  if (!valuesFit(o, source.record->count, int(source.functions.size()), largestNodes, &error))
    return fail(error);
  const auto& domain = source.domain;
  const auto& functions = source.functions;

  const std::unique_ptr<TransformPass::Partition> partition =
      Job::buildPartition(partRec, domain.get(), fromSession, &error, !o.errors);
  if (!partition)
    return fail(error);

  if (o.errors) {
    CsvExportFunction table(o.outputFile);
    std::vector<Analysis::CountResult> sweep;
    if (!errorReport(o, *partition, functions, source.names, source.basis, table, &sweep, &error))
      return fail(error);
    // The orders go beside a file; a device or a pipe has no "beside".
    const QFileInfo target(o.outputFile);
    if (!o.sweepGiven || o.outputFile.isEmpty() || (target.exists() && !target.isFile()))
      return writeOutput(table, o);
    if (!Analysis::writeStudy(o.outputFile, sweep, source.names, o.precision, true, &error))
      return fail(error);
    return 0;
  }

  TransformPass pass(*partition, source.basis);
  pass.setThreads(o.threads);
  // The components held, the inverses written block by block as computed.
  std::vector<TransformPass::Tables> results;
  std::vector<std::unique_ptr<InverseColumns>> inverses;
  for (const auto& fn : functions) {
    results.push_back(pass.tables(*fn, source.degree, false));
    std::vector<const TransformPass::Values*> components;
    for (const auto& c : results.back().components)
      components.push_back(&c->values());
    if (o.outInverse)
      inverses.emplace_back(new InverseColumns(pass, components));
  }

  CsvExportFunction writer(o.outputFile);
  writer.setIncludeDomain(o.includeDomain);
  writer.setPrecision(o.precision);
  for (std::size_t i = 0; i < functions.size(); ++i) {
    const QString& name = source.names[int(i)];
    if (o.outFunction)
      writer.addColumn(functions[i].get(), name);
    // The components' rows follow their nodes, not the domain column.
    if (o.outNodes && i == 0)
      writer.addPointsColumn(results[i].components[0].get(), QStringLiteral("Nodes"));
    if (o.outComponents)
      for (int d = 0; d <= source.degree; ++d)
        if (source.degreeMask & (1 << d))
          writer.addColumn(results[i].components[d].get(),
                           name + QStringLiteral(" - Comp%1").arg(d));
    if (o.outInverse)
      for (int d = 0; d <= source.degree; ++d)
        if (source.degreeMask & (1 << d))
          writer.addColumn(inverses[i]->column(d), name + QStringLiteral(" - Inverse%1").arg(d));
  }
  return writeOutput(writer, o);
}
