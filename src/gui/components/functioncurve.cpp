#include "gui/components/functioncurve.h"

#include "gui/components/pixelclamp.h"

#include <QPainter>

#include <qwt_clipper.h>
#include <qwt_painter.h>
#include <qwt_point_data.h>
#include <qwt_scale_map.h>

#include <cmath>

FunctionCurve::FunctionCurve(const QwtText& title) : QwtPlotCurve(title)
{
  // Never fitted: the default spline fitter would only cost memory, which
  // counts with a curve for each of 100,000 basic functions.
  setCurveFitter(nullptr);
}

namespace {

// Collects the points of one pixel column and hands on the ones that matter.
class ColumnReducer
{
public:
  explicit ColumnReducer(QPolygonF& target) : out(target) {}

  void add(const QPointF& p)
  {
    const double column = std::floor(p.x());
    if (count > 0 && column != currentColumn)
      flush();
    if (count == 0) {
      currentColumn = column;
      first = low = high = last = p;
      lowIndex = highIndex = 0;
    } else {
      last = p;
      if (p.y() < low.y()) {
        low = p;
        lowIndex = count;
      }
      if (p.y() > high.y()) {
        high = p;
        highIndex = count;
      }
    }
    ++count;
  }

  void flush()
  {
    if (count == 0)
      return;
    out.append(first);
    if (count > 1) {
      const bool lowFirst = lowIndex <= highIndex;
      const QPointF& a = lowFirst ? low : high;
      const QPointF& b = lowFirst ? high : low;
      const int ai = lowFirst ? lowIndex : highIndex;
      const int bi = lowFirst ? highIndex : lowIndex;
      if (ai != 0 && ai != count - 1)
        out.append(a);
      if (bi != 0 && bi != count - 1 && bi != ai)
        out.append(b);
      out.append(last);
    }
    count = 0;
  }

private:
  QPolygonF& out;
  double currentColumn = 0.0;
  QPointF first, low, high, last;
  int lowIndex = 0, highIndex = 0, count = 0;
};

} // namespace

void FunctionCurve::drawLines(QPainter* painter, const QwtScaleMap& xMap, const QwtScaleMap& yMap,
                              const QRectF& canvasRect, int from, int to) const
{
  if (to <= from || style() != Lines || brush().style() != Qt::NoBrush ||
      testCurveAttribute(Fitted)) {
    QwtPlotCurve::drawLines(painter, xMap, yMap, canvasRect, from, to);
    return;
  }
  const QwtSeriesData<QPointF>* series = data();
  // Samples ascend in x: skip those left and right of the view, keeping one
  // on each side so that the line still leaves the canvas.
  const double xLow = std::min(xMap.s1(), xMap.s2()), xHigh = std::max(xMap.s1(), xMap.s2());
  auto firstNotBelow = [series](int lo, int hi, double x) {
    while (lo < hi) {
      const int mid = lo + (hi - lo) / 2;
      if (series->sample(size_t(mid)).x() < x)
        lo = mid + 1;
      else
        hi = mid;
    }
    return lo;
  };
  from = std::max(from, firstNotBelow(from, to + 1, xLow) - 1);
  to = std::min(to, firstNotBelow(from, to + 1, xHigh));
  if (to <= from)
    return;
  const double pw = std::max(1.0, painter->pen().widthF());
  const QRectF clipRect = canvasRect.adjusted(-pw, -pw, pw, pw);

  // Whole pixels on raster devices, as Qwt's own curves do.
  const bool align = QwtPainter::roundingAlignment(painter);
  QPolygonF line;
  line.reserve(std::min(to - from + 1, 4 * int(canvasRect.width() + 2)));
  ColumnReducer reducer(line);
  auto draw = [&]() {
    reducer.flush();
    if (line.size() > 1) {
      if (testPaintAttribute(ClipPolygons))
        QwtPainter::drawPolyline(painter, QwtClipper::clipPolygonF(clipRect, line, false));
      else
        QwtPainter::drawPolyline(painter, line);
    }
    line.clear();
  };
  // Raw samples (the usual case) are read straight from their arrays.
  const auto* raw = dynamic_cast<const QwtCPointerData*>(series);
  for (int i = from; i <= to; ++i) {
    const QPointF s = raw ? QPointF(raw->xData()[i], raw->yData()[i]) : series->sample(size_t(i));
    if (!std::isfinite(s.x()) || !std::isfinite(s.y())) {
      draw();
      continue;
    }
    QPointF p(mapToPixel(xMap, s.x()), mapToPixel(yMap, s.y()));
    if (align)
      p = QPointF(qRound(p.x()), qRound(p.y()));
    reducer.add(p);
  }
  draw();
}
