#ifndef QUELMORA_ANALYSIS_CONVERGENCESTUDY_H
#define QUELMORA_ANALYSIS_CONVERGENCESTUDY_H

#include "analysis/errormeasure.h"
#include "gui/ftransform_widgets/data_structures.h"

#include <QList>
#include <QString>
#include <QStringList>

#include "math/fce/higherdegreebasis.h"
#include "math/partitions/partitionbase.h"

#include <atomic>
#include <memory>
#include <string>
#include <vector>

namespace Analysis {

// The partition a convergence study builds for each component count N: N
// equidistant nodes from the domain's low to its high end. The Ruspini kinds
// (generic and equidistant) take the generic Ruspini layout of N components
// with the shape, shift and offset given; the custom kind puts one basic
// function of its shape on each of those nodes, as wide (its "Variance")
// relative to the node distance as widthRatio says.
struct StudyLayout
{
  DataHolders::PartitionKind kind = DataHolders::PartitionKind::Generic;
  int shape = DataHolders::ShapeTriangle;
  int shift = 1;
  int offset = -1;
  double widthRatio = 0.5;
  Fn::HigherDegreeBasis basis = Fn::HigherDegreeBasis::Orthogonal;
};

// A basic function that covers fewer domain points than this is
// under-resolved: its component averages a handful of samples, and the error
// at its count tells of the sampling rather than of the approximation.
constexpr int resolvedPoints = 8;
// "Points per basic function" when it is turned on.
constexpr int defaultPointsPerFunction = 64;
// The finest discretisation a refined count may take: the program's own.
constexpr int maxRefinedSubintervals = DataHolders::Domains::maxDiscretization;

// The largest count a study takes on a domain of that many subintervals:
// those, or with points per basic function P (0: off) the count whose refined
// discretisation is the finest allowed, whichever is larger.
int largestStudyCount(int subintervals, int pointsPerFunction);

// About `steps` counts in geometric progression from min(first, largest) to
// largest, rounded, ascending and without repeats; empty when largest < 2.
std::vector<int> defaultCounts(int largest, int steps = 12, int first = 4);

// A comma-separated list of whole counts, each 2..largest, strictly
// ascending. False with a one-line reason (no option name) otherwise.
bool parseCounts(const QString& text, int largest, std::vector<int>* counts, QString* error);
QString countsText(const std::vector<int>& counts);

// The empirical order p of error ~ C * N^-p, with the counts it was fitted on.
struct OrderFit
{
  double order = ErrorMeasure::none;
  int from = 0;   // the smallest count fitted
  int to = 0;     // the largest count fitted
  int counts = 0; // how many counts were fitted
};

// Minus the least-squares slope of log error against log count over the
// finer half of the counts (at least two counts). Counts whose error is not
// positive and finite are left out; no order when fewer than two are left.
OrderFit empiricalOrder(const std::vector<int>& counts, const std::vector<double>& errors);

// What one count of a study gave.
struct CountResult
{
  int count = 0;
  int subintervals = 0;                          // of the discretisation the count was computed on
  int fewestPoints = 0;                          // the fewest points a basic function covers there
  std::vector<std::vector<ErrorMeasure>> errors; // [function][degree]

