#include "gui/ftransform_widgets/ftransformwidget.h"

#include "gui/components/crossvaluepicker.h"
#include "gui/components/functiontablewidget.h"
#include "gui/components/partitioneditor.h"
#include "gui/components/plotpartition.h"
#include "gui/components/plotwidget.h"
#include "gui/components/prompt.h"
#include "gui/inputs/partitionwidgetbase.h"
#include "gui/inputs/partitionwidgetfactory.h"

#include "math/policy.h"

#include "ui_ftransformwidget.h"

#include <qwt_plot_curve.h>

#include <QResizeEvent>
#include <QTableWidgetItem>

#include <algorithm>

namespace {

constexpr int kMaxDegree = TransformEngine::topDegree;

} // namespace

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
  return _engine.partition();
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
  _engine.setRecord(record);
  _engine.setDomain(domain);
  hide();
  dropPartitionWidget();
  _zoom = ui->plotWidget->zoom();
  _engine.dropPartition();

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

  PartitionWidgetBase* w = createPartitionWidget(record, this);
  if (!w) {
    emit partitionWidgetChanged(nullptr);
    return;
  }
  // Deleted later: the widget may be replaced from inside one of its own signals.
  _partitionWidget = QSharedPointer<PartitionWidgetBase>(w, &QObject::deleteLater);

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
  const bool built = _partitionWidget && _engine.domain() && _engine.record();
  if (built)
    _engine.rebuildPartition();
  else
    _engine.dropPartition();
  const QString problem = built ? _engine.partitionProblem() : QString();
  if (problem != _partitionProblem) {
    _partitionProblem = problem;
    emit partitionProblemChanged(problem);
  }
  checkDegrees();
  // Only the generic kind limits its components by the domain's subintervals.
  if (built)
    _partitionWidget->setMaxComponents(static_cast<int>(_engine.domain()->size()) - 1);
}

bool FtransformWidget::degreeRisky() const
{
  const auto fuzzy =
      qSharedPointerDynamicCast<DataHolders::Partitions::FuzzyPartBase>(_engine.record());
  return _engine.basis() == Fn::HigherDegreeBasis::ClosedForm && fuzzy &&
         fuzzy->shape != DataHolders::ShapeTriangle && _engine.visibleDegrees() > 1;
}

void FtransformWidget::checkDegrees()
{
  if (_blocked || _busy)
    return;
  const bool risky = degreeRisky();
  const bool arises = risky && !_degreeRisky;
  _degreeRisky = risky;
  if (arises)
    Prompt::warning(nullptr, tr("Higher degree f-transform warning"),
                    tr("Current implementation of higher degree supports only "
                       "triangle fuzzy sets."));
}

// ---------------------------------------------------------------- computing

