#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "serial/CommQueue.h"
#include "serial/platform/CommConstants.h"
#include "serial/platform/DeviceControlBlock.h"
#include "serial/platform/SerialDriver.h"
#include "serial/platform/WakeEvent.h"

namespace pq::OstrelComm32 {

inline constexpr const char* Fmt_COMn = "\\\\.\\COM%d";
inline constexpr const char* Str_ResetModem = "ATZ\r";
inline constexpr const char* Fmt_InitModem = "ATE0&K%dS0=%d\r";

// One serial port with a read, a write and a timer thread behind two byte queues. Read takes what
// the read thread has queued, Write queues bytes for the write thread; neither blocks nor locks.
//
// Threads: Open, Close, Read, Write, Command, the purges and every setting belong to one owner
// thread (Read may instead belong to one other consumer, the packetiser's thread). OnCommNotify runs
// on the read and timer threads and, inside Open and Close, on the owner's thread; it must not call
// Close or destroy the port. Set the callbacks while the port is closed.
//
// Departures from the Windows original, for sound behaviour: a full receive queue leaves further
// bytes in the driver (the line's flow control or the sender's back-pressure then acts) instead of
// dropping them; resizing and purging a queue exclude the port thread that uses it.
class TComm32 {
 public:
  using TFlowControl = int;
  using TCommNotifyEvent = std::function<void(TComm32* sender, int mask)>;
  using TNotifyEvent = std::function<void(TComm32* sender)>;

  static constexpr long kDefaultQueueSize = 8192;
  static constexpr int kThreadStopPolls = 100;
  static constexpr int kThreadStopPollMs = 5;

  TComm32();
  // A port on a driver of the caller's choice (a descriptor opened elsewhere, a test double).
  explicit TComm32(std::unique_ptr<SerialDriver> driver);
  virtual ~TComm32();
  TComm32(const TComm32&) = delete;
  TComm32& operator=(const TComm32&) = delete;

  virtual long Read(void* buf, long len);
  virtual long Write(const void* buf, long len);
  virtual long Command(const char* text);
  virtual void PurgeRead(bool abort);
  virtual void PurgeWrite(bool abort);
  virtual void ResetModem();
  virtual void InitModem();
  virtual void Open();
  virtual void Close();
  virtual void CommNotify(int mask);
  virtual void CommAfterOpen();
  virtual void CommBeforeClose();
  virtual void fmsgCommTimer();

  TFlowControl fGetFCtrl() const;
  // Closes the port, then sets the flow-control fields of the line settings.
  void fSetFCtrl(TFlowControl code);

  bool Opened() const { return opened_; }
  // Also read on the read thread, where the packetiser sends the rest of a frame.
  std::atomic<bool> DisableWrite{false};

  int PortNo() const { return portNo_; }
  // Sets the number and the device name "\\.\COMn"; does not close.
  void SetPortNo(int number);
  const std::string& DeviceName() const { return deviceName_; }

  // Handed to the driver by Open; change it only while closed.
  TDcb& LineSettings() { return lineSettings_; }
  const TDcb& LineSettings() const { return lineSettings_; }
  long HwInSize = 1200;
  long HwOutSize = 1200;
  std::uint8_t AutoAnswer = 0;
  int TimerInterval = 200;
  int RingRearmTicks = 15;

  TCommQueue& InQueue() { return *rxQueue_; }
  TCommQueue& OutQueue() { return *txQueue_; }
  // Resize a queue (content lost) without the port thread that uses it getting in between.
  void SetInQueueSize(long size);
  void SetOutQueueSize(long size);

  std::uint32_t ModemStatus() const { return modemStatus_.load(); }
  int Handle() const { return driver_->handle(); }
  // The driver's escape function (SETDTR, CLRRTS, SETBREAK, ...) while open; false otherwise.
  bool Escape(std::uint32_t function);
  // Waits for the threads that a Close could not wait out (a callback still running), so that the
  // objects those callbacks reach may be destroyed.
  void joinLingeringThreads();

  TCommNotifyEvent OnCommNotify;
  TNotifyEvent AfterOpen;
  TNotifyEvent BeforeClose;

 private:
  struct PortThread {
    std::thread thread;
    std::atomic<bool> run{false};
    std::atomic<bool> running{false};
  };

  static void _ReadThread(TComm32* port);
  static void _WriteThread(TComm32* port);
  static void _TimerThread(TComm32* port);

  bool startThread(PortThread& slot, void (*body)(TComm32*));
  // Moves what the driver holds into the receive queue, as far as there is room; the count moved.
  long readWaitingBytes(char* piece, long pieceSize);
  void refreshModemStatus();
  void wakeReaderWhenStarved();

  std::unique_ptr<SerialDriver> driver_;
  TDcb lineSettings_;
  bool opened_ = false;
  int portNo_ = 2;
  std::string deviceName_;
  std::unique_ptr<TCommQueue> rxQueue_;
  std::unique_ptr<TCommQueue> txQueue_;
  std::mutex rxGuard_;  // read thread's appends vs. purge and resize of the receive queue
  std::mutex txGuard_;  // write thread's takes vs. purge and resize of the transmit queue

  PortThread readThread_, writeThread_, timerThread_;
  std::vector<std::thread> lingering_;  // threads Close could not wait out
  std::unique_ptr<WakeEvent> readStop_, writeStop_, writeWake_, timerStop_, rxSpace_;
  std::atomic<bool> rxStarved_{false};

  std::atomic<std::uint32_t> modemStatus_{0};
  std::atomic<int> tickCounter_{0};
};

}  // namespace pq::OstrelComm32
