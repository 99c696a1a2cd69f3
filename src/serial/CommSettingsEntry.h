#pragma once

#include <optional>
#include <string>
#include <vector>

#include "serial/CommDevice.h"
#include "serial/PlainCommDevice.h"

namespace pq::OstrelComm32 {

// The entries of a settings dialog as the operator left them: the item chosen in each list (-1 for
// none) and the texts typed. The plain device's dialog types its baud rate (`baudText`).
struct CommSettingsEntry {
  std::string portText;  // the chosen port's name; empty for none
  int baudItem = -1;
  std::optional<std::string> baudText;
  int parityItem = -1;
  int byteSizeItem = -1;
  int stopBitsItem = -1;
  int flowItem = -1;
  std::string autoAnswer;
  std::string inBufSize;
  std::string outBufSize;
};

// The dialog's fields in the order Enter moves through them.
enum class CommSettingsField { port, baud, parity, byteSize, stopBits, flow, autoAnswer, inBuf, outBuf };

struct CommSettingsProblem {
  CommSettingsField field;
  int textIndex;  // into commSettingsText
};

// The first wrong entry in the dialog's order of checking, or nothing when all are right.
std::optional<CommSettingsProblem> validateCommSettings(const CommSettingsEntry& entry);

// The dialog's entries showing a device's present settings; the port only when `ports` holds it.
CommSettingsEntry entryOf(const TCustomCommDevice& device, const std::vector<std::string>& ports);
CommSettingsEntry entryOf(const TPlainCommDevice& device, const std::vector<std::string>& ports);

// Applies valid entries in the order port, baud, parity, data bits, stop bits, flow control,
// auto-answer, queue sizes, then sets Active. Raises what the device raises (EComm32Error when the
// port does not open).
void applyCommSettings(TCustomCommDevice& device, const CommSettingsEntry& entry, bool active);
void applyCommSettings(TPlainCommDevice& device, const CommSettingsEntry& entry, bool active);

// A device's settings as a dialog found them, to be put back when applying new ones fails.
template <class Device>
class CommSettingsSnapshot {
 public:
  explicit CommSettingsSnapshot(const Device& d)
      : active_(d.Active()),
        portNo_(d.PortNo()),
        baud_(d.Baud()),
        byteSize_(d.ByteSize()),
        parity_(d.Parity()),
        stopBits_(d.StopBits()),
        flow_(d.FlowControl()),
        autoAnswer_(d.AutoAnswer()),
        inBufSize_(d.InBufSize()),
        outBufSize_(d.OutBufSize()) {}

  bool active() const { return active_; }

  // Every setting back, each on its own: one that fails does not keep the others from returning.
  void restore(Device& d) const noexcept {
    attempt([&] { d.SetPortNo(portNo_); });
    attempt([&] { d.SetBaud(baud_); });
    attempt([&] { d.SetByteSize(byteSize_); });
    attempt([&] { d.SetParity(parity_); });
    attempt([&] { d.SetStopBits(stopBits_); });
    attempt([&] { d.SetFlowControl(flow_); });
    attempt([&] { d.SetAutoAnswer(autoAnswer_); });
    attempt([&] { d.SetInBufSize(inBufSize_); });
    attempt([&] { d.SetOutBufSize(outBufSize_); });
    attempt([&] { d.SetActive(active_); });
  }

 private:
  template <class Step>
  static void attempt(Step step) noexcept {
    try {
      step();
    } catch (...) {
      // Putting back is best effort; the failure that led here is the one reported.
    }
  }

  bool active_;
  int portNo_;
  decltype(std::declval<const Device&>().Baud()) baud_;
  decltype(std::declval<const Device&>().ByteSize()) byteSize_;
  decltype(std::declval<const Device&>().Parity()) parity_;
  decltype(std::declval<const Device&>().StopBits()) stopBits_;
  decltype(std::declval<const Device&>().FlowControl()) flow_;
  decltype(std::declval<const Device&>().AutoAnswer()) autoAnswer_;
  long inBufSize_;
  long outBufSize_;
};

}  // namespace pq::OstrelComm32
