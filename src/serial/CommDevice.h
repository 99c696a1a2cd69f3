#pragma once

#include <atomic>
#include <functional>
#include <memory>

#include "serial/Comm32.h"
#include "serial/CommDeviceTypes.h"
#include "serial/CommFrameSettings.h"
#include "serial/CommPackage.h"

namespace pq::OstrelComm32 {

// A serial device as a window holds it: one port, one packetiser on it and the frame settings, with
// the settings as properties (enumerations mapped, numbers clamped, never rejected) and the port and
// packaging switched on and off together through Active. A setter that "closes" shuts the port,
// which stays shut until Active is set again.
//
// Threads: properties, Active and the package calls belong to the owner's thread. OnCommNotify and
// OnPackage run on the port's or the packetiser's threads (set them while inactive); AfterOpen and
// BeforeClose on the thread that writes Active.
class TCustomCommDevice {
 public:
  using TDeviceEvent = std::function<void(TCustomCommDevice* sender, int mask)>;
  using TDeviceNotify = std::function<void(TCustomCommDevice* sender)>;

  TCustomCommDevice();
  virtual ~TCustomCommDevice();
  TCustomCommDevice(const TCustomCommDevice&) = delete;
  TCustomCommDevice& operator=(const TCustomCommDevice&) = delete;

  virtual long Read(void* buf, long len);
  virtual long Write(const void* buf, long len);
  virtual long Command(const char* text);
  virtual bool ReadPackage(void* p);
  virtual bool WritePackage(const void* p);
  virtual unsigned long ReadPackage(void* p, unsigned long len);
  virtual unsigned long WritePackage(const void* p, unsigned long len);
  virtual void PurgeRead(bool abort);
  virtual void PurgeWrite(bool abort);
  virtual void ResetModem();
  virtual void InitModem();
  // The escape function (SETDTR, CLRDTR, SETRTS, CLRRTS, SETBREAK, ...) while active: 1 when it
  // succeeded; 0 when it failed or the device is inactive.
  virtual int EscapeCommFunction(unsigned long function);
  virtual void NewCommBusy(TComm32* sender, int mask);
  virtual void NewCommNotify(TCommPackage* sender, int mask);
  virtual void NewAfterOpen(TComm32* sender);
  virtual void NewBeforeClose(TComm32* sender);

  int PortNo() const { return port_->PortNo(); }
  void SetPortNo(int number);
  TBaudRate Baud() const { return baudRateOf(port_->LineSettings().BaudRate); }
  void SetBaud(TBaudRate rate);
  TParity Parity() const;
  void SetParity(TParity parity);
  int ByteSize() const { return port_->LineSettings().ByteSize; }
  void SetByteSize(int bits);
  TStopBits StopBits() const;
  void SetStopBits(TStopBits stopBits);
  TFlowControl FlowControl() const { return flowControlOf(port_->fGetFCtrl()); }
  void SetFlowControl(TFlowControl flow) { port_->fSetFCtrl(flowControlCode(flow)); }
  int AutoAnswer() const { return port_->AutoAnswer; }
  void SetAutoAnswer(int rings);
  long InBufSize() const { return port_->InQueue().Capacity(); }
  void SetInBufSize(long size);
  long OutBufSize() const { return port_->OutQueue().Capacity(); }
  void SetOutBufSize(long size) { port_->SetOutQueueSize(size); }
  long HwInSize() const { return port_->HwInSize; }
  void SetHwInSize(long size);
  long HwOutSize() const { return port_->HwOutSize; }
  void SetHwOutSize(long size);
  long QueueSize() const { return package_->fGetQSize(); }
  void SetQueueSize(long slotCount) { package_->fSetQSize(slotCount); }
  long PackageSize() const { return static_cast<long>(package_->fGetPkgSz()); }
  void SetPackageSize(long size);
  TCommPackageType PackageType() const { return package_->fGetPkgType(); }
  void SetPackageType(TCommPackageType type) { package_->fSetPkgType(type); }
  long PackageInterval() const { return package_->fGetPkgInterval(); }
  // Clamped to 1 ms .. 60 s: a pause of 0 or less would cut nothing.
  void SetPackageInterval(long milliseconds);
  bool UsePackage() const { return usePackage_; }
  void SetUsePackage(bool use);
  TCommFrameSettings& FrameSettings() { return *frameSettings_; }
  void SetFrameSettings(const TCommFrameSettings& settings) { frameSettings_->Assign(settings); }

  bool Active() const;
  // Raises EComm32Error when the port does not open; packaging then stays as it was.
  void SetActive(bool active);
  int Handle() const { return port_->Handle(); }
  TCommQueue& InQueue() { return port_->InQueue(); }
  TCommQueue& OutQueue() { return port_->OutQueue(); }
  std::uint8_t ModemStatus() const;
  bool DisableWrite() const { return port_->DisableWrite; }
  void SetDisableWrite(bool disable) { port_->DisableWrite = disable; }

  TDeviceEvent OnCommNotify;
  TDeviceEvent OnPackage;
  TDeviceNotify AfterOpen;
  TDeviceNotify BeforeClose;

 protected:
  // Stops packaging and the port's threads and silences the events. The most derived class calls it
  // from its own destructor, so that no port thread calls a virtual handler of a half-destroyed object.
  void Shutdown();

 private:
  void closePort() { port_->Close(); }

  std::unique_ptr<TComm32> port_;
  std::unique_ptr<TCommPackage> package_;
  std::unique_ptr<TCommFrameSettings> frameSettings_;
  bool usePackage_ = false;
  std::atomic<bool> destroying_{false};
};

// The component as windows place it: every property of TCustomCommDevice published.
class TCommDevice : public TCustomCommDevice {
 public:
  using TCustomCommDevice::TCustomCommDevice;
  ~TCommDevice() override { Shutdown(); }
};

}  // namespace pq::OstrelComm32
