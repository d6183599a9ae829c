#include "gui/components/plotwidget.h"

#include "gui/components/cullingplot.h"
#include "gui/components/diagnostics.h"
#include "gui/components/fittedlegend.h"
#include "gui/components/functioncurve.h"
#include "gui/components/markerpicker.h"
#include "gui/components/plotaligner.h"
#include "math/domains/enumerationbase.h"
#include "math/fce/mathfn.h"
#include "ui_plotwidget.h"

#include <QDebug>
#include <QEvent>
#include <QScrollBar>

#include <qwt_picker_machine.h>
#include <qwt_plot.h>
#include <qwt_plot_canvas.h>
#include <qwt_plot_curve.h>
#include <qwt_plot_grid.h>
#include <qwt_plot_marker.h>
#include <qwt_plot_picker.h>
#include <qwt_scale_widget.h>

#include <cmath>
#include <limits>

namespace {

const char* const attachedName = "attached";

// Truncates toward zero, saturating instead of overflowing.
int toScrollInt(double v)
{
  if (!(v > double(std::numeric_limits<int>::min())))
    return std::numeric_limits<int>::min();
  if (!(v < double(std::numeric_limits<int>::max())))
    return std::numeric_limits<int>::max();
  return int(std::trunc(v));
}

} // namespace

PlotWidget::PlotWidget(QWidget* parent)
    : QWidget(parent), ui(new Ui::PlotWidget), _plot(new CullingPlot(nullptr)),
      _grid(new QwtPlotGrid), _xMin(std::numeric_limits<double>::max()),
      _xMax(std::numeric_limits<double>::lowest())
{
  ui->setupUi(this);
  ui->scrollBar->setObjectName(QString());
  _plot->setSizePolicy(sizePolicy());
  ui->verticalLayout->insertWidget(0, _plot);
  connect(ui->scrollBar, &QScrollBar::valueChanged, this, &PlotWidget::onScrollBarValue_changed);

  _plot->setFocusPolicy(Qt::NoFocus);
  QWidget* c = _plot->canvas();
  c->setFocusPolicy(Qt::StrongFocus);
  c->setCursor(Qt::ArrowCursor);

  _tracker = new QwtPlotPicker(QwtPlot::xBottom, QwtPlot::yLeft, QwtPicker::VLineRubberBand,
                               QwtPicker::AlwaysOff, c);
  _tracker->setRubberBandPen(QPen(Qt::green));
  _tracker->setTrackerPen(QPen(Qt::red));
  _tracker->setStateMachine(new QwtPickerTrackerMachine);
  _tracker->setEnabled(false);

  _grid->setMinorPen(QPen(Qt::lightGray, 0, Qt::DotLine));
  _grid->setMajorPen(QPen(Qt::gray, 0, Qt::DashLine));
  _grid->enableXMin(true);
  _grid->enableYMin(true);

  // Keeps the scroll bar starting where the canvas starts.
  _plot->axisWidget(QwtPlot::yLeft)->installEventFilter(this);

  setPicker(new MarkerPicker(_plot));
  applyScrollBarPolicy();
}

PlotWidget::~PlotWidget()
{
  delete _aligner;
  clear();
  delete _legend;
  delete _grid;
  delete ui;
}

CurveInfoBase* PlotWidget::addFunction(const Function* function, const QPen& pen)
{
  if (!function || _curveInfos.contains(function))
    return nullptr;
  auto* info = new CurveInfo<NoMarkerPolicy>(function);
  addCurveInfo(info);
  info->curve()->setPen(QPen(pen.color(), pen.widthF()));
  return info;
}

void PlotWidget::addCurveInfo(CurveInfoBase* info)
{
  registerCurveInfo(info);
  updateScrollRange();
  applyAxisScale();
}

void PlotWidget::addCurveInfos(const std::vector<CurveInfoBase*>& infos)
{
  if (infos.empty())
    return;
  _order.reserve(_order.size() + int(infos.size()));
  _curveInfos.reserve(_curveInfos.size() + int(infos.size()));
  for (CurveInfoBase* info : infos)
    registerCurveInfo(info);
  updateScrollRange();
  applyAxisScale();
}

void PlotWidget::registerCurveInfo(CurveInfoBase* info)
{
  Q_ASSERT(info && !_curveInfos.contains(info->function()));
  const Function* fn = info->function();
  createCurve(info);
  _curveInfos.insert(fn, info);
  _order.append(fn);
  for (QwtPlotMarker* m : info->markers()) {
    _markerInfos.insert(m, info);
    m->setVisible(_markersVisible);
    m->attach(_plot);
  }
  const std::vector<double>& xs = fn->domain()->values();
  if (!xs.empty()) {
    _xMin = std::min(_xMin, xs.front());
    _xMax = std::max(_xMax, xs.back());
  }
}

