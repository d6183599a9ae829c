#include "gui/components/fittedlegend.h"

#include <QPainter>

#include <qwt_plot.h>
#include <qwt_plot_item.h>
#include <qwt_text.h>

#include <algorithm>
#include <cmath>

FittedLegend::FittedLegend()
{
  setBorderRadius(4);
  QColor back(Qt::gray);
  back.setAlpha(60);
  setBackgroundBrush(QBrush(back));
  setTextPen(QPen(Qt::black));
  setMaxColumns(1);
}

void FittedLegend::setEntries(const QList<const QwtPlotItem*>& items)
{
  _entries.clear();
  for (const QwtPlotItem* item : items)
    for (const QwtLegendData& d : item->legendData())
      _entries.append({item, d});
}

QStringList FittedLegend::titles() const
{
  QStringList list;
  for (const Entry& e : _entries)
    list.append(e.data.title().text());
  return list;
}

void FittedLegend::updateLegend(const QwtPlotItem* item, const QList<QwtLegendData>& data)
{
  int at = -1;
  for (int i = 0; i < _entries.size() && at < 0; ++i)
    if (_entries[i].item == item)
      at = i;
  if (at >= 0) {
    while (at < _entries.size() && _entries[at].item == item)
      _entries.remove(at);
  } else {
    at = _entries.size();
  }
  for (const QwtLegendData& d : data)
    _entries.insert(at++, {item, d});
  // In the plot's order of its items, however they were updated.
  if (const QwtPlot* p = plot()) {
    const QwtPlotItemList items = p->itemList();
    std::stable_sort(_entries.begin(), _entries.end(), [&items](const Entry& a, const Entry& b) {
      return items.indexOf(const_cast<QwtPlotItem*>(a.item)) <
             items.indexOf(const_cast<QwtPlotItem*>(b.item));
    });
  }
  QwtPlotLegendItem::updateLegend(item, data);
}

FittedLegend::Grid FittedLegend::grid(const QSizeF& room, Fill fill) const
{
  Grid g;
  const int n = _entries.size();
  if (n == 0)
    return g;
  QSize cell(0, 0);
  for (const Entry& e : _entries)
    cell = cell.expandedTo(minimumSize(e.data));
  // Text measured on screen runs a little wider on a fine raster: room for it.
  cell.rwidth() += cell.width() / 12 + 2;
  g.cell = cell;
  const double m = margin(), s = spacing();
  auto fitting = [&](double extent, double step) {
    return std::max(1, int(std::floor((extent - 2 * m + s) / (step + s))));
  };
  if (fill == Columns) {
    const int rowsFit = fitting(room.height(), cell.height());
    g.columns = (n + rowsFit - 1) / rowsFit;
  } else {
    g.columns = std::min(n, fitting(room.width(), cell.width()));
  }
  g.rows = (n + g.columns - 1) / g.columns;
  g.size = QSizeF(g.columns * cell.width() + (g.columns - 1) * s + 2 * m,
                  g.rows * cell.height() + (g.rows - 1) * s + 2 * m);
  return g;
}

QSizeF FittedLegend::sizeWithin(const QSizeF& room, Fill fill) const
{
  return grid(room, fill).size;
}

void FittedLegend::drawIn(QPainter* painter, const QRectF& area, Qt::Alignment alignment,
                          double distance, Fill fill) const
{
  _drawn.clear();
  const QRectF room = area.adjusted(distance, distance, -distance, -distance);
  const Grid g = grid(room.size(), fill);
  if (g.columns == 0)
    return;
  QRectF box(QPointF(0, 0), g.size);
  if (alignment & Qt::AlignHCenter)
    box.moveLeft(room.center().x() - box.width() / 2);
  else if (alignment & Qt::AlignRight)
    box.moveRight(room.right());
  else
    box.moveLeft(room.left());
  if (alignment & Qt::AlignVCenter)
    box.moveTop(room.center().y() - box.height() / 2);
  else if (alignment & Qt::AlignBottom)
    box.moveBottom(room.bottom());
  else
    box.moveTop(room.top());
  box = box.toAlignedRect();

  if (backgroundMode() == LegendBackground)
    drawBackground(painter, box);
  const double m = margin(), s = spacing();
  for (int i = 0; i < _entries.size(); ++i) {
    // Down the columns when they fill the height, else along the rows.
    const int column = fill == Columns ? i / g.rows : i % g.columns;
    const int row = fill == Columns ? i % g.rows : i / g.columns;
    const QRectF cell(box.left() + m + column * (g.cell.width() + s),
                      box.top() + m + row * (g.cell.height() + s), g.cell.width(), g.cell.height());
    if (backgroundMode() == ItemBackground)
      drawBackground(painter, cell);
    painter->save();
    drawLegendData(painter, _entries[i].item, _entries[i].data, cell);
    painter->restore();
    _drawn.append({_entries[i].data.title().text(), painter->transform().mapRect(cell)});
  }
}

void FittedLegend::draw(QPainter* painter, const QwtScaleMap&, const QwtScaleMap&,
                        const QRectF& canvasRect) const
{
  drawIn(painter, canvasRect, alignment(), borderDistance(), Columns);
}
