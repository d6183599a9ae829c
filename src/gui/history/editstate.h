#ifndef QUELMORA_EDITSTATE_H
#define QUELMORA_EDITSTATE_H

#include "gui/ftransform_widgets/data_structures.h"
#include "math/fce/higherdegreebasis.h"
#include "midle/numberreader/datafileinfo.h"
#include "midle/session/functionsource.h"
#include "midle/session/sessiondocument.h"

#include <QCoreApplication>
#include <QMap>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVector>

// One partition record's values. The painting resolution its domain carries
// follows the window's width, so only the range is kept.
struct PartitionState
{
  int32_t type = 0;
  int32_t shape = 0, shift = 0, offset = 0;
  int32_t componentCount = 0, chosenComponentCount = 0;
  double fixedPoint = 0, partElementWidth = 0, delta = 0, extraParam = 0;
  double low = 0, high = 0;
  QVector<double> nodes;

  static PartitionState of(const DataHolders::Partitions::PartBase& record);
  // Writes the values into a record of the same kind; its domain is the caller's.
  void applyTo(DataHolders::Partitions::PartBase& record) const;

  // Everything but the node positions.
  bool sameLayout(const PartitionState& o) const;
  bool operator==(const PartitionState& o) const { return sameLayout(o) && nodes == o.nodes; }
  bool operator!=(const PartitionState& o) const { return !(*this == o); }
};

// What the user has made of the window, as an undo step keeps it: the inputs
// and the records, never computed values. Node lists are implicitly shared,
// so states that differ elsewhere keep one copy of them.
struct EditState
{
  using Edits = QMap<int, double>;
  using EditMap = SessionDocument::EditMap;

  // The domain input's texts. They are restored but not compared: an edit
  // holding text that was never applied is no change.
  QString lowText, highText, countText;
  // The domain in use (the data's while table data is the source).
  double low = 0, high = 0;
  int32_t count = 0;
  FunctionSource source = FunctionSource::Formulas;
  DataFileInfo data; // table data from a file; none for random data
  quint32 randomSeed = 0;
  QStringList functions; // the selectors' texts

  DataHolders::PartitionKind kind = DataHolders::PartitionKind::Generic;
  PartitionState generic, equidistant, custom;

  int degree = 0, shownDegrees = 1;
  Fn::HigherDegreeBasis basis = Fn::HigherDegreeBasis::Orthogonal;
  EditMap edits;

  // Domain, source and the number of selectors: what rebuilds the functions.
  bool sameFunctionSource(const EditState& o) const;
  bool samePartition(const EditState& o) const;
  bool sameDomain(const EditState& o) const;
  bool operator==(const EditState& o) const;
  bool operator!=(const EditState& o) const { return !(*this == o); }

  const PartitionState* current() const;

  // The document's work as a step keeps it.
  static EditState of(const SessionDocument& document);
};

// How a step from one state to another is named, and which later steps may
// join it (consecutive edits of one spin box, slider or line edit).
struct EditStep
{
  Q_DECLARE_TR_FUNCTIONS(EditStep)

public:
  enum Merge {
    NoMerge = -1,
    ComponentCount = 1,
    Offset,
    Shift,
    FixedPoint,
    NodesDistance,
    ElementWidth,
    Variance,
    Degree,
  };

  QString text;
  int merge = NoMerge;

  static EditStep between(const EditState& before, const EditState& after);
};

#endif
