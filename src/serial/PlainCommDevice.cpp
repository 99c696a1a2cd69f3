#include "serial/PlainCommDevice.h"

namespace pq::OstrelComm32 {

TPlainCommDevice::TPlainCommDevice() : port_(std::make_unique<TComm32>()) {
  port_->OnCommNotify = [this](TComm32* sender, int mask) { NewCommBusy(sender, mask); };
  port_->AfterOpen = [this](TComm32* sender) { NewAfterOpen(sender); };
  port_->BeforeClose = [this](TComm32* sender) { NewBeforeClose(sender); };
}

TPlainCommDevice::~TPlainCommDevice() {
  // Closing reports nothing to a half-destroyed owner; the port's own callbacks stay until its
  // threads are gone.
  destroying_ = true;
  try {
    port_->Close();
  } catch (...) {
  }
  port_.reset();
}

void TPlainCommDevice::NewCommBusy(TComm32*, int mask) {
  if (OnCommNotify && !destroying_) OnCommNotify(this, mask);
}

void TPlainCommDevice::NewAfterOpen(TComm32*) {
  if (AfterOpen && !destroying_) AfterOpen(this);
}

void TPlainCommDevice::NewBeforeClose(TComm32*) {
  if (BeforeClose && !destroying_) BeforeClose(this);
}

void TPlainCommDevice::SetPortNo(int number) {
  port_->Close();
  port_->SetPortNo(number);
}

void TPlainCommDevice::SetBaud(std::uint32_t bitsPerSecond) {
  port_->Close();
  port_->LineSettings().BaudRate = bitsPerSecond;
}

void TPlainCommDevice::SetParity(std::uint8_t code) {
  port_->Close();
  port_->LineSettings().Parity = code;
}

void TPlainCommDevice::SetByteSize(std::uint8_t bits) {
  port_->Close();
  port_->LineSettings().ByteSize = bits;
}

void TPlainCommDevice::SetStopBits(std::uint8_t code) {
  port_->Close();
  port_->LineSettings().StopBits = code;
}

void TPlainCommDevice::SetHwInSize(long size) {
  port_->Close();
  port_->HwInSize = size;
}

void TPlainCommDevice::SetHwOutSize(long size) {
  port_->Close();
  port_->HwOutSize = size;
}

void TPlainCommDevice::SetActive(bool active) {
  if (active) {
    port_->Open();
  } else {
    port_->Close();
  }
}

}  // namespace pq::OstrelComm32
