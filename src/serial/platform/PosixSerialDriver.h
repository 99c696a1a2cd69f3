#pragma once

#include <termios.h>

#include <atomic>

#include "serial/platform/SerialDriver.h"

namespace pq::OstrelComm32 {

// SerialDriver on a termios device with poll(). Port events are derived as follows:
//   EV_RXCHAR  input readable;  EV_TXEMPTY  the writer finished a burst and TIOCOUTQ reads 0
//   (checked every 2 ms until it does);  EV_CTS, EV_DSR, EV_RLSD  TIOCMGET polled every 50 ms while the mask
//   asks for them, on devices that answer it (a pseudo-terminal does not);  EV_RING comes from the port's
//   timer thread.  EV_RXFLAG, EV_ERR and EV_RX80FULL are never reported: termios tells neither the event
//   character nor line errors, and input is taken before the driver fills up.
// A hang-up (the other end of a pseudo-terminal closed, a USB adapter unplugged) fails the wait.
class PosixSerialDriver final : public SerialDriver {
 public:
  PosixSerialDriver() = default;
  // A driver for a descriptor opened elsewhere (the master of a pseudo-terminal, which has no path
  // to open): the first open() takes it over, whatever the name; it is closed with the driver.
  explicit PosixSerialDriver(int openDescriptor) : adopted_(openDescriptor) {}
  ~PosixSerialDriver() override;
  PosixSerialDriver(const PosixSerialDriver&) = delete;
  PosixSerialDriver& operator=(const PosixSerialDriver&) = delete;

  bool open(const std::string& deviceName) override;
  void close() override;
  bool isOpen() const override { return fd_ >= 0; }
  int handle() const override { return fd_; }

  bool setEventMask(std::uint32_t mask) override;
  bool setupBuffers(std::int32_t inputSize, std::int32_t outputSize) override;
  bool applyLineSettings(const TDcb& settings) override;

  WaitResult waitEvent(const WakeEvent& stop, const WakeEvent* resume) override;
  long read(void* buffer, long len) override;
  WriteResult write(const void* buffer, long len, const WakeEvent& stop) override;
  void writesFinished() override { writeDone_->set(); }

  bool modemStatus(std::uint32_t& status) override;
  bool purge(std::uint32_t flags) override;
  bool escape(std::uint32_t function) override;

 private:
  bool setModemLine(int line, bool on);
  std::uint32_t pendingModemEvents(std::uint32_t mask);

  int adopted_ = -1;
  int fd_ = -1;
  termios original_{};
  std::atomic<std::uint32_t> eventMask_{0};
  std::unique_ptr<WakeEvent> maskChanged_;
  std::unique_ptr<WakeEvent> writeDone_;
  // State of the waiting thread only.
  bool drainPending_ = false;
  bool modemPollable_ = false;
  std::uint32_t lastModemStatus_ = 0;
};

}  // namespace pq::OstrelComm32
