#pragma once

#include <atomic>
#include <functional>
#include <memory>

#include "serial/Comm32.h"

namespace pq::OstrelComm32 {

// The older device without packaging: one port, its settings passed through unchanged (no
// enumerations, no clamping). No window of the application uses it.
class TPlainCommDevice {
 public:
  using TDeviceEvent = std::function<void(TPlainCommDevice* sender, int mask)>;
  using TDeviceNotify = std::function<void(TPlainCommDevice* sender)>;

  TPlainCommDevice();
  virtual ~TPlainCommDevice();
  TPlainCommDevice(const TPlainCommDevice&) = delete;
  TPlainCommDevice& operator=(const TPlainCommDevice&) = delete;

  virtual long Read(void* buf, long len) { return port_->Read(buf, len); }
  virtual long Write(const void* buf, long len) { return port_->Write(buf, len); }
  virtual long Command(const char* text) { return port_->Command(text); }
  virtual void PurgeRead(bool abort) { port_->PurgeRead(abort); }
  virtual void PurgeWrite(bool abort) { port_->PurgeWrite(abort); }
  virtual void ResetModem() { port_->ResetModem(); }
  virtual void InitModem() { port_->InitModem(); }
  virtual void NewCommBusy(TComm32* sender, int mask);
  virtual void NewAfterOpen(TComm32* sender);
  virtual void NewBeforeClose(TComm32* sender);

  // The setters of the line settings and driver sizes close the port.
  int PortNo() const { return port_->PortNo(); }
  void SetPortNo(int number);
  std::uint32_t Baud() const { return port_->LineSettings().BaudRate; }
  void SetBaud(std::uint32_t bitsPerSecond);
  std::uint8_t Parity() const { return port_->LineSettings().Parity; }
  void SetParity(std::uint8_t code);
  std::uint8_t ByteSize() const { return port_->LineSettings().ByteSize; }
  void SetByteSize(std::uint8_t bits);
  std::uint8_t StopBits() const { return port_->LineSettings().StopBits; }
  void SetStopBits(std::uint8_t code);
  TComm32::TFlowControl FlowControl() const { return port_->fGetFCtrl(); }
  void SetFlowControl(TComm32::TFlowControl code) { port_->fSetFCtrl(code); }
  std::uint8_t AutoAnswer() const { return port_->AutoAnswer; }
  void SetAutoAnswer(std::uint8_t rings) { port_->AutoAnswer = rings; }
  long InBufSize() const { return port_->InQueue().Capacity(); }
  void SetInBufSize(long size) { port_->SetInQueueSize(size); }
  long OutBufSize() const { return port_->OutQueue().Capacity(); }
  void SetOutBufSize(long size) { port_->SetOutQueueSize(size); }
  long HwInSize() const { return port_->HwInSize; }
  void SetHwInSize(long size);
  long HwOutSize() const { return port_->HwOutSize; }
  void SetHwOutSize(long size);

  bool Active() const { return port_->Opened(); }
  void SetActive(bool active);
  int Handle() const { return port_->Handle(); }
  TCommQueue& InQueue() { return port_->InQueue(); }
  TCommQueue& OutQueue() { return port_->OutQueue(); }
  std::uint32_t ModemStatus() const { return port_->ModemStatus(); }
  bool DisableWrite() const { return port_->DisableWrite; }
  void SetDisableWrite(bool disable) { port_->DisableWrite = disable; }

  TDeviceEvent OnCommNotify;
  TDeviceNotify AfterOpen;
  TDeviceNotify BeforeClose;

 private:
  std::unique_ptr<TComm32> port_;
  std::atomic<bool> destroying_{false};
};

}  // namespace pq::OstrelComm32
