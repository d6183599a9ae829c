#include "gui/ftransform_widgets/ftransformwidget.h"

#include "gui/components/crossvaluepicker.h"
#include "gui/components/partitioneditor.h"
#include "gui/components/plotpartition.h"
#include "gui/components/plotwidget.h"
#include "gui/components/prompt.h"
#include "gui/inputs/fuzzypartdeltawidget.h"
#include "gui/inputs/fuzzypartequidwidget.h"
#include "gui/inputs/fuzzypartfixedwidget.h"
#include "gui/inputs/partitionwidgetbase.h"

#include "design_patterns/staticfactory/staticfactory.h"
#include "math/domains/enumeration.h"
#include "math/fce/fce_algorithms.h"
#include "math/fce/mathfntable.h"
#include "math/partitions/partitionbase.h"

#include "ui_ftransformwidget.h"

#include <qwt_plot_curve.h>

#include <QResizeEvent>
#include <QSet>
#include <QTableWidgetItem>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

using Domain = Domains::EnumerationBase<double>;
using Table = Fn::MathFnTable<double, double>;

constexpr int kMaxDegree = 3;

} // namespace

// What one computation shares: the bases of the degrees and the node set of
// the components, both made once per computation, not per function.
class FtransformWidget::Computation
{
public:
  Computation(const Partitions::PartitionBase<double, double>& part, Fn::HigherDegreeBasis basis)
      : factory(part.domain(), basis)
  {
    const std::vector<double>& nodes = part.nodes();
    std::vector<double> positions;
    if (nodes.size() == part.fceCount() && std::is_sorted(nodes.begin(), nodes.end())) {
      positions = nodes;
    } else {
      // Shapes spanning more than two nodes (or unusual offsets) give fewer
      // components than nodes: place each at the peak of its basic function.
      positions.reserve(part.fceCount());
      for (const auto* fs : part.allFce())
        positions.push_back(fs->kernelBegin());
      std::sort(positions.begin(), positions.end());
    }
    nodeSet.reset(new ComponentNodes(positions, true));
  }

  Fn::MathFn<double, double>& basis(int degree) { return *factory.get(degree); }

  StaticFactory<double, double> factory;
  QSharedPointer<ComponentNodes> nodeSet;
  // Work arrays of the inverses, reused for every function of the computation.
  std::vector<double> running;
  std::vector<double> membDegSum;
};

FtransformWidget::FtransformWidget(QWidget* parent)
    : WidgetBase(parent), ui(new Ui::FtransformWidget)
{
  ui->setupUi(this);
  _placeholderPolicy = ui->partitionPlaceholder->sizePolicy();
  ui->verticalLayout->removeWidget(ui->partitionPlaceholder);
  delete ui->partitionPlaceholder;
  ui->partitionPlaceholder = nullptr;
  ui->plotWidget->setPicker(new CrossValuePicker(ui->plotWidget->plot()));
  ui->plotWidget->setGridVisible(true);
  ui->plotWidget->canvas()->installEventFilter(this);
}

FtransformWidget::~FtransformWidget()
{
  // Nothing the partition widget says while it goes away may start a computation.
  _blocked = true;
  if (_partitionWidget)
    disconnect(_partitionWidget.data(), nullptr, this, nullptr);
  ui->plotWidget->clear();
}

int FtransformWidget::paintResolution(int canvasWidth, double zoom)
{
  const int z = static_cast<int>(zoom);
  const int multiplier = std::max(1, z / 4);
  return std::max(300, ((multiplier * canvasWidth / 100) + 1) * 100);
}

int FtransformWidget::paintResolution() const
{
  return paintResolution(ui->plotWidget->canvasWidth(), _zoom);
}

const Partitions::PartitionBase<double, double>* FtransformWidget::partition() const
{
  return _transformable ? _partition.get() : nullptr;
}

PlotWidget* FtransformWidget::plotWidget() const
{
  return ui->plotWidget;
}

void FtransformWidget::replot()
{
  ui->plotWidget->replot();
}

// ---------------------------------------------------------------- partition

void FtransformWidget::dropPartitionWidget()
{
  if (!_partitionWidget)
    return;
  disconnect(_partitionWidget.data(), nullptr, this, nullptr);
  _partitionWidget->partitionEditor()->plot()->detachScrollBar();
  ui->verticalLayout->removeWidget(_partitionWidget.data());
  _partitionWidget->hide();
  _partitionWidget.reset();
}

