#ifndef QUELMORA_PYTHON_MODULEOBJECTS_H
#define QUELMORA_PYTHON_MODULEOBJECTS_H

#include "analysis/convergencestudy.h"
#include "analysis/errormeasure.h"
#include "analysis/errorreport.h"
#include "midle/job/jobinput.h"
#include "midle/job/partitionsetup.h"
#include "midle/transform/transformpass.h"

#include <QStringList>

#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

// What the objects of the Python module hold and compute, without Python:
// the bindings (module.cpp) convert arguments and results and release the
// interpreter around these calls. Every computation goes through the batch
// tool's own code (src/midle/job, src/analysis), so its numbers are the
// tool's. A mistake throws std::invalid_argument with the tool's message for
// the same mistake (ValueError in Python).
namespace Module {

using Function = Fn::MathFn<double, double>;
using MathDomain = Domains::EnumerationBase<double>;

// A domain with the record the partitions are laid out on. Immutable, so
// any number of threads may read it.
class Domain
{
public:
  Domain(double low, double high, long long count);
  Domain(std::unique_ptr<const MathDomain> domain, Job::DomainRecord record);

  const MathDomain& math() const { return *_domain; }
  const Job::DomainRecord& record() const { return _record; }
  const std::vector<double>& x() const { return _domain->values(); }
  std::size_t size() const { return _domain->size(); }

private:
  std::unique_ptr<const MathDomain> _domain;
  Job::DomainRecord _record;
};
using DomainPtr = std::shared_ptr<const Domain>;

// A partition built on a domain. The values the sums read are made on first
// use, once, whichever thread comes first; then any number of threads may
// compute on it.
class Partition
{
public:
  // The partition the options describe (checked as the tool checks them).
  Partition(DomainPtr domain, const PartitionOptions& options);
  // The partition of a record a session holds.
  Partition(DomainPtr domain, Job::PartitionRecord record);

  const DomainPtr& domain() const { return _domain; }
  const Job::PartitionRecord& record() const { return _record; }
  const TransformPass::Partition& math() const { return *_math; }
  std::size_t size() const { return _math->fceCount(); }
  // Where the components sit, one per basic function.
  const std::vector<double>& positions() const { return _positions; }
  std::string kind() const;
  std::string shape() const;

  // Makes what the sums of this degree and basis read.
  void prepare(int degree, Fn::HigherDegreeBasis basis) const;

private:
  void build(bool fromSession);

  DomainPtr _domain;
  Job::PartitionRecord _record;
  std::unique_ptr<TransformPass::Partition> _math;
  std::vector<double> _positions;
  mutable std::once_flag _packed, _fitted;
};
using PartitionPtr = std::shared_ptr<const Partition>;

// The degree, the bases and the threads of a computation, checked.
struct Request
{
  int degree = 0;
  Fn::HigherDegreeBasis basis = Fn::HigherDegreeBasis::Orthogonal;
  int threads = 1;
};
Request request(int degree, const std::string& basis, int threads);
std::string basisName(Fn::HigherDegreeBasis basis);

// The values a computation reads, one per point of a domain: a caller's
// array read in place, or a formula sampled as the tool samples it.
class Samples
{
public:
  // The length a caller's array must have (checked before the interpreter is released).
  static void checkShape(const Domain& domain, int dimensions, std::size_t size);
  Samples(const double* values, std::size_t size) : _values(values), _size(size) {}
  Samples(const Domain& domain, const std::string& formula);

  const double* data() const { return _values; }
  std::size_t size() const { return _size; }
  // The formula a study may sample on a finer domain; "" for values.
  std::string refinableFormula() const;

private:
  std::unique_ptr<Function> _function;
  const double* _values = nullptr;
  std::size_t _size = 0;
};

// Components of degrees 0 ... r.degree into components ((degree + 1) rows
// of p.size()) and inverses into inverse ((degree + 1) rows of the domain's
// points).
void transform(const Partition& p, const Samples& f, const Request& r, double* components,
               double* inverse);
// MaxAbs, RMSE and ArgMax of f minus each inverse, degrees 0 ... r.degree.
std::vector<Analysis::ErrorMeasure> errors(const Partition& p, const Samples& f, const Request& r);

// A convergence sweep of one function over the generic Ruspini layout.
struct SweepRequest
{
  std::optional<std::vector<long long>> counts; // none: the study's own
  std::string shape = "triangle";
  int shift = 1;
  int offset = -1;
  int pointsPerFunction = 0;
};
// Checks what needs no computation.
Analysis::SweepOptions sweepOptions(const SweepRequest& s, const Request& r);
std::vector<Analysis::CountResult> convergence(const Domain& d, const Samples& f,
                                               const Analysis::SweepOptions& options);
// The study as the tool writes it (--errors --components-sweep): the
// table, or the orders fitted on its resolved counts.
std::string studyTable(const std::vector<Analysis::CountResult>& results, const std::string& name,
                       int precision, bool orders);

// A session read as the program opens it.
class Session
{
public:
  Session(const std::string& path, const std::string& formulasFile);

  const DomainPtr& domain() const { return _domain; }
  const PartitionPtr& partition() const { return _partition; }
  const std::vector<std::vector<double>>& values() const { return _values; }
  const QStringList& names() const { return _names; }
  const QStringList& notes() const { return _notes; }
  int degree() const { return _degree; }
  // The degrees the window shows (and the tool writes).
  std::vector<int> shownDegrees() const;
  Fn::HigherDegreeBasis basis() const { return _basis; }

private:
  DomainPtr _domain;
  PartitionPtr _partition;
  std::vector<std::vector<double>> _values;
  QStringList _names, _notes;
  int _degree = 0, _mask = 1;
  Fn::HigherDegreeBasis _basis = Fn::HigherDegreeBasis::Orthogonal;
};

// The columns of a data file read as the tool reads --data.
class DataFile
{
public:
  DataFile(const std::string& path, const std::optional<std::string>& separator,
           std::optional<int> xColumn);

  const DomainPtr& domain() const { return _domain; }
  const std::vector<std::vector<double>>& columns() const { return _columns; }
  const QStringList& names() const { return _names; }
  const QStringList& notes() const { return _notes; }

private:
  DomainPtr _domain;
  std::vector<std::vector<double>> _columns;
  QStringList _names, _notes;
};

} // namespace Module

#endif
