#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "support/UserDatabaseFixture.h"
#include "support/ui/ScriptedPrompter.h"
#include "support/ui/UiTestSupport.h"
#include "users/PasswordScrambling.h"
#include "users/UserDataModule.h"
#include "users/ui/AddUserWindow.h"
#include "users/ui/ChangePasswordWindow.h"
#include "users/ui/DeleteUserWindow.h"

namespace pq {
namespace {

using test::child;

class UserWindowsTest : public ::testing::Test {
 protected:
  UserWindowsTest() {
    users.addRow("admin", storedPassword("admin123"), "Administrator");
    users.addRow("op", storedPassword("op123456"), "User");
    users.addRow("boss", storedPassword("boss1234"), "Administrator2");
    users.addRow("dup", storedPassword("dup12345"), "User");
    users.addRow("dup", storedPassword("dup12345"), "User");
  }

  static QLineEdit& edit(QWidget& window, const char* name) { return child<QLineEdit>(window, name); }
  static QComboBox& roles(QWidget& window) { return child<QComboBox>(window, "ComboBox1"); }
  static void confirm(QWidget& window) {
    QTest::mouseClick(&child<QPushButton>(window, "Button1"), Qt::LeftButton);
  }
  static void fill(QWidget& window, std::initializer_list<std::pair<const char*, QString>> fields) {
    for (const auto& [name, text] : fields) edit(window, name).setText(text);
  }
  static QStringList texts(QWidget& window, std::initializer_list<const char*> names) {
    QStringList out;
    for (const char* name : names) out << edit(window, name).text();
    return out;
  }
  bool hasRow(const std::string& name, const std::string& password, const std::string& role) {
    const auto rows = users.rows();
    return std::find(rows.begin(), rows.end(), name + "|" + storedPassword(password) + "|" + role) !=
           rows.end();
  }

