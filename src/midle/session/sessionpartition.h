#ifndef QUELMORA_SESSIONPARTITION_H
#define QUELMORA_SESSIONPARTITION_H

#include "gui/ftransform_widgets/data_structures.h"

#include <QString>
#include <QVariant>

#include <set>

struct SessionContents;

// The partition record a session gives, made by the steps the partition
// widget of its kind takes while the window applies the session: the record
// reset to the domain input, the widget built on it, its form restored input
// by input (each change read into the record as the widget reads it), the
// stored nodes or fixed point, and for a data file the same once more on the
// data's domain. Texts count only where the widget's validator accepts them.
class SessionPartition
{
public:
  // Takes the partition group of the session's kind from its values.
  explicit SessionPartition(const SessionContents& contents);

  // The record on the domain input's domain; with a data domain, moved
  // there as the window moves it after reading the data file.
  QSharedPointer<DataHolders::Partitions::PartBase>
  restore(const QSharedPointer<DataHolders::Domains::Equid>& domainInput,
          const QSharedPointer<DataHolders::Domains::Equid>& dataDomain) const;

  // The acceptance test of the partition widgets' number edits: the C-locale
  // double validator with the range, and never the bottom itself.
  static bool acceptable(const QString& text, double bottom, double top);

private:
  struct Stored
  {
    QVariant shape, components, offset, shift, width, delta, variance;
  };

  DataHolders::PartitionKind kind;
  Stored stored;
  std::set<double> nodes;
  bool hasFixedPoint;
  double fixedPoint;
};

#endif
