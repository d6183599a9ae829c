#ifndef QUELMORA_CONVERGENCEDIALOG_H
#define QUELMORA_CONVERGENCEDIALOG_H

#include "gui/analysis/convergencerunner.h"

#include <QDialog>
#include <QPen>
#include <QPointer>
#include <QVector>

#include <memory>
#include <vector>

class FtransformWidget;
namespace Ui {
class ConvergenceDialog;
}

// The "Convergence" window: MaxAbs and RMSE of the inverse F-transforms of
// degrees 0 to the maximum degree of the controller's functions over a list
// of component counts, each count laid out as the study's layout says
// (Analysis::StudyLayout, taken from the partition in use). The study runs on
// a worker thread with a progress bar and Cancel; hiding the window or a
// change of the functions, the partition kind or shape, the maximum degree
// or the domain cancels it. The default counts stop where the basic functions
// would cover too few points; counts beyond are marked as under-resolved and
// left out of the orders. "Points per basic function" refines the
// discretisation with the count instead. Results are listed per count,
// function and degree, plotted log-log per degree with the empirical order
// and the counts it was fitted on in the legend, and can be exported (the
// table and its orders beside it, the plot as a picture).
class ConvergenceDialog : public QDialog
{
  Q_OBJECT

public:
  explicit ConvergenceDialog(FtransformWidget* controller, QWidget* parent = nullptr);
  ~ConvergenceDialog() override;

  // Colours of degrees 0 to 3.
  void setDegreePens(const QVector<QPen>& pens);

  ConvergenceRunner* runner() const { return _runner; }
  bool isRunning() const { return _runner->isRunning(); }
  const std::vector<Analysis::CountResult>& results() const { return _results; }
  // The empirical order of a function's degree over the resolved results so far.
  Analysis::OrderFit order(int function, int degree, bool rmse) const;
  QString message() const;

public slots:
  // Takes the controller's current inputs and studies them.
  void run();
  void cancel();
  // After every recomputation of the program: inputs that differ from those
  // of the last run cancel it (or mark its results as out of date).
  void onInputs_changed();

protected:
  void hideEvent(QHideEvent* event) override;

private:
  struct Inputs;

  std::unique_ptr<Inputs> readInputs(QString* problem, bool copyValues) const;
  bool sameInputs(const Inputs& current) const;
  void showInputs();
  void checkCounts();
  void setMessage(const QString& text, bool error = false);
  void setRunning(bool running);
  void onCountDone(int index, const Analysis::CountResult& result);
  void onFinished(bool completed, const QString& reason);
  void replotResults();
  void exportTable();
  void exportPlot();

  std::unique_ptr<Ui::ConvergenceDialog> ui;
  QPointer<FtransformWidget> _controller;
  ConvergenceRunner* _runner;
  std::unique_ptr<Inputs> _inputs; // of the last run
  std::vector<int> _counts;        // of the last run
  std::vector<Analysis::CountResult> _results;
  QVector<QPen> _pens;
  bool _stale = false; // the inputs changed since the last run
  bool _countsEdited = false;
  // The default counts of the domain and layout they were found for.
  QString _defaultsFor;
  std::vector<int> _defaults;
  QString _lastDirectory;
};

#endif
