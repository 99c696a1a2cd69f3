#include "serial/CommSettingsEntry.h"

#include <array>
#include <charconv>
#include <climits>

#include "serial/CommSerialPortInfo.h"
#include "serial/CommSettingsTexts.h"

namespace pq::OstrelComm32 {

namespace {

constexpr int kMinimumQueueSize = 4096;
constexpr std::array<TFlowControl, 4> kFlowItems{fcNone, fcRtsCts, fcXonXoff, fcRtsCtsXonXoff};

std::string trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t\r\n") + 1 - first);
}

// The whole trimmed text as a decimal number; nothing for any other text or one out of range.
std::optional<long long> wholeNumber(const std::string& text) {
  const std::string t = trimmed(text);
  long long value = 0;
  const auto [end, error] = std::from_chars(t.data(), t.data() + t.size(), value);
  if (t.empty() || error != std::errc() || end != t.data() + t.size()) return std::nullopt;
  return value;
}

int flowItemOf(TFlowControl flow) {
  switch (flow) {
    case fcRtsCts:
      return 1;
    case fcXonXoff:
    case fcTranXonXoff:
      return 2;
    case fcRtsCtsXonXoff:
      return 3;
    default:
      return 0;
  }
}

int itemOrNone(int value, int count) { return value >= 0 && value < count ? value : -1; }

template <class Device>
CommSettingsEntry commonEntryOf(const Device& device, const std::vector<std::string>& ports) {
  CommSettingsEntry entry;
  const std::string name = TCommSerialPortInfo::PortName(device.PortNo());
  for (const auto& port : ports) {
    if (port == name) entry.portText = port;
  }
  entry.byteSizeItem = itemOrNone(static_cast<int>(device.ByteSize()) - 5, 4);
  entry.autoAnswer = std::to_string(static_cast<int>(device.AutoAnswer()));
  entry.inBufSize = std::to_string(device.InBufSize());
  entry.outBufSize = std::to_string(device.OutBufSize());
  return entry;
}

}  // namespace

std::optional<CommSettingsProblem> validateCommSettings(const CommSettingsEntry& entry) {
  using F = CommSettingsField;
  namespace t = settingsTexts;
  if (entry.portText.empty()) return CommSettingsProblem{F::port, t::mustSelectPort};
  if (entry.baudText) {
    if (trimmed(*entry.baudText).empty()) return CommSettingsProblem{F::baud, t::mustSelectBaud};
    const auto rate = wholeNumber(*entry.baudText);
    if (!rate || *rate <= 0 || *rate > 0xFFFFFFFFLL) return CommSettingsProblem{F::baud, t::invalidBaud};
  } else if (entry.baudItem < 0) {
    return CommSettingsProblem{F::baud, t::mustSelectBaud};
  }
  if (entry.byteSizeItem < 0) return CommSettingsProblem{F::byteSize, t::mustSelectByteSize};
  if (entry.parityItem < 0) return CommSettingsProblem{F::parity, t::mustSelectParity};
  if (entry.stopBitsItem < 0) return CommSettingsProblem{F::stopBits, t::mustSelectStopBits};
  if (entry.flowItem < 0) return CommSettingsProblem{F::flow, t::mustSelectFlow};
  const auto rings = wholeNumber(entry.autoAnswer);
  if (!rings || *rings < 0 || *rings > 255) return CommSettingsProblem{F::autoAnswer, t::autoAnswerRange};
  const auto in = wholeNumber(entry.inBufSize);
  if (!in || *in < kMinimumQueueSize || *in > LONG_MAX) return CommSettingsProblem{F::inBuf, t::inBufError};
  const auto out = wholeNumber(entry.outBufSize);
  if (!out || *out < kMinimumQueueSize || *out > LONG_MAX)
    return CommSettingsProblem{F::outBuf, t::outBufError};
  return std::nullopt;
}

CommSettingsEntry entryOf(const TCustomCommDevice& device, const std::vector<std::string>& ports) {
  CommSettingsEntry entry = commonEntryOf(device, ports);
  entry.baudItem = static_cast<int>(device.Baud());
  entry.parityItem = static_cast<int>(device.Parity());
  entry.stopBitsItem = static_cast<int>(device.StopBits());
  entry.flowItem = flowItemOf(device.FlowControl());
  return entry;
}

CommSettingsEntry entryOf(const TPlainCommDevice& device, const std::vector<std::string>& ports) {
  CommSettingsEntry entry = commonEntryOf(device, ports);
  entry.baudText = std::to_string(device.Baud());
  entry.parityItem = itemOrNone(device.Parity(), 5);
  entry.stopBitsItem = itemOrNone(device.StopBits(), 3);
  entry.flowItem = flowItemOf(flowControlOf(device.FlowControl()));
  return entry;
}

void applyCommSettings(TCustomCommDevice& device, const CommSettingsEntry& entry, bool active) {
  device.SetPortNo(TCommSerialPortInfo::PortNo(entry.portText));
  device.SetBaud(static_cast<TBaudRate>(entry.baudItem));
  device.SetParity(static_cast<TParity>(entry.parityItem));
  device.SetByteSize(entry.byteSizeItem + 5);
  device.SetStopBits(static_cast<TStopBits>(entry.stopBitsItem));
  device.SetFlowControl(kFlowItems.at(static_cast<std::size_t>(entry.flowItem)));
  device.SetAutoAnswer(static_cast<int>(wholeNumber(entry.autoAnswer).value_or(0)));
  device.SetInBufSize(static_cast<long>(wholeNumber(entry.inBufSize).value_or(0)));
  device.SetOutBufSize(static_cast<long>(wholeNumber(entry.outBufSize).value_or(0)));
  device.SetActive(active);
}

void applyCommSettings(TPlainCommDevice& device, const CommSettingsEntry& entry, bool active) {
  device.SetPortNo(TCommSerialPortInfo::PortNo(entry.portText));
  device.SetBaud(static_cast<std::uint32_t>(wholeNumber(entry.baudText.value_or("")).value_or(0)));
  device.SetParity(static_cast<std::uint8_t>(entry.parityItem));
  device.SetByteSize(static_cast<std::uint8_t>(entry.byteSizeItem + 5));
  device.SetStopBits(static_cast<std::uint8_t>(entry.stopBitsItem));
  device.SetFlowControl(flowControlCode(kFlowItems.at(static_cast<std::size_t>(entry.flowItem))));
  device.SetAutoAnswer(static_cast<std::uint8_t>(wholeNumber(entry.autoAnswer).value_or(0)));
  device.SetInBufSize(static_cast<long>(wholeNumber(entry.inBufSize).value_or(0)));
  device.SetOutBufSize(static_cast<long>(wholeNumber(entry.outBufSize).value_or(0)));
  device.SetActive(active);
}

}  // namespace pq::OstrelComm32
