#pragma once

#include <QDialog>
#include <array>

#include "serial/CommSettingsEntry.h"

class QComboBox;
class QLineEdit;
class QPushButton;

namespace pq::ui {
class Prompter;
}

namespace pq::OstrelComm32 {

// The port settings dialog shared by the two devices: three groups of fields, OK and Cancel, every
// text in the application language. Enter in a field moves to the next one; from the last field it
// presses OK. OK checks the entries, then the device applies them (see the subclasses); when that
// fails the old settings return and the dialog stays open.
class CommSettingsDialog : public QDialog {
 public:
  QComboBox& portList() { return *portList_; }
  QComboBox& baudList() { return *baudList_; }
  QLineEdit& autoAnswerEdit() { return *autoAnswer_; }
  QPushButton& okButton() { return *ok_; }

  void Btn_OkClick();

 protected:
  // `editableBaud`: the baud rate is typed (plain device) instead of chosen.
  CommSettingsDialog(QWidget* owner, ui::Prompter& prompter, bool editableBaud);

  // The ports in the list, as the system reported them when the dialog was made.
  const std::vector<std::string>& ports() const { return ports_; }
  void showEntry(const CommSettingsEntry& entry);
  // Applies valid entries to the device, restoring its old settings and rethrowing on failure.
  virtual void apply(const CommSettingsEntry& entry) = 0;

  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  CommSettingsEntry entry() const;
  QWidget& field(CommSettingsField f) const { return *fields_[static_cast<std::size_t>(f)]; }

  ui::Prompter& prompter_;
  std::vector<std::string> ports_;
  QComboBox* portList_;
  QComboBox* baudList_;
  QComboBox* parityList_;
  QComboBox* byteSizeList_;
  QComboBox* stopBitsList_;
  QComboBox* flowList_;
  QLineEdit* autoAnswer_;
  QLineEdit* inBufSize_;
  QLineEdit* outBufSize_;
  QPushButton* ok_;
  std::array<QWidget*, 9> fields_{};
};

}  // namespace pq::OstrelComm32
