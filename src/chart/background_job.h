// One piece of work at a time on a thread of its own, its result picked up
// by the thread that asked for it. The chart window reads its base map and
// draws its map layer this way, so that a frame never waits for either.
#pragma once

#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>

template <typename T>
class BackgroundJob {
 public:
  // `done` is called on the worker thread once the result can be taken;
  // a window uses it to post itself a repaint.
  explicit BackgroundJob(std::function<void()> done = {}) : done_(std::move(done)) {}
  ~BackgroundJob() { Wait(); }
  BackgroundJob(const BackgroundJob&) = delete;
  BackgroundJob& operator=(const BackgroundJob&) = delete;

  // Starts `work` unless a job is still running (false then). `work` must
  // own everything it reads: the asking thread goes on changing its own.
  bool Start(std::function<T()> work) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (busy_) return false;
    // A finished worker may still be in `done`; it needs no lock there.
    if (thread_.joinable()) thread_.join();
    busy_ = true;
    thread_ = std::thread([this, work = std::move(work)] {
      T result = work();
      {
        std::lock_guard<std::mutex> lock(mutex_);
        result_ = std::move(result);
        busy_ = false;
      }
      if (done_) done_();
    });
    return true;
  }

  bool busy() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return busy_;
  }

  // The result of the last job, once; nothing while it runs or when taken.
  std::optional<T> Take() {
    std::lock_guard<std::mutex> lock(mutex_);
    std::optional<T> result = std::move(result_);
    result_.reset();
    return result;
  }

  // Waits for the running job, if any. Only the asking thread calls it.
  void Wait() {
    if (thread_.joinable()) thread_.join();
  }

 private:
  std::function<void()> done_;
  mutable std::mutex mutex_;
  bool busy_ = false;
  std::optional<T> result_;
  std::thread thread_;
};