void FtransformWidget::setPartition(const PartitionRecord& record,
                                    const Domains::EnumerationBase<double>* domain)
{
  _partitionRecord = record;
  _domain = domain;
  hide();
  dropPartitionWidget();
  _zoom = ui->plotWidget->zoom();
  _partition.reset();
  _transformable = false;

  if (!record) {
    emit partitionWidgetChanged(nullptr);
    return;
  }

  // A copy: the record's domain is the window's own domain record, whose
  // count is the computation's, not the painting resolution.
  record->domain = record->domain
                       ? QSharedPointer<DataHolders::Domains::Equid>::create(*record->domain)
                       : QSharedPointer<DataHolders::Domains::Equid>::create();
  record->domain->count = paintResolution();

  PartitionWidgetBase* w = nullptr;
  switch (record->type) {
  case DataHolders::KindGenericRuspini:
    if (auto r = qSharedPointerDynamicCast<DataHolders::Partitions::FuzzyEq>(record))
      w = new FuzzyPartEquidWidget(r, QStringLiteral("EquidPart"), this);
    break;
  case DataHolders::KindEquidistantRuspini:
    if (auto r = qSharedPointerDynamicCast<DataHolders::Partitions::FuzzyPt>(record))
      w = new FuzzyPartFixedWidget(r, QStringLiteral("FixedPart"), this);
    break;
  case DataHolders::KindCustomPartition:
    if (auto r = qSharedPointerDynamicCast<DataHolders::Partitions::FuzzyDelta>(record))
      w = new FuzzyPartDeltaWidget(r, QStringLiteral("DeltaPart"), this);
    break;
  default:
    break;
  }
  if (!w) {
    emit partitionWidgetChanged(nullptr);
    return;
  }
  // Deleted later: the widget may be replaced from inside one of its own signals.
  _partitionWidget = QSharedPointer<PartitionWidgetBase>(w, &QObject::deleteLater);
  if (record->type == DataHolders::KindEquidistantRuspini) {
    w->setNodeMovePropagation(false);
    w->setNodesLocked(true);
  } else {
    w->setNodeMovePropagation(true);
  }

  ui->verticalLayout->addWidget(w);
  w->setSizePolicy(_placeholderPolicy);
  PlotPartition* partitionPlot = w->partitionEditor()->plot();
  partitionPlot->setMaximumHeight(150);
  partitionPlot->setGridVisible(true);
  setZoom(_zoom);
  connect(w, &PartitionWidgetBase::inputsChanged, this, &FtransformWidget::onInputs_changed);
  partitionPlot->attachScrollBar(ui->plotWidget);

  show();
  rebuildPartition();
  emit partitionWidgetChanged(w);
}

void FtransformWidget::rebuildPartition()
{
  _partition.reset();
  _transformable = false;
  if (_partitionWidget && _domain && _partitionRecord) {
    // Never drawn: its basic functions keep their values only packed for the sums.
    _partition.reset(DataHolders::createPartition(_partitionRecord, _domain,
                                                  DataHolders::BasicValues::PackedOnly));
    _layout = PartitionLayout::of(*_partitionRecord);
    if (_partition)
      _partition->setTrackChanges(true);
    if (_partition && _partition->fceCount() > 0) {
      // Only one-point kernels can be transformed; a stored record may ask
      // for another shape (a trapezoid), which then shows no transform.
      const auto& fces = _partition->allFce();
      _transformable = std::all_of(fces.begin(), fces.end(), [](const auto* fs) {
        return fs->kernelBegin() == fs->kernelEnd();
      });
    }
  }
  // A partition refused for lack of memory is said, not left blank.
  QString problem;
  if (!_partition && _partitionWidget && _domain && _partitionRecord)
    problem = DataHolders::partitionSizeProblem(*_partitionRecord, *_domain);
  if (problem != _partitionProblem) {
    _partitionProblem = problem;
    emit partitionProblemChanged(problem);
  }
  checkDegrees();
  if (_partitionWidget && _domain && _partitionRecord &&
      _partitionRecord->type == DataHolders::KindGenericRuspini)
    _partitionWidget->setMaxComponents(static_cast<int>(_domain->size()) - 1);
}

bool FtransformWidget::degreeRisky() const
{
  const auto fuzzy =
      qSharedPointerDynamicCast<DataHolders::Partitions::FuzzyPartBase>(_partitionRecord);
  return _basis == Fn::HigherDegreeBasis::ClosedForm && fuzzy &&
         fuzzy->shape != DataHolders::ShapeTriangle && _visibleDegrees > 1;
}

