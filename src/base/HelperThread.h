#pragma once

#include <condition_variable>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>

namespace pq {

// A second thread for a job that runs beside the caller's share of the same work: start() hands the
// job over, wait() returns once it is done and throws what it threw. The thread starts with the first
// job and serves every later one, so that a job every few milliseconds does not pay for a thread each
// time. On a machine with a single core the job runs on the caller's thread, in wait().
class HelperThread {
 public:
  HelperThread() = default;
  ~HelperThread();
  HelperThread(const HelperThread&) = delete;
  HelperThread& operator=(const HelperThread&) = delete;

  // The previous job must have been waited for.
  void start(std::function<void()> job);
  void wait();

 private:
  void serve();

  std::mutex mutex_;
  std::condition_variable changed_;
  std::function<void()> job_;
  bool pending_ = false;  // a job handed over and not yet done
  bool stopping_ = false;
  std::exception_ptr failure_;
  std::thread thread_;
};

}  // namespace pq
