#include "base/HelperThread.h"

#include <utility>

namespace pq {

HelperThread::~HelperThread() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  changed_.notify_all();
  if (thread_.joinable()) thread_.join();
}

void HelperThread::start(std::function<void()> job) {
  {
    std::lock_guard lock(mutex_);
    job_ = std::move(job);
    pending_ = true;
    failure_ = nullptr;
  }
  if (std::thread::hardware_concurrency() < 2) return;
  if (!thread_.joinable()) thread_ = std::thread([this] { serve(); });
  changed_.notify_all();
}

void HelperThread::wait() {
  if (!thread_.joinable()) {
    if (!std::exchange(pending_, false)) return;
    std::exchange(job_, nullptr)();
    return;
  }
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [&] { return !pending_; });
  if (failure_) std::rethrow_exception(std::exchange(failure_, nullptr));
}

void HelperThread::serve() {
  std::unique_lock lock(mutex_);
  for (;;) {
    changed_.wait(lock, [&] { return stopping_ || pending_; });
    if (stopping_) return;
    std::function<void()> job = std::exchange(job_, nullptr);
    lock.unlock();
    std::exception_ptr failure;
    try {
      job();
    } catch (...) {
      failure = std::current_exception();
    }
    lock.lock();
    failure_ = failure;
    pending_ = false;
    changed_.notify_all();
  }
}

}  // namespace pq
