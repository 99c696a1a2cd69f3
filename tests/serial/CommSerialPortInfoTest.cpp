#include "serial/CommSerialPortInfo.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/TempDir.h"

namespace pq::OstrelComm32 {
namespace {

namespace fs = std::filesystem;
using Ports = std::vector<std::string>;

// A fake /sys/class/tty and a fake link folder.
struct FakeSystem {
  FakeSystem() {
    fs::create_directories(ttys());
    fs::create_directories(links());
  }
  std::string ttys() const { return dir.file("tty"); }
  std::string links() const { return dir.file("ports"); }
  void addTty(const std::string& name, bool device, const char* uartType = nullptr) const {
    const fs::path entry = fs::path(ttys()) / name;
    fs::create_directories(entry);
    if (device) fs::create_directories(entry / "device");
    if (uartType != nullptr) std::ofstream(entry / "type") << uartType << "\n";
  }
  void addLink(const std::string& name) const { std::ofstream(fs::path(links()) / name) << ""; }

  test::TempDir dir;
};

TEST(CommSerialPortInfoTest, ListsDevicesAndLinksSortedByNumber) {
  FakeSystem system;
  system.addTty("ttyS0", true, "4");
  system.addTty("ttyS1", true, "0");  // no UART behind it
  system.addTty("ttyUSB0", true);
  system.addTty("ttyACM2", true);
  system.addTty("tty0", false);
  system.addTty("ttyS3", false, "4");  // no device
  system.addLink("COM10");
  system.addLink("COM1");
  system.addLink("notes.txt");
  const TCommSerialPortInfo info(system.ttys(), system.links());
  EXPECT_EQ(info.Ports(), (Ports{"COM1", "COM10", "COM101", "COM203"}));
  EXPECT_TRUE(info.FromSystem());
}

TEST(CommSerialPortInfoTest, LinksAloneSortNumerically) {
  FakeSystem system;
  for (const char* name : {"COM10", "COM3", "COM1"}) system.addLink(name);
  EXPECT_EQ(TCommSerialPortInfo(system.ttys(), system.links()).Ports(), (Ports{"COM1", "COM3", "COM10"}));
}

TEST(CommSerialPortInfoTest, NoPortsOrNoRegisterGiveTheFallback) {
  FakeSystem system;
  const TCommSerialPortInfo empty(system.ttys(), system.links());
  EXPECT_EQ(empty.Ports(), (Ports{"COM1", "COM2", "COM3", "COM4"}));
  EXPECT_FALSE(empty.FromSystem());
  const TCommSerialPortInfo unreadable(system.dir.file("missing"), system.links());
  EXPECT_EQ(unreadable.Ports(), (Ports{"COM1", "COM2", "COM3", "COM4"}));
  EXPECT_FALSE(unreadable.FromSystem());
}

TEST(CommSerialPortInfoTest, PortNumbersAndNames) {
  const std::pair<const char*, int> cases[] = {{"COM1", 1},  {"com7", 7},  {"CoM03", 3},
                                               {"COM0", 0},  {"COM-2", 0}, {"COM", 0},
                                               {"COM3x", 0}, {"LPT1", 0},  {"CO", 0}};
  for (const auto& [name, number] : cases) EXPECT_EQ(TCommSerialPortInfo::PortNo(name), number) << name;
  EXPECT_EQ(TCommSerialPortInfo::PortName(12), "COM12");
  const Ports list{"COM10", "COM3"};
  EXPECT_EQ(TCommSerialPortInfo::PortListSortCompare(list, 0, 1), 7);
}

}  // namespace
}  // namespace pq::OstrelComm32
