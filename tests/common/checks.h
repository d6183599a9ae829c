#ifndef QUELMORA_TESTS_CHECKS_H
#define QUELMORA_TESTS_CHECKS_H

#include <QByteArray>
#include <QString>

#include <algorithm>
#include <cmath>
#include <functional>
#include <type_traits>
#include <vector>

// A failure message: %1, %2, ... of format replaced in turn, doubles in all 17 digits.
template <typename... A>
QByteArray describe(QString format, const A&... args)
{
  const auto text = [](const auto& a) {
    if constexpr (std::is_floating_point_v<std::decay_t<decltype(a)>>)
      return QString::number(a, 'g', 17);
    else
      return QString("%1").arg(a);
  };
  ((format = format.arg(text(args))), ...);
  return format.toUtf8();
}

// Equal, NaN included.
inline bool same(double a, double b)
{
  return a == b || (std::isnan(a) && std::isnan(b));
}

inline bool sameBits(const std::vector<double>& a, const std::vector<double>& b)
{
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), same);
}

// f at each of the points.
inline std::vector<double> sample(const std::vector<double>& points,
                                  const std::function<double(double)>& f)
{
  std::vector<double> v(points);
  for (double& x : v)
    x = f(x);
  return v;
}

#endif
