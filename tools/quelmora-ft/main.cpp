// quelmora-ft: the direct and inverse F-transform of formulas, headless,
// through the same records, builders and value writer as the program.

#include "gui/ftransform_widgets/data_structures.h"
#include "math/fce/formulaexpression.h"
#include "math/fce/mathfncachedformula.h"
#include "midle/export/csvexportfunction.h"
#include "options.h"
#include "partitionsetup.h"
#include "transform.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

#include <cstdio>
#include <memory>
#include <vector>

namespace {

using Function = Fn::MathFn<double, double>;
using Expression = Fn::MathFnCachedFormula<double, double, Fn::FormulaExpression<double, double>>;

constexpr int badInput = 2;

// Values the tool may hold at once (the functions, their inverses and
// temporaries); above this it would exhaust memory rather than finish.
constexpr double maxHeldValues = 1.5e8;

int fail(const QString& message)
{
  QString line = message;
  line.replace(QLatin1Char('\n'), QLatin1Char(' '));
  QTextStream(stderr) << "quelmora-ft: " << line << Qt::endl;
  return badInput;
}

// A formula function on the domain, or an error naming the parser's complaint.
std::unique_ptr<Function> formulaFunction(const Domains::EnumerationBase<double>* domain, const QString& text,
                                          QString* error)
{
  const std::string expression = text.toStdString();
  const Fn::ExpressionCheck check = Fn::FormulaExpression<double, double>::checkExpression(expression);
  if (!check.ok) {
    *error = QObject::tr("--formula \"%1\": %2").arg(text, QString::fromStdString(check.message));
    if (!check.token.empty())
      *error += QObject::tr(" (token \"%1\")").arg(QString::fromStdString(check.token));
    return nullptr;
  }
  std::unique_ptr<Expression> fn(new Expression(domain));
  try {
    fn->setExpression(expression);
  } catch (const mu::ParserError& e) {
    *error = QObject::tr("--formula \"%1\": %2").arg(text, QString::fromStdString(e.GetMsg()));
    return nullptr;
  }
  return std::unique_ptr<Function>(fn.release());
}

bool checkOutputTarget(const QString& path, QString* error)
{
  const QFileInfo info(path);
  if (info.isDir()) {
    *error = QObject::tr("-o \"%1\" is a directory").arg(path);
    return false;
  }
  if (!QFileInfo(info.absolutePath()).isDir()) {
    *error = QObject::tr("-o \"%1\": the directory \"%2\" does not exist").arg(path, info.absolutePath());
    return false;
  }
  return true;
}

} // namespace

int main(int argc, char** argv)
{
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
  if (!o.dataFile.isEmpty() || o.xColumnGiven || o.separatorGiven)
    return fail(QObject::tr("--data, --x-column and --separator are not supported by this build"));
  if (o.formulas.isEmpty())
    o.formulas << QStringLiteral("x");
  if (o.names.size() > o.formulas.size())
    return fail(QObject::tr("%1 names for %2 formulas: give at most one --name per --formula")
                  .arg(o.names.size())
                  .arg(o.formulas.size()));
  if (!o.outputFile.isEmpty() && !checkOutputTarget(o.outputFile, &error))
    return fail(error);

  const double points = double(o.count) + 1;
  const double held =
    points * (double(o.formulas.size()) * (1 + (o.outInverse ? o.degree + 1 : 0)) + 2);
  if (held > maxHeldValues)
    return fail(QObject::tr("%1 formulas over %2 points are too many values to hold; "
                            "use fewer formulas, a smaller COUNT or a lower --degree")
                  .arg(o.formulas.size())
                  .arg(o.count + 1));

  const auto domainRec = domainRecord(o);
  const auto partRec = partitionRecord(o, domainRec, &error);
  if (!partRec)
    return fail(error);

  std::unique_ptr<Domains::EnumerationBase<double>> domain(DataHolders::createDomain(domainRec));
  if (!domain)
    return fail(QObject::tr("--domain %1,%2,%3 cannot be discretised").arg(o.low).arg(o.high).arg(o.count));

  std::vector<std::unique_ptr<Function>> functions;
  for (const QString& text : o.formulas) {
    functions.push_back(formulaFunction(domain.get(), text, &error));
    if (!functions.back())
      return fail(error);
  }

  std::unique_ptr<Partitions::PartitionBase<double, double>> partition(
    DataHolders::createPartition(partRec, domain.get()));
  if (!partition || partition->fceCount() == 0)
    return fail(QObject::tr("the partition cannot be built from these options"));
  if (partRec->type == DataHolders::KindCustomPartition && partition->nodes().size() != std::size_t(partRec->nodes.size()))
    return fail(QObject::tr("the custom partition has %1 basic functions for %2 nodes")
                  .arg(partition->nodes().size())
                  .arg(partRec->nodes.size()));

  const bool wantComponents = o.outComponents;
  const Transformer transformer(*partition, o.degree, o.outInverse);
  std::vector<TransformResult> results;
  for (const auto& fn : functions)
    results.push_back(transformer.transform(*fn));

  CsvExportFunction writer(o.outputFile);
  writer.setIncludeDomain(o.includeDomain);
  writer.setPrecision(o.precision);
  for (std::size_t i = 0; i < functions.size(); ++i) {
    const QString name = int(i) < o.names.size() ? o.names[int(i)] : o.formulas[int(i)];
    if (o.outFunction)
      writer.addColumn(functions[i].get(), name);
    if (wantComponents)
      for (int d = 0; d <= o.degree; ++d)
        writer.addColumn(results[i].components[d].get(), name + QStringLiteral(" - Comp%1").arg(d));
    if (o.outInverse)
      for (int d = 0; d <= o.degree; ++d)
        writer.addColumn(results[i].inverses[d].get(), name + QStringLiteral(" - Inverse%1").arg(d));
  }

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