void FtransformWidget::checkDegrees()
{
  if (_blocked || _busy)
    return;
  const bool risky = degreeRisky();
  const bool arises = risky && !_degreeRisky;
  _degreeRisky = risky;
  if (arises)
    Prompt::warning(nullptr, QStringLiteral("Higher degree f-transform warning"),
                    QStringLiteral("Current implementation of higher degree supports only "
                                   "triangle fuzzy sets."));
}

// ---------------------------------------------------------------- computing

void FtransformWidget::onInputs_changed()
{
  if (_blocked || !_partitionWidget)
    return;
  if (auto record =
          qSharedPointerDynamicCast<DataHolders::Partitions::PartBase>(_partitionWidget->data()))
    _partitionRecord = record;
  if (moveChangedNodes())
    return;
  const bool wasBusy = _busy;
  _busy = true;
  recomputeAll();
  _busy = wasBusy;
  emit ftransformRefreshed();
  // After the computation, so that the box interrupts nothing: a shape change may warn.
  checkDegrees();
}

// Only node positions changed (a dragged or typed node, or nodes moved from
// code through the partition widget): the nodes of the partition in use move
// and the results are updated in place, as far as the moved basic functions
// reach. False when anything else changed or the results cannot follow;
// then everything is recomputed.
bool FtransformWidget::moveChangedNodes()
{
  if (!partition() || !_partitionRecord || PartitionLayout::of(*_partitionRecord) != _layout)
    return false;
  const QVector<double>& nodes = _partitionRecord->nodes;
  const std::vector<double>& current = _partition->nodes();
  // The components sit at the nodes (one basic function per node).
  if (current.size() != _partition->fceCount())
    return false;
  for (int i = 0; i < nodes.size(); ++i)
    if (!std::isfinite(nodes[i]) || (i > 0 && nodes[i] < nodes[i - 1]))
      return false; // not a partition any more: the whole path handles it
  std::vector<std::size_t> moved;
  const std::size_t common = std::min(current.size(), std::size_t(nodes.size()));
  for (std::size_t i = 0; i < common; ++i)
    if (nodes[int(i)] != current[i])
      moved.push_back(i);
  // Moving many nodes costs more than one whole pass.
  if (moved.size() > std::max<std::size_t>(16, current.size() / 4))
    return false;

  std::vector<NodeMoveUpdate::Results> results;
  const int highest = highestInverse();
  for (const Function* f : qAsConst(_functions)) {
    NodeMoveUpdate::Results r;
    r.function = f;
    for (int d = 0; d <= std::min(_maxDegree, kMaxDegree); ++d) {
      const FnKey key{f, 1 << d};
      const auto c = _components.value(key);
      if (!c || c->domain()->size() != current.size())
        return false;
      r.components[d] = static_cast<ComponentTable*>(c.data());
      r.edits[d] = _edited.edits(key);
      if (d <= highest && (_visibleDegrees & (1 << d))) {
        const auto inverse = _inverses.value(key);
        if (!inverse)
          return false;
        r.inverses[d] = static_cast<InverseTable*>(inverse.data());
      }
    }
    results.push_back(r);
  }

  // The components sit at the nodes, and follow them.
  QSet<ComponentNodes*> positions;
  for (const auto& r : results)
    for (const ComponentTable* c : r.components)
      if (c)
        positions.insert(c->nodes().data());
  for (const ComponentNodes* p : qAsConst(positions))
    for (std::size_t i : moved)
      if (p->values()[i] != current[i])
        return false;

  // One at a time, the nodes must stay in order: those moving left go first,
  // from the left, then those moving right, from the right.
  std::stable_partition(moved.begin(), moved.end(),
                        [&](std::size_t i) { return nodes[int(i)] < current[i]; });
  const auto right = std::find_if(moved.begin(), moved.end(),
                                  [&](std::size_t i) { return nodes[int(i)] > current[i]; });
  std::reverse(right, moved.end());
  for (std::size_t i : moved)
    _partition->moveNode(i, nodes[int(i)]);
  for (ComponentNodes* p : qAsConst(positions))
    for (std::size_t i : moved)
      p->setPosition(i, current[i]);

  NodeMoveUpdate update(*_partition, _maxDegree, highest, _basis);
  _lastChange = update.apply(results);
  PlotWidget* plot = ui->plotWidget;
  for (const auto& r : results) {
    for (int d = 0; d <= kMaxDegree; ++d) {
      if (r.inverses[d])
        for (const auto& range : update.ranges())
          plot->valuesChanged(r.inverses[d], range.first, range.second);
      if (_showComponents && r.components[d] && !update.components().empty())
        plot->valuesChanged(r.components[d], _lastChange.componentFrom, _lastChange.componentTo);
    }
  }
  replot();
  emit ftransformRefreshed();
  return true;
}

