#ifndef QUELMORA_CONVERGENCERUNNER_H
#define QUELMORA_CONVERGENCERUNNER_H

#include "analysis/convergencestudy.h"

#include <QObject>
#include <QPointer>
#include <QThread>

#include <atomic>
#include <memory>
#include <vector>

// Runs a convergence study on a worker thread, one count after the other,
// and reports each count back on the thread that owns the runner. The study
// holds copies of everything it reads, so the program may change and delete
// its functions meanwhile. Cancelling returns at once; a worker still inside
// a count finishes it on its own and its result is dropped. The destructor
// cancels and waits for the workers.
class ConvergenceRunner : public QObject
{
  Q_OBJECT

public:
  explicit ConvergenceRunner(QObject* parent = nullptr);
  ~ConvergenceRunner() override;

  void start(std::shared_ptr<const Analysis::ConvergenceStudy> study, std::vector<int> counts);
  void cancel();
  bool isRunning() const { return _running; }
  // Blocks until no worker runs (for tests and shut-down).
  void wait();

signals:
  // What counts[index] gave.
  void countDone(int index, const Analysis::CountResult& result);
  // The study ended: every count done, or stopped by the reason given.
  void finished(bool completed, const QString& reason);

private:
  struct Worker
  {
    QPointer<QThread> thread;
    std::shared_ptr<std::atomic<bool>> cancel;
  };

  std::vector<Worker> _workers;
  int _generation = 0;
  bool _running = false;
};

#endif
