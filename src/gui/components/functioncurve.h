#ifndef QUELMORA_FUNCTIONCURVE_H
#define QUELMORA_FUNCTIONCURVE_H

#include "gui/components/minmaxpyramid.h"

#include <qwt_plot_curve.h>

#include <cstddef>

// A curve of a function sampled at ascending x. Lines are drawn from at most
// four points per pixel column (first, lowest, highest, last), so the picture
// is the same as drawing every point. Non-finite values break the line.
//
// A summarised curve answers each column's lowest and highest point, and its
// bounding rectangle, from a min/max pyramid of its raw y values, so drawing
// costs about the number of pixel columns, not the number of points. The
// pyramid follows new samples by itself; values changed in place must be
// reported with valuesChanged(), which rebuilds it over that range only.
class FunctionCurve : public QwtPlotCurve
{
public:
  explicit FunctionCurve(const QwtText& title = QwtText());

  void setSummarized(bool on);
  bool isSummarized() const { return _summarized; }
  // The y values at the sample indices [from, to) changed in place.
  void valuesChanged(std::size_t from, std::size_t to);

  QRectF boundingRect() const override;

protected:
  void dataChanged() override;
  void drawLines(QPainter* painter, const QwtScaleMap& xMap, const QwtScaleMap& yMap,
                 const QRectF& canvasRect, int from, int to) const override;

private:
  // The pyramid over the current raw samples, or null (not summarised, or
  // samples that are not raw arrays).
  const MinMaxPyramid* summary() const;

  bool _summarized = false;
  mutable MinMaxPyramid _pyramid;
  mutable bool _built = false;
  mutable std::size_t _dirtyFrom = 0, _dirtyTo = 0;
};

#endif
