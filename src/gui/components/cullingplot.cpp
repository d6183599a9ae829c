#include "gui/components/cullingplot.h"

#include <QPainter>

#include "gui/components/functioncurve.h"
#include "gui/components/nodemarker.h"

#include <qwt_plot_marker.h>
#include <qwt_scale_map.h>

#include <algorithm>

namespace {

// Room around the canvas for marker symbols and pen widths.
constexpr double kMargin = 32.0;

bool outsideHorizontally(const QwtPlotItem* item, const QRectF& canvasRect, const QwtScaleMap& xMap)
{
  double left, right;
  if (const auto* curve = dynamic_cast<const FunctionCurve*>(item)) {
    // Ascending x: the ends are the first and the last sample (a bounding
    // rectangle would read them all).
    const std::size_t n = curve->dataSize();
    if (n == 0)
      return false;
    left = curve->sample(0).x();
    right = curve->sample(n - 1).x();
  } else if (const auto* marker = dynamic_cast<const QwtPlotMarker*>(item)) {
    left = right = marker->xValue();
  } else {
    return false;
  }
  const double a = xMap.transform(left), b = xMap.transform(right);
  return std::max(a, b) < canvasRect.left() - kMargin ||
         std::min(a, b) > canvasRect.right() + kMargin;
}

// Curves of fewer than two points draw no line; node markers know when
// they would paint nothing new.
bool drawsNothing(const QwtPlotItem* item, const QRectF& canvasRect, const QwtScaleMap& xMap,
                  const QwtScaleMap& yMap)
{
  if (const auto* curve = dynamic_cast<const FunctionCurve*>(item))
    return curve->dataSize() < 2 && curve->style() == QwtPlotCurve::Lines && !curve->symbol();
  if (const auto* node = dynamic_cast<const NodeMarker*>(item))
    return node->drawsNothing(xMap, yMap, canvasRect);
  return false;
}

} // namespace

void CullingPlot::drawItems(QPainter* painter, const QRectF& canvasRect,
                            const QwtScaleMap maps[axisCnt]) const
{
  const QwtPlotItemList& items = itemList();
  for (QwtPlotItem* item : items) {
    if (!item || !item->isVisible())
      continue;
    const QwtScaleMap& xMap = maps[item->xAxis()];
    const QwtScaleMap& yMap = maps[item->yAxis()];
    if (outsideHorizontally(item, canvasRect, xMap) || drawsNothing(item, canvasRect, xMap, yMap))
      continue;
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing,
                           item->testRenderHint(QwtPlotItem::RenderAntialiased));
    item->draw(painter, xMap, yMap, canvasRect);
    painter->restore();
  }
}
