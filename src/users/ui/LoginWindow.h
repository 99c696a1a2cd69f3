#pragma once

#include <QDialog>
#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace pq {

class TDM;
namespace ui {
class Prompter;
}

// The login window (TForm5), run modally when the main window is first shown. A correct password
// sets the main window's password commands by role and closes the window; a wrong password or the
// exit button closes it with endsProgram() true, and the caller ends the program.
class TForm5 : public QDialog {
  Q_OBJECT

 public:
  // `setPasswordCommandsEnabled` switches the main window's "密码管理" submenu and toolbar button.
  TForm5(TDM& database, ui::Prompter& prompter, std::function<void(bool)> setPasswordCommandsEnabled,
         QWidget* parent = nullptr);

  bool endsProgram() const { return endsProgram_; }

  // Esc, like the exit button.
  void reject() override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void FormShow();
  void Btn_OkClick();
  void Btn_ExitClick();

  TDM& database_;
  ui::Prompter& prompter_;
  std::function<void(bool)> setPasswordCommandsEnabled_;
  bool endsProgram_ = false;

  QLabel* Label1;
  QLabel* Label2;
  QComboBox* ComboBox1;
  QLineEdit* Edit1;
  QPushButton* Btn_Ok;
  QPushButton* Btn_Exit;
};

}  // namespace pq
