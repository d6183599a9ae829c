#ifndef QUELMORA_JOB_PARTITIONSETUP_H
#define QUELMORA_JOB_PARTITIONSETUP_H

#include "gui/ftransform_widgets/data_structures.h"
#include "math/fce/higherdegreebasis.h"
#include "midle/transform/transformpass.h"

#include <QSharedPointer>
#include <QString>
#include <QVector>

#include <memory>

// A transform job described by values instead of a window: the batch tool
// fills these from its command line, the Python module from keyword
// arguments. Both get the same records, the same partition and, for the same
// mistake, the same one-line message, which names the tool's option.

// The domain: [low, high] cut into count subintervals.
struct DomainOptions
{
  double low = 0.0;
  double high = 1.0;
  int count = 2000;
  bool domainGiven = false;
};

// The partition; a "Given" flag tells a value the user chose from a default.
struct PartitionOptions
{
  DataHolders::PartitionKind kind = DataHolders::PartitionKind::Generic;
  int shape = -1; // -1: the kind's default
  int components = 5;
  bool componentsGiven = false;
  QVector<double> nodes;
  bool nodesGiven = false;
  double fixedPoint = 0.0;
  bool fixedPointGiven = false;
  double distance = 0.0;
  bool distanceGiven = false;
  double delta = 0.0;
  bool deltaGiven = false;
  double variance = 0.0;
  bool varianceGiven = false;
  int shift = 1;
  bool shiftGiven = false;
  int offset = -1;
  bool offsetGiven = false;
};

namespace Job {

using PartitionRecord = QSharedPointer<DataHolders::Partitions::PartBase>;
using DomainRecord = QSharedPointer<DataHolders::Domains::Equid>;

// Limits of the inputs. The most subintervals, and so the most components.
constexpr int maxDomainCount = DataHolders::Domains::maxDiscretization;
constexpr int maxShift = 999;
constexpr int maxOffset = 999;
constexpr int maxDegree = 3;

// The shortest text that reads back as the same double ("1", "0.1", "nan").
QString numberText(double value);
// `OPTION: "TEXT" is not a finite number`.
QString notFinite(const QString& option, const QString& text);
// `OPTION: VALUE is outside LOWEST..HIGHEST`.
QString outside(const QString& option, qint64 value, qint64 lowest, qint64 highest);

// The domain's values as the tool checks --domain, in its order: finite
// ends, an allowed count, low < high. The texts are the ends as typed.
bool checkDomain(const QString& option, double low, double high, qint64 count,
                 const QString& lowText, const QString& highText, QString* error);

// The word a kind or shape is named by ("generic", "sin", ...), and back.
const char* kindName(DataHolders::PartitionKind kind);
bool parseKind(const QString& option, const QString& name, DataHolders::PartitionKind* kind,
               QString* error);
bool parseShape(const QString& option, const QString& name, int* shape, QString* error);
bool parseBasis(const QString& option, const QString& name, Fn::HigherDegreeBasis* basis,
                QString* error);

// The checks the tool makes while it reads each partition option: counts in
// range, numbers finite. For callers that did not read them from text.
bool checkPartitionValues(const PartitionOptions& options, QString* error);

// The records the options describe, laid out as the partition widgets lay
// them out. Everything that could trip a math precondition or make the
// computation run away is refused here with a one-line message.
DomainRecord domainRecord(const DomainOptions& options);
PartitionRecord partitionRecord(const PartitionOptions& options, const DomainRecord& domain,
                                QString* error);

// The math partition of a record on a domain, or null with the reason. A
// session's record is the window's, and a custom partition of it may leave
// nodes unplaced; one made from options may not. geometryOnly: as
// TransformPass::build.
std::unique_ptr<TransformPass::Partition>
buildPartition(const PartitionRecord& record, const Domains::EnumerationBase<double>* domain,
               bool fromSession, QString* error, bool geometryOnly = false);

} // namespace Job

#endif
