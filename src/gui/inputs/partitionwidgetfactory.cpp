#include "gui/inputs/partitionwidgetfactory.h"

#include "gui/inputs/fuzzypartdeltawidget.h"
#include "gui/inputs/fuzzypartequidwidget.h"
#include "gui/inputs/fuzzypartfixedwidget.h"

PartitionWidgetBase*
createPartitionWidget(const QSharedPointer<DataHolders::Partitions::PartBase>& record,
                      QWidget* parent)
{
  using namespace DataHolders::Partitions;
  PartitionWidgetBase* w = nullptr;
  switch (record->kind()) {
  case DataHolders::PartitionKind::Generic:
    if (auto r = qSharedPointerDynamicCast<FuzzyEq>(record))
      w = new FuzzyPartEquidWidget(r, QStringLiteral("EquidPart"), parent);
    break;
  case DataHolders::PartitionKind::Equidistant:
    if (auto r = qSharedPointerDynamicCast<FuzzyPt>(record))
      w = new FuzzyPartFixedWidget(r, QStringLiteral("FixedPart"), parent);
    break;
  case DataHolders::PartitionKind::Custom:
    if (auto r = qSharedPointerDynamicCast<FuzzyDelta>(record))
      w = new FuzzyPartDeltaWidget(r, QStringLiteral("DeltaPart"), parent);
    break;
  }
  if (!w)
    return nullptr;
  const bool locked = record->kind() == DataHolders::PartitionKind::Equidistant;
  w->setNodeMovePropagation(!locked);
  if (locked)
    w->setNodesLocked(true);
  return w;
}
