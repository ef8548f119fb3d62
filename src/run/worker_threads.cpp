#include "run/worker_threads.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace vortan {

namespace {

// A team of count - 1 threads waiting for a task. Each round of run() opens the task
// to them; a thread that wakes while the round is open joins it, and the round closes
// when the caller's own call returns: the caller then waits only for the threads that
// joined.
class Team {
 public:
  explicit Team(int count) : count_(count) {
    for (int index = 1; index < count; ++index) threads_.emplace_back([this] { serve(); });
  }
  ~Team() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      stopping_ = true;
    }
    wake_.notify_all();
    for (std::thread& t : threads_) t.join();
  }
  int count() const { return count_; }

  void run(const std::function<void()>& task) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      task_ = &task;
      open_ = true;
      failure_ = nullptr;
      ++round_;
      posted_.store(round_, std::memory_order_release);
    }
    wake_.notify_all();
    std::exception_ptr own;
    try {
      task();
    } catch (...) {
      own = std::current_exception();
    }
    await_joined();
    std::unique_lock<std::mutex> lock(mutex_);
    open_ = false;
    done_.wait(lock, [this] { return joined_ == 0; });
    task_ = nullptr;
    if (own) std::rethrow_exception(own);
    if (failure_) std::rethrow_exception(failure_);
  }

 private:
  void serve() {
    unsigned long long seen = 0;
    for (;;) {
      const std::function<void()>* task;
      await_round(seen);
      {
        std::unique_lock<std::mutex> lock(mutex_);
        wake_.wait(lock, [&] { return stopping_ || (open_ && round_ != seen); });
        if (stopping_) return;
        seen = round_;
        task = task_;
        ++joined_;
        busy_.fetch_add(1, std::memory_order_relaxed);
      }
      std::exception_ptr failure;
      try {
        (*task)();
      } catch (...) {
        failure = std::current_exception();
      }
      std::lock_guard<std::mutex> lock(mutex_);
      busy_.fetch_sub(1, std::memory_order_release);
      if (failure && !failure_) failure_ = failure;
      if (--joined_ == 0 && !open_) done_.notify_one();
    }
  }

  // The caller, done with its own share, watches for the threads of the round to
  // finish for a short while before it sleeps: they usually finish within
  // microseconds, and a sleeping caller wakes late.
  void await_joined() const {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point until = Clock::now() + SPIN_BEFORE_SLEEP;
    for (int k = 1; busy_.load(std::memory_order_acquire) > 0; ++k) {
      if (k % 64 == 0 && Clock::now() >= until) return;
#if defined(__x86_64__) || defined(__i386__)
      __builtin_ia32_pause();
#endif
    }
  }

  // Rounds come one after another while a matrix is factored (two per panel), and a
  // thread put to sleep wakes some tens of microseconds late, after the caller has
  // done the round alone: a thread that has just served watches for the next round for
  // a short while before it sleeps.
  void await_round(unsigned long long seen) const {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point until = Clock::now() + SPIN_BEFORE_SLEEP;
    for (int k = 1; posted_.load(std::memory_order_acquire) == seen; ++k) {
      if (k % 64 == 0 && Clock::now() >= until) return;
#if defined(__x86_64__) || defined(__i386__)
      __builtin_ia32_pause();
#endif
    }
  }

  static constexpr std::chrono::microseconds SPIN_BEFORE_SLEEP{200};

  const int count_;
  std::vector<std::thread> threads_;
  std::mutex mutex_;
  std::condition_variable wake_, done_;
  const std::function<void()>* task_ = nullptr;
  unsigned long long round_ = 0;
  std::atomic<unsigned long long> posted_{0};  // round_, readable without the lock
  std::atomic<int> busy_{0};                   // threads inside the round's task
  bool open_ = false;
  int joined_ = 0;
  bool stopping_ = false;
  std::exception_ptr failure_;
};

std::unique_ptr<Team>& team() {
  static std::unique_ptr<Team> instance;
  return instance;
}

int machine_cores() {
  const unsigned cores = std::thread::hardware_concurrency();
  if (cores < 1) return 1;
  return cores > MAX_WORKER_THREADS ? MAX_WORKER_THREADS : static_cast<int>(cores);
}

}  // namespace

int worker_thread_count() {
  const char* text = std::getenv("VORTAN_THREADS");
  if (text != nullptr && *text != '\0') {
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (*end == '\0' && value >= 1 && value <= MAX_WORKER_THREADS) return static_cast<int>(value);
  }
  return machine_cores();
}

void share_on_threads(int count, const std::function<void()>& task) {
  if (count <= 1) {
    task();
    return;
  }
  std::unique_ptr<Team>& current = team();
  if (!current || current->count() != count) {
    current.reset();
    current = std::make_unique<Team>(count);
  }
  current->run(task);
}

}  // namespace vortan
