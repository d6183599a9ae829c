#include "errorreport.h"

#include "analysis/convergencestudy.h"
#include "midle/export/csvexportfunction.h"
#include "transform.h"

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
           const QStringList& names, QList<QStringList>& rows, QString* error)
{
  const auto* domain = partition.domain();
  const int largest = int(domain->size()) - 1;
  for (int n : o.sweep) {
    if (n > largest) {
      *error =
          tr("--components-sweep: %1 is above the domain's %2 subintervals").arg(n).arg(largest);
      return false;
    }
  }
  std::vector<std::vector<double>> values;
  for (const auto& fn : functions)
    values.push_back(fn->values());
  Analysis::StudyLayout layout;
  layout.shape = o.shape >= 0 ? o.shape : int(DataHolders::ShapeTriangle);
  layout.shift = o.shift;
  layout.offset = o.offset;
  layout.basis = o.basis;
  const Analysis::ConvergenceStudy study(
      std::unique_ptr<const Domains::EnumerationBase<double>>(domain->clone()), std::move(values),
      layout, o.degree);
  std::vector<std::vector<Analysis::ErrorMeasure>> errors;
  for (int n : o.sweep) {
    QString why;
    if (!study.compute(n, &errors, &why)) {
      *error = tr("--components-sweep: %1").arg(why);
      return false;
    }
    for (std::size_t f = 0; f < functions.size(); ++f)
      for (int d = 0; d <= o.degree; ++d)
        rows << QStringList{QString::number(n)} +
                    errorCells(names[int(f)], d, errors[f][std::size_t(d)], o.precision);
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
  else if (o.sweepGiven && o.kind != ToolOptions::Generic)
    *error = tr("--components-sweep applies to the generic partition only");
  else if (o.sweepGiven && (o.componentsGiven || o.nodesGiven))
    *error = tr("--components-sweep takes the place of --components and --nodes");
  else
    return true;
  return false;
}

bool errorReport(const ToolOptions& o, const Partitions::PartitionBase<double, double>& partition,
                 const std::vector<std::unique_ptr<Fn::MathFn<double, double>>>& functions,
                 const QStringList& names, Fn::HigherDegreeBasis basis, CsvExportFunction& writer,
                 QString* error)
{
  QList<QStringList> rows;
  if (o.sweepGiven) {
    if (!sweep(o, partition, functions, names, rows, error))
      return false;
    writer.setTable(QStringList{QStringLiteral("Components")} + header, rows);
    return true;
  }
  const Transformer transformer(partition, o.degree, true, basis);
  const std::vector<double>& x = partition.domain()->values();
  for (std::size_t f = 0; f < functions.size(); ++f) {
    const TransformResult result = transformer.transform(*functions[f]);
    for (int d = 0; d <= o.degree; ++d) {
      const auto e =
          Analysis::measureError(x.data(), functions[f]->values().data(),
                                 result.inverses[std::size_t(d)]->values().data(), x.size());
      rows << errorCells(names[int(f)], d, e, o.precision);
    }
  }
  writer.setTable(header, rows);
  return true;
}
