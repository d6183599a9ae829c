#include "gui/components/markerpicker.h"

#include "gui/components/plotwidget.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

#include <qwt_plot.h>
#include <qwt_plot_marker.h>

#include <cmath>

MarkerPicker::MarkerPicker(QwtPlot* plot) : QObject(plot), _plot(plot), _canvas(plot->canvas()) {}

void MarkerPicker::setPlotWidget(PlotWidget* plotWidget)
{
  _plotWidget = plotWidget;
}

QwtPlot* MarkerPicker::plot() const
{
  return _plot;
}

bool MarkerPicker::eventFilter(QObject* watched, QEvent* event)
{
  if (watched != _canvas)
    return QObject::eventFilter(watched, event);
  QWidget* canvas = _canvas;

  switch (event->type()) {
  case QEvent::MouseButtonPress: {
    auto* e = static_cast<QMouseEvent*>(event);
    if (e->modifiers() & Qt::ControlModifier) {
      if (e->button() == Qt::LeftButton)
        emit userClicked_lmb_withCtrl(e->pos());
      else if (e->button() == Qt::RightButton)
        emit userClicked_rmb_withCtrl(e->pos());
    } else {
      select(e->pos());
    }
    _button = e->button();
    return true;
  }
  case QEvent::MouseButtonRelease:
    release();
    _button = Qt::NoButton;
    return true;
  case QEvent::MouseMove: {
    auto* e = static_cast<QMouseEvent*>(event);
    if (_plotWidget && !canvas->hasFocus() && (e->modifiers() & Qt::ControlModifier) &&
        canvas->underMouse()) {
      canvas->setFocus(Qt::OtherFocusReason);
      keyPressed(e->modifiers());
      _modifiers = e->modifiers();
    }
    if (_plotWidget && !canvas->hasFocus())
      return true;
    const QPoint pos = e->pos();
    mouseMoved(&pos, _plot->invTransform(QwtPlot::xBottom, pos.x()),
               _plot->invTransform(QwtPlot::yLeft, pos.y()));
    return true;
  }
  case QEvent::KeyPress: {
    auto* e = static_cast<QKeyEvent*>(event);
    // A Ctrl press does not always carry Ctrl in its own modifiers.
    Qt::KeyboardModifiers mods = e->modifiers();
    if (e->key() == Qt::Key_Control)
      mods |= Qt::ControlModifier;
    keyPressed(mods);
    _modifiers = mods;
    return false;
  }
  case QEvent::KeyRelease:
    keyReleased(Qt::NoModifier);
    _modifiers = Qt::NoModifier;
    return false;
  case QEvent::FocusOut:
    // The release of a key held while a dialog took the focus never comes here.
    if (_modifiers != Qt::NoModifier) {
      keyReleased(Qt::NoModifier);
      _modifiers = Qt::NoModifier;
    }
    return false;
  default:
    return QObject::eventFilter(watched, event);
  }
}

void MarkerPicker::select(const QPoint& pos)
{
  if (_modifiers != Qt::NoModifier)
    return;
  QwtPlot* p = plot();
  QwtPlotMarker* nearest = nullptr;
  double best = 1e11;
  const QwtPlotItemList markers = p->itemList(QwtPlotItem::Rtti_PlotMarker);
  for (QwtPlotItem* item : markers) {
    auto* m = static_cast<QwtPlotMarker*>(item);
    const double px = p->canvasMap(m->xAxis()).transform(m->xValue());
    const double py = p->canvasMap(m->yAxis()).transform(m->yValue());
    const double d = std::hypot(px - pos.x(), py - pos.y());
    // Strictly nearer only: the first marker in item order wins ties.
    if (d < best) {
      best = d;
      nearest = m;
    }
  }

  _selectedMarker = nullptr;
  _options = CurveInfoBase::Options();
  _bounds = QRectF(0, 0, 0, 0);
  if (!nearest || !(best < selectionRadius))
    return;
  _selectedMarker = nearest;
  if (_plotWidget)
    _options = _plotWidget->markerOptions(nearest);
  else
    emit requestOptions(nearest, _options);
  if (_options & CurveInfoBase::Bounded) {
    if (_plotWidget)
      _plotWidget->markerBounds(nearest, _bounds);
    else
      emit requestBounds(nearest, _bounds);
  }
  emit markerSelectionChanged(nearest, true);
  emit dragStarted(nearest);
}

void MarkerPicker::forgetMarker(QwtPlotMarker* marker)
{
  if (marker != _selectedMarker)
    return;
  _selectedMarker = nullptr;
  _options = CurveInfoBase::Options();
  _bounds = QRectF(0, 0, 0, 0);
}

void MarkerPicker::release()
{
  if (_modifiers != Qt::NoModifier || !_selectedMarker)
    return;
  QwtPlotMarker* m = _selectedMarker;
  _selectedMarker = nullptr;
  _options = CurveInfoBase::Options();
  _bounds = QRectF(0, 0, 0, 0);
  emit markerSelectionChanged(m, false);
  emit dragFinished(m);
}

void MarkerPicker::mouseMoved(const QPoint*, double x, double y)
{
  if (_button == Qt::NoButton)
    return;
  QwtPlotMarker* m = _selectedMarker;
  if (!m) {
    replot();
    return;
  }
  if (!m->isVisible())
    return;

  const bool bounded = _options & CurveInfoBase::Bounded;
  bool changed = false;
  // Outside the bounds a coordinate stays where it was: no clamping.
  if ((_options & CurveInfoBase::MoveX) &&
      (!bounded || (_bounds.left() < x && x < _bounds.left() + _bounds.width())) &&
      x != m->xValue()) {
    m->setXValue(x);
    changed = true;
  }
  if ((_options & CurveInfoBase::MoveY) &&
      (!bounded || (_bounds.y() + _bounds.height() < y && y < _bounds.y())) && y != m->yValue()) {
    m->setYValue(y);
    changed = true;
  }
  if (changed && (!_plotWidget || _plotWidget->onMarkerMoved(m)))
    emit markerMoved(m);
  replot();
}

void MarkerPicker::keyPressed(Qt::KeyboardModifiers) {}

void MarkerPicker::keyReleased(Qt::KeyboardModifiers) {}

void MarkerPicker::replot()
{
  if (_plotWidget)
    _plotWidget->replot();
  else
    plot()->replot();
}
