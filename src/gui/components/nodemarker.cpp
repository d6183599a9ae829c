#include "gui/components/nodemarker.h"

#include "gui/components/pixelclamp.h"

#include <qwt_scale_map.h>
#include <qwt_symbol.h>
#include <qwt_text.h>

namespace {

bool sameLook(const QwtSymbol* a, const QwtSymbol* b)
{
  return a && b && a->style() == b->style() && a->size() == b->size() && a->brush() == b->brush() &&
         a->pen() == b->pen();
}

QPointF position(const QwtPlotMarker* m, const QwtScaleMap& xMap, const QwtScaleMap& yMap)
{
  return QPointF(mapToPixel(xMap, m->xValue()), mapToPixel(yMap, m->yValue()));
}

} // namespace

NodeMarker::NodeMarker(const NodeMarker* previous, std::size_t index)
    : _previous(previous), _index(index)
{
}

bool NodeMarker::drawsOnlySymbol() const
{
  if (_onlySymbol < 0)
    _onlySymbol = lineStyle() == QwtPlotMarker::NoLine && label().isEmpty() && symbol() &&
                  symbol()->style() != QwtSymbol::NoSymbol;
  return _onlySymbol != 0;
}

void NodeMarker::itemChanged()
{
  _onlySymbol = -1;
  QwtPlotMarker::itemChanged();
}

bool NodeMarker::drawsNothing(const QwtScaleMap& xMap, const QwtScaleMap& yMap,
                              const QRectF& canvasRect) const
{
  if (!drawsOnlySymbol())
    return false;
  const QPointF p = position(this, xMap, yMap);
  const QSizeF s = symbol()->size();
  const qreal reach = qMax(s.width(), s.height()) + symbol()->pen().widthF() + 2.0;
  if (!canvasRect.adjusted(-reach, -reach, reach, reach).contains(p))
    return true;
  if (_previous && _previous->isVisible() && _previous->drawsOnlySymbol() &&
      sameLook(_previous->symbol(), symbol())) {
    const QPointF q = position(_previous, xMap, yMap);
    if (roundPixel(p.x()) == roundPixel(q.x()) && roundPixel(p.y()) == roundPixel(q.y()))
      return true;
  }
  return false;
}

void NodeMarker::draw(QPainter* painter, const QwtScaleMap& xMap, const QwtScaleMap& yMap,
                      const QRectF& canvasRect) const
{
  if (!drawsNothing(xMap, yMap, canvasRect))
    QwtPlotMarker::draw(painter, xMap, yMap, canvasRect);
}
