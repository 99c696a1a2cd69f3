#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <optional>

#include "support/UserDatabaseFixture.h"
#include "support/ui/ScriptedPrompter.h"
#include "support/ui/UiTestSupport.h"
#include "users/PasswordScrambling.h"
#include "users/UserDataModule.h"
#include "users/ui/LoginWindow.h"

namespace pq {
namespace {

using test::child;

class LoginWindowTest : public ::testing::Test {
 protected:
  LoginWindowTest() {
    users.addRow("admin", storedPassword("admin123"), "Administrator");
    users.addRow("op", storedPassword("op123456"), "User");
    users.addRow("odd", storedPassword("odd12345"), "");
    users.addRow("dup", storedPassword("dup12345"), "Administrator");
    users.addRow("dup", storedPassword("dup12345"), "Administrator");
  }

  // Opens the login window and answers it; returns the window for inspection.
  TForm5& login(const QString& name, const QString& password) {
    window.show();
    child<QComboBox>(window, "ComboBox1").setCurrentText(name);
    child<QLineEdit>(window, "Edit1").setText(password);
    QTest::mouseClick(&child<QPushButton>(window, "Btn_Ok"), Qt::LeftButton);
    return window;
  }

  QStringList entries() {
    auto& list = child<QComboBox>(window, "ComboBox1");
    QStringList out;
    for (int i = 0; i < list.count(); ++i) out << list.itemText(i);
    return out;
  }

