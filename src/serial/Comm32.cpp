#include "serial/Comm32.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <system_error>

#include "serial/Comm32Error.h"
#include "serial/Comm32Messages.h"

namespace pq::OstrelComm32 {

namespace {

constexpr std::uint32_t kReadThreadMask =
    EV_RXCHAR | EV_RXFLAG | EV_TXEMPTY | EV_CTS | EV_DSR | EV_RLSD | EV_ERR | EV_RX80FULL;
constexpr int kAllModemLinesChanged = EV_CTS | EV_DSR | EV_RLSD;
constexpr long kReadPiece = 2048;
// Larger than the Windows original's 256 bytes: on a fast line (a pseudo-terminal) a 256-byte
// write per system call made the port three times slower than a plain write loop.
constexpr long kWriteChunk = 2048;
// A wait that fails outright (device gone) is retried at this pace until Close.
constexpr int kFailedWaitPauseMs = 20;

}  // namespace

TComm32::TComm32() : TComm32(makeSerialDriver()) {}

TComm32::TComm32(std::unique_ptr<SerialDriver> driver)
    : driver_(std::move(driver)),
      rxQueue_(std::make_unique<TCommQueue>(kDefaultQueueSize)),
      txQueue_(std::make_unique<TCommQueue>(kDefaultQueueSize)),
      readStop_(WakeEvent::create()),
      writeStop_(WakeEvent::create()),
      writeWake_(WakeEvent::create()),
      timerStop_(WakeEvent::create()),
      rxSpace_(WakeEvent::create()) {
  SetPortNo(2);
}

TComm32::~TComm32() {
  try {
    Close();
  } catch (...) {
  }
  joinLingeringThreads();
  txQueue_.reset();
  rxQueue_.reset();
}

void TComm32::SetPortNo(int number) {
  portNo_ = number;
  char name[32];
  std::snprintf(name, sizeof name, Fmt_COMn, number);
  deviceName_ = name;
}

long TComm32::Read(void* buf, long len) {
  const long n = rxQueue_->Out(static_cast<char*>(buf), len);
  if (n > 0) wakeReaderWhenStarved();
  return n;
}

void TComm32::wakeReaderWhenStarved() {
  // Both sides change the flag by exchange, so one of them sees the other: either the read thread
  // finds the room just made, or this side finds its starved flag.
  if (rxStarved_.exchange(false, std::memory_order_acq_rel)) rxSpace_->set();
}

long TComm32::Write(const void* buf, long len) {
  if (DisableWrite) return 0;
  const long n = txQueue_->In(static_cast<const char*>(buf), len);
  if (writeWake_) writeWake_->set();
  return n;
}

long TComm32::Command(const char* text) {
  if (text == nullptr) return 0;
  const long n = txQueue_->In(text, static_cast<long>(std::strlen(text)));
  if (writeWake_) writeWake_->set();
  return n;
}

void TComm32::PurgeRead(bool abort) {
  if (!opened_) return;
  driver_->purge(PURGE_RXCLEAR | (abort ? PURGE_RXABORT : 0));
  const std::lock_guard lock(rxGuard_);
  rxQueue_->Clear();
}

void TComm32::PurgeWrite(bool abort) {
  if (!opened_) return;
  driver_->purge(PURGE_TXCLEAR | (abort ? PURGE_TXABORT : 0));
  const std::lock_guard lock(txGuard_);
  txQueue_->Clear();
}

void TComm32::SetInQueueSize(long size) {
  const std::lock_guard lock(rxGuard_);
  rxQueue_->fSetBufSize(size);
}

void TComm32::SetOutQueueSize(long size) {
  const std::lock_guard lock(txGuard_);
  txQueue_->fSetBufSize(size);
}

void TComm32::ResetModem() { Command(Str_ResetModem); }

void TComm32::InitModem() {
  char text[64];
  std::snprintf(text, sizeof text, Fmt_InitModem, fGetFCtrl(), static_cast<int>(AutoAnswer));
  Command(text);
}

TComm32::TFlowControl TComm32::fGetFCtrl() const {
  if (lineSettings_.fOutxCtsFlow && lineSettings_.fOutX) return 6;
  if (lineSettings_.fOutxCtsFlow) return 3;
  if (lineSettings_.fOutX) return 4;
  return 0;
}

void TComm32::fSetFCtrl(TFlowControl code) {
  Close();
  const bool hardware = code == 3 || code == 6;
  const bool software = code == 4 || code == 5 || code == 6;
  lineSettings_.fRtsControl = hardware ? RTS_CONTROL_HANDSHAKE : RTS_CONTROL_ENABLE;
  lineSettings_.fOutxCtsFlow = hardware;
  lineSettings_.fOutX = software;
  lineSettings_.fInX = software;
  lineSettings_.fDtrControl = DTR_CONTROL_ENABLE;
  lineSettings_.fOutxDsrFlow = false;
}

bool TComm32::Escape(std::uint32_t function) { return opened_ && driver_->escape(function); }

bool TComm32::startThread(PortThread& slot, void (*body)(TComm32*)) {
  slot.run = true;
  try {
    slot.thread = std::thread(body, this);
  } catch (const std::system_error&) {
    slot.run = false;
    return false;
  }
  return true;
}

void TComm32::Open() {
  if (opened_) return;
  joinLingeringThreads();
  tickCounter_ = 0;
  std::uint8_t error = 0;
  if (!rxQueue_->HasBuffer()) {
    error = comm32Errors::readBuffer;
  } else if (!txQueue_->HasBuffer()) {
    error = comm32Errors::writeBuffer;
  } else if (!driver_->open(deviceName_)) {
    error = comm32Errors::openPort;
  } else if (!driver_->setEventMask(EV_RXFLAG)) {
    error = comm32Errors::setCommMask;
  } else if (!driver_->setupBuffers(static_cast<std::int32_t>(HwInSize),
                                    static_cast<std::int32_t>(HwOutSize))) {
    error = comm32Errors::setupBuffers;
  } else if (!driver_->applyLineSettings(lineSettings_)) {
    error = comm32Errors::setParameters;
  } else if (!readStop_ || !timerStop_ || !rxSpace_) {
    error = comm32Errors::readEvents;
  } else if (!writeStop_ || !writeWake_) {
    error = comm32Errors::writeEvents;
  } else {
    for (auto* event :
         {readStop_.get(), timerStop_.get(), rxSpace_.get(), writeStop_.get(), writeWake_.get()}) {
      event->reset();
    }
    rxStarved_ = false;
    if (!startThread(readThread_, &TComm32::_ReadThread) ||
        !startThread(timerThread_, &TComm32::_TimerThread)) {
      error = comm32Errors::startReadThread;
    } else if (!startThread(writeThread_, &TComm32::_WriteThread)) {
      error = comm32Errors::startWriteThread;
    }
  }
  if (error != 0) {
    try {
      Close();
    } catch (const EComm32Error&) {
      // The open's own error is the one to report.
    }
    throw EComm32Error(error);
  }
  opened_ = true;
  DisableWrite = false;
  if (std::uint32_t status = 0; driver_->modemStatus(status)) modemStatus_ = status;
  CommNotify(kAllModemLinesChanged);
  CommAfterOpen();
}

void TComm32::Close() {
  const bool wasOpen = opened_;
  if (wasOpen) CommBeforeClose();
  readThread_.run = false;
  writeThread_.run = false;
  timerThread_.run = false;
  if (driver_->isOpen()) driver_->setEventMask(EV_RXFLAG);
  for (auto* event : {readStop_.get(), writeStop_.get(), timerStop_.get()}) {
    if (event) event->set();
  }
  auto anyRunning = [this] { return readThread_.running || writeThread_.running || timerThread_.running; };
  for (int i = 0; i < kThreadStopPolls && anyRunning(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(kThreadStopPollMs));
  }
  std::uint8_t error = 0;
  if (readThread_.running || timerThread_.running) error = comm32Errors::stopReadThread;
  if (writeThread_.running) error = comm32Errors::stopWriteThread;
  for (PortThread* slot : {&readThread_, &writeThread_, &timerThread_}) {
    if (!slot->thread.joinable()) continue;
    if (slot->running) {
      // Still inside a callback; joined by the next Open or the destructor.
      lingering_.push_back(std::move(slot->thread));
    } else {
      slot->thread.join();
    }
  }
  driver_->close();
  if (wasOpen) {
    opened_ = false;
    modemStatus_ = 0;
    CommNotify(kAllModemLinesChanged);
  }
  if (error != 0) throw EComm32Error(error);
}

void TComm32::joinLingeringThreads() {
  for (auto& thread : lingering_) {
    if (thread.get_id() == std::this_thread::get_id()) {
      thread.detach();
    } else {
      thread.join();
    }
  }
  lingering_.clear();
}

void TComm32::CommNotify(int mask) {
  if (!OnCommNotify) return;
  try {
    OnCommNotify(this, mask);
  } catch (...) {
    // A callback's failure is its own business; the port goes on.
  }
}

void TComm32::CommAfterOpen() {
  if (!AfterOpen) return;
  try {
    AfterOpen(this);
  } catch (...) {
  }
}

void TComm32::CommBeforeClose() {
  if (!BeforeClose) return;
  try {
    BeforeClose(this);
  } catch (...) {
  }
}

void TComm32::refreshModemStatus() {
  if (std::uint32_t status = 0; driver_->modemStatus(status)) modemStatus_ = status;
}

void TComm32::fmsgCommTimer() {
  std::uint32_t status = 0;
  if (!driver_->modemStatus(status)) return;
  const std::uint32_t known = modemStatus_.load();
  if ((status & MS_RLSD_ON) != (known & MS_RLSD_ON)) {
    modemStatus_ = (known & ~MS_RLSD_ON) | (status & MS_RLSD_ON);
    CommNotify(EV_RLSD);
  }
  if (tickCounter_ < RingRearmTicks) {
    ++tickCounter_;
    return;
  }
  if ((modemStatus_.load() & MS_RLSD_ON) == 0 && (status & MS_RING_ON) != 0) {
    tickCounter_ = 0;
    CommNotify(EV_RING);
  }
}

long TComm32::readWaitingBytes(char* piece, long pieceSize) {
  long moved = 0;
  for (;;) {
    const std::lock_guard lock(rxGuard_);
    const long room = rxQueue_->Free();
    if (room == 0) {
      rxSpace_->reset();
      rxStarved_.exchange(true, std::memory_order_acq_rel);
      // The consumer may have made room between the check and the flag.
      if (rxQueue_->Free() > 0 && rxStarved_.exchange(false)) continue;
      return moved;
    }
    const long wanted = std::min(room, pieceSize);
    const long n = driver_->read(piece, wanted);
    if (n <= 0) return moved;
    moved += rxQueue_->In(piece, n);
    // A short read took everything the driver had.
    if (n < wanted) return moved;
  }
}

void TComm32::_ReadThread(TComm32* port) {
  port->readThread_.running = true;
  char piece[kReadPiece];
  if (port->driver_->setEventMask(kReadThreadMask)) {
    while (port->readThread_.run) {
      const WakeEvent* resume = port->rxStarved_ ? port->rxSpace_.get() : nullptr;
      const auto result = port->driver_->waitEvent(*port->readStop_, resume);
      if (result.kind == SerialDriver::WaitResult::Kind::stopped || !port->readThread_.run) break;
      if (result.kind == SerialDriver::WaitResult::Kind::failed) {
        port->readStop_->wait(kFailedWaitPauseMs);
        continue;
      }
      std::uint32_t mask = result.mask;
      // Bytes held back while the queue was full are news to the consumer as well.
      if (((mask & EV_RXCHAR) != 0 || resume != nullptr) && port->readWaitingBytes(piece, kReadPiece) > 0) {
        mask |= EV_RXCHAR;
      }
      const bool ctsFlow = port->lineSettings_.fOutxCtsFlow;
      if ((mask & (EV_CTS | EV_DSR | EV_RLSD)) != 0) {
        port->refreshModemStatus();
        if ((mask & EV_CTS) != 0 && ctsFlow && (port->modemStatus_ & MS_CTS_ON) != 0) mask |= EV_TXEMPTY;
        if ((mask & EV_RLSD) != 0) port->tickCounter_ = 0;
      }
      if ((mask & EV_TXEMPTY) != 0 && ((port->modemStatus_ & MS_CTS_ON) != 0 || !ctsFlow)) {
        const std::lock_guard lock(port->txGuard_);
        if (port->txQueue_->Count() > 0) mask &= ~EV_TXEMPTY;
        port->writeWake_->set();
      }
      if (mask != 0) port->CommNotify(static_cast<int>(mask));
    }
  }
  port->readThread_.running = false;
}

void TComm32::_WriteThread(TComm32* port) {
  port->writeThread_.running = true;
  char chunk[kWriteChunk];
  long chunkLength = 0;
  long sent = 0;
  while (port->writeThread_.run) {
    const int woken = WakeEvent::waitAny({port->writeStop_.get(), port->writeWake_.get()}, -1);
    if (woken == 0 || !port->writeThread_.run) break;
    port->writeWake_->reset();
    // Only bytes written in this wake make the output drain again. The read thread wakes this
    // thread on every EV_TXEMPTY; announcing a drain after a wake that wrote nothing would answer
    // with another EV_TXEMPTY, and the two threads would wake each other without end on an idle line.
    bool wrote = false;
    // Chunk after chunk while bytes are queued: the driver's write waits while the line is full, so
    // the system's buffer bounds what is in flight, and a burst costs no wake-up per chunk.
    for (;;) {
      if (sent == chunkLength) {
        const std::lock_guard lock(port->txGuard_);
        chunkLength = port->txQueue_->Out(chunk, kWriteChunk);
        sent = 0;
      }
      if (chunkLength == 0) {
        if (wrote) port->driver_->writesFinished();
        break;
      }
      const auto result = port->driver_->write(chunk + sent, chunkLength - sent, *port->writeStop_);
      if (result.count > 0) {
        sent += result.count;
        wrote = true;
      }
      if (result.stopped) {
        port->writeThread_.running = false;
        return;
      }
      // A failed write keeps the chunk for the next wake.
      if (sent < chunkLength) break;
    }
  }
  port->writeThread_.running = false;
}

void TComm32::_TimerThread(TComm32* port) {
  port->timerThread_.running = true;
  while (port->timerThread_.run) {
    if (port->timerStop_->wait(port->TimerInterval) || !port->timerThread_.run) break;
    port->fmsgCommTimer();
  }
  port->timerThread_.running = false;
}

}  // namespace pq::OstrelComm32
