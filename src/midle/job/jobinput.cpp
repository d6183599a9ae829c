#include "midle/job/jobinput.h"

#include "math/fce/formulaexpression.h"
#include "math/fce/mathfncachedformula.h"
#include "midle/numberreader/dataimport.h"
#include "midle/session/sessionreader.h"
#include "midle/session/sessionvalidator.h"

#include <QFile>
#include <QFileInfo>
#include <QObject>
#include <QRegularExpression>

#include <mutex>

namespace {

using Function = JobInput::Function;
using Expression = Fn::MathFnCachedFormula<double, double, Fn::FormulaExpression<double, double>>;

} // namespace

bool Job::drawsRandomNumbers(const std::string& formula)
{
  static const QRegularExpression random(
      QStringLiteral("(^|[^A-Za-z0-9_])(normal|uniform)\\s*\\("));
  return QString::fromStdString(formula).contains(random);
}

std::unique_ptr<Function> Job::formulaFunction(const Domains::EnumerationBase<double>* domain,
                                               const QString& text, QString* error)
{
  const std::string expression = text.toStdString();
  const Fn::ExpressionCheck check =
      Fn::FormulaExpression<double, double>::checkExpression(expression);
  if (!check.ok) {
    *error = QObject::tr("--formula \"%1\": %2").arg(text, QString::fromStdString(check.message));
    if (!check.token.empty())
      *error += QObject::tr(" (token \"%1\")").arg(QString::fromStdString(check.token));
    return nullptr;
  }
  static std::mutex generator;
  std::unique_lock<std::mutex> oneAtATime(generator, std::defer_lock);
  if (drawsRandomNumbers(expression))
    oneAtATime.lock();
  std::unique_ptr<Expression> fn(new Expression(domain));
  try {
    fn->setExpression(expression);
  } catch (const mu::ParserError& e) {
    *error = QObject::tr("--formula \"%1\": %2").arg(text, QString::fromStdString(e.GetMsg()));
    return nullptr;
  }
  return std::unique_ptr<Function>(fn.release());
}

bool Job::formulaInput(const DomainOptions& o, const QStringList& formulas, JobInput& input,
                       QString* error)
{
  input.record = domainRecord(o);
  input.domain.reset(DataHolders::createDomain(input.record));
  if (!input.domain) {
    *error =
        QObject::tr("--domain %1,%2,%3 cannot be discretised").arg(o.low).arg(o.high).arg(o.count);
    return false;
  }
  for (const QString& text : formulas) {
    input.functions.push_back(formulaFunction(input.domain.get(), text, error));
    if (!input.functions.back())
      return false;
    input.names << text;
  }
  return true;
}

bool Job::dataInput(const DataOptions& o, const QString& path, JobInput& input, QString* error)
{
  const QFileInfo file(path);
  // A device or a pipe could be read for ever.
  if (!file.isFile()) {
    *error = QObject::tr("--data \"%1\": %2")
                 .arg(o.dataFile, file.exists() ? QObject::tr("not a regular file")
                                                : QObject::tr("no such file"));
    return false;
  }
  DataFileInfo info(QFile::encodeName(path), false, o.xColumn);
  info.valueSeparator = o.separatorGiven                      ? o.separator
                        : info.suffix == QLatin1String("csv") ? QStringLiteral(";")
                                                              : QString();
  DataImport import;
  import.run(info);
  // One column is the function itself, unless the user asked for an x column.
  if (import.status() == DataImport::Loaded && import.functionColumns().empty() &&
      !o.xColumnGiven) {
    info.xColumn = -1;
    import.run(info);
  }
  QStringList notes;
  for (const DataImport::Message& m : import.messages()) {
    if (m.icon == DataImport::Information)
      notes << QString(m.text).replace('\n', ' ');
    else
      *error = QObject::tr("--data \"%1\": %2").arg(o.dataFile, m.text);
  }
  if (import.status() != DataImport::Loaded)
    return false;
  if (o.xColumnGiven && import.isTextColumn(o.xColumn)) {
    *error = QObject::tr("--x-column %1: column %1 of \"%2\" holds text, not numbers")
                 .arg(o.xColumn)
                 .arg(o.dataFile);
    return false;
  }
  if (o.xColumnGiven && o.xColumn >= 0 && import.xColumn() != o.xColumn) {
    *error = QObject::tr("--x-column %1: the data file \"%2\" has only %3 columns")
                 .arg(o.xColumn)
                 .arg(o.dataFile)
                 .arg(import.columns().size());
    return false;
  }
  const std::vector<int> columns = import.functionColumns();
  if (columns.empty()) {
    *error = QObject::tr("--data \"%1\": no column is left besides the x column %2")
                 .arg(o.dataFile)
                 .arg(o.xColumn);
    return false;
  }

  input.notes = notes;
  input.record.reset(new DataHolders::Domains::Equid);
  input.record->low = import.low();
  input.record->high = import.high();
  input.record->count = import.count();
  input.domain.reset(import.createDomain());
  for (Function* fn : import.createFunctions(input.domain.get()))
    input.functions.emplace_back(fn);
  for (int c : columns)
    input.names << (columns.size() == 1 ? QStringLiteral("DataFile")
                                        : QStringLiteral("DataFile %1").arg(c));
  return true;
}

bool Job::sessionInput(const QString& sessionFile, const QString& formulasFile, JobInput& input,
                       QString* error)
{
  // The window starts a new session on a file that is not there; a job asked
  // to compute one was given a wrong name.
  if (!QFileInfo::exists(sessionFile)) {
    *error = SessionValidator::notOpened(sessionFile, QObject::tr("it does not exist"));
    return false;
  }
  SessionReader reader(sessionFile);
  reader.setFormulasFile(formulasFile);
  if (!reader.read()) {
    *error = reader.errorText();
    if (reader.formulaNotFound() && formulasFile.isEmpty())
      *error += QObject::tr("; name the formulas file with --formulas FILE");
    return false;
  }
  for (const QString& note : reader.notes())
    input.notes << QString(note).replace('\n', ' ');
  SessionInputs& in = reader.inputs();
  input.record = in.domainRecord;
  input.domain = std::move(in.domain);
  input.functions = std::move(in.functions);
  input.names = in.names;
  input.partition = in.partition;
  input.degree = in.maxDegree;
  input.degreeMask = in.degreeMask;
  input.basis = in.basis;
  if (!input.partition) {
    *error = QObject::tr("the session \"%1\" holds no partition").arg(sessionFile);
    return false;
  }
  return true;
}
