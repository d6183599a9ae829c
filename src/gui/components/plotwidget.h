#ifndef QUELMORA_PLOTWIDGET_H
#define QUELMORA_PLOTWIDGET_H

#include "gui/components/markerpolicy.h"

#include <QHash>
#include <QPen>
#include <QPixmap>
#include <QPointer>
#include <QSet>
#include <QWidget>

#include <vector>

class FittedLegend;
class MarkerPicker;
class PlotAligner;
class QScrollBar;
class QwtPlot;
class QwtPlotCurve;
class QwtPlotGrid;
class QwtPlotMarker;
class QwtPlotPicker;
namespace Ui {
class PlotWidget;
}

// The one plotting component: a Qwt plot with a zoom scroll bar under it that
// draws functions as curves (straight from the functions' own arrays), and
// owns the curve infos, their markers, a grid, an optional legend and the
// vertical-line tracker. The functions stay owned by the caller, which must
// remove their curves before deleting them or resizing their domain.
class PlotWidget : public QWidget
{
  Q_OBJECT

public:
  using Function = CurveInfoBase::Function;

  explicit PlotWidget(QWidget* parent = nullptr);
  ~PlotWidget() override;

  // Adds a curve for the function (colour and width of pen taken) and returns
  // its info, or null when the function already has a curve.
  CurveInfoBase* addFunction(const Function* function, const QPen& pen = QPen());
  // Takes ownership of info; its function must not have a curve yet.
  void addCurveInfo(CurveInfoBase* info);
  // The same for many curves at once; the x-range is widened once.
  void addCurveInfos(const std::vector<CurveInfoBase*>& infos);
  void removeFunction(const Function* function);
  void clear();

  // A summarised curve is drawn from a min/max summary of its values (the
  // cost follows the pixel columns, not the points); its owner must report
  // every change of the function's values in place with valuesChanged().
  void setSummarized(const Function* function, bool on);
  // The function's values at the domain indices [from, to) changed in place.
  void valuesChanged(const Function* function, std::size_t from, std::size_t to);

  CurveInfoBase* curveInfo(const Function* function) const;
  QList<CurveInfoBase*> curveInfos() const;
  QwtPlotCurve* curve(const Function* function) const;

  void setZoom(double zoom);
  double zoom() const { return _zoom; }
  void setScrollBarPolicy(Qt::ScrollBarPolicy policy);
  Qt::ScrollBarPolicy scrollBarPolicy() const { return _scrollBarPolicy; }
  QScrollBar* scrollBar() const;
  // Follows master's scroll bar (and hides its own) until detached, its
  // canvas at the same horizontal place as master's.
  void attachScrollBar(PlotWidget* master);
  void detachScrollBar();
  // Union of the domains of all curves; empty (min > max) without curves.
  double xMin() const { return _xMin; }
  double xMax() const { return _xMax; }

  void setCanvasBackground(const QColor& color);
  void setGridVisible(bool visible);
  bool isGridVisible() const;
  void setMarkersVisible(bool visible);
  bool markersVisible() const { return _markersVisible; }
  bool isMarkerHighlighted(QwtPlotMarker* marker) const { return _highlighted.contains(marker); }

  void setLegendAlignment(Qt::Alignment alignment);
  Qt::Alignment legendAlignment() const { return _legendAlignment; }
  // The corner an alignment names (top or bottom, left or right): stored
  // values that name none give the top right one.
  static Qt::Alignment legendCorner(int alignment);
  bool isLegendVisible() const { return _legend != nullptr; }
  // Shows the legend while on (the Ctrl read-out), whatever setLegendVisible
  // asked; off, the legend is again as setLegendVisible left it.
  void setLegendPeek(bool on);
  FittedLegend* legend() const { return _legend; }
  void setLegendIconSize(const QSize& size);
  QSize legendIconSize() const { return _legendIconSize; }

  // Installs picker on the canvas (owned from now on; the previous one is deleted).
  void setPicker(MarkerPicker* picker);
  MarkerPicker* picker() const { return _picker; }
  QwtPlotPicker* tracker() const { return _tracker; }

  // The canvas only, at the given widget size when both dimensions are >= 0.
  QPixmap picture(const QSize& size = QSize(-1, -1));

  void replot();
  QwtPlot* plot() const { return _plot; }
  QWidget* canvas() const;
  int canvasWidth() const;

  // What the picker may do with a marker; nothing while markers are hidden.
  CurveInfoBase::Options markerOptions(QwtPlotMarker* marker);
  void markerBounds(QwtPlotMarker* marker, QRectF& area);
  // Called by the picker after it moved marker; false when the move was
  // refused (the marker is then back where it was).
  bool onMarkerMoved(QwtPlotMarker* marker);

signals:
  void markersCountChanged(size_t count);
  void markerMoved();

public slots:
  void highlightMarker(QwtPlotMarker* marker, bool highlight);
  void setLegendVisible(bool visible);

protected slots:
  void onScrollBarValue_changed(int value);

protected:
  virtual CurveInfoBase::Options markerOptionsHook(QwtPlotMarker* marker);
  virtual QRectF markerBoundsHook(QwtPlotMarker* marker);
  // Applies a picker move; returning false refuses it.
  virtual bool markerChanged(QwtPlotMarker* marker);

  bool eventFilter(QObject* watched, QEvent* event) override;
  // To be called before a marker of the plot is deleted.
  void forgetMarker(QwtPlotMarker* marker);

private:
  QwtPlotCurve* createCurve(CurveInfoBase* info);
  void registerCurveInfo(CurveInfoBase* info);
  void updateScrollRange();
  // The scroll steps for the x-range [low, high]: 100 per unit of x from 0
  // while that gives the range at least 100 steps and fits an int, else a
  // fixed number over the range itself.
  static void scrollSteps(double low, double high, double& origin, double& resolution);
  // Scroll bar value v shows x from origin + v / resolution; a follower
  // counts the steps as its master does.
  void scrollMapping(double& origin, double& resolution) const;
  void applyAxisScale();
  void applyScrollBarPolicy();
  void resetRangeIfEmpty();

  Ui::PlotWidget* ui;
  QwtPlot* _plot;
  MarkerPicker* _picker = nullptr;
  QwtPlotGrid* _grid;
  QHash<const Function*, CurveInfoBase*> _curveInfos;
  // The curve of each function is its info's curve().
  QHash<QwtPlotMarker*, CurveInfoBase*> _markerInfos;
  // Curves in the order they were added, so iteration is repeatable.
  QList<const Function*> _order;
  double _xMin;
  double _xMax;
  double _zoom = 1.0;
  double _visibleWidth = 0.0;
  int _scrollPosition = 0;
  Qt::ScrollBarPolicy _scrollBarPolicy = Qt::ScrollBarAsNeeded;
  QwtPlotPicker* _tracker;
  FittedLegend* _legend = nullptr;
  bool _legendWanted = false;
  bool _legendPeek = false;
  Qt::Alignment _legendAlignment = Qt::AlignRight | Qt::AlignTop;
  QSize _legendIconSize{15, 3};
  bool _markersVisible = true;
  QSet<QwtPlotMarker*> _highlighted;
  QMetaObject::Connection _masterConnection;
  QPointer<PlotWidget> _master;
  // Keeps this follower's canvas under its master's.
  PlotAligner* _aligner = nullptr;
};

#endif
