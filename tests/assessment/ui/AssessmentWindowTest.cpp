#include "assessment/ui/AssessmentWindow.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QFile>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>

#include "pages/ui/ReportPreview.h"
#include "records/RecordFileWriter.h"
#include "records/RecordStore.h"
#include "support/StoreBuilder.h"
#include "support/TempDir.h"
#include "support/ui/ScriptedPrompter.h"
#include "support/ui/UiTestSupport.h"
#include "survey/SurveyAssessment.h"
#include "timerange/EpochSeconds.h"
#include "timerange/ui/DateRangeFields.h"
#include "timerange/ui/TimeRangePanel.h"

namespace pq {
namespace {

// Two minutes of one-second records of a 100 V four-wire supply (phase voltage 57.735 V), with a dip
// on phases A and C in the records of 10:00:30 to 10:00:32.
class AssessmentWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    store.resetDefaults();
    store.nominalVoltage = 100;
    for (int i = 0; i < 120; ++i) {
      MeasurementRecord& r = test::appendRecord(store, 2010, 4, 19, 10, i / 60, i % 60);
      for (const int rms : {cells::uaRms, cells::ubRms, cells::ucRms}) {
        r.setValue(rms, 57.7f);
        r.setValue(rms + 1, 57.9f);
        r.setValue(rms + 2, 57.5f);
      }
      r.setValue(cells::frequency, 50.01f);
      if (i >= 30 && i <= 32) {
        r.setValue(cells::uaMin, 40.0f);
        r.setValue(cells::ucMin, 45.5f);
      }
    }
  }

  RecordStore store;
  ui::ScriptedPrompter prompter;
  test::FixedClock clock{{2010, 4, 19}};
};

TEST_F(AssessmentWindowTest, AssessesWhenShownAndListsTheEvents) {
  AssessmentWindow window(store, prompter, clock, AssessmentWindow::EventsTab);
  test::showActive(window);
  EXPECT_EQ(window.tabs().currentIndex(), AssessmentWindow::EventsTab);
  ASSERT_TRUE(window.result().refusal.empty()) << window.result().refusal;
  ASSERT_FALSE(window.preview().pages().empty());
  EXPECT_EQ(window.preview().pages()[0].texts().front().text, "电能质量测试报告");

  QTableWidget& events = window.events();
  ASSERT_EQ(events.rowCount(), 1);
  const char* expected[] = {"1", "电压暂降", "2010-04-19 10:00:30", "3 s (±1 s)", "A C", "69.28"};
  for (int c = 0; c < 6; ++c) EXPECT_EQ(events.item(0, c)->text().toStdString(), expected[c]) << c;

  // A double-click on the event, or Enter on it, asks for the trend around it.
  QSignalSpy chosen(&window, &AssessmentWindow::eventChosen);
  const QPoint cell = events.visualItemRect(events.item(0, 2)).center();
  QTest::mouseClick(events.viewport(), Qt::LeftButton, {}, cell);
  QTest::mouseDClick(events.viewport(), Qt::LeftButton, {}, cell);
  events.setFocus();
  QTest::keyClick(&events, Qt::Key_Return);
  ASSERT_EQ(chosen.size(), 2);
  for (const QList<QVariant>& times : chosen) {
    EXPECT_EQ(times[0].value<std::int64_t>(), epochSeconds({2010, 4, 19, 10, 0, 30}));
    EXPECT_EQ(times[1].value<std::int64_t>(), epochSeconds({2010, 4, 19, 10, 0, 32}));
  }
  EXPECT_TRUE(window.isVisible()) << "Enter on an event leaves the window open";
  EXPECT_TRUE(prompter.log.isEmpty()) << prompter.log.join('\n').toStdString();
}

QComboBox& limitSets(const AssessmentWindow& window) {
  for (QComboBox* box : window.findChildren<QComboBox*>()) {
    if (box->accessibleName() == QStringLiteral("限值")) return *box;
  }
  throw std::runtime_error("no list of limit sets");
}

