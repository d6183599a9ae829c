#include "analysis/errorreport.h"

#include "midle/transform/valuestransform.h"

#include <QObject>

std::vector<Analysis::ErrorMeasure> Analysis::inverseErrors(const TransformPass& pass,
                                                            const double* f, std::size_t n,
                                                            int highest, int threads)
{
  std::vector<ErrorMeasure> errors;
  const double* x = pass.partition().domain()->values().data();
  std::vector<double> inverse(n);
  ValuesTransform(pass, f, n, threads)
      .run(
          highest, [&inverse](int) { return inverse.data(); },
          [&](int, const std::vector<double>&, const double* g) {
            errors.push_back(measureError(x, f, g, n));
            return true;
          });
  return errors;
}

bool Analysis::sweepErrors(const SweepOptions& o,
                           std::unique_ptr<const Domains::EnumerationBase<double>> domain,
                           std::vector<std::vector<double>> values,
                           const std::vector<std::string>& formulas,
                           std::vector<CountResult>* results, QString* error)
{
  StudyLayout layout;
  layout.shape = o.shape >= 0 ? o.shape : int(DataHolders::ShapeTriangle);
  layout.shift = o.shift;
  layout.offset = o.offset;
  layout.basis = o.basis;
  ConvergenceStudy study(std::move(domain), std::move(values), layout, o.degree);
  if (!study.refine(o.pointsPerFunction, formulas, error)) {
    *error = QObject::tr("--points-per-function: %1").arg(*error);
    return false;
  }
  const std::vector<int> counts = o.defaultCounts ? study.defaultCounts() : o.counts;
  if (counts.empty()) {
    *error =
        QObject::tr("--components-sweep default: no count gives basic functions of %1 points or "
                    "more on this domain; give the counts")
            .arg(resolvedPoints);
    return false;
  }
  for (int n : counts) {
    if (n > study.largestCount()) {
      *error = QObject::tr("--components-sweep: %1 is above the domain's %2 subintervals")
                   .arg(n)
                   .arg(study.largestCount());
      return false;
    }
  }
  for (int n : counts) {
    CountResult r;
    QString why;
    if (!study.compute(n, &r, &why)) {
      *error = QObject::tr("--components-sweep: %1").arg(why);
      return false;
    }
    results->push_back(std::move(r));
  }
  return true;
}
