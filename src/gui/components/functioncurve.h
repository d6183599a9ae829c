#ifndef QUELMORA_FUNCTIONCURVE_H
#define QUELMORA_FUNCTIONCURVE_H

#include <qwt_plot_curve.h>

// A curve of a function sampled at ascending x. Lines are drawn from at most
// four points per pixel column (first, lowest, highest, last), so a domain of
// 100,000 points costs about what the canvas width costs, and the picture is
// the same as drawing every point. Non-finite values break the line.
class FunctionCurve : public QwtPlotCurve
{
public:
  explicit FunctionCurve(const QwtText& title = QwtText());

protected:
  void drawLines(QPainter* painter, const QwtScaleMap& xMap, const QwtScaleMap& yMap,
                 const QRectF& canvasRect, int from, int to) const override;
};

#endif
