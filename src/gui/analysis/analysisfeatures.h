#ifndef QUELMORA_ANALYSISFEATURES_H
#define QUELMORA_ANALYSISFEATURES_H

#include <QObject>
#include <QPen>
#include <QPointer>
#include <QVector>

class ConvergenceDialog;
class ErrorCurves;
class ErrorMonitor;
class ErrorTableWidget;
class FtransformWidget;
class QAction;
class QDockWidget;
class QMainWindow;
class QMenu;

// The approximation-error features of the main window, in one place: the
// "Approximation error" dock (beside the component table, shown from the
// Window menu, placed and shown as the window state keeps it), the error
// curves of the main plot and the "Analysis" menu with "Convergence...".
// The window tells it of the recomputations the controller does not
// announce (refresh) and of the preferences; it owns everything it made.
class AnalysisFeatures : public QObject
{
  Q_OBJECT

public:
  AnalysisFeatures(QMainWindow* window, FtransformWidget* controller, QMenu* windowMenu,
                   QDockWidget* besideDock);
  ~AnalysisFeatures() override;

  ErrorMonitor* monitor() const { return _monitor; }
  ErrorCurves* curves() const { return _curves; }
  QDockWidget* dock() const;
  ErrorTableWidget* table() const { return _table; }
  ConvergenceDialog* convergence() const;

  void setErrorCurvesShown(bool shown);
  // Colours of degrees 0 to 3 for the convergence plot.
  void setDegreePens(const QVector<QPen>& pens);

public slots:
  void refresh();
  void openConvergence();

private:
  QPointer<QMainWindow> _window;
  FtransformWidget* _controller;
  ErrorMonitor* _monitor;
  ErrorCurves* _curves;
  QPointer<QDockWidget> _dock;
  ErrorTableWidget* _table;
  QPointer<ConvergenceDialog> _convergence;
  QVector<QPen> _pens;
};

#endif
