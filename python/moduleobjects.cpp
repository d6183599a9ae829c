#include "moduleobjects.h"

#include "analysis/convergencestudy.h"
#include "analysis/errorreport.h"
#include "midle/export/csvexportfunction.h"
#include "midle/job/jobinput.h"
#include "midle/job/partitionsetup.h"
#include "midle/transform/valuestransform.h"
#include "midle/transform/transformpass.h"

#include <QCoreApplication>
#include <QObject>

#include <climits>
#include <mutex>
#include <stdexcept>

namespace Module {

struct Domain::Data
{
  std::unique_ptr<const Domains::EnumerationBase<double>> math;
  Job::DomainRecord record;
};

struct Partition::Data
{
  Job::PartitionRecord record;
  std::unique_ptr<TransformPass::Partition> math;
  std::vector<double> positions;
  // A session's record is the window's: a custom one may leave nodes unplaced.
  bool fromSession = false;
  mutable std::once_flag packed, fitted;

  // Makes what the sums of this degree and basis read.
  void prepare(const Request& r) const
  {
    std::call_once(packed, [this] { math->packed(); });
    if (r.degree > 0 && r.basis == Fn::HigherDegreeBasis::Orthogonal)
      std::call_once(fitted, [this] { math->pointBases(); });
  }
};

struct Samples::Formula
{
  std::unique_ptr<Fn::MathFn<double, double>> function;
};

struct Study::Results
{
  std::vector<Analysis::CountResult> counts;
};

namespace {

QString tr(const char* text)
{
  return QObject::tr(text);
}

[[noreturn]] void refuse(const QString& message)
{
  throw std::invalid_argument(message.toStdString());
}

// The message is read only after ok was evaluated.
void check(bool ok, const QString& message)
{
  if (!ok)
    refuse(message);
}

int whole(long long value, const char* option, long long lowest, long long highest)
{
  check(value >= lowest && value <= highest,
        Job::outside(QLatin1String(option), value, lowest, highest));
  return int(value);
}

int shapeCode(const std::string& name)
{
  int shape = 0;
  QString error;
  check(Job::parseShape(QStringLiteral("--shape"), QString::fromStdString(name), &shape, &error),
        error);
  return shape;
}

void optionalNumber(const std::optional<double>& value, double* field, bool* given)
{
  if (!value)
    return;
  *field = *value;
  *given = true;
}

void optionalNodes(const Partition::Nodes& nodes, PartitionOptions& o)
{
  if (!nodes)
    return;
  o.nodes = QVector<double>(nodes->begin(), nodes->end());
  o.nodesGiven = true;
}

PartitionOptions ruspini(DataHolders::PartitionKind kind, const std::string& shape, long long shift,
                         long long offset)
{
  PartitionOptions o;
  o.kind = kind;
  o.shape = shapeCode(shape);
  o.shift = whole(shift, "--shift", 1, Job::maxShift);
  o.shiftGiven = true;
  o.offset = whole(offset, "--offset", -Job::maxOffset, Job::maxOffset);
  o.offsetGiven = true;
  return o;
}

std::shared_ptr<Partition> build(DomainPtr domain, const PartitionOptions& o)
{
  auto data = std::make_unique<Partition::Data>();
  QString error;
  check(Job::checkPartitionValues(o, &error), error);
  data->record = Job::partitionRecord(o, domain->data().record, &error);
  check(!data->record.isNull(), error);
  return std::make_shared<Partition>(std::move(domain), std::move(data));
}

Analysis::SweepOptions sweepOptions(const Sweep& s, const Request& r)
{
  Analysis::SweepOptions o;
  o.basis = r.basis;
  o.degree = r.degree;
  o.threads = r.threads;
  o.shape = shapeCode(s.shape);
  o.shift = whole(s.shift, "--shift", 1, Job::maxShift);
  o.offset = whole(s.offset, "--offset", -Job::maxOffset, Job::maxOffset);
  if (s.pointsPerFunction != 0)
    o.pointsPerFunction = whole(s.pointsPerFunction, "--points-per-function",
                                Analysis::resolvedPoints, Analysis::maxRefinedSubintervals);
  o.defaultCounts = !s.counts;
  if (s.counts) {
    QStringList texts;
    for (long long c : *s.counts)
      texts << QString::number(c);
    QString error;
    if (!Analysis::parseCounts(texts.join(QLatin1Char(',')), INT_MAX, &o.counts, &error))
      refuse(tr("%1: %2").arg(QStringLiteral("--components-sweep"), error));
  }
  return o;
}

std::vector<std::string> texts(const QStringList& list)
{
  std::vector<std::string> out;
  for (const QString& s : list)
    out.push_back(s.toStdString());
  return out;
}

std::vector<std::vector<double>> valuesOf(const JobInput& input)
{
  std::vector<std::vector<double>> values;
  for (const auto& fn : input.functions)
    values.push_back(fn->values());
  return values;
}

DomainPtr domainOf(JobInput& input)
{
  auto data = std::make_unique<Domain::Data>();
  data->math = std::move(input.domain);
  data->record = input.record;
  return std::make_shared<const Domain>(std::move(data));
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

} // namespace

Request request(int degree, const std::string& basis, int threads)
{
  Request r;
  r.degree = whole(degree, "--degree", 0, Job::maxDegree);
  QString error;
  check(Job::parseBasis(QStringLiteral("--basis"), QString::fromStdString(basis), &r.basis, &error),
        error);
  check(threads >= 0, tr("threads=%1: give 0 for all cores or a count above 0").arg(threads));
  r.threads = threads;
  return r;
}

Domain::Domain(double low, double high, long long count) : _data(std::make_unique<Data>())
{
  QString error;
  check(Job::checkDomain(QStringLiteral("--domain"), low, high, count, Job::numberText(low),
                         Job::numberText(high), &error),
        error);
  DomainOptions o;
  o.low = low;
  o.high = high;
  o.count = int(count);
  _data->record = Job::domainRecord(o);
  _data->math.reset(DataHolders::createDomain(_data->record));
  check(_data->math != nullptr,
        tr("--domain %1,%2,%3 cannot be discretised").arg(o.low).arg(o.high).arg(o.count));
}

Domain::Domain(std::unique_ptr<Data> data) : _data(std::move(data)) {}

Domain::~Domain() = default;

double Domain::low() const
{
  return _data->record->low;
}

double Domain::high() const
{
  return _data->record->high;
}

int Domain::count() const
{
  return _data->record->count;
}

const std::vector<double>& Domain::x() const
{
  return _data->math->values();
}

std::shared_ptr<Partition> Partition::generic(DomainPtr domain, std::optional<long long> components,
                                              const Nodes& nodes, const std::string& shape,
                                              long long shift, long long offset)
{
  PartitionOptions o = ruspini(DataHolders::PartitionKind::Generic, shape, shift, offset);
  if (components) {
    o.components = whole(*components, "--components", 2, Job::maxDomainCount);
    o.componentsGiven = true;
  }
  optionalNodes(nodes, o);
  return build(std::move(domain), o);
}

std::shared_ptr<Partition> Partition::equidistant(DomainPtr domain,
                                                  std::optional<double> fixedPoint,
                                                  std::optional<double> distance,
                                                  const std::string& shape, long long shift,
                                                  long long offset)
{
  PartitionOptions o = ruspini(DataHolders::PartitionKind::Equidistant, shape, shift, offset);
  optionalNumber(fixedPoint, &o.fixedPoint, &o.fixedPointGiven);
  optionalNumber(distance, &o.distance, &o.distanceGiven);
  return build(std::move(domain), o);
}

std::shared_ptr<Partition> Partition::custom(DomainPtr domain, std::optional<double> width,
                                             std::optional<double> variance, const Nodes& nodes,
                                             const std::string& shape)
{
  PartitionOptions o;
  o.kind = DataHolders::PartitionKind::Custom;
  o.shape = shapeCode(shape);
  optionalNumber(width, &o.delta, &o.deltaGiven);
  optionalNumber(variance, &o.variance, &o.varianceGiven);
  optionalNodes(nodes, o);
  return build(std::move(domain), o);
}

Partition::Partition(DomainPtr domain, std::unique_ptr<Data> data)
    : _domain(std::move(domain)), _data(std::move(data))
{
  QString error;
  _data->math =
      Job::buildPartition(_data->record, _domain->data().math.get(), _data->fromSession, &error);
  check(_data->math != nullptr, error);
  _data->positions = TransformPass::componentPositions(*_data->math);
}

Partition::~Partition() = default;

std::size_t Partition::size() const
{
  return _data->math->fceCount();
}

const std::vector<double>& Partition::positions() const
{
  return _data->positions;
}

std::string Partition::kind() const
{
  return Job::kindName(_data->record->kind());
}

std::string Partition::shape() const
{
  const auto* fuzzy =
      dynamic_cast<const DataHolders::Partitions::FuzzyPartBase*>(_data->record.data());
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

void Samples::checkShape(const Domain& domain, int dimensions, std::size_t size)
{
  check(dimensions == 1,
        tr("f must hold one value per point of the domain, in one dimension (got %1 dimensions)")
            .arg(dimensions));
  check(size == domain.size(), tr("f holds %1 values, but the domain has %2 points")
                                   .arg(qulonglong(size))
                                   .arg(qulonglong(domain.size())));
}

Samples::Samples(const double* values, std::size_t size) : _values(values), _size(size) {}

Samples::Samples(const Domain& domain, const std::string& formula)
    : _formula(std::make_unique<Formula>())
{
  QString error;
  _formula->function =
      Job::formulaFunction(domain.data().math.get(), QString::fromStdString(formula), &error);
  check(_formula->function != nullptr, error);
  _values = _formula->function->values().data();
  _size = _formula->function->values().size();
}

Samples::~Samples() = default;

std::string Samples::refinableFormula() const
{
  return _formula ? Analysis::refinableFormula(*_formula->function) : std::string();
}

void transform(const Partition& p, const Samples& f, const Request& r, double* components,
               double* inverse)
{
  p.data().prepare(r);
  const TransformPass pass(*p.data().math, r.basis);
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
  p.data().prepare(r);
  const TransformPass pass(*p.data().math, r.basis);
  return Analysis::inverseErrors(pass, f.data(), f.size(), r.degree, r.threads);
}

void check(const Sweep& sweep, const Request& r)
{
  sweepOptions(sweep, r);
}

Study::Study(const Domain& d, const Samples& f, const Sweep& sweep, const Request& r)
    : _results(std::make_unique<Results>()), _degree(r.degree)
{
  const Analysis::SweepOptions options = sweepOptions(sweep, r);
  QString error;
  // The shape as the tool checks it, on the layout a sweep takes.
  PartitionOptions layout;
  layout.shape = options.shape;
  check(!Job::partitionRecord(layout, d.data().record, &error).isNull(), error);
  check(Analysis::sweepErrors(
            options,
            std::unique_ptr<const Domains::EnumerationBase<double>>(d.data().math->clone()),
            {std::vector<double>(f.data(), f.data() + f.size())}, {f.refinableFormula()},
            &_results->counts, &error),
        error);
}

Study::~Study() = default;

std::size_t Study::rows() const
{
  return _results->counts.size();
}

std::vector<int> Study::counts() const
{
  std::vector<int> out;
  for (const auto& c : _results->counts)
    out.push_back(c.count);
  return out;
}

std::vector<int> Study::subintervals() const
{
  std::vector<int> out;
  for (const auto& c : _results->counts)
    out.push_back(c.subintervals);
  return out;
}

std::vector<int> Study::fewestPoints() const
{
  std::vector<int> out;
  for (const auto& c : _results->counts)
    out.push_back(c.fewestPoints);
  return out;
}

std::vector<bool> Study::resolved() const
{
  std::vector<bool> out;
  for (const auto& c : _results->counts)
    out.push_back(c.resolved());
  return out;
}

std::vector<double> Study::measure(Measure m) const
{
  std::vector<double> out;
  for (const auto& c : _results->counts)
    for (const Analysis::ErrorMeasure& e : c.errors[0])
      out.push_back(m == Measure::MaxAbs ? e.maxAbs : m == Measure::Rmse ? e.rmse : e.argMax);
  return out;
}

std::vector<double> Study::orders(Measure m) const
{
  std::vector<double> out;
  for (int d = 0; d <= _degree; ++d)
    out.push_back(
        Analysis::fitOrder(_results->counts, 0, d,
                           m == Measure::Rmse ? Analysis::Measure::Rmse : Analysis::Measure::MaxAbs)
            .order);
  return out;
}

std::string Study::table(const std::string& name, int precision, bool orders) const
{
  whole(precision, "--precision", 1, 17);
  const QStringList names{QString::fromStdString(name)};
  CsvExportFunction writer{QString()};
  if (orders)
    writer.setTable(Analysis::ordersHeader(),
                    Analysis::orderRows(_results->counts, names, precision));
  else
    writer.setTable(Analysis::tableHeader(),
                    Analysis::tableRows(_results->counts, names, precision));
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
  check(read, error.replace(QLatin1Char('\n'), QLatin1Char(' ')));
  _values = valuesOf(input);
  _names = texts(input.names);
  _notes = texts(input.notes);
  _degree = input.degree;
  _mask = input.degreeMask;
  _basis = input.basis;
  _domain = domainOf(input);
  input.functions.clear();
  auto data = std::make_unique<Partition::Data>();
  data->record = input.partition;
  data->fromSession = true;
  _partition = std::make_shared<const Partition>(_domain, std::move(data));
}

Session::~Session() = default;

std::vector<int> Session::shownDegrees() const
{
  std::vector<int> shown;
  for (int d = 0; d <= _degree; ++d)
    if (_mask & (1 << d))
      shown.push_back(d);
  return shown;
}

DataFile::DataFile(const std::string& path, const std::optional<std::string>& separator,
                   std::optional<long long> xColumn)
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
    o.xColumn = whole(*xColumn, "--x-column", -1, Job::maxXColumn);
    o.xColumnGiven = true;
  }
  JobInput input;
  QString error;
  check(Job::dataInput(o, o.dataFile, input, &error), error);
  _columns = valuesOf(input);
  _names = texts(input.names);
  _notes = texts(input.notes);
  _domain = domainOf(input);
  input.functions.clear();
}

DataFile::~DataFile() = default;

} // namespace Module
