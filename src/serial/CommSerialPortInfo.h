#pragma once

#include <string>
#include <vector>

namespace pq::OstrelComm32 {

// The serial ports present, as names "COMn" sorted by number, or the fallback COM1..COM4 when the
// system reports none. The system's register of ports is sysfs: every /sys/class/tty entry backed by
// a device (a ttyS entry only when its UART type is not 0, "no UART") and numbered by the rule of
// platform/DeviceNames.h; a `ports/COMn` link next to the executable adds COMn.
class TCommSerialPortInfo {
 public:
  TCommSerialPortInfo();
  // For tests: another sysfs tty folder and link folder.
  TCommSerialPortInfo(std::string ttyClassFolder, std::string linkFolder);
  virtual ~TCommSerialPortInfo() = default;

  void Refresh();
  // Adds the ports the system reports, sorted; leaves the list as it is when the register cannot be
  // read at all.
  void ListFromSystem();

  const std::vector<std::string>& Ports() const { return ports_; }
  bool FromSystem() const { return fromSystem_; }

  // n of a name "COMn" (any case of "COM"); 0 for other names and numbers below 1.
  static int PortNo(const std::string& name);
  static std::string PortName(int number);
  static int PortListSortCompare(const std::vector<std::string>& list, int i, int j);

 private:
  std::string ttyClassFolder_;
  std::string linkFolder_;
  std::vector<std::string> ports_;
  bool fromSystem_ = false;
};

}  // namespace pq::OstrelComm32