QwtPlotCurve* PlotWidget::createCurve(CurveInfoBase* info)
{
  auto* c = new FunctionCurve(QwtText());
  info->setCurve(c);
  info->refreshSamples();
  c->setLegendIconSize(_legendIconSize);
  // Every legend change of a curve walks all items of the plot: curves join
  // the legend only while one is shown, so that thousands of them attach,
  // restyle and detach in linear time.
  c->setItemAttribute(QwtPlotItem::Legend, _legend != nullptr);
  c->attach(_plot);
  return c;
}

void PlotWidget::removeFunction(const Function* function)
{
  CurveInfoBase* info = _curveInfos.take(function);
  if (!info)
    return;
  QwtPlotCurve* c = info->curve();
  _order.removeOne(function);
  for (QwtPlotMarker* m : info->markers()) {
    _markerInfos.remove(m);
    forgetMarker(m);
  }
  if (c) {
    c->detach();
    delete c;
  }
  delete info;
  resetRangeIfEmpty();
}

void PlotWidget::clear()
{
  for (const Function* fn : qAsConst(_order)) {
    CurveInfoBase* info = _curveInfos.value(fn);
    for (QwtPlotMarker* m : info->markers())
      forgetMarker(m);
    QwtPlotCurve* c = info->curve();
    c->detach();
    delete c;
    delete info;
  }
  _order.clear();
  _curveInfos.clear();
  _markerInfos.clear();
  resetRangeIfEmpty();
}

void PlotWidget::resetRangeIfEmpty()
{
  if (!_curveInfos.isEmpty())
    return;
  _xMin = std::numeric_limits<double>::max();
  _xMax = std::numeric_limits<double>::lowest();
}

void PlotWidget::setSummarized(const Function* function, bool on)
{
  if (auto* c = dynamic_cast<FunctionCurve*>(curve(function)))
    c->setSummarized(on);
}

void PlotWidget::valuesChanged(const Function* function, std::size_t from, std::size_t to)
{
  const CurveInfoBase* info = _curveInfos.value(function);
  auto* c = info ? dynamic_cast<FunctionCurve*>(info->curve()) : nullptr;
  if (!c)
    return;
  // A curve over the non-zero range only starts at its first element.
  const std::size_t first = info->nonZeroRangeOnly() ? function->nzBegin() : 0;
  from = std::max(from, first);
  if (to > from)
    c->valuesChanged(from - first, to - first);
}

CurveInfoBase* PlotWidget::curveInfo(const Function* function) const
{
  return _curveInfos.value(function);
}

QList<CurveInfoBase*> PlotWidget::curveInfos() const
{
  QList<CurveInfoBase*> list;
  list.reserve(_order.size());
  for (const Function* fn : _order)
    list.append(_curveInfos.value(fn));
  return list;
}

QwtPlotCurve* PlotWidget::curve(const Function* function) const
{
  const CurveInfoBase* info = _curveInfos.value(function);
  return info ? info->curve() : nullptr;
}

void PlotWidget::setZoom(double zoom)
{
  if (zoom == _zoom || !(zoom > 0.0) || !std::isfinite(zoom))
    return;
  _zoom = zoom;
  updateScrollRange();
  applyAxisScale();
  replot();
}

void PlotWidget::scrollSteps(double low, double high, double& origin, double& resolution)
{
  constexpr double plain = 100.0, fitsInt = 1e9, steps = 1e6;
  const double width = high - low;
  if (std::abs(low) * plain < fitsInt && std::abs(high) * plain < fitsInt && width >= 1.0) {
    origin = 0.0;
    resolution = plain;
  } else {
    origin = low;
    resolution = width > 0.0 && std::isfinite(width) ? steps / width : 1.0;
  }
}

void PlotWidget::scrollMapping(double& origin, double& resolution) const
{
  const PlotWidget* reference = _master && _master->_xMin <= _master->_xMax ? _master.data() : this;
  scrollSteps(reference->_xMin, reference->_xMax, origin, resolution);
}

