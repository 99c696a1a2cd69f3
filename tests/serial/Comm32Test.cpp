#include "serial/Comm32.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "base/AppLang.h"
#include "base/TextCodec.h"
#include "serial/Comm32Error.h"
#include "support/PseudoTerminal.h"

namespace pq::OstrelComm32 {
namespace {

using test::patternBytes;
using test::PseudoTerminal;
using test::waitUntil;

std::string readAll(TComm32& port, std::size_t count) {
  std::string out;
  char buffer[1024];
  waitUntil([&] {
    const long n = port.Read(buffer, sizeof buffer);
    out.append(buffer, static_cast<std::size_t>(n));
    return out.size() >= count;
  });
  return out;
}

std::string drainQueue(TCommQueue& queue) {
  std::string out(static_cast<std::size_t>(queue.Count()), '\0');
  out.resize(static_cast<std::size_t>(queue.Out(out.data(), static_cast<long>(out.size()))));
  return out;
}

class LanguageGuard {
 public:
  LanguageGuard() : saved_(AppLang) {}
  ~LanguageGuard() { AppLang = saved_; }
  LanguageGuard(const LanguageGuard&) = delete;
  LanguageGuard& operator=(const LanguageGuard&) = delete;

 private:
  TAppLang saved_;
};

TEST(Comm32Test, DefaultsAndDeviceName) {
  TComm32 port;
  EXPECT_EQ(port.PortNo(), 2);
  EXPECT_EQ(port.DeviceName(), "\\\\.\\COM2");
  EXPECT_EQ(port.HwInSize, 1200);
  EXPECT_EQ(port.InQueue().Capacity(), 8192);
  EXPECT_EQ(port.OutQueue().Capacity(), 8192);
  const TDcb& dcb = port.LineSettings();
  EXPECT_EQ(dcb.BaudRate, 115200u);
  EXPECT_EQ(dcb.ByteSize, 8);
  EXPECT_EQ(dcb.fDtrControl, DTR_CONTROL_ENABLE);
  EXPECT_EQ(dcb.fRtsControl, RTS_CONTROL_ENABLE);
  EXPECT_EQ(dcb.XonLim, 2048);
  EXPECT_FALSE(port.Opened());
  port.SetPortNo(17);
  EXPECT_EQ(port.DeviceName(), "\\\\.\\COM17");
}

TEST(Comm32Test, OpenErrorsCarryTheirCodeAndTheTextOfTheLanguage) {
  LanguageGuard guard;
  struct Case {
    TLangType language;
    std::string text;
  };
  const Case cases[] = {{ltEnglish, "Cannot open COM port"}, {ltGbk, "不能打开端口"}, {ltBig5, "不能打開埠"}};
  for (const auto& c : cases) {
    AppLang.fSetLangType(c.language);
    TComm32 port;
    port.SetPortNo(399);  // no link, outside every device family
    try {
      port.Open();
      FAIL() << "opened";
    } catch (const EComm32Error& error) {
      EXPECT_EQ(error.ErrorCode(), 4);
      EXPECT_EQ(std::string(error.what()), c.text);
      const std::string native = c.language == ltBig5  ? "\xA4\xA3\xAF\xE0\xA5\xB4\xB6\x7D\xB0\xF0"
                                 : c.language == ltGbk ? utf8ToGbk(c.text)
                                                       : c.text;
      EXPECT_EQ(error.nativeText(), native);
    }
    EXPECT_FALSE(port.Opened());
    EXPECT_NO_THROW(port.Close());
  }
}

TEST(Comm32Test, QueuesWithoutBufferFailTheOpen) {
  PseudoTerminal pty;
  for (const bool receive : {true, false}) {
    TComm32 port;
    port.SetPortNo(pty.portNumber());
    (receive ? port.InQueue() : port.OutQueue()).fSetBufSize(0);
    try {
      port.Open();
      FAIL() << "opened";
    } catch (const EComm32Error& error) {
      EXPECT_EQ(error.ErrorCode(), receive ? 2 : 3);
    }
    EXPECT_FALSE(port.Opened());
  }
}

TEST(Comm32Test, AnUnsupportedByteSizeFailsWithTheParameterCode) {
  PseudoTerminal pty;
  TComm32 port;
  port.SetPortNo(pty.portNumber());
  port.LineSettings().ByteSize = 9;
  try {
    port.Open();
    FAIL() << "opened";
  } catch (const EComm32Error& error) {
    EXPECT_EQ(error.ErrorCode(), 8);
  }
  port.LineSettings().ByteSize = 8;
  port.LineSettings().BaudRate = 56000;  // through termios2
  EXPECT_NO_THROW(port.Open());
}

TEST(Comm32Test, APortOpenElsewhereCannotBeOpened) {
  PseudoTerminal pty;
  TComm32 first;
  TComm32 second;
  first.SetPortNo(pty.portNumber());
  second.SetPortNo(pty.portNumber());
  first.Open();
  EXPECT_THROW(second.Open(), EComm32Error);
  first.Close();
  EXPECT_NO_THROW(second.Open());
}

TEST(Comm32Test, OpenAndCloseNotifyAndCallTheirCallbacks) {
  PseudoTerminal pty;
  TComm32 port;
  port.SetPortNo(pty.portNumber());
  std::vector<std::string> calls;
  std::atomic<int> modemNotifications{0};
  port.OnCommNotify = [&](TComm32* sender, int mask) {
    EXPECT_EQ(sender, &port);
    if (mask == 0x38) ++modemNotifications;
    throw std::runtime_error("callbacks may fail");
  };
  port.AfterOpen = [&](TComm32*) {
    calls.push_back("after open");
    throw 1;
  };
  port.BeforeClose = [&](TComm32*) { calls.push_back("before close"); };
  port.DisableWrite = true;
  port.Open();
  EXPECT_TRUE(port.Opened());
  EXPECT_FALSE(port.DisableWrite) << "a successful open clears it";
  port.Open();
  port.Close();
  port.Close();
  EXPECT_EQ(calls, (std::vector<std::string>{"after open", "before close"}));
  EXPECT_EQ(modemNotifications, 2);
}

TEST(Comm32Test, BytesFlowBothWaysWithoutLoss) {
  PseudoTerminal pty;
  TComm32 port;
  port.SetPortNo(pty.portNumber());
  port.Open();

  const std::string inbound = patternBytes(300000);
  std::thread far([&] { pty.send(inbound); });
  const std::string received = readAll(port, inbound.size());
  far.join();
  EXPECT_EQ(received.size(), inbound.size());
  EXPECT_TRUE(received == inbound) << "bytes lost or reordered on the way in";

  const std::string outbound = patternBytes(100000);
  std::string echoed;
  std::thread reader([&] { echoed = pty.receive(outbound.size()); });
  for (std::size_t done = 0; done < outbound.size();) {
    done += static_cast<std::size_t>(port.Write(
        outbound.data() + done, static_cast<long>(std::min<std::size_t>(4096, outbound.size() - done))));
    std::this_thread::yield();
  }
  reader.join();
  EXPECT_TRUE(echoed == outbound) << "got " << echoed.size() << " of " << outbound.size();
}

TEST(Comm32Test, AnIdleLineAfterAWriteStaysQuiet) {
  PseudoTerminal pty;
  TComm32 port;
  port.SetPortNo(pty.portNumber());
  std::atomic<int> drained{0};
  port.OnCommNotify = [&](TComm32*, int mask) {
    if ((mask & EV_TXEMPTY) != 0) ++drained;
  };
  port.Open();
  ASSERT_EQ(port.Write("\xEB\x90\x01\x01", 4), 4);
  EXPECT_EQ(pty.receive(4).size(), 4u);
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  // One drain per burst written; a line that keeps reporting drains keeps two threads busy forever.
  EXPECT_LE(drained.load(), 2) << "EV_TXEMPTY reported again and again on an idle line";
  port.Close();
}

TEST(Comm32Test, DisableWriteStopsWriteButNotCommand) {
  TComm32 port;
  port.DisableWrite = true;
  EXPECT_EQ(port.Write("abc", 3), 0);
  EXPECT_EQ(port.OutQueue().Count(), 0);
  EXPECT_EQ(port.Command("ATH\r"), 4);
  port.DisableWrite = false;
  const std::string big(10000, 'x');
  EXPECT_EQ(port.Write(big.data(), 10000), 8191 - 4) << "a full queue shows as a short count";
}

TEST(Comm32Test, BytesQueuedWhileClosedGoOutAfterOpenWhenWoken) {
  PseudoTerminal pty;
  TComm32 port;
  port.SetPortNo(pty.portNumber());
  EXPECT_EQ(port.Write("early", 5), 5);
  port.Open();
  port.Command("+late");
  EXPECT_EQ(pty.receive(10), "early+late");
}

TEST(Comm32Test, ReceivedBytesSurviveClose) {
  PseudoTerminal pty;
  TComm32 port;
  port.SetPortNo(pty.portNumber());
  port.Open();
  pty.send("kept");
  ASSERT_TRUE(waitUntil([&] { return port.InQueue().Count() == 4; }));
  port.Close();
  char buffer[8] = {};
  EXPECT_EQ(port.Read(buffer, sizeof buffer), 4);
  EXPECT_EQ(std::string(buffer, 4), "kept");
}

TEST(Comm32Test, PurgesEmptyTheQueuesOnlyWhileOpen) {
  PseudoTerminal pty;
  TComm32 port;
  port.SetPortNo(pty.portNumber());
  port.DisableWrite = false;
  port.InQueue().In("in", 2);
  port.Write("out", 3);
  port.PurgeRead(true);
  port.PurgeWrite(true);
  EXPECT_EQ(port.InQueue().Count(), 2);
  EXPECT_EQ(port.OutQueue().Count(), 3);

  port.Open();
  pty.send("0123456789");
  ASSERT_TRUE(waitUntil([&] { return port.InQueue().Count() == 12; }));
  port.PurgeRead(false);
  EXPECT_EQ(port.InQueue().Count(), 0);
  port.DisableWrite = true;  // keep the next bytes in the queue
  port.Command("xyz");
  port.PurgeWrite(false);
  EXPECT_EQ(port.OutQueue().Count(), 0);
}

TEST(Comm32Test, FlowControlCodesAndTheirReadBack) {
  struct Case {
    int code, readBack;
    std::uint8_t rts;
    bool cts, xonXoff;
  };
  const Case cases[] = {
      {0, 0, RTS_CONTROL_ENABLE, false, false},  {3, 3, RTS_CONTROL_HANDSHAKE, true, false},
      {4, 4, RTS_CONTROL_ENABLE, false, true},   {5, 4, RTS_CONTROL_ENABLE, false, true},
      {6, 6, RTS_CONTROL_HANDSHAKE, true, true}, {2, 0, RTS_CONTROL_ENABLE, false, false},
  };
  for (const auto& c : cases) {
    TComm32 port;
    port.LineSettings().fDtrControl = DTR_CONTROL_DISABLE;
    port.LineSettings().fOutxDsrFlow = true;
    port.fSetFCtrl(c.code);
    const TDcb& dcb = port.LineSettings();
    EXPECT_EQ(port.fGetFCtrl(), c.readBack) << c.code;
    EXPECT_EQ(dcb.fRtsControl, c.rts) << c.code;
    EXPECT_EQ(dcb.fOutxCtsFlow, c.cts) << c.code;
    EXPECT_EQ(dcb.fOutX, c.xonXoff) << c.code;
    EXPECT_EQ(dcb.fInX, c.xonXoff) << c.code;
    EXPECT_EQ(dcb.fDtrControl, DTR_CONTROL_ENABLE);
    EXPECT_FALSE(dcb.fOutxDsrFlow);
  }
}

TEST(Comm32Test, ModemCommandsQueueTheirTexts) {
  TComm32 port;
  port.fSetFCtrl(3);
  port.AutoAnswer = 2;
  port.InitModem();
  EXPECT_EQ(drainQueue(port.OutQueue()), "ATE0&K3S0=2\r");
  port.ResetModem();
  EXPECT_EQ(drainQueue(port.OutQueue()), "ATZ\r");
}

TEST(Comm32Test, SettingsChangesCloseThePort) {
  PseudoTerminal pty;
  TComm32 port;
  port.SetPortNo(pty.portNumber());
  port.Open();
  port.fSetFCtrl(4);
  EXPECT_FALSE(port.Opened());
  port.Open();
  EXPECT_TRUE(port.Opened());
}

TEST(Comm32Test, AFullReceiveQueueHoldsBackTheRestUntilRead) {
  PseudoTerminal pty;
  TComm32 port;
  port.SetInQueueSize(64);
  port.SetPortNo(pty.portNumber());
  port.Open();
  const std::string bytes = patternBytes(1000);
  pty.send(bytes);
  ASSERT_TRUE(waitUntil([&] { return port.InQueue().Count() == 63; }));
  EXPECT_EQ(readAll(port, bytes.size()), bytes);
}

// A driver whose modem lines the test sets; everything else succeeds and nothing ever arrives.
class ModemLinesDriver final : public SerialDriver {
 public:
  explicit ModemLinesDriver(std::atomic<std::uint32_t>& lines) : lines_(lines) {}
  bool open(const std::string&) override { return true; }
  void close() override {}
  bool isOpen() const override { return true; }
  int handle() const override { return -1; }
  bool setEventMask(std::uint32_t) override { return true; }
  bool setupBuffers(std::int32_t, std::int32_t) override { return true; }
  bool applyLineSettings(const TDcb&) override { return true; }
  WaitResult waitEvent(const WakeEvent& stop, const WakeEvent*) override {
    stop.wait(-1);
    return {WaitResult::Kind::stopped, 0};
  }
  long read(void*, long) override { return 0; }
  WriteResult write(const void*, long len, const WakeEvent&) override { return {len, false}; }
  void writesFinished() override {}
  bool modemStatus(std::uint32_t& status) override {
    status = lines_;
    return true;
  }
  bool purge(std::uint32_t) override { return true; }
  bool escape(std::uint32_t) override { return true; }

