#include "gui/analysis/errormonitor.h"

#include "gui/ftransform_widgets/ftransformwidget.h"
#include "math/fce/mathfn.h"

#include <algorithm>

ErrorMonitor::ErrorMonitor(FtransformWidget* controller, QObject* parent)
    : QObject(parent), _controller(controller)
{
  connect(controller, &FtransformWidget::ftransformRefreshed, this,
          &ErrorMonitor::followController);
}

ErrorMonitor::~ErrorMonitor() = default;

FtransformWidget* ErrorMonitor::controller() const
{
  return _controller;
}

void ErrorMonitor::setWanted(const QObject* who, bool wanted)
{
  const bool was = isActive();
  if (wanted)
    _wanting.insert(who);
  else
    _wanting.remove(who);
  if (isActive() && !was) {
    refresh();
  } else if (!isActive() && was) {
    // Nobody looks: free the trackers; the next look starts afresh.
    _trackers.clear();
    _rows.clear();
    _domain = nullptr;
    emit updated(true, 0, 0);
  }
}

void ErrorMonitor::refresh()
{
  _pending = true;
  _pendingFull = true;
  schedule();
}

void ErrorMonitor::followController()
{
  const FtransformChange& change = _controller->lastChange();
  if (change.everything)
    refresh();
  else
    refreshRange(qint64(change.domainFrom), qint64(change.domainTo));
}

void ErrorMonitor::refreshRange(qint64 from, qint64 to)
{
  if (from >= to)
    return;
  if (_pending && !_pendingFull) {
    _from = std::min(_from, from);
    _to = std::max(_to, to);
  } else if (!_pending) {
    _from = from;
    _to = to;
  }
  _pending = true;
  schedule();
}

void ErrorMonitor::schedule()
{
  if (_scheduled)
    return;
  _scheduled = true;
  QMetaObject::invokeMethod(this, &ErrorMonitor::update, Qt::QueuedConnection);
}

void ErrorMonitor::update()
{
  _scheduled = false;
  if (!_pending)
    return;
  const bool full = _pendingFull;
  const qint64 from = _from, to = _to;
  _pending = _pendingFull = false;
  _from = _to = 0;

  if (isActive() && _controller) {
    const TransformEngine& engine = _controller->engine();
    const auto* domain = engine.domain();
    const std::size_t n = domain ? domain->size() : 0;
    const std::vector<TransformEngine::Approximation> compared = engine.approximations();
    QVector<Row> rows;
    for (const auto& a : compared)
      rows.append(Row{a.fn, a.flag, {}});
    bool rowsChanged = rows.size() != _rows.size() || domain != _domain;
    for (int i = 0; i < rows.size() && !rowsChanged; ++i)
      rowsChanged = rows[i].fn != _rows[i].fn || rows[i].flag != _rows[i].flag;
    const bool all = full || rowsChanged;
    if (rowsChanged) {
      std::map<FnKey, Analysis::ErrorTracker> kept;
      for (const Row& r : qAsConst(rows))
        kept[FnKey{r.fn, r.flag}] = std::move(_trackers[FnKey{r.fn, r.flag}]);
      _trackers.swap(kept);
    }
    const double* x = n > 0 ? domain->values().data() : nullptr;
    for (int i = 0; i < rows.size(); ++i) {
      Row& r = rows[i];
      Analysis::ErrorTracker& t = _trackers[FnKey{r.fn, r.flag}];
      const double* f = r.fn->values().data();
      const double* g = compared[std::size_t(i)].inverse->values().data();
      if (all)
        t.updateAll(x, f, g, n);
      else
        t.update(x, f, g, n, std::size_t(std::max<qint64>(0, from)),
                 std::size_t(std::max<qint64>(0, to)));
      r.error = t.result();
    }
    _rows = rows;
    _domain = domain;
    emit updated(rowsChanged, all ? 0 : from, all ? qint64(n) : to);
  }
  emit recomputed();
}
