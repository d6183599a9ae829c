#ifndef QUELMORA_FITTEDLEGEND_H
#define QUELMORA_FITTEDLEGEND_H

#include <QSizeF>
#include <QString>
#include <QStringList>
#include <QVector>

#include <qwt_legend_data.h>
#include <qwt_plot_legenditem.h>

// A legend that shows every entry inside the room it is given: where one
// column would run past the canvas (or the figure's margin), it takes more
// columns, or for a legend below a plot as many as the width holds. On a
// plot it gets its entries as Qwt's legend item does; a figure can fill it
// from plot items directly and draw it outside a canvas.
class FittedLegend : public QwtPlotLegendItem
{
public:
  // Columns: as many columns as the height needs. Rows: as many columns as
  // the width holds, rows as needed.
  enum Fill { Columns, Rows };
  struct Drawn
  {
    QString title;
    QRectF rect;
  };

  FittedLegend();

  // Entries of the items, as the items would give them to a plot's legend.
  void setEntries(const QList<const QwtPlotItem*>& items);
  int entryCount() const { return _entries.size(); }
  QStringList titles() const;

  // The legend's size when laid out in room.
  QSizeF sizeWithin(const QSizeF& room, Fill fill) const;
  // Draws the legend aligned inside area, `distance` away from its edges.
  void drawIn(QPainter* painter, const QRectF& area, Qt::Alignment alignment, double distance,
              Fill fill) const;
  // The entries of the last drawing and where they went, in painter coordinates.
  const QVector<Drawn>& lastDrawn() const { return _drawn; }

  void draw(QPainter* painter, const QwtScaleMap& xMap, const QwtScaleMap& yMap,
            const QRectF& canvasRect) const override;
  void updateLegend(const QwtPlotItem* item, const QList<QwtLegendData>& data) override;

private:
  struct Entry
  {
    const QwtPlotItem* item;
    QwtLegendData data;
  };
  struct Grid
  {
    int columns = 0, rows = 0;
    QSizeF cell, size;
  };

  Grid grid(const QSizeF& room, Fill fill) const;

  QVector<Entry> _entries;
  mutable QVector<Drawn> _drawn;
};

#endif
