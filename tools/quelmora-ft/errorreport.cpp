#include "errorreport.h"

#include "analysis/convergencestudy.h"
#include "analysis/errorreport.h"
#include "midle/export/csvexportfunction.h"
#include "midle/transform/transformpass.h"

#include <QObject>

namespace {

QString tr(const char* text)
{
  return QObject::tr(text);
}

QString number(double value, int precision)
{
  return QString::fromStdString(CsvExportFunction::formatNumber(value, precision));
}

QStringList errorCells(const QString& name, int degree, const Analysis::ErrorMeasure& e,
                       int precision)
{
  return {name, QString::number(degree), number(e.maxAbs, precision), number(e.rmse, precision),
          number(e.argMax, precision)};
}

const QStringList header{QStringLiteral("Function"), QStringLiteral("Degree"),
                         QStringLiteral("MaxAbs"), QStringLiteral("RMSE"),
                         QStringLiteral("ArgMax")};

bool sweep(const ToolOptions& o, const Partitions::PartitionBase<double, double>& partition,
           const std::vector<std::unique_ptr<Fn::MathFn<double, double>>>& functions,
           std::vector<Analysis::CountResult>* results, QString* error)
{
  std::vector<std::vector<double>> values;
  std::vector<std::string> formulas;
  for (const auto& fn : functions) {
    values.push_back(fn->values());
    formulas.push_back(Analysis::refinableFormula(*fn));
  }
  Analysis::SweepOptions sweep;
  sweep.shape = o.shape;
  sweep.shift = o.shift;
  sweep.offset = o.offset;
  sweep.basis = o.basis;
  sweep.degree = o.degree;
  sweep.counts = o.sweep;
  sweep.defaultCounts = o.sweepDefault;
  sweep.pointsPerFunction = o.pointsPerFunction;
  return Analysis::sweepErrors(
      sweep, std::unique_ptr<const Domains::EnumerationBase<double>>(partition.domain()->clone()),
      std::move(values), formulas, results, error);
}

} // namespace

bool checkErrorOptions(const ToolOptions& o, QString* error)
{
  if (o.sweepGiven && !o.errors)
    *error = tr("--components-sweep needs --errors");
  else if (o.errors && (o.outputGiven || o.includeDomain))
    *error = tr("--errors takes the place of the value columns: --output and --include-domain "
                "do not apply");
  else if (o.sweepGiven && o.kind != DataHolders::PartitionKind::Generic)
    *error = tr("--components-sweep applies to the generic partition only");
  else if (o.sweepGiven && (o.componentsGiven || o.nodesGiven))
    *error = tr("--components-sweep takes the place of --components and --nodes");
  else if (o.pointsGiven && !o.sweepGiven)
    *error = tr("--points-per-function applies to --components-sweep only");
  else
    return true;
  return false;
}

bool errorReport(const ToolOptions& o, const Partitions::PartitionBase<double, double>& partition,
                 const std::vector<std::unique_ptr<Fn::MathFn<double, double>>>& functions,
                 const QStringList& names, Fn::HigherDegreeBasis basis, CsvExportFunction& writer,
                 std::vector<Analysis::CountResult>* results, QString* error)
{
  if (o.sweepGiven) {
    if (!sweep(o, partition, functions, results, error))
      return false;
    writer.setTable(Analysis::tableHeader(), Analysis::tableRows(*results, names, o.precision));
    return true;
  }
  QList<QStringList> rows;
  TransformPass pass(partition, basis);
  pass.setThreads(o.threads);
  for (std::size_t f = 0; f < functions.size(); ++f) {
    const std::vector<double>& values = functions[f]->values();
    const auto errors =
        Analysis::inverseErrors(pass, values.data(), values.size(), o.degree, o.threads);
    for (int d = 0; d <= o.degree; ++d)
      rows << errorCells(names[int(f)], d, errors[std::size_t(d)], o.precision);
  }
  writer.setTable(header, rows);
  return true;
}
