#include "serial/platform/WakeEvent.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <chrono>
#include <cstdint>

namespace pq::OstrelComm32 {

std::unique_ptr<WakeEvent> WakeEvent::create() {
  const int fd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  if (fd < 0) return nullptr;
  return std::unique_ptr<WakeEvent>(new WakeEvent(fd));
}

WakeEvent::~WakeEvent() { ::close(fd_); }

void WakeEvent::set() {
  const std::uint64_t one = 1;
  // A full counter (EAGAIN) is still signalled, which is all that matters.
  while (::write(fd_, &one, sizeof one) < 0 && errno == EINTR) {
  }
}

void WakeEvent::reset() {
  std::uint64_t value = 0;
  while (::read(fd_, &value, sizeof value) < 0 && errno == EINTR) {
  }
}

int WakeEvent::waitAny(std::initializer_list<const WakeEvent*> events, int timeoutMs) {
  std::array<pollfd, 8> fds{};
  nfds_t count = 0;
  for (const WakeEvent* event : events) {
    if (count < fds.size()) fds[count++] = pollfd{event->fd_, POLLIN, 0};
  }
  using Clock = std::chrono::steady_clock;
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    int wait = timeoutMs;
    if (timeoutMs > 0) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
      wait = static_cast<int>(std::max<long long>(0, left.count()));
    }
    const int rc = ::poll(fds.data(), count, wait);
    if (rc < 0 && errno == EINTR) continue;
    if (rc <= 0) return -1;
    for (nfds_t i = 0; i < count; ++i) {
      if ((fds[i].revents & POLLIN) != 0) return static_cast<int>(i);
    }
    return -1;
  }
}

}  // namespace pq::OstrelComm32
