#include "assessment/AssessmentPages.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "assessment/VerdictSummary.h"
#include "timerange/EpochSeconds.h"

namespace pq {
namespace {

using ::testing::ElementsAre;

// The texts of the pages row by row: texts whose tops are equal, left to right.
std::vector<std::vector<std::string>> rowsOf(const std::vector<ReportPage>& pages) {
  std::vector<std::vector<std::string>> rows;
  for (const ReportPage& page : pages) {
    std::map<int, std::map<int, std::string>> byY;
    for (const PageText& t : page.texts()) byY[t.y][t.x] = t.text;
    for (const auto& [y, byX] : byY) {
      std::vector<std::string> row;
      for (const auto& [x, text] : byX) row.push_back(text);
      rows.push_back(row);
    }
  }
  return rows;
}

// The row whose first texts are `start`.
std::vector<std::string> rowStarting(const std::vector<std::vector<std::string>>& rows,
                                     const std::vector<std::string>& start) {
  for (const auto& row : rows)
    if (row.size() >= start.size() && std::equal(start.begin(), start.end(), row.begin())) return row;
  return {};
}

IndexAssessment judged(double max, double min, double mean, double p95, double upper, double rate, Verdict v) {
  IndexAssessment i;
  i.max = max;
  i.min = min;
  i.mean = mean;
  i.p95 = p95;
  i.upperLimit = upper;
  i.passRate = rate;
  i.verdict = v;
  i.method = "方法 " + std::to_string(upper);
  return i;
}

class AssessmentPagesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    result.setup.limitSetName = "GB/T 12325-2008 等";
    result.setup.recordSeconds = 1;
    result.span = {epochSeconds({2010, 4, 19, 10, 0, 0}), epochSeconds({2010, 4, 19, 10, 59, 59}), 3593,
                   {{epochSeconds({2010, 4, 19, 10, 31, 7}), epochSeconds({2010, 4, 19, 10, 31, 15})}}};
    for (int phase = 0; phase < 3; ++phase) {
      VoltageDeviationAssessment& d = result.deviation[phase];
      d.index = judged(6.815 + phase, -4.25 - phase, 1.125, 5.55 + phase, 7, 83.3333 + phase, Verdict::Fail);
      d.index.lowerLimit = -7;
      d.monitoredMinutes = 60 - phase;
      d.minutesOver = 5 + phase;
      d.minutesUnder = 4;
    }
    result.unbalance.voltage = judged(2.875, 0.125, 0.75, 1.4375, 2, 97.5, Verdict::Pass);
    result.unbalance.voltage.largestLimit = 4;
    result.unbalance.current.max = 11.5;
    result.frequency.index = judged(0.0625, -0.04296875, 0.003, 0.05, 0.2, 100, Verdict::Pass);
    result.harmonics.push_back({Ub, 5, judged(3.3125, 0.5, 1.75, 2.6875, 3.2, 96.25, Verdict::Pass)});
    result.harmonics.push_back({Ic, 7, judged(14.25, 1.5, 5.5, 12.125, 12.4, 93.75, Verdict::Fail)});
    IndexAssessment noVerdict;
    noVerdict.reason = "可判断的值少于20个，没有95%概率值，无法判断。";
    result.harmonics.push_back({Ua, 0, noVerdict});
    result.events.push_back({VoltageEventKind::Dip, epochSeconds({2010, 4, 19, 10, 20, 5}), 0, 3, 3, 1,
                             {true, false, true}, 0, 61.25, false});
    result.events.push_back({VoltageEventKind::Interruption, epochSeconds({2010, 4, 19, 10, 40, 0}), 0, 5, 5, 1,
                             {true, true, true}, 0, 4.5, true});
    result.sarfi = {2, 2, 1, 1};
    result.energy.activeKwh = 100.0004;
    result.energy.reactiveKvarh = 48.43;
    result.energy.powerFactor = 0.8999;
    result.energy.largestDemandKw = 101.25;
    result.energy.largestDemandStart = epochSeconds({2010, 4, 19, 10, 15, 0});
  }

  AssessmentResult result;
  AssessmentHeading heading = [] {
    AssessmentHeading h;
    h.station = "城东变";
    h.point = "1#主变进线";
    h.level = "10KV";
    return h;
  }();
};

