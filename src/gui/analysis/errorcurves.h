#ifndef QUELMORA_ERRORCURVES_H
#define QUELMORA_ERRORCURVES_H

#include <QObject>
#include <QPointer>
#include <QVector>

#include <memory>
#include <vector>

class ErrorMonitor;
class PlotWidget;
class QwtPlotCurve;
namespace Fn {
template <typename X, typename Y>
class MathFn;
}

// Draws e(x) = f(x) - F_d(x) of every function and shown degree on the
// controller's plot, against a right-hand axis titled "Error" that is
// symmetric about 0: each curve in its degree's pen, dashed, with a small
// marker at ArgMax. The curves read arrays owned here (a copy of the
// domain's points and the error values), never the functions or the domain
// the main window replaces and deletes.
class ErrorCurves : public QObject
{
  Q_OBJECT

public:
  ErrorCurves(ErrorMonitor* monitor, PlotWidget* plot, QObject* parent = nullptr);
  ~ErrorCurves() override;

  void setShown(bool shown);
  bool isShown() const { return _shown; }
  // Curves on the plot, one per row of the monitor.
  int curveCount() const { return int(_curves.size()); }
  struct Shown
  {
    const Fn::MathFn<double, double>* fn;
    int flag;
    const QwtPlotCurve* curve;
  };
  QVector<Shown> shownCurves() const;
  // Legend names: "ErrFt0", followed by the name of the function's own
  // curve when more than one function is shown.
  void nameCurves();

private:
  struct Curve;

  void onUpdated(bool rowsChanged, qint64 from, qint64 to);
  void clear();
  void fillErrors(Curve& c, std::size_t from, std::size_t to) const;

  QPointer<ErrorMonitor> _monitor;
  QPointer<PlotWidget> _plot;
  bool _shown = false;
  std::vector<double> _x;
  std::vector<std::unique_ptr<Curve>> _curves;
};

#endif
