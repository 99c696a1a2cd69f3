#include "survey/ui/SurveyWindow.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <tuple>

#include <QHeaderView>
#include <QPushButton>
#include <QLabel>
#include <QListWidget>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>

#include "assessment/ui/AssessmentWindow.h"
#include "pages/ui/ReportPreview.h"
#include "records/RecordStore.h"
#include "support/GeneratedRecords.h"
#include "support/StoreBuilder.h"
#include "support/TempDir.h"
#include "support/ui/ScriptedPrompter.h"
#include "support/ui/UiTestSupport.h"
#include "survey/SurveyMessages.h"
#include "survey/ui/SurveyTrendPage.h"
#include "timerange/EpochSeconds.h"
#include "timerange/ui/DateRangeFields.h"
#include "timerange/ui/TimeRangePanel.h"

namespace pq {
namespace {

std::int64_t at(int day, int hour, int minute, int second) {
  return epochSeconds({2010, 4, day, hour, minute, second});
}

QStringList rowOf(const QTableWidget& table, int row) {
  QStringList cells;
  for (int column = 0; column < table.columnCount(); ++column) cells << table.item(row, column)->text();
  return cells;
}

QStringList itemsOf(const QListWidget& list) {
  QStringList items;
  for (int i = 0; i < list.count(); ++i) items << list.item(i)->text();
  return items;
}

// Three files as a survey keeps them: a day that runs past midnight, one begun before midnight that
// overlaps it and ends cut off, and one without a dated record.
OpenedSurvey threeFiles(const std::string& folder = "/s") {
  const auto in = [&folder](const char* name) { return folder + "/" + name; };
  OpenedSurvey opened;
  opened.plan.leftOut = {messages::surveySameContent(in("copy.bin"), in("day19.bin"))};
  opened.plan.mismatches = {messages::surveyMismatch(in("day20.bin"), messages::kSurveyMeasuringPoint, "Bay4",
                                                     in("day19.bin"), "Bay3")};
  Survey& survey = opened.assessed.survey;
  survey.identity.substationName = "North7";
  survey.identity.measuringPointName = "Bay3";
  survey.files = {
      {in("day19.bin"), 505, 0, 0, at(19, 15, 39, 0), at(20, 0, 3, 0), 60, {}},
      {in("day20.bin"),
       1437,
       7,
       4,
       at(19, 23, 57, 0),
       at(20, 23, 56, 0),
       60,
       {messages::surveyTruncated(in("day20.bin"), "2010-04-20 23:56:00")}},
      {in("odd.bin"), 2, 2, 0, std::nullopt, std::nullopt, 0, {}},
  };
  survey.gaps = {{at(20, 7, 12, 0), at(20, 7, 14, 0)}, {at(20, 23, 57, 0), at(21, 0, 1, 0)}};
  survey.leftOut = {messages::surveyFileVanished(in("day21.bin"))};
  return opened;
}

TEST(SurveyWindowTest, ShowsFilesDaysGapsAndNotes) {
  ui::ScriptedPrompter prompter;
  test::FixedClock clock{{2010, 4, 21}};
  SurveyWindow window(threeFiles(), prompter, clock);
  EXPECT_EQ(window.windowTitle(), "测量任务");
  EXPECT_EQ(
      test::child<QLabel>(window, "summary").text(),
      "变电站：North7　测量点：Bay3　3 个文件，2010-04-19 15:39:00 至 2010-04-20 23:56:00，计入 1935 条记录");

  QStringList tabs;
  for (int i = 0; i < window.tabs().count(); ++i) tabs << window.tabs().tabText(i);
  EXPECT_EQ(tabs, (QStringList{"文件", "日期", "数据间断（2）", "提示（7）", "趋势"}));

  ASSERT_EQ(window.files().rowCount(), 3);
  EXPECT_EQ(rowOf(window.files(), 0),
            (QStringList{"/s/day19.bin", "2010-04-19 15:39:00", "2010-04-20 00:03:00", "505", "0", ""}));
  EXPECT_EQ(rowOf(window.files(), 1),
            (QStringList{"/s/day20.bin", "2010-04-19 23:57:00", "2010-04-20 23:56:00", "1437", "7",
                         "文件末尾的记录不完整，已读入到 2010-04-20 23:56:00 的记录。"}));
  EXPECT_EQ(rowOf(window.files(), 2), (QStringList{"/s/odd.bin", "-", "-", "2", "2", ""}));

  ASSERT_EQ(window.days().rowCount(), 3);
  EXPECT_EQ(rowOf(window.days(), 0),
            (QStringList{"2010-04-19", "2010-04-19 15:39:00", "2010-04-20 00:03:00", "day19.bin"}));
  // A file begun three minutes before midnight is the next day's.
  EXPECT_EQ(rowOf(window.days(), 1),
            (QStringList{"2010-04-20", "2010-04-19 23:57:00", "2010-04-20 23:56:00", "day20.bin"}));
  EXPECT_EQ(rowOf(window.days(), 2), (QStringList{"-", "-", "-", "odd.bin"}));

  EXPECT_EQ(itemsOf(window.gaps()), (QStringList{"2010-04-20 07:12:00 – 07:14:00 无数据",
                                                 "2010-04-20 23:57:00 – 2010-04-21 00:01:00 无数据"}));
  EXPECT_EQ(itemsOf(window.notes()),
            (QStringList{"/s/copy.bin：与 /s/day19.bin 内容相同，只计一次。",
                         "/s/day20.bin：测量点为“Bay4”，与 /s/day19.bin 的“Bay3”不同。",
                         "/s/day21.bin：文件在打开测量时已不存在，未计入测量。",
                         "/s/day20.bin：4 条记录与前一文件的时间重叠，未计入。",
                         "/s/day20.bin：3 条记录时间重复、倒序或无效，未计入。",
                         "/s/day20.bin：文件末尾的记录不完整，已读入到 2010-04-20 23:56:00 的记录。",
                         "/s/odd.bin：2 条记录时间重复、倒序或无效，未计入。"}));
}

TEST(SurveyWindowTest, ADoubleClickOrEnterOnADayAsksForItsFileOrSaysItIsGone) {
  test::TempDir dir;
  for (const char* name : {"day19.bin", "day20.bin"}) test::writeBytes(dir.file(name), {0x5A});
  ui::ScriptedPrompter prompter;
  test::FixedClock clock{{2010, 4, 21}};
  SurveyWindow window(threeFiles(dir.path()), prompter, clock);
  window.tabs().setCurrentIndex(SurveyWindow::DaysTab);
  test::showActive(window);
  QStringList chosen;
  QObject::connect(&window, &SurveyWindow::dayChosen, [&](const QString& path) { chosen << path; });
  const QString day19 = QString::fromStdString(dir.file("day19.bin"));
  const QString day20 = QString::fromStdString(dir.file("day20.bin"));

  QTableWidget& days = window.days();
  const QPoint second = days.visualItemRect(days.item(1, 3)).center();
  QTest::mouseClick(days.viewport(), Qt::LeftButton, {}, second);
  QTest::mouseDClick(days.viewport(), Qt::LeftButton, {}, second);
  EXPECT_EQ(chosen, QStringList{day20});

  days.setFocus();
  days.setCurrentCell(0, 0);
  QTest::keyClick(&days, Qt::Key_Return);
  EXPECT_EQ(chosen, (QStringList{day20, day19}));
  EXPECT_TRUE(window.isVisible()) << "Enter on a day leaves the window open";
  EXPECT_TRUE(prompter.log.isEmpty());

  // Deleted since the survey was opened: said by its name, and nothing is loaded.
  std::filesystem::remove(day20.toStdString());
  QTest::mouseDClick(days.viewport(), Qt::LeftButton, {}, second);
  EXPECT_EQ(chosen, (QStringList{day20, day19}));
  EXPECT_EQ(prompter.log,
            QStringList{"warning: 载入文件: 文件“" + day20 + "”已不存在（已被删除或移走），无法载入。"});
}

TEST(SurveyWindowTest, AssessesTheWholeSurveyAndExportsItsValues) {
  // Two generated files, 10:00:07 for 50 minutes and 11:00:03 for 20 minutes: a gap between them.
  test::TempDir dir;
  std::vector<std::string> paths;
  for (const auto& [name, hour, minute, second, records] :
       {std::tuple{"a.bin", 10, 0, 7, 3000}, std::tuple{"b.bin", 11, 0, 3, 1200}}) {
    GeneratorOptions options = test::generatedFrom(20, hour, minute, second, records);
    options.intervalSeconds = 1;
    paths.push_back(test::generateFile(dir.file(name), options));
  }
  QuietSurveyListener quiet;
  OpenedSurvey opened;
  opened.plan = planSurvey(paths);
  auto assessed = assessSurvey(opened.plan, quiet, AssessmentLimits{}, "");
  ASSERT_TRUE(assessed);
  opened.assessed = std::move(*assessed);

  ui::ScriptedPrompter prompter;
  test::FixedClock clock{{2010, 4, 21}};
  SurveyWindow window(std::move(opened), prompter, clock);
  test::showActive(window);

  int assessedRecords = 0;
  int partRecords = 0;
  std::array<std::string, 5> trendStart{};
  std::array<std::string, 5> trendEnd{};
  int trendKind = -1;
  test::whenModalShown<AssessmentWindow>([&](AssessmentWindow& assessment) {
    assessedRecords = assessment.result().span.records;
    EXPECT_FALSE(assessment.preview().pages().empty());
    // 10:00:07 to 10:49:59 of the first file, read again.
    assessment.panel().queryCustomRange({{"2010", "4", "20", "10", "0"}}, {{"2010", "4", "20", "10", "49"}});
    partRecords = assessment.result().span.records;

    // An event chosen in the list: the voltage deviation five minutes either side of it.
    test::whenModalShown<QDialog>([&](QDialog& trend) {
      if (auto* page = trend.findChild<survey::SurveyTrendPage*>()) {
        trendStart = page->fields().start().texts;
        trendEnd = page->fields().end().texts;
        trendKind = page->kinds().currentIndex();
        EXPECT_GT(page->trendPage(survey::SurveyTrendPage::DeviationKind).chart().curve(0).data()->size(), 0);
      }
      trend.close();
    });
    emit assessment.eventChosen(at(20, 11, 7, 41), at(20, 11, 7, 43));
    assessment.close();
  });
  test::child<QPushButton>(window, "综合评估").click();
  EXPECT_EQ(assessedRecords, 4200);
  EXPECT_EQ(partRecords, 2993);
  EXPECT_EQ(trendKind, survey::SurveyTrendPage::DeviationKind);
  EXPECT_EQ(trendStart, (std::array<std::string, 5>{"2010", "4", "20", "11", "2"}));
  EXPECT_EQ(trendEnd, (std::array<std::string, 5>{"2010", "4", "20", "11", "12"}));

  // A workbook of everything, or the 1-minute values as CSV: minutes 10:00-10:50 and 11:00-11:20 after
  // the heading.
  const auto fileText = [](const QString& path) {
    const auto bytes = test::readBytes(path.toStdString());
    return std::string(bytes.begin(), bytes.end());
  };
  const QString workbook = QString::fromStdString(dir.file("测量.xlsx"));
  const QString csv = QString::fromStdString(dir.file("分钟.csv"));
  prompter.answerFile(workbook);
  test::child<QPushButton>(window, "导出数据").click();
  prompter.answerFile(csv);
  test::child<QPushButton>(window, "导出数据").click();
  EXPECT_EQ(fileText(workbook).substr(0, 2), "PK");
  const std::string text = fileText(csv);
  EXPECT_EQ(text.substr(0, 3), "\xEF\xBB\xBF");
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1 + 51 + 21);

  prompter.answerFile(QString::fromStdString(dir.file("missing/分钟.csv")));
  test::child<QPushButton>(window, "导出数据").click();
  ASSERT_FALSE(prompter.log.isEmpty());
  EXPECT_TRUE(prompter.log.back().startsWith("error: 数据无法保存：")) << prompter.log.back().toStdString();
}

}  // namespace
}  // namespace pq
