#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <filesystem>
#include <fstream>

#include "app/MainWindow.h"
#include "pages/ui/ReportPreview.h"
#include "records/RecordFileGenerator.h"
#include "records/ui/RecordImportWindow.h"
#include "report/ReportFile.h"
#include "report/ui/ReportViewer.h"
#include "support/GeneratedRecords.h"
#include "support/TempDir.h"
#include "support/UserDatabaseFixture.h"
#include "support/ui/ScriptedPrompter.h"
#include "support/ui/UiTestSupport.h"
#include "survey/ui/SurveyWindow.h"
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

  // A day's file of a survey, 1-minute records from 2010-04-`day` hh:mm:17 on.
  std::string generateDay(const std::string& name, int day, int hour, int minute, long long records) {
    return test::generateFile(dir.file(name), test::generatedFrom(day, hour, minute, 17, records));
  }

  QString titleWith(const std::string& path) {
    return "电能质量分析系统 2.7 - " + QString::fromStdString(std::filesystem::canonical(path).string());
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

TEST_F(MainWindowTest, ASurveyLeavesTheLoadedFileAndADayChosenInItsWindowIsImported) {
  const std::string loaded = generateDay("loaded.bin", 3, 9, 41, 23);
  std::filesystem::create_directory(dir.file("survey"));
  const std::string day20 = generateDay("survey/20.bin", 20, 0, 0, 37);
  const std::string day19 = generateDay("survey/19.bin", 19, 23, 11, 41);
  importFile(loaded);
  ASSERT_EQ(window.windowTitle(), titleWith(loaded));

  prompter.log.clear();
  prompter.answerFiles({QString::fromStdString(dir.file("survey"))});
  action("menu:打开测量任务").trigger();
  EXPECT_EQ(prompter.log, QStringList{"open several: 请选择同一次测量的原始记录文件（*.bin）或文件夹"});
  SurveyWindow* survey = window.surveyWindow();
  ASSERT_NE(survey, nullptr);
  EXPECT_TRUE(survey->isVisible());
  ASSERT_EQ(survey->days().rowCount(), 2);
  // The survey read its files without the store: the file loaded before is still loaded.
  EXPECT_EQ(window.store().recordCount(), 23);
  EXPECT_EQ(historyEnabled(), std::vector<bool>(10, true));
  EXPECT_EQ(window.windowTitle(), titleWith(loaded));

  bool importShown = false;
  test::whenModalShown<TForm3>([&](TForm3& import) {
    importShown = true;
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.store().recordCount() == 37; }));
    QTest::mouseClick(&child<QPushButton>(import, "Btn_Exit"), Qt::LeftButton);
  });
  survey->tabs().setCurrentIndex(SurveyWindow::DaysTab);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(survey));
  QTableWidget& days = survey->days();
  const QPoint secondDay = days.visualItemRect(days.item(1, 0)).center();
  QTest::mouseClick(days.viewport(), Qt::LeftButton, {}, secondDay);
  QTest::mouseDClick(days.viewport(), Qt::LeftButton, {}, secondDay);
  EXPECT_TRUE(importShown);
  EXPECT_EQ(window.store().recordCount(), 37);
  EXPECT_EQ(historyEnabled(), std::vector<bool>(10, true));
  EXPECT_EQ(window.windowTitle(), titleWith(day20));
  EXPECT_EQ(window.surveyWindow(), survey) << "the survey stays open for the next day";
  EXPECT_EQ(prompter.log.size(), 1) << prompter.log.join(" | ").toStdString();

  // A survey that does not open leaves the one shown before, and the day loaded.
  prompter.answerFiles({QString::fromStdString(dir.file("none.bin"))});
  action("menu:打开测量任务").trigger();
  EXPECT_EQ(window.surveyWindow(), survey);
  EXPECT_EQ(window.store().recordCount(), 37);
  EXPECT_EQ(historyEnabled(), std::vector<bool>(10, true));
}

TEST_F(MainWindowTest, ACancelledChoiceOfSurveyFilesLeavesTheStore) {
  importFile(generateDay("loaded.bin", 3, 9, 41, 23));
  action("menu:打开测量任务").trigger();
  EXPECT_EQ(window.store().recordCount(), 23);
  EXPECT_EQ(window.surveyWindow(), nullptr);
}

TEST_F(MainWindowTest, SeveralRecordFilesFromTheCommandLineOpenASurveyAfterTheLogin) {
  std::filesystem::create_directory(dir.file("survey"));
  const std::string day20 = generateDay("survey/20.bin", 20, 0, 0, 37);
  const std::string day19 = generateDay("survey/19.bin", 19, 23, 11, 41);
  window.openSurveyAfterLogin({day20, day19});
  logIn("admin", "admin123");
  ASSERT_NE(window.surveyWindow(), nullptr);
  EXPECT_EQ(window.surveyWindow()->survey().files.size(), 2u);
  EXPECT_EQ(window.surveyWindow()->survey().files[0].path, day19);
  EXPECT_TRUE(prompter.log.isEmpty()) << prompter.log.join(" | ").toStdString();
}

TEST_F(MainWindowTest, AFolderFromTheCommandLineOpensASurveyAfterTheLogin) {
  std::filesystem::create_directory(dir.file("survey"));
  generateDay("survey/20.bin", 20, 0, 0, 37);
  generateDay("survey/19.bin", 19, 23, 11, 41);
  window.openAfterLogin(dir.file("survey"));
  logIn("admin", "admin123");
  ASSERT_NE(window.surveyWindow(), nullptr);
  EXPECT_EQ(window.surveyWindow()->survey().files.size(), 2u);
  EXPECT_TRUE(prompter.log.isEmpty()) << prompter.log.join(" | ").toStdString();
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