 private:
  std::atomic<std::uint32_t>& lines_;
};

TEST(Comm32Test, TimerTicksReportCarrierChangesAndRingsEverySixteenTicks) {
  std::atomic<std::uint32_t> lines{MS_RING_ON};
  TComm32 port(std::make_unique<ModemLinesDriver>(lines));
  std::vector<int> events;
  port.OnCommNotify = [&](TComm32*, int mask) { events.push_back(mask); };
  std::vector<int> ringTicks;
  for (int tick = 1; tick <= 40; ++tick) {
    events.clear();
    port.fmsgCommTimer();
    if (events == std::vector<int>{static_cast<int>(EV_RING)}) ringTicks.push_back(tick);
  }
  EXPECT_EQ(ringTicks, (std::vector<int>{16, 32}));

  lines = MS_RING_ON | MS_RLSD_ON;
  events.clear();
  port.fmsgCommTimer();
  EXPECT_EQ(events, std::vector<int>{static_cast<int>(EV_RLSD)}) << "the first tick that sees the carrier";
  EXPECT_EQ(port.ModemStatus() & MS_RLSD_ON, MS_RLSD_ON);
  events.clear();
  for (int tick = 0; tick < 40; ++tick) port.fmsgCommTimer();
  EXPECT_TRUE(events.empty()) << "no ring while a carrier is present";
}

TEST(Comm32Test, OpenReadsTheModemLinesAndCloseClearsThem) {
  std::atomic<std::uint32_t> lines{MS_CTS_ON | MS_DSR_ON};
  TComm32 port(std::make_unique<ModemLinesDriver>(lines));
  port.Open();
  EXPECT_EQ(port.ModemStatus(), MS_CTS_ON | MS_DSR_ON);
  port.Close();
  EXPECT_EQ(port.ModemStatus(), 0u);
}

int openDescriptors() {
  return static_cast<int>(std::distance(std::filesystem::directory_iterator("/proc/self/fd"),
                                        std::filesystem::directory_iterator()));
}

TEST(Comm32Test, CloseDuringTrafficEndsEveryThreadAndReleasesEveryDescriptor) {
  PseudoTerminal pty;
  const int before = openDescriptors();
  const std::string flood = patternBytes(20000);
  for (int round = 0; round < 20; ++round) {
    TComm32 port;
    port.SetPortNo(pty.portNumber());
    port.Open();
    pty.send(flood.substr(0, 3000));
    port.Write(flood.data(), 8000);
    EXPECT_NO_THROW(port.Close()) << round;
    char sink[4096];
    while (::read(pty.master(), sink, sizeof sink) > 0) {
    }
  }
  {
    TComm32 failing;
    failing.SetPortNo(399);
    EXPECT_THROW(failing.Open(), EComm32Error);
  }
  EXPECT_EQ(openDescriptors(), before);
}

}  // namespace
}  // namespace pq::OstrelComm32
