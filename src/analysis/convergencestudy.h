#ifndef QUELMORA_ANALYSIS_CONVERGENCESTUDY_H
#define QUELMORA_ANALYSIS_CONVERGENCESTUDY_H

#include "analysis/errormeasure.h"
#include "gui/ftransform_widgets/data_structures.h"

#include <QString>

#include "math/fce/higherdegreebasis.h"
#include "math/partitions/partitionbase.h"

#include <atomic>
#include <memory>
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
  int kind = DataHolders::KindGenericRuspini;
  int shape = DataHolders::ShapeTriangle;
  int shift = 1;
  int offset = -1;
  double widthRatio = 0.5;
  Fn::HigherDegreeBasis basis = Fn::HigherDegreeBasis::Orthogonal;
};

// About `steps` counts in geometric progression from min(first, largest) to
// largest, rounded, ascending and without repeats; empty when largest < 2.
std::vector<int> defaultCounts(int largest, int steps = 12, int first = 4);

// A comma-separated list of whole counts, each 2..largest, strictly
// ascending. False with a one-line reason (no option name) otherwise.
bool parseCounts(const QString& text, int largest, std::vector<int>* counts, QString* error);
QString countsText(const std::vector<int>& counts);

// The empirical order p of error ~ C * N^-p: minus the least-squares slope of
// log error against log count over the finer half of the counts (at least two
// counts). Counts whose error is not positive and finite are left out; NaN
// when fewer than two are left.
double empiricalOrder(const std::vector<int>& counts, const std::vector<double>& errors);

// The errors of the inverse F-transforms of degrees 0 to maxDegree of some
// functions over a list of component counts. It owns copies of the domain
// and of the function values, so one study may run on a worker thread while
// the program goes on; one partition lives at a time.
class ConvergenceStudy
{
public:
  ConvergenceStudy(std::unique_ptr<const Domains::EnumerationBase<double>> domain,
                   std::vector<std::vector<double>> functionValues, const StudyLayout& layout,
                   int maxDegree);
  ~ConvergenceStudy();

  // The largest count the domain allows: its number of subintervals.
  int largestCount() const;
  int maxDegree() const { return _maxDegree; }
  std::size_t functionCount() const { return _values.size(); }
  const Domains::EnumerationBase<double>& domain() const { return *_domain; }
  const std::vector<double>& values(std::size_t function) const { return _values[function]; }
  const StudyLayout& layout() const { return _layout; }

  // errors[function][degree] at one count. False with a reason when the
  // count gives no partition that can be transformed, or (with an empty
  // reason) when *cancel was set meanwhile.
  bool compute(int count, std::vector<std::vector<ErrorMeasure>>* errors, QString* error,
               const std::atomic<bool>* cancel = nullptr) const;
  // The inverses of degrees 0..maxDegree of one function at one count, one
  // value per domain point each; false with a reason as compute.
  bool inverses(int count, std::size_t function, std::vector<std::vector<double>>* byDegree,
                QString* error) const;

private:
  using Partition = Partitions::PartitionBase<double, double>;

  std::unique_ptr<Partition> partition(int count, QString* error) const;
  // Calls done(degree, inverse) after each degree; stops early when it returns false.
  template <typename Done>
  void transform(const Partition& part, const std::vector<double>& f, Done done) const;

  std::unique_ptr<const Domains::EnumerationBase<double>> _domain;
  std::vector<std::vector<double>> _values;
  StudyLayout _layout;
  int _maxDegree;
};

} // namespace Analysis

#endif
