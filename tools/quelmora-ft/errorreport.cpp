#include "errorreport.h"

#include "analysis/convergencestudy.h"
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
  Analysis::StudyLayout layout;
  layout.shape = o.shape >= 0 ? o.shape : int(DataHolders::ShapeTriangle);
  layout.shift = o.shift;
  layout.offset = o.offset;
  layout.basis = o.basis;
  Analysis::ConvergenceStudy study(
      std::unique_ptr<const Domains::EnumerationBase<double>>(partition.domain()->clone()),
      std::move(values), layout, o.degree);
  if (!study.refine(o.pointsPerFunction, formulas, error)) {
    *error = tr("--points-per-function: %1").arg(*error);
    return false;
  }
  const std::vector<int> counts = o.sweepDefault ? study.defaultCounts() : o.sweep;
  if (counts.empty()) {
    *error = tr("--components-sweep default: no count gives basic functions of %1 points or "
                "more on this domain; give the counts")
                 .arg(Analysis::resolvedPoints);
    return false;
  }
  for (int n : counts) {
    if (n > study.largestCount()) {
      *error = tr("--components-sweep: %1 is above the domain's %2 subintervals")
                   .arg(n)
                   .arg(study.largestCount());
      return false;
    }
  }
  for (int n : counts) {
    Analysis::CountResult r;
    QString why;
    if (!study.compute(n, &r, &why)) {
      *error = tr("--components-sweep: %1").arg(why);
      return false;
    }
    results->push_back(std::move(r));
  }
  return true;
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
  const TransformPass pass(partition, basis);
  const std::vector<double>& x = partition.domain()->values();
  for (std::size_t f = 0; f < functions.size(); ++f) {
    const std::vector<double>& values = functions[f]->values();
    pass.transform(values, o.degree, [&](int d, const auto&, const std::vector<double>& inverse) {
      const auto e = Analysis::measureError(x.data(), values.data(), inverse.data(), x.size());
      rows << errorCells(names[int(f)], d, e, o.precision);
      return true;
    });
  }
  writer.setTable(header, rows);
  return true;
}
