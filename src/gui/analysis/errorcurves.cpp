#include "gui/analysis/errorcurves.h"

#include "gui/analysis/errormonitor.h"
#include "gui/components/functioncurve.h"
#include "gui/components/plotwidget.h"
#include "gui/ftransform_widgets/ftransformwidget.h"
#include "math/domains/enumerationbase.h"
#include "math/fce/mathfn.h"

#include <qwt_painter.h>
#include <qwt_plot.h>
#include <qwt_plot_marker.h>
#include <qwt_symbol.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

// Qwt cuts polylines into pieces of a few points for speed, and every piece
// starts the dash pattern anew, so a dense dashed line came out solid.
class DashedCurve : public FunctionCurve
{
public:
  using FunctionCurve::FunctionCurve;

protected:
  void drawLines(QPainter* painter, const QwtScaleMap& xMap, const QwtScaleMap& yMap,
                 const QRectF& canvasRect, int from, int to) const override
  {
    const bool splitting = QwtPainter::polylineSplitting();
    QwtPainter::setPolylineSplitting(false);
    FunctionCurve::drawLines(painter, xMap, yMap, canvasRect, from, to);
    QwtPainter::setPolylineSplitting(splitting);
  }
};

} // namespace

struct ErrorCurves::Curve
{
  const Fn::MathFn<double, double>* fn = nullptr;
  int flag = 0;
  std::vector<double> e;
  FunctionCurve* curve = nullptr;
  QwtPlotMarker* marker = nullptr;

  ~Curve()
  {
    // Items still attached belong to a living plot; a plot that went first
    // deleted them with itself.
    delete curve;
    delete marker;
  }
};

ErrorCurves::ErrorCurves(ErrorMonitor* monitor, PlotWidget* plot, QObject* parent)
    : QObject(parent), _monitor(monitor), _plot(plot)
{
  connect(monitor, &ErrorMonitor::updated, this, &ErrorCurves::onUpdated);
}

ErrorCurves::~ErrorCurves()
{
  if (_monitor)
    _monitor->setWanted(this, false);
  clear();
}

void ErrorCurves::setShown(bool shown)
{
  if (shown == _shown)
    return;
  _shown = shown;
  if (_monitor) {
    _monitor->setWanted(this, shown);
    // The table may have kept the monitor running: the curves need an update of their own.
    if (shown)
      _monitor->refresh();
  }
  if (!shown) {
    clear();
    if (_plot) {
      _plot->plot()->enableAxis(QwtPlot::yRight, false);
      _plot->replot();
    }
  }
}

void ErrorCurves::clear()
{
  if (!_plot) {
    // The plot deleted its items: forget them without touching them.
    for (auto& c : _curves)
      c->curve = nullptr, c->marker = nullptr;
  }
  _curves.clear();
}

void ErrorCurves::fillErrors(Curve& c, std::size_t from, std::size_t to) const
{
  const FtransformWidget* ctrl = _monitor->controller();
  const double* f = c.fn->values().data();
  const double* g = ctrl->inverses().value(FnKey{c.fn, c.flag})->values().data();
  for (std::size_t i = from; i < to; ++i)
    c.e[i] = std::isfinite(f[i]) && std::isfinite(g[i]) ? f[i] - g[i]
                                                        : std::numeric_limits<double>::quiet_NaN();
}

