#ifndef QUELMORA_PYTHON_MODULEOBJECTS_H
#define QUELMORA_PYTHON_MODULEOBJECTS_H

#include "analysis/errormeasure.h"
#include "math/fce/higherdegreebasis.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// What the objects of the Python module hold and compute, without Python
// and behind standard types only (the bindings, module.cpp, are heavy to
// compile): a domain, a partition built on it, a session and a data file
// read, and the computations on them. The bindings convert arguments and
// results and release the interpreter around these calls. Every computation
// goes through the batch tool's own code (src/midle/job, src/analysis), so
// its numbers are the tool's. A mistake throws std::invalid_argument with
// the tool's message for the same mistake (ValueError in Python).
namespace Module {

// The degree, the bases and the threads of a computation.
struct Request
{
  int degree = 0;
  Fn::HigherDegreeBasis basis = Fn::HigherDegreeBasis::Orthogonal;
  int threads = 1; // 0: all cores
};
Request request(int degree, const std::string& basis, int threads);

// A domain with the record partitions are laid out on. Immutable, so any
// number of threads may read it.
class Domain
{
public:
  struct Data;
  Domain(double low, double high, long long count);
  explicit Domain(std::unique_ptr<Data> data);
  ~Domain();

  double low() const;
  double high() const;
  int count() const; // subintervals
  const std::vector<double>& x() const;
  std::size_t size() const { return x().size(); }
  const Data& data() const { return *_data; }

private:
  std::unique_ptr<Data> _data;
};
using DomainPtr = std::shared_ptr<const Domain>;

// A partition built on a domain. What the sums read is made on first use,
// once, whichever thread comes first; then any number of threads may
// compute on it.
class Partition
{
public:
  struct Data;
  using Nodes = std::optional<std::vector<double>>;
  static std::shared_ptr<Partition> generic(DomainPtr domain, std::optional<long long> components,
                                            const Nodes& nodes, const std::string& shape,
                                            long long shift, long long offset);
  static std::shared_ptr<Partition> equidistant(DomainPtr domain, std::optional<double> fixedPoint,
                                                std::optional<double> distance,
                                                const std::string& shape, long long shift,
                                                long long offset);
  static std::shared_ptr<Partition> custom(DomainPtr domain, std::optional<double> width,
                                           std::optional<double> variance, const Nodes& nodes,
                                           const std::string& shape);
  Partition(DomainPtr domain, std::unique_ptr<Data> data);
  ~Partition();

  const DomainPtr& domain() const { return _domain; }
  std::size_t size() const; // basic functions
  // Where the components sit, one per basic function.
  const std::vector<double>& positions() const;
  std::string kind() const;
  std::string shape() const;
  const Data& data() const { return *_data; }

private:
  DomainPtr _domain;
  std::unique_ptr<Data> _data;
};
using PartitionPtr = std::shared_ptr<const Partition>;

// The values a computation reads, one per point of a domain: a caller's
// array read in place, or a formula sampled as the tool samples it.
class Samples
{
public:
  // A caller's array must be one-dimensional, one value per point.
  static void checkShape(const Domain& domain, int dimensions, std::size_t size);
  Samples(const double* values, std::size_t size);
  Samples(const Domain& domain, const std::string& formula);
  ~Samples();

  const double* data() const { return _values; }
  std::size_t size() const { return _size; }
  // The formula a study may sample on a finer domain; "" for values.
  std::string refinableFormula() const;

private:
  struct Formula;
  std::unique_ptr<Formula> _formula;
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
struct Sweep
{
  std::optional<std::vector<long long>> counts; // none: the study's own
  std::string shape = "triangle";
  long long shift = 1;
  long long offset = -1;
  long long pointsPerFunction = 0; // 0: off
};
// The checks that need no computation.
void check(const Sweep& sweep, const Request& r);

class Study
{
public:
  enum class Measure { MaxAbs, Rmse, ArgMax };
  Study(const Domain& d, const Samples& f, const Sweep& sweep, const Request& r);
  ~Study();

  std::size_t rows() const;
  int degree() const { return _degree; }
  std::vector<int> counts() const;
  std::vector<int> subintervals() const;
  std::vector<int> fewestPoints() const;
  std::vector<bool> resolved() const;
  // Row by row, degree + 1 values each.
  std::vector<double> measure(Measure m) const;
  // The empirical order per degree (NaN where none can be fitted).
  std::vector<double> orders(Measure m) const;
  // The table quelmora-ft --errors --components-sweep writes, or its orders.
  std::string table(const std::string& name, int precision, bool orders) const;

private:
  struct Results;
  std::unique_ptr<Results> _results;
  int _degree;
};

// A session read as the program opens it.
class Session
{
public:
  Session(const std::string& path, const std::string& formulasFile);
  ~Session();

  const DomainPtr& domain() const { return _domain; }
  const PartitionPtr& partition() const { return _partition; }
  const std::vector<std::vector<double>>& values() const { return _values; }
  const std::vector<std::string>& names() const { return _names; }
  const std::vector<std::string>& notes() const { return _notes; }
  int degree() const { return _degree; }
  // The degrees the window shows (and the tool writes).
  std::vector<int> shownDegrees() const;
  Fn::HigherDegreeBasis basis() const { return _basis; }

private:
  DomainPtr _domain;
  PartitionPtr _partition;
  std::vector<std::vector<double>> _values;
  std::vector<std::string> _names, _notes;
  int _degree = 0, _mask = 1;
  Fn::HigherDegreeBasis _basis = Fn::HigherDegreeBasis::Orthogonal;
};

// The columns of a data file read as the tool reads --data.
class DataFile
{
public:
  DataFile(const std::string& path, const std::optional<std::string>& separator,
           std::optional<long long> xColumn);
  ~DataFile();

  const DomainPtr& domain() const { return _domain; }
  const std::vector<std::vector<double>>& columns() const { return _columns; }
  const std::vector<std::string>& names() const { return _names; }
  const std::vector<std::string>& notes() const { return _notes; }

private:
  DomainPtr _domain;
  std::vector<std::vector<double>> _columns;
  std::vector<std::string> _names, _notes;
};

} // namespace Module

#endif
