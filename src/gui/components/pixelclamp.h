#ifndef QUELMORA_PIXELCLAMP_H
#define QUELMORA_PIXELCLAMP_H

#include <QPointF>
#include <QtGlobal>

#include <qwt_scale_map.h>

#include <cmath>

// Canvas coordinates of data far off the view (1e308 mapped onto a few
// hundred pixels) lie beyond every integer type: rounding or casting them is
// undefined behaviour. Every mapped coordinate passes here before it is
// rounded or cast. Clamped to +-pixelLimit a point still lies far off any
// canvas, so a line towards it keeps its visible course to a small fraction
// of a pixel, and sums of such coordinates still fit an int. NaN goes to the
// low limit.
constexpr double pixelLimit = 1e8;

inline double clampPixel(double v)
{
  if (!(v > -pixelLimit))
    return -pixelLimit;
  return v < pixelLimit ? v : pixelLimit;
}

inline QPointF clampPixel(const QPointF& p)
{
  return QPointF(clampPixel(p.x()), clampPixel(p.y()));
}

inline int roundPixel(double v)
{
  return qRound(clampPixel(v));
}

// The clamped canvas coordinate of a value. QwtScaleMap::transform computes
// value - s1 first, which overflows to infinity when the two lie more than
// the double range apart (1.7e308 on a scale starting at -6e307); halved,
// the same ratio stays finite and the point keeps its true place.
inline double mapToPixel(const QwtScaleMap& map, double value)
{
  const double p = map.transform(value);
  if (std::isfinite(p) || !std::isfinite(value) || map.transformation() || map.s1() == map.s2())
    return clampPixel(p);
  const double ratio = (0.5 * value - 0.5 * map.s1()) / (0.5 * map.s2() - 0.5 * map.s1());
  return clampPixel(map.p1() + ratio * (map.p2() - map.p1()));
}

#endif
