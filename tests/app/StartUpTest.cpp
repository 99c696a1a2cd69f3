#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

#include "app/MainWindow.h"
#include "support/UserDatabaseFixture.h"
#include "support/ui/ScriptedPrompter.h"
#include "support/ui/UiTestSupport.h"
#include "users/PasswordScrambling.h"
#include "users/UserDataModule.h"
#include "users/ui/LoginWindow.h"

namespace pq {
namespace {

using test::child;

// Runs the program's event loop with a main window whose login is answered by `answer`; exits the
// process with 0 when the loop ends, printing the messages shown, and with 3 when it never ends.
[[noreturn]] void runProgram(const std::function<void(TForm5&)>& answer) {
  test::UserDatabaseFixture users;
  users.addRow("admin", storedPassword("admin123"), "Administrator");
  TDM database(users.path());
  ui::ScriptedPrompter prompter;
  TForm1 window(prompter);
  window.setUserDatabase(database);
  test::whenModalShown<TForm5>(answer);
  QTimer::singleShot(10000, [] { std::_Exit(3); });
  window.show();
  const int status = QApplication::exec();
  std::fprintf(stderr, "ended: %s\n", qPrintable(prompter.log.join(" | ")));
  std::exit(status);
}

TEST(StartUp, AWrongPasswordEndsTheProgram) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(runProgram([](TForm5& login) {
                child<QComboBox>(login, "ComboBox1").setCurrentText("admin");
                child<QLineEdit>(login, "Edit1").setText("admin12");
                QTest::mouseClick(&child<QPushButton>(login, "Btn_Ok"), Qt::LeftButton);
              }),
              ::testing::ExitedWithCode(0), "ended: message: 密码不正确，您不允许登录该系统\n");
}

TEST(StartUp, TheExitButtonEndsTheProgram) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(runProgram([](TForm5& login) {
                QTest::mouseClick(&child<QPushButton>(login, "Btn_Exit"), Qt::LeftButton);
              }),
              ::testing::ExitedWithCode(0), "ended: \n");
}

}  // namespace
}  // namespace pq
