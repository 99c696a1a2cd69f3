#include "serial/CommPackage.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <new>

#include "serial/Comm32Error.h"
#include "serial/Comm32Messages.h"

namespace pq::OstrelComm32 {

namespace {

constexpr long kReadPiece = 2048;
constexpr std::uint32_t kLengthField = sizeof(std::uint32_t);
constexpr std::uint32_t kLargestPackage = 256u << 20;

std::uint32_t recordLength(const std::uint8_t* record) {
  std::uint32_t length = 0;
  std::memcpy(&length, record, kLengthField);
  return length;
}

void setRecordLength(std::uint8_t* record, std::uint32_t length) {
  std::memcpy(record, &length, kLengthField);
}

}  // namespace

TCommPackage::TCommPackage(TComm32* port)
    : port_(port),
      receiveQueue_(std::make_unique<TCommPackageQueue>(16, 4096 + kLengthField)),
      sendQueue_(std::make_unique<TCommPackageQueue>(16, 4096 + kLengthField)),
      wake_(WakeEvent::create()) {
  adoptBuffers(_AllocBuffer(pkgSz_));
  if (!wake_) throw EComm32Error(comm32Errors::readEvents);
  timerThread_ = std::thread(&TCommPackage::_TimerThread, this);
  savedPortCallback_ = port_->OnCommNotify;
  port_->OnCommNotify = [this](TComm32* sender, int mask) { fNewCommNotify(sender, mask); };
}

TCommPackage::~TCommPackage() {
  port_->OnCommNotify = savedPortCallback_;
  timerRun_ = false;
  wake_->set();
  for (int i = 0; i < 20 && timerRunning_; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  // The thread ends at its next look at the run flag; joining it keeps it off the freed buffers.
  timerThread_.join();
  sendQueue_.reset();
  receiveQueue_.reset();
}

TCommPackage::Buffers TCommPackage::_AllocBuffer(std::uint32_t size) {
  // Records move between these buffers and the queues slot by slot, and a slot has at least 32 bytes.
  const std::size_t record = std::max<std::size_t>(std::size_t{size} + kLengthField, 32);
  try {
    return {std::vector<std::uint8_t>(record),
            std::vector<std::uint8_t>(2 * std::size_t{size} + 2 * kLengthField),
            std::vector<std::uint8_t>(record)};
  } catch (const std::bad_alloc&) {
    throw EComm32Error(comm32Errors::outOfMemory);
  }
}

void TCommPackage::adoptBuffers(Buffers buffers) {
  assembly_ = std::move(buffers.assembly);
  frame_ = std::move(buffers.frame);
  raw_ = std::move(buffers.raw);
}

std::uint32_t TCommPackage::assemblyLength() const { return recordLength(assembly_.data()); }
void TCommPackage::setAssemblyLength(std::uint32_t length) { setRecordLength(assembly_.data(), length); }

void TCommPackage::resetStateLocked() {
  inFrame_ = false;
  escape_ = false;
  sentCount_ = 0;
  frameLength_ = 0;
  setAssemblyLength(0);
  receiveQueue_->Clear();
  sendQueue_->Clear();
}

void TCommPackage::fSetActive(bool active) {
  {
    const std::lock_guard lock(lock_);
    active_ = active;
    resetStateLocked();
  }
  wake_->set();
}

// The new queues and buffers are made before anything changes: a size the memory cannot hold
// raises and leaves the old settings whole, queues, buffers and package size agreeing.
void TCommPackage::fSetQSize(long slots) {
  fSetActive(false);
  auto receive = std::make_unique<TCommPackageQueue>(slots, receiveQueue_->SlotSize());
  auto send = std::make_unique<TCommPackageQueue>(slots, sendQueue_->SlotSize());
  const std::lock_guard lock(lock_);
  qSize_ = slots;
  receiveQueue_ = std::move(receive);
  sendQueue_ = std::move(send);
}

void TCommPackage::fSetPkgSz(std::uint32_t size) {
  if (size > kLargestPackage) throw EComm32Error(comm32Errors::outOfMemory);
  fSetActive(false);
  auto receive = std::make_unique<TCommPackageQueue>(receiveQueue_->SlotCount(), size + kLengthField);
  auto send = std::make_unique<TCommPackageQueue>(sendQueue_->SlotCount(), size + kLengthField);
  Buffers buffers = _AllocBuffer(size);
  const std::lock_guard lock(lock_);
  pkgSz_ = size;
  receiveQueue_ = std::move(receive);
  sendQueue_ = std::move(send);
  adoptBuffers(std::move(buffers));
}

void TCommPackage::fSetPkgType(TCommPackageType type) {
  fSetActive(false);
  pkgType_ = type;
  wake_->set();
}

void TCommPackage::fSetPkgInterval(int milliseconds) {
  pkgInterval_ = milliseconds;
  wake_->set();
}

unsigned long TCommPackage::ReadPackage(void* dst, unsigned long len) {
  if (!active_) return 0;
  if (pkgType_ == cptCompatiblePkg) return static_cast<unsigned long>(receiveQueue_->Out(dst));
  if (dst == nullptr || len == 0) return receiveQueue_->FrontLength();
  std::vector<std::uint8_t> slot(receiveQueue_->SlotSize());
  if (receiveQueue_->Out(slot.data()) == 0) return 0;
  const std::uint32_t length = std::min(recordLength(slot.data()), receiveQueue_->SlotSize() - kLengthField);
  const auto n = std::min<unsigned long>(len, length);
  std::memcpy(dst, slot.data() + kLengthField, n);
  return n;
}

unsigned long TCommPackage::WritePackage(const void* src, unsigned long len) {
  if (!active_) return 0;
  unsigned long accepted = 0;
  if (pkgType_ == cptCompatiblePkg) {
    if (sendQueue_->In(src) == 0) return 0;
    accepted = 1;
  } else {
    if (src == nullptr || len == 0) return 0;
    const auto n = static_cast<std::uint32_t>(std::min<unsigned long>(len, pkgSz_));
    std::vector<std::uint8_t> slot(sendQueue_->SlotSize());
    setRecordLength(slot.data(), n);
    std::memcpy(slot.data() + kLengthField, src, n);
    if (sendQueue_->In(slot.data()) == 0) return 0;
    accepted = n;
  }
  const std::lock_guard lock(lock_);
  _WritePackage();
  return accepted;
}

void TCommPackage::PurgeRead() {
  if (!active_) return;
  // The package threads read the port's receive queue too; emptying it under their feet would let a
  // read in progress put back an index from before the purge, and old bytes would come again.
  const std::lock_guard lock(lock_);
  port_->PurgeRead(false);
  receiveQueue_->Clear();
}

void TCommPackage::PurgeWrite() {
  if (!active_) return;
  // The read thread hands the rest of a frame to the port's transmit queue under this lock; emptying
  // that queue outside it could reset the queue while the thread is adding to it.
  const std::lock_guard lock(lock_);
  sendQueue_->Clear();
  port_->PurgeWrite(false);
}

void TCommPackage::SetOnPackage(TPackageEvent callback) {
  const std::lock_guard lock(callbackLock_);
  onPackage_ = std::move(callback);
}

void TCommPackage::CallNotify(int mask) {
  const std::lock_guard lock(callbackLock_);
  if (!onPackage_) return;
  try {
    onPackage_(this, mask);
  } catch (...) {
    // The receiver's failure must not end the port's thread.
  }
}

void TCommPackage::fNewCommNotify(TComm32* sender, int mask) {
  if (active_) {
    int events = mask & ~static_cast<int>(EV_RXCHAR | EV_TXEMPTY);
    {
      const std::lock_guard lock(lock_);
      if ((mask & EV_RXCHAR) != 0 && pkgType_ != cptFrameTimeout) {
        _ReadHeadTailPackage();
        if (receiveQueue_->Count() > 0) events |= EV_RXCHAR;
      }
      if ((mask & EV_TXEMPTY) != 0) {
        _WritePackage();
        if (sendQueue_->Count() == 0) events |= EV_TXEMPTY;
      }
    }
    if (events != 0) CallNotify(events);
  }
  if (savedPortCallback_) savedPortCallback_(sender, mask);
}

void TCommPackage::appendToAssembly(std::uint8_t byte) {
  const std::uint32_t length = assemblyLength();
  if (length >= pkgSz_) return;
  assembly_[kLengthField + length] = byte;
  setAssemblyLength(length + 1);
}

void TCommPackage::queueAssembly() {
  // The slot is copied whole; bytes of the assembly beyond its length are whatever was there.
  receiveQueue_->In(assembly_.data());
  setAssemblyLength(0);
}

void TCommPackage::_ReadHeadTailPackage() {
  std::uint8_t piece[kReadPiece];
  const std::uint8_t head = frameHead_, tail = frameTail_, ctrl = frameCtrl_;
  for (;;) {
    const long n = port_->Read(piece, kReadPiece);
    if (n <= 0) return;
    for (long i = 0; i < n; ++i) {
      const std::uint8_t b = piece[i];
      if (!escape_ && b == head) {
        setAssemblyLength(0);
        inFrame_ = true;
      } else if (inFrame_) {
        if (escape_) {
          appendToAssembly(b);
          escape_ = false;
        } else if (b == ctrl) {
          escape_ = true;
        } else if (b == tail) {
          queueAssembly();
          inFrame_ = false;
        } else {
          appendToAssembly(b);
          escape_ = false;
        }
      } else {
        escape_ = !escape_ && b == ctrl;
      }
    }
  }
}

bool TCommPackage::_ReadTimeoutPackage() {
  std::uint8_t piece[kReadPiece];
  bool any = false;
  for (;;) {
    const long n = port_->Read(piece, kReadPiece);
    if (n <= 0) return any;
    any = true;
    const std::uint32_t length = assemblyLength();
    const auto fitting = std::min<std::uint32_t>(static_cast<std::uint32_t>(n), pkgSz_ - length);
    std::memcpy(assembly_.data() + kLengthField + length, piece, fitting);
    setAssemblyLength(length + fitting);
  }
}

std::uint32_t TCommPackage::_EncodePackage(std::uint8_t* frame, const std::uint8_t* record) const {
  const std::uint32_t length = std::min(recordLength(record), pkgSz_);
  const std::uint8_t head = frameHead_, tail = frameTail_, ctrl = frameCtrl_;
  std::uint32_t out = 0;
  frame[out++] = head;
  frame[out++] = head;
  for (std::uint32_t i = 0; i < length; ++i) {
    const std::uint8_t b = record[kLengthField + i];
    if (b == head || b == tail || b == ctrl) frame[out++] = ctrl;
    frame[out++] = b;
  }
  frame[out++] = tail;
  frame[out++] = tail;
  return out;
}

void TCommPackage::_WritePackage() {
  if (sentCount_ < frameLength_) {
    sentCount_ +=
        static_cast<std::uint32_t>(port_->Write(frame_.data() + sentCount_, frameLength_ - sentCount_));
    return;
  }
  if (sendQueue_->Out(raw_.data()) == 0) return;
  if (pkgType_ == cptFrameTimeout) {
    frameLength_ = std::min(recordLength(raw_.data()), pkgSz_);
    std::memcpy(frame_.data(), raw_.data() + kLengthField, frameLength_);
  } else {
    frameLength_ = _EncodePackage(frame_.data(), raw_.data());
  }
  sentCount_ = static_cast<std::uint32_t>(port_->Write(frame_.data(), frameLength_));
}

void TCommPackage::_TimerThread(TCommPackage* package) {
  package->timerRunning_ = true;
  while (package->timerRun_) {
    const bool timed = package->pkgType_ == cptFrameTimeout;
    if (package->wake_->wait(timed ? package->pkgInterval_.load() : -1)) package->wake_->reset();
    if (!package->timerRun_) break;
    bool packageCut = false;
    {
      const std::lock_guard lock(package->lock_);
      if (package->pkgType_ == cptFrameTimeout && !package->_ReadTimeoutPackage() &&
          package->assemblyLength() > 0) {
        package->queueAssembly();
        packageCut = true;
      }
    }
    if (packageCut) package->CallNotify(EV_RXCHAR);
  }
  package->timerRunning_ = false;
}

}  // namespace pq::OstrelComm32
