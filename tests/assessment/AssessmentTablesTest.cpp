#include "assessment/AssessmentTables.h"

#include <gtest/gtest.h>

#include <cmath>

#include "records/MeasurementRecord.h"

namespace pq {
namespace {

const TableCell kEmpty;

const AssessmentTable& sheet(const std::vector<AssessmentTable>& tables, const std::string& name) {
  for (const AssessmentTable& table : tables)
    if (table.sheet == name) return table;
  ADD_FAILURE() << "no sheet " << name;
  static const AssessmentTable none;
  return none;
}

// A three-wire result put together by hand: one judged line, one without a verdict, a harmonic
// current and a distortion, an unfinished swell, energy without a demand.
AssessmentResult threeWireResult() {
  AssessmentResult r;
  r.setup.supply = {10000, 10, true, false};
  r.setup.recordSeconds = 3;
  r.recordIntervals = {3};
  r.setup.limitSetName = "GB/T 12325-2008";
  r.span = {1374400727, 1374487126, 28000, {{1374400800, 1374401100}, {1374410000, 1374410003}}};
  r.outOfOrder = 2;
  r.undatable = 1;
  IndexAssessment& bc = r.deviation[1].index;
  bc.verdict = Verdict::Pass;
  bc.max = 3.25;
  bc.min = -1.5;
  bc.mean = 0.875;
  bc.p95 = 2.75;
  bc.upperLimit = 7;
  bc.lowerLimit = -7;
  bc.passRate = 97.56;
  r.deviation[1].monitoredMinutes = 41;
  r.deviation[1].minutesOver = 1;
  r.deviation[1].flaggedMinutes = 2;
  r.deviation[0].index.reason = "没有分钟值";
  r.deviation[0].index.upperLimit = 7;
  r.deviation[0].index.lowerLimit = -7;

  HarmonicIndex current{Ic, 7, {}};
  current.index.verdict = Verdict::Fail;
  current.index.max = 5.5;
  current.index.min = 0.25;
  current.index.mean = 1.125;
  current.index.p95 = 4.75;
  current.index.upperLimit = 4.125;
  current.index.passRate = 81.5;
  HarmonicIndex distortion{Ub, 0, {}};
  distortion.index.verdict = Verdict::Pass;
  distortion.index.upperLimit = 4;
  r.harmonics = {distortion, current};

  // 2013-07-21 09:58:47, four records of three seconds.
  r.events.push_back(
      {VoltageEventKind::Swell, 1374400727, 1374400736, 4, 12, 3, {false, true, true}, 11250, 112.5, true});
  r.sarfi = {3, 2, 1, 0};
  r.energy.activeKwh = 12.5;
  r.energy.reactiveKvarh = -3.75;
  return r;
}

const AssessmentHeading kHeading = [] {
  AssessmentHeading h;
  h.station = "城东变";
  h.level = "10KV";
  return h;
}();

TEST(AssessmentTablesTest, NumbersVerdictsTimesAndEmptyCells) {
  const AssessmentResult result = threeWireResult();
  const auto tables = assessmentTables(result, kHeading);
  std::vector<std::string> names;
  for (const AssessmentTable& t : tables) names.push_back(t.sheet);
  EXPECT_EQ(names, (std::vector<std::string>{"概况", "电压偏差", "不平衡度", "频率偏差", "谐波", "电压事件",
                                             "SARFI", "电能"}));
  for (const AssessmentTable& t : tables) {
    for (const TableRow& row : t.rows) EXPECT_EQ(row.size(), t.heading.size()) << t.sheet;
  }

  // The head: a measuring point without a name is an empty cell; the span from 2013-07-21 09:58:47 to
  // 2013-07-22 09:58:46.
  const std::vector<TableRow> overview = {
      {std::string("变（配）电所名称"), std::string("城东变")},
      {std::string("测点名称"), kEmpty},
      {std::string("电压等级"), std::string("10KV")},
      {std::string("开始时间"), CalendarDateTime{2013, 7, 21, 9, 58, 47}},
      {std::string("结束时间"), CalendarDateTime{2013, 7, 22, 9, 58, 46}},
      {std::string("记录条数"), 28000LL},
      {std::string("记录间隔"), std::string("3 s")},
      {std::string("数据缺口"), 2LL},
      {std::string("时间重复的记录"), 0LL},
      {std::string("时间倒序的记录"), 2LL},
      {std::string("时间无效的记录"), 1LL},
      {std::string("限值"), std::string("GB/T 12325-2008")},
  };
  EXPECT_EQ(sheet(tables, "概况").rows, overview);

  const AssessmentTable& deviation = sheet(tables, "电压偏差");
  ASSERT_EQ(deviation.rows.size(), 3u);
  EXPECT_EQ(deviation.rows[0],
            (TableRow{std::string("AB"), kEmpty, kEmpty, kEmpty, kEmpty, 7.0f, -7.0f, 0LL, 0LL, 0LL, 0LL,
                      0LL, kEmpty, std::string("无结论"), std::string("没有分钟值")}));
  EXPECT_EQ(deviation.rows[1], (TableRow{std::string("BC"), 3.25f, -1.5f, 0.875f, 2.75f, 7.0f, -7.0f, 41LL,
                                         1LL, 0LL, 2LL, 0LL, 97.56f, std::string("合格"), kEmpty}));
  EXPECT_EQ(deviation.rows[2][0], TableCell(std::string("CA")));

  const AssessmentTable& harmonics = sheet(tables, "谐波");
  ASSERT_EQ(harmonics.rows.size(), 2u);
  EXPECT_EQ(harmonics.rows[0], (TableRow{std::string("Ub"), std::string("THD"), std::string("%"), kEmpty,
                                         kEmpty, kEmpty, kEmpty, 4.0f, kEmpty, std::string("合格"), kEmpty}));
  EXPECT_EQ(harmonics.rows[1], (TableRow{std::string("Ic"), 7LL, std::string("A"), 5.5f, 0.25f, 1.125f, 4.75f,
                                         4.125f, 81.5f, std::string("不合格"), kEmpty}));

  EXPECT_EQ(sheet(tables, "电压事件").rows,
            (std::vector<TableRow>{{std::string("电压暂升"), std::string("swell"),
                                    CalendarDateTime{2013, 7, 21, 9, 58, 47}, 12LL, std::string("12 s"), 3LL,
                                    std::string("BC CA"), 112.5f, std::string("未结束")}}));
  EXPECT_EQ(sheet(tables, "SARFI").rows, (std::vector<TableRow>{{3LL, 2LL, 1LL, 0LL}}));
  // No energy at all gives no power factor; no quarter hour, no demand and no time of it.
  EXPECT_EQ(sheet(tables, "电能").rows, (std::vector<TableRow>{{12.5f, 0.0f, 0.0f, -3.75f, kEmpty, kEmpty, kEmpty}}));
}

TEST(AssessmentTablesTest, TheTimeOfTheLargestDemand) {
  AssessmentResult result = threeWireResult();
  result.energy.powerFactor = 0.957;
  result.energy.largestDemandKw = 318.25;
  result.energy.largestDemandStart = 1374401700;  // 2013-07-21 10:15:00
  EXPECT_EQ(
      sheet(assessmentTables(result, kHeading), "电能").rows,
      (std::vector<TableRow>{{12.5f, 0.0f, 0.0f, -3.75f, 0.957f, 318.25f, CalendarDateTime{2013, 7, 21, 10, 15, 0}}}));
}

}  // namespace
}  // namespace pq
