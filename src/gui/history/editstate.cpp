#include "gui/history/editstate.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <cmath>

namespace {

using namespace DataHolders::Partitions;

// Exact, and a NaN equals a NaN: a state must always equal itself.
bool same(double a, double b)
{
  return a == b || (std::isnan(a) && std::isnan(b));
}

bool sameData(const DataFileInfo& a, const DataFileInfo& b)
{
  return a.dataFile == b.dataFile && a.xColumn == b.xColumn &&
         a.decimalSeparator == b.decimalSeparator && a.valueSeparator == b.valueSeparator;
}

QString kindName(DataHolders::PartitionKind kind)
{
  switch (kind) {
  case DataHolders::PartitionKind::Generic:
    return EditStep::tr("generic (Ruspini)");
  case DataHolders::PartitionKind::Equidistant:
    return EditStep::tr("equidistant (Ruspini)");
  case DataHolders::PartitionKind::Custom:
    return EditStep::tr("custom");
  }
  return EditStep::tr("none");
}

// True when `more` is `fewer` with one node added.
bool oneAdded(const QVector<double>& fewer, const QVector<double>& more)
{
  if (more.size() != fewer.size() + 1)
    return false;
  int skipped = 0;
  for (int i = 0, j = 0; i < fewer.size(); ++j) {
    if (same(fewer[i], more[j]))
      ++i;
    else if (++skipped > 1)
      return false;
  }
  return true;
}

EditStep nodeStep(const QVector<double>& a, const QVector<double>& b)
{
  if (oneAdded(a, b))
    return {EditStep::tr("Add node"), EditStep::NoMerge};
  if (oneAdded(b, a))
    return {EditStep::tr("Remove node"), EditStep::NoMerge};
  int moved = -1;
  if (a.size() == b.size()) {
    for (int i = 0; i < a.size(); ++i) {
      if (same(a[i], b[i]))
        continue;
      if (moved >= 0)
        return {EditStep::tr("Move nodes"), EditStep::NoMerge};
      moved = i;
    }
  }
  if (moved >= 0)
    return {EditStep::tr("Move node %1").arg(moved + 1), EditStep::NoMerge};
  return {EditStep::tr("Change nodes"), EditStep::NoMerge};
}

EditStep partitionStep(const PartitionState& a, const PartitionState& b)
{
  if (a.shape != b.shape)
    return {EditStep::tr("Change shape"), EditStep::NoMerge};
  // Nodes added by hand count as components as well.
  if (a.componentCount != b.componentCount && !oneAdded(a.nodes, b.nodes) &&
      !oneAdded(b.nodes, a.nodes))
    return {EditStep::tr("Change component count"), EditStep::ComponentCount};
  if (!same(a.partElementWidth, b.partElementWidth))
    return {EditStep::tr("Change nodes distance"), EditStep::NodesDistance};
  if (!same(a.delta, b.delta))
    return {EditStep::tr("Change element width"), EditStep::ElementWidth};
  if (!same(a.extraParam, b.extraParam))
    return {EditStep::tr("Change variance"), EditStep::Variance};
  if (!same(a.fixedPoint, b.fixedPoint))
    return {EditStep::tr("Move fixed point"), EditStep::FixedPoint};
  if (a.offset != b.offset)
    return {EditStep::tr("Change offset"), EditStep::Offset};
  if (a.shift != b.shift)
    return {EditStep::tr("Change shift"), EditStep::Shift};
  return nodeStep(a.nodes, b.nodes);
}

EditStep functionStep(const EditState& a, const EditState& b)
{
  if (a.source != b.source || !sameData(a.data, b.data) || a.randomSeed != b.randomSeed) {
    if (b.source == FunctionSource::Formulas)
      return {EditStep::tr("Close data"), EditStep::NoMerge};
    if (b.data.dataFile.isEmpty())
      return {EditStep::tr("Random data"), EditStep::NoMerge};
    return {EditStep::tr("Open data %1").arg(QFileInfo(b.data.filePath()).fileName()), EditStep::NoMerge};
  }
  if (!a.sameDomain(b)) {
    const int changed =
        int(!same(a.low, b.low)) + int(!same(a.high, b.high)) + int(a.count != b.count);
    if (changed > 1)
      return {EditStep::tr("Change domain"), EditStep::NoMerge};
    if (!same(a.low, b.low))
      return {EditStep::tr("Change domain low end"), EditStep::NoMerge};
    if (!same(a.high, b.high))
      return {EditStep::tr("Change domain high end"), EditStep::NoMerge};
    return {EditStep::tr("Change discretization"), EditStep::NoMerge};
  }
  int first = 0;
  while (first < a.functions.size() && first < b.functions.size() &&
         a.functions[first] == b.functions[first])
    ++first;
  if (b.functions.size() > a.functions.size())
    return {EditStep::tr("Add function"), EditStep::NoMerge};
  if (b.functions.size() < a.functions.size())
    return {EditStep::tr("Remove function %1").arg(first + 1), EditStep::NoMerge};
  return {EditStep::tr("Change function %1 to %2").arg(first + 1).arg(b.functions.value(first)),
          EditStep::NoMerge};
}

EditStep degreeStep(const EditState& a, const EditState& b)
{
  if (a.degree != b.degree)
    return {EditStep::tr("Change degree"), EditStep::Degree};
  const int flipped = a.shownDegrees ^ b.shownDegrees;
  for (int d = 0; d < 4; ++d)
    if (flipped == (1 << d))
      return {((b.shownDegrees & flipped) ? EditStep::tr("Show Ft-%1") : EditStep::tr("Hide Ft-%1")).arg(d),
              EditStep::NoMerge};
  return {EditStep::tr("Change shown degrees"), EditStep::NoMerge};
}

EditStep editStep(const EditState::EditMap& a, const EditState::EditMap& b)
{
  if (b.isEmpty())
    return {EditStep::tr("Reset edited components"), EditStep::NoMerge};
  int changed = 0, row = -1;
  for (auto it = b.constBegin(); it != b.constEnd(); ++it) {
    const EditState::Edits before = a.value(it.key());
    for (auto e = it->constBegin(); e != it->constEnd(); ++e) {
      if (before.contains(e.key()) && same(before.value(e.key()), e.value()))
        continue;
      ++changed;
      row = e.key();
    }
  }
  if (changed == 1)
    return {EditStep::tr("Edit component %1").arg(row + 1), EditStep::NoMerge};
  return {EditStep::tr("Edit components"), EditStep::NoMerge};
}

} // namespace

