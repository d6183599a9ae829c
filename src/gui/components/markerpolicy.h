#ifndef QUELMORA_MARKERPOLICY_H
#define QUELMORA_MARKERPOLICY_H

#include <QFlags>
#include <QRectF>
#include <QString>

#include <qwt_symbol.h>

#include <vector>

class QwtPlotCurve;
class QwtPlotMarker;
namespace Fn {
template <typename X, typename Y>
class MathFn;
}

// Ties a function to its plot curve and to the markers the curve offers for
// editing. The function is borrowed (its owner outlives the curve); the
// markers are owned here, the curve by the plot widget that drew it.
class CurveInfoBase
{
public:
  enum Option : quint32 { MoveX = 1, MoveY = 2, Bounded = 4 };
  Q_DECLARE_FLAGS(Options, Option)

  using Function = Fn::MathFn<double, double>;

  CurveInfoBase(const Function* function, std::size_t markersCount);
  virtual ~CurveInfoBase();

  // The rectangle (plot coordinates) inside which the marker may be dragged;
  // y holds the upper limit and the height is negative or zero.
  virtual QRectF bounds(QwtPlotMarker* marker) const = 0;

  const Function* function() const { return _function; }
  const std::vector<QwtPlotMarker*>& markers() const { return _markers; }
  Options options() const { return _options; }

  QwtPlotCurve* curve() const { return _curve; }
  void setCurve(QwtPlotCurve* curve) { _curve = curve; }

  // When set, the curve covers only the function's non-zero range, which
  // keeps a partition of many narrow basic functions cheap to draw.
  bool nonZeroRangeOnly() const { return _nzOnly; }
  void setNonZeroRangeOnly(bool on);
  // Points the curve at the function's arrays again (no copy). Needed after
  // the non-zero range moved; returns whether anything changed. Forced, it
  // does so even for the same arrays, whose values changed: the curve then
  // measures its range (the autoscaled axis) afresh.
  bool refreshSamples(bool force = false);

  QString name() const { return _name; }
  void setName(const QString& name);
  QString valueText() const { return _valueText; }

  // Sets the read-out to prefix + "[x, y]" at the domain point nearest to x
  // (the lower one on a tie) and shows it in the curve title.
  void setValueAt(double x, const QString& prefix);
  void clearValueText();

  // Marker look shared by curve markers and node markers.
  static QwtPlotMarker* newMarker(const QString& label = QString());
  static void styleMarker(QwtPlotMarker* marker, const QString& label = QString());
  static QwtSymbol* normalSymbol();
  static QwtSymbol* highlightedSymbol();

protected:
  void setOptions(Options options) { _options = options; }

private:
  void updateTitle();

  const Function* _function;
  std::vector<QwtPlotMarker*> _markers;
  QwtSymbol _symbol;
  QString _name;
  QString _valueText;
  Options _options;
  QwtPlotCurve* _curve = nullptr;
  bool _nzOnly = false;
  // What the curve points at now, to skip needless refreshes.
  const double* _xData = nullptr;
  const double* _yData = nullptr;
  std::size_t _count = 0;

  CurveInfoBase(const CurveInfoBase&) = delete;
  CurveInfoBase& operator=(const CurveInfoBase&) = delete;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(CurveInfoBase::Options)

// The policy of every ordinary curve: no markers can move, no bounds.
class NoMarkerPolicy : public CurveInfoBase
{
public:
  NoMarkerPolicy(const Function* function, std::size_t markersCount)
      : CurveInfoBase(function, markersCount)
  {
    setOptions(Options());
  }

  QRectF bounds(QwtPlotMarker*) const override { return QRectF(0, 0, 0, 0); }
};

template <typename Policy>
class CurveInfo : public Policy
{
public:
  explicit CurveInfo(const typename Policy::Function* function, std::size_t markersCount = 0)
      : Policy(function, markersCount)
  {
  }
};

#endif
