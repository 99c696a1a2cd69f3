#include "users/ui/ChangePasswordWindow.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <optional>
#include <string>

#include "ui/ButtonKeys.h"
#include "ui/ErrorReport.h"
#include "ui/Prompter.h"
#include "ui/WindowPlacement.h"
#include "users/UserAdministration.h"
#include "users/UserDataModule.h"
#include "users/UserMessages.h"
#include "users/ui/UserFormParts.h"

namespace pq {

namespace msg = users::messages;
using namespace users_ui;

TForm7::TForm7(TDM& database, ui::Prompter& prompter, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      database_(database),
      prompter_(prompter) {
  setWindowTitle(QStringLiteral("修改密码"));
  setFixedSize(281, 329);
  placeLabel(*this, QStringLiteral("用户姓名："), {40, 23});
  Edit1 = placeEntry(*this, {112, 19}, false);
  placeLabel(*this, QStringLiteral("旧密码："), {40, 71});
  Edit2 = placeEntry(*this, {112, 67}, true);
  Label3 = placeLabel(*this, QStringLiteral("权限选择："), {40, 119});
  ComboBox1 = placeRoleSelector(*this, {112, 115});
  Label4 = placeLabel(*this, QStringLiteral("新密码："), {40, 167});
  Edit3 = placeEntry(*this, {112, 163}, true);
  Label5 = placeLabel(*this, QStringLiteral("密码确认："), {40, 216});
  Edit4 = placeEntry(*this, {112, 212}, true);
  Button1 = placeButton(*this, QStringLiteral("确认"), {48, 256});
  Button2 = placeButton(*this, QStringLiteral("返回"), {176, 256});
  Edit1->setObjectName("Edit1");
  Edit2->setObjectName("Edit2");
  ComboBox1->setObjectName("ComboBox1");
  Edit3->setObjectName("Edit3");
  Edit4->setObjectName("Edit4");
  Button1->setObjectName("Button1");
  Button2->setObjectName("Button2");

  onFilledEnter(*Edit1, [this] { Edit2->setFocus(); });
  onFilledEnter(*Edit2, [this] { Button1->click(); });
  onFilledEnter(*Edit3, [this] { Edit4->setFocus(); });
  onFilledEnter(*Edit4, [this] { Button1->click(); });
  ui::connectReporting(Button1, &QPushButton::clicked, this, prompter_, [this] { Button1Click(); });
  connect(Button2, &QPushButton::clicked, this, &QDialog::accept);
  // 返回 closes the window, and so does Esc.
  ui::keepKeysToFieldsAndButtons(*this, ui::EscapeKey::Closes);
  setStage(Stage::Verify);
  Edit1->setFocus();
  ui::centreOnScreen(*this);
}

void TForm7::setStage(Stage stage) {
  stage_ = stage;
  const bool enabled = stage == Stage::NewPassword;
  for (QWidget* lower :
       {static_cast<QWidget*>(Label3), static_cast<QWidget*>(ComboBox1), static_cast<QWidget*>(Label4),
        static_cast<QWidget*>(Edit3), static_cast<QWidget*>(Label5), static_cast<QWidget*>(Edit4)}) {
    lower->setEnabled(enabled);
  }
  // The verified name and old password are locked while the new password is typed, so the new
  // password can only go to the user whose old password was given.
  Edit1->setReadOnly(enabled);
  Edit2->setReadOnly(enabled);
}

void TForm7::Button1Click() {
  if (stage_ == Stage::Verify) {
    verify();
  } else {
    writeNewPassword();
  }
}

void TForm7::verify() {
  if (Edit1->text().isEmpty() || Edit2->text().isEmpty()) {
    prompter_.showMessage(this, msg::kNameAndPasswordEmpty);
    Edit1->setFocus();
    Edit1->clear();
    Edit2->clear();
    return;
  }
  UserAdministration accounts(database_.DQ_Pass);
  switch (accounts.identify(UserSearch::VerifyingChange, Edit1->text().toStdString(),
                            Edit2->text().toStdString())) {
    case Identification::UnknownUser:
      prompter_.showMessage(this, msg::kUserUnknown);
      Edit1->clear();
      Edit2->clear();
      Edit1->setFocus();
      return;
    case Identification::WrongPassword:
      prompter_.showMessage(this, msg::kWrongPasswordForChange);
      reject();
      return;
    case Identification::Confirmed:
      setStage(Stage::NewPassword);
      Edit3->setFocus();
      ComboBox1->setCurrentText(QString::fromStdString(accounts.foundRole()));
      return;
  }
}

void TForm7::writeNewPassword() {
  if (Edit3->text().isEmpty() || Edit4->text().isEmpty()) {
    prompter_.showMessage(this, msg::kNewPasswordEmpty);
    Edit1->setFocus();
    Edit3->clear();
    Edit4->clear();
    return;
  }
  if (Edit3->text() != Edit4->text()) {
    prompter_.showMessage(this, msg::kPasswordsDiffer);
    Edit3->setFocus();
    Edit3->clear();
    Edit4->clear();
    return;
  }
  // Written only when the name still means exactly one user: another program may have changed the
  // table since the name was verified.
  UserAdministration accounts(database_.DQ_Pass);
  if (!accounts.findOne(UserSearch::WritingChange, Edit1->text().toStdString())) {
    prompter_.showMessage(this, msg::kUserUnknown);
    Edit1->setFocus();
    return;
  }
  std::optional<std::string> newRole;
  const std::string role = ComboBox1->currentText().toStdString();
  if (accounts.foundRole() != role && prompter_.askYesNo(this, msg::kQuestionCaption, msg::kChangeRoleToo)) {
    newRole = role;
  }
  accounts.changeFound(Edit3->text().toStdString(), newRole);
  prompter_.showMessage(this, msg::kPasswordChanged);
  for (QLineEdit* field : {Edit1, Edit2, Edit3, Edit4}) field->clear();
  ComboBox1->setCurrentText(QString());
  setStage(Stage::Verify);
}

}  // namespace pq
