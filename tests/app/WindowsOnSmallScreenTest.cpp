// Every top-level window of the program on the smallest screen it is made for (the tests' offscreen
// screen of 1366 x 768): small enough to fit, and opened with its frame on the screen.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFont>
#include <QScreen>
#include <functional>
#include <memory>

#include "app/MainWindow.h"
#include "assessment/ui/AssessmentWindow.h"
#include "history/ui/HistoryWindow.h"
#include "live/ui/LiveDataWindow.h"
#include "pages/ReportPage.h"
#include "records/ui/RecordImportWindow.h"
#include "report/ui/ReportParametersWindow.h"
#include "report/ui/ReportViewer.h"
#include "report/ui/ReportWindow.h"
#include "serial/CommDevice.h"
#include "serial/ui/DeviceSettingsDialog.h"
#include "support/StoreBuilder.h"
#include "support/UserDatabaseFixture.h"
#include "support/ui/ScriptedPrompter.h"
#include "survey/ui/SurveyProgressWindow.h"
#include "survey/ui/SurveyWindow.h"
#include "ui/WindowPlacement.h"
#include "users/UserDataModule.h"
#include "users/ui/AddUserWindow.h"
#include "users/ui/ChangePasswordWindow.h"
#include "users/ui/DeleteUserWindow.h"
#include "users/ui/LoginWindow.h"

namespace pq {
namespace {

TEST(WindowPlacement, AWindowTooBigForTheScreenShrinksAndKeepsItsTitleBarOnIt) {
  const QRect screen(0, 0, 1366, 768);
  const QMargins frame(4, 30, 4, 4);
  const struct {
    const char* what;
    QPoint frameTopLeft;
    QSize size;
    QSize minimum;
    QRect placed;
  } cases[] = {
      {"fits: stays where it is", {133, 100}, {1100, 500}, {400, 300}, {137, 130, 1100, 500}},
      {"centred above the top: shrunk to the height left",
       {133, -46},
       {1100, 860},
       {400, 300},
       {137, 30, 1100, 734}},
      {"off the right and bottom: moved back", {900, 600}, {600, 400}, {200, 200}, {762, 364, 600, 400}},
      {"larger minimum than the screen: its top left on it",
       {-20, -50},
       {1500, 900},
       {1400, 800},
       {4, 30, 1400, 800}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ui::placedOnScreen(c.frameTopLeft, c.size, c.minimum, frame, screen), c.placed) << c.what;
  }
}

// Each window with what it needs, made after the fixture's store, database and prompter.
struct WindowCase {
  const char* name;
  std::function<std::unique_ptr<QWidget>()> make;
};

class WindowsOnSmallScreenTest : public ::testing::Test {
 protected:
  WindowsOnSmallScreenTest() {
    // The program's own font, which sets the size of every text.
    QApplication::setFont(QFont(QStringLiteral("Noto Sans CJK SC"), 9));
    store.resetDefaults();
    for (int i = 0; i < 30; ++i) test::appendRecord(store, 2010, 4, 19, 10, i, 17);
  }
  ~WindowsOnSmallScreenTest() override { QApplication::setFont(savedFont); }

  std::vector<WindowCase> windows() {
    return {
        {"导入", [&] { return std::make_unique<TForm3>(store, prompter); }},
        {"历史数据查阅",
         [&] { return std::make_unique<TForm4>(store, prompter, clock, TForm4::DeviationTrend); }},
        {"电能质量综合评估",
         [&] {
           return std::make_unique<AssessmentWindow>(store, prompter, clock, AssessmentWindow::AssessmentTab);
         }},
        {"测量任务",
         [&] {
           // A named survey: a temporary one made g++ 12 at -O3 warn falsely (-Wmaybe-uninitialized).
           OpenedSurvey none;
           return std::make_unique<SurveyWindow>(std::move(none), prompter, clock);
         }},
        {"正在打开测量任务",
         [&] {
           return std::make_unique<SurveyProgressWindow>(
               [](SurveyListener&) { return std::optional<AssessedSurvey>(); });
         }},
        {"报表参数", [&] { return std::make_unique<TForm13>(store, prompter); }},
        {"报表", [&] { return std::make_unique<TForm14>(prompter, reportOpen, [](ReportKind) {}); }},
        {"报表预览", [&] { return std::make_unique<ReportViewer>(std::vector<ReportPage>(1), prompter); }},
        {"实时数据",
         [&] {
           live::TForm10::Options options;
           options.portNo = 49999;  // no such port: the settings dialog is answered with Cancel
           options.settingsDialog = [](OstrelComm32::TCommDevice&, QWidget*) { return false; };
           auto window = std::make_unique<live::TForm10>(live::LivePage{}, prompter, nullptr, options);
           window->Timer1().stop();
           return window;
         }},
        {"端口设置",
         [&] {
           return std::make_unique<OstrelComm32::TForm_CommDevice_Settings>(nullptr, false, device, prompter);
         }},
        {"登录", [&] { return std::make_unique<TForm5>(database, prompter, [](bool) {}); }},
        {"添加用户", [&] { return std::make_unique<TForm6>(database, prompter); }},
        {"修改密码", [&] { return std::make_unique<TForm7>(database, prompter); }},
        {"删除用户", [&] { return std::make_unique<TForm8>(database, prompter); }},
    };
  }

  const QFont savedFont = QApplication::font();
  RecordStore store;
  ui::ScriptedPrompter prompter;
  test::FixedClock clock{{2010, 4, 19}};
  test::UserDatabaseFixture users;
  TDM database{users.path()};
  OstrelComm32::TCommDevice device;
  bool reportOpen = false;
};

TEST_F(WindowsOnSmallScreenTest, EveryWindowFitsAndOpensOnTheScreen) {
  const QRect available = QApplication::primaryScreen()->availableGeometry();
  ASSERT_GE(available.width(), 1366);
  ASSERT_GE(available.height(), 768);
  const QRect smallScreen(available.topLeft(), QSize(1366, 768));
  for (const WindowCase& c : windows()) {
    SCOPED_TRACE(c.name);
    const std::unique_ptr<QWidget> window = c.make();
    window->show();
    QApplication::processEvents();
    // The smallest the window can be with the frame this platform draws round it.
    const QSize frame = window->frameGeometry().size() - window->size();
    const QSize smallest = window->minimumSizeHint().expandedTo(window->minimumSize()) + frame;
    EXPECT_LE(smallest.width(), 1366);
    EXPECT_LE(smallest.height(), 768);
    EXPECT_TRUE(smallScreen.contains(window->frameGeometry()))
        << window->frameGeometry().x() << "," << window->frameGeometry().y() << " "
        << window->frameGeometry().width() << "x" << window->frameGeometry().height();
    window->close();
  }
  // The main window only by its size: shown, it would ask for a login first.
  TForm1 main(prompter);
  const QSize smallest = main.minimumSizeHint();
  EXPECT_LE(smallest.width(), 1366);
  EXPECT_LE(smallest.height(), 768);
}

}  // namespace
}  // namespace pq