void PlotWidget::updateScrollRange()
{
  applyScrollBarPolicy();
  if (_xMin > _xMax)
    return;
  _visibleWidth = (_xMax - _xMin) / _zoom;
  double origin, resolution;
  scrollMapping(origin, resolution);
  const int held = _scrollPosition;
  ui->scrollBar->setRange(toScrollInt((_xMin - origin) * resolution),
                          toScrollInt((_xMax - _visibleWidth - origin) * resolution));
  ui->scrollBar->setPageStep(std::max(1, toScrollInt(_visibleWidth * resolution)));
  ui->scrollBar->setValue(held);
  _scrollPosition = ui->scrollBar->value();
}

void PlotWidget::applyAxisScale()
{
  if (_xMin > _xMax || !std::isfinite(_visibleWidth))
    return;
  double origin, resolution;
  scrollMapping(origin, resolution);
  const double low = origin + double(ui->scrollBar->value()) / resolution;
  // The range's own ends where the view reaches them, free of rounding.
  const double from = ui->scrollBar->value() <= ui->scrollBar->minimum() ? _xMin : low;
  const double to =
      ui->scrollBar->value() >= ui->scrollBar->maximum() ? _xMax : from + _visibleWidth;
  _plot->setAxisScale(QwtPlot::xBottom, from, to);
}

void PlotWidget::onScrollBarValue_changed(int value)
{
  _scrollPosition = value;
  applyAxisScale();
  replot();
}

void PlotWidget::setScrollBarPolicy(Qt::ScrollBarPolicy policy)
{
  _scrollBarPolicy = policy;
  applyScrollBarPolicy();
}

void PlotWidget::applyScrollBarPolicy()
{
  if (ui->scrollBar->objectName() == QLatin1String(attachedName))
    return;
  bool visible;
  switch (_scrollBarPolicy) {
  case Qt::ScrollBarAlwaysOff:
    visible = false;
    break;
  case Qt::ScrollBarAlwaysOn:
    visible = true;
    break;
  default:
    visible = _zoom != 1.0;
    break;
  }
  ui->scrollBar->setVisible(visible);
  ui->leftSpacer->setVisible(visible);
}

QScrollBar* PlotWidget::scrollBar() const
{
  return ui->scrollBar;
}

void PlotWidget::attachScrollBar(PlotWidget* master)
{
  if (!master || master == this)
    return;
  detachScrollBar();
  ui->scrollBar->hide();
  ui->leftSpacer->hide();
  ui->scrollBar->setObjectName(QLatin1String(attachedName));
  _master = master;
  _aligner = new PlotAligner(master->plot(), _plot, this);
  _masterConnection = connect(master->ui->scrollBar, &QScrollBar::valueChanged, ui->scrollBar,
                              &QScrollBar::setValue);
}

void PlotWidget::detachScrollBar()
{
  if (ui->scrollBar->objectName() != QLatin1String(attachedName))
    return;
  ui->scrollBar->setObjectName(QString());
  disconnect(_masterConnection);
  _masterConnection = QMetaObject::Connection();
  _master = nullptr;
  delete _aligner;
  _aligner = nullptr;
  ui->scrollBar->show();
  ui->leftSpacer->show();
}

void PlotWidget::setCanvasBackground(const QColor& color)
{
  QWidget* c = canvas();
  QPalette pal = c->palette();
  pal.setBrush(QPalette::Window, QBrush(color));
  c->setPalette(pal);
}

void PlotWidget::setGridVisible(bool visible)
{
  _grid->attach(visible ? _plot : nullptr);
}

bool PlotWidget::isGridVisible() const
{
  return _grid->plot() != nullptr;
}

void PlotWidget::setMarkersVisible(bool visible)
{
  if (visible == _markersVisible)
    return;
  _markersVisible = visible;
  const QwtPlotItemList markers = _plot->itemList(QwtPlotItem::Rtti_PlotMarker);
  for (QwtPlotItem* item : markers)
    item->setVisible(visible || _highlighted.contains(static_cast<QwtPlotMarker*>(item)));
}

void PlotWidget::highlightMarker(QwtPlotMarker* marker, bool highlight)
{
  if (!marker)
    return;
  if (highlight) {
    marker->setSymbol(CurveInfoBase::highlightedSymbol());
    marker->setVisible(true);
    _highlighted.insert(marker);
  } else {
    marker->setSymbol(CurveInfoBase::normalSymbol());
    if (!_markersVisible)
      marker->setVisible(false);
    _highlighted.remove(marker);
  }
  replot();
}

void PlotWidget::forgetMarker(QwtPlotMarker* marker)
{
  _highlighted.remove(marker);
  if (_picker)
    _picker->forgetMarker(marker);
}