void ErrorCurves::onUpdated(bool rowsChanged, qint64 from, qint64 to)
{
  if (!_shown || !_plot || !_monitor || !_monitor->controller())
    return;
  const FtransformWidget* ctrl = _monitor->controller();
  const QVector<ErrorMonitor::Row>& rows = _monitor->rows();
  QwtPlot* plot = _plot->plot();
  const auto* domain = ctrl->domain();
  const std::vector<double>* xs = domain ? &domain->values() : nullptr;
  const std::size_t n = rows.isEmpty() || !xs ? 0 : xs->size();

  // The points are copied once per domain; a domain of the same values needs none.
  const bool newPoints =
      _x.size() != n || (n > 0 && std::memcmp(_x.data(), xs->data(), n * sizeof(double)) != 0);
  if (_curves.size() != std::size_t(rows.size()))
    rowsChanged = true;
  if (newPoints) {
    if (n > 0)
      _x.assign(xs->begin(), xs->begin() + std::ptrdiff_t(n));
    else
      _x.clear();
    rowsChanged = true;
  }
  if (rowsChanged) {
    clear();
    for (const ErrorMonitor::Row& r : rows) {
      auto c = std::make_unique<Curve>();
      c->fn = r.fn;
      c->flag = r.flag;
      c->e.assign(n, 0.0);
      c->curve = new DashedCurve;
      const QwtPlotCurve* inverse =
          _plot->curve(ctrl->inverses().value(FnKey{r.fn, r.flag}).data());
      QPen pen = inverse ? inverse->pen() : QPen(Qt::gray, 1);
      pen.setStyle(Qt::DashLine);
      c->curve->setPen(pen);
      c->curve->setYAxis(QwtPlot::yRight);
      c->curve->setLegendIconSize(_plot->legendIconSize());
      c->curve->attach(plot);
      c->marker = new QwtPlotMarker;
      c->marker->setSymbol(
          new QwtSymbol(QwtSymbol::Ellipse, QBrush(pen.color()), QPen(pen.color()), QSize(7, 7)));
      c->marker->setYAxis(QwtPlot::yRight);
      c->marker->setItemAttribute(QwtPlotItem::AutoScale, false);
      c->marker->attach(plot);
      _curves.push_back(std::move(c));
    }
    nameCurves();
    from = 0;
    to = qint64(n);
  }

  double largest = 0;
  for (int i = 0; i < rows.size() && i < int(_curves.size()); ++i) {
    Curve& c = *_curves[std::size_t(i)];
    fillErrors(c, std::size_t(std::clamp<qint64>(from, 0, qint64(n))),
               std::size_t(std::clamp<qint64>(to, 0, qint64(n))));
    // Raw samples again: the curve drops its cached bounds.
    c.curve->setRawSamples(_x.data(), c.e.data(), int(n));
    const Analysis::ErrorMeasure& m = rows[i].error;
    c.marker->setVisible(m.points > 0);
    if (m.points > 0)
      c.marker->setValue(m.argMax, c.e[m.argIndex]);
    if (std::isfinite(m.maxAbs))
      largest = std::max(largest, m.maxAbs);
  }
  // Symmetric about 0, so the zero error lies on the middle line.
  const double limit = largest > 0 ? largest * 1.05 : 1.0;
  plot->enableAxis(QwtPlot::yRight, !rows.isEmpty());
  plot->setAxisTitle(QwtPlot::yRight, tr("Error"));
  plot->setAxisScale(QwtPlot::yRight, -limit, limit);
  _plot->replot();
}

QVector<ErrorCurves::Shown> ErrorCurves::shownCurves() const
{
  QVector<Shown> shown;
  for (const auto& c : _curves)
    if (c->curve)
      shown.append({c->fn, c->flag, c->curve});
  return shown;
}

void ErrorCurves::nameCurves()
{
  const FtransformWidget* ctrl = _monitor ? _monitor->controller() : nullptr;
  const bool several = ctrl && ctrl->functions().size() > 1;
  for (const auto& c : _curves) {
    if (!c->curve)
      continue;
    QString name = QStringLiteral("ErrFt") + DataHolders::degreeName(c->flag);
    const CurveInfoBase* own = _plot ? _plot->curveInfo(c->fn) : nullptr;
    if (several && own && !own->name().isEmpty())
      name += QLatin1Char(' ') + own->name();
    if (c->curve->title().text() != name)
      c->curve->setTitle(name);
  }
}
