#include "gui/analysis/convergencerunner.h"

#include <new>

ConvergenceRunner::ConvergenceRunner(QObject* parent) : QObject(parent) {}

ConvergenceRunner::~ConvergenceRunner()
{
  cancel();
  wait();
}

void ConvergenceRunner::start(std::shared_ptr<const Analysis::ConvergenceStudy> study,
                              std::vector<int> counts)
{
  cancel();
  const int generation = ++_generation;
  auto stop = std::make_shared<std::atomic<bool>>(false);
  QThread* thread = QThread::create([this, study, counts, stop, generation] {
    QString reason;
    bool completed = true;
    for (std::size_t i = 0; i < counts.size() && completed; ++i) {
      Analysis::CountResult result;
      try {
        completed = study->compute(counts[i], &result, &reason, stop.get());
      } catch (const std::bad_alloc&) {
        completed = false;
        reason = tr("not enough memory for %1 components").arg(counts[i]);
      }
      if (completed)
        QMetaObject::invokeMethod(
            this,
            [this, generation, i, result = std::move(result)] {
              if (generation == _generation)
                emit countDone(int(i), result);
            },
            Qt::QueuedConnection);
    }
    if (stop->load())
      return;
    QMetaObject::invokeMethod(
        this,
        [this, generation, completed, reason] {
          if (generation != _generation)
            return;
          _running = false;
          emit finished(completed, reason);
        },
        Qt::QueuedConnection);
  });
  connect(thread, &QThread::finished, thread, &QObject::deleteLater);
  _workers.push_back(Worker{thread, stop});
  _running = true;
  thread->start(QThread::LowPriority);
}

void ConvergenceRunner::cancel()
{
  ++_generation;
  _running = false;
  for (Worker& w : _workers)
    w.cancel->store(true);
  // Workers that ended have deleted their threads.
  _workers.erase(std::remove_if(_workers.begin(), _workers.end(),
                                [](const Worker& w) { return w.thread.isNull(); }),
                 _workers.end());
}

void ConvergenceRunner::wait()
{
  for (Worker& w : _workers)
    if (w.thread)
      w.thread->wait();
}