  test::UserDatabaseFixture users;
  TDM database{users.path()};
  ui::ScriptedPrompter prompter;
};

TEST_F(UserWindowsTest, AddUserStoresTheScrambledPasswordAndTheTypedRole) {
  TForm6 window(database, prompter);
  window.show();
  EXPECT_EQ(window.windowTitle(), "设定密码");
  EXPECT_EQ(window.size(), QSize(281, 279));
  EXPECT_EQ(roles(window).currentText(), "User");
  fill(window, {{"Edit1", "新用户"}, {"Edit2", "中文ab"}, {"Edit3", "中文ab"}});
  roles(window).setCurrentText("Supervisor");
  confirm(window);
  EXPECT_EQ(prompter.log, QStringList{"message: 密码设定成功！"});
  EXPECT_TRUE(hasRow("新用户", "中文ab", "Supervisor"));
  EXPECT_EQ(texts(window, {"Edit1", "Edit2", "Edit3"}), QStringList({"", "", ""}));
  EXPECT_EQ(roles(window).currentText(), "User");
}

TEST_F(UserWindowsTest, AddUserRefusals) {
  struct Case {
    QString name, password, confirmation, message;
    QStringList fieldsAfter;
  };
  const Case cases[] = {
      {"", "abcdef", "abcdef", "用户姓名及密码不能为空，请重新输入。", {"", "", ""}},
      {"newbie", "abcdef", "", "用户姓名及密码不能为空，请重新输入。", {"", "", ""}},
      {"admin", "abcdef", "abcdef", "该用户已经注册过了，请重新输入。", {"", "", ""}},
      {"newbie", "abcdef", "abcdeg", "两次输入密码不一致，请重新输入。", {"newbie", "", ""}},
  };
  for (const auto& c : cases) {
    TForm6 window(database, prompter);
    window.show();
    prompter.log.clear();
    roles(window).setCurrentText("Administrator");
    fill(window, {{"Edit1", c.name}, {"Edit2", c.password}, {"Edit3", c.confirmation}});
    confirm(window);
    EXPECT_EQ(prompter.log, QStringList{"message: " + c.message}) << c.name.toStdString();
    EXPECT_EQ(texts(window, {"Edit1", "Edit2", "Edit3"}), c.fieldsAfter) << c.message.toStdString();
    EXPECT_EQ(roles(window).currentText(), "Administrator");
  }
  EXPECT_EQ(users.rows().size(), 5u);
}

TEST_F(UserWindowsTest, AddUserAcceptsANameThatIsAlreadyThereTwice) {
  TForm6 window(database, prompter);
  window.show();
  fill(window, {{"Edit1", "dup"}, {"Edit2", "abcdef"}, {"Edit3", "abcdef"}});
  confirm(window);
  EXPECT_EQ(prompter.log, QStringList{"message: 密码设定成功！"});
  EXPECT_EQ(users.rows().size(), 6u);
}

TEST_F(UserWindowsTest, AShortPasswordCannotBeLeft) {
  TForm6 window(database, prompter);
  test::showActive(window);
  QLineEdit& password = edit(window, "Edit2");
  password.setFocus(Qt::TabFocusReason);
  QTest::keyClicks(&password, "abcde");
  edit(window, "Edit3").setFocus(Qt::TabFocusReason);
  EXPECT_EQ(prompter.log, QStringList{"message: 请输入6位密码！"});
  EXPECT_EQ(password.text(), "");
  EXPECT_EQ(QApplication::focusWidget(), &password);

  prompter.log.clear();
  password.setText("中文ab");  // six GBK bytes
  edit(window, "Edit3").setFocus(Qt::TabFocusReason);
  EXPECT_TRUE(prompter.log.isEmpty());
  EXPECT_EQ(QApplication::focusWidget(), &edit(window, "Edit3"));
}

// A short password that reaches 确认 without its field ever being left (set from outside, as here)
// is refused like the command line refuses it, and is not stored.
TEST_F(UserWindowsTest, AddUserRefusesAShortPasswordWhoseFieldWasNeverLeft) {
  TForm6 window(database, prompter);
  window.show();
  roles(window).setCurrentText("Administrator");
  fill(window, {{"Edit1", "newbie"}, {"Edit2", "abcde"}, {"Edit3", "abcde"}});
  confirm(window);
  EXPECT_EQ(prompter.log, QStringList{"message: 请输入6位密码！"});
  EXPECT_EQ(texts(window, {"Edit1", "Edit2", "Edit3"}), QStringList({"newbie", "", ""}));
  EXPECT_EQ(roles(window).currentText(), "Administrator");
  EXPECT_EQ(users.rows().size(), 5u);
}

TEST_F(UserWindowsTest, EnterMovesOnOnlyFromAFilledField) {
  TForm6 window(database, prompter);
  test::showActive(window);
  QLineEdit& name = edit(window, "Edit1");
  name.setFocus();
  QTest::keyClick(&name, Qt::Key_Return);
  EXPECT_EQ(QApplication::focusWidget(), &name);
  QTest::keyClicks(&name, "x");
  QTest::keyClick(&name, Qt::Key_Return);
  EXPECT_EQ(QApplication::focusWidget(), &edit(window, "Edit2"));
  EXPECT_TRUE(prompter.log.isEmpty());
}

TEST_F(UserWindowsTest, EnterPressesTheFocusedButton) {
  TForm8 window(database, prompter);
  test::showActive(window);
  auto& confirmButton = child<QPushButton>(window, "Button1");
  confirmButton.setFocus(Qt::TabFocusReason);
  QTest::keyClick(&confirmButton, Qt::Key_Return);
  EXPECT_EQ(prompter.log, QStringList{"message: 用户姓名及密码不能为空，请重新输入。"});

  auto& back = child<QPushButton>(window, "Button2");
  back.setFocus(Qt::TabFocusReason);
  QTest::keyClick(&back, Qt::Key_Enter);
  EXPECT_FALSE(window.isVisible());
}

TEST_F(UserWindowsTest, ChangePasswordVerifiesFirst) {
  struct Case {
    QString name, oldPassword, message;
  };
  const Case cases[] = {
      {"", "admin123", "用户姓名及密码不能为空，请重新输入。"},
      {"nobody", "admin123", "该用户不存在，请重新输入。"},
      {"dup", "dup12345", "该用户不存在，请重新输入。"},
  };
  for (const auto& c : cases) {
    TForm7 window(database, prompter);
    window.show();
    prompter.log.clear();
    fill(window, {{"Edit1", c.name}, {"Edit2", c.oldPassword}});
    confirm(window);
    EXPECT_EQ(prompter.log, QStringList{"message: " + c.message});
    EXPECT_EQ(texts(window, {"Edit1", "Edit2"}), QStringList({"", ""}));
    EXPECT_EQ(window.stage(), TForm7::Stage::Verify);
    EXPECT_TRUE(window.isVisible());
  }
}

TEST_F(UserWindowsTest, ChangePasswordWithAWrongOldPasswordCloses) {
  TForm7 window(database, prompter);
  window.show();
  fill(window, {{"Edit1", "admin"}, {"Edit2", "admin12"}});
  confirm(window);
  EXPECT_EQ(prompter.log, QStringList{"message: 密码不对，不允许您修改。"});
  EXPECT_FALSE(window.isVisible());
}

TEST_F(UserWindowsTest, ChangePasswordInTwoStages) {
  TForm7 window(database, prompter);
  window.show();
  EXPECT_EQ(window.windowTitle(), "修改密码");
  EXPECT_FALSE(window.windowFlags() & Qt::WindowCloseButtonHint);
  EXPECT_FALSE(edit(window, "Edit3").isEnabled());
  fill(window, {{"Edit1", "admin"}, {"Edit2", "admin123"}});
  confirm(window);
  EXPECT_EQ(window.stage(), TForm7::Stage::NewPassword);
  EXPECT_TRUE(edit(window, "Edit3").isEnabled());
  EXPECT_EQ(roles(window).currentText(), "Administrator");
  // The verified user cannot be swapped for another whose old password was never given.
  EXPECT_TRUE(edit(window, "Edit1").isReadOnly());
  EXPECT_TRUE(edit(window, "Edit2").isReadOnly());

  fill(window, {{"Edit3", "new1"}, {"Edit4", "new2"}});
  confirm(window);
  EXPECT_EQ(prompter.log, QStringList{"message: 两次输入密码不一致，请重新输入。"});
  EXPECT_EQ(window.stage(), TForm7::Stage::NewPassword);
  EXPECT_EQ(texts(window, {"Edit1", "Edit2", "Edit3", "Edit4"}), QStringList({"admin", "admin123", "", ""}));

  prompter.log.clear();
  confirm(window);
  EXPECT_EQ(prompter.log, QStringList{"message: 密码不能为空，请重新输入。"});

  prompter.log.clear();
  fill(window, {{"Edit3", "abc"}, {"Edit4", "abc"}});  // no minimum length for a change
  confirm(window);
  EXPECT_EQ(prompter.log, QStringList{"message: 密码修改成功！"});
  EXPECT_TRUE(hasRow("admin", "abc", "Administrator"));
  EXPECT_EQ(window.stage(), TForm7::Stage::Verify);
  EXPECT_EQ(texts(window, {"Edit1", "Edit2", "Edit3", "Edit4"}), QStringList({"", "", "", ""}));
  EXPECT_EQ(roles(window).currentText(), "");
  EXPECT_FALSE(edit(window, "Edit3").isEnabled());
  EXPECT_FALSE(edit(window, "Edit1").isReadOnly());
}

TEST_F(UserWindowsTest, ChangingTheRoleAsksFirst) {
  for (const bool yes : {false, true}) {
    TForm7 window(database, prompter);
    window.show();
    prompter.log.clear();
    prompter.answerYesNo(yes);
    fill(window, {{"Edit1", "op"}, {"Edit2", "op123456"}});
    confirm(window);
    roles(window).setCurrentText("Administrator");
    fill(window, {{"Edit3", "op123456"}, {"Edit4", "op123456"}});
    confirm(window);
    EXPECT_EQ(prompter.log, QStringList({"question: 警告！: 权限也要修改吗？", "message: 密码修改成功！"}));
    EXPECT_TRUE(hasRow("op", "op123456", yes ? "Administrator" : "User"));
  }
}

TEST_F(UserWindowsTest, DeleteUserRefusals) {
  struct Case {
    QString name, password, message;
    bool closes;
  };
  const Case cases[] = {
      {"admin", "", "用户姓名及密码不能为空，请重新输入。", false},
      {"nobody", "x", "该用户不存在，请重新输入。", false},
      {"dup", "dup12345", "该用户不存在，请重新输入。", false},
      {"admin", "admin1234", "密码不对，不允许您删除。", true},
  };
  for (const auto& c : cases) {
    TForm8 window(database, prompter);
    window.show();
    prompter.log.clear();
    fill(window, {{"Edit1", c.name}, {"Edit2", c.password}});
    confirm(window);
    EXPECT_EQ(prompter.log, QStringList{"message: " + c.message});
    EXPECT_EQ(window.isVisible(), !c.closes);
  }
  EXPECT_EQ(users.rows().size(), 5u);
}

TEST_F(UserWindowsTest, DeleteUserAsksOnceOrTwiceForAnAdministrator) {
  struct Case {
    QString name, password;
    std::vector<bool> answers;
    QStringList log;
    bool deleted;
  };
  const QString ask = "question: 警告！: 确认删除该用户吗？";
  const QString askAdmin = "question: 警告！: 该用户权限为Administrator，确认删除吗？";
  const Case cases[] = {
      {"op", "op123456", {false}, {ask, "message: 你的权限不允许删除用户。"}, false},
      {"admin", "admin123", {true, false}, {ask, askAdmin}, false},
      {"admin", "admin123", {true, true}, {ask, askAdmin, "message: 用户已成功删除。"}, true},
      {"boss", "boss1234", {true}, {ask, "message: 用户已成功删除。"}, true},
      {"op", "op123456", {true}, {ask, "message: 用户已成功删除。"}, true},
  };
  for (const auto& c : cases) {
    TForm8 window(database, prompter);
    window.show();
    EXPECT_EQ(window.windowTitle(), "删除密码");
    prompter.log.clear();
    for (bool answer : c.answers) prompter.answerYesNo(answer);
    fill(window, {{"Edit1", c.name}, {"Edit2", c.password}});
    confirm(window);
    EXPECT_EQ(prompter.log, c.log) << c.name.toStdString();
    EXPECT_EQ(texts(window, {"Edit1", "Edit2"}), QStringList({"", ""}));
    const auto rows = users.rows();
    const bool present = std::any_of(rows.begin(), rows.end(), [&](const std::string& row) {
      return row.starts_with(c.name.toStdString() + "|");
    });
    EXPECT_EQ(present, !c.deleted) << c.name.toStdString();
  }
}

}  // namespace
}  // namespace pq
