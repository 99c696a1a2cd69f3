#pragma once

#include <initializer_list>
#include <memory>

namespace pq::OstrelComm32 {

// A manual-reset event on an eventfd: it stays signalled until reset, and its descriptor can join a
// poll() next to a port, so that a thread blocked on the port wakes at once when it is set.
class WakeEvent {
 public:
  // nullptr when the system has no descriptor to spare.
  static std::unique_ptr<WakeEvent> create();
  ~WakeEvent();
  WakeEvent(const WakeEvent&) = delete;
  WakeEvent& operator=(const WakeEvent&) = delete;

  void set();
  void reset();
  int fd() const { return fd_; }

  // Waits until one of the events is signalled or timeoutMs passes (negative: no limit); the index
  // of the first signalled event in the list, or -1 on time-out.
  static int waitAny(std::initializer_list<const WakeEvent*> events, int timeoutMs);
  bool wait(int timeoutMs) const { return waitAny({this}, timeoutMs) == 0; }

 private:
  explicit WakeEvent(int fd) : fd_(fd) {}
  int fd_;
};

}  // namespace pq::OstrelComm32
