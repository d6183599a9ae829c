#include "gui/ftransform_widgets/nodelayout.h"

#include "math/domains/steplayout.h"

#include <QObject>

#include <algorithm>
#include <cmath>

namespace DataHolders {

namespace {

// NaN fails every comparison, so "!(x > 0)" also catches it.
bool positiveFinite(double x)
{
  return std::isfinite(x) && x > 0.0;
}

// A step clamped into [r / 10000, r]; an unusable step falls back to r / 4.
double clampStep(double step, const Domains::Equid& d)
{
  const double lo = Partitions::minimumStep(d);
  const double hi = Partitions::maximumStep(d);
  if (std::isnan(step))
    return (d.high - d.low) * 0.25;
  return std::min(std::max(step, lo), hi);
}

} // namespace

bool domainRangeValid(double low, double high)
{
  return std::isfinite(low) && std::isfinite(high) && low < high && std::isfinite(high - low);
}

bool domainRangeValid(const Domains::Equid& d)
{
  return domainRangeValid(d.low, d.high);
}

QVector<double> genericNodes(const Domains::Equid& d, int componentCount)
{
  if (!domainRangeValid(d) || componentCount < 1 || componentCount > maxNodeCount)
    return {};
  if (componentCount == 1)
    return {d.low + (d.high - d.low) * 0.5};

  // The arithmetic of the count construction of Domains::Equidistant, so the
  // nodes equal its points bit for bit; the last one is high exactly.
  const unsigned parts = static_cast<unsigned>(componentCount - 1);
  const double width = (d.high - d.low) / static_cast<double>(parts);
  QVector<double> nodes;
  nodes.reserve(componentCount);
  for (unsigned i = 0; i < parts; ++i)
    nodes.append(static_cast<double>(i) * width + d.low);
  nodes.append(d.high);
  return nodes;
}

qint64 stepNodeCountEstimate(const Domains::Equid& d, double step)
{
  if (!domainRangeValid(d) || !positiveFinite(step))
    return -1;
  const double steps = (d.high - d.low) / step;
  if (!(steps <= static_cast<double>(maxNodeCount)))
    return qint64(maxNodeCount) + 1;
  return static_cast<qint64>(steps) + 3;
}

QVector<double> fixedPointNodes(const Domains::Equid& d, double fixedPoint, double h)
{
  if (!domainRangeValid(d) || !positiveFinite(h) || !std::isfinite(fixedPoint) ||
      fixedPoint < d.low || fixedPoint > d.high)
    return {};
  if (stepNodeCountEstimate(d, h) > maxNodeCount)
    return {};

  // Same steps as the fixed-point construction of Domains::Equidistant, with a
  // cap: a step below the spacing of doubles at fixedPoint would never move.
  const double tolerance = ::Domains::endTolerance(d.low, d.high, h);
  QVector<double> nodes;
  nodes.append(fixedPoint);
  double x = fixedPoint;
  for (double k = 1; x > d.low; ++k) {
    const double next = ::Domains::stepPoint(fixedPoint, -k, h, d.low, d.high, tolerance);
    if (next == x || nodes.size() >= maxNodeCount)
      return {};
    x = next;
    nodes.append(x);
  }
  x = fixedPoint;
  for (double k = 1; x < d.high; ++k) {
    const double next = ::Domains::stepPoint(fixedPoint, k, h, d.low, d.high, tolerance);
    if (next == x || nodes.size() >= maxNodeCount)
      return {};
    x = next;
    nodes.append(x);
  }
  std::sort(nodes.begin(), nodes.end());
  return nodes;
}

QVector<double> deltaNodes(const Domains::Equid& d, double delta)
{
  if (!domainRangeValid(d) || !positiveFinite(delta))
    return {};
  if (stepNodeCountEstimate(d, delta) > maxNodeCount)
    return {};

  // The centres the custom partition gives its basic functions: low + k delta
  // up to high, within the rounding allowance of the end, so both agree on the count.
  const double tolerance = ::Domains::endTolerance(d.low, d.high, delta);
  QVector<double> nodes;
  for (double k = 0;; ++k) {
    const double x = ::Domains::stepPoint(d.low, k, delta, d.low, d.high, tolerance);
    if (!(x <= d.high))
      break;
    if (nodes.size() >= maxNodeCount || (!nodes.isEmpty() && x == nodes.last()))
      return {};
    nodes.append(x);
  }
  return nodes;
}

bool nodesValid(const QVector<double>& nodes, const Domains::Equid& d, QString* why)
{
  auto fail = [why](const QString& text) {
    if (why)
      *why = text;
    return false;
  };
  if (!domainRangeValid(d))
    return fail(QObject::tr("the domain is not valid"));
  if (nodes.size() < 2)
    return fail(QObject::tr("at least two nodes are needed"));
  if (nodes.size() > maxNodeCount)
    return fail(QObject::tr("too many nodes"));
  for (int i = 0; i < nodes.size(); ++i) {
    if (!std::isfinite(nodes[i]))
      return fail(QObject::tr("node %1 is not a finite number").arg(i));
    if (i > 0 && nodes[i] < nodes[i - 1])
      return fail(QObject::tr("nodes are not in ascending order"));
  }
  if (nodes.first() < d.low || nodes.last() > d.high)
    return fail(QObject::tr("nodes lie outside the domain [%1, %2]").arg(d.low).arg(d.high));
  return true;
}

namespace Partitions {

double minimumStep(const DataHolders::Domains::Equid& d)
{
  return (d.high - d.low) / 10000.0;
}

double maximumStep(const DataHolders::Domains::Equid& d)
{
  return d.high - d.low;
}

QVector<double> layoutNodes(const PartBase& record)
{
  if (!record.domain)
    return {};
  const DataHolders::Domains::Equid& d = *record.domain;
  switch (record.kind()) {
  case PartitionKind::Generic:
    if (auto r = dynamic_cast<const FuzzyEq*>(&record))
      return genericNodes(d, r->componentCount);
    break;
  case PartitionKind::Equidistant:
    if (auto r = dynamic_cast<const FuzzyPt*>(&record))
      return fixedPointNodes(d, r->fixedPoint, r->partElementWidth);
    break;
  case PartitionKind::Custom:
    if (auto r = dynamic_cast<const FuzzyDelta*>(&record))
      return deltaNodes(d, r->delta);
    break;
  default:
    break;
  }
  return {};
}

bool setDomain(FuzzyEq& record, const QSharedPointer<DataHolders::Domains::Equid>& domain)
{
  if (!domain || !domainRangeValid(*domain))
    return false;
  QVector<double> nodes = genericNodes(*domain, record.componentCount);
  if (nodes.isEmpty())
    return false;
  record.domain = domain;
  record.nodes = std::move(nodes);
  return true;
}

bool setDomain(FuzzyPt& record, const QSharedPointer<DataHolders::Domains::Equid>& domain)
{
  if (!domain || !domainRangeValid(*domain))
    return false;
  const DataHolders::Domains::Equid& d = *domain;
  const double h = clampStep(record.partElementWidth, d);
  const bool sameRange =
      record.domain && record.domain->low == d.low && record.domain->high == d.high;
  double fixedPoint = std::min(d.low + h, d.high);
  if (sameRange && std::isfinite(record.fixedPoint))
    fixedPoint = std::min(std::max(record.fixedPoint, d.low), d.high);
  QVector<double> nodes = fixedPointNodes(d, fixedPoint, h);
  if (nodes.isEmpty())
    return false;
  record.domain = domain;
  record.partElementWidth = h;
  record.fixedPoint = fixedPoint;
  record.nodes = std::move(nodes);
  return true;
}

bool setDomain(FuzzyDelta& record, const QSharedPointer<DataHolders::Domains::Equid>& domain)
{
  if (!domain || !domainRangeValid(*domain))
    return false;
  const DataHolders::Domains::Equid& d = *domain;
  const double delta = clampStep(record.delta, d);
  double extraParam = record.extraParam;
  if (!std::isfinite(extraParam))
    extraParam = delta * 0.5;
  extraParam = std::max(extraParam, delta / 10000.0);
  QVector<double> nodes = deltaNodes(d, delta);
  if (nodes.isEmpty())
    return false;
  record.domain = domain;
  record.delta = delta;
  record.extraParam = extraParam;
  record.nodes = std::move(nodes);
  return true;
}

bool resetToDomain(FuzzyEq& record, const QSharedPointer<DataHolders::Domains::Equid>& domain)
{
  if (!domain || !domainRangeValid(*domain))
    return false;
  QVector<double> nodes = genericNodes(*domain, 5);
  if (nodes.isEmpty())
    return false;
  record.domain = domain;
  record.componentCount = 5;
  record.chosenComponentCount = 0;
  record.nodes = std::move(nodes);
  return true;
}

bool resetToDomain(FuzzyPt& record, const QSharedPointer<DataHolders::Domains::Equid>& domain)
{
  if (!domain || !domainRangeValid(*domain))
    return false;
  const double h = (domain->high - domain->low) * 0.25;
  QVector<double> nodes = fixedPointNodes(*domain, domain->low, h);
  if (nodes.isEmpty())
    return false;
  record.domain = domain;
  record.fixedPoint = domain->low;
  record.partElementWidth = h;
  record.nodes = std::move(nodes);
  return true;
}

bool resetToDomain(FuzzyDelta& record, const QSharedPointer<DataHolders::Domains::Equid>& domain)
{
  if (!domain || !domainRangeValid(*domain))
    return false;
  const double delta = (domain->high - domain->low) * 0.25;
  QVector<double> nodes = deltaNodes(*domain, delta);
  if (nodes.isEmpty())
    return false;
  record.domain = domain;
  record.delta = delta;
  record.extraParam = delta * 0.5;
  record.nodes = std::move(nodes);
  return true;
}

} // namespace Partitions
} // namespace DataHolders
