#include "gui/components/cullingplot.h"

#include "gui/components/functioncurve.h"
#include "gui/components/nodemarker.h"

#include <QPainter>

#include <qwt_plot_marker.h>
#include <qwt_scale_map.h>

#include <algorithm>
#include <typeinfo>

namespace {

// Room around the canvas for marker symbols and pen widths.
constexpr double kMargin = 32.0;

// Items of these classes only are judged (typeid is cheaper than a dynamic
// cast, which counts with 20,000 items).
const FunctionCurve* asFunctionCurve(const QwtPlotItem* item)
{
  return typeid(*item) == typeid(FunctionCurve) ? static_cast<const FunctionCurve*>(item) : nullptr;
}

const NodeMarker* asNodeMarker(const QwtPlotItem* item)
{
  return typeid(*item) == typeid(NodeMarker) ? static_cast<const NodeMarker*>(item) : nullptr;
}

bool outsideHorizontally(const QwtPlotItem* item, const QRectF& canvasRect, const QwtScaleMap& xMap)
{
  double left, right;
  if (const FunctionCurve* curve = asFunctionCurve(item)) {
    if (!curve->xRange(left, right))
      return false;
  } else if (item->rtti() == QwtPlotItem::Rtti_PlotMarker) {
    left = right = static_cast<const QwtPlotMarker*>(item)->xValue();
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
  if (const FunctionCurve* curve = asFunctionCurve(item))
    return curve->dataSize() < 2 && curve->style() == QwtPlotCurve::Lines && !curve->symbol();
  if (const NodeMarker* node = asNodeMarker(item))
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
