#include "gui/components/functioncurve.h"

#include "gui/components/pixelclamp.h"

#include <QPainter>

#include <qwt_clipper.h>
#include <qwt_painter.h>
#include <qwt_point_data.h>
#include <qwt_scale_map.h>

#include <algorithm>
#include <cmath>

FunctionCurve::FunctionCurve(const QwtText& title) : QwtPlotCurve(title)
{
  // Never fitted: the default spline fitter would only cost memory, which
  // counts with a curve for each of 100,000 basic functions.
  setCurveFitter(nullptr);
  // The scale tells raw samples nothing, and every replot would tell every curve.
  setItemInterest(QwtPlotItem::ScaleInterest, false);
}

namespace {

// Collects the points of one pixel column and hands on the ones that matter.
class ColumnReducer
{
public:
  explicit ColumnReducer(QPolygonF& target) : out(target) {}

  Q_ALWAYS_INLINE void add(const QPointF& p)
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

// Samples to pixels, as the painter will place them.
struct PixelMap
{
  const QwtScaleMap& xMap;
  const QwtScaleMap& yMap;
  bool align;

  Q_ALWAYS_INLINE double x(double v) const
  {
    const double p = mapToPixel(xMap, v);
    return align ? qRound(p) : p;
  }
  Q_ALWAYS_INLINE QPointF operator()(double vx, double vy) const
  {
    const double py = mapToPixel(yMap, vy);
    return QPointF(x(vx), align ? qRound(py) : py);
  }
  Q_ALWAYS_INLINE double column(double vx) const { return std::floor(x(vx)); }
};

} // namespace

namespace {

void mergeRange(std::size_t& from, std::size_t& to, std::size_t a, std::size_t b)
{
  if (from >= to) {
    from = a;
    to = b;
  } else {
    from = std::min(from, a);
    to = std::max(to, b);
  }
}

} // namespace

bool FunctionCurve::ColumnsKey::operator==(const ColumnsKey& o) const
{
  return s1 == o.s1 && s2 == o.s2 && p1 == o.p1 && p2 == o.p2 && align == o.align &&
         from == o.from && to == o.to && xs == o.xs && ys == o.ys;
}

void FunctionCurve::setSummarized(bool on)
{
  _summarized = on;
  _built = false;
  _columnsValid = false;
}

void FunctionCurve::valuesChanged(std::size_t from, std::size_t to)
{
  if (from >= to)
    return;
  if (from == 0 || to >= dataSize())
    dataChangedRange();
  if (_built)
    mergeRange(_dirtyFrom, _dirtyTo, from, to);
  if (_columnsValid)
    mergeRange(_columnsDirtyFrom, _columnsDirtyTo, from, to);
}

void FunctionCurve::dataChanged()
{
  _built = false;
  _columnsValid = false;
  dataChangedRange();
  QwtPlotCurve::dataChanged();
}

void FunctionCurve::dataChangedRange()
{
  const std::size_t n = dataSize();
  _hasXRange = n > 0;
  if (_hasXRange) {
    _xFirst = sample(0).x();
    _xLast = sample(n - 1).x();
  }
}

bool FunctionCurve::xRange(double& first, double& last) const
{
  first = _xFirst;
  last = _xLast;
  return _hasXRange;
}

const MinMaxPyramid* FunctionCurve::summary() const
{
  if (!_summarized)
    return nullptr;
  const auto* raw = dynamic_cast<const QwtCPointerData*>(data());
  // A few points cost less drawn as they are.
  if (!raw || raw->size() < 64)
    return nullptr;
  if (!_built || _pyramid.values() != raw->yData() || _pyramid.size() != raw->size()) {
    _pyramid.reset(raw->yData(), raw->size());
    _built = true;
  } else if (_dirtyFrom < _dirtyTo) {
    _pyramid.update(_dirtyFrom, _dirtyTo);
  }
  _dirtyFrom = _dirtyTo = 0;
  return &_pyramid;
}

QRectF FunctionCurve::boundingRect() const
{
  // Values change in place: Qwt's rectangle, made once per sample set, would go stale.
  const auto* raw = _summarized ? dynamic_cast<const QwtCPointerData*>(data()) : nullptr;
  if (!raw)
    return QwtPlotCurve::boundingRect();
  const std::size_t n = raw->size();
  if (n == 0)
    return QRectF(1.0, 1.0, -2.0, -2.0);
  MinMaxPyramid::Extremes e;
  if (const MinMaxPyramid* s = summary())
    e = s->all();
  else
    for (std::size_t i = 0; i < n; ++i)
      e.add(raw->yData()[i], i);
  const double x0 = raw->xData()[0], x1 = raw->xData()[n - 1];
  // Without a finite value only the x range counts (a negative height is ignored).
  if (!e.hasFinite())
    return QRectF(x0, 0.0, x1 - x0, -1.0);
  return QRectF(QPointF(x0, e.min), QPointF(x1, e.max));
}

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
  const PixelMap map{xMap, yMap, QwtPainter::roundingAlignment(painter)};
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
  auto addPoints = [&](int first, int last) {
    if (raw) {
      const double* xs = raw->xData();
      const double* ys = raw->yData();
      for (int i = first; i <= last; ++i) {
        if (!std::isfinite(xs[i]) || !std::isfinite(ys[i])) {
          draw();
          continue;
        }
        reducer.add(map(xs[i], ys[i]));
      }
      return;
    }
    for (int i = first; i <= last; ++i) {
      const QPointF s = series->sample(size_t(i));
      if (!std::isfinite(s.x()) || !std::isfinite(s.y())) {
        draw();
        continue;
      }
      reducer.add(map(s.x(), s.y()));
    }
  };
  const MinMaxPyramid* summary = this->summary();
  if (!summary || !std::isfinite(raw->xData()[from]) || !std::isfinite(raw->xData()[to])) {
    addPoints(from, to);
    draw();
    return;
  }

