#ifndef QUELMORA_NODEMARKER_H
#define QUELMORA_NODEMARKER_H

#include <qwt_plot_marker.h>

#include <cstddef>

// A node marker of a partition plot. Partitions of many nodes put hundreds of
// markers on one pixel column; a marker that would paint exactly what the
// marker of the previous node painted just before it, or that lies outside
// the canvas, skips drawing, so a replot costs about what the canvas width
// costs instead of 100,000 symbol fills. The picture does not change.
class NodeMarker : public QwtPlotMarker
{
public:
  // previous: the marker of the node before, drawn just before this one
  // (same z, attached earlier); it must outlive this marker.
  explicit NodeMarker(const NodeMarker* previous = nullptr, std::size_t index = 0);

  std::size_t index() const { return _index; }

  void draw(QPainter* painter, const QwtScaleMap& xMap, const QwtScaleMap& yMap,
            const QRectF& canvasRect) const override;
  // Whether draw() would paint nothing (off the canvas, or hidden by the
  // previous node's identical symbol), so the plot can skip it altogether.
  bool drawsNothing(const QwtScaleMap& xMap, const QwtScaleMap& yMap,
                    const QRectF& canvasRect) const;

  void itemChanged() override;

private:
  bool drawsOnlySymbol() const;

  const NodeMarker* _previous;
  std::size_t _index;
  // drawsOnlySymbol(), known until the marker changes (reading the label copies it).
  mutable int _onlySymbol = -1;
};

#endif
