#include "assessment/AssessmentTables.h"

#include <cmath>

#include "assessment/AssessmentTexts.h"
#include "export/WorkbookFile.h"
#include "records/MeasurementRecord.h"
#include "timerange/EpochSeconds.h"

namespace pq {

namespace {

// The figures as the JSON output gives them, four-byte floats, so that both show the same digits.
TableCell number(double value) {
  if (std::isnan(value)) return std::monostate{};
  return static_cast<float>(value);
}

TableCell text(const std::string& value) {
  if (value.empty()) return std::monostate{};
  return value;
}

TableCell whole(long long value) { return value; }

TableCell dateTime(std::int64_t epochSeconds) { return calendarOfEpochSeconds(epochSeconds); }

// Maximum, minimum, mean and 95 % value.
void appendStatistics(TableRow& row, const IndexAssessment& index) {
  for (const double value : {index.max, index.min, index.mean, index.p95}) row.push_back(number(value));
}

// Pass rate, verdict and, for an index without one, why.
void appendVerdict(TableRow& row, const IndexAssessment& index) {
  row.push_back(number(index.passRate));
  row.push_back(std::string(verdictText(index.verdict)));
  row.push_back(text(index.judged() ? std::string() : index.reason));
}

AssessmentTable overviewTable(const AssessmentResult& result, const AssessmentHeading& heading) {
  const auto item = [](const char* name, TableCell value) {
    return TableRow{std::string(name), std::move(value)};
  };
  return {"概况",
          {"项目", "内容"},
          {item("变（配）电所名称", text(heading.station)), item("测点名称", text(heading.point)),
           item("电压等级", text(heading.level)), item("开始时间", dateTime(result.span.first)),
           item("结束时间", dateTime(result.span.last)), item("记录条数", whole(result.span.records)),
           item("记录间隔", text(recordIntervalsText(result.recordIntervals))),
           item("数据缺口", whole(static_cast<long long>(result.span.gaps.size()))),
           item("时间重复的记录", whole(result.duplicates)), item("时间倒序的记录", whole(result.outOfOrder)),
           item("时间无效的记录", whole(result.undatable)), item("限值", text(result.setup.limitSetName))}};
}

AssessmentTable deviationTable(const AssessmentResult& result) {
  static constexpr const char* kPhases[] = {"A", "B", "C"};
  static constexpr const char* kLines[] = {"AB", "BC", "CA"};
  AssessmentTable table{"电压偏差",
                        {"相别", "最大值 %", "最小值 %", "平均值 %", "95%值 %", "上限 %", "下限 %",
                         "监测分钟", "超上限分钟", "超下限分钟", "含事件分钟", "停电分钟", "合格率 %", "结论",
                         "说明"},
                        {}};
  for (int phase = 0; phase < 3; ++phase) {
    const VoltageDeviationAssessment& d = result.deviation[phase];
    TableRow row{std::string(result.setup.supply.lineVoltages ? kLines[phase] : kPhases[phase])};
    appendStatistics(row, d.index);
    row.insert(row.end(), {number(d.index.upperLimit), number(d.index.lowerLimit), whole(d.monitoredMinutes),
                           whole(d.minutesOver), whole(d.minutesUnder), whole(d.flaggedMinutes),
                           whole(d.outageMinutes)});
    appendVerdict(row, d.index);
    table.rows.push_back(std::move(row));
  }
  return table;
}

AssessmentTable unbalanceTable(const UnbalanceAssessment& u) {
  AssessmentTable table{"不平衡度",
                        {"指标", "最大值 %", "最小值 %", "平均值 %", "95%值 %", "限值 %", "短时限值 %",
                         "合格率 %", "结论", "说明"},
                        {}};
  for (const auto& [name, index] :
       {std::pair<const char*, const IndexAssessment&>{"电压负序不平衡度", u.voltage},
        {"电流负序不平衡度", u.current}}) {
    TableRow row{std::string(name)};
    appendStatistics(row, index);
    row.insert(row.end(), {number(index.upperLimit), number(index.largestLimit)});
    appendVerdict(row, index);
    table.rows.push_back(std::move(row));
  }
  return table;
}

AssessmentTable frequencyTable(const FrequencyDeviationAssessment& f) {
  TableRow row{std::string("频率偏差")};
  appendStatistics(row, f.index);
  row.push_back(number(f.index.upperLimit));
  row.push_back(whole(f.invalidRecords));
  appendVerdict(row, f.index);
  return {"频率偏差",
          {"指标", "最大值 Hz", "最小值 Hz", "平均值 Hz", "95%值 Hz", "限值 ±Hz", "无效频率记录", "合格率 %",
           "结论", "说明"},
          {std::move(row)}};
}

AssessmentTable harmonicTable(const std::vector<HarmonicIndex>& indices) {
  AssessmentTable table{
      "谐波",
      {"通道", "次数", "单位", "最大值", "最小值", "平均值", "95%值", "限值", "合格率 %", "结论", "说明"},
      {}};
  for (const HarmonicIndex& h : indices) {
    TableRow row{std::string(kChannelNames[h.channel])};
    row.push_back(h.order == 0 ? TableCell(std::string("THD")) : whole(h.order));
    row.push_back(std::string(isVoltageChannel(h.channel) ? "%" : "A"));
    appendStatistics(row, h.index);
    row.push_back(number(h.index.upperLimit));
    appendVerdict(row, h.index);
    table.rows.push_back(std::move(row));
  }
  return table;
}

AssessmentTable sarfiTable(const SarfiCounts& s) {
  return {"SARFI",
          {"SARFI-90", "SARFI-70", "SARFI-50", "SARFI-10"},
          {{whole(s.sarfi90), whole(s.sarfi70), whole(s.sarfi50), whole(s.sarfi10)}}};
}

AssessmentTable energyTable(const EnergySummary& e) {
  // Cell by cell: a brace list of cells with the conditional time makes g++ 12 at -O3 warn falsely
  // (-Wmaybe-uninitialized) about the texts of the cells it copies.
  TableRow row;
  row.reserve(7);
  for (const double value :
       {e.activeKwh, e.laggingKvarh, e.leadingKvarh, e.reactiveKvarh, e.powerFactor, e.largestDemandKw})
    row.push_back(number(value));
  if (!std::isnan(e.largestDemandKw)) {
    row.push_back(dateTime(e.largestDemandStart));
  } else {
    row.emplace_back();
  }
  return {"电能",
          {"有功电能 kWh", "滞后无功电能 kvarh", "超前无功电能 kvarh", "无功电能 kvarh（滞后+|超前|）",
           "加权平均功率因数", "最大需量 kW（15 分钟）", "最大需量起始时间"},
          {std::move(row)}};
}

}  // namespace

AssessmentTable eventTable(const std::vector<VoltageEvent>& events, bool lineVoltages) {
  AssessmentTable table{"电压事件",
                        {"类型", "开始时间", "持续时间 s", "不确定度 ±s", "相别", "残余电压/峰值 %", "说明"},
                        {}};
  for (const VoltageEvent& e : events) {
    table.rows.push_back({std::string(eventKindName(e.kind)), dateTime(e.start), whole(e.durationSeconds),
                          whole(e.intervalSeconds),
                          std::string(eventPhasesText(e, lineVoltages)), number(e.extremePercent),
                          text(e.unfinished ? "未结束" : "")});
  }
  return table;
}

void writeTable(const AssessmentTable& table, WorkbookFile& book) {
  TableWriter& sheet = book.addSheet(table.sheet);
  sheet.heading(table.heading);
  for (const TableRow& row : table.rows) sheet.row(row);
}

std::vector<AssessmentTable> assessmentTables(const AssessmentResult& result,
                                              const AssessmentHeading& heading) {
  return {overviewTable(result, heading),   deviationTable(result),          unbalanceTable(result.unbalance),
          frequencyTable(result.frequency), harmonicTable(result.harmonics),
          eventTable(listedEvents(result), result.setup.supply.lineVoltages),
          sarfiTable(result.sarfi),         energyTable(result.energy)};
}

bool writeAssessmentWorkbook(const std::string& path, const AssessmentResult& result,
                             const AssessmentHeading& heading, std::string& error) {
  WorkbookFile book(path);
  if (book.open()) {
    for (const AssessmentTable& table : assessmentTables(result, heading)) writeTable(table, book);
    if (book.commit()) return true;
  }
  error = book.error();
  return false;
}

}  // namespace pq
