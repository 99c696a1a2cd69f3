#include "users/ui/AddUserWindow.h"

#include <QComboBox>
#include <QFocusEvent>
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

TForm6::TForm6(TDM& database, ui::Prompter& prompter, QWidget* parent)
    : QDialog(parent), database_(database), prompter_(prompter) {
  setWindowTitle(QStringLiteral("设定密码"));
  setFixedSize(281, 279);
  placeLabel(*this, QStringLiteral("用户姓名："), {40, 23});
  Edit1 = placeEntry(*this, {112, 19}, false);
  placeLabel(*this, QStringLiteral("用户权限："), {40, 71});
  ComboBox1 = placeRoleSelector(*this, {112, 67});
  placeLabel(*this, QStringLiteral("用户密码："), {40, 119});
  Edit2 = placeEntry(*this, {112, 115}, true);
  placeLabel(*this, QStringLiteral("密码确认："), {40, 168});
  Edit3 = placeEntry(*this, {112, 164}, true);
  Button1 = placeButton(*this, QStringLiteral("确认"), {48, 208});
  Button2 = placeButton(*this, QStringLiteral("返回"), {176, 208});
  Edit1->setObjectName("Edit1");
  ComboBox1->setObjectName("ComboBox1");
  Edit2->setObjectName("Edit2");
  Edit3->setObjectName("Edit3");
  Button1->setObjectName("Button1");
  Button2->setObjectName("Button2");

  Edit2->installEventFilter(this);
  onFilledEnter(*Edit1, [this] { Edit2->setFocus(); });
  onFilledEnter(*Edit2, [this] { Edit3->setFocus(); });
  onFilledEnter(*Edit3, [this] { Button1->click(); });
  ui::connectReporting(Button1, &QPushButton::clicked, this, prompter_, [this] { Button1Click(); });
  connect(Button2, &QPushButton::clicked, this, &QDialog::accept);
  // 返回 closes the window, and so does Esc.
  ui::keepKeysToFieldsAndButtons(*this, ui::EscapeKey::Closes);
  Edit1->setFocus();
  ui::centreOnScreen(*this);
}

bool TForm6::eventFilter(QObject* watched, QEvent* event) {
  if (watched == Edit2 && event->type() == QEvent::FocusOut) {
    // Only a move inside the window counts; a message box or another program taking the focus does not.
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason && isVisible()) Edit2Exit();
  }
  return QDialog::eventFilter(watched, event);
}

void TForm6::Edit2Exit() {
  if (UserAdministration::passwordLongEnough(Edit2->text().toStdString())) return;
  prompter_.showMessage(this, msg::kPasswordTooShort);
  Edit2->clear();
  Edit2->setFocus();
}

void TForm6::Button1Click() {
  const auto refusal = UserAdministration(database_.DQ_Pass)
                           .add({Edit1->text().toStdString(), ComboBox1->currentText().toStdString(),
                                 Edit2->text().toStdString(), Edit3->text().toStdString()});
  if (!refusal) {
    prompter_.showMessage(this, msg::kPasswordSet);
    emptyFields();
    ComboBox1->setCurrentText(users::kUser);
    return;
  }
  prompter_.showMessage(this, messageOf(*refusal));
  switch (*refusal) {
    case AdditionRefusal::NameOrPasswordEmpty:
    case AdditionRefusal::AlreadyRegistered:
      emptyFields();
      Edit1->setFocus();
      break;
    case AdditionRefusal::PasswordTooShort:
    case AdditionRefusal::PasswordsDiffer:
      Edit2->setFocus();
      Edit2->clear();
      Edit3->clear();
      break;
  }
}

void TForm6::emptyFields() {
  Edit1->clear();
  Edit2->clear();
  Edit3->clear();
}

}  // namespace pq