TEST_F(AssessmentWindowTest, AFileOfTheLimitsFolderTakesTheDefaultSetForTheRestUnlessTheStandardForbidsIt) {
  test::TempDir dir;
  const std::string mine = dir.file("mine.json");
  const std::string forbidden = dir.file("wide.json");
  const std::string mineText = R"({"frequencyDeviation": {"normal": 0.005}})";
  const std::string forbiddenText = R"({"voltageDeviation": {"from35kV": {"upper": 8, "lower": -5}}})";
  test::writeBytes(mine, std::vector<std::uint8_t>(mineText.begin(), mineText.end()));
  test::writeBytes(forbidden, std::vector<std::uint8_t>(forbiddenText.begin(), forbiddenText.end()));
  AssessmentWindow window(store, prompter, clock, AssessmentWindow::AssessmentTab);
  test::showActive(window);
  QComboBox& sets = limitSets(window);
  sets.addItem("mine.json", QString::fromStdString(mine));
  sets.addItem("wide.json", QString::fromStdString(forbidden));

  // 50.01 Hz is 0.01 Hz off: beyond the file's 0.005 Hz, judged with the shipped set's other limits.
  sets.setCurrentIndex(sets.count() - 2);
  EXPECT_TRUE(prompter.log.isEmpty()) << prompter.log.join('\n').toStdString();
  ASSERT_TRUE(window.result().refusal.empty()) << window.result().refusal;
  EXPECT_EQ(window.result().setup.limits.frequencyDeviation, 0.005);
  EXPECT_EQ(window.result().frequency.index.verdict, Verdict::Fail);
  EXPECT_EQ(window.result().setup.limits.highVoltageBand.lower, -3);

  sets.setCurrentIndex(sets.count() - 1);
  const std::string message =
      "限值文件“" + forbidden + "”中“voltageDeviation.from35kV”：正负偏差绝对值之和不得超过10%，不能用于评估。";
  ASSERT_EQ(prompter.log.size(), 1);
  EXPECT_EQ(prompter.log[0].toStdString(), "warning: 限值: " + message);
  EXPECT_EQ(window.result().refusal, message);
  EXPECT_FALSE(window.result().frequency.index.judged());
  bool shown = false;
  for (const auto& text : window.preview().pages().at(0).texts()) shown = shown || text.text.rfind("未能评估：", 0) == 0;
  EXPECT_TRUE(shown);
}

TEST_F(AssessmentWindowTest, WorkbookOfTheAssessment) {
  test::TempDir dir;
  AssessmentWindow window(store, prompter, clock, AssessmentWindow::AssessmentTab);
  test::showActive(window);
  const QString workbook = QString::fromStdString(dir.file("评估.xlsx"));
  prompter.answerFile(workbook);
  test::child<QPushButton>(window, "导出Excel").click();
  EXPECT_TRUE(QFile::exists(workbook));
  // A workbook is a zip archive.
  QFile file(workbook);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.read(2), QByteArray("PK"));
  EXPECT_TRUE(prompter.log.filter("error").isEmpty()) << prompter.log.join('\n').toStdString();
}

TEST_F(AssessmentWindowTest, WordDocumentOfTheReportAndARefusedFolder) {
  test::TempDir dir;
  AssessmentWindow window(store, prompter, clock, AssessmentWindow::AssessmentTab);
  test::showActive(window);
  const QString word = QString::fromStdString(dir.file("报告.docx"));
  prompter.answerFile(word);
  test::child<QPushButton>(window, "导出Word").click();
  EXPECT_TRUE(prompter.log.filter("error").isEmpty()) << prompter.log.join('\n').toStdString();
  QFile file(word);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.read(2), QByteArray("PK"));

  prompter.answerFile(QString::fromStdString(dir.file("missing/报告.docx")));
  test::child<QPushButton>(window, "导出Word").click();
  ASSERT_FALSE(prompter.log.isEmpty());
  EXPECT_TRUE(prompter.log.back().startsWith("error: Word 文件无法保存：")) << prompter.log.back().toStdString();
}

TEST_F(AssessmentWindowTest, PdfOfTheCurrentTabAndARefusedFolder) {
  test::TempDir dir;
  AssessmentWindow window(store, prompter, clock, AssessmentWindow::AssessmentTab);
  test::showActive(window);
  const QString pdf = QString::fromStdString(dir.file("评估.pdf"));
  prompter.answerFile(pdf);
  test::child<QPushButton>(window, "导出PDF").click();
  EXPECT_TRUE(QFile::exists(pdf));
  EXPECT_GT(QFile(pdf).size(), 1000);

  prompter.answerFile(QString::fromStdString(dir.file("missing/评估.pdf")));
  test::child<QPushButton>(window, "导出PDF").click();
  ASSERT_FALSE(prompter.log.isEmpty());
  EXPECT_TRUE(prompter.log.back().startsWith("error: PDF 文件无法保存：")) << prompter.log.back().toStdString();
}

