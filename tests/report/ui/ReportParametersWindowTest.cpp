#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <fstream>

#include "app/MainWindow.h"
#include "pages/ui/ReportPreview.h"
#include "records/RecordFileGenerator.h"
#include "report/ui/ReportParametersWindow.h"
#include "report/ui/ReportViewer.h"
#include "report/ui/ReportWindow.h"
#include "support/TempDir.h"
#include "support/ui/ScriptedPrompter.h"
#include "support/ui/UiTestSupport.h"
#include "timerange/ui/DateRangeFields.h"
#include "ui/BusyAnimation.h"

namespace pq {
namespace {

using test::child;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

class ReportParametersWindowTest : public ::testing::Test {
 protected:
  std::string generated(const std::string& name, long long records, std::uint8_t level = 3) {
    GeneratorOptions options;
    options.records = records;
    options.voltageLevelCode = level;
    options.substationName = "East";
    std::string error;
    EXPECT_TRUE(generateRecordFile(dir.file(name), options, error)) << error;
    return dir.file(name);
  }

  void reload(const std::string& path) {
    prompter.answerFile(QString::fromStdString(path));
    press("Button9");
  }

  QLineEdit& edit(const char* name) { return child<QLineEdit>(window, name); }
  QComboBox& level() { return child<QComboBox>(window, "ComboBox1"); }
  void press(const char* name) { QTest::mouseClick(&child<QPushButton>(window, name), Qt::LeftButton); }