PartitionState PartitionState::of(const PartBase& r)
{
  PartitionState s;
  s.type = r.type;
  s.nodes = r.nodes;
  if (r.domain) {
    s.low = r.domain->low;
    s.high = r.domain->high;
  }
  if (const auto* f = dynamic_cast<const FuzzyPartBase*>(&r)) {
    s.shape = f->shape;
    s.shift = f->shift;
    s.offset = f->offset;
  }
  if (const auto* eq = dynamic_cast<const FuzzyEq*>(&r)) {
    s.componentCount = eq->componentCount;
    s.chosenComponentCount = eq->chosenComponentCount;
  }
  if (const auto* pt = dynamic_cast<const FuzzyPt*>(&r)) {
    s.fixedPoint = pt->fixedPoint;
    s.partElementWidth = pt->partElementWidth;
  }
  if (const auto* d = dynamic_cast<const FuzzyDelta*>(&r)) {
    s.delta = d->delta;
    s.extraParam = d->extraParam;
  }
  return s;
}

void PartitionState::applyTo(PartBase& r) const
{
  r.nodes = nodes;
  if (auto* f = dynamic_cast<FuzzyPartBase*>(&r)) {
    f->shape = shape;
    f->shift = shift;
    f->offset = offset;
  }
  if (auto* eq = dynamic_cast<FuzzyEq*>(&r)) {
    eq->componentCount = componentCount;
    eq->chosenComponentCount = chosenComponentCount;
  }
  if (auto* pt = dynamic_cast<FuzzyPt*>(&r)) {
    pt->fixedPoint = fixedPoint;
    pt->partElementWidth = partElementWidth;
  }
  if (auto* d = dynamic_cast<FuzzyDelta*>(&r)) {
    d->delta = delta;
    d->extraParam = extraParam;
  }
}

