#include "midle/transform/threadpool.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#ifdef _OPENMP
#include <omp.h>
#endif

namespace {

// One batch at a time: the workers take task numbers from a shared counter.
class Pool
{
public:
  ~Pool()
  {
    {
      std::lock_guard<std::mutex> lock(_mutex);
      _stop = true;
    }
    _wake.notify_all();
    for (std::thread& t : _workers)
      t.join();
  }

  void run(int threads, std::size_t count, const std::function<void(std::size_t)>& task)
  {
    // One batch at a time, whichever thread asks.
    std::lock_guard<std::mutex> batch(_batch);
    const std::size_t helpers = std::min<std::size_t>(std::size_t(threads) - 1, count - 1);
    {
      std::lock_guard<std::mutex> lock(_mutex);
      while (_workers.size() < helpers)
        _workers.emplace_back([this] { work(); });
      _task = &task;
      _count = count;
      _next = 0;
      _helpers = helpers;
      _busy = helpers;
      ++_generation;
    }
    _wake.notify_all();
    take(task, count);
    std::unique_lock<std::mutex> lock(_mutex);
    _done.wait(lock, [this] { return _busy == 0; });
    _task = nullptr;
  }

private:
  void take(const std::function<void(std::size_t)>& task, std::size_t count)
  {
    for (std::size_t i = _next++; i < count; i = _next++)
      task(i);
  }

  void work()
  {
    std::size_t seen = 0;
    std::unique_lock<std::mutex> lock(_mutex);
    for (;;) {
      _wake.wait(lock, [&] { return _stop || (_generation != seen && _helpers > 0); });
      if (_stop)
        return;
      seen = _generation;
      --_helpers; // only as many workers join as the batch asked for
      const auto* task = _task;
      const std::size_t count = _count;
      lock.unlock();
      take(*task, count);
      lock.lock();
      if (--_busy == 0)
        _done.notify_one();
    }
  }

  std::mutex _batch, _mutex;
  std::condition_variable _wake, _done;
  std::vector<std::thread> _workers;
  const std::function<void(std::size_t)>* _task = nullptr;
  std::size_t _count = 0, _helpers = 0, _busy = 0, _generation = 0;
  std::atomic<std::size_t> _next{0};
  bool _stop = false;
};

Pool& pool()
{
  static Pool instance;
  return instance;
}

} // namespace

int ThreadPool::cores()
{
  return int(std::max(1u, std::thread::hardware_concurrency()));
}

int ThreadPool::resolve(int threads)
{
  return threads > 0 ? threads : cores();
}

void ThreadPool::run(int threads, std::size_t count, const std::function<void(std::size_t)>& task)
{
  threads = resolve(threads);
  if (threads == 1 || count <= 1) {
    for (std::size_t i = 0; i < count; ++i)
      task(i);
    return;
  }
  pool().run(threads, count, task);
}

void ThreadPool::setFormulaThreads(int threads)
{
#ifdef _OPENMP
  omp_set_num_threads(resolve(threads));
#else
  (void)threads;
#endif
}
