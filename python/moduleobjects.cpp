#include "moduleobjects.h"

#include "analysis/errorreport.h"
#include "midle/export/csvexportfunction.h"
#include "midle/job/valuestransform.h"

#include <QCoreApplication>
#include <QObject>

#include <climits>
#include <stdexcept>

namespace Module {

namespace {

QString tr(const char* text)
{
  return QObject::tr(text);
}

[[noreturn]] void refuse(const QString& message)
{
  throw std::invalid_argument(message.toStdString());
}

void check(bool ok, const QString& message)
{
  if (!ok)
    refuse(message);
}

int shapeCode(const std::string& name)
{
  int shape = 0;
  QString error;
  check(Job::parseShape(QStringLiteral("--shape"), QString::fromStdString(name), &shape, &error),
        error);
  return shape;
}

// While a session is read by a process without names of its own (Python):
// the tool's names, which say where the window keeps its formulas, and no Qt
// warnings on standard error (the user gets an exception or nothing).
class AsTheTool
{
public:
  AsTheTool()
      : named(QCoreApplication::organizationName().isEmpty() &&
              QCoreApplication::applicationName().isEmpty()),
        previous(qInstallMessageHandler(quiet))
  {
    if (!named)
      return;
    QCoreApplication::setOrganizationName(QStringLiteral("korvant"));
    QCoreApplication::setApplicationName(QStringLiteral("quelmora"));
  }
  ~AsTheTool()
  {
    qInstallMessageHandler(previous);
    if (!named)
      return;
    QCoreApplication::setOrganizationName(QString());
    QCoreApplication::setApplicationName(QString());
  }
  AsTheTool(const AsTheTool&) = delete;
  AsTheTool& operator=(const AsTheTool&) = delete;

private:
  static void quiet(QtMsgType, const QMessageLogContext&, const QString&) {}

