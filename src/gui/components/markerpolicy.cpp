#include "gui/components/markerpolicy.h"

#include "math/domains/enumerationbase.h"
#include "math/fce/mathfn.h"
#include "math/policy/assertion.h"

#include <qwt_plot_curve.h>
#include <qwt_plot_marker.h>

#include <algorithm>

namespace {

const std::vector<double>& domainValues(const CurveInfoBase::Function* fn)
{
  return fn->domain()->values();
}

} // namespace

CurveInfoBase::CurveInfoBase(const Function* function, std::size_t markersCount)
    : _function(function), _symbol(QwtSymbol::NoSymbol)
{
  _markers.reserve(markersCount);
  for (std::size_t i = 0; i < markersCount; ++i)
    _markers.push_back(newMarker());
}

CurveInfoBase::~CurveInfoBase()
{
  for (QwtPlotMarker* m : _markers) {
    m->detach();
    delete m;
  }
}

void CurveInfoBase::setNonZeroRangeOnly(bool on)
{
  if (_nzOnly == on)
    return;
  _nzOnly = on;
  if (_curve)
    refreshSamples();
}

bool CurveInfoBase::refreshSamples(bool force)
{
  QM_ASSERT(_curve);
  const std::vector<double>& xs = domainValues(_function);
  const double* x = xs.data();
  const double* y;
  std::size_t n;
  if (_nzOnly) {
    const std::size_t b = _function->nzBegin();
    const std::size_t e = std::max(b, std::size_t(_function->nzEnd()));
    x += b;
    y = _function->nzValuesData();
    n = e - b;
  } else {
    y = _function->valuesData();
    n = xs.size();
  }
  if (!force && x == _xData && y == _yData && n == _count)
    return false;
  _xData = x;
  _yData = y;
  _count = n;
  _curve->setRawSamples(x, y, int(n));
  return true;
}

void CurveInfoBase::setName(const QString& name)
{
  _name = name;
  updateTitle();
}

void CurveInfoBase::setValueAt(double x, const QString& prefix)
{
  const std::vector<double>& xs = domainValues(_function);
  if (xs.empty())
    return;
  std::size_t i;
  if (x <= xs.front()) {
    i = 0;
  } else if (x >= xs.back()) {
    i = xs.size() - 1;
  } else {
    // xs[i - 1] <= x < xs[i]; equal distances go to the lower point.
    i = std::size_t(std::upper_bound(xs.begin(), xs.end(), x) - xs.begin());
    if (x - xs[i - 1] <= xs[i] - x)
      --i;
  }
  const double y = _function->valueAtIndex(i);
  _valueText = prefix + QLatin1Char('[') + QString::number(xs[i], 'f', 2) + QLatin1String(", ") +
               QString::number(y, 'f', 3) + QLatin1Char(']');
  updateTitle();
}

void CurveInfoBase::clearValueText()
{
  _valueText.clear();
  updateTitle();
}

void CurveInfoBase::updateTitle()
{
  QM_ASSERT(_curve);
  _curve->setTitle(_name + _valueText);
}

QwtPlotMarker* CurveInfoBase::newMarker(const QString& label)
{
  auto* m = new QwtPlotMarker;
  styleMarker(m, label);
  return m;
}

void CurveInfoBase::styleMarker(QwtPlotMarker* m, const QString& label)
{
  // A new marker has an empty label already.
  if (!label.isEmpty())
    m->setLabel(QwtText(label));
  m->setLineStyle(QwtPlotMarker::NoLine);
  m->setLabelAlignment(Qt::AlignRight | Qt::AlignBottom);
  m->setLinePen(QPen(Qt::darkGreen));
  m->setSymbol(normalSymbol());
}

QwtSymbol* CurveInfoBase::normalSymbol()
{
  return new QwtSymbol(QwtSymbol::Diamond, QBrush(Qt::darkGreen), QPen(Qt::darkGreen),
                       QSize(10, 10));
}

QwtSymbol* CurveInfoBase::highlightedSymbol()
{
  return new QwtSymbol(QwtSymbol::Diamond, QBrush(Qt::darkRed), QPen(Qt::darkRed), QSize(10, 10));
}
