#include "gui/components/shownnumber.h"

#include <QLocale>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// floor(log10(x)) for a positive finite x, safe from log10's rounding.
int decade(double x)
{
  int e = int(std::floor(std::log10(x)));
  if (std::pow(10.0, e) > x)
    --e;
  else if (std::pow(10.0, e + 1) <= x)
    ++e;
  return e;
}

int clampDecimals(int d)
{
  return std::clamp(d, ShownNumber::minDecimals, ShownNumber::maxDecimals);
}

} // namespace

int ShownNumber::decimalsForSpacing(double spacing)
{
  if (!(spacing > 0.0) || !std::isfinite(spacing))
    return minDecimals;
  // Three significant digits: the spacing is at least 100 units of the last decimal.
  return clampDecimals(2 - decade(spacing));
}

int ShownNumber::decimalsForNodes(const std::vector<double>& nodes)
{
  double smallest = std::numeric_limits<double>::infinity();
  for (std::size_t i = 1; i < nodes.size(); ++i) {
    const double d = nodes[i] - nodes[i - 1];
    if (d > 0.0 && d < smallest)
      smallest = d;
  }
  return decimalsForSpacing(smallest);
}

int ShownNumber::decimalsForValues(const double* values, std::size_t count, int significant)
{
  double largest = 0.0;
  for (std::size_t i = 0; i < count; ++i)
    if (std::isfinite(values[i]))
      largest = std::max(largest, std::abs(values[i]));
  if (!(largest > 0.0))
    return minDecimals;
  return clampDecimals(significant - 1 - decade(largest));
}

QString ShownNumber::text(double value, int decimals)
{
  // Beyond the digits a double holds, fixed notation only adds noise.
  if (std::abs(value) >= 1e16)
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
  return QString::number(value, 'f', clampDecimals(decimals));
}