void FtransformWidget::onInputs_changed()
{
  if (_blocked || !_partitionWidget)
    return;
  if (auto record =
          qSharedPointerDynamicCast<DataHolders::Partitions::PartBase>(_partitionWidget->data()))
    _engine.setRecord(record);
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
// code through the partition widget): the engine updates the results in
// place, and the curves are told which of their values changed. False when
// anything else changed; then everything is recomputed.
bool FtransformWidget::moveChangedNodes()
{
  if (!_engine.moveNodes())
    return false;
  const FtransformChange& change = _engine.lastChange();
  PlotWidget* plot = ui->plotWidget;
  for (const Function* f : functions()) {
    for (int d = 0; d <= _engine.maxDegree(); ++d) {
      const FnKey key{f, 1 << d};
      if (const auto inverse = inverses().value(key))
        for (const auto& range : _engine.changedRanges())
          plot->valuesChanged(inverse.data(), range.first, range.second);
      const auto c = components().value(key);
      if (_showComponents && c && _engine.componentsChanged())
        plot->valuesChanged(c.data(), change.componentFrom, change.componentTo);
    }
  }
  replot();
  emit ftransformRefreshed();
  return true;
}

void FtransformWidget::recomputeAll()
{
  for (const Function* f : functions())
    removeCurves(f);
  compute(functions());
  for (const Function* f : functions())
    showCurves(f);
  emit ftransformRefreshed();
  replot();
}

void FtransformWidget::compute(const QList<Function*>& fns)
{
  rebuildPartition();
  _engine.compute(fns);
}

// ---------------------------------------------------------------- curves

void FtransformWidget::showCurves(const Function* f)
{
  PlotWidget* plot = ui->plotWidget;
  const auto add = [&](const FunctionMap& results, const QString& prefix) {
    for (int d = 0; d <= maxDegree(); ++d) {
      const int flag = 1 << d;
      const auto it = results.constFind(FnKey{f, flag});
      if (!(visibleDegrees() & flag) || it == results.constEnd())
        continue;
      if (CurveInfoBase* info = plot->addFunction(it->data(), _degreePens.value(flag))) {
        info->setName(resultName(prefix, flag, f));
        plot->setSummarized(it->data(), true);
      }
    }
  };
  add(inverses(), QStringLiteral("InvFt"));
  if (_showComponents)
    add(components(), QStringLiteral("DirFt"));
}

QString FtransformWidget::resultName(const QString& prefix, int flag, const Function* f) const
{
  QString name = prefix + DataHolders::degreeName(flag);
  const CurveInfoBase* own = ui->plotWidget->curveInfo(f);
  if (functions().size() > 1 && own && !own->name().isEmpty())
    name += QLatin1Char(' ') + own->name();
  return name;
}

void FtransformWidget::nameResultCurves()
{
  for (const Function* f : functions()) {
    for (int d = 0; d <= kMaxDegree; ++d) {
      const int flag = 1 << d;
      const std::pair<const FunctionMap*, const char*> results[] = {{&inverses(), "InvFt"},
                                                                    {&components(), "DirFt"}};
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
    if (const auto c = components().value(key))
      ui->plotWidget->removeFunction(c.data());
    if (const auto i = inverses().value(key))
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
  _engine.addFunctions(fns);
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
    _engine.removeFunctions({f});
  }
  replot();
}

void FtransformWidget::refreshAll()
{
  // All curves go before any result is replaced; the new ones come in the
  // functions' order.
  for (const Function* f : functions())
    removeCurves(f);
  _engine.computeAll();
  for (const Function* f : functions()) {
    showCurves(f);
    ui->plotWidget->valuesChanged(f, 0, f->domain()->size());
  }
  replot();
  emit ftransformRefreshed();
}

void FtransformWidget::setMaxDegree(int degree)
{
  _engine.setMaxDegree(degree);
}

void FtransformWidget::setVisibleDegrees(int mask)
{
  if (mask == visibleDegrees())
    return;
  _engine.setVisibleDegrees(mask);
  refreshAll();
  checkDegrees();
}

void FtransformWidget::setShowComponents(bool show)
{
  _showComponents = show;
}

void FtransformWidget::setHigherDegreeBasis(Fn::HigherDegreeBasis basis)
{
  if (basis == higherDegreeBasis())
    return;
  _engine.setBasis(basis);
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
  for (const Function* f : functions()) {
    penCurve(f, _functionPen);
    for (auto it = _degreePens.constBegin(); it != _degreePens.constEnd(); ++it) {
      const FnKey key{f, it.key()};
      if (const auto c = components().value(key))
        penCurve(c.data(), it.value());
      if (const auto i = inverses().value(key))
        penCurve(i.data(), it.value());
    }
  }
  if (background.isValid())
    ui->plotWidget->setCanvasBackground(background);
  replot();
}

void FtransformWidget::clearEdited()
{
  _engine.clearEdited();
}

void FtransformWidget::setEditedComponents(const QMap<FnKey, EditedComponents::Edits>& edits)
{
  _engine.setAllEdited(edits);
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
  if (partitionRecord() && _partitionWidget)
    _partitionWidget->partitionEditor()->plot()->setZoom(value);
  ui->plotWidget->setZoom(value);
}

// The component table's side of an edit: a cell shows the component table
// it edits under Qt::UserRole, and its row is the component's index.
void FtransformWidget::onComponent_changed(QTableWidgetItem* item)
{
  if (!item)
    return;
  const void* shown = item->data(Qt::UserRole).value<void*>();
  if (!shown || !partition())
    return;
  const FnKey key = _engine.componentKey(shown);
  if (!key.fn || !_engine.setEdited(key, item->row(), item->text()))
    return;
  if (!functions().contains(const_cast<Function*>(key.fn)))
    return;
  removeCurves(key.fn);
  _engine.applyEdits(key.fn);
  showCurves(key.fn);
  replot();
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
  const PartitionRecord record = partitionRecord();
  if (_blocked || !record || !_partitionWidget || !record->domain)
    return;
  const int resolution = paintResolution();
  if (resolution == record->domain->count)
    return;
  _blocked = true;
  for (const Function* f : functions())
    removeCurves(f);
  QSharedPointer<DataHolders::Domains::Equid> d(new DataHolders::Domains::Equid(*record->domain));
  d->count = resolution;
  _partitionWidget->setDomainData(d);
  compute(functions());
  for (const Function* f : functions())
    showCurves(f);
  _blocked = false;
  replot();
}

void FtransformWidget::showComponentTable(
    FunctionTableWidget* tableWidget, const std::function<QString(const Function*)>& header) const
{
  QTableWidget* table = tableWidget->table();
  const int mask = visibleDegrees();
  // The engine's functions: a rebuild may refresh the table while new
  // functions are made but not yet handed over (a components limit that
  // lowers the count recomputes at once).
  const QList<Function*>& computed = functions();
  table->setColumnCount(computed.size() * FunctionTableWidget::columnsPerFunction(mask));
  for (int c = 0; c < table->columnCount(); ++c)
    table->setColumnHidden(c, false);
  // After a node move only a few rows changed, in the tables shown already.
  const FtransformChange& change = lastChange();
  int column = 0;
  for (const Function* fn : computed) {
    for (int flag = 1; flag <= 8; flag *= 2) {
      if (!(mask & flag) || flag > (1 << maxDegree()))
        continue;
      const auto it = components().constFind(FnKey{fn, flag});
      Policy::check(it != components().constEnd() && it.value(),
                    "Direct fuzzy transform was not calculated");
      if (!change.everything &&
          tableWidget->refreshRows(column, it.value().data(), int(change.componentFrom),
                                   int(change.componentTo))) {
        ++column;
        continue;
      }
      tableWidget->setColumn(column++,
                             header(fn) + QStringLiteral(" Ft") + DataHolders::degreeName(flag),
                             it.value().data());
    }
  }
  tableWidget->setRowCount(int(partition()->fceCount()));
}
