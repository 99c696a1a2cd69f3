#include "serial/CommPackage.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "serial/Comm32Error.h"
#include "support/PseudoTerminal.h"

namespace pq::OstrelComm32 {
namespace {

using test::PseudoTerminal;
using test::waitUntil;
using namespace std::chrono_literals;

std::string bytes(std::initializer_list<int> values) {
  std::string out;
  for (int v : values) out.push_back(static_cast<char>(v));
  return out;
}

// A port on a pseudo-terminal with a packetiser on it; the test plays the far end.
struct PackageLink {
  explicit PackageLink(TCommPackageType type, std::uint32_t packageSize = 4096) : package(&port) {
    package.fSetPkgType(type);
    package.fSetPkgSz(packageSize);
    port.SetPortNo(pty.portNumber());
    port.Open();
    package.fSetActive(true);
  }
  ~PackageLink() { port.Close(); }

  std::string nextPackage(std::chrono::milliseconds timeout = 2s) {
    std::string out;
    waitUntil([&] { return package.ReadPackage(nullptr, 0) > 0; }, timeout);
    const unsigned long length = package.ReadPackage(nullptr, 0);
    out.resize(length);
    out.resize(package.ReadPackage(out.data(), length));
    return out;
  }

  PseudoTerminal pty;
  TComm32 port;
  TCommPackage package;
};

TEST(CommPackageTest, HeadTailFramingCases) {
  struct Case {
    const char* name;
    std::string input;
    std::uint32_t packageSize;
    std::string expected;
  };
  const std::string sentinel = bytes({0xEB, 0xAA, 0xEE});
  const Case cases[] = {
      {"escaped tail inside, doubled marks", bytes({0xEB, 0xEB, 0x01, 0xEC, 0xEE, 0x02, 0xEE, 0xEE}), 4096,
       bytes({0x01, 0xEE, 0x02})},
      {"second head restarts", bytes({0xEB, 0x01, 0x02, 0xEB, 0x03, 0xEE}), 4096, bytes({0x03})},
      {"escaped head starts nothing", bytes({0xEC, 0xEB, 0x05, 0xEE}) + sentinel, 4096, bytes({0xAA})},
      {"data beyond the package size is cut", bytes({0xEB, 1, 2, 3, 4, 5, 6, 0xEE}), 4, bytes({1, 2, 3, 4})},
      {"tail outside a frame is ignored", bytes({0xEE, 0x07, 0xEE}) + sentinel, 4096, bytes({0xAA})},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    PackageLink link(cptFrameHeadTail, c.packageSize);
    link.pty.send(c.input);
    EXPECT_EQ(link.nextPackage(), c.expected);
    EXPECT_EQ(link.package.ReadPackage(nullptr, 0), 0u);
  }
}

TEST(CommPackageTest, SendingEscapesAndDoublesTheMarks) {
  PackageLink link(cptFrameHeadTail);
  const std::string data = bytes({0x01, 0xEB, 0x02, 0xEC, 0x03, 0xEE});
  EXPECT_EQ(link.package.WritePackage(data.data(), data.size()), 6u);
  const std::string expected =
      bytes({0xEB, 0xEB, 0x01, 0xEC, 0xEB, 0x02, 0xEC, 0xEC, 0x03, 0xEC, 0xEE, 0xEE, 0xEE});
  EXPECT_EQ(link.pty.receive(expected.size()), expected);
  EXPECT_EQ(link.package.WritePackage(nullptr, 3), 0u);
  EXPECT_EQ(link.package.WritePackage(data.data(), 0), 0u);
}

TEST(CommPackageTest, CompatiblePackagesMoveAsWholeRecords) {
  PackageLink link(cptCompatiblePkg);
  std::vector<std::uint8_t> record(4096 + 4, 0);
  const std::uint32_t length = 3;
  std::memcpy(record.data(), &length, 4);
  std::memcpy(record.data() + 4, "abc", 3);
  EXPECT_EQ(link.package.WritePackage(record.data(), 0), 1u);
  EXPECT_EQ(link.pty.receive(7), bytes({0xEB, 0xEB, 'a', 'b', 'c', 0xEE, 0xEE}));

  link.pty.send(bytes({0xEB, 'x', 'y', 0xEE}));
  std::vector<std::uint8_t> received(4096 + 4, 0xFF);
  ASSERT_TRUE(waitUntil([&] { return link.package.ReceiveQueue().Count() == 1; }));
  EXPECT_EQ(link.package.ReadPackage(received.data(), 0), 1u);
  std::uint32_t receivedLength = 0;
  std::memcpy(&receivedLength, received.data(), 4);
  EXPECT_EQ(receivedLength, 2u);
  EXPECT_EQ(std::string(received.begin() + 4, received.begin() + 6), "xy");
  EXPECT_EQ(link.package.ReadPackage(received.data(), 0), 0u);
}

TEST(CommPackageTest, PausesCutTimeoutPackages) {
  PackageLink link(cptFrameTimeout, 100);
  link.pty.send(std::string(10, 'a'));
  std::this_thread::sleep_for(200ms);
  link.pty.send(std::string(5, 'b'));
  EXPECT_EQ(link.nextPackage(), std::string(10, 'a'));
  EXPECT_EQ(link.nextPackage(), std::string(5, 'b'));

  link.pty.send(std::string(300, 'c'));
  EXPECT_EQ(link.nextPackage(), std::string(100, 'c')) << "the excess of a long stream is lost";
  std::this_thread::sleep_for(200ms);
  EXPECT_EQ(link.package.ReadPackage(nullptr, 0), 0u);

  const std::string request = bytes({0xEB, 0x90, 0x01, 0x01});
  EXPECT_EQ(link.package.WritePackage(request.data(), 4), 4u);
  EXPECT_EQ(link.pty.receive(4), request) << "timeout packages go out without framing";
}

TEST(CommPackageTest, ReadPackageLengthZeroPeeksAndAShortReadLosesTheRest) {
  PackageLink link(cptFrameHeadTail);
  link.pty.send(bytes({0xEB, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 0xEE}));
  ASSERT_TRUE(waitUntil([&] { return link.package.ReadPackage(nullptr, 0) == 10; }));
  EXPECT_EQ(link.package.ReadPackage(nullptr, 0), 10u) << "still queued";
  char three[3];
  EXPECT_EQ(link.package.ReadPackage(three, 3), 3u);
  EXPECT_EQ(std::string(three, 3), bytes({0, 1, 2}));
  EXPECT_EQ(link.package.ReadPackage(nullptr, 0), 0u);
}

TEST(CommPackageTest, FullSendQueueRefusesWhileThePortRefusesBytes) {
  TComm32 port;
  TCommPackage package(&port);
  package.fSetPkgType(cptFrameHeadTail);
  package.fSetActive(true);
  port.DisableWrite = true;
  for (int i = 0; i < 16; ++i) {
    EXPECT_EQ(package.WritePackage("p", 1), 1u) << i;
  }
  EXPECT_EQ(package.SendQueue().Count(), 15u) << "the first package waits in the frame buffer";
  EXPECT_EQ(package.WritePackage("p", 1), 0u);
}

TEST(CommPackageTest, QueueSizesHaveTheirMinimums) {
  TCommPackageQueue queue(1, 10);
  EXPECT_EQ(queue.SlotCount(), 2u);
  EXPECT_EQ(queue.SlotSize(), 32u);
  std::vector<std::uint8_t> slot(32, 7);
  EXPECT_EQ(queue.In(slot.data()), 1);
  EXPECT_EQ(queue.In(slot.data()), 0) << "one slot stays empty";
  EXPECT_EQ(queue.Read(slot.data(), 1), 0);
  EXPECT_EQ(queue.Read(slot.data(), 0), 1);
  EXPECT_EQ(queue.Count(), 1u);
}

TEST(CommPackageTest, ChangingSizesOrTypeDeactivatesAndEmptiesTheQueues) {
  TComm32 port;
  TCommPackage package(&port);
  package.fSetPkgType(cptFrameHeadTail);
  package.fSetActive(true);
  port.DisableWrite = true;
  package.WritePackage("a", 1);
  package.WritePackage("b", 1);
  package.fSetPkgSz(1024);
  EXPECT_FALSE(package.fGetActive());
  EXPECT_EQ(package.SendQueue().Count(), 0u);
  EXPECT_EQ(package.SendQueue().SlotSize(), 1028u);
  EXPECT_EQ(package.WritePackage("a", 1), 0u) << "inactive";
  package.fSetActive(true);
  package.fSetQSize(4);
  EXPECT_FALSE(package.fGetActive());
  EXPECT_EQ(package.ReceiveQueue().SlotCount(), 4u);
  package.fSetActive(true);
  package.fSetPkgType(cptFrameTimeout);
  EXPECT_FALSE(package.fGetActive());
  package.fSetPkgInterval(20);
  EXPECT_FALSE(package.fGetActive()) << "the interval leaves packaging as it is";
}

TEST(CommPackageTest, SizesTheMemoryCannotHoldLeaveTheOldSettingsWhole) {
  // 5000 slots of 256 MiB are more than the queues may take; the settings before must stay usable,
  // or the assembly buffer would be filled up to a package size it was never given.
  PackageLink link(cptFrameTimeout, 100);
  link.package.fSetQSize(5000);
  EXPECT_THROW(link.package.fSetPkgSz(256u << 20), EComm32Error);
  EXPECT_THROW(link.package.fSetQSize(1L << 33), EComm32Error);
  EXPECT_EQ(link.package.fGetPkgSz(), 100u);
  EXPECT_EQ(link.package.fGetQSize(), 5000);
  for (TCommPackageQueue* queue : {&link.package.ReceiveQueue(), &link.package.SendQueue()}) {
    EXPECT_EQ(queue->SlotCount(), 5000u);
    EXPECT_EQ(queue->SlotSize(), 104u);
  }
  link.package.fSetActive(true);
  link.pty.send(std::string(300, 'd'));
  EXPECT_EQ(link.nextPackage(), std::string(100, 'd'));
}

TEST(CommPackageTest, TimeoutTypeCutsAndAnnouncesEvenWhileInactive) {
  PackageLink link(cptFrameTimeout);
  std::atomic<int> announced{0};
  link.package.SetOnPackage([&](TCommPackage*, int mask) {
    if ((mask & EV_RXCHAR) != 0) ++announced;
  });
  link.package.fSetActive(false);
  link.pty.send("hello");
  EXPECT_TRUE(waitUntil([&] { return announced > 0; }));
  EXPECT_EQ(link.package.ReceiveQueue().Count(), 1u);
  EXPECT_EQ(link.package.ReadPackage(nullptr, 0), 0u) << "reading needs packaging on";
  link.package.fSetActive(true);
  EXPECT_EQ(link.package.ReceiveQueue().Count(), 0u) << "activation discards what was cut";
}

TEST(CommPackageTest, PackageEventsSayAPackageWaitsAndEverythingWasSent) {
  PackageLink link(cptFrameHeadTail);
  std::atomic<int> received{0};
  std::atomic<int> allSent{0};
  link.package.SetOnPackage([&](TCommPackage* sender, int mask) {
    EXPECT_EQ(sender, &link.package);
    if ((mask & EV_RXCHAR) != 0) ++received;
    if ((mask & EV_TXEMPTY) != 0) ++allSent;
  });
  link.pty.send(bytes({0xEB, 0x41, 0xEE}));
  EXPECT_TRUE(waitUntil([&] { return received > 0; }));
  link.package.WritePackage("z", 1);
  EXPECT_TRUE(waitUntil([&] { return allSent > 0; }));
}

TEST(CommPackageTest, PurgesEmptyThePackageQueuesAndThePort) {
  PackageLink link(cptFrameHeadTail);
  link.pty.send(bytes({0xEB, 1, 0xEE, 0xEB, 2, 0xEE}));
  ASSERT_TRUE(waitUntil([&] { return link.package.ReceiveQueue().Count() == 2; }));
  link.package.PurgeRead();
  EXPECT_EQ(link.package.ReceiveQueue().Count(), 0u);
  link.port.DisableWrite = true;
  link.package.WritePackage("a", 1);
  link.package.WritePackage("b", 1);
  link.package.PurgeWrite();
  EXPECT_EQ(link.package.SendQueue().Count(), 0u);
  EXPECT_EQ(link.port.OutQueue().Count(), 0);
}

TEST(CommPackageTest, AFrameLargerThanTheTransmitQueueFollowsOnTransmitEmpty) {
  PackageLink link(cptFrameHeadTail);
  const std::string data(4096, static_cast<char>(0xEB));  // every byte escaped: a frame of 8196 bytes
  EXPECT_EQ(link.package.WritePackage(data.data(), data.size()), 4096u);
  std::string expected = bytes({0xEB, 0xEB});
  for (std::size_t i = 0; i < data.size(); ++i) expected += bytes({0xEC, 0xEB});
  expected += bytes({0xEE, 0xEE});
  EXPECT_TRUE(link.pty.receive(expected.size()) == expected);
}

TEST(CommPackageTest, RefusingBytesWhileTheReadThreadSendsIsSafe) {
  // The rest of a long frame goes out from the port's read thread while the owner switches
  // DisableWrite; every byte still arrives once writing is allowed again.
  PackageLink link(cptFrameHeadTail, 20000);
  const std::string data(20000, static_cast<char>(0xEE));
  std::string expected = bytes({0xEB, 0xEB});
  for (std::size_t i = 0; i < data.size(); ++i) expected += bytes({0xEC, 0xEE});
  expected += bytes({0xEE, 0xEE, 0xEB, 0xEB, 'z', 0xEE, 0xEE});
  std::string received;
  std::thread reader([&] { received = link.pty.receive(expected.size(), 20s); });
  EXPECT_EQ(link.package.WritePackage(data.data(), data.size()), 20000u);
  for (int i = 0; i < 200; ++i) {
    link.port.DisableWrite = i % 2 == 0;
    std::this_thread::sleep_for(1ms);
  }
  link.port.DisableWrite = false;
  EXPECT_EQ(link.package.WritePackage("z", 1), 1u);
  reader.join();
  EXPECT_TRUE(received == expected) << received.size() << " of " << expected.size() << " bytes";
}

TEST(CommPackageTest, PurgingWhileBytesArriveNeverBringsOldBytesBack) {
  // The far end sends bytes of rising value while the owner purges again and again. A purge may drop
  // bytes, but a byte lower than one delivered before it would be old bytes read a second time.
  PackageLink link(cptFrameTimeout);
  link.package.fSetPkgInterval(1);
  std::atomic<bool> feeding{true};
  std::thread feeder([&] {
    for (int value = 1; value <= 250; ++value) {
      link.pty.send(std::string(64, static_cast<char>(value)));
      std::this_thread::sleep_for(2ms);
    }
    feeding = false;
  });
  int last = 0;
  bool ordered = true;
  while (feeding && ordered) {
    link.package.PurgeRead();
    std::this_thread::sleep_for(200us);
    unsigned char data[4096];
    for (unsigned long n; ordered && (n = link.package.ReadPackage(data, sizeof data)) > 0;) {
      for (unsigned long i = 0; i < n && ordered; ++i) {
        ordered = data[i] >= last;
        last = data[i];
      }
    }
  }
  feeder.join();
  EXPECT_TRUE(ordered);
}

}  // namespace
}  // namespace pq::OstrelComm32