TEST_F(AssessmentWindowTest, ASurveyIsAssessedWholeAndOverTheRangeOfItsPanel) {
  // The two minutes as two files of a 10 kV line without transformers (its voltages a hundred times
  // those of the 100 V supply), the dip at the end of the first and the start of the second.
  test::TempDir dir;
  auto writePart = [&](const std::string& name, int begin, int end) {
    RecordStore part;
    part.resetDefaults();
    part.voltageLevelCode = 3;
    part.ptRatio = 1;
    part.fileName = dir.file(name);
    for (int i = begin; i < end; ++i) {
      MeasurementRecord r = store.record(i);
      for (int cell = cells::uaRms; cell < cells::ucRms + 3; ++cell) r.setValue(cell, r.value(cell) * 100);
      EXPECT_TRUE(part.append(r));
    }
    EXPECT_TRUE(rewriteRecordFile(part));
    return part.fileName;
  };
  const std::vector<std::string> files = {writePart("b.bin", 32, 120), writePart("a.bin", 0, 32)};
  QuietSurveyListener quiet;
  const auto survey = assessSurvey(planSurvey(files), quiet, AssessmentLimits{}, "");
  ASSERT_TRUE(survey);
  std::vector<TimeWindow> windowsRead;

  AssessmentWindow window(
      {survey->heading, epochSeconds({2010, 4, 19, 10, 0, 0}), epochSeconds({2010, 4, 19, 10, 1, 59}),
       [&](const AssessmentLimits& limits, const std::string& name) {
         return reassessSurvey(*survey, limits, name);
       },
       [&](const AssessmentLimits& limits, const std::string& name, const TimeWindow& part,
           QWidget*) -> std::optional<AssessmentResult> {
         windowsRead.push_back(part);
         SurveyPlan plan = planSurvey(files);
         plan.from = part.from;
         plan.to = part.to;
         auto assessed = assessSurvey(plan, quiet, limits, name);
         if (!assessed) return std::nullopt;
         return assessed->result;
       }},
      prompter, clock, AssessmentWindow::EventsTab);
  test::showActive(window);
  EXPECT_TRUE(window.panel().isVisible());
  EXPECT_TRUE(windowsRead.empty()) << "the whole survey is judged from what it keeps";
  EXPECT_EQ(window.panel().fields().start().texts,
            (std::array<std::string, 5>{"2010", "4", "19", "10", "0"}));
  EXPECT_EQ(window.panel().fields().end().texts, (std::array<std::string, 5>{"2010", "4", "19", "10", "1"}));
  ASSERT_TRUE(window.result().refusal.empty()) << window.result().refusal;
  EXPECT_EQ(window.result().span.records, 120);
  ASSERT_EQ(window.events().rowCount(), 1);
  const char* expected[] = {"1", "电压暂降", "2010-04-19 10:00:30", "3 s (±1 s)", "A C", "69.28"};
  for (int c = 0; c < 6; ++c) EXPECT_EQ(window.events().item(0, c)->text().toStdString(), expected[c]) << c;
  // The limit set the window loads is the one the survey is judged against.
  EXPECT_FALSE(window.result().setup.limitSetName.empty());
  EXPECT_TRUE(prompter.log.isEmpty()) << prompter.log.join('\n').toStdString();

  // The second minute alone: its 60 records read again, without the dip.
  window.panel().queryCustomRange({{"2010", "4", "19", "10", "1"}}, {{"2010", "4", "19", "10", "1"}});
  ASSERT_EQ(windowsRead.size(), 1u);
  EXPECT_EQ(windowsRead[0].from, epochSeconds({2010, 4, 19, 10, 1, 0}));
  EXPECT_EQ(windowsRead[0].to, epochSeconds({2010, 4, 19, 10, 1, 59}));
  EXPECT_EQ(window.result().span.records, 60);
  EXPECT_EQ(window.events().rowCount(), 0);

  // A day the month does not have is said in the program's words and changes nothing.
  window.panel().queryCustomRange({{"2010", "6", "31", "10", "0"}}, {{"2010", "7", "1", "10", "1"}});
  EXPECT_EQ(prompter.log, QStringList{"message: 查询时间不正确，请重新输入!"});
  EXPECT_EQ(windowsRead.size(), 1u);
  EXPECT_EQ(window.result().span.records, 60);

  // All records again: judged from what the survey keeps.
  for (QRadioButton* radio : window.panel().findChildren<QRadioButton*>())
    if (radio->text() == QStringLiteral("显示全部")) radio->click();
  EXPECT_EQ(window.result().span.records, 120);
  EXPECT_EQ(windowsRead.size(), 1u);
}

}  // namespace
}  // namespace pq