  if (!(_columnsValid &&
        _columnsKey == ColumnsKey{xMap.s1(), xMap.s2(), xMap.p1(), xMap.p2(), map.align, from, to,
                                  raw->xData(), raw->yData()} &&
        refreshColumns(*summary, xMap, map.align)))
    makeColumns(*summary, xMap, map.align, from, to);
  for (const Column& c : _columns) {
    if (c.points == 0)
      addPoints(c.first, c.last);
    for (int k = 0; k < c.points; ++k)
      reducer.add(map(c.x[k], c.y[k]));
  }
  draw();
}

void FunctionCurve::describeColumn(const MinMaxPyramid& summary, Column& c) const
{
  c.points = 0;
  if (c.last - c.first < 4) // a few samples are drawn as they are
    return;
  const MinMaxPyramid::Extremes e = summary.query(std::size_t(c.first), std::size_t(c.last) + 1);
  if (e.nonFinite > 0 || !e.hasFinite()) // the line breaks inside: every sample counts
    return;
  const auto* raw = static_cast<const QwtCPointerData*>(data());
  const int marks[4] = {c.first, int(std::min(e.minIndex, e.maxIndex)),
                        int(std::max(e.minIndex, e.maxIndex)), c.last};
  int previous = -1;
  for (int m : marks) {
    if (m == previous)
      continue;
    c.x[c.points] = raw->xData()[m];
    c.y[c.points] = raw->yData()[m];
    ++c.points;
    previous = m;
  }
}

// Column by column: the samples of one pixel column are found by a galloping
// search on x, their extremes in the pyramid.
void FunctionCurve::makeColumns(const MinMaxPyramid& summary, const QwtScaleMap& xMap, bool align,
                                int from, int to) const
{
  const auto* raw = static_cast<const QwtCPointerData*>(data());
  const double* xs = raw->xData();
  const PixelMap map{xMap, xMap, align};
  _columns.clear();
  int i = from;
  while (i <= to) {
    const double column = map.column(xs[i]);
    int lo = i, hi = i + 1, step = 1;
    while (hi <= to && map.column(xs[hi]) == column) {
      lo = hi;
      step *= 2;
      hi = lo + step;
    }
    hi = std::min(hi, to + 1);
    while (hi - lo > 1) {
      const int mid = lo + (hi - lo) / 2;
      if (map.column(xs[mid]) == column)
        lo = mid;
      else
        hi = mid;
    }
    Column c{i, hi - 1, 0, {}, {}};
    describeColumn(summary, c);
    _columns.push_back(c);
    i = hi;
  }
  _columnsKey =
      ColumnsKey{xMap.s1(), xMap.s2(), xMap.p1(), xMap.p2(), align, from, to, xs, raw->yData()};
  _columnsValid = true;
  _columnsDirtyFrom = _columnsDirtyTo = 0;
}

// Describes again the columns over the samples that changed; false when a
// sample moved across a column border, so that the columns must be made anew.
bool FunctionCurve::refreshColumns(const MinMaxPyramid& summary, const QwtScaleMap& xMap,
                                   bool align) const
{
  const std::size_t a = _columnsDirtyFrom, b = _columnsDirtyTo;
  _columnsDirtyFrom = _columnsDirtyTo = 0;
  if (a >= b)
    return true;
  const double* xs = static_cast<const QwtCPointerData*>(data())->xData();
  const PixelMap map{xMap, xMap, align};
  auto it =
      std::lower_bound(_columns.begin(), _columns.end(), a,
                       [](const Column& c, std::size_t i) { return std::size_t(c.last) < i; });
  for (; it != _columns.end() && std::size_t(it->first) < b; ++it) {
    const double column = map.column(xs[it->first]);
    if (map.column(xs[it->last]) != column ||
        (it != _columns.begin() && map.column(xs[(it - 1)->last]) == column) ||
        (it + 1 != _columns.end() && map.column(xs[(it + 1)->first]) == column))
      return false;
    describeColumn(summary, *it);
  }
  return true;
}
