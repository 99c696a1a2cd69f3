#pragma once

#include <optional>
#include <string>
#include <vector>

namespace pq::OstrelComm32 {

// How the Windows port names "COMn" reach a device on this system:
//   1. a link (or any file) `ports/COMn` in the folder of the running executable names the device
//      explicitly; the simulator and the tests plug in this way;
//   2. otherwise COMn is a serial device of the system by a fixed numbering that does not move when
//      other devices come and go: COM1..COM100 are /dev/ttyS0..ttyS99, COM101..COM200
//      /dev/ttyUSB0..ttyUSB99, COM201..COM300 /dev/ttyACM0..ttyACM99.
// A device name that is not of the form "\\.\COMn" is used as a path unchanged.
std::string resolveDeviceName(const std::string& deviceName);

// The folder that holds the COMn links: `ports` next to the running executable.
std::string portLinkFolder();

// The system device of COMn by the numbering above (without looking at links); nothing outside it.
std::optional<std::string> systemDeviceOfPort(int number);
// The inverse: the port number of a system device name such as "ttyUSB0"; nothing for other names.
std::optional<int> portOfSystemDevice(const std::string& deviceName);

// The port number n of a device name "\\.\COMn"; nothing for other names.
std::optional<int> portNumberOfDeviceName(const std::string& deviceName);

}  // namespace pq::OstrelComm32