// The highest degree whose inverse is computed, or -1. Shown degrees above
// maxDegree have no components: skipped.
int FtransformWidget::highestInverse() const
{
  if (_maxDegree == 0 && _visibleDegrees == 0)
    return -1;
  for (int d = std::min(_maxDegree, kMaxDegree); d >= 0; --d)
    if (_visibleDegrees & (1 << d))
      return d;
  return -1;
}

void FtransformWidget::recomputeAll()
{
  for (const Function* f : qAsConst(_functions))
    removeCurves(f);
  compute(_functions);
  for (const Function* f : qAsConst(_functions))
    showCurves(f);
  emit ftransformRefreshed();
  replot();
}

void FtransformWidget::compute(const QList<Function*>& fns)
{
  _lastChange = FtransformChange();
  rebuildPartition();
  if (!partition()) {
    for (const Function* f : fns)
      dropResults(f);
    return;
  }
  Computation c(*_partition, _basis);
  for (Function* f : fns) {
    computeComponents(f, c);
    applyEdits(f);
    computeInverses(f, c);
  }
}

void FtransformWidget::dropResults(const Function* f)
{
  for (int d = 0; d <= kMaxDegree; ++d) {
    _components.remove(FnKey{f, 1 << d});
    _inverses.remove(FnKey{f, 1 << d});
  }
}

void FtransformWidget::computeComponents(Function* f, Computation& c)
{
  const auto& part = *_partition;
  for (int d = 0; d <= kMaxDegree; ++d) {
    const FnKey key{f, 1 << d};
    if (d > _maxDegree) {
      _components.remove(key);
      continue;
    }
    std::vector<double> values;
    Fn::directTransform(part, c.basis(d), f->values(), values);
    _components.insert(key,
                       QSharedPointer<Function>(new ComponentTable(c.nodeSet, std::move(values))));
  }
}

void FtransformWidget::applyEdits(const Function* f)
{
  for (int d = 0; d <= kMaxDegree; ++d) {
    const FnKey key{f, 1 << d};
    if (!_edited.isEdited(key))
      continue;
    const auto it = _components.constFind(key);
    if (it == _components.constEnd())
      continue;
    auto* table = static_cast<ComponentTable*>(it->data());
    const auto size = static_cast<int>(table->domain()->size());
    const EditedComponents::Edits edits = _edited.edits(key);
    for (auto e = edits.constBegin(); e != edits.constEnd(); ++e)
      if (e.key() >= 0 && e.key() < size)
        table->setComponent(static_cast<std::size_t>(e.key()), e.value());
  }
}

void FtransformWidget::computeInverses(Function* f, Computation& c)
{
  for (int d = 0; d <= kMaxDegree; ++d)
    _inverses.remove(FnKey{f, 1 << d});
  const int highest = highestInverse();
  if (highest < 0)
    return;

  const auto& part = *_partition;
  std::vector<const std::vector<double>*> comps;
  for (int d = 0; d <= highest; ++d) {
    const auto it = _components.constFind(FnKey{f, 1 << d});
    if (it == _components.constEnd())
      return;
    const auto& v = static_cast<const Table*>(it->data())->values();
    // Components made on another partition (a record changed without a
    // recomputation) cannot be combined with this one.
    if (v.size() != part.fceCount())
      return;
    comps.push_back(&v);
  }

  std::vector<double>& running = c.running;
  std::vector<double>& membDegSum = c.membDegSum;
  running.assign(_domain->size(), 0.0);
  membDegSum.assign(_domain->size(), 0.0);
  for (int d = 0; d <= highest; ++d) {
    const int flag = 1 << d;
    if (d == 0)
      Fn::inverseTransform(part, *comps[0], running, &membDegSum);
    else
      Fn::addHigherDegreeTerm(part, c.basis(d), *comps[static_cast<std::size_t>(d)], running,
                              membDegSum);
    if (_visibleDegrees & flag)
      _inverses.insert(FnKey{f, flag},
                       QSharedPointer<Function>(new InverseTable(_domain, running)));
  }
}

