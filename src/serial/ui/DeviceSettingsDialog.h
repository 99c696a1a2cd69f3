#pragma once

#include <type_traits>

#include "serial/ui/CommSettingsDialog.h"

namespace pq::OstrelComm32 {

// The settings dialog of one device, showing its present settings. `openOnOk`: OK opens the port
// even when it was closed. The plain device's baud rate is typed, any whole number going.
template <class Device>
class DeviceSettingsDialog : public CommSettingsDialog {
 public:
  DeviceSettingsDialog(QWidget* owner, bool openOnOk, Device& device, ui::Prompter& prompter)
      : CommSettingsDialog(owner, prompter, std::is_same_v<Device, TPlainCommDevice>),
        device_(device),
        remembered_(device),
        openOnOk_(openOnOk) {
    showEntry(entryOf(device, ports()));
  }

 protected:
  void apply(const CommSettingsEntry& entry) override {
    try {
      applyCommSettings(device_, entry, remembered_.active() || openOnOk_);
    } catch (...) {
      remembered_.restore(device_);
      throw;
    }
  }

 private:
  Device& device_;
  CommSettingsSnapshot<Device> remembered_;
  bool openOnOk_;
};

using TForm_CommDevice_Settings = DeviceSettingsDialog<TCustomCommDevice>;
using TForm_PlainCommDevice_Settings = DeviceSettingsDialog<TPlainCommDevice>;

// The device's SettingsDialog: shows the dialog modally; true when it was closed with OK.
template <class Device>
bool SettingsDialog(Device& device, QWidget* owner, bool openOnOk, ui::Prompter& prompter) {
  DeviceSettingsDialog<Device> dialog(owner, openOnOk, device, prompter);
  return dialog.exec() == QDialog::Accepted;
}

}  // namespace pq::OstrelComm32
