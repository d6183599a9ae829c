#ifndef QUELMORA_THREADPOOL_H
#define QUELMORA_THREADPOOL_H

#include <cstddef>
#include <functional>

// Independent tasks on several threads: run(threads, count, task) calls
// task(0) ... task(count - 1), each once, on up to `threads` threads (the
// caller's among them) and returns when all are done. The workers are made
// on first need and kept for the process. Tasks must not throw.
namespace ThreadPool {

// All cores the machine has (at least 1).
int cores();
// threads, or all cores for 0.
int resolve(int threads);

void run(int threads, std::size_t count, const std::function<void(std::size_t)>& task);

// How many threads the formula evaluation (muParser's bulk mode, when built
// with OpenMP) may use from this thread on.
void setFormulaThreads(int threads);

} // namespace ThreadPool

#endif
