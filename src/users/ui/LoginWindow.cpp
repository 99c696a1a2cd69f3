#include "users/ui/LoginWindow.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

#include "ui/ErrorReport.h"
#include "ui/MaskedEntry.h"
#include "ui/Prompter.h"
#include "ui/WindowPlacement.h"
#include "users/RoleRules.h"
#include "users/UserAdministration.h"
#include "users/UserDataModule.h"
#include "users/UserMessages.h"
#include "users/UserQueries.h"

namespace pq {

namespace msg = users::messages;

TForm5::TForm5(TDM& database, ui::Prompter& prompter, std::function<void(bool)> setPasswordCommandsEnabled,
               QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      database_(database),
      prompter_(prompter),
      setPasswordCommandsEnabled_(std::move(setPasswordCommandsEnabled)),
      Label1(new QLabel(QStringLiteral("用户姓名："), this)),
      Label2(new QLabel(QStringLiteral("用户密码："), this)),
      ComboBox1(new QComboBox(this)),
      Edit1(new QLineEdit(this)),
      Btn_Ok(new QPushButton(QStringLiteral("确定"), this)),
      Btn_Exit(new QPushButton(QStringLiteral("退出"), this)) {
  setWindowTitle(msg::kLoginCaption);
  setFixedSize(272, 177);
  Label1->setObjectName("Label1");
  Label2->setObjectName("Label2");
  ComboBox1->setObjectName("ComboBox1");
  Edit1->setObjectName("Edit1");
  Btn_Ok->setObjectName("Btn_Ok");
  Btn_Exit->setObjectName("Btn_Exit");
  Label1->move(32, 24);
  Label2->move(32, 64);
  ComboBox1->setGeometry(104, 20, 121, 24);
  Edit1->setGeometry(104, 60, 121, 24);
  Btn_Ok->setGeometry(32, 104, 67, 25);
  Btn_Exit->setGeometry(160, 104, 65, 25);
  ComboBox1->setEditable(true);
  // A typed name is searched as it is and never becomes an entry of the list.
  ComboBox1->setInsertPolicy(QComboBox::NoInsert);
  ui::makeMasked(*Edit1);
  // Enter presses OK unless the exit button has the focus: then Enter presses that one.
  Btn_Ok->setDefault(true);
  ui::connectReporting(Btn_Ok, &QPushButton::clicked, this, prompter_, [this] { Btn_OkClick(); });
  connect(Btn_Exit, &QPushButton::clicked, this, &TForm5::Btn_ExitClick);
}

void TForm5::reject() { Btn_ExitClick(); }

void TForm5::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) ui::runReportingErrors(prompter_, this, [this] { FormShow(); });
}

void TForm5::FormShow() {
  ComboBox1->clear();
  ComboBox1->addItem(msg::kChooseUser);
  for (const auto& name : listUserNames(database_.DQ_Pass)) ComboBox1->addItem(QString::fromStdString(name));
  ComboBox1->setFocus();
  ComboBox1->setCurrentIndex(0);
  ui::centreOnScreen(*this);
}

void TForm5::Btn_OkClick() {
  const QString name = ComboBox1->currentText();
  if (name.isEmpty()) {
    prompter_.showMessage(this, msg::kEnterUserName);
    return;
  }
  UserAdministration accounts(database_.DQ_Pass);
  switch (accounts.identify(UserSearch::Login, name.toStdString(), Edit1->text().toStdString())) {
    case Identification::UnknownUser:
      prompter_.showMessage(this, msg::kUserUnknownAtLogin);
      Edit1->clear();
      ComboBox1->setFocus();
      return;
    case Identification::WrongPassword:
      prompter_.showMessage(this, msg::kWrongLoginPassword);
      endsProgram_ = true;
      done(QDialog::Rejected);
      return;
    case Identification::Confirmed:
      break;
  }
  switch (passwordCommandsForRole(accounts.foundRole())) {
    case PasswordCommands::Enable:
      setPasswordCommandsEnabled_(true);
      break;
    case PasswordCommands::Disable:
      setPasswordCommandsEnabled_(false);
      break;
    case PasswordCommands::Leave:
      break;
  }
  done(QDialog::Accepted);
  if (parentWidget() != nullptr) {
    parentWidget()->raise();
    parentWidget()->activateWindow();
  }
}

void TForm5::Btn_ExitClick() {
  endsProgram_ = true;
  done(QDialog::Rejected);
}

}  // namespace pq
