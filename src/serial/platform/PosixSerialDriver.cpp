#include "serial/platform/PosixSerialDriver.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <utility>

#include "serial/platform/CommConstants.h"
#include "serial/platform/CustomBaudRate.h"
#include "serial/platform/DeviceNames.h"
#include "serial/platform/TermiosSettings.h"

namespace pq::OstrelComm32 {

namespace {

constexpr int kDrainPollMs = 2;
constexpr int kModemPollMs = 50;
constexpr std::uint32_t kModemEvents = EV_CTS | EV_DSR | EV_RLSD;
constexpr std::uint32_t kInputEvents = EV_RXCHAR | EV_RXFLAG | EV_RX80FULL;

}  // namespace

std::unique_ptr<SerialDriver> makeSerialDriver() { return std::make_unique<PosixSerialDriver>(); }

PosixSerialDriver::~PosixSerialDriver() {
  close();
  if (adopted_ >= 0) ::close(adopted_);
}

bool PosixSerialDriver::open(const std::string& deviceName) {
  if (isOpen()) return true;
  int fd = std::exchange(adopted_, -1);
  if (fd >= 0) {
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
  } else {
    fd = ::open(resolveDeviceName(deviceName).c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
  }
  // Exclusive use, as the Windows port allows one opener: flock against cooperating programs,
  // TIOCEXCL against every later open but root's.
  if (!::isatty(fd) || ::flock(fd, LOCK_EX | LOCK_NB) != 0 || ::ioctl(fd, TIOCEXCL) != 0 ||
      ::tcgetattr(fd, &original_) != 0) {
    ::close(fd);
    return false;
  }
  maskChanged_ = WakeEvent::create();
  writeDone_ = WakeEvent::create();
  if (!maskChanged_ || !writeDone_) {
    ::ioctl(fd, TIOCNXCL);
    ::close(fd);
    maskChanged_.reset();
    writeDone_.reset();
    return false;
  }
  fd_ = fd;
  eventMask_ = 0;
  drainPending_ = false;
  modemPollable_ = modemStatus(lastModemStatus_);
  return true;
}

void PosixSerialDriver::close() {
  if (!isOpen()) return;
  ::tcsetattr(fd_, TCSANOW, &original_);
  ::ioctl(fd_, TIOCNXCL);
  ::close(fd_);
  fd_ = -1;
  maskChanged_.reset();
  writeDone_.reset();
}

bool PosixSerialDriver::setEventMask(std::uint32_t mask) {
  if (!isOpen()) {
    return false;
  }
  eventMask_ = mask;
  maskChanged_->set();
  return true;
}

bool PosixSerialDriver::setupBuffers(std::int32_t inputSize, std::int32_t outputSize) {
  // The kernel's tty buffers have a fixed size; only nonsense is refused.
  if (!isOpen() || inputSize <= 0 || outputSize <= 0) {
    return false;
  }
  return true;
}

bool PosixSerialDriver::applyLineSettings(const TDcb& dcb) {
  termios settings{};
  if (::tcgetattr(fd_, &settings) != 0) return false;
  if (!toTermios(dcb, settings) || ::tcsetattr(fd_, TCSANOW, &settings) != 0) return false;
  if (standardSpeed(dcb.BaudRate) == B0 && !setCustomBaudRate(fd_, dcb.BaudRate)) return false;
  // Devices without modem lines (pseudo-terminals) refuse these; that is no error of the settings.
  setModemLine(TIOCM_DTR, dcb.fDtrControl != DTR_CONTROL_DISABLE);
  if (dcb.fRtsControl != RTS_CONTROL_HANDSHAKE)
    setModemLine(TIOCM_RTS, dcb.fRtsControl != RTS_CONTROL_DISABLE);
  return true;
}

bool PosixSerialDriver::setModemLine(int line, bool on) {
  return ::ioctl(fd_, on ? TIOCMBIS : TIOCMBIC, &line) == 0;
}

std::uint32_t PosixSerialDriver::pendingModemEvents(std::uint32_t mask) {
  if (!modemPollable_ || (mask & kModemEvents) == 0) return 0;
  std::uint32_t status = 0;
  if (!modemStatus(status)) {
    modemPollable_ = false;
    return 0;
  }
  const std::uint32_t changed = status ^ lastModemStatus_;
  lastModemStatus_ = status;
  std::uint32_t events = 0;
  if ((changed & MS_CTS_ON) != 0) events |= EV_CTS;
  if ((changed & MS_DSR_ON) != 0) events |= EV_DSR;
  if ((changed & MS_RLSD_ON) != 0) events |= EV_RLSD;
  return events;
}

SerialDriver::WaitResult PosixSerialDriver::waitEvent(const WakeEvent& stop, const WakeEvent* resume) {
  if (!isOpen()) {
    return {WaitResult::Kind::failed, 0};
  }
  for (;;) {
    const std::uint32_t mask = eventMask_.load();
    if ((mask & EV_TXEMPTY) == 0) drainPending_ = false;
    std::array<pollfd, 4> fds{{
        {stop.fd(), POLLIN, 0},
        {maskChanged_->fd(), POLLIN, 0},
        {writeDone_->fd(), POLLIN, 0},
        {-1, POLLIN, 0},
    }};
    const bool watchInput = resume == nullptr && (mask & kInputEvents) != 0;
    if (resume != nullptr) {
      fds[3].fd = resume->fd();
    } else if (watchInput) {
      fds[3].fd = fd_;
    }
    int timeout = -1;
    if (drainPending_) {
      timeout = kDrainPollMs;
    } else if (modemPollable_ && (mask & kModemEvents) != 0) {
      timeout = kModemPollMs;
    }
    const int rc = ::poll(fds.data(), fds.size(), timeout);
    if (rc < 0) {
      if (errno == EINTR) continue;
      return {WaitResult::Kind::failed, 0};
    }
    if (fds[0].revents != 0) return {WaitResult::Kind::stopped, 0};
    if (fds[1].revents != 0) {
      maskChanged_->reset();
      return {WaitResult::Kind::events, 0};
    }
    if (resume != nullptr && fds[3].revents != 0) return {WaitResult::Kind::events, 0};

    std::uint32_t events = 0;
    if (fds[2].revents != 0) {
      writeDone_->reset();
      drainPending_ = (mask & EV_TXEMPTY) != 0;
    }
    if (drainPending_) {
      int queued = 0;
      if (::ioctl(fd_, TIOCOUTQ, &queued) != 0 || queued == 0) {
        drainPending_ = false;
        events |= EV_TXEMPTY;
      }
    }
    if (watchInput) {
      const short input = fds[3].revents;
      if ((input & POLLIN) != 0) {
        events |= EV_RXCHAR;
      } else if ((input & (POLLHUP | POLLERR | POLLNVAL)) != 0) {
        return {WaitResult::Kind::failed, 0};
      }
    }
    events |= pendingModemEvents(mask);
    events &= mask;
    if (events != 0) return {WaitResult::Kind::events, events};
  }
}

long PosixSerialDriver::read(void* buffer, long len) {
  for (;;) {
    const ssize_t n = ::read(fd_, buffer, static_cast<std::size_t>(len));
    if (n >= 0) return n;
    if (errno == EINTR) continue;
    if (errno == EAGAIN) return 0;
    return -1;
  }
}

SerialDriver::WriteResult PosixSerialDriver::write(const void* buffer, long len, const WakeEvent& stop) {
  const char* next = static_cast<const char*>(buffer);
  long done = 0;
  while (done < len) {
    const ssize_t n = ::write(fd_, next + done, static_cast<std::size_t>(len - done));
    if (n > 0) {
      done += n;
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno != EAGAIN) {
      return {done > 0 ? done : -1, false};
    }
    std::array<pollfd, 2> fds{{{fd_, POLLOUT, 0}, {stop.fd(), POLLIN, 0}}};
    if (::poll(fds.data(), fds.size(), -1) < 0 && errno != EINTR) {
      return {done > 0 ? done : -1, false};
    }
    if (fds[1].revents != 0) return {done, true};
    if ((fds[0].revents & (POLLERR | POLLHUP | POLLNVAL)) != 0 && (fds[0].revents & POLLOUT) == 0) {
      return {done > 0 ? done : -1, false};
    }
  }
  return {done, false};
}

bool PosixSerialDriver::modemStatus(std::uint32_t& status) {
  int lines = 0;
  if (::ioctl(fd_, TIOCMGET, &lines) != 0) return false;
  status = ((lines & TIOCM_CTS) != 0 ? MS_CTS_ON : 0) | ((lines & TIOCM_DSR) != 0 ? MS_DSR_ON : 0) |
           ((lines & TIOCM_RNG) != 0 ? MS_RING_ON : 0) | ((lines & TIOCM_CAR) != 0 ? MS_RLSD_ON : 0);
  return true;
}

bool PosixSerialDriver::purge(std::uint32_t flags) {
  // Nothing is ever pending inside the driver on this system, so the abort flags have nothing to end.
  if ((flags & PURGE_RXCLEAR) != 0 && ::tcflush(fd_, TCIFLUSH) != 0) return false;
  if ((flags & PURGE_TXCLEAR) != 0 && ::tcflush(fd_, TCOFLUSH) != 0) return false;
  return true;
}

bool PosixSerialDriver::escape(std::uint32_t function) {
  switch (function) {
    case SETXOFF:
      return ::tcflow(fd_, TCOOFF) == 0;
    case SETXON:
      return ::tcflow(fd_, TCOON) == 0;
    case SETRTS:
      return setModemLine(TIOCM_RTS, true);
    case CLRRTS:
      return setModemLine(TIOCM_RTS, false);
    case SETDTR:
      return setModemLine(TIOCM_DTR, true);
    case CLRDTR:
      return setModemLine(TIOCM_DTR, false);
    case SETBREAK:
      return ::ioctl(fd_, TIOCSBRK) == 0;
    case CLRBREAK:
      return ::ioctl(fd_, TIOCCBRK) == 0;
    default:
      return false;
  }
}

}  // namespace pq::OstrelComm32