// ---------------------------------------------------------------- curves

void FtransformWidget::showCurves(const Function* f)
{
  PlotWidget* plot = ui->plotWidget;
  const auto add = [&](const FunctionMap& results, const QString& prefix) {
    for (int d = 0; d <= std::min(_maxDegree, kMaxDegree); ++d) {
      const int flag = 1 << d;
      const auto it = results.constFind(FnKey{f, flag});
      if (!(_visibleDegrees & flag) || it == results.constEnd())
        continue;
      if (CurveInfoBase* info = plot->addFunction(it->data(), _degreePens.value(flag))) {
        info->setName(resultName(prefix, flag, f));
        plot->setSummarized(it->data(), true);
      }
    }
  };
  add(_inverses, QStringLiteral("InvFt"));
  if (_showComponents)
    add(_components, QStringLiteral("DirFt"));
}

QString FtransformWidget::resultName(const QString& prefix, int flag, const Function* f) const
{
  QString name = prefix + DataHolders::degreeName(flag);
  const CurveInfoBase* own = ui->plotWidget->curveInfo(f);
  if (_functions.size() > 1 && own && !own->name().isEmpty())
    name += QLatin1Char(' ') + own->name();
  return name;
}

void FtransformWidget::nameResultCurves()
{
  for (const Function* f : qAsConst(_functions)) {
    for (int d = 0; d <= kMaxDegree; ++d) {
      const int flag = 1 << d;
      const std::pair<const FunctionMap*, const char*> results[] = {{&_inverses, "InvFt"},
                                                                    {&_components, "DirFt"}};
      for (const auto& r : results) {
        const auto fn = r.first->value(FnKey{f, flag});
        CurveInfoBase* info = fn ? ui->plotWidget->curveInfo(fn.data()) : nullptr;
        const QString name = resultName(QLatin1String(r.second), flag, f);
        if (info && info->name() != name)
          info->setName(name);
      }
    }
  }
}

void FtransformWidget::removeCurves(const Function* f)
{
  // Every flag, not only those up to maxDegree: the degree may have been
  // lowered since the curves were drawn.
  for (int d = 0; d <= kMaxDegree; ++d) {
    const FnKey key{f, 1 << d};
    if (const auto c = _components.value(key))
      ui->plotWidget->removeFunction(c.data());
    if (const auto i = _inverses.value(key))
      ui->plotWidget->removeFunction(i.data());
  }
}

void FtransformWidget::penCurve(const Function* f, const QPen& pen)
{
  if (QwtPlotCurve* curve = ui->plotWidget->curve(f))
    curve->setPen(QPen(pen.color(), pen.widthF()));
}

// ---------------------------------------------------------------- public API

void FtransformWidget::addFunctions(const QList<Function*>& fns)
{
  _functions.append(fns);
  if (_partitionWidget)
    compute(fns);
  for (const Function* f : fns) {
    // The owner changes a function's values only before refreshAll().
    ui->plotWidget->addFunction(f, _functionPen);
    ui->plotWidget->setSummarized(f, true);
    if (_partitionWidget)
      showCurves(f);
  }
  replot();
}

void FtransformWidget::removeFunctions(const QList<Function*>& list)
{
  // A copy: the caller may pass functions() itself, which shrinks below.
  const QList<Function*> fns = list;
  for (Function* f : fns) {
    removeCurves(f);
    ui->plotWidget->removeFunction(f);
    dropResults(f);
    _edited.removeFunction(f);
    _functions.removeAll(f);
  }
  replot();
}

void FtransformWidget::refreshAll()
{
  _lastChange = FtransformChange();
  std::unique_ptr<Computation> c;
  if (partition())
    c.reset(new Computation(*_partition, _basis));
  for (Function* f : qAsConst(_functions)) {
    removeCurves(f);
    if (c) {
      computeComponents(f, *c);
      applyEdits(f);
      computeInverses(f, *c);
    } else {
      dropResults(f);
    }
    showCurves(f);
    ui->plotWidget->valuesChanged(f, 0, f->domain()->size());
  }
  replot();
  emit ftransformRefreshed();
}

void FtransformWidget::setMaxDegree(int degree)
{
  degree = std::clamp(degree, 0, kMaxDegree);
  if (degree != _maxDegree)
    _maxDegree = degree;
}

