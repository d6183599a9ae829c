#ifndef QUELMORA_NODELAYOUT_H
#define QUELMORA_NODELAYOUT_H

#include "gui/ftransform_widgets/data_structures.h"

#include <QSharedPointer>
#include <QString>
#include <QVector>

// Node layouts of the three partition kinds and the record-level domain
// changes, shared by the partition widgets, the main window, session checks
// and the batch tool, so all of them lay nodes out identically.
//
// Every function here takes values straight from users, sessions and the
// command line: none asserts, loops without bound or allocates without bound.
// Invalid input gives an empty node list or false and leaves records as they were.
namespace DataHolders {

// Largest node list any layout produces (a 10,000,000-subinterval domain has
// one point more). Anything that would lay out more nodes is refused.
constexpr int maxNodeCount = 10000001;

// True when low and high are finite, low < high and high - low is finite.
bool domainRangeValid(double low, double high);
bool domainRangeValid(const Domains::Equid& d);

// The points of Domains::Equidistant(low, high, componentCount - 1): componentCount
// equally spaced nodes including both ends, the last exactly high.
// One component gives the midpoint. Empty for an invalid range or a count
// outside 1..maxNodeCount.
QVector<double> genericNodes(const Domains::Equid& d, int componentCount);

// The sorted points of the fixed-point Domains::Equidistant construction: from
// fixedPoint, step down by h while above low and up by h while below high,
// keeping every point reached (the outermost may lie outside [low, high]; one
// within rounding of an end is that end, Domains::endTolerance).
// Empty unless the range is valid, h > 0 is finite, low <= fixedPoint <= high
// and the layout stays within maxNodeCount points.
QVector<double> fixedPointNodes(const Domains::Equid& d, double fixedPoint, double h);

// low, low + delta, low + 2 delta, ... while <= high, the last one within
// rounding of high taken as high (the custom partition steps its prototype the
// same way). Empty unless the range is valid, delta > 0 is finite and the
// layout stays within maxNodeCount points.
QVector<double> deltaNodes(const Domains::Equid& d, double delta);

// Upper estimate of the node count of fixedPointNodes/deltaNodes for a step,
// without laying anything out; -1 when the step or the range is unusable.
// Callers bound user input with it before asking for a layout.
qint64 stepNodeCountEstimate(const Domains::Equid& d, double step);

// Nodes a partition may be built on: at least two, finite, ascending
// (duplicates allowed) and inside [low, high]. On failure *why says what is wrong.
bool nodesValid(const QVector<double>& nodes, const Domains::Equid& d, QString* why = nullptr);

namespace Partitions {

// Bounds of a node distance or element width over a range r = high - low.
double minimumStep(const DataHolders::Domains::Equid& d); // r / 10000
double maximumStep(const DataHolders::Domains::Equid& d); // r

// A fresh layout of the record's nodes over its own domain, as the widget of
// the record's kind lays them out (generic nodes, fixed-point nodes or delta
// nodes). Empty for an invalid record or a kind without a layout.
QVector<double> layoutNodes(const PartBase& record);

// Domain changes as the partition widgets make them: the record takes the new
// domain and a fresh node layout over it.
//  - FuzzyEq: nodes = genericNodes(domain, componentCount).
//  - FuzzyPt: partElementWidth is clamped into [r/10000, r]; fixedPoint is kept
//    when low and high are unchanged (and pulled into the range), else it becomes
//    low + h; then nodes = fixedPointNodes.
//  - FuzzyDelta: delta is clamped into [r/10000, r], extraParam raised to
//    delta/10000; then nodes = deltaNodes.
// The step is clamped before the layout so that a much larger domain cannot
// explode the node count and a smaller one cannot push the fixed point out.
// Returns false and changes nothing when the domain is null or invalid or the
// layout fails.
bool setDomain(FuzzyEq& record, const QSharedPointer<DataHolders::Domains::Equid>& domain);
bool setDomain(FuzzyPt& record, const QSharedPointer<DataHolders::Domains::Equid>& domain);
bool setDomain(FuzzyDelta& record, const QSharedPointer<DataHolders::Domains::Equid>& domain);

// The main window's reset of the records to a domain (new session defaults):
//  - FuzzyEq: componentCount 5, generic nodes.
//  - FuzzyPt: fixedPoint = low, partElementWidth = (high - low) * 0.25, fixed-point nodes.
//  - FuzzyDelta: delta = (high - low) * 0.25, extraParam = delta * 0.5, delta nodes.
// Same failure rule as setDomain.
bool resetToDomain(FuzzyEq& record, const QSharedPointer<DataHolders::Domains::Equid>& domain);
bool resetToDomain(FuzzyPt& record, const QSharedPointer<DataHolders::Domains::Equid>& domain);
bool resetToDomain(FuzzyDelta& record, const QSharedPointer<DataHolders::Domains::Equid>& domain);

} // namespace Partitions
} // namespace DataHolders

#endif