bool PartitionState::sameLayout(const PartitionState& o) const
{
  return type == o.type && shape == o.shape && shift == o.shift && offset == o.offset &&
         componentCount == o.componentCount && chosenComponentCount == o.chosenComponentCount &&
         same(fixedPoint, o.fixedPoint) && same(partElementWidth, o.partElementWidth) &&
         same(delta, o.delta) && same(extraParam, o.extraParam) && same(low, o.low) &&
         same(high, o.high) && nodes.size() == o.nodes.size();
}

bool EditState::sameDomain(const EditState& o) const
{
  return same(low, o.low) && same(high, o.high) && count == o.count;
}

bool EditState::sameFunctionSource(const EditState& o) const
{
  return sameDomain(o) && source == o.source && sameData(data, o.data) &&
         randomSeed == o.randomSeed && functions.size() == o.functions.size();
}

bool EditState::samePartition(const EditState& o) const
{
  return kind == o.kind && generic == o.generic && equidistant == o.equidistant &&
         custom == o.custom;
}

bool EditState::operator==(const EditState& o) const
{
  return sameFunctionSource(o) && functions == o.functions && samePartition(o) &&
         degree == o.degree && shownDegrees == o.shownDegrees && basis == o.basis &&
         edits == o.edits;
}

const PartitionState* EditState::current() const
{
  switch (kind) {
  case DataHolders::PartitionKind::Generic:
    return &generic;
  case DataHolders::PartitionKind::Equidistant:
    return &equidistant;
  case DataHolders::PartitionKind::Custom:
    return &custom;
  }
  return nullptr;
}

EditState EditState::of(const SessionDocument& d)
{
  EditState s;
  s.lowText = d.domainTexts.low;
  s.highText = d.domainTexts.high;
  s.countText = d.domainTexts.discretization;
  if (d.domainRecord) {
    s.low = d.domainRecord->low;
    s.high = d.domainRecord->high;
    s.count = d.domainRecord->count;
  }
  s.source = d.source;
  if (s.source == FunctionSource::TableData) {
    s.data = d.dataFile;
    if (s.data.dataFile.isEmpty())
      s.randomSeed = d.randomSeed;
  }
  for (const FormulaFile::Entry& e : d.selections)
    s.functions.append(e.name);
  s.kind = d.kind;
  s.generic = PartitionState::of(*d.genericRecord);
  s.equidistant = PartitionState::of(*d.equidistantRecord);
  s.custom = PartitionState::of(*d.customRecord);
  s.degree = d.degree;
  s.shownDegrees = d.shownDegrees;
  s.basis = d.basis;
  s.edits = d.edits;
  return s;
}

EditStep EditStep::between(const EditState& a, const EditState& b)
{
  // What the user touched comes first; what it brought along goes unnamed.
  if (!a.sameFunctionSource(b) || a.functions != b.functions)
    return functionStep(a, b);
  if (a.kind != b.kind)
    return {EditStep::tr("Change partition to %1").arg(kindName(b.kind)), NoMerge};
  if (!a.samePartition(b)) {
    const PartitionState* pa = a.current();
    const PartitionState* pb = b.current();
    if (pa && pb && *pa != *pb)
      return partitionStep(*pa, *pb);
    return {EditStep::tr("Change partition"), NoMerge};
  }
  if (a.degree != b.degree || a.shownDegrees != b.shownDegrees)
    return degreeStep(a, b);
  if (a.basis != b.basis)
    return {EditStep::tr("Change higher-degree bases"), NoMerge};
  if (a.edits != b.edits)
    return editStep(a.edits, b.edits);
  return {EditStep::tr("Change"), NoMerge};
}