void FtransformWidget::setVisibleDegrees(int mask)
{
  if (mask == _visibleDegrees)
    return;
  _visibleDegrees = mask;
  refreshAll();
  checkDegrees();
}

void FtransformWidget::setShowComponents(bool show)
{
  _showComponents = show;
}

void FtransformWidget::setHigherDegreeBasis(Fn::HigherDegreeBasis basis)
{
  if (basis == _basis)
    return;
  _basis = basis;
  refreshAll();
  checkDegrees();
}

void FtransformWidget::setStyles(const QColor& background, const QPen& functionPen,
                                 const QPen& degree0, const QPen& degree1, const QPen& degree2,
                                 const QPen& degree3)
{
  _backgroundColor = background;
  _functionPen = functionPen;
  _degreePens = {{1, degree0}, {2, degree1}, {4, degree2}, {8, degree3}};
  for (const Function* f : qAsConst(_functions)) {
    penCurve(f, _functionPen);
    for (auto it = _degreePens.constBegin(); it != _degreePens.constEnd(); ++it) {
      const FnKey key{f, it.key()};
      if (const auto c = _components.value(key))
        penCurve(c.data(), it.value());
      if (const auto i = _inverses.value(key))
        penCurve(i.data(), it.value());
    }
  }
  if (background.isValid())
    ui->plotWidget->setCanvasBackground(background);
  replot();
}

void FtransformWidget::clearEdited()
{
  _edited.clear();
}

void FtransformWidget::setEditedComponents(const QMap<FnKey, EditedComponents::Edits>& edits)
{
  _edited.setAll(edits);
  const bool wasBusy = _busy;
  _busy = true;
  recomputeAll();
  _busy = wasBusy;
}

void FtransformWidget::resetEditedComponents()
{
  clearEdited();
  const bool wasBusy = _busy;
  _busy = true;
  recomputeAll();
  _busy = wasBusy;
}

void FtransformWidget::setZoom(double value)
{
  _zoom = value;
  if (_partitionRecord && _partitionWidget)
    _partitionWidget->partitionEditor()->plot()->setZoom(value);
  ui->plotWidget->setZoom(value);
}

void FtransformWidget::onComponent_changed(QTableWidgetItem* item)
{
  if (!item)
    return;
  const void* shown = item->data(Qt::UserRole).value<void*>();
  if (!shown || !partition())
    return;
  for (auto it = _components.constBegin(); it != _components.constEnd(); ++it) {
    if (it->data() != shown)
      continue;
    const FnKey key = it.key();
    if (!_edited.setEdited(item, key))
      return;
    Function* f = nullptr;
    for (Function* g : qAsConst(_functions))
      if (g == key.fn)
        f = g;
    if (!f)
      return;
    _lastChange = FtransformChange();
    removeCurves(f);
    applyEdits(f);
    Computation c(*_partition, _basis);
    computeInverses(f, c);
    showCurves(f);
    replot();
    return;
  }
}

void FtransformWidget::resizeEvent(QResizeEvent* event)
{
  adaptPaintResolution();
  WidgetBase::resizeEvent(event);
}

// The canvas gets its final width only after this widget's own resize event
// (when the window is first shown, its children are laid out later), so the
// canvas's resizes are watched as well.
bool FtransformWidget::eventFilter(QObject* watched, QEvent* event)
{
  if (event->type() == QEvent::Resize && watched == ui->plotWidget->canvas())
    adaptPaintResolution();
  return WidgetBase::eventFilter(watched, event);
}

// Redraws the partition at the resolution the canvas needs; a size within
// the same hundred of subintervals recomputes nothing.
void FtransformWidget::adaptPaintResolution()
{
  if (_blocked || !_partitionRecord || !_partitionWidget || !_partitionRecord->domain)
    return;
  const int resolution = paintResolution();
  if (resolution == _partitionRecord->domain->count)
    return;
  _blocked = true;
  for (const Function* f : qAsConst(_functions))
    removeCurves(f);
  QSharedPointer<DataHolders::Domains::Equid> d(
      new DataHolders::Domains::Equid(*_partitionRecord->domain));
  d->count = resolution;
  _partitionWidget->setDomainData(d);
  if (_partitionRecord->type == DataHolders::KindEquidistantRuspini)
    rebuildPartition();
  compute(_functions);
  for (const Function* f : qAsConst(_functions))
    showCurves(f);
  _blocked = false;
  replot();
}
