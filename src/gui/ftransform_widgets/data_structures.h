#ifndef QUELMORA_DATA_STRUCTURES_H
#define QUELMORA_DATA_STRUCTURES_H

#include "math/policy/assertion.h"

#include <QMetaType>
#include <QSharedPointer>
#include <QString>
#include <QVector>

#include <cstdint>
#include <functional>

namespace Domains {
template <typename T>
class EnumerationBase;
}
namespace Partitions {
template <typename X, typename Y>
class PartitionBase;
}
namespace Fn {
template <typename X, typename Y>
class MathFn;
}

// Plain records describing what the user chose for the domain and the
// partition. They carry values only and are shared between the window, the
// input widgets and the controller; whoever changes a field changes it for all.
namespace DataHolders {

// The kinds of fuzzy partition. The values are the codes a partition record
// keeps in `type` and sessions store under MainWindow/partitionType.
enum class PartitionKind : int32_t {
  Generic = 6,     // generic Ruspini: nodes placed by the user
  Equidistant = 7, // equidistant Ruspini: nodes h apart around a fixed point
  Custom = 8,      // custom: basic functions of one width on freely placed nodes
};
constexpr PartitionKind partitionKinds[] = {PartitionKind::Generic, PartitionKind::Equidistant,
                                            PartitionKind::Custom};

// The code `type` holds for a domain record.
constexpr int32_t domainEquidType = 1;

// Basic function shapes; the combo box index of the partition widgets.
enum Shape : int32_t { ShapeTriangle = 0, ShapeSin = 1, ShapeGaussian = 2, ShapeTrapezoid = 3 };

// F-transform degrees as single bits, so a set of degrees is one mask.
enum DegreeFlag : int32_t { Degree0 = 1, Degree1 = 2, Degree2 = 4, Degree3 = 8 };

class Base
{
public:
  explicit Base(int32_t kind = 0) : type(kind) {}
  virtual ~Base() = default;

  int32_t type;
};

namespace Domains {

class NumericBase : public Base
{
public:
  using Base::Base;
};

class Equid : public NumericBase
{
public:
  Equid() : NumericBase(domainEquidType) {}

  double low = 0.0;
  double high = 1.0;
  int32_t count = 2000;
};

// The numbers of subintervals a user may ask for, in the window and the tool
// alike (a data file sets its own count).
constexpr int32_t minDiscretization = 2;
constexpr int32_t maxDiscretization = 10000000;
// Whether count lies within those limits.
constexpr bool discretizationAllowed(qint64 count)
{
  return count >= minDiscretization && count <= maxDiscretization;
}
// The message for a count outside them, naming both limits.
QString discretizationLimitText();

} // namespace Domains

namespace Partitions {

class PartBase : public Base
{
public:
  explicit PartBase(PartitionKind kind)
      : Base(int32_t(kind)), domain(new DataHolders::Domains::Equid),
        nodes({0.0, 0.25, 0.5, 0.75, 1.0})
  {
  }

  PartitionKind kind() const { return PartitionKind(type); }

  QSharedPointer<DataHolders::Domains::Equid> domain;
  QVector<double> nodes;
};

class FuzzyPartBase : public PartBase
{
public:
  FuzzyPartBase(PartitionKind kind, int32_t shapeCode) : PartBase(kind), shape(shapeCode) {}

  int32_t shift = 1;
  int32_t offset = -1;
  int32_t shape;
};

// The record of PartitionKind::Generic.
class FuzzyEq : public FuzzyPartBase
{
public:
  FuzzyEq() : FuzzyPartBase(PartitionKind::Generic, ShapeTriangle) {}

  int32_t componentCount = 5;
  // The count the user chose last, which a limit on the components (a coarse
  // domain) may have cut; it comes back when the limit allows. 0: none kept.
  int32_t chosenComponentCount = 0;
};

// The record of PartitionKind::Equidistant.
class FuzzyPt : public FuzzyPartBase
{
public:
  FuzzyPt() : FuzzyPartBase(PartitionKind::Equidistant, ShapeTriangle) {}

  double fixedPoint = 0.0;
  double partElementWidth = 0.25;
};

// The record of PartitionKind::Custom.
class FuzzyDelta : public FuzzyPartBase
{
public:
  FuzzyDelta() : FuzzyPartBase(PartitionKind::Custom, ShapeGaussian) {}

