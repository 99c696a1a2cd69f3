#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace pq {

class TDM;
namespace ui {
class Prompter;
}

// The change-password window (TForm7, "修改密码"). Stage verify tests a user's name and old password;
// stage new password then takes the new password twice and, on request, a new role.
class TForm7 : public QDialog {
  Q_OBJECT

 public:
  enum class Stage { Verify, NewPassword };

  TForm7(TDM& database, ui::Prompter& prompter, QWidget* parent = nullptr);

  Stage stage() const { return stage_; }

 private:
  void Button1Click();
  void verify();
  void writeNewPassword();
  void setStage(Stage stage);

  TDM& database_;
  ui::Prompter& prompter_;
  Stage stage_ = Stage::Verify;

  QLineEdit* Edit1;
  QLineEdit* Edit2;
  QLabel* Label3;
  QComboBox* ComboBox1;
  QLabel* Label4;
  QLineEdit* Edit3;
  QLabel* Label5;
  QLineEdit* Edit4;
  QPushButton* Button1;
  QPushButton* Button2;
};

}  // namespace pq