void PlotWidget::setLegendVisible(bool visible)
{
  _legendWanted = visible;
  setLegendPeek(_legendPeek);
}

void PlotWidget::setLegendPeek(bool on)
{
  _legendPeek = on;
  const bool visible = _legendWanted || _legendPeek;
  if (visible == isLegendVisible())
    return;
  if (visible) {
    _legend = new FittedLegend;
    _legend->setAlignment(_legendAlignment);
    _legend->attach(_plot);
    for (const Function* fn : qAsConst(_order)) {
      CurveInfoBase* info = _curveInfos.value(fn);
      info->curve()->setItemAttribute(QwtPlotItem::Legend, true);
      info->setName(info->name());
    }
  } else {
    delete _legend;
    _legend = nullptr;
    for (const CurveInfoBase* info : qAsConst(_curveInfos))
      info->curve()->setItemAttribute(QwtPlotItem::Legend, false);
  }
  replot();
}

Qt::Alignment PlotWidget::legendCorner(int alignment)
{
  const Qt::Alignment side = (alignment & Qt::AlignLeft) ? Qt::AlignLeft : Qt::AlignRight;
  if (alignment & Qt::AlignTop)
    return Qt::AlignTop | side;
  if (alignment & Qt::AlignBottom)
    return Qt::AlignBottom | side;
  return Qt::AlignTop | Qt::AlignRight;
}

void PlotWidget::setLegendAlignment(Qt::Alignment alignment)
{
  _legendAlignment = alignment;
  if (_legend)
    _legend->setAlignment(alignment);
  replot();
}

void PlotWidget::setLegendIconSize(const QSize& size)
{
  if (size == _legendIconSize)
    return;
  _legendIconSize = size;
  for (const CurveInfoBase* info : qAsConst(_curveInfos))
    info->curve()->setLegendIconSize(size);
}

void PlotWidget::setPicker(MarkerPicker* picker)
{
  if (!picker)
    return;
  canvas()->installEventFilter(picker);
  if (_picker && _picker != picker)
    delete _picker;
  _picker = picker;
  picker->setPlotWidget(this);
}

QPixmap PlotWidget::picture(const QSize& size)
{
  const QSize old = this->size();
  const bool resized = size.width() >= 0 && size.height() >= 0;
  auto apply = [this](const QSize& s) {
    resize(s);
    if (layout())
      layout()->activate();
    _plot->updateLayout();
  };
  if (resized)
    apply(size);
  _plot->replot();
  QPixmap pixmap = canvas()->grab();
  if (resized) {
    apply(old);
    _plot->replot();
  }
  return pixmap;
}

void PlotWidget::replot()
{
  _plot->replot();
}

QWidget* PlotWidget::canvas() const
{
  return _plot->canvas();
}

int PlotWidget::canvasWidth() const
{
  return canvas()->width();
}

CurveInfoBase::Options PlotWidget::markerOptions(QwtPlotMarker* marker)
{
  if (!_markersVisible)
    return CurveInfoBase::Options();
  return markerOptionsHook(marker);
}

void PlotWidget::markerBounds(QwtPlotMarker* marker, QRectF& area)
{
  area = markerBoundsHook(marker);
  qCDebug(lcDiagnostics) << "Request bounds"
                         << "left" << area.x() << "right" << area.x() + area.width() << "top"
                         << area.y() << "bottom" << area.y() + area.height();
}

bool PlotWidget::onMarkerMoved(QwtPlotMarker* marker)
{
  if (!markerChanged(marker))
    return false;
  emit markerMoved();
  return true;
}

CurveInfoBase::Options PlotWidget::markerOptionsHook(QwtPlotMarker* marker)
{
  const CurveInfoBase* info = _markerInfos.value(marker);
  return info ? info->options() : CurveInfoBase::Options();
}

QRectF PlotWidget::markerBoundsHook(QwtPlotMarker* marker)
{
  const CurveInfoBase* info = _markerInfos.value(marker);
  return info ? info->bounds(marker) : QRectF(0, 0, 0, 0);
}

bool PlotWidget::markerChanged(QwtPlotMarker*)
{
  return true;
}

bool PlotWidget::eventFilter(QObject* watched, QEvent* event)
{
  if (event->type() == QEvent::Resize && watched == _plot->axisWidget(QwtPlot::yLeft)) {
    const int w = _plot->axisWidget(QwtPlot::yLeft)->width();
    ui->leftSpacer->setMinimumWidth(w);
    ui->leftSpacer->setMaximumWidth(w);
  }
  return QWidget::eventFilter(watched, event);
}
