#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "serial/Comm32.h"
#include "serial/CommPackageQueue.h"

namespace pq::OstrelComm32 {

enum TCommPackageType : std::uint8_t { cptCompatiblePkg = 0, cptFrameHeadTail = 1, cptFrameTimeout = 2 };

inline constexpr std::uint8_t DefaultFrameHead = 0xEB;
inline constexpr std::uint8_t DefaultFrameTail = 0xEE;
inline constexpr std::uint8_t DefaultFrameCtrl = 0xEC;

// Cuts the byte stream of one TComm32 into packages and sends packages over it:
//   cptFrameHeadTail  head byte, data with a control byte before every data byte equal to one of the
//                     three frame bytes, tail byte;
//   cptCompatiblePkg  the same framing, each package handed over as a whole record (32-bit length
//                     and PkgSz data bytes);
//   cptFrameTimeout   a package is what arrives until a pause of one package interval; sent plain.
// A package record is a 32-bit length in the machine's byte order followed by the data.
//
// Construct and destroy it while its port is closed: it puts its own handler in front of the port's
// OnCommNotify. Threads: the settings, ReadPackage, WritePackage and the purges belong to one owner
// thread; the package callback runs on the port's read thread or this object's timer thread. One
// lock serialises sending, the package threads' work and the settings; callbacks run outside it.
class TCommPackage {
 public:
  using TPackageEvent = std::function<void(TCommPackage* sender, int mask)>;

  explicit TCommPackage(TComm32* port);
  virtual ~TCommPackage();
  TCommPackage(const TCommPackage&) = delete;
  TCommPackage& operator=(const TCommPackage&) = delete;

  virtual unsigned long ReadPackage(void* dst, unsigned long len);
  virtual unsigned long WritePackage(const void* src, unsigned long len);
  virtual void PurgeRead();
  virtual void PurgeWrite();
  virtual void CallNotify(int mask);

  bool fGetActive() const { return active_; }
  void fSetActive(bool active);
  long fGetQSize() const { return qSize_; }
  void fSetQSize(long slots);
  std::uint32_t fGetPkgSz() const { return pkgSz_; }
  // Sizes above 256 MiB raise EComm32Error code 1 and change nothing.
  void fSetPkgSz(std::uint32_t size);
  TCommPackageType fGetPkgType() const { return pkgType_; }
  void fSetPkgType(TCommPackageType type);
  int fGetPkgInterval() const { return pkgInterval_; }
  void fSetPkgInterval(int milliseconds);

  std::uint8_t fGetFrameHead() const { return frameHead_; }
  void fSetFrameHead(std::uint8_t value) { frameHead_ = value; }
  std::uint8_t fGetFrameTail() const { return frameTail_; }
  void fSetFrameTail(std::uint8_t value) { frameTail_ = value; }
  std::uint8_t fGetFrameCtrl() const { return frameCtrl_; }
  void fSetFrameCtrl(std::uint8_t value) { frameCtrl_ = value; }

  TComm32* Port() const { return port_; }
  TCommPackageQueue& ReceiveQueue() { return *receiveQueue_; }
  TCommPackageQueue& SendQueue() { return *sendQueue_; }
  // Holds the package threads off while the owner changes what they use (the port's receive queue).
  std::unique_lock<std::mutex> Exclusive() { return std::unique_lock(lock_); }

  // The package callback; setting it waits for a call in progress, so that after setting it to
  // nothing no call is running or will come.
  void SetOnPackage(TPackageEvent callback);

 private:
  void fNewCommNotify(TComm32* sender, int mask);
  void _ReadHeadTailPackage();
  bool _ReadTimeoutPackage();
  std::uint32_t _EncodePackage(std::uint8_t* frame, const std::uint8_t* record) const;
  void _WritePackage();
  static void _TimerThread(TCommPackage* package);
  struct Buffers {
    std::vector<std::uint8_t> assembly, frame, raw;
  };
  // Raises EComm32Error code 1 when the memory cannot hold them.
  static Buffers _AllocBuffer(std::uint32_t size);
  void adoptBuffers(Buffers buffers);
  void resetStateLocked();
  void appendToAssembly(std::uint8_t byte);
  void queueAssembly();
  std::uint32_t assemblyLength() const;
  void setAssemblyLength(std::uint32_t length);

  TComm32* port_;
  TComm32::TCommNotifyEvent savedPortCallback_;
  std::mutex callbackLock_;
  TPackageEvent onPackage_;
  std::mutex lock_;

  std::atomic<bool> active_{false};
  bool inFrame_ = false;
  bool escape_ = false;
  std::uint32_t sentCount_ = 0;
  std::uint32_t frameLength_ = 0;
  std::unique_ptr<TCommPackageQueue> receiveQueue_;
  std::unique_ptr<TCommPackageQueue> sendQueue_;
  std::vector<std::uint8_t> assembly_;  // a package record being received
  std::vector<std::uint8_t> frame_;     // the outgoing frame
  std::vector<std::uint8_t> raw_;       // the outgoing package record before encoding

  long qSize_ = 16;
  std::uint32_t pkgSz_ = 4096;
  std::atomic<TCommPackageType> pkgType_{cptCompatiblePkg};
  std::atomic<std::uint8_t> frameHead_{DefaultFrameHead};
  std::atomic<std::uint8_t> frameTail_{DefaultFrameTail};
  std::atomic<std::uint8_t> frameCtrl_{DefaultFrameCtrl};
  std::atomic<int> pkgInterval_{50};

  std::unique_ptr<WakeEvent> wake_;
  std::atomic<bool> timerRun_{true};
  std::atomic<bool> timerRunning_{false};
  std::thread timerThread_;
};

}  // namespace pq::OstrelComm32
