#ifndef QUELMORA_PARTITIONWIDGETFACTORY_H
#define QUELMORA_PARTITIONWIDGETFACTORY_H

#include "gui/ftransform_widgets/data_structures.h"

class PartitionWidgetBase;
class QWidget;

// The configuration widget of a record's kind, with the object name it is
// stored under ("EquidPart", "FixedPart", "DeltaPart") and its nodes as the
// kind has them: dragged and typed nodes re-emit inputsChanged(), except for
// the equidistant kind, whose nodes follow its inputs and are locked. Null
// for a record that is not of its kind's class.
PartitionWidgetBase*
createPartitionWidget(const QSharedPointer<DataHolders::Partitions::PartBase>& record,
                      QWidget* parent);

#endif
