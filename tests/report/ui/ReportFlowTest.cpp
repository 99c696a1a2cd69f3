#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QTest>
#include <QToolButton>

#include "records/RecordFileGenerator.h"
#include "report/ui/ReportFlow.h"
#include "report/ui/ReportWindow.h"
#include "statistics/ReportParameters.h"
#include "statistics/ReportRun.h"
#include "support/RecordingListener.h"
#include "support/TempDir.h"
#include "support/ui/ScriptedPrompter.h"
#include "support/ui/UiTestSupport.h"

namespace pq {
namespace {

using test::child;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

class RecordingRun : public ReportRunListener {
 public:
  void showMessage(const char* text) override { events.push_back(std::string("message: ") + text); }
  void busyStarted() override { events.push_back("busy"); }
  void busyFinished() override { events.push_back("idle"); }
  std::vector<std::string> events;
};

void press(TForm14& window, const QString& hint) {
  QTest::mouseClick(&child<QToolButton>(window, "tool:" + hint), Qt::LeftButton);
}

class ReportFlowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    GeneratorOptions options;
    options.records = 300;
    std::string error;
    ASSERT_TRUE(generateRecordFile(dir.file("r.bin"), options, error)) << error;
    test::RecordingListener imported;
    ASSERT_EQ(importRecordFile(store, dir.file("r.bin"), imported), ImportResult::Completed);
    parameters.fillFromStore(store);
  }

  test::TempDir dir;
  RecordStore store;
  ReportParameters parameters;
  RecordingRun run;
  ui::ScriptedPrompter prompter;
  ReportFlow flow{store, parameters, run, prompter, nullptr};
};

TEST_F(ReportFlowTest, APhaseButtonRerunsTheReportInTheOpenWindow) {
  std::vector<std::string> titles;
  TForm14* shown = nullptr;
  test::whenModalShown<TForm14>([&](TForm14& window) {
    shown = &window;
    EXPECT_EQ(flow.reportWindow(), &window);
    EXPECT_TRUE(parameters.data.reportWindowOpen);
    titles.push_back(window.currentPage().text("title"));
    press(window, "Ia  Report");
    EXPECT_EQ(QApplication::activeModalWidget(), &window);
    titles.push_back(window.currentPage().text("title"));
    EXPECT_EQ(window.currentKind(), (ReportKind{Phase::A, ReportQuantity::Current}));
    EXPECT_EQ(window.currentPage().text("fundamental.max").back(), 'A');
    press(window, "Close");
  });
  flow.requestReport({Phase::A, ReportQuantity::Voltage});
  ASSERT_NE(shown, nullptr);
  EXPECT_THAT(titles, ElementsAre("电能质量统计报表（A相电压）", "电能质量统计报表（A相电流）"));
  EXPECT_FALSE(parameters.data.reportWindowOpen);
  EXPECT_EQ(flow.reportWindow(), nullptr);
  EXPECT_THAT(run.events, ElementsAre("busy", "idle", "busy", "idle"));
}

TEST_F(ReportFlowTest, ARefusedReportOpensNoWindow) {
  parameters.voltageLevelText.clear();
  flow.requestReport({Phase::B, ReportQuantity::Voltage});
  EXPECT_THAT(run.events, ElementsAre("message: 请选择电压等级!"));
  EXPECT_EQ(flow.reportWindow(), nullptr);

  run.events.clear();
  parameters.voltageLevelText = "10KV";
  parameters.end.texts = {"2001", "1", "1", "0", "0"};
  parameters.start.texts = {"2001", "1", "1", "0", "0"};
  flow.requestReport({Phase::B, ReportQuantity::Current});
  EXPECT_THAT(run.events, ElementsAre("message: 该时间段记录个数为零，请重新输入时间。"));
}

TEST_F(ReportFlowTest, APhaseButtonSkipsTheCapacityCheckAndAConversionErrorKeepsThePage) {
  std::string before, after;
  test::whenModalShown<TForm14>([&](TForm14& window) {
    parameters.agreedCapacityText.clear();
    before = window.currentPage().text("title");
    press(window, "Ib  Report");
    after = window.currentPage().text("title");
    window.reject();  // the title bar's close box
  });
  flow.requestReport({Phase::C, ReportQuantity::Voltage});
  EXPECT_EQ(before, "电能质量统计报表（C相电压）");
  EXPECT_EQ(after, before);
  ASSERT_FALSE(prompter.log.isEmpty());
  EXPECT_THAT(prompter.log.back().toStdString(), HasSubstr("error: "));

  // Closed through the title bar the flag stays set until the parameters window is active again;
  // the next report still gets a window of its own.
  EXPECT_TRUE(parameters.data.reportWindowOpen);
  parameters.agreedCapacityText = "150";
  bool opened = false;
  test::whenModalShown<TForm14>([&](TForm14& window) {
    opened = true;
    window.reject();
  });
  flow.requestReport({Phase::C, ReportQuantity::Current});
  EXPECT_TRUE(opened);
}

}  // namespace
}  // namespace pq