TEST_F(AssessmentPagesTest, EveryIndexLandsInItsRow) {
  const auto rows = rowsOf(assessmentPages(result, heading));
  EXPECT_THAT(rowStarting(rows, {"B"}), ElementsAre("B", "7.82", "-5.25", "1.13", "6.55", "+7.00/-7.00", "59", "6",
                                                    "4", "84.33", "不合格"));
  EXPECT_THAT(rowStarting(rows, {"电压负序不平衡度 %"}),
              ElementsAre("电压负序不平衡度 %", "2.88", "0.13", "0.75", "1.44", "2.00 / 4.00", "97.50", "合格"));
  EXPECT_THAT(rowStarting(rows, {"电流负序不平衡度 %"}),
              ElementsAre("电流负序不平衡度 %", "11.50", "—", "—", "—", "—", "—", "无结论"));
  EXPECT_THAT(rowStarting(rows, {"频率偏差 Hz"}),
              ElementsAre("频率偏差 Hz", "0.063", "-0.043", "0.003", "0.050", "±0.200", "100.00", "合格"));
  // "*" marks a value over its limit.
  EXPECT_THAT(rowStarting(rows, {"5"}), ElementsAre("5", "2.69", "3.20"));
  EXPECT_THAT(rowStarting(rows, {"7"}), ElementsAre("7", "12.13*", "12.40"));
  EXPECT_THAT(rowStarting(rows, {"1", "电压暂降"}),
              ElementsAre("1", "电压暂降", "2010-04-19 10:20:05", "3 s (±1 s)", "A C", "61.25"));
  EXPECT_THAT(rowStarting(rows, {"2", "短时中断（未结束）"}), ElementsAre("2", "短时中断（未结束）", "2010-04-19 10:40:00",
                                                    "5 s (±1 s)", "A B C", "4.50"));
  EXPECT_THAT(rowStarting(rows, {"有功电能 kWh"}), ElementsAre("有功电能 kWh", "100.000"));
  EXPECT_THAT(rowStarting(rows, {"加权平均功率因数"}), ElementsAre("加权平均功率因数", "0.90", "由有功、无功电能计算"));
  EXPECT_THAT(rowStarting(rows, {"最大需量 kW（15 分钟）"}),
              ElementsAre("最大需量 kW（15 分钟）", "101.250", "2010-04-19 10:15:00 起 15 分钟"));
  // The summary is a paragraph that wraps: its first line.
  EXPECT_TRUE(std::any_of(rows.begin(), rows.end(), [](const auto& row) {
    return row[0].starts_with("电压暂降 1 次，电压暂升 0 次，短时中断 1 次；超过60 s的持续低电压 0 次");
  }));
  EXPECT_FALSE(rowStarting(rows, {"SARFI-90：2，SARFI-70：2，SARFI-50：1，SARFI-10：1。"}).empty());
  EXPECT_FALSE(rowStarting(rows, {"测试时段：2010-04-19 10:00:00 — 2010-04-19 10:59:59"}).empty());
  EXPECT_FALSE(rowStarting(rows, {"变（配）电所名称：城东变"}).empty());
  EXPECT_FALSE(rowStarting(rows, {"2010-04-19 10:31:07 – 10:31:15 无数据"}).empty());
  // Each index's method once under its table, and why an index has no verdict.
  EXPECT_FALSE(rowStarting(rows, {"方法 7.000000"}).empty());
  EXPECT_FALSE(rowStarting(rows, {"无结论：可判断的值少于20个，没有95%概率值，无法判断。"}).empty());
}

TEST_F(AssessmentPagesTest, ThreeWireRowsAreLineVoltagesAndARefusalShowsOnlyWhy) {
  result.setup.supply.lineVoltages = true;
  const auto rows = rowsOf(assessmentPages(result, heading));
  EXPECT_FALSE(rowStarting(rows, {"CA", "8.82"}).empty());
  EXPECT_FALSE(rowStarting(rows, {"2", "短时中断（未结束）", "2010-04-19 10:40:00", "5 s (±1 s)", "AB BC CA"}).empty());

  result.refusal = "所选时间段内没有可评估的记录。";
  result.span = {};
  const std::vector<ReportPage> pages = assessmentPages(result, heading);
  ASSERT_EQ(pages.size(), 1u);
  const auto refused = rowsOf(pages);
  EXPECT_FALSE(rowStarting(refused, {"未能评估：所选时间段内没有可评估的记录。"}).empty());
  EXPECT_TRUE(rowStarting(refused, {"B"}).empty());
}

