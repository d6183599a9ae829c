#ifndef QUELMORA_MARKERPICKER_H
#define QUELMORA_MARKERPICKER_H

#include "gui/components/markerpolicy.h"

#include <QObject>
#include <QPoint>
#include <QRectF>

class PlotWidget;
class QwtPlot;
class QwtPlotMarker;
class QWidget;

// Turns mouse and key events on a plot canvas into selecting and dragging
// markers. It is an event filter on the canvas of its plot (its parent),
// installed by PlotWidget::setPicker. A press selects the nearest marker
// strictly within 13 pixels; the move rules come from the plot widget (or,
// without one, from whoever answers the request signals).
class MarkerPicker : public QObject
{
  Q_OBJECT

public:
  static constexpr double selectionRadius = 13.0;

  explicit MarkerPicker(QwtPlot* plot);

  virtual void setPlotWidget(PlotWidget* plotWidget);
  PlotWidget* plotWidget() const { return _plotWidget; }
  QwtPlot* plot() const;

  QwtPlotMarker* selectedMarker() const { return _selectedMarker; }
  // Called before marker is deleted: a drag of it ends here, silently.
  void forgetMarker(QwtPlotMarker* marker);
  Qt::KeyboardModifiers modifiers() const { return _modifiers; }

  bool eventFilter(QObject* watched, QEvent* event) override;

signals:
  void markerSelectionChanged(QwtPlotMarker* marker, bool selected);
  // Receivers connected directly fill in the reference before the emit returns.
  void requestOptions(QwtPlotMarker* marker, CurveInfoBase::Options& options);
  void requestBounds(QwtPlotMarker* marker, QRectF& area);
  void markerMoved(QwtPlotMarker* marker);
  // A press took hold of marker, and its release let it go again: the moves
  // in between are one drag. A marker deleted while held ends no drag.
  void dragStarted(QwtPlotMarker* marker);
  void dragFinished(QwtPlotMarker* marker);
  void userClicked_lmb_withCtrl(const QPoint& pos);
  void userClicked_rmb_withCtrl(const QPoint& pos);

protected:
  // pos in canvas pixels, x and y in plot coordinates. The base drags the
  // selected marker while a button is held.
  virtual void mouseMoved(const QPoint* pos, double x, double y);
  virtual void keyPressed(Qt::KeyboardModifiers modifiers);
  virtual void keyReleased(Qt::KeyboardModifiers modifiers);

  void replot();

private:
  void select(const QPoint& pos);
  void release();

  PlotWidget* _plotWidget = nullptr;
  // The parent, kept typed: casting parent() while the plot is being
  // destroyed would be undefined.
  QwtPlot* _plot;
  // Kept apart from the plot: the canvas sends events while the plot is
  // being destroyed, when asking the plot for it is no longer safe.
  QWidget* _canvas;
  Qt::KeyboardModifiers _modifiers;
  Qt::MouseButton _button = Qt::NoButton;
  QwtPlotMarker* _selectedMarker = nullptr;
  CurveInfoBase::Options _options;
  QRectF _bounds{0, 0, 0, 0};
};

#endif
