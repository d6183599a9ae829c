#ifndef QUELMORA_TRANSFORMPASS_H
#define QUELMORA_TRANSFORMPASS_H

#include "gui/ftransform_widgets/data_structures.h"
#include "math/fce/higherdegreebasis.h"
#include "math/fce/mathfn.h"
#include "math/partitions/partitionbase.h"

#include <QSharedPointer>

#include <memory>
#include <vector>

template <typename X, typename Y>
class StaticFactory;
class ComponentNodes;

// The F-transforms of functions over one partition, by the rules every part
// of the program follows: which partitions can be transformed, where the
// components sit, and that the inverse of degree m is the inverse of degree
// m - 1 plus the degree-m term. The bases of the chosen kind are made once
// and serve every function; a pass serves one thread at a time. The
// partition must outlive the pass.
class TransformPass
{
public:
  using Partition = Partitions::PartitionBase<double, double>;
  using Function = Fn::MathFn<double, double>;
  using Values = std::vector<double>;
  static constexpr int maxDegree = 3;

  TransformPass(const Partition& partition, Fn::HigherDegreeBasis basis);
  ~TransformPass();
  TransformPass(const TransformPass&) = delete;
  TransformPass& operator=(const TransformPass&) = delete;

  // A partition can be transformed when it has basic functions and each has
  // a one-point kernel (a trapezoid has none).
  static bool transformable(const Partition& partition);
  // The math partition of a record on a domain, or null when the record gives
  // none or one that cannot be transformed. Never drawn: its basic functions
  // keep their values only packed for the sums, or with geometryOnly not at
  // all (evaluated as summed; such a partition cannot move its nodes).
  static std::unique_ptr<Partition>
  build(const QSharedPointer<DataHolders::Partitions::PartBase>& record,
        const Domains::EnumerationBase<double>* domain, bool geometryOnly = false);
  // Where the components sit, one x per basic function: the nodes when there
  // is one basic function per node and the nodes ascend, else the basic
  // functions' peaks in ascending order.
  static Values componentPositions(const Partition& partition);

  const Partition& partition() const { return _part; }
  // How many threads the sums below may use (0: all cores); 1 by default.
  // The results are the same for every count.
  void setThreads(int threads) { _threads = threads; }
  int threads() const { return _threads; }
  // The component positions of this partition, made on first use; the node
  // moves of TransformEngine move them.
  const QSharedPointer<ComponentNodes>& componentNodes() const;

  // The degree-m components of a function's values, one per basic function
  // (m = 0 ... maxDegree).
  void components(const Values& f, int degree, Values& out) const;
  // These on `threads` threads, -1 for the pass's count.
  void components(const double* f, std::size_t n, int degree, Values& out, int threads = -1) const;
  // The inverse of degree 0 from the degree-0 components, with the
  // membership sums the higher degrees divide by.
  void inverse(const Values& components0, Values& inverse, Values& sums) const;
  // The same into inverse[0, n) and sums[0, n), n the domain's size.
  void inverse(const Values& components0, double* inverse, double* sums, int threads = -1) const;
  // Adds the degree-m term (m >= 1) to the inverse of degree m - 1.
  void addTerm(int degree, const Values& components, Values& inverse, const Values& sums) const;
  void addTerm(int degree, const Values& components, double* inverse, const double* sums,
               int threads = -1) const;
  // The same at the points [from, to) only, into out[i - from] and
  // sums[i - from]: the same numbers as over the whole domain.
  void inverseRange(const Values& components0, std::size_t from, std::size_t to, double* out,
                    double* sums) const;
  void addTermRange(int degree, const Values& components, std::size_t from, std::size_t to,
                    double* out, const double* sums) const;

  // For degrees 0, 1, ... highest in turn: the components of f and the
  // inverse of that degree, handed to done(degree, components, inverse),
  // which returns false to stop.
  template <typename Done>
  void transform(const Values& f, int highest, Done done) const
  {
    Values components, inverse, sums;
    for (int degree = 0; degree <= highest; ++degree) {
      this->components(f, degree, components);
      if (degree == 0)
        this->inverse(components, inverse, sums);
      else
        addTerm(degree, components, inverse, sums);
      if (!done(degree, components, inverse))
        return;
    }
  }

  // A function's results as tables the value export writes: the components
  // of degrees 0 ... highest over componentNodes(), and with `inverses` the
  // inverse of each of those degrees over the domain. The pass must outlive them.
  struct Tables
  {
    std::vector<std::unique_ptr<Function>> components, inverses;
  };
  Tables tables(const Function& f, int highest, bool inverses) const;

  // The basis of a degree, as the ranged sums of a node move take it.
  Function& basis(int degree) const;

private:
  const Partition& _part;
  int _threads = 1;
  std::unique_ptr<StaticFactory<double, double>> _bases;
  mutable QSharedPointer<ComponentNodes> _nodes;
};

#endif
