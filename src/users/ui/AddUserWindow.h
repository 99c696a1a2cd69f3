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

// The add-user window (TForm6, "设定密码"): a name, a role and a password typed twice. A password
// shorter than six GBK bytes cannot be left.
class TForm6 : public QDialog {
  Q_OBJECT

 public:
  TForm6(TDM& database, ui::Prompter& prompter, QWidget* parent = nullptr);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Edit2Exit();
  void Button1Click();
  void emptyFields();

  TDM& database_;
  ui::Prompter& prompter_;

  QLineEdit* Edit1;
  QComboBox* ComboBox1;
  QLineEdit* Edit2;
  QLineEdit* Edit3;
  QPushButton* Button1;
  QPushButton* Button2;
};

}  // namespace pq