// The first page: who and what was measured, with what and from which files, and one table that
// judges every index. Phase B alone fails; Ua's distortion has no verdict.
TEST_F(AssessmentPagesTest, TheVerdictTableJudgesEachIndexByTheFigureThatDecides) {
  for (const int phase : {0, 2}) {
    result.deviation[phase].index.passRate = 100;
    result.deviation[phase].index.verdict = Verdict::Pass;
  }
  result.harmonics[1].index.verdict = Verdict::Pass;
  result.deviation[1].index.lowerLimit = -3;
  const std::vector<VerdictRow> rows = verdictRows(result);
  std::vector<std::vector<std::string>> texts;
  for (const VerdictRow& r : rows)
    texts.push_back({r.index, r.standard, r.quantity, r.figure, r.limit, verdictText(r.verdict)});
  const std::string band = "≥100%（+7%/-7%）";
  const std::vector<std::vector<std::string>> expected = {
      {"供电电压偏差 A相", "GB/T 12325", "1分钟值的合格率", "100.00%", band, "合格"},
      {"供电电压偏差 B相", "GB/T 12325", "1分钟值的合格率", "84.33%", "≥100%（+7%/-3%）", "不合格"},
      {"供电电压偏差 C相", "GB/T 12325", "1分钟值的合格率", "100.00%", band, "合格"},
      {"三相电压不平衡度", "GB/T 15543", "10分钟值95%值/最大值", "1.44%/2.88%", "2.00%/4.00%", "合格"},
      {"频率偏差", "GB/T 15945", "10秒值的最大偏差", "0.063 Hz", "±0.200 Hz", "合格"},
      {"谐波电压 Ua", "GB/T 14549", "含有率、THD的95%值", "—", "—", "无结论"},
      {"谐波电压 Ub", "GB/T 14549", "含有率、THD的95%值", "5次 2.69%", "3.20%", "合格"},
      {"谐波电流 Ic", "GB/T 14549", "谐波电流的95%值", "7次 12.13 A", "12.40 A", "合格"},
  };
  EXPECT_EQ(texts, expected);
  EXPECT_EQ(conclusionText(rows), "不合格项：供电电压偏差 B相。无结论项：谐波电压 Ua（原因见各节）。");

  result.setup.supply = {5.7735, 10, false, false};
  result.recordIntervals = {1};
  heading.voltageUnit = "KV";
  heading.ptRatio = 100;
  heading.ctRatio = 40;
  heading.instrument = "0A1B2C3D";
  heading.files = {"0419.bin", "0420.bin"};
  heading.mismatches = {"0420.bin：测量点为“2#”，与 0419.bin 的“1#”不同。"};
  const std::vector<ReportPage> pages = assessmentPages(result, heading);
  const auto first = rowsOf({pages.front()});
  for (const char* line :
       {"电压等级：10KV　标称电压：5.7735 KV（相电压）", "接线方式：三相四线　PT变比：100　CT变比：40",
        "仪器编号：0A1B2C3D", "数据文件：0419.bin、0420.bin", "记录：3593条，记录间隔1 s；数据中断1处，共0.1分钟，明细见文末数据说明",
        "电压事件：电压暂降1次、电压暂升0次、短时中断1次；长时中断0次，停电共0.0分钟", "限值：GB/T 12325-2008 等",
        "不合格项：供电电压偏差 B相。无结论项：谐波电压 Ua（原因见各节）。"})
    EXPECT_FALSE(rowStarting(first, {std::string(line)}).empty()) << line;
  // Every cell of the verdict table whole, none cut to its column.
  for (const VerdictRow& r : rows)
    EXPECT_FALSE(rowStarting(first, {r.index, r.standard, r.quantity, r.figure, r.limit}).empty()) << r.index;
  EXPECT_TRUE(std::any_of(first.begin(), first.end(),
                          [](const auto& row) { return row[0].starts_with("注：本次测试包含头信息与第一个文件不同的文件"); }));
}

// Orders as rows and channels as columns: each kind's limit beside its three channels.
TEST_F(AssessmentPagesTest, TheHarmonicTableHasAnOrderPerRowAndAChannelPerColumn) {
  result.harmonics.push_back({Ua, 5, judged(2.25, 0.5, 1.5, 1.8437, 3.2, 100, Verdict::Pass)});
  result.harmonics.push_back({Uc, 5, judged(4.5, 0.5, 2.5, 3.5, 3.2, 90.5, Verdict::Fail)});
  result.harmonics.push_back({Ia, 7, judged(8.5, 0.5, 4.5, 6.2512, 12.4, 100, Verdict::Pass)});
  const ReportDocument document = assessmentDocument(result, heading);
  const DocumentTable* table = nullptr;
  for (const DocumentBlock& block : document.blocks())
    if (const auto* t = std::get_if<DocumentTable>(&block); t != nullptr && t->columns[0].title == "次数") table = t;
  ASSERT_NE(table, nullptr);
  std::vector<std::string> titles;
  for (const TableColumn& column : table->columns) titles.push_back(column.title);
  EXPECT_THAT(titles, ElementsAre("次数", "Ua %", "Ub %", "Uc %", "限值 %", "Ia A", "Ib A", "Ic A", "限值 A"));
  ASSERT_EQ(table->rows.size(), 25u);
  EXPECT_THAT(table->rows[0], ElementsAre("THD", "—", "", "", "—", "", "", "", ""));
  EXPECT_THAT(table->rows[4], ElementsAre("5", "1.84", "2.69", "3.50*", "3.20", "", "", "", ""));
  EXPECT_THAT(table->rows[6], ElementsAre("7", "", "", "", "", "6.25", "", "12.13*", "12.40"));
  EXPECT_THAT(table->rows[24], ElementsAre("25", "", "", "", "", "", "", "", ""));
}

TEST(PageNumber, DecimalsWithoutANegativeZero) {
  EXPECT_EQ(pageNumber(83.33333, 2), "83.33");
  EXPECT_EQ(pageNumber(-0.001, 2), "0.00");
  EXPECT_EQ(pageNumber(-0.005, 2), "-0.01");
  EXPECT_EQ(pageNumber(std::numeric_limits<double>::quiet_NaN(), 2), "—");
  EXPECT_EQ(pageNumber(std::numeric_limits<double>::infinity(), 3), "—");
}

}  // namespace
}  // namespace pq