  bool resolved() const { return fewestPoints >= resolvedPoints; }
};

enum class Measure { MaxAbs, Rmse };

// The empirical order of one function's degree over the resolved results
// (under-resolved counts are left out).
OrderFit fitOrder(const std::vector<CountResult>& results, std::size_t function, int degree,
                  Measure measure);

// The study as one semicolon-separated table: a row per count, function and
// degree; the last columns tell the discretisation each count was computed
// on and mark the under-resolved counts.
QStringList tableHeader();
QList<QStringList> tableRows(const std::vector<CountResult>& results, const QStringList& names,
                             int precision);
// The orders, a row per function, degree and measure, with the counts fitted.
QStringList ordersHeader();
QList<QStringList> orderRows(const std::vector<CountResult>& results, const QStringList& names,
                             int precision);
// Where the orders go beside a table: its name with "-orders" before the suffix.
QString ordersPath(const QString& tablePath);
// Writes the table to tablePath and the orders to ordersPath(tablePath); each
// file is replaced only when written completely. False with the reason.
bool writeStudy(const QString& tablePath, const std::vector<CountResult>& results,
                const QStringList& names, int precision, bool waitForReader, QString* error);

// The formula a function evaluates, or "" for one that holds values only
// (data). A formula that draws random numbers gives "" as well: sampled
// again on a finer discretisation it would be another function.
std::string refinableFormula(const Fn::MathFn<double, double>& function);

// The errors of the inverse F-transforms of degrees 0 to maxDegree of some
// functions over a list of component counts. It owns copies of the domain
// and of the function values, so one study may run on a worker thread while
// the program goes on; one partition lives at a time.
//
// With points per basic function P (refine), a count N whose basic functions
// would cover fewer points is computed on a finer discretisation of the same
// interval, P subintervals per node distance, the functions evaluated there
// from their formulas: the study then measures the approximation, not the
// sampling.
class ConvergenceStudy
{
public:
  ConvergenceStudy(std::unique_ptr<const Domains::EnumerationBase<double>> domain,
                   std::vector<std::vector<double>> functionValues, const StudyLayout& layout,
                   int maxDegree);
  ~ConvergenceStudy();

  // Turns refinement on (P >= resolvedPoints) or off (P = 0). formulas[i]
  // is function i's refinableFormula. False with a reason when a function
  // has none, the domain is not an interval cut into equal parts, or P is
  // out of range; the study is then left unrefined.
  bool refine(int pointsPerFunction, const std::vector<std::string>& formulas, QString* error);
  int pointsPerFunction() const { return _points; }

  // largestStudyCount of the study's domain and refinement.
  int largestCount() const;
  // The subintervals a count is computed on.
  int subintervals(int count) const;
  // The largest count whose basic functions each cover at least
  // resolvedPoints points of the study's own domain; 0 when none does.
  int largestResolvedCount() const;
  // defaultCounts up to largestResolvedCount.
  std::vector<int> defaultCounts() const;

  int maxDegree() const { return _maxDegree; }
  std::size_t functionCount() const { return _values.size(); }
  const Domains::EnumerationBase<double>& domain() const { return *_domain; }
  const std::vector<double>& values(std::size_t function) const { return _values[function]; }
  const StudyLayout& layout() const { return _layout; }

  // The errors at one count. False with a reason when the count gives no
  // partition that can be transformed, or (with an empty reason) when
  // *cancel was set meanwhile.
  bool compute(int count, CountResult* result, QString* error,
               const std::atomic<bool>* cancel = nullptr) const;
  // The inverses of degrees 0..maxDegree of one function at one count, one
  // value per point of the count's discretisation each; false with a reason
  // as compute.
  bool inverses(int count, std::size_t function, std::vector<std::vector<double>>* byDegree,
                QString* error) const;

private:
  using Domain = Domains::EnumerationBase<double>;
  using Partition = Partitions::PartitionBase<double, double>;

  // The domain of a count: the study's own, or a refined one (then owned by `owned`).
  const Domain* countDomain(int count, std::unique_ptr<const Domain>* owned) const;
  // Function i's values on a count's domain, into *scratch when refined.
  const std::vector<double>* countValues(std::size_t function, const Domain& domain,
                                         std::vector<double>* scratch, QString* error) const;
  std::unique_ptr<Partition> partition(int count, const Domain& domain, QString* error) const;
  // Calls done(degree, inverse) after each degree; stops early when it returns false.
  template <typename Done>
  void transform(const Partition& part, const std::vector<double>& f, Done done) const;

  std::unique_ptr<const Domain> _domain;
  std::vector<std::vector<double>> _values;
  StudyLayout _layout;
  int _maxDegree;
  int _points = 0;
  std::vector<std::string> _formulas;
};

// The fewest points of its domain any basic function of the partition
// covers (where its membership is above 0); 0 without basic functions.
int fewestCoveredPoints(const Partitions::PartitionBase<double, double>& partition);

} // namespace Analysis

#endif
