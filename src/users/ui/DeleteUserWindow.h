#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace pq {

class TDM;
namespace ui {
class Prompter;
}

// The delete-user window (TForm8, "删除密码"): a user's name and password, then one question, or two
// for a user whose role is exactly "Administrator".
class TForm8 : public QDialog {
  Q_OBJECT

 public:
  TForm8(TDM& database, ui::Prompter& prompter, QWidget* parent = nullptr);

 private:
  void Button1Click();
  void emptyFields();

  TDM& database_;
  ui::Prompter& prompter_;

  QLineEdit* Edit1;
  QLineEdit* Edit2;
  QPushButton* Button1;
  QPushButton* Button2;
};

}  // namespace pq
