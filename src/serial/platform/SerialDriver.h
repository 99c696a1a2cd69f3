#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "serial/platform/DeviceControlBlock.h"
#include "serial/platform/WakeEvent.h"

namespace pq::OstrelComm32 {

// The operations a serial port needs from its system, in the shape of the Windows serial interface
// the port was designed around. One implementation per operating system; every call returns false
// (or a negative count) on failure.
//
// Threads: waitEvent runs on the port's read thread, write on its write thread, the rest on the
// owner's thread; modemStatus may run on any of them.
class SerialDriver {
 public:
  struct WaitResult {
    enum class Kind { events, stopped, failed } kind;
    std::uint32_t mask;  // EV_* bits, with Kind::events; 0 when a new mask ended the wait
  };
  struct WriteResult {
    long count;  // bytes accepted, or -1 when the write failed
    bool stopped;
  };

  virtual ~SerialDriver() = default;

  // deviceName is "\\.\COMn" or a device path; opens for exclusive use, non-blocking.
  virtual bool open(const std::string& deviceName) = 0;
  virtual void close() = 0;
  virtual bool isOpen() const = 0;
  virtual int handle() const = 0;

  // Selects the events that end waitEvent; a new mask ends a pending wait with mask 0.
  virtual bool setEventMask(std::uint32_t mask) = 0;
  virtual bool setupBuffers(std::int32_t inputSize, std::int32_t outputSize) = 0;
  virtual bool applyLineSettings(const TDcb& settings) = 0;

  // Blocks until an event of the mask occurs, the mask changes or `stop` is set. With a `resume`
  // event, input is paused (received bytes stay in the driver) and setting `resume` ends the wait
  // with mask 0.
  virtual WaitResult waitEvent(const WakeEvent& stop, const WakeEvent* resume) = 0;
  // Takes up to len bytes that are waiting, without blocking.
  virtual long read(void* buffer, long len) = 0;
  // Writes all len bytes unless `stop` is set first or the device fails.
  virtual WriteResult write(const void* buffer, long len, const WakeEvent& stop) = 0;
  // The writer has nothing more for now: EV_TXEMPTY follows once the output has drained.
  virtual void writesFinished() = 0;

  virtual bool modemStatus(std::uint32_t& status) = 0;  // MS_* bits
  virtual bool purge(std::uint32_t flags) = 0;          // PURGE_* bits
  virtual bool escape(std::uint32_t function) = 0;      // SETDTR, CLRRTS, SETBREAK, ...
};

// The implementation for this system.
std::unique_ptr<SerialDriver> makeSerialDriver();

}  // namespace pq::OstrelComm32