  test::TempDir dir;
  RecordStore store;
  ui::ScriptedPrompter prompter;
  TForm13 window{store, prompter};
};

TEST_F(ReportParametersWindowTest, StartsWithItsInitialTextsAndFillsFromTheStoreWhenActive) {
  EXPECT_EQ(window.windowTitle(), "电能质量参数设置");
  EXPECT_EQ(window.size(), QSize(515, 745));
  EXPECT_EQ(edit("Edit1").text(), "XXX 变电所");
  EXPECT_EQ(edit("Edit4").text(), "182");
  EXPECT_TRUE(edit("Edit2").isReadOnly());
  EXPECT_TRUE(edit("Edit9").isReadOnly());
  QStringList levels;
  for (int i = 0; i < level().count(); ++i) levels << level().itemText(i);
  EXPECT_EQ(levels, QStringList({"0.38KV", "6KV", "10KV", "35KV", "66KV", "110KV"}));
  auto& dates = child<history::DateRangeFields>(window, "DateFields");
  EXPECT_EQ(dates.end().texts, (std::array<std::string, 5>{"2010", "03", "19", "16", "55"}));

  reload(generated("r.bin", 120, 3));
  edit("Edit7").setText("电力局");
  window.activated();
  EXPECT_EQ(level().currentText(), "10KV");
  EXPECT_EQ(edit("Edit1").text(), "East变电所");
  EXPECT_EQ(edit("Edit9").text(), "100");
  EXPECT_EQ(edit("Edit4").text(), "100.000  ");
  EXPECT_EQ(edit("Edit7").text(), "电力局");  // not filled from the store: kept as typed
  EXPECT_EQ(dates.start().texts, (std::array<std::string, 5>{"2010", "4", "19", "15", "39"}));
  EXPECT_FALSE(window.parameters().data.reportWindowOpen);
}

TEST_F(ReportParametersWindowTest, CapacityFieldsTakeDigitsAndOneDotPerVisit) {
  test::showActive(window);
  QLineEdit& capacity = edit("Edit4");
  capacity.clear();
  capacity.setFocus();
  QTest::keyClicks(&capacity, "1.5.2x-");
  EXPECT_EQ(capacity.text(), "1.52");
  for (int i = 0; i < 3; ++i) QTest::keyClick(&capacity, Qt::Key_Backspace);
  QTest::keyClicks(&capacity, ".");  // the dot was deleted, but this visit had its dot
  EXPECT_EQ(capacity.text(), "1");
  edit("Edit5").setFocus();
  capacity.setFocus();
  QTest::keyClicks(&capacity, ".5");
  EXPECT_EQ(capacity.text(), "1.5");
}

TEST_F(ReportParametersWindowTest, TheSpanIsCheckedBeforeAReportRuns) {
  reload(generated("r.bin", 30));  // 2010-04-19 15:39 .. 16:08
  prompter.log.clear();
  auto& dates = child<history::DateRangeFields>(window, "DateFields");
  const struct {
    DateFieldGroup start, end;
  } spans[] = {{{{"2010", "4", "19", "15", "40"}}, {{"2010", "4", "19", "15", ""}}},
               {{{"2010", "4", "19", "14", "0"}}, {{"2010", "4", "19", "15", "0"}}},
               {{{"2010", "4", "19", "16", "0"}}, {{"2010", "4", "19", "15", "0"}}}};
  for (const auto& span : spans) {
    dates.setTexts(span.start, span.end);
    press("Button5");
  }
  EXPECT_THAT(prompter.log, ElementsAre("message: 查询时间不正确，请重新输入!",
                                        "message: 该时间段记录个数为零，请重新输入时间。",
                                        "message: 终止时间必须大于开始时间，请重新输入。"));
}

TEST_F(ReportParametersWindowTest, RefusalsBeforeAnyRecordFile) {
  level().setEditText("10KV");
  press("Button1");
  level().setEditText("");
  press("Button4");
  level().setEditText("35KV");
  edit("Edit6").setText("");
  press("Button2");
  edit("Edit6").setText("  ");
  press("Button6");
  EXPECT_THAT(prompter.log,
              ElementsAre("message: 记录文件不存在，请打开一个记录文件。", "message: 请选择电压等级!",
                          "message: 请先输入相关参数值!", "message: 记录文件不存在，请打开一个记录文件。"));
}

TEST_F(ReportParametersWindowTest, AReportShowsTheBusyIndicatorOnlyWhileItRuns) {
  reload(generated("r.bin", 300));
  window.activated();
  prompter.log.clear();
  auto& busyText = child<QLabel>(window, "Label20");
  auto& animation = child<ui::BusyAnimation>(window, "Animate1");
  bool busyWhileRunning = false;
  window.busyStarted();
  busyWhileRunning = !busyText.isHidden() && animation.running();
  window.busyFinished();
  EXPECT_TRUE(busyWhileRunning);
  EXPECT_TRUE(busyText.isHidden());
  EXPECT_FALSE(animation.running());

  QString title;
  test::whenModalShown<TForm14>([&](TForm14& report) {
    title = QString::fromStdString(report.currentPage().text("title"));
    EXPECT_TRUE(busyText.isHidden());
    report.reject();
  });
  press("Button6");
  EXPECT_EQ(title, "电能质量统计报表（B相电流）");
  EXPECT_THAT(prompter.log, IsEmpty());
}

TEST_F(ReportParametersWindowTest, ReloadKeepsTheRecordsWhenCancelledAndSaysWhatWentWrong) {
  reload(generated("r.bin", 30));
  EXPECT_EQ(edit("Edit2").text().toStdString(), dir.file("r.bin"));
  prompter.log.clear();

  press("Button9");  // cancelled
  EXPECT_EQ(store.recordCount(), 30);
  EXPECT_EQ(store.substationName, "");
  window.activated();
  EXPECT_EQ(edit("Edit1").text(), "变电所");
  EXPECT_THAT(prompter.log, ElementsAre("open:  (unanswered)"));

  prompter.log.clear();
  reload(dir.file("gone.bin"));
  EXPECT_EQ(store.recordCount(), 30);
  EXPECT_THAT(prompter.log, ElementsAre("open: ", "message: 文件空。"));

  prompter.log.clear();
  std::ofstream(dir.file("empty.bin")) << "";
  reload(dir.file("empty.bin"));
  EXPECT_EQ(store.recordCount(), 0);
  EXPECT_THAT(prompter.log, ElementsAre("open: ", "message: 文件太短，请重新保存或打开另一个文件！"));
}

TEST(ReportCommandsTest, TheMainWindowOpensTheReportWindows) {
  ui::ScriptedPrompter prompter;
  TForm1 main(prompter);
  QString opened;
  test::whenModalShown<TForm13>([&](TForm13& window) {
    opened = window.windowTitle();
    window.accept();
  });
  child<QAction>(main, "tool:新建报表").trigger();
  EXPECT_EQ(opened, "电能质量参数设置");

  test::whenModalShown<ReportViewer>([&](ReportViewer& viewer) {
    opened = viewer.windowTitle() + QString::number(viewer.preview().pageCount());
    viewer.accept();
  });
  child<QAction>(main, "menu:历史报表").trigger();
  EXPECT_EQ(opened, "Print Preview1");
}

}  // namespace
}  // namespace pq