  bool named;
  QtMessageHandler previous;
};

std::vector<std::vector<double>> valuesOf(const JobInput& input)
{
  std::vector<std::vector<double>> values;
  for (const auto& fn : input.functions)
    values.push_back(fn->values());
  return values;
}

} // namespace

Domain::Domain(double low, double high, long long count)
{
  DomainOptions o;
  o.low = low;
  o.high = high;
  QString error;
  check(Job::checkDomain(QStringLiteral("--domain"), low, high, count, Job::numberText(low),
                         Job::numberText(high), &error),
        error);
  o.count = int(count);
  _record = Job::domainRecord(o);
  _domain.reset(DataHolders::createDomain(_record));
  check(_domain != nullptr,
        tr("--domain %1,%2,%3 cannot be discretised").arg(o.low).arg(o.high).arg(o.count));
}

Domain::Domain(std::unique_ptr<const MathDomain> domain, Job::DomainRecord record)
    : _domain(std::move(domain)), _record(std::move(record))
{
}

Partition::Partition(DomainPtr domain, const PartitionOptions& options) : _domain(std::move(domain))
{
  QString error;
  check(Job::checkPartitionValues(options, &error), error);
  _record = Job::partitionRecord(options, _domain->record(), &error);
  check(!_record.isNull(), error);
  build(false);
}

Partition::Partition(DomainPtr domain, Job::PartitionRecord record)
    : _domain(std::move(domain)), _record(std::move(record))
{
  build(true);
}

void Partition::build(bool fromSession)
{
  QString error;
  _math = Job::buildPartition(_record, &_domain->math(), fromSession, &error);
  check(_math != nullptr, error);
  _positions = TransformPass::componentPositions(*_math);
}

std::string Partition::kind() const
{
  return Job::kindName(_record->kind());
}

std::string Partition::shape() const
{
  const auto* fuzzy = dynamic_cast<const DataHolders::Partitions::FuzzyPartBase*>(_record.data());
  switch (fuzzy ? fuzzy->shape : -1) {
  case DataHolders::ShapeTriangle:
    return "triangle";
  case DataHolders::ShapeSin:
    return "sin";
  case DataHolders::ShapeGaussian:
    return "gaussian";
  case DataHolders::ShapeTrapezoid:
    return "trapezoid";
  }
  return "";
}

void Partition::prepare(int degree, Fn::HigherDegreeBasis basis) const
{
  std::call_once(_packed, [this] { _math->packed(); });
  if (degree > 0 && basis == Fn::HigherDegreeBasis::Orthogonal)
    std::call_once(_fitted, [this] { _math->pointBases(); });
}

Request request(int degree, const std::string& basis, int threads)
{
  Request r;
  QString error;
  check(degree >= 0 && degree <= Job::maxDegree,
        Job::outside(QStringLiteral("--degree"), degree, 0, Job::maxDegree));
  r.degree = degree;
  check(Job::parseBasis(QStringLiteral("--basis"), QString::fromStdString(basis), &r.basis, &error),
        error);
  check(threads >= 0, tr("threads=%1: give 0 for all cores or a count above 0").arg(threads));
  r.threads = threads;
  return r;
}

std::string basisName(Fn::HigherDegreeBasis basis)
{
  return basis == Fn::HigherDegreeBasis::ClosedForm ? "closed-form" : "orthogonal";
}

void Samples::checkShape(const Domain& domain, int dimensions, std::size_t size)
{
  check(dimensions == 1,
        tr("f must hold one value per point of the domain, in one dimension (got %1 dimensions)")
            .arg(dimensions));
  check(size == domain.size(), tr("f holds %1 values, but the domain has %2 points")
                                   .arg(qulonglong(size))
                                   .arg(qulonglong(domain.size())));
}

Samples::Samples(const Domain& domain, const std::string& formula)
{
  QString error;
  _function = Job::formulaFunction(&domain.math(), QString::fromStdString(formula), &error);
  check(_function != nullptr, error);
  _values = _function->values().data();
  _size = _function->values().size();
}

std::string Samples::refinableFormula() const
{
  return _function ? Analysis::refinableFormula(*_function) : std::string();
}

void transform(const Partition& p, const Samples& f, const Request& r, double* components,
               double* inverse)
{
  p.prepare(r.degree, r.basis);
  const TransformPass pass(p.math(), r.basis);
  const std::size_t n = f.size(), m = p.size();
  ValuesTransform(pass, f.data(), n, r.threads)
      .run(
          r.degree, [&](int degree) { return inverse + std::size_t(degree) * n; },
          [&](int degree, const std::vector<double>& c, const double*) {
            std::copy(c.begin(), c.end(), components + std::size_t(degree) * m);
            return true;
          });
}

std::vector<Analysis::ErrorMeasure> errors(const Partition& p, const Samples& f, const Request& r)
{
  p.prepare(r.degree, r.basis);
  const TransformPass pass(p.math(), r.basis);
  return Analysis::inverseErrors(pass, f.data(), f.size(), r.degree, r.threads);
}

Analysis::SweepOptions sweepOptions(const SweepRequest& s, const Request& r)
{
  Analysis::SweepOptions o;
  o.basis = r.basis;
  o.degree = r.degree;
  o.threads = r.threads;
  o.shape = shapeCode(s.shape);
  QString error;
  PartitionOptions layout;
  layout.shape = o.shape;
  layout.shift = s.shift;
  layout.shiftGiven = true;
  layout.offset = s.offset;
  layout.offsetGiven = true;
  check(Job::checkPartitionValues(layout, &error), error);
  o.shift = s.shift;
  o.offset = s.offset;
  o.pointsPerFunction = s.pointsPerFunction;
  check(s.pointsPerFunction == 0 || (s.pointsPerFunction >= Analysis::resolvedPoints &&
                                     s.pointsPerFunction <= Analysis::maxRefinedSubintervals),
        Job::outside(QStringLiteral("--points-per-function"), s.pointsPerFunction,
                     Analysis::resolvedPoints, Analysis::maxRefinedSubintervals));
  o.defaultCounts = !s.counts;
  if (s.counts) {
    QStringList texts;
    for (long long c : *s.counts)
      texts << QString::number(c);
    check(Analysis::parseCounts(texts.join(QLatin1Char(',')), INT_MAX, &o.counts, &error),
          tr("%1: %2").arg(QStringLiteral("--components-sweep"), error));
  }
  return o;
}

std::vector<Analysis::CountResult> convergence(const Domain& d, const Samples& f,
                                               const Analysis::SweepOptions& options)
{
  std::vector<Analysis::CountResult> results;
  QString error;
  // The shape as the tool checks it, on the layout a sweep takes.
  PartitionOptions layout;
  layout.shape = options.shape;
  check(!Job::partitionRecord(layout, d.record(), &error).isNull(), error);
  check(Analysis::sweepErrors(options, std::unique_ptr<const MathDomain>(d.math().clone()),
                              {std::vector<double>(f.data(), f.data() + f.size())},
                              {f.refinableFormula()}, &results, &error),
        error);
  return results;
}

std::string studyTable(const std::vector<Analysis::CountResult>& results, const std::string& name,
                       int precision, bool orders)
{
  check(precision >= 1 && precision <= 17,
        Job::outside(QStringLiteral("--precision"), precision, 1, 17));
  const QStringList names{QString::fromStdString(name)};
  CsvExportFunction writer{QString()};
  if (orders)
    writer.setTable(Analysis::ordersHeader(), Analysis::orderRows(results, names, precision));
  else
    writer.setTable(Analysis::tableHeader(), Analysis::tableRows(results, names, precision));
  return writer.content().toStdString();
}

Session::Session(const std::string& path, const std::string& formulasFile)
{
  static std::mutex oneAtATime; // the names are the process's
  const std::lock_guard<std::mutex> lock(oneAtATime);
  const AsTheTool names;
  JobInput input;
  QString error;
  const bool read = Job::sessionInput(QString::fromStdString(path),
                                      QString::fromStdString(formulasFile), input, &error);
  check(read, QString(error).replace(QLatin1Char('\n'), QLatin1Char(' ')));
  _values = valuesOf(input);
  _names = input.names;
  _notes = input.notes;
  _degree = input.degree;
  _mask = input.degreeMask;
  _basis = input.basis;
  _domain = std::make_shared<const Domain>(std::move(input.domain), input.record);
  input.functions.clear();
  _partition = std::make_shared<const Partition>(_domain, input.partition);
}

std::vector<int> Session::shownDegrees() const
{
  std::vector<int> shown;
  for (int d = 0; d <= _degree; ++d)
    if (_mask & (1 << d))
      shown.push_back(d);
  return shown;
}

DataFile::DataFile(const std::string& path, const std::optional<std::string>& separator,
                   std::optional<int> xColumn)
{
  DataOptions o;
  o.dataFile = QString::fromStdString(path);
  check(!o.dataFile.isEmpty(), tr("%1 needs a file name").arg(QStringLiteral("--data")));
  if (separator) {
    o.separator = QString::fromStdString(*separator);
    o.separatorGiven = true;
    check(!o.separator.isEmpty(), tr("%1 needs a separator").arg(QStringLiteral("--separator")));
  }
  if (xColumn) {
    o.xColumn = *xColumn;
    o.xColumnGiven = true;
    check(o.xColumn >= -1 && o.xColumn <= Job::maxXColumn,
          Job::outside(QStringLiteral("--x-column"), o.xColumn, -1, Job::maxXColumn));
  }
  JobInput input;
  QString error;
  check(Job::dataInput(o, o.dataFile, input, &error), error);
  _columns = valuesOf(input);
  _names = input.names;
  _notes = input.notes;
  _domain = std::make_shared<const Domain>(std::move(input.domain), input.record);
  input.functions.clear();
}

} // namespace Module
