#include "serial/CommDevice.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "serial/Comm32Error.h"
#include "serial/PlainCommDevice.h"
#include "support/PseudoTerminal.h"

namespace pq::OstrelComm32 {
namespace {

using test::PseudoTerminal;
using test::waitUntil;

TEST(CommDeviceTest, Defaults) {
  TCommDevice device;
  EXPECT_EQ(device.PortNo(), 2);
  EXPECT_EQ(device.Baud(), br115200);
  EXPECT_EQ(device.Parity(), ptNoParity);
  EXPECT_EQ(device.ByteSize(), 8);
  EXPECT_EQ(device.StopBits(), sbOneStopBit);
  EXPECT_EQ(device.FlowControl(), fcNone);
  EXPECT_EQ(device.AutoAnswer(), 0);
  EXPECT_EQ(device.InBufSize(), 8192);
  EXPECT_EQ(device.OutBufSize(), 8192);
  EXPECT_EQ(device.HwInSize(), 1200);
  EXPECT_EQ(device.HwOutSize(), 1200);
  EXPECT_EQ(device.QueueSize(), 16);
  EXPECT_EQ(device.PackageSize(), 4096);
  EXPECT_EQ(device.PackageType(), cptCompatiblePkg);
  EXPECT_EQ(device.PackageInterval(), 50);
  EXPECT_FALSE(device.UsePackage());
  EXPECT_FALSE(device.Active());
  EXPECT_EQ(device.FrameSettings().FrameHead(), 0xEB);
  EXPECT_EQ(device.FrameSettings().FrameTail(), 0xEE);
  EXPECT_EQ(device.FrameSettings().FrameCtrl(), 0xEC);
  EXPECT_EQ(device.EscapeCommFunction(SETDTR), 0) << "inactive";
}

TEST(CommDeviceTest, EnumerationsMapAndNumbersClamp) {
  TCommDevice device;
  const std::pair<TFlowControl, TFlowControl> flows[] = {{fcNone, fcNone},
                                                         {fcRtsCts, fcRtsCts},
                                                         {fcXonXoff, fcXonXoff},
                                                         {fcTranXonXoff, fcXonXoff},
                                                         {fcRtsCtsXonXoff, fcRtsCtsXonXoff},
                                                         {static_cast<TFlowControl>(9), fcNone}};
  for (const auto& [set, readBack] : flows) {
    device.SetFlowControl(set);
    EXPECT_EQ(device.FlowControl(), readBack) << int{set};
  }
  device.SetByteSize(300);
  EXPECT_EQ(device.ByteSize(), 255);
  device.SetByteSize(-4);
  EXPECT_EQ(device.ByteSize(), 0);
  device.SetAutoAnswer(-1);
  EXPECT_EQ(device.AutoAnswer(), 0);
  device.SetAutoAnswer(256);
  EXPECT_EQ(device.AutoAnswer(), 255);
  device.SetBaud(br9600);
  EXPECT_EQ(device.Baud(), br9600);
  device.SetBaud(static_cast<TBaudRate>(40));
  EXPECT_EQ(device.Baud(), br115200);
  device.SetParity(ptSpaceParity);
  EXPECT_EQ(device.Parity(), ptSpaceParity);
  device.SetParity(static_cast<TParity>(5));
  EXPECT_EQ(device.Parity(), ptNoParity);
  device.SetStopBits(sbTwoStopBit);
  EXPECT_EQ(device.StopBits(), sbTwoStopBit);
  device.SetStopBits(static_cast<TStopBits>(3));
  EXPECT_EQ(device.StopBits(), sbOneStopBit);
  device.SetInBufSize(5000);
  EXPECT_EQ(device.InBufSize(), 5000);
  TCommDevice other;
  other.FrameSettings().SetFrameHead(0x7E);
  device.SetFrameSettings(other.FrameSettings());
  EXPECT_EQ(device.FrameSettings().FrameHead(), 0x7E);
}

TEST(CommDeviceTest, APackageSizeBeyondThirtyTwoBitsIsRefusedNotWrapped) {
  TCommDevice device;
  EXPECT_THROW(device.SetPackageSize((1L << 32) + 10), EComm32Error);
  EXPECT_EQ(device.PackageSize(), 4096);
  device.SetPackageSize(-5);
  EXPECT_EQ(device.PackageSize(), 0);
}

TEST(CommDeviceTest, ClosingSettersLeaveTheDeviceInactive) {
  PseudoTerminal pty;
  TCommDevice device;
  device.SetPortNo(pty.portNumber());
  device.SetActive(true);
  ASSERT_TRUE(device.Active());
  device.SetBaud(br9600);
  EXPECT_FALSE(device.Active());
  device.SetActive(true);
  device.SetAutoAnswer(3);
  device.SetInBufSize(4096);
  EXPECT_TRUE(device.Active()) << "neither closes";
  device.SetHwOutSize(2000);
  EXPECT_FALSE(device.Active());
}

TEST(CommDeviceTest, UsePackageSwitchesPackagingWithThePort) {
  PseudoTerminal pty;
  TCommDevice device;
  device.SetPortNo(pty.portNumber());
  device.SetPackageType(cptFrameTimeout);
  device.SetUsePackage(true);
  EXPECT_FALSE(device.Active());
  device.SetActive(true);
  EXPECT_TRUE(device.Active());

  pty.send("answer");
  ASSERT_TRUE(waitUntil([&] { return device.ReadPackage(nullptr, 0) == 6; }));
  char probe[8];
  EXPECT_TRUE(device.ReadPackage(probe));
  EXPECT_EQ(device.ReadPackage(nullptr, 0), 6u) << "the one-argument form only looks";

  device.SetQueueSize(8);
  EXPECT_FALSE(device.Active()) << "packaging is off while the port stays open";
  device.SetActive(true);
  EXPECT_TRUE(device.Active());

  device.SetUsePackage(false);
  EXPECT_TRUE(device.Active()) << "the port stays open";
  EXPECT_EQ(device.ReadPackage(nullptr, 0), 0u) << "packaging is off";
  EXPECT_EQ(device.WritePackage("abc", 3), 0u);
}

TEST(CommDeviceTest, PurgeReadWithPackagesEmptiesThePackageQueueAndThePort) {
  PseudoTerminal pty;
  TCommDevice device;
  device.SetPortNo(pty.portNumber());
  device.SetPackageType(cptFrameHeadTail);
  device.SetUsePackage(true);
  device.SetActive(true);
  pty.send("\xEB\x01\xEE");
  ASSERT_TRUE(waitUntil([&] { return device.ReadPackage(nullptr, 0) == 1; }));
  device.PurgeRead(true);
  EXPECT_EQ(device.ReadPackage(nullptr, 0), 0u);
  EXPECT_EQ(device.InQueue().Count(), 0);
}

TEST(CommDeviceTest, AFailedOpenRaisesAndLeavesPackagingAsItWas) {
  TCommDevice device;
  device.SetPortNo(399);
  device.SetUsePackage(true);
  EXPECT_THROW(device.SetActive(true), EComm32Error);
  EXPECT_FALSE(device.Active());
}

TEST(CommDeviceTest, PortEventsReachThePackageEventFirstThenThePortEvent) {
  PseudoTerminal pty;
  std::mutex mutex;
  std::vector<std::string> events;
  {
    TCommDevice device;
    device.SetPortNo(pty.portNumber());
    device.SetPackageType(cptFrameHeadTail);
    device.OnPackage = [&](TCustomCommDevice* sender, int mask) {
      EXPECT_EQ(sender, &device);
      const std::lock_guard lock(mutex);
      if ((mask & EV_RXCHAR) != 0) events.push_back("package");
    };
    device.OnCommNotify = [&](TCustomCommDevice*, int mask) {
      const std::lock_guard lock(mutex);
      if ((mask & EV_RXCHAR) != 0) events.push_back("port");
    };
    device.AfterOpen = [&](TCustomCommDevice*) { events.push_back("after open"); };
    device.BeforeClose = [&](TCustomCommDevice*) { events.push_back("before close"); };
    device.SetUsePackage(true);
    device.SetActive(true);
    pty.send("\xEB\x01\xEE");
    ASSERT_TRUE(waitUntil([&] {
      const std::lock_guard lock(mutex);
      return events.size() >= 3;
    }));
    device.SetActive(false);
  }
  const std::lock_guard lock(mutex);
  EXPECT_EQ(events, (std::vector<std::string>{"after open", "package", "port", "before close"}))
      << "destruction reports nothing further";
}

TEST(CommDeviceTest, DestructionWaitsForAPackageEventThatOutlastsTheClose) {
  using namespace std::chrono_literals;
  PseudoTerminal pty;
  std::atomic<bool> inEvent{false};
  std::atomic<bool> eventDone{false};
  {
    TCommDevice device;
    device.SetPortNo(pty.portNumber());
    device.SetPackageType(cptFrameHeadTail);
    device.OnPackage = [&](TCustomCommDevice*, int mask) {
      if ((mask & EV_RXCHAR) == 0 || inEvent.exchange(true)) return;
      // Longer than Close waits for the port's threads: the read thread is still in here, and on its
      // way back through the packetiser and the device, when the destructor goes on.
      std::this_thread::sleep_for(800ms);
      eventDone = true;
    };
    device.SetUsePackage(true);
    device.SetActive(true);
    pty.send("\xEB\x01\xEE");
    ASSERT_TRUE(waitUntil([&] { return inEvent.load(); }));
  }
  EXPECT_TRUE(eventDone);
}

TEST(CommDeviceTest, PlainDevicePassesSettingsUnchanged) {
  PseudoTerminal pty;
  TPlainCommDevice device;
  device.SetPortNo(pty.portNumber());
  device.SetActive(true);
  EXPECT_TRUE(device.Active());
  device.SetBaud(12345);
  EXPECT_FALSE(device.Active()) << "line settings close";
  EXPECT_EQ(device.Baud(), 12345u);
  device.SetFlowControl(5);
  EXPECT_EQ(device.FlowControl(), 4);
  device.SetAutoAnswer(200);
  EXPECT_EQ(device.AutoAnswer(), 200);
  device.SetActive(true);
  device.Write("hi", 2);
  EXPECT_EQ(pty.receive(2), "hi");
}

}  // namespace
}  // namespace pq::OstrelComm32
