#ifndef QUELMORA_FUNCTIONCURVE_H
#define QUELMORA_FUNCTIONCURVE_H

#include "gui/components/minmaxpyramid.h"

#include <qwt_plot_curve.h>

#include <cstddef>
#include <vector>

// A curve of a function sampled at ascending x. Lines are drawn from at most
// four points per pixel column (first, lowest, highest, last), so the picture
// is the same as drawing every point. Non-finite values break the line.
//
// A summarised curve answers each column's lowest and highest point, and its
// bounding rectangle, from a min/max pyramid of its raw y values, so drawing
// costs about the number of pixel columns, not the number of points. The
// columns of the last drawing are kept: while the view stays, a repaint
// redoes only the columns whose values changed. Both follow new samples by
// themselves; values changed in place must be reported with valuesChanged(),
// which rebuilds them over that range only.
class FunctionCurve : public QwtPlotCurve
{
public:
  explicit FunctionCurve(const QwtText& title = QwtText());

  void setSummarized(bool on);
  bool isSummarized() const { return _summarized; }
  // The values at the sample indices [from, to) changed in place.
  void valuesChanged(std::size_t from, std::size_t to);
  // The x of the first and of the last sample (they ascend); false without samples.
  bool xRange(double& first, double& last) const;

  QRectF boundingRect() const override;

protected:
  void dataChanged() override;
  void drawLines(QPainter* painter, const QwtScaleMap& xMap, const QwtScaleMap& yMap,
                 const QRectF& canvasRect, int from, int to) const override;

private:
  // The samples of one pixel column [first, last], and the ones drawn: the
  // first, the lowest and highest in index order, the last (no points: draw
  // every sample). Kept with their values, so a repaint reads no samples.
  struct Column
  {
    int first, last;
    int points;
    double x[4], y[4];
  };
  // What the kept columns were made for.
  struct ColumnsKey
  {
    double s1, s2, p1, p2;
    bool align;
    int from, to;
    const double* xs;
    const double* ys;
    bool operator==(const ColumnsKey& o) const;
  };

  // The pyramid over the current raw samples, or null (not summarised, or
  // samples that are not raw arrays).
  const MinMaxPyramid* summary() const;
  void makeColumns(const MinMaxPyramid& summary, const QwtScaleMap& xMap, bool align, int from,
                   int to) const;
  bool refreshColumns(const MinMaxPyramid& summary, const QwtScaleMap& xMap, bool align) const;
  void describeColumn(const MinMaxPyramid& summary, Column& c) const;
  void dataChangedRange();

  bool _summarized = false;
  mutable MinMaxPyramid _pyramid;
  mutable bool _built = false;
  mutable std::size_t _dirtyFrom = 0, _dirtyTo = 0;
  mutable std::vector<Column> _columns;
  mutable ColumnsKey _columnsKey{};
  mutable bool _columnsValid = false;
  mutable std::size_t _columnsDirtyFrom = 0, _columnsDirtyTo = 0;
  bool _hasXRange = false;
  double _xFirst = 0.0, _xLast = 0.0;
};

#endif
