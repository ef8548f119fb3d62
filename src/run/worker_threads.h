// The worker threads of the factorisations: one team of threads that runs the same
// task with the indices 0 .. count - 1, the caller itself taking index 0. The team is
// started at the first call that asks for more than one thread and kept for the rest
// of the run, so that a call costs a wake-up, not a thread start.
#pragma once

#include <functional>

namespace vortan {

// The number of threads of the block updates: the environment variable
// VORTAN_THREADS when it holds a whole number from 1 to MAX_WORKER_THREADS, otherwise
// the number of cores the machine reports (at least 1, at most MAX_WORKER_THREADS).
int worker_thread_count();

inline constexpr int MAX_WORKER_THREADS = 64;

// Runs task(0), ..., task(count - 1) at the same time, task(0) on the calling thread,
// and returns when every one has returned. count 1 (or less) is a plain call. An
// exception thrown by a task is thrown again here once all have ended.
void run_on_threads(int count, const std::function<void(int index)>& task);

}  // namespace vortan
