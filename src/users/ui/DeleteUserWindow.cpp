#include "users/ui/DeleteUserWindow.h"

#include <QLineEdit>
#include <QPushButton>

#include "ui/ButtonKeys.h"
#include "ui/ErrorReport.h"
#include "ui/Prompter.h"
#include "ui/WindowPlacement.h"
#include "users/UserAdministration.h"
#include "users/UserDataModule.h"
#include "users/UserMessages.h"
#include "users/UserTable.h"
#include "users/ui/UserFormParts.h"

namespace pq {

namespace msg = users::messages;
using namespace users_ui;

TForm8::TForm8(TDM& database, ui::Prompter& prompter, QWidget* parent)
    : QDialog(parent), database_(database), prompter_(prompter) {
  setWindowTitle(QStringLiteral("删除密码"));
  setFixedSize(282, 172);
  placeLabel(*this, QStringLiteral("用户姓名："), {40, 23});
  Edit1 = placeEntry(*this, {112, 19}, false);
  placeLabel(*this, QStringLiteral("用户密码："), {40, 63});
  Edit2 = placeEntry(*this, {112, 59}, true);
  Button1 = placeButton(*this, QStringLiteral("确认"), {48, 104});
  Button2 = placeButton(*this, QStringLiteral("返回"), {176, 104});
  Edit1->setObjectName("Edit1");
  Edit2->setObjectName("Edit2");
  Button1->setObjectName("Button1");
  Button2->setObjectName("Button2");

  onFilledEnter(*Edit1, [this] { Edit2->setFocus(); });
  onFilledEnter(*Edit2, [this] { Button1->click(); });
  ui::connectReporting(Button1, &QPushButton::clicked, this, prompter_, [this] { Button1Click(); });
  connect(Button2, &QPushButton::clicked, this, &QDialog::accept);
  // 返回 closes the window, and so does Esc.
  ui::keepKeysToFieldsAndButtons(*this, ui::EscapeKey::Closes);
  Edit1->setFocus();
  ui::centreOnScreen(*this);
}

void TForm8::Button1Click() {
  if (Edit1->text().isEmpty() || Edit2->text().isEmpty()) {
    prompter_.showMessage(this, msg::kNameAndPasswordEmpty);
    Edit1->setFocus();
    emptyFields();
    return;
  }
  UserAdministration accounts(database_.DQ_Pass);
  switch (accounts.identify(UserSearch::Deleting, Edit1->text().toStdString(), Edit2->text().toStdString())) {
    case Identification::UnknownUser:
      prompter_.showMessage(this, msg::kUserUnknown);
      emptyFields();
      Edit1->setFocus();
      return;
    case Identification::WrongPassword:
      prompter_.showMessage(this, msg::kWrongPasswordForDelete);
      reject();
      return;
    case Identification::Confirmed:
      break;
  }
  UserQuery& query = database_.DQ_Pass;
  if (!prompter_.askYesNo(this, msg::kQuestionCaption, msg::kConfirmDelete)) {
    query.cancel();
    prompter_.showMessage(this, msg::kDeleteRefused);
  } else if (accounts.foundRole() != users::kAdministrator ||
             prompter_.askYesNo(this, msg::kQuestionCaption, msg::kConfirmDeleteAdministrator)) {
    accounts.removeFound();
    prompter_.showMessage(this, msg::kUserDeleted);
  } else {
    query.cancel();
  }
  emptyFields();
  Edit1->setFocus();
}

void TForm8::emptyFields() {
  Edit1->clear();
  Edit2->clear();
}

}  // namespace pq
