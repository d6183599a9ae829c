#include "analysis/convergencestudy.h"

#include "design_patterns/staticfactory/staticfactory.h"
#include "gui/ftransform_widgets/nodelayout.h"
#include "math/fce/fce_algorithms.h"
#include "math/partitions/partitionbase.h"

#include <QObject>
#include <QStringList>

#include <algorithm>
#include <cmath>

namespace Analysis {

namespace {

// What one count may hold at once, in doubles: about 60 per basic function
// (its object, cache window and bindings) and the work arrays per point.
constexpr double maxHeldValues = 1.5e8;

bool cancelled(const std::atomic<bool>* cancel)
{
  return cancel && cancel->load(std::memory_order_relaxed);
}

} // namespace

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

double empiricalOrder(const std::vector<int>& counts, const std::vector<double>& errors)
{
  const std::size_t k = std::min(counts.size(), errors.size());
  const std::size_t half = std::max<std::size_t>(2, (k + 1) / 2);
  std::vector<double> lx, ly;
  for (std::size_t i = k > half ? k - half : 0; i < k; ++i) {
    if (counts[i] > 0 && errors[i] > 0 && std::isfinite(errors[i])) {
      lx.push_back(std::log(double(counts[i])));
      ly.push_back(std::log(errors[i]));
    }
  }
  if (lx.size() < 2)
    return ErrorMeasure::none;
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
  return sxx > 0 ? -sxy / sxx : ErrorMeasure::none;
}

ConvergenceStudy::ConvergenceStudy(std::unique_ptr<const Domains::EnumerationBase<double>> domain,
                                   std::vector<std::vector<double>> functionValues,
                                   const StudyLayout& layout, int maxDegree)
    : _domain(std::move(domain)), _values(std::move(functionValues)), _layout(layout),
      _maxDegree(std::clamp(maxDegree, 0, 3))
{
}

ConvergenceStudy::~ConvergenceStudy() = default;

int ConvergenceStudy::largestCount() const
{
  return _domain && _domain->size() > 1 ? int(_domain->size() - 1) : 0;
}

std::unique_ptr<ConvergenceStudy::Partition> ConvergenceStudy::partition(int count,
                                                                         QString* error) const
{
  if (count < 2 || count > largestCount()) {
    *error = QObject::tr("%1 components do not fit the domain's %2 subintervals")
                 .arg(count)
                 .arg(largestCount());
    return nullptr;
  }
  if (60.0 * count + 6.0 * double(_domain->size()) > maxHeldValues) {
    *error = QObject::tr("%1 components are too many basic functions to hold").arg(count);
    return nullptr;
  }
  QSharedPointer<DataHolders::Domains::Equid> d(new DataHolders::Domains::Equid);
  d->low = _domain->low();
  d->high = _domain->high();
  d->count = largestCount();
  d->center = (d->low + d->high) * 0.5;
  const QVector<double> nodes = DataHolders::genericNodes(*d, count);
  if (nodes.size() != count) {
    *error = QObject::tr("%1 components cannot be laid out on this domain").arg(count);
    return nullptr;
  }

  QSharedPointer<DataHolders::Partitions::PartBase> record;
  if (_layout.kind == DataHolders::KindCustomPartition) {
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

  std::unique_ptr<Partition> part(DataHolders::createPartition(record, _domain.get()));
  const bool transformable =
      part && part->fceCount() > 0 &&
      std::all_of(part->allFce().begin(), part->allFce().end(),
                  [](const auto* fs) { return fs->kernelBegin() == fs->kernelEnd(); });
  if (!transformable) {
    *error = QObject::tr("%1 components give no partition that can be transformed").arg(count);
    return nullptr;
  }
  if (_layout.kind == DataHolders::KindCustomPartition && part->fceCount() != std::size_t(count)) {
    *error = QObject::tr("the custom layout of %1 nodes gives %2 basic functions")
                 .arg(count)
                 .arg(part->fceCount());
    return nullptr;
  }
  return part;
}

// As the controller computes them: each degree adds its term to the inverse
// of the degree below.
template <typename Done>
void ConvergenceStudy::transform(const Partition& part, const std::vector<double>& f,
                                 Done done) const
{
  StaticFactory<double, double> bases(_domain.get(), _layout.basis);
  std::vector<double> components, inverse, sums;
  for (int degree = 0; degree <= _maxDegree; ++degree) {
    Fn::directTransform(part, *bases.get(degree), f, components);
    if (degree == 0)
      Fn::inverseTransform(part, components, inverse, &sums);
    else
      Fn::addHigherDegreeTerm(part, *bases.get(degree), components, inverse, sums);
    if (!done(degree, inverse))
      return;
  }
}

bool ConvergenceStudy::compute(int count, std::vector<std::vector<ErrorMeasure>>* errors,
                               QString* error, const std::atomic<bool>* cancel) const
{
  errors->clear();
  error->clear();
  const std::unique_ptr<Partition> part = partition(count, error);
  if (!part)
    return false;
  const std::vector<double>& x = _domain->values();
  ErrorTracker tracker;
  std::vector<std::vector<ErrorMeasure>> result(
      _values.size(), std::vector<ErrorMeasure>(std::size_t(_maxDegree) + 1));
  for (std::size_t fi = 0; fi < _values.size(); ++fi) {
    const std::vector<double>& f = _values[fi];
    if (f.size() != x.size()) {
      *error = QObject::tr("function %1 has %2 values for %3 points")
                   .arg(fi + 1)
                   .arg(f.size())
                   .arg(x.size());
      return false;
    }
    transform(*part, f, [&](int degree, const std::vector<double>& inverse) {
      tracker.updateAll(x.data(), f.data(), inverse.data(), x.size());
      result[fi][std::size_t(degree)] = tracker.result();
      return !cancelled(cancel);
    });
    if (cancelled(cancel))
      return false;
  }
  errors->swap(result);
  return true;
}

bool ConvergenceStudy::inverses(int count, std::size_t function,
                                std::vector<std::vector<double>>* byDegree, QString* error) const
{
  byDegree->clear();
  error->clear();
  const std::unique_ptr<Partition> part = partition(count, error);
  if (!part || function >= _values.size() || _values[function].size() != _domain->size())
    return false;
  transform(*part, _values[function], [byDegree](int, const std::vector<double>& inverse) {
    byDegree->push_back(inverse);
    return true;
  });
  return true;
}

} // namespace Analysis
