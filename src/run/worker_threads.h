// The worker threads of the factorisations: one team of threads that help the calling
// thread with a task whose work they share out among themselves. The team is started
// at the first call that asks for more than one thread and kept for the rest of the
// run, so that a call costs a wake-up, not a thread start.
#pragma once

#include <functional>

namespace vortan {

// The number of threads of the block updates: the environment variable
// VORTAN_THREADS when it holds a whole number from 1 to MAX_WORKER_THREADS, otherwise
// the number of cores the machine reports (at least 1, at most MAX_WORKER_THREADS).
int worker_thread_count();

inline constexpr int MAX_WORKER_THREADS = 64;

// Runs task() on the calling thread and, at the same time, on each of the other
// count - 1 threads of the team that wakes up while the caller's call is still running;
// returns when the caller's call and every call that joined have returned. A thread
// that wakes up later (a busy machine may keep it waiting for a while) does not join,
// so the caller never waits for a thread that has not started: the task must take its
// work from shared state (a counter of work items) until none is left, and the work
// gets done whoever joins. count 1 (or less) is a plain call. An exception thrown by a
// call is thrown again here once all have ended. Not to be called from within a task.
void share_on_threads(int count, const std::function<void()>& task);

}  // namespace vortan
