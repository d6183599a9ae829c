#ifndef QUELMORA_CULLINGPLOT_H
#define QUELMORA_CULLINGPLOT_H

#include <qwt_plot.h>

// A Qwt plot that does not even start drawing the curves and markers that lie
// wholly left or right of the canvas. Qwt saves and restores the painter
// around every item, which with the 10,000 basic functions and nodes of a
// large partition cost more than all the drawing in view.
class CullingPlot : public QwtPlot
{
public:
  using QwtPlot::QwtPlot;

protected:
  void drawItems(QPainter* painter, const QRectF& canvasRect,
                 const QwtScaleMap maps[axisCnt]) const override;
};

#endif
