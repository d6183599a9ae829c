#ifndef QUELMORA_FT_PARTITIONSETUP_H
#define QUELMORA_FT_PARTITIONSETUP_H

#include "gui/ftransform_widgets/data_structures.h"
#include "options.h"

// The records the options describe, laid out as the partition widgets lay
// them out. Everything that could trip a math precondition or make the
// computation run away is refused here with a one-line message.
QSharedPointer<DataHolders::Domains::Equid> domainRecord(const ToolOptions& options);

QSharedPointer<DataHolders::Partitions::PartBase>
partitionRecord(const ToolOptions& options,
                const QSharedPointer<DataHolders::Domains::Equid>& domain, QString* error);

#endif