  double delta = 0.25;
  double extraParam = 0.1;
};

} // namespace Partitions

// The name of a kind's session group: "GenericRuspini", "EquidistantRuspini",
// "CustomPartition".
QString partitionKindName(PartitionKind kind);
// The same for a stored code; codes of no kind give "InvalidType".
QString partitionTypeName(int32_t code);
// The kind of a stored code; false for a code of no kind.
bool partitionKindOfCode(qint64 code, PartitionKind* kind);
// A new record of that kind, with the defaults.
QSharedPointer<Partitions::PartBase> newPartitionRecord(PartitionKind kind);

// Stops the program unless flag is a single degree flag (1, 2, 4 or 8).
inline void checkDegreeFlag(int32_t flag)
{
  QM_ASSERT(flag == Degree0 || flag == Degree1 || flag == Degree2 || flag == Degree3);
}

// The degree digit of a single degree flag ("0" for 1 ... "3" for 8).
// Anything else is a programming error.
QString degreeName(int32_t flag);

} // namespace DataHolders

typedef QSharedPointer<DataHolders::Base> DataHolderBase;

namespace DataHolders {

// A new math domain for a domain record (kind 1), or nullptr. The caller owns it.
::Domains::EnumerationBase<double>* createDomain(const DataHolderBase& record);

// Where the basic functions of a built partition keep their values: each in
// a cache of its own (to be drawn one by one), or only packed in the
// partition for the transforms (less memory, built faster), or not at all:
// evaluated again wherever a sum needs them (memory by the function, not by
// the point; the partition can then be neither drawn nor moved).
enum class BasicValues { Cached, PackedOnly, GeometryOnly };

// Why the partition of a record cannot be built on a domain for lack of memory
// (the builder refuses it), or "" when it can be or fails for another reason.
QString partitionSizeProblem(const Partitions::PartBase& record,
                             const ::Domains::EnumerationBase<double>& domain);

// A new math partition for a partition record (owned by the caller), or nullptr
// for a kind that does not support the record's shape and for other kinds.
// With no domain given, one is built from the record's own domain record.
::Partitions::PartitionBase<double, double>*
createPartition(const QSharedPointer<DataHolders::Partitions::PartBase>& record,
                const ::Domains::EnumerationBase<double>* domain,
                BasicValues values = BasicValues::Cached);

} // namespace DataHolders

// The key of computed components, inverses and edited components:
// (function, degree flag), ordered by function pointer, then flag.
struct FnKey
{
  const Fn::MathFn<double, double>* fn = nullptr;
  int32_t flag = 0;

  bool operator<(const FnKey& o) const
  {
    return fn != o.fn ? std::less<const void*>()(fn, o.fn) : flag < o.flag;
  }
  bool operator==(const FnKey& o) const { return fn == o.fn && flag == o.flag; }
};

#include "math/policy/assertion.h"

#include <QMap>

#include <cmath>

// Components the user typed into the component table, per (function, degree
// flag) and component index. An edit stays in force through every later
// recomputation until the store is cleared.
class EditedComponents
{
public:
  using Edits = QMap<int, double>;

  bool isEdited(const FnKey& key) const { return _edits.contains(key); }

  // Stores text typed for the component at `row` (a table row; -1 for a cell
  // in no table). Text that is not a finite number in the C notation is
  // refused (false) and nothing is stored.
  bool setEdited(const FnKey& key, int row, const QString& text)
  {
    bool ok = false;
    const double value = text.toDouble(&ok); // locale-independent
    if (!ok || !std::isfinite(value))
      return false;
    _edits[key][row] = value;
    return true;
  }

  // The edits of one key (component index -> value); empty when none.
  Edits edits(const FnKey& key) const { return _edits.value(key); }
  const QMap<FnKey, Edits>& all() const { return _edits; }
  bool isEmpty() const { return _edits.isEmpty(); }
  void clear() { _edits.clear(); }
  void setAll(const QMap<FnKey, Edits>& edits) { _edits = edits; }
  // Forgets every edit of a function that is going away: a later function
  // allocated at the same address must not inherit them.
  void removeFunction(const Fn::MathFn<double, double>* fn)
  {
    for (auto it = _edits.begin(); it != _edits.end();)
      it = it.key().fn == fn ? _edits.erase(it) : it + 1;
  }

private:
  QMap<FnKey, Edits> _edits;
};

Q_DECLARE_METATYPE(DataHolderBase)

#endif
