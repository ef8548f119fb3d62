#include "run/worker_threads.h"

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
    }
    wake_.notify_all();
    std::exception_ptr own;
    try {
      task();
    } catch (...) {
      own = std::current_exception();
    }
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
      {
        std::unique_lock<std::mutex> lock(mutex_);
        wake_.wait(lock, [&] { return stopping_ || (open_ && round_ != seen); });
        if (stopping_) return;
        seen = round_;
        task = task_;
        ++joined_;
      }
      std::exception_ptr failure;
      try {
        (*task)();
      } catch (...) {
        failure = std::current_exception();
      }
      std::lock_guard<std::mutex> lock(mutex_);
      if (failure && !failure_) failure_ = failure;
      if (--joined_ == 0 && !open_) done_.notify_one();
    }
  }

  const int count_;
  std::vector<std::thread> threads_;
  std::mutex mutex_;
  std::condition_variable wake_, done_;
  const std::function<void()>* task_ = nullptr;
  unsigned long long round_ = 0;
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
