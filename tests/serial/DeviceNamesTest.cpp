#include "serial/platform/DeviceNames.h"

#include <gtest/gtest.h>

#include "support/PseudoTerminal.h"

namespace pq::OstrelComm32 {
namespace {

TEST(DeviceNamesTest, PortNumbersMapToDeviceFamiliesAndBack) {
  const std::pair<int, const char*> cases[] = {{1, "/dev/ttyS0"},     {100, "/dev/ttyS99"},
                                               {101, "/dev/ttyUSB0"}, {150, "/dev/ttyUSB49"},
                                               {201, "/dev/ttyACM0"}, {300, "/dev/ttyACM99"}};
  for (const auto& [number, device] : cases) {
    EXPECT_EQ(systemDeviceOfPort(number), device);
    EXPECT_EQ(portOfSystemDevice(std::string(device).substr(5)), number);
  }
  EXPECT_FALSE(systemDeviceOfPort(0));
  EXPECT_FALSE(systemDeviceOfPort(301));
  EXPECT_FALSE(portOfSystemDevice("ttyS100"));
  EXPECT_FALSE(portOfSystemDevice("tty0"));
  EXPECT_FALSE(portOfSystemDevice("ttyUSBx"));
}

TEST(DeviceNamesTest, DeviceNamesResolveThroughLinksFirst) {
  EXPECT_EQ(portNumberOfDeviceName("\\\\.\\COM12"), 12);
  EXPECT_FALSE(portNumberOfDeviceName("\\\\.\\COM0"));
  EXPECT_FALSE(portNumberOfDeviceName("\\\\.\\COM1x"));
  EXPECT_FALSE(portNumberOfDeviceName("COM1"));
  EXPECT_EQ(resolveDeviceName("/dev/pts/7"), "/dev/pts/7") << "a path stays a path";
  EXPECT_EQ(resolveDeviceName("\\\\.\\COM101"), "/dev/ttyUSB0");
  EXPECT_EQ(resolveDeviceName("\\\\.\\COM399"), portLinkFolder() + "/COM399") << "no device: the open fails";
  test::PseudoTerminal pty;
  EXPECT_EQ(resolveDeviceName("\\\\.\\COM" + std::to_string(pty.portNumber())),
            portLinkFolder() + "/COM" + std::to_string(pty.portNumber()));
}

}  // namespace
}  // namespace pq::OstrelComm32
