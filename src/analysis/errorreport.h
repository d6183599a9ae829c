#ifndef QUELMORA_ANALYSIS_ERRORREPORT_H
#define QUELMORA_ANALYSIS_ERRORREPORT_H

#include "analysis/convergencestudy.h"
#include "analysis/errormeasure.h"
#include "math/fce/higherdegreebasis.h"
#include "midle/transform/transformpass.h"

#include <QString>

#include <memory>
#include <string>
#include <vector>

namespace Analysis {

// MaxAbs, RMSE and ArgMax of f minus its inverse F-transform of each degree
// 0 ... highest over the pass's partition, one measure per degree; f holds
// n values, one per point of the partition's domain, read in place.
std::vector<ErrorMeasure> inverseErrors(const TransformPass& pass, const double* f, std::size_t n,
                                        int highest, int threads = 1);

// A convergence sweep over component counts of the generic Ruspini layout,
// as the batch tool's --components-sweep asks for it.
struct SweepOptions
{
  int shape = -1; // -1: triangle
  int shift = 1;
  int offset = -1;
  Fn::HigherDegreeBasis basis = Fn::HigherDegreeBasis::Orthogonal;
  int degree = 0;
  std::vector<int> counts;    // ascending
  bool defaultCounts = false; // the study's own counts instead
  int pointsPerFunction = 0;  // 0: no refinement
  int threads = 1;            // allowed; the study runs on one today
};

// The errors at each count for functions given by their values on the
// domain (and their refinableFormula, "" for data), in order. False with
// the tool's message for counts or a refinement the domain cannot take.
bool sweepErrors(const SweepOptions& options,
                 std::unique_ptr<const Domains::EnumerationBase<double>> domain,
                 std::vector<std::vector<double>> values, const std::vector<std::string>& formulas,
                 std::vector<CountResult>* results, QString* error);

} // namespace Analysis

#endif
