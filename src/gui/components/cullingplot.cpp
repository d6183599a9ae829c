#include "gui/components/cullingplot.h"

#include <QPainter>

#include <qwt_plot_item.h>
#include <qwt_scale_map.h>

#include <algorithm>

namespace {

// Room around the canvas for marker symbols and pen widths.
constexpr double kMargin = 32.0;

bool outsideHorizontally(const QwtPlotItem* item, const QRectF& canvasRect, const QwtScaleMap& xMap)
{
  const int rtti = item->rtti();
  if (rtti != QwtPlotItem::Rtti_PlotCurve && rtti != QwtPlotItem::Rtti_PlotMarker)
    return false;
  const QRectF r = item->boundingRect();
  if (!(r.width() >= 0.0))
    return false;
  const double a = xMap.transform(r.left()), b = xMap.transform(r.right());
  return std::max(a, b) < canvasRect.left() - kMargin || std::min(a, b) > canvasRect.right() + kMargin;
}

} // namespace

void CullingPlot::drawItems(QPainter* painter, const QRectF& canvasRect,
                            const QwtScaleMap maps[axisCnt]) const
{
  const QwtPlotItemList& items = itemList();
  for (QwtPlotItem* item : items) {
    if (!item || !item->isVisible() || outsideHorizontally(item, canvasRect, maps[item->xAxis()]))
      continue;
    painter->save();
    const bool antialiased = item->testRenderHint(QwtPlotItem::RenderAntialiased);
    painter->setRenderHint(QPainter::Antialiasing, antialiased);
    item->draw(painter, maps[item->xAxis()], maps[item->yAxis()], canvasRect);
    painter->restore();
  }
}