  test::UserDatabaseFixture users;
  TDM database{users.path()};
  ui::ScriptedPrompter prompter;
  std::optional<bool> passwordCommands;
  TForm5 window{database, prompter, [this](bool enabled) { passwordCommands = enabled; }};
};

TEST_F(LoginWindowTest, OpensWithThePromptAndEveryUserInTableOrder) {
  window.show();
  EXPECT_EQ(window.windowTitle(), "系统登录");
  EXPECT_EQ(window.size(), QSize(272, 177));
  EXPECT_EQ(entries(), (QStringList{"请选择用户姓名", "admin", "op", "odd", "dup", "dup"}));
  EXPECT_EQ(child<QComboBox>(window, "ComboBox1").currentText(), "请选择用户姓名");
  EXPECT_EQ(child<QLineEdit>(window, "Edit1").echoMode(), QLineEdit::Password);
  EXPECT_FALSE(window.windowFlags() & Qt::WindowCloseButtonHint);
}

TEST_F(LoginWindowTest, CorrectPasswordSetsThePasswordCommandsByRole) {
  struct Case {
    QString name, password;
    std::optional<bool> expected;
  };
  const Case cases[] = {
      {"admin", "admin123", true}, {"op", "op123456", false}, {"odd", "odd12345", std::nullopt}};
  for (const auto& c : cases) {
    passwordCommands.reset();
    TForm5 fresh(database, prompter, [this](bool enabled) { passwordCommands = enabled; });
    fresh.show();
    child<QComboBox>(fresh, "ComboBox1").setCurrentText(c.name);
    child<QLineEdit>(fresh, "Edit1").setText(c.password);
    QTest::mouseClick(&child<QPushButton>(fresh, "Btn_Ok"), Qt::LeftButton);
    EXPECT_EQ(passwordCommands, c.expected) << c.name.toStdString();
    EXPECT_EQ(fresh.result(), QDialog::Accepted);
    EXPECT_FALSE(fresh.endsProgram());
  }
  EXPECT_TRUE(prompter.log.isEmpty());
}

TEST_F(LoginWindowTest, UnknownOrDuplicateNamesMayTryAgain) {
  for (const QString name : {"请选择用户姓名", "nobody", "dup", "x' OR '1'='1"}) {
    prompter.log.clear();
    login(name, "admin123");
    EXPECT_EQ(prompter.log, QStringList{"message: 用户不存在，请您重新输入"}) << name.toStdString();
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(child<QLineEdit>(window, "Edit1").text(), "");
    EXPECT_EQ(child<QComboBox>(window, "ComboBox1").currentText(), name);
    EXPECT_FALSE(window.endsProgram());
  }
  EXPECT_EQ(entries().size(), 6);
}

TEST_F(LoginWindowTest, EmptyNameIsRefused) {
  login("", "admin123");
  EXPECT_EQ(prompter.log, QStringList{"message: 请输入用户姓名"});
  EXPECT_TRUE(window.isVisible());
}

TEST_F(LoginWindowTest, WrongOrEmptyPasswordEndsTheProgram) {
  for (const QString password : {"admin12", "ADMIN123", ""}) {
    TForm5 fresh(database, prompter, [this](bool enabled) { passwordCommands = enabled; });
    prompter.log.clear();
    fresh.show();
    child<QComboBox>(fresh, "ComboBox1").setCurrentText("admin");
    child<QLineEdit>(fresh, "Edit1").setText(password);
    QTest::mouseClick(&child<QPushButton>(fresh, "Btn_Ok"), Qt::LeftButton);
    EXPECT_EQ(prompter.log, QStringList{"message: 密码不正确，您不允许登录该系统"});
    EXPECT_TRUE(fresh.endsProgram());
    EXPECT_FALSE(fresh.isVisible());
  }
  EXPECT_FALSE(passwordCommands.has_value());
}

TEST_F(LoginWindowTest, EnterLogsInAndEscapeEnds) {
  window.show();
  child<QComboBox>(window, "ComboBox1").setCurrentText("admin");
  child<QLineEdit>(window, "Edit1").setText("admin123");
  QTest::keyClick(&child<QLineEdit>(window, "Edit1"), Qt::Key_Return);
  EXPECT_EQ(window.result(), QDialog::Accepted);
  EXPECT_EQ(passwordCommands, true);

  TForm5 other(database, prompter, [](bool) {});
  other.show();
  QTest::keyClick(&child<QLineEdit>(other, "Edit1"), Qt::Key_Escape);
  EXPECT_TRUE(other.endsProgram());
  EXPECT_FALSE(other.isVisible());
}

TEST_F(LoginWindowTest, EnterOnTheFocusedExitButtonExitsWithoutLoggingIn) {
  test::showActive(window);
  child<QComboBox>(window, "ComboBox1").setCurrentText("admin");
  child<QLineEdit>(window, "Edit1").setText("admin123");
  auto& exit = child<QPushButton>(window, "Btn_Exit");
  exit.setFocus(Qt::TabFocusReason);
  QTest::keyClick(&exit, Qt::Key_Return);
  EXPECT_TRUE(window.endsProgram());
  EXPECT_EQ(window.result(), QDialog::Rejected);
  EXPECT_FALSE(passwordCommands.has_value());
  EXPECT_TRUE(prompter.log.isEmpty());
}

TEST(LoginWithoutDatabase, TheFailedListingReachesTheErrorReport) {
  test::TempDir dir;
  TDM missing(dir.file("Pass.mdb"));
  ui::ScriptedPrompter prompter;
  TForm5 window(missing, prompter, [](bool) {});
  window.show();
  EXPECT_EQ(prompter.log, QStringList{"error: 用户数据库未打开。"});
  EXPECT_EQ(child<QComboBox>(window, "ComboBox1").count(), 1);

  prompter.log.clear();
  child<QComboBox>(window, "ComboBox1").setCurrentText("admin");
  QTest::mouseClick(&child<QPushButton>(window, "Btn_Ok"), Qt::LeftButton);
  EXPECT_EQ(prompter.log, QStringList{"error: 用户数据库未打开。"});
  EXPECT_TRUE(window.isVisible());
  QTest::mouseClick(&child<QPushButton>(window, "Btn_Exit"), Qt::LeftButton);
  EXPECT_TRUE(window.endsProgram());
}

}  // namespace
}  // namespace pq
