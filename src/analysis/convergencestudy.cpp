#include "analysis/convergencestudy.h"

#include "gui/ftransform_widgets/nodelayout.h"
#include "math/domains/equidistant.h"
#include "math/fce/formulaexpression.h"
#include "math/fce/mathfncachedformula.h"
#include "math/partitions/partitionbase.h"
#include "midle/export/csvexportfunction.h"
#include "midle/job/jobinput.h"
#include "midle/transform/transformpass.h"

#include <QFileInfo>
#include <QObject>

#include <algorithm>
#include <climits>
#include <cmath>

namespace Analysis {

namespace {

// What one count may hold at once, in doubles: about 60 per basic function
// (its object, cache window and bindings) and the work arrays per point.
constexpr double maxHeldValues = 1.5e8;

using Formula = Fn::MathFnCachedFormula<double, double, Fn::FormulaExpression<double, double>>;

bool cancelled(const std::atomic<bool>* cancel)
{
  return cancel && cancel->load(std::memory_order_relaxed);
}

QString number(double value, int precision)
{
  return QString::fromStdString(CsvExportFunction::formatNumber(value, precision));
}

bool writeTable(const QString& path, const QStringList& header, const QList<QStringList>& rows,
                bool waitForReader, QString* error)
{
  CsvExportFunction writer(path);
  writer.setWaitForReader(waitForReader);
  writer.setTable(header, rows);
  if (writer.write())
    return true;
  *error = writer.errorString();
  return false;
}

} // namespace

int largestStudyCount(int subintervals, int pointsPerFunction)
{
  return pointsPerFunction > 0
             ? std::max(subintervals, maxRefinedSubintervals / pointsPerFunction + 1)
             : subintervals;
}

std::vector<int> defaultCounts(int largest, int steps, int first)
{
  std::vector<int> counts;
  if (largest < 2 || steps < 1)
    return counts;
  const double low = std::max(2, std::min(first, largest));
  const double ratio = double(largest) / low;
  for (int i = 0; i < steps; ++i) {
    const double t = steps > 1 ? double(i) / (steps - 1) : 1.0;
    const int n = std::min(largest, int(std::lround(low * std::pow(ratio, t))));
    if (counts.empty() || n > counts.back())
      counts.push_back(n);
  }
  if (counts.back() != largest)
    counts.push_back(largest);
  return counts;
}

bool parseCounts(const QString& text, int largest, std::vector<int>* counts, QString* error)
{
  std::vector<int> list;
  const QStringList parts = text.split(QLatin1Char(','));
  for (const QString& part : parts) {
    const QString item = part.trimmed();
    bool ok = false;
    const int n = item.toInt(&ok);
    if (!ok) {
      *error = item.isEmpty() ? QObject::tr("an empty entry in the list of counts")
                              : QObject::tr("\"%1\" is not a whole number").arg(item);
      return false;
    }
    if (n < 2 || n > largest) {
      *error = n < 2 ? QObject::tr("%1 is below 2 components").arg(n)
                     : QObject::tr("%1 is above the domain's %2 subintervals").arg(n).arg(largest);
      return false;
    }
    if (!list.empty() && n <= list.back()) {
      *error = QObject::tr("the counts must be ascending: %1 follows %2").arg(n).arg(list.back());
      return false;
    }
    list.push_back(n);
  }
  *counts = list;
  return true;
}

QString countsText(const std::vector<int>& counts)
{
  QStringList parts;
  for (int n : counts)
    parts << QString::number(n);
  return parts.join(QStringLiteral(", "));
}

OrderFit empiricalOrder(const std::vector<int>& counts, const std::vector<double>& errors)
{
  const std::size_t k = std::min(counts.size(), errors.size());
  const std::size_t half = std::max<std::size_t>(2, (k + 1) / 2);
  std::vector<double> lx, ly;
  OrderFit fit;
  for (std::size_t i = k > half ? k - half : 0; i < k; ++i) {
    if (counts[i] > 0 && errors[i] > 0 && std::isfinite(errors[i])) {
      lx.push_back(std::log(double(counts[i])));
      ly.push_back(std::log(errors[i]));
      fit.from = fit.counts == 0 ? counts[i] : fit.from;
      fit.to = counts[i];
      ++fit.counts;
    }
  }
  if (lx.size() < 2)
    return OrderFit();
  const double n = double(lx.size());
  double mx = 0, my = 0;
  for (std::size_t i = 0; i < lx.size(); ++i) {
    mx += lx[i];
    my += ly[i];
  }
  mx /= n;
  my /= n;
  double sxy = 0, sxx = 0;
  for (std::size_t i = 0; i < lx.size(); ++i) {
    sxy += (lx[i] - mx) * (ly[i] - my);
    sxx += (lx[i] - mx) * (lx[i] - mx);
  }
  if (!(sxx > 0))
    return OrderFit();
  fit.order = -sxy / sxx;
  return fit;
}

OrderFit fitOrder(const std::vector<CountResult>& results, std::size_t function, int degree,
                  Measure measure)
{
  std::vector<int> counts;
  std::vector<double> errors;
  for (const CountResult& r : results) {
    if (!r.resolved() || function >= r.errors.size() || degree < 0 ||
        std::size_t(degree) >= r.errors[function].size())
      continue;
    const ErrorMeasure& e = r.errors[function][std::size_t(degree)];
    counts.push_back(r.count);
    errors.push_back(measure == Measure::Rmse ? e.rmse : e.maxAbs);
  }
  return empiricalOrder(counts, errors);
}

QStringList tableHeader()
{
  return {QStringLiteral("Components"),    QStringLiteral("Function"),
          QStringLiteral("Degree"),        QStringLiteral("MaxAbs"),
          QStringLiteral("RMSE"),          QStringLiteral("ArgMax"),
          QStringLiteral("Subintervals"),  QStringLiteral("Fewest points"),
          QStringLiteral("Under-resolved")};
}

QList<QStringList> tableRows(const std::vector<CountResult>& results, const QStringList& names,
                             int precision)
{
  QList<QStringList> rows;
  for (const CountResult& r : results)
    for (std::size_t f = 0; f < r.errors.size(); ++f)
      for (std::size_t d = 0; d < r.errors[f].size(); ++d) {
        const ErrorMeasure& e = r.errors[f][d];
        rows << QStringList{QString::number(r.count),
                            names.value(int(f)),
                            QString::number(d),
                            number(e.maxAbs, precision),
                            number(e.rmse, precision),
                            number(e.argMax, precision),
                            QString::number(r.subintervals),
                            QString::number(r.fewestPoints),
                            r.resolved() ? QStringLiteral("no") : QStringLiteral("yes")};
      }
  return rows;
}

QStringList ordersHeader()
{
  return {QStringLiteral("Function"), QStringLiteral("Degree"), QStringLiteral("Measure"),
          QStringLiteral("Order"),    QStringLiteral("From"),   QStringLiteral("To"),
          QStringLiteral("Counts")};
}

QList<QStringList> orderRows(const std::vector<CountResult>& results, const QStringList& names,
                             int precision)
{
  QList<QStringList> rows;
  if (results.empty())
    return rows;
  const std::vector<std::vector<ErrorMeasure>>& shape = results.front().errors;
  for (std::size_t f = 0; f < shape.size(); ++f)
    for (std::size_t d = 0; d < shape[f].size(); ++d)
      for (Measure m : {Measure::MaxAbs, Measure::Rmse}) {
        const OrderFit fit = fitOrder(results, f, int(d), m);
        rows << QStringList{names.value(int(f)),
                            QString::number(d),
                            m == Measure::Rmse ? QStringLiteral("RMSE") : QStringLiteral("MaxAbs"),
                            number(fit.order, precision),
                            fit.counts ? QString::number(fit.from) : QString(),
                            fit.counts ? QString::number(fit.to) : QString(),
                            QString::number(fit.counts)};
      }
  return rows;
}

QString ordersPath(const QString& tablePath)
{
  const QFileInfo info(tablePath);
  const QString suffix = info.suffix();
  QString name = info.completeBaseName() + QStringLiteral("-orders");
  if (!suffix.isEmpty())
    name += QLatin1Char('.') + suffix;
  const int slash = tablePath.lastIndexOf(QLatin1Char('/'));
  return tablePath.left(slash + 1) + name;
}

bool writeStudy(const QString& tablePath, const std::vector<CountResult>& results,
                const QStringList& names, int precision, bool waitForReader, QString* error)
{
  return writeTable(tablePath, tableHeader(), tableRows(results, names, precision), waitForReader,
                    error) &&
         writeTable(ordersPath(tablePath), ordersHeader(), orderRows(results, names, precision),
                    waitForReader, error);
}

std::string refinableFormula(const Fn::MathFn<double, double>& function)
{
  const auto* formula = dynamic_cast<const Fn::FormulaExpression<double, double>*>(&function);
  if (!formula)
    return {};
  // The random functions share one generator, which is not for two threads either.
  if (Job::drawsRandomNumbers(formula->expression()))
    return {};
  return formula->expression();
}

int fewestCoveredPoints(const Partitions::PartitionBase<double, double>& partition)
{
  std::size_t fewest = 0;
  bool first = true;
  for (const auto* fs : partition.allFce()) {
    // Basic functions are convex fuzzy sets: above 0 on one run of points,
    // found from the ends of the non-zero range inwards.
    std::size_t begin = fs->nzBegin(), end = fs->nzEnd();
    while (begin < end && !(fs->valueAtIndex(begin) > 0))
      ++begin;
    while (end > begin && !(fs->valueAtIndex(end - 1) > 0))
      --end;
    fewest = first ? end - begin : std::min(fewest, end - begin);
    first = false;
  }
  return int(std::min<std::size_t>(fewest, std::size_t(INT_MAX)));
}

ConvergenceStudy::ConvergenceStudy(std::unique_ptr<const Domains::EnumerationBase<double>> domain,
                                   std::vector<std::vector<double>> functionValues,
                                   const StudyLayout& layout, int maxDegree)
    : _domain(std::move(domain)), _values(std::move(functionValues)), _layout(layout),
      _maxDegree(std::clamp(maxDegree, 0, 3))
{
}

ConvergenceStudy::~ConvergenceStudy() = default;

bool ConvergenceStudy::refine(int pointsPerFunction, const std::vector<std::string>& formulas,
                              QString* error)
{
  _points = 0;
  _formulas.clear();
  if (pointsPerFunction == 0)
    return true;
  if (pointsPerFunction < resolvedPoints || pointsPerFunction > maxRefinedSubintervals) {
    *error = QObject::tr("%1 points per basic function are not between %2 and %3")
                 .arg(pointsPerFunction)
                 .arg(resolvedPoints)
                 .arg(maxRefinedSubintervals);
    return false;
  }
  for (std::size_t i = 0; i < _values.size(); ++i) {
    if (i >= formulas.size() || formulas[i].empty()) {
      *error = QObject::tr("function %1 has no formula to evaluate on a finer discretisation "
                           "(data, or random numbers)")
                   .arg(i + 1);
      return false;
    }
  }
  if (!dynamic_cast<const Domains::Equidistant<double>*>(_domain.get())) {
    *error = QObject::tr("only a domain cut into equal parts can be refined");
    return false;
  }
  _points = pointsPerFunction;
  _formulas = formulas;
  return true;
}

int ConvergenceStudy::largestCount() const
{
  return largestStudyCount(_domain && _domain->size() > 1 ? int(_domain->size() - 1) : 0, _points);
}

int ConvergenceStudy::subintervals(int count) const
{
  const int own = _domain && _domain->size() > 1 ? int(_domain->size() - 1) : 0;
  if (_points == 0 || count < 2)
    return own;
  return int(std::max<qint64>(own, qint64(_points) * (count - 1)));
}

int ConvergenceStudy::largestResolvedCount() const
{
  const int own = _domain && _domain->size() > 1 ? int(_domain->size() - 1) : 0;
  // Counts the study cannot lay out or hold cover nothing.
  const auto covered = [this](int count) {
    QString ignored;
    const std::unique_ptr<Partition> part = partition(count, *_domain, &ignored);
    return part ? fewestCoveredPoints(*part) : 0;
  };
  const int atTwo = own >= 2 ? covered(2) : 0;
  if (atTwo < resolvedPoints)
    return 0;
  // A probe builds a whole partition. Coverage falls about as 1/(count - 1)
  // and drops below resolvedPoints about where the node distance holds one
  // point fewer: start there, widen the step until the answer is bracketed,
  // then bisect.
  const int guess = int(std::clamp<qint64>(1 + atTwo / (resolvedPoints - 1), 2, own));
  int good = 2, bad = own + 1;
  if (covered(guess) >= resolvedPoints) {
    good = guess;
    for (int step = 1; good < own; step *= 2) {
      const int next = int(std::min<qint64>(own, qint64(good) + step));
      if (covered(next) < resolvedPoints) {
        bad = next;
        break;
      }
      good = next;
    }
  } else {
    bad = guess;
    for (int step = 1; bad > 2; step *= 2) {
      const int next = std::max(2, bad - step);
      if (next == 2 || covered(next) >= resolvedPoints) {
        good = next;
        break;
      }
      bad = next;
    }
  }
  while (bad - good > 1) {
    const int mid = good + (bad - good) / 2;
    (covered(mid) >= resolvedPoints ? good : bad) = mid;
  }
  return good;
}

std::vector<int> ConvergenceStudy::defaultCounts() const
{
  return Analysis::defaultCounts(largestResolvedCount());
}

const ConvergenceStudy::Domain*
ConvergenceStudy::countDomain(int count, std::unique_ptr<const Domain>* owned) const
{
  const int parts = subintervals(count);
  if (parts == int(_domain->size()) - 1)
    return _domain.get();
  owned->reset(new Domains::Equidistant<double>(_domain->low(), _domain->high(), unsigned(parts)));
  return owned->get();
}

const std::vector<double>* ConvergenceStudy::countValues(std::size_t function, const Domain& domain,
                                                         std::vector<double>* scratch,
                                                         QString* error) const
{
  if (&domain == _domain.get())
    return &_values[function];
  // Evaluated here, by a parser of this thread's own.
  try {
    Formula formula(&domain);
    formula.setExpression(_formulas[function]);
    *scratch = formula.values();
  } catch (const mu::ParserError& e) {
    *error =
        QObject::tr("function %1: %2").arg(function + 1).arg(QString::fromStdString(e.GetMsg()));
    return nullptr;
  }
  return scratch;
}

std::unique_ptr<ConvergenceStudy::Partition>
ConvergenceStudy::partition(int count, const Domain& domain, QString* error) const
{
  const int parts = domain.size() > 1 ? int(domain.size() - 1) : 0;
  if (count < 2 || count > parts) {
    *error =
        QObject::tr("%1 components do not fit the domain's %2 subintervals").arg(count).arg(parts);
    return nullptr;
  }
  if (60.0 * count + 6.0 * double(domain.size()) > maxHeldValues) {
    *error = QObject::tr("%1 components are too many basic functions to hold").arg(count);
    return nullptr;
  }
  QSharedPointer<DataHolders::Domains::Equid> d(new DataHolders::Domains::Equid);
  d->low = domain.low();
  d->high = domain.high();
  d->count = parts;
  const QVector<double> nodes = DataHolders::genericNodes(*d, count);
  if (nodes.size() != count) {
    *error = QObject::tr("%1 components cannot be laid out on this domain").arg(count);
    return nullptr;
  }

  QSharedPointer<DataHolders::Partitions::PartBase> record;
  if (_layout.kind == DataHolders::PartitionKind::Custom) {
    QSharedPointer<DataHolders::Partitions::FuzzyDelta> r(new DataHolders::Partitions::FuzzyDelta);
    const double h = (d->high - d->low) / (count - 1);
    // A hair below the node distance, so that rounding cannot drop the last
    // basic function; every node is then moved to its exact place.
    r->delta = h * (1 - 1e-9);
    r->extraParam = h * _layout.widthRatio;
    r->shape = _layout.shape;
    record = r;
  } else {
    QSharedPointer<DataHolders::Partitions::FuzzyEq> r(new DataHolders::Partitions::FuzzyEq);
    r->componentCount = count;
    r->shape = _layout.shape;
    r->shift = _layout.shift;
    r->offset = _layout.offset;
    record = r;
  }
  record->domain = d;
  record->nodes = nodes;

  std::unique_ptr<Partition> part = TransformPass::build(record, &domain);
  if (!part) {
    *error = QObject::tr("%1 components give no partition that can be transformed").arg(count);
    return nullptr;
  }
  if (_layout.kind == DataHolders::PartitionKind::Custom &&
      part->fceCount() != std::size_t(count)) {
    *error = QObject::tr("the custom layout of %1 nodes gives %2 basic functions")
                 .arg(count)
                 .arg(part->fceCount());
    return nullptr;
  }
  return part;
}

template <typename Done>
void ConvergenceStudy::transform(const Partition& part, const std::vector<double>& f,
                                 Done done) const
{
  TransformPass(part, _layout.basis)
      .transform(f, _maxDegree, [&done](int degree, const auto&, const auto& inverse) {
        return done(degree, inverse);
      });
}

bool ConvergenceStudy::compute(int count, CountResult* result, QString* error,
                               const std::atomic<bool>* cancel) const
{
  *result = CountResult();
  error->clear();
  if (count > largestCount()) {
    *error = QObject::tr("%1 components do not fit the domain's %2 subintervals")
                 .arg(count)
                 .arg(largestCount());
    return false;
  }
  std::unique_ptr<const Domain> refined;
  const Domain& domain = *countDomain(count, &refined);
  const std::unique_ptr<Partition> part = partition(count, domain, error);
  if (!part)
    return false;
  CountResult r;
  r.count = count;
  r.subintervals = int(domain.size() - 1);
  r.fewestPoints = fewestCoveredPoints(*part);
  r.errors.assign(_values.size(), std::vector<ErrorMeasure>(std::size_t(_maxDegree) + 1));
  const std::vector<double>& x = domain.values();
  ErrorTracker tracker;
  std::vector<double> scratch;
  for (std::size_t fi = 0; fi < _values.size(); ++fi) {
    const std::vector<double>* values = countValues(fi, domain, &scratch, error);
    if (!values)
      return false;
    const std::vector<double>& f = *values;
    if (f.size() != x.size()) {
      *error = QObject::tr("function %1 has %2 values for %3 points")
                   .arg(fi + 1)
                   .arg(f.size())
                   .arg(x.size());
      return false;
    }
    transform(*part, f, [&](int degree, const std::vector<double>& inverse) {
      tracker.updateAll(x.data(), f.data(), inverse.data(), x.size());
      r.errors[fi][std::size_t(degree)] = tracker.result();
      return !cancelled(cancel);
    });
    if (cancelled(cancel))
      return false;
  }
  *result = std::move(r);
  return true;
}

bool ConvergenceStudy::inverses(int count, std::size_t function,
                                std::vector<std::vector<double>>* byDegree, QString* error) const
{
  byDegree->clear();
  error->clear();
  if (function >= _values.size() || count > largestCount())
    return false;
  std::unique_ptr<const Domain> refined;
  const Domain& domain = *countDomain(count, &refined);
  const std::unique_ptr<Partition> part = partition(count, domain, error);
  std::vector<double> scratch;
  const std::vector<double>* f = part ? countValues(function, domain, &scratch, error) : nullptr;
  if (!f || f->size() != domain.size())
    return false;
  transform(*part, *f, [byDegree](int, const std::vector<double>& inverse) {
    byDegree->push_back(inverse);
    return true;
  });
  return true;
}

} // namespace Analysis
