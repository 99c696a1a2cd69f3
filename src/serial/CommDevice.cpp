#include "serial/CommDevice.h"

#include <algorithm>
#include <limits>

namespace pq::OstrelComm32 {

TCustomCommDevice::TCustomCommDevice() : port_(std::make_unique<TComm32>()) {
  port_->OnCommNotify = [this](TComm32* sender, int mask) { NewCommBusy(sender, mask); };
  port_->AfterOpen = [this](TComm32* sender) { NewAfterOpen(sender); };
  port_->BeforeClose = [this](TComm32* sender) { NewBeforeClose(sender); };
  package_ = std::make_unique<TCommPackage>(port_.get());
  package_->SetOnPackage([this](TCommPackage* sender, int mask) { NewCommNotify(sender, mask); });
  frameSettings_ = std::make_unique<TCommFrameSettings>(package_.get());
}

TCustomCommDevice::~TCustomCommDevice() {
  Shutdown();
  frameSettings_.reset();
  package_.reset();
  port_.reset();
}

void TCustomCommDevice::Shutdown() {
  if (destroying_.exchange(true)) return;
  package_->fSetActive(false);
  try {
    port_->Close();
  } catch (...) {
    // The error says a callback outlasted the wait; it is waited out below.
  }
  // A port thread still inside an event reaches the packetiser and this device on its way back.
  port_->joinLingeringThreads();
  // The port's callbacks can only be replaced once its threads are gone; until then the flag keeps
  // the events of a device being destroyed from firing.
  port_->OnCommNotify = nullptr;
  port_->AfterOpen = nullptr;
  port_->BeforeClose = nullptr;
  package_->SetOnPackage(nullptr);
}

long TCustomCommDevice::Read(void* buf, long len) { return port_->Read(buf, len); }
long TCustomCommDevice::Write(const void* buf, long len) { return port_->Write(buf, len); }
long TCustomCommDevice::Command(const char* text) { return port_->Command(text); }

bool TCustomCommDevice::ReadPackage(void* p) { return package_->ReadPackage(p, 0) != 0; }
bool TCustomCommDevice::WritePackage(const void* p) { return package_->WritePackage(p, 0) != 0; }
unsigned long TCustomCommDevice::ReadPackage(void* p, unsigned long len) {
  return package_->ReadPackage(p, len);
}
unsigned long TCustomCommDevice::WritePackage(const void* p, unsigned long len) {
  return package_->WritePackage(p, len);
}

void TCustomCommDevice::PurgeRead(bool abort) {
  if (usePackage_) {
    package_->PurgeRead();
  } else {
    // With the pause-cut type the packetiser's thread reads the port even while packaging is off.
    const auto exclusive = package_->Exclusive();
    port_->PurgeRead(abort);
  }
}

void TCustomCommDevice::PurgeWrite(bool abort) {
  if (usePackage_) {
    package_->PurgeWrite();
  } else {
    port_->PurgeWrite(abort);
  }
}

void TCustomCommDevice::ResetModem() { port_->ResetModem(); }
void TCustomCommDevice::InitModem() { port_->InitModem(); }

int TCustomCommDevice::EscapeCommFunction(unsigned long function) {
  if (!Active()) return 0;
  return port_->Escape(static_cast<std::uint32_t>(function)) ? 1 : 0;
}

void TCustomCommDevice::NewCommBusy(TComm32*, int mask) {
  if (OnCommNotify && !destroying_) OnCommNotify(this, mask);
}

void TCustomCommDevice::NewCommNotify(TCommPackage*, int mask) {
  if (OnPackage && !destroying_) OnPackage(this, mask);
}

void TCustomCommDevice::NewAfterOpen(TComm32*) {
  if (AfterOpen && !destroying_) AfterOpen(this);
}

void TCustomCommDevice::NewBeforeClose(TComm32*) {
  if (BeforeClose && !destroying_) BeforeClose(this);
}

void TCustomCommDevice::SetPortNo(int number) {
  closePort();
  port_->SetPortNo(number);
}

void TCustomCommDevice::SetBaud(TBaudRate rate) {
  closePort();
  port_->LineSettings().BaudRate = baudRateValue(rate);
}

TParity TCustomCommDevice::Parity() const {
  const std::uint8_t code = port_->LineSettings().Parity;
  return code <= ptSpaceParity ? static_cast<TParity>(code) : ptNoParity;
}

void TCustomCommDevice::SetParity(TParity parity) {
  closePort();
  port_->LineSettings().Parity = parity <= ptSpaceParity ? parity : ptNoParity;
}

void TCustomCommDevice::SetByteSize(int bits) {
  closePort();
  port_->LineSettings().ByteSize = static_cast<std::uint8_t>(std::clamp(bits, 0, 255));
}

TStopBits TCustomCommDevice::StopBits() const {
  const std::uint8_t code = port_->LineSettings().StopBits;
  return code <= sbTwoStopBit ? static_cast<TStopBits>(code) : sbOneStopBit;
}

void TCustomCommDevice::SetStopBits(TStopBits stopBits) {
  closePort();
  port_->LineSettings().StopBits = stopBits <= sbTwoStopBit ? stopBits : sbOneStopBit;
}

void TCustomCommDevice::SetAutoAnswer(int rings) {
  port_->AutoAnswer = static_cast<std::uint8_t>(std::clamp(rings, 0, 255));
}

void TCustomCommDevice::SetInBufSize(long size) {
  // The packetiser's threads read the receive queue too; they wait while it is rebuilt.
  const auto exclusive = package_->Exclusive();
  port_->SetInQueueSize(size);
}

void TCustomCommDevice::SetHwInSize(long size) {
  closePort();
  port_->HwInSize = size;
}

void TCustomCommDevice::SetHwOutSize(long size) {
  closePort();
  port_->HwOutSize = size;
}

void TCustomCommDevice::SetPackageSize(long size) {
  // Beyond 32 bits the packetiser refuses the size as too large rather than seeing it wrapped.
  package_->fSetPkgSz(
      static_cast<std::uint32_t>(std::clamp<long>(size, 0, std::numeric_limits<std::uint32_t>::max())));
}

void TCustomCommDevice::SetPackageInterval(long milliseconds) {
  package_->fSetPkgInterval(static_cast<int>(std::clamp(milliseconds, 1L, 60000L)));
}

bool TCustomCommDevice::Active() const {
  return usePackage_ ? port_->Opened() && package_->fGetActive() : port_->Opened();
}

void TCustomCommDevice::SetActive(bool active) {
  const bool packaging = usePackage_ && active;
  if (active != port_->Opened()) {
    if (active) {
      port_->Open();
    } else {
      port_->Close();
    }
  }
  if (packaging != package_->fGetActive()) package_->fSetActive(packaging);
}

void TCustomCommDevice::SetUsePackage(bool use) {
  const bool active = Active();
  usePackage_ = use;
  SetActive(active);
}

std::uint8_t TCustomCommDevice::ModemStatus() const {
  const std::uint32_t status = port_->ModemStatus();
  std::uint8_t set = 0;
  if ((status & MS_CTS_ON) != 0) set |= modemLines::cts;
  if ((status & MS_DSR_ON) != 0) set |= modemLines::dsr;
  if ((status & MS_RING_ON) != 0) set |= modemLines::ring;
  if ((status & MS_RLSD_ON) != 0) set |= modemLines::rlsd;
  return set;
}

}  // namespace pq::OstrelComm32
