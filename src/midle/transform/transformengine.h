#ifndef QUELMORA_TRANSFORMENGINE_H
#define QUELMORA_TRANSFORMENGINE_H

#include "gui/ftransform_widgets/data_structures.h"
#include "math/fce/higherdegreebasis.h"
#include "midle/transform/ftransformchange.h"
#include "midle/transform/partitionlayout.h"
#include "midle/transform/transformpass.h"

#include <QList>
#include <QMap>
#include <QSharedPointer>
#include <QString>

#include <memory>
#include <utility>
#include <vector>

// The transforms the window shows, kept current: the math partition of the
// partition record on the computation domain, for every function the
// components of degrees 0 ... maxDegree (edited components applied) and the
// inverses of the shown degrees, keyed by (function, degree flag). After a
// node move it updates only what the moved basic functions reach, in place,
// and says what changed. The functions and the domain belong to the caller,
// who removes the functions (removeFunctions) before deleting them and
// installs another domain before deleting the one in use.
class TransformEngine
{
public:
  using Function = Fn::MathFn<double, double>;
  using FunctionMap = QMap<FnKey, QSharedPointer<Function>>;
  using Partition = TransformPass::Partition;
  using PartitionRecord = QSharedPointer<DataHolders::Partitions::PartBase>;
  using Domain = Domains::EnumerationBase<double>;
  using Ranges = std::vector<std::pair<std::size_t, std::size_t>>;
  // The highest degree there is.
  static constexpr int topDegree = TransformPass::maxDegree;

  TransformEngine();
  ~TransformEngine();
  TransformEngine(const TransformEngine&) = delete;
  TransformEngine& operator=(const TransformEngine&) = delete;

  // The inputs. Setting them computes nothing.
  void setDomain(const Domain* domain) { _domain = domain; }
  const Domain* domain() const { return _domain; }
  void setRecord(const PartitionRecord& record) { _record = record; }
  const PartitionRecord& record() const { return _record; }
  // Clamped to 0 ... 3.
  void setMaxDegree(int degree);
  int maxDegree() const { return _maxDegree; }
  // Degree flags whose inverses are kept; degrees above maxDegree are skipped.
  void setVisibleDegrees(int mask) { _visibleDegrees = mask; }
  int visibleDegrees() const { return _visibleDegrees; }
  void setBasis(Fn::HigherDegreeBasis basis) { _basis = basis; }
  // How many threads the sums may use (0: all cores; 1, the default: the
  // caller's only). The results are the same for every count.
  void setThreads(int threads) { _threads = threads; }
  int threads() const { return _threads; }
  Fn::HigherDegreeBasis basis() const { return _basis; }

  // The functions computed by compute(), in their order.
  void addFunctions(const QList<Function*>& fns) { _functions.append(fns); }
  // Forgets the functions with their results and their edits (a later
  // function at the same address must not inherit them).
  void removeFunctions(const QList<Function*>& fns);
  const QList<Function*>& functions() const { return _functions; }

  // Builds the math partition of the record on the domain, or none.
  void rebuildPartition();
  void dropPartition();
  // The partition of the last build, or null when it gave none or one that
  // cannot be transformed.
  const Partition* partition() const { return _partition.get(); }
  // Why the last build gave no partition for lack of memory, or "".
  QString partitionProblem() const { return _problem; }
  // The highest degree whose inverse is computed, or -1.
  int highestInverse() const;

  // Computes the given functions on the partition as it is (not rebuilt):
  // components, their edits, inverses. Without a partition their results go.
  void compute(const QList<Function*>& fns);
  void computeAll() { compute(_functions); }
  void dropResults(const Function* f);

  // The components of every function and degree 0 ... maxDegree over the
  // partition's component positions, and the inverses of the shown degrees
  // over the domain. A node move updates them in place; anything else
  // replaces them.
  const FunctionMap& components() const { return _components; }
  const FunctionMap& inverses() const { return _inverses; }

  // The key of a component table held in components(); a null key for any
  // other pointer.
  FnKey componentKey(const void* table) const;
  const EditedComponents& edited() const { return _edited; }
  // Stores text typed for component `row` of a key; false, storing nothing,
  // when it is not a finite number.
  bool setEdited(const FnKey& key, int row, const QString& text);
  void setAllEdited(const QMap<FnKey, EditedComponents::Edits>& edits) { _edited.setAll(edits); }
  void clearEdited() { _edited.clear(); }
  // After its edits changed: f's components show them, its inverses follow.
  void applyEdits(const Function* f);

  // When only node positions of the record changed since the partition was
  // built (not too many of them, none out of order), moves them in the
  // partition and updates the results in place; false, changing nothing,
  // when anything else changed: then everything must be computed afresh.
  bool moveNodes();
  // What the last computation changed; after moveNodes only ranges.
  const FtransformChange& lastChange() const { return _lastChange; }
  // After moveNodes: the changed inverse values as ascending domain ranges
  // [from, to), and whether components changed at all.
  const Ranges& changedRanges() const { return _ranges; }
  bool componentsChanged() const { return _componentsChanged; }

  // What the error read-out compares: each function (in order) with its
  // inverse of each shown degree (ascending), where both lie on the domain.
  struct Approximation
  {
    const Function* fn;
    int flag;
    const Function* inverse;
  };
  std::vector<Approximation> approximations() const;

private:
  void computeComponents(const Function* f, const TransformPass& pass);
  void applyEditsOnly(const Function* f);
  void computeInverses(const Function* f, const TransformPass& pass);

  const Domain* _domain = nullptr;
  PartitionRecord _record;
  std::unique_ptr<Partition> _partition;
  // The record's layout when the partition was built: while it holds, a
  // change of node positions moves the nodes instead of rebuilding.
  PartitionLayout _layout;
  QString _problem;
  QList<Function*> _functions;
  FunctionMap _components;
  FunctionMap _inverses;
  EditedComponents _edited;
  int _maxDegree = 1;
  int _visibleDegrees = 3;
  Fn::HigherDegreeBasis _basis = Fn::HigherDegreeBasis::Orthogonal;
  int _threads = 1;
  FtransformChange _lastChange;
  Ranges _ranges;
  bool _componentsChanged = false;
  // Work arrays of the inverses, reused for every function.
  std::vector<double> _running, _sums;
};

#endif
