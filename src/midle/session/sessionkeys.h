#ifndef QUELMORA_SESSIONKEYS_H
#define QUELMORA_SESSIONKEYS_H

#include "midle/numberreader/datafileinfo.h"
#include "midle/session/sessionvalidator.h"

#include <QString>
#include <QVariant>

#include <vector>

class QSettings;

// The keys the session document reads and writes itself: its own (those no
// input widget stores) and the widget keys it computes with (the degree
// controls, the domain input's texts). One entry per key, read and checked
// into SessionContents and written from it. The key names are stored ones
// and never change.
namespace SessionKeys {

struct Key
{
  const char* name; // "Group/key" as stored
  // Takes a stored value into c; false with why ("is not an integer") when refused.
  bool (*read)(const QVariant& stored, SessionContents& c, QString& why);
  // The value to store for c; an invalid one when c does not store the key.
  QVariant (*write)(const SessionContents& c);
};

// In the order the keys are checked: the first refused one is reported.
const std::vector<Key>& table();

// Reads every key the file holds; false with the refused key and why.
bool read(const QSettings& s, SessionContents& c, QString& badKey, QString& why);
void write(QSettings& s, const SessionContents& c);

// Whether the document writes key itself ("Group/key"): a key of the table,
// of the window's group, a selector's formula, a node list or a fixed point.
bool ownKey(const QString& key);
// A whole session: the stored values of c that are not the document's own,
// then the document's keys, the partition's (below) and the selectors'
// formulas.
void writeSession(QSettings& s, const SessionContents& c,
                  const DataHolders::Partitions::PartBase* record);

// The data file of the session's keys, and the keys of a data file in use.
DataFileInfo dataFileInfo(const SessionContents& c);
void takeDataFile(SessionContents& c, const DataFileInfo& info);

// The partition group's keys that no widget holds: the node list of the
// kinds with free nodes (sorted; empty without a record), the equidistant
// fixed point (its slider stores nothing).
void writePartition(QSettings& s, DataHolders::PartitionKind kind,
                    const DataHolders::Partitions::PartBase* record);

} // namespace SessionKeys

#endif
