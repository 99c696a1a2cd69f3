// What the settings dialogs check, show and apply, without a screen.
#include "serial/CommSettingsEntry.h"

#include <gtest/gtest.h>

#include "serial/Comm32Error.h"
#include "serial/CommSettingsTexts.h"
#include "support/PseudoTerminal.h"

namespace pq::OstrelComm32 {
namespace {

using F = CommSettingsField;
namespace t = settingsTexts;

CommSettingsEntry validEntry() {
  CommSettingsEntry e;
  e.portText = "COM3";
  e.baudItem = 6;
  e.parityItem = 0;
  e.byteSizeItem = 3;
  e.stopBitsItem = 0;
  e.flowItem = 0;
  e.autoAnswer = " 0 ";
  e.inBufSize = "4096";
  e.outBufSize = "8192";
  return e;
}

TEST(CommSettingsEntryTest, TheFirstWrongEntryIsReportedInTheDialogsOrder) {
  struct Case {
    const char* name;
    void (*spoil)(CommSettingsEntry&);
    F field;
    int text;
  };
  const Case cases[] = {
      {"no port",
       [](CommSettingsEntry& e) {
         e.portText.clear();
         e.baudItem = -1;
       },
       F::port, t::mustSelectPort},
      {"no baud",
       [](CommSettingsEntry& e) {
         e.baudItem = -1;
         e.parityItem = -1;
       },
       F::baud, t::mustSelectBaud},
      {"no data bits before no parity",
       [](CommSettingsEntry& e) {
         e.byteSizeItem = -1;
         e.parityItem = -1;
       },
       F::byteSize, t::mustSelectByteSize},
      {"no parity", [](CommSettingsEntry& e) { e.parityItem = -1; }, F::parity, t::mustSelectParity},
      {"no stop bits", [](CommSettingsEntry& e) { e.stopBitsItem = -1; }, F::stopBits, t::mustSelectStopBits},
      {"no flow", [](CommSettingsEntry& e) { e.flowItem = -1; }, F::flow, t::mustSelectFlow},
      {"auto-answer 256", [](CommSettingsEntry& e) { e.autoAnswer = "256"; }, F::autoAnswer,
       t::autoAnswerRange},
      {"auto-answer -1", [](CommSettingsEntry& e) { e.autoAnswer = "-1"; }, F::autoAnswer,
       t::autoAnswerRange},
      {"auto-answer text", [](CommSettingsEntry& e) { e.autoAnswer = "abc"; }, F::autoAnswer,
       t::autoAnswerRange},
      {"auto-answer empty", [](CommSettingsEntry& e) { e.autoAnswer = " "; }, F::autoAnswer,
       t::autoAnswerRange},
      {"input queue 4095", [](CommSettingsEntry& e) { e.inBufSize = "4095"; }, F::inBuf, t::inBufError},
      {"input queue 1.5", [](CommSettingsEntry& e) { e.inBufSize = "4096.5"; }, F::inBuf, t::inBufError},
      {"input queue huge", [](CommSettingsEntry& e) { e.inBufSize = "99999999999999999999"; }, F::inBuf,
       t::inBufError},
      {"output queue", [](CommSettingsEntry& e) { e.outBufSize = "12k"; }, F::outBuf, t::outBufError},
      {"typed baud empty", [](CommSettingsEntry& e) { e.baudText = " "; }, F::baud, t::mustSelectBaud},
      {"typed baud text", [](CommSettingsEntry& e) { e.baudText = "96OO"; }, F::baud, t::invalidBaud},
      {"typed baud zero", [](CommSettingsEntry& e) { e.baudText = "0"; }, F::baud, t::invalidBaud},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CommSettingsEntry e = validEntry();
    c.spoil(e);
    const auto problem = validateCommSettings(e);
    ASSERT_TRUE(problem.has_value());
    EXPECT_EQ(problem->field, c.field);
    EXPECT_EQ(problem->textIndex, c.text);
  }
  EXPECT_FALSE(validateCommSettings(validEntry()).has_value());
  CommSettingsEntry typed = validEntry();
  typed.baudText = " 250000 ";
  EXPECT_FALSE(validateCommSettings(typed).has_value()) << "the plain device takes any whole rate";
}

TEST(CommSettingsEntryTest, EntriesShowTheDevicesSettings) {
  TCommDevice device;
  device.SetPortNo(12);
  device.SetFlowControl(fcTranXonXoff);
  device.SetParity(ptSpaceParity);
  device.SetAutoAnswer(3);
  const CommSettingsEntry e = entryOf(device, {"COM1", "COM3"});
  EXPECT_EQ(e.portText, "") << "port 12 is not in the list";
  EXPECT_EQ(e.baudItem, 12);
  EXPECT_FALSE(e.baudText.has_value());
  EXPECT_EQ(e.parityItem, 4);
  EXPECT_EQ(e.byteSizeItem, 3);
  EXPECT_EQ(e.flowItem, 2);
  EXPECT_EQ(e.autoAnswer, "3");
  EXPECT_EQ(e.inBufSize, "8192");
  device.SetPortNo(3);
  EXPECT_EQ(entryOf(device, {"COM1", "COM3"}).portText, "COM3");

  TPlainCommDevice plain;
  plain.SetBaud(250000);
  plain.SetParity(9);
  const CommSettingsEntry p = entryOf(plain, {});
  EXPECT_EQ(p.baudText, "250000");
  EXPECT_EQ(p.parityItem, -1);
}

TEST(CommSettingsEntryTest, AFailedOpenPutsEverySettingBack) {
  TCommDevice device;
  device.SetPortNo(29999);  // no such port
  device.SetBaud(br1200);
  device.SetAutoAnswer(7);
  device.SetInBufSize(5000);
  const CommSettingsSnapshot<TCustomCommDevice> remembered(device);
  CommSettingsEntry e = validEntry();
  e.portText = "COM29998";
  e.baudItem = 12;
  e.flowItem = 3;
  e.autoAnswer = "9";
  e.inBufSize = "9000";
  EXPECT_THROW(applyCommSettings(device, e, true), EComm32Error);
  EXPECT_EQ(device.PortNo(), 29998);
  remembered.restore(device);
  EXPECT_EQ(device.PortNo(), 29999);
  EXPECT_EQ(device.Baud(), br1200);
  EXPECT_EQ(device.FlowControl(), fcNone);
  EXPECT_EQ(device.AutoAnswer(), 7);
  EXPECT_EQ(device.InBufSize(), 5000);
  EXPECT_FALSE(device.Active());
}

TEST(CommSettingsEntryTest, ValidEntriesOpenThePort) {
  test::PseudoTerminal pty;
  TCommDevice device;
  CommSettingsEntry e = validEntry();
  e.portText = "COM" + std::to_string(pty.portNumber());
  e.byteSizeItem = 2;
  e.stopBitsItem = 2;
  applyCommSettings(device, e, true);
  EXPECT_TRUE(device.Active());
  EXPECT_EQ(device.PortNo(), pty.portNumber());
  EXPECT_EQ(device.Baud(), br9600);
  EXPECT_EQ(device.ByteSize(), 7);
  EXPECT_EQ(device.StopBits(), sbTwoStopBit);
  EXPECT_EQ(device.InBufSize(), 4096);

  TPlainCommDevice plain;
  e.baudText = "250000";
  applyCommSettings(plain, e, false);
  EXPECT_EQ(plain.Baud(), 250000u);
  EXPECT_FALSE(plain.Active());
}

TEST(CommSettingsEntryTest, TextsInThreeLanguages) {
  EXPECT_EQ(commSettingsText(t::caption, ltGbk), "端口设置");
  EXPECT_EQ(commSettingsText(t::caption, ltBig5), "串列埠設置");
  EXPECT_EQ(commSettingsText(t::caption, ltEnglish), "COM port Setup");
  EXPECT_EQ(commSettingsText(t::spaceParity, static_cast<TLangType>(9)), "Space Parity");
  EXPECT_EQ(commSettingsText(24, ltGbk), "");
  EXPECT_EQ(commSettingsText(36, ltGbk), "");
}

}  // namespace
}  // namespace pq::OstrelComm32
