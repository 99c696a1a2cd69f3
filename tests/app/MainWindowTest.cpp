#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <fstream>

#include "app/MainWindow.h"
#include "records/RecordFileGenerator.h"
#include "records/ui/RecordImportWindow.h"
#include "report/ReportFile.h"
#include "report/ui/ReportPreview.h"
#include "report/ui/ReportViewer.h"
#include "support/TempDir.h"
#include "support/UserDatabaseFixture.h"
#include "support/ui/ScriptedPrompter.h"
#include "support/ui/UiTestSupport.h"
#include "users/PasswordScrambling.h"
#include "users/UserDataModule.h"
#include "users/ui/AddUserWindow.h"
#include "users/ui/LoginWindow.h"

namespace pq {
namespace {

using test::child;

const QStringList kHistoryCommands = {"menu:查阅记录",
                                      "menu:谐波趋势曲线",
                                      "menu:分量及频率趋势曲线",
                                      "menu:电压偏差趋势曲线",
                                      "menu:功率及功率因数趋势曲线",
                                      "tool:历史记录查阅",
                                      "tool:谐波趋势曲线",
                                      "tool:分量及频率趋势曲线",
                                      "tool:电压偏差趋势曲线",
                                      "tool:功率及功率因数趋势曲线"};

class MainWindowTest : public ::testing::Test {
 protected:
  MainWindowTest() {
    users.addRow("admin", storedPassword("admin123"), "Administrator");
    users.addRow("op", storedPassword("op123456"), "User");
    window.setUserDatabase(database);
  }

  QAction& action(const QString& name) { return child<QAction>(window, name); }

  std::vector<bool> historyEnabled() {
    std::vector<bool> out;
    for (const auto& name : kHistoryCommands) out.push_back(action(name).isEnabled());
    return out;
  }

  void logIn(const QString& name, const QString& password) {
    bool loginShown = false;
    test::whenModalShown<TForm5>([&](TForm5& login) {
      loginShown = true;
      child<QComboBox>(login, "ComboBox1").setCurrentText(name);
      child<QLineEdit>(login, "Edit1").setText(password);
      QTest::mouseClick(&child<QPushButton>(login, "Btn_Ok"), Qt::LeftButton);
    });
    window.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return loginShown && QApplication::activeModalWidget() == nullptr; }));
  }

  void importFile(const std::string& path) {
    test::whenModalShown<TForm3>([&](TForm3& import) {
      prompter.answerFile(QString::fromStdString(path));
      QTest::mouseClick(&child<QPushButton>(import, "Btn_Open"), Qt::LeftButton);
      QTest::mouseClick(&child<QPushButton>(import, "Btn_Exit"), Qt::LeftButton);
    });
    action("menu:打开记录").trigger();
  }

  test::TempDir dir;
  test::UserDatabaseFixture users;
  TDM database{users.path()};
  ui::ScriptedPrompter prompter;
  TForm1 window{prompter};
};

TEST_F(MainWindowTest, StartsWithTheHistoryCommandsDisabled) {
  EXPECT_EQ(window.windowTitle(), "电能质量分析系统 2.7");
  EXPECT_EQ(historyEnabled(), std::vector<bool>(10, false));
  EXPECT_TRUE(action("menu:打开记录").isEnabled());
  EXPECT_TRUE(action("tool:打开记录文件").isEnabled());
  EXPECT_TRUE(action("menu:密码管理").isEnabled());
  EXPECT_TRUE(action("tool:密码管理").isEnabled());
}

TEST_F(MainWindowTest, TheLoginSetsThePasswordCommandsByRole) {
  logIn("op", "op123456");
  EXPECT_FALSE(action("menu:密码管理").isEnabled());
  EXPECT_FALSE(action("tool:密码管理").isEnabled());
  EXPECT_TRUE(prompter.log.isEmpty());
}

TEST_F(MainWindowTest, AnAdministratorKeepsThePasswordCommands) {
  logIn("admin", "admin123");
  EXPECT_TRUE(action("menu:密码管理").isEnabled());
  EXPECT_TRUE(action("tool:密码管理").isEnabled());
  bool addUserShown = false;
  test::whenModalShown<TForm6>([&](TForm6& addUser) {
    addUserShown = true;
    addUser.close();
  });
  action("tool:密码管理").trigger();
  EXPECT_TRUE(addUserShown);
}

TEST_F(MainWindowTest, ClosingTheImportWindowUpdatesTheHistoryCommands) {
  GeneratorOptions options;
  options.records = 12;
  std::string error;
  ASSERT_TRUE(generateRecordFile(dir.file("twelve.bin"), options, error));
  importFile(dir.file("twelve.bin"));
  EXPECT_EQ(window.store().recordCount(), 12);
  EXPECT_EQ(historyEnabled(), std::vector<bool>(10, true));

  std::ofstream(dir.file("junk.bin")) << std::string(4000, 'x');
  importFile(dir.file("junk.bin"));
  EXPECT_EQ(historyEnabled(), std::vector<bool>(10, false));
}

TEST_F(MainWindowTest, BecomingActiveChecksTheStoreAgain) {
  logIn("admin", "admin123");
  GeneratorOptions options;
  options.records = 3;
  std::string error;
  ASSERT_TRUE(generateRecordFile(dir.file("three.bin"), options, error));
  importFile(dir.file("three.bin"));
  ASSERT_EQ(historyEnabled(), std::vector<bool>(10, true));
  // Another window emptied the store, as deleting the last record does.
  window.store().clear();
  QWidget other;
  test::showActive(other);
  test::showActive(window);
  EXPECT_EQ(historyEnabled(), std::vector<bool>(10, false));
}

TEST_F(MainWindowTest, ARecordFileFromTheCommandLineIsImportedAfterTheLogin) {
  GeneratorOptions options;
  options.records = 12;
  std::string error;
  ASSERT_TRUE(generateRecordFile(dir.file("twelve.bin"), options, error));
  window.openAfterLogin(dir.file("twelve.bin"));
  EXPECT_EQ(window.store().recordCount(), 0) << "nothing before the login";
  bool importShown = false;
  test::whenModalShown<TForm3>([&](TForm3& import) {
    importShown = true;
    // The import runs once the window is on the screen, with its progress display.
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.store().recordCount() == 12; }));
    EXPECT_TRUE(child<QLabel>(import, "Label1").isVisible());
    QTest::mouseClick(&child<QPushButton>(import, "Btn_Exit"), Qt::LeftButton);
  });
  logIn("admin", "admin123");
  EXPECT_TRUE(importShown);
  EXPECT_EQ(historyEnabled(), std::vector<bool>(10, true));
  EXPECT_TRUE(prompter.log.isEmpty()) << prompter.log.join(" | ").toStdString();
}

TEST_F(MainWindowTest, AReportFileFromTheCommandLineOpensInTheViewerAfterTheLogin) {
  ReportPage page;
  page.addText(100, 100, "城东变电站");
  saveReportFile(dir.file("城东.QRP"), {page});
  window.openAfterLogin(dir.file("城东.QRP"));
  std::size_t pagesShown = 0;
  test::whenModalShown<ReportViewer>([&](ReportViewer& viewer) {
    pagesShown = viewer.preview().pages().size();
    viewer.close();
  });
  logIn("admin", "admin123");
  EXPECT_EQ(pagesShown, 1u);
  EXPECT_TRUE(prompter.log.isEmpty()) << prompter.log.join(" | ").toStdString();
}

}  // namespace
}  // namespace pq
