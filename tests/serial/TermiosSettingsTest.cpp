#include "serial/platform/TermiosSettings.h"

#include <gtest/gtest.h>

namespace pq::OstrelComm32 {
namespace {

TEST(TermiosSettingsTest, LineSettingsMapToTermiosFlags) {
  struct Case {
    const char* name;
    void (*change)(TDcb&);
    tcflag_t cflagSet, cflagClear, iflagSet, iflagClear;
  };
  const Case cases[] = {
      {"defaults: 8N1, raw, no flow control", [](TDcb&) {}, CS8 | CLOCAL | CREAD,
       PARENB | CSTOPB | CRTSCTS | HUPCL, 0, IXON | IXOFF | INPCK},
      {"7 data bits, odd", [](TDcb& d) { d.ByteSize = 7, d.Parity = 1; }, CS7 | PARENB | PARODD, CMSPAR, 0,
       INPCK},
      {"even", [](TDcb& d) { d.Parity = 2; }, PARENB, PARODD | CMSPAR, 0, 0},
      {"mark", [](TDcb& d) { d.Parity = 3; }, PARENB | PARODD | CMSPAR, 0, 0, 0},
      {"space", [](TDcb& d) { d.Parity = 4; }, PARENB | CMSPAR, PARODD, 0, 0},
      {"parity checked", [](TDcb& d) { d.Parity = 2, d.fParity = true; }, PARENB, 0, INPCK | IGNPAR, 0},
      {"one and a half stop bits become two", [](TDcb& d) { d.ByteSize = 5, d.StopBits = 1; }, CS5 | CSTOPB,
       0, 0, 0},
      {"two stop bits", [](TDcb& d) { d.StopBits = 2; }, CSTOPB, 0, 0, 0},
      {"CTS output flow", [](TDcb& d) { d.fOutxCtsFlow = true; }, CRTSCTS, 0, 0, 0},
      {"RTS handshake", [](TDcb& d) { d.fRtsControl = RTS_CONTROL_HANDSHAKE; }, CRTSCTS, 0, 0, 0},
      {"Xon/Xoff both ways", [](TDcb& d) { d.fOutX = d.fInX = true; }, 0, 0, IXON | IXOFF, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TDcb dcb;
    c.change(dcb);
    termios t{};
    t.c_cflag = HUPCL;
    t.c_lflag = ECHO | ICANON;
    ASSERT_TRUE(toTermios(dcb, t));
    EXPECT_EQ(t.c_cflag & c.cflagSet, c.cflagSet);
    EXPECT_EQ(t.c_cflag & c.cflagClear, 0u);
    EXPECT_EQ(t.c_iflag & c.iflagSet, c.iflagSet);
    EXPECT_EQ(t.c_iflag & c.iflagClear, 0u);
    EXPECT_EQ(t.c_lflag & (ECHO | ICANON), 0u) << "raw mode";
    EXPECT_EQ(t.c_cc[VMIN], 0);
    EXPECT_EQ(t.c_cc[VSTART], 0x11);
    EXPECT_EQ(t.c_cc[VSTOP], 0x13);
  }
}

TEST(TermiosSettingsTest, CodesOutsideTheirRangeAreRefusedAndRatesFindTheirConstants) {
  for (auto change : {+[](TDcb& d) { d.ByteSize = 4; }, +[](TDcb& d) { d.ByteSize = 9; },
                      +[](TDcb& d) { d.Parity = 5; }, +[](TDcb& d) { d.StopBits = 3; }}) {
    TDcb dcb;
    change(dcb);
    termios t{};
    t.c_cflag = 0x1234;
    EXPECT_FALSE(toTermios(dcb, t));
    EXPECT_EQ(t.c_cflag, 0x1234u) << "untouched";
  }
  EXPECT_EQ(standardSpeed(9600), static_cast<speed_t>(B9600));
  EXPECT_EQ(standardSpeed(115200), static_cast<speed_t>(B115200));
  EXPECT_EQ(standardSpeed(14400), static_cast<speed_t>(B0));
  EXPECT_EQ(standardSpeed(256000), static_cast<speed_t>(B0));
  TDcb dcb;
  dcb.BaudRate = 9600;
  termios t{};
  ASSERT_TRUE(toTermios(dcb, t));
  EXPECT_EQ(cfgetospeed(&t), static_cast<speed_t>(B9600));
}

}  // namespace
}  // namespace pq::OstrelComm32
