#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>

#include "assessment/AssessmentMessages.h"
#include "cli/CliRunner.h"
#include "records/RecordFileWriter.h"
#include "records/RecordStore.h"
#include "support/DocxReadBack.h"
#include "support/StoreBuilder.h"
#include "support/TempDir.h"
#include "support/XlsxReadBack.h"

namespace pq {
namespace {

using nlohmann::json;
using test::runCli;
using test::TempDir;

// The phase voltage of a 10 kV line in volts: the files below are of level 10 kV without
// transformers, so their cells hold volts and the declared phase voltage is 10000 / sqrt(3) V.
constexpr double kDeclared = 5773.502692;

struct Levels {
  double rms;
  double min;
  double max;
};

// A file of the records of seconds [first, end) after 2010-04-20 10:00:00, one every `step` seconds,
// four-wire, level 10 kV; each phase's cells as `levels(second, phase)` says.
void writeSeconds(const std::string& path, int first, int end, const std::function<Levels(int, int)>& levels,
                  int wiringMode = 1, int step = 1) {
  RecordStore store;
  store.fileName = path;
  store.voltageLevelCode = 3;
  store.ptRatio = 1;
  store.minShortCircuitCapacity = 100;
  store.supplyEquipmentCapacity = 20;
  store.agreedCapacity = 5;
  for (int s = first; s < end; s += step) {
    MeasurementRecord& r =
        test::appendRecord(store, 10, 4, 20, 10 + s / 3600, s / 60 % 60, s % 60, wiringMode);
    for (int phase = 0; phase < 3; ++phase) {
      const Levels l = levels(s, phase);
      r.setValue(cells::uaRms + 3 * phase, static_cast<float>(l.rms));
      r.setValue(cells::uaMax + 3 * phase, static_cast<float>(l.max));
      r.setValue(cells::uaMin + 3 * phase, static_cast<float>(l.min));
    }
    r.setValue(cells::frequency, 49.93f);
    r.setValue(cells::uPositive, static_cast<float>(levels(s, 0).rms));
  }
  ASSERT_TRUE(rewriteRecordFile(store));
}

// The first `seconds` of them.
void writeFile(const std::string& path, int seconds, const std::function<Levels(int, int)>& levels,
               int wiringMode = 1) {
  writeSeconds(path, 0, seconds, levels, wiringMode);
}

// A steady phase voltage `u` with extremes 0.4 % either side, no event.
Levels steady(double u) { return {u, u * 0.996, u * 1.004}; }

// Minutes 0-49 at 10.2 kV (+2 %), 50-54 at 10.8 kV (+8 %), 55-59 at 9.2 kV (-8 %) on every phase.
Levels hourWithTenMinutesOutOfBand(int s, int) {
  const int minute = s / 60;
  return steady((minute < 50 ? 10200 : minute < 55 ? 10800 : 9200) / std::sqrt(3.0));
}

// The cells of a workbook as openpyxl reads them: "SHEET ROW COL" (1-based) to "KIND VALUE".
using WorkbookCells = std::map<std::string, std::string>;
std::optional<WorkbookCells> workbookCells(const std::string& path) {
  const auto lines = test::readBackWorkbook(path);
  if (!lines) return std::nullopt;
  WorkbookCells cells;
  for (const std::string& line : *lines) {
    std::size_t end = 0;
    for (int field = 0; field < 3 && end != std::string::npos; ++field) end = line.find(' ', end + 1);
    if (end == std::string::npos) {
      ADD_FAILURE() << "read-back: " << line;
      continue;
    }
    cells[line.substr(0, end)] = line.substr(end + 1);
  }
  return cells;
}

double cellNumber(const WorkbookCells& cells, const std::string& at) {
  const auto found = cells.find(at);
  if (found == cells.end() || found->second.rfind("number ", 0) != 0) {
    ADD_FAILURE() << at << " is no number";
    return std::nan("");
  }
  return std::stod(found->second.substr(7));
}

std::string fileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

class AssessCommandTest : public ::testing::Test {
 protected:
  json assess(std::vector<std::string> options = {}) {
    std::vector<std::string> args = {"assess", file, "--json", out};
    args.insert(args.end(), options.begin(), options.end());
    const auto result = runCli(args);
    EXPECT_EQ(result.status, 0) << result.err;
    const auto bytes = test::readBytes(out);
    return json::parse(std::string(bytes.begin(), bytes.end()));
  }

  TempDir dir;
  std::string file = dir.file("r.bin");
  std::string out = dir.file("a.json");
};

TEST_F(AssessCommandTest, AnHourOfATenKilovoltLineHasAQualificationRateOf83Point33) {
  writeFile(file, 3600, hourWithTenMinutesOutOfBand);
  const json a = assess();
  EXPECT_EQ(a["span"]["first"], "2010-04-20 10:00:00");
  EXPECT_EQ(a["span"]["last"], "2010-04-20 10:59:59");
  EXPECT_EQ(a["span"]["records"], 3600);
  EXPECT_TRUE(a["span"]["gaps"].empty());
  EXPECT_EQ(a["deviation"]["upperLimit"], 7);
  EXPECT_EQ(a["deviation"]["lowerLimit"], -7);
  for (const char* phase : {"A", "B", "C"}) {
    SCOPED_TRACE(phase);
    const json& p = a["deviation"]["phases"][phase];
    EXPECT_EQ(p["monitoredMinutes"], 60);
    EXPECT_EQ(p["overMinutes"], 5);
    EXPECT_EQ(p["underMinutes"], 5);
    EXPECT_EQ(p["flaggedMinutes"], 0);
    EXPECT_EQ(p["qualificationRate"], 83.33);
    EXPECT_NEAR(p["max"].get<double>(), 8.0, 1e-4);
    EXPECT_NEAR(p["min"].get<double>(), -8.0, 1e-4);
    EXPECT_NEAR(p["p95"].get<double>(), 8.0, 1e-4);
    EXPECT_EQ(p["verdict"], "不合格");
  }
  // The 10-second frequencies are all 0.07 Hz below 50 Hz: within ±0.2 Hz.
  EXPECT_NEAR(a["frequency"]["min"].get<double>(), -0.07, 1e-5);
  EXPECT_EQ(a["frequency"]["limit"], 0.2);
  EXPECT_EQ(a["frequency"]["passRate"], 100);
  EXPECT_EQ(a["frequency"]["verdict"], "合格");
  // Six 10-minute values are too few for a 95 % value: no verdict, and the reason.
  EXPECT_TRUE(a["unbalance"]["p95"].is_null());
  EXPECT_TRUE(a["unbalance"]["verdict"].is_null());
  EXPECT_EQ(a["unbalance"]["reason"], messages::kTooFewFor95Percent);
  EXPECT_EQ(a["unbalance"]["limit"], 2);
  EXPECT_EQ(a["unbalance"]["shortTermLimit"], 4);
  // The 10 kV limits: odd orders 3.2 %, even 1.6 %, distortion 4 %; the 5th harmonic current's 20 A at
  // 100 MVA for the share 5 / 20 MVA: 20 x 0.25^(1/1.2) = 6.2996 A.
  EXPECT_EQ(a["harmonics"]["Ub"]["3"]["limit"], 3.2);
  EXPECT_EQ(a["harmonics"]["Uc"]["24"]["limit"], 1.6);
  EXPECT_EQ(a["harmonics"]["Ua"]["thd"]["limit"], 4);
  EXPECT_NEAR(a["harmonics"]["Ic"]["5"]["limit"].get<double>(), 6.2996, 1e-4);
  EXPECT_EQ(a["harmonics"]["Ia"]["25"]["verdict"], "合格");
  EXPECT_FALSE(a["harmonics"]["Ia"].contains("thd"));
  EXPECT_TRUE(a["events"].empty());
  EXPECT_EQ(a["sarfi"]["90"], 0);
}

TEST_F(AssessCommandTest, TheHourAsWorkbookPagesAndPicture) {
  writeFile(file, 3600, hourWithTenMinutesOutOfBand);
  const std::string book = dir.file("a.xlsx");
  const std::string pdf = dir.file("a.pdf");
  const std::string png = dir.file("a.png");
  const auto result = runCli({"assess", file, "--xlsx", book, "--pdf", pdf, "--png", png});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(result.out, "");  // the data go to stdout only without any output file

  const std::string picture = fileText(png);
  ASSERT_GT(picture.size(), 24u);
  EXPECT_EQ(picture.substr(1, 3), "PNG");
  EXPECT_EQ(static_cast<unsigned char>(picture[18]) << 8 | static_cast<unsigned char>(picture[19]), 794);
  EXPECT_EQ(static_cast<unsigned char>(picture[22]) << 8 | static_cast<unsigned char>(picture[23]), 1123);

  const std::string text = dir.file("a.txt");
  ASSERT_EQ(std::system(("pdftotext -enc UTF-8 '" + pdf + "' '" + text + "'").c_str()), 0);
  const std::string pages = fileText(text);
  for (const char* expected : {"电能质量测试报告", "不合格", "83.33", "2010-04-20 10:00:00"}) {
    EXPECT_NE(pages.find(expected), std::string::npos) << expected;
  }

  const auto cells = workbookCells(book);
  if (!cells) GTEST_SKIP() << "python3-openpyxl is not installed";
  const std::pair<const char*, std::string> expected[] = {
      // The notes first: what was measured when, from which file, and what each sheet holds.
      {"说明 3 2", "text 2010-04-20 10:00:00 – 2010-04-20 10:59:59"},
      {"说明 4 2", "text 1 s"},
      {"说明 5 2", "text " + std::filesystem::path(file).filename().string()},  // the name, as the report gives it
      {"说明 8 1", "text 概况"},
      {"说明 15 1", "text 电能"},
      {"说明 15 2", "text 有功、无功电能，加权平均功率因数，15分钟最大需量及其起始时间"},
      {"概况 2 1", "text 变（配）电所名称"},
      {"概况 2 2", "text XXX"},  // the store's names when none is given
      {"概况 4 2", "text 10KV"},
      {"概况 5 2", "datetime 2010-04-20 10:00:00"},
      {"概况 6 2", "datetime 2010-04-20 10:59:59"},
      {"概况 7 2", "number 3600"},
      {"电压偏差 1 1", "text 相别"},
      {"电压偏差 1 6", "text 上限 %"},
      {"电压偏差 1 14", "text 结论"},
      {"电压偏差 2 1", "text A"},
      {"电压偏差 4 1", "text C"},
      {"电压偏差 2 6", "number 7"},
      {"电压偏差 2 7", "number -7"},
      {"电压偏差 2 8", "number 60"},
      {"电压偏差 2 9", "number 5"},
      {"电压偏差 3 10", "number 5"},
      {"电压偏差 2 11", "number 0"},
      {"电压偏差 2 12", "number 0"},
      {"电压偏差 4 13", "number 83.33"},
      {"电压偏差 2 14", "text 不合格"},
      {"电压偏差 2 15", "empty"},
      // Six 10-minute values: no 95 % value, no verdict, and why.
      {"不平衡度 2 1", "text 电压负序不平衡度"},
      {"不平衡度 2 5", "empty"},
      {"不平衡度 2 6", "number 2"},
      {"不平衡度 2 7", "number 4"},
      {"不平衡度 2 9", "text 无结论"},
      {"不平衡度 2 10", std::string("text ") + messages::kTooFewFor95Percent},
      {"频率偏差 2 6", "number 0.2"},
      {"频率偏差 2 7", "number 0"},
      {"频率偏差 2 8", "number 100"},
      {"频率偏差 2 9", "text 合格"},
      {"频率偏差 2 10", "empty"},
      // Per voltage channel orders 2..25, then the distortion; per current channel orders 2..25.
      {"谐波 26 1", "text Ua"},
      {"谐波 26 2", "text THD"},
      {"谐波 26 8", "number 4"},
      {"谐波 28 1", "text Ub"},
      {"谐波 28 2", "number 3"},
      {"谐波 28 3", "text %"},
      {"谐波 28 8", "number 3.2"},
      {"谐波 74 8", "number 1.6"},
      {"谐波 100 1", "text Ia"},
      {"谐波 100 2", "number 25"},
      {"谐波 100 3", "text A"},
      {"谐波 100 10", "text 合格"},
      {"电压事件 1 3", "text 开始时间"},
      {"SARFI 1 1", "text SARFI-90"},
      {"SARFI 2 1", "number 0"},
      {"电能 1 1", "text 有功电能 kWh"},
      {"电能 2 1", "number 0"},
      {"电能 2 5", "empty"},  // no energy, no power factor
  };
  for (const auto& [at, value] : expected) {
    const auto found = cells->find(at);
    EXPECT_EQ(found == cells->end() ? "(none)" : found->second, value) << at;
  }
  EXPECT_EQ(cells->count("电压事件 2 1"), 0u);
  EXPECT_EQ(cells->count("谐波 149 1"), 0u);
  const auto layout = test::readBackLayout(book);
  ASSERT_TRUE(layout.has_value());
  for (const char* line : {"电压偏差 frozen A2", "电压偏差 format 6 0.00", "电压偏差 format 8 General",
                           "频率偏差 format 6 0.000", "谐波 frozen A2"}) {
    EXPECT_NE(std::find(layout->begin(), layout->end(), line), layout->end()) << line;
  }
  EXPECT_NEAR(cellNumber(*cells, "电压偏差 2 2"), 8.0, 1e-4);
  EXPECT_NEAR(cellNumber(*cells, "电压偏差 3 3"), -8.0, 1e-4);
  EXPECT_NEAR(cellNumber(*cells, "电压偏差 4 4"), 100.0 / 60, 1e-4);  // 50 x 2 % + 5 x 8 % - 5 x 8 %
  EXPECT_NEAR(cellNumber(*cells, "频率偏差 2 3"), -0.07, 1e-5);
  // The 5th harmonic current's limit: 20 A at 100 MVA for the share 5 / 20 MVA.
  EXPECT_NEAR(cellNumber(*cells, "谐波 128 8"), 20 * std::pow(0.25, 1 / 1.2), 1e-4);
}

// Five minutes at 5800 V with four events, residual voltages in % of 5773.50 V:
//  - 10:01:10-13, phase B's minimum at 4100 V (71.014 %): a dip of 4 s;
//  - 10:02:30-31, the maxima of A and C at 6600 V (114.315 %): a swell of 2 s;
//  - 10:03:40-42, every phase's minimum at 300 V (5.196 %): a short interruption of 3 s;
//  - 10:04:20 C's minimum at 5150 V (89.201 %), at 10:04:21 at 5250 V (90.933 %: not yet back at
//    92 %), at 10:04:22 at 5330 V (92.318 %): a dip of 2 s.
Levels withEvents(int s, int phase) {
  Levels l = steady(5800);
  if (s >= 70 && s <= 73 && phase == 1) l.min = 4100;
  if ((s == 150 || s == 151) && phase != 1) l.max = 6600;
  if (s >= 220 && s <= 222) l.min = 300;
  if (phase == 2 && s == 260) l.min = 5150;
  if (phase == 2 && s == 261) l.min = 5250;
  if (phase == 2 && s == 262) l.min = 5330;
  return l;
}

TEST_F(AssessCommandTest, TheHourAsAWordDocumentWhoseVerdictTableAReaderFindsCellForCell) {
  writeFile(file, 3600, hourWithTenMinutesOutOfBand);
  const std::string word = dir.file("a.docx");
  const auto result = runCli({"assess", file, "--docx", word});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out, "");

  const auto lines = test::readBackDocument(word);
  if (!lines) GTEST_SKIP() << "python3-docx is not installed";
  // "cell ROW COLUMN STYLE TEXT" of the first table whose heading row starts with 指标: the verdict table.
  std::map<std::pair<int, int>, std::string> verdicts;
  int tables = 0;
  int verdictTable = -1;
  int pictures = 0;
  for (const std::string& line : *lines) {
    std::istringstream fields(line);
    std::string kind;
    fields >> kind;
    if (kind == "picture") ++pictures;
    if (kind == "table") ++tables;
    if (kind != "cell") continue;
    int row = 0;
    int column = 0;
    fields >> row >> column;
    std::string text;
    std::getline(fields >> std::ws, text);
    // The cell's style, of two words, before its text.
    for (const std::string style : {"Table Heading ", "Table Text "}) {
      if (text.rfind(style, 0) == 0) text.erase(0, style.size());
    }
    // The first such table; the index tables after it start with 指标 too.
    if (row == 0 && column == 0 && text == "指标" && verdictTable == -1) verdictTable = tables;
    if (verdictTable == tables) verdicts[{row, column}] = text;
  }
  ASSERT_NE(verdictTable, -1) << "no verdict table";
  const std::pair<std::pair<int, int>, std::string> expected[] = {
      {{0, 3}, "评判值"},          {{0, 5}, "结论"},
      {{1, 0}, "供电电压偏差 A相"}, {{1, 1}, "GB/T 12325"}, {{1, 3}, "83.33%"}, {{1, 4}, "≥100%（+7%/-7%）"},
      {{1, 5}, "不合格"},          {{3, 0}, "供电电压偏差 C相"}, {{3, 5}, "不合格"},
      {{5, 0}, "频率偏差"},        {{5, 3}, "-0.070 Hz"},  {{5, 4}, "±0.200 Hz"},  {{5, 5}, "合格"},
  };
  for (const auto& [at, text] : expected) {
    EXPECT_EQ(verdicts[at], text) << "row " << at.first << ", column " << at.second;
  }
  // The deviation's two charts and the frequency's at least, each a picture.
  EXPECT_GE(pictures, 3);
}

TEST_F(AssessCommandTest, EventsWithTheirDurationsPhasesAndResidualVoltages) {
  writeFile(file, 300, withEvents);
  const json a = assess();
  struct Expected {
    const char* kind;
    const char* start;
    int seconds;
    const char* phases;
    double residual;
  };
  const Expected expected[] = {
      {"dip", "2010-04-20 10:01:10", 4, "B", 4100 / kDeclared * 100},
      {"swell", "2010-04-20 10:02:30", 2, "A C", 6600 / kDeclared * 100},
      {"interruption", "2010-04-20 10:03:40", 3, "A B C", 300 / kDeclared * 100},
      {"dip", "2010-04-20 10:04:20", 2, "C", 5150 / kDeclared * 100},
  };
  ASSERT_EQ(a["events"].size(), std::size(expected));
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    SCOPED_TRACE(i);
    const json& e = a["events"][i];
    EXPECT_EQ(e["kind"], expected[i].kind);
    EXPECT_EQ(e["start"], expected[i].start);
    EXPECT_EQ(e["durationSeconds"], expected[i].seconds);
    EXPECT_EQ(e["phases"], expected[i].phases);
    EXPECT_NEAR(e["residual"].get<double>(), expected[i].residual, 1e-4);
  }
  EXPECT_NEAR(a["events"][0]["residual"].get<double>(), 71.0141, 1e-4);
  // SARFI-90 counts the three dips and interruptions, SARFI-70 to -10 the interruption only.
  EXPECT_EQ(a["sarfi"], json::parse(R"({"90": 3, "70": 1, "50": 1, "10": 1})"));
  // Minutes 1 to 4 hold an event and are left out of the deviation.
  EXPECT_EQ(a["deviation"]["phases"]["B"]["flaggedMinutes"], 4);
  EXPECT_EQ(a["deviation"]["phases"]["B"]["monitoredMinutes"], 1);

  const std::string csvPath = dir.file("e.csv");
  const auto events = runCli({"events", file, "--csv", csvPath});
  ASSERT_EQ(events.status, 0) << events.err;
  EXPECT_EQ(events.out, "");
  const auto bytes = test::readBytes(csvPath);
  const std::string csv(bytes.begin(), bytes.end());
  // The residuals as the shortest texts of their four-byte floats.
  EXPECT_EQ(csv,
            "\xEF\xBB\xBF"
            "kind,start,durationSeconds,phases,residual\n"
            "dip,2010-04-20 10:01:10,4,B,71.014084\n"
            "swell,2010-04-20 10:02:30,2,A C,114.31535\n"
            "interruption,2010-04-20 10:03:40,3,A B C,5.196152\n"
            "dip,2010-04-20 10:04:20,2,C,89.200615\n");
  // Without --csv the same lines, without the byte-order mark, on stdout.
  EXPECT_EQ(runCli({"events", file}).out, csv.substr(3));
  // Headed in Chinese, each kind also by its name and each duration also as people read it.
  EXPECT_EQ(runCli({"events", file, "--headers", "zh"}).out,
            "类型,类型标识,开始时间,持续时间(s),持续时间,相别,残余电压/峰值(%)\n"
            "电压暂降,dip,2010-04-20 10:01:10,4,4 s,B,71.014084\n"
            "电压暂升,swell,2010-04-20 10:02:30,2,2 s,A C,114.31535\n"
            "短时中断,interruption,2010-04-20 10:03:40,3,3 s,A B C,5.196152\n"
            "电压暂降,dip,2010-04-20 10:04:20,2,2 s,C,89.200615\n");

  // The workbook's events: start times as date-times, numbers as numbers.
  const std::string book = dir.file("e.xlsx");
  ASSERT_EQ(runCli({"assess", file, "--xlsx", book}).status, 0);
  const auto cells = workbookCells(book);
  if (!cells) GTEST_SKIP() << "python3-openpyxl is not installed";
  const std::pair<const char*, const char*> sheetCells[] = {
      {"电压事件 2 1", "text 电压暂降"},
      {"电压事件 2 2", "text dip"},
      {"电压事件 2 3", "datetime 2010-04-20 10:01:10"},
      {"电压事件 2 4", "number 4"},
      {"电压事件 2 5", "text 4 s"},
      {"电压事件 2 6", "number 1"},
      {"电压事件 2 7", "text B"},
      {"电压事件 2 8", "number 71.014084"},
      {"电压事件 2 9", "empty"},
      {"电压事件 3 1", "text 电压暂升"},
      {"电压事件 3 2", "text swell"},
      {"电压事件 3 7", "text A C"},
      {"电压事件 3 8", "number 114.31535"},
      {"电压事件 4 1", "text 短时中断"},
      {"电压事件 4 2", "text interruption"},
      {"电压事件 4 4", "number 3"},
      {"电压事件 5 3", "datetime 2010-04-20 10:04:20"},
      {"电压事件 5 8", "number 89.200615"},
      {"SARFI 2 1", "number 3"},
      {"SARFI 2 2", "number 1"},
      {"SARFI 2 4", "number 1"},
      {"电压偏差 3 11", "number 4"},
  };
  for (const auto& [at, value] : sheetCells) {
    const auto found = cells->find(at);
    EXPECT_EQ(found == cells->end() ? "(none)" : found->second, value) << at;
  }
  EXPECT_EQ(cells->count("电压事件 6 1"), 0u);
}

TEST_F(AssessCommandTest, RecordsOutOfOrderAreReportedAndSkippedAndAPauseIsAGap) {
  // 10:00:00-10:01:59, then 10:00:30 again (out of order), 10:01:59 again (duplicate), then a pause
  // to 10:05:00-10:05:59.
  RecordStore store;
  store.fileName = file;
  store.voltageLevelCode = 3;
  store.ptRatio = 1;
  auto add = [&](int s) {
    MeasurementRecord& r = test::appendRecord(store, 10, 4, 20, 10, s / 60, s % 60);
    for (int phase = 0; phase < 3; ++phase) {
      r.setValue(cells::uaRms + 3 * phase, 5811.0f);
      r.setValue(cells::uaMax + 3 * phase, 5830.0f);
      r.setValue(cells::uaMin + 3 * phase, 5790.0f);
    }
  };
  for (int s = 0; s < 120; ++s) add(s);
  add(30);
  add(119);
  for (int s = 300; s < 360; ++s) add(s);
  ASSERT_TRUE(rewriteRecordFile(store));
  const json a = assess();
  EXPECT_EQ(a["span"]["records"], 180);
  EXPECT_EQ(a["skipped"], json::parse(R"({"duplicates": 1, "outOfOrder": 1, "undatable": 0})"));
  EXPECT_EQ(a["span"]["gaps"],
            json::parse(R"([{"from": "2010-04-20 10:02:00", "to": "2010-04-20 10:04:59"}])"));
  EXPECT_EQ(a["deviation"]["phases"]["A"]["monitoredMinutes"], 3);

  // --from and --to pick the records between them, both ends included.
  const json part = assess({"--from", "2010-04-20 10:01:30", "--to", "2010-04-20 10:05:09"});
  EXPECT_EQ(part["span"]["first"], "2010-04-20 10:01:30");
  EXPECT_EQ(part["span"]["last"], "2010-04-20 10:05:09");
  EXPECT_EQ(part["span"]["records"], 40);
}

TEST_F(AssessCommandTest, ARecordingSplitIntoFilesIsAssessedAsTheWhole) {
  // Split where an interval of every resolution is open and, for the events, inside the swell of
  // 10:02:30-10:02:31; the files are given in the wrong order.
  struct Case {
    const char* what;
    int seconds;
    int split;
    Levels (*levels)(int, int);
  };
  const Case cases[] = {
      {"the hour", 3600, 1801, hourWithTenMinutesOutOfBand},
      {"the events", 300, 151, withEvents},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    writeFile(file, c.seconds, c.levels);
    const json whole = assess();
    const std::string first = dir.file("first.bin");
    const std::string second = dir.file("second.bin");
    writeSeconds(first, 0, c.split, c.levels);
    writeSeconds(second, c.split, c.seconds, c.levels);
    const auto result = runCli({"assess", second, first, "--json", out});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.err, "");
    const auto bytes = test::readBytes(out);
    EXPECT_EQ(json::parse(std::string(bytes.begin(), bytes.end())), whole);

    const auto events = runCli({"events", first, second});
    const auto wholeEvents = runCli({"events", file});
    EXPECT_EQ(events.status, 0) << events.err;
    EXPECT_EQ(events.out, wholeEvents.out);
  }
}

TEST_F(AssessCommandTest, ASurveyRecordedEveryThreeSecondsHasItsNinetyFivePercentValues) {
  // One 3-second value per record, three times what one-second records give: the survey must keep
  // room for all of them rather than leave the 95 % values unknown.
  const std::string first = dir.file("first.bin");
  const std::string second = dir.file("second.bin");
  writeSeconds(first, 0, 900, hourWithTenMinutesOutOfBand, 1, 3);
  writeSeconds(second, 900, 1800, hourWithTenMinutesOutOfBand, 1, 3);
  const auto result = runCli({"assess", first, second, "--json", out});
  ASSERT_EQ(result.status, 0) << result.err;
  const auto bytes = test::readBytes(out);
  const json a = json::parse(std::string(bytes.begin(), bytes.end()));
  EXPECT_EQ(a["span"]["records"], 600);
  EXPECT_NE(a["spanMethod"].get<std::string>().find("记录间隔3 s"), std::string::npos) << a["spanMethod"];
  EXPECT_EQ(a["harmonics"]["Ua"]["3"]["p95"], 0);
  EXPECT_EQ(a["harmonics"]["Ic"]["25"]["verdict"], "合格");
}

TEST_F(AssessCommandTest, ASurveyWithAPauseBetweenItsFilesIsCutToTheRange) {
  // 10:00:00-10:29:59 and 10:45:00-10:59:59: a gap between the files, and a range across it.
  const std::string first = dir.file("first.bin");
  const std::string second = dir.file("second.bin");
  writeSeconds(first, 0, 1800, hourWithTenMinutesOutOfBand);
  writeSeconds(second, 2700, 3600, hourWithTenMinutesOutOfBand);
  const auto result = runCli({"assess", first, second, "--json", out, "--from", "2010-04-20 10:20:00", "--to",
                              "2010-04-20 10:50:00"});
  ASSERT_EQ(result.status, 0) << result.err;
  const auto bytes = test::readBytes(out);
  const json a = json::parse(std::string(bytes.begin(), bytes.end()));
  EXPECT_EQ(a["span"]["first"], "2010-04-20 10:20:00");
  EXPECT_EQ(a["span"]["last"], "2010-04-20 10:50:00");
  EXPECT_EQ(a["span"]["records"], 600 + 301);
  EXPECT_EQ(a["span"]["gaps"],
            json::parse(R"([{"from": "2010-04-20 10:30:00", "to": "2010-04-20 10:44:59"}])"));
  // Minutes 20-29 and 45-49 at +2 %, 50 at +8 %: 16 monitored (the last holds one record), one over.
  EXPECT_EQ(a["deviation"]["phases"]["B"]["monitoredMinutes"], 16);
  EXPECT_EQ(a["deviation"]["phases"]["B"]["overMinutes"], 1);
  EXPECT_EQ(a["deviation"]["phases"]["B"]["qualificationRate"], 93.75);
}

TEST_F(AssessCommandTest, AFolderAloneStandsForTheRecordFilesInIt) {
  // Two files of a survey, the second with a sag, so that the events differ from none.
  const std::filesystem::path folder = dir.file("survey");
  std::filesystem::create_directory(folder);
  const std::string first = (folder / "first.bin").string();
  const std::string second = (folder / "second.bin").string();
  const auto withSag = [](int s, int) {
    const Levels l = hourWithTenMinutesOutOfBand(s, 0);
    return s >= 2000 && s < 2003 ? Levels{l.rms * 0.6, l.rms * 0.5, l.max} : l;
  };
  writeSeconds(first, 0, 1200, withSag);
  writeSeconds(second, 1200, 3600, withSag);
  for (const char* command : {"assess", "events"}) {
    SCOPED_TRACE(command);
    const auto ofFiles = runCli({command, first, second});
    const auto ofFolder = runCli({command, folder.string()});
    ASSERT_EQ(ofFiles.status, 0) << ofFiles.err;
    EXPECT_EQ(ofFolder.status, 0) << ofFolder.err;
    EXPECT_EQ(ofFolder.err, ofFiles.err);
    EXPECT_TRUE(ofFolder.out == ofFiles.out) << ofFolder.out.substr(0, 200);  // a whole JSON is too long to show
  }
  EXPECT_NE(runCli({"events", folder.string()}).out.find("2010-04-20 10:33:20"), std::string::npos);

  const std::string ofFolder = dir.file("folder.json");
  ASSERT_EQ(runCli({"assess", folder.string(), "--json", ofFolder}).status, 0);
  ASSERT_EQ(runCli({"assess", first, second, "--json", out}).status, 0);
  EXPECT_TRUE(fileText(ofFolder) == fileText(out));
}

TEST_F(AssessCommandTest, ThreeWireRecordsAreJudgedOnTheirLineVoltages) {
  // The cells of three-wire records hold the line voltages: 10 350 V is +3.5 % of 10 kV.
  writeFile(
      file, 180, [](int, int) { return steady(10350); }, 3);
  const json a = assess();
  EXPECT_EQ(a["deviation"]["declaredVoltage"], 10000);
  for (const char* line : {"AB", "BC", "CA"}) {
    SCOPED_TRACE(line);
    EXPECT_EQ(a["deviation"]["phases"][line]["monitoredMinutes"], 3);
    EXPECT_NEAR(a["deviation"]["phases"][line]["max"].get<double>(), 3.5, 1e-5);
    EXPECT_EQ(a["deviation"]["phases"][line]["verdict"], "合格");
  }
  EXPECT_FALSE(a["deviation"]["phases"].contains("A"));
}

TEST_F(AssessCommandTest, BadInputIsRefusedWithItsReasonAndNoVerdict) {
  writeFile(file, 120, [](int, int) { return steady(5800); });
  const std::string unknownLevel = dir.file("unknownLevel.bin");
  {
    // Level code 8 names no level: no declared voltage.
    RecordStore store;
    store.fileName = unknownLevel;
    store.voltageLevelCode = 8;
    store.ptRatio = 1;
    test::appendRecord(store, 10, 4, 20, 10, 0, 0).setValue(cells::uaRms, 5800.0f);
    ASSERT_TRUE(rewriteRecordFile(store));
  }
  const std::string damaged = dir.file("damaged.json");
  test::writeBytes(damaged, {'{', '"', 'u'});
  struct Case {
    const char* what;
    std::vector<std::string> args;
    int status;
    std::string err;  // the start of stderr
  };
  const Case cases[] = {
      {"a range after the records",
       {"assess", file, "--from", "2010-04-20 11:00:00"},
       3,
       std::string(messages::kNothingToAssess) + "\n"},
      {"a range before the records",
       {"assess", file, "--to", "2010-04-20 09:59:59"},
       3,
       std::string(messages::kNothingToAssess) + "\n"},
      {"a range ending before it starts",
       {"assess", file, "--from", "2010-04-20 10:01:00", "--to", "2010-04-20 10:00:00"},
       3,
       std::string(messages::kNothingToAssess) + "\n"},
      {"no declared voltage",
       {"assess", unknownLevel},
       3,
       std::string(messages::kCannotAssessWithoutDeclaredVoltage) + "\n"},
      {"events without declared voltage",
       {"events", unknownLevel},
       3,
       std::string(messages::kCannotAssessWithoutDeclaredVoltage) + "\n"},
      {"a time that is no date-time",
       {"assess", file, "--from", "2010-02-30 10:00:00"},
       2,
       "--from must be a date-time"},
      {"several files, none of them there",
       {"assess", dir.file("none1.bin"), dir.file("none2.bin")},
       3,
       dir.file("none1.bin") + "：文件不存在或无法打开，未计入测量。\n"},
      {"a workbook in a missing folder",
       {"assess", file, "--xlsx", dir.file("none/a.xlsx")},
       3,
       dir.file("none/a.xlsx") + ": "},
      {"pages in a missing folder",
       {"assess", file, "--pdf", dir.file("none/a.pdf")},
       3,
       dir.file("none/a.pdf") + ": "},
      {"a picture in a missing folder",
       {"assess", file, "--png", dir.file("none/a.png")},
       3,
       dir.file("none/a.png") + ": "},
      {"a file that cannot be opened", {"assess", dir.file("none.bin")}, 3, "文件空。\n"},
  };
  for (const Case& c : cases) {
    const auto result = runCli(c.args);
    EXPECT_EQ(result.status, c.status) << c.what << ": " << result.err;
    EXPECT_EQ(result.err.substr(0, c.err.size()), c.err) << c.what;
    EXPECT_EQ(result.out, "") << c.what;
  }

  // A damaged limit file is named, and the shipped set judges.
  const auto result = runCli({"assess", file, "--limits", damaged});
  EXPECT_EQ(result.status, 0);
  char message[512];
  std::snprintf(message, sizeof message, messages::kLimitFileNotJson, damaged.c_str());
  EXPECT_EQ(result.err, std::string(message) + "\n");
  const json a = json::parse(result.out);
  EXPECT_EQ(a["deviation"]["upperLimit"], 7);
  EXPECT_EQ(a["deviation"]["phases"]["A"]["verdict"], "合格");
}

TEST_F(AssessCommandTest, AUserCopyOfTheLimitsChangesOnlyItsValues) {
  writeFile(file, 120, [](int, int) { return steady(5800); });
  const std::string limits = dir.file("mine.json");
  const std::string text =
      R"({"voltageDeviation": {"upTo20kV": {"upper": 0.3}}, "frequencyDeviation": {"use": "smallSystem"}})";
  test::writeBytes(limits, std::vector<std::uint8_t>(text.begin(), text.end()));
  const json a = assess({"--limits", limits});
  // 5800 V is 0.459 % above 5773.50 V: over the user's +0.3 %.
  EXPECT_EQ(a["deviation"]["upperLimit"], 0.3);
  EXPECT_EQ(a["deviation"]["lowerLimit"], -7);
  EXPECT_EQ(a["deviation"]["phases"]["C"]["overMinutes"], 2);
  EXPECT_EQ(a["deviation"]["phases"]["C"]["qualificationRate"], 0);
  EXPECT_EQ(a["frequency"]["limit"], 0.5);
}

TEST_F(AssessCommandTest, ADeviationBandTheStandardForbidsStopsTheAssessment) {
  writeFile(file, 120, [](int, int) { return steady(5800); });
  struct Case {
    const char* band;
    std::string member;  // named on stderr
    bool allowed;
  };
  const Case cases[] = {
      {R"("from35kV": {"upper": 8, "lower": -5})", "voltageDeviation.from35kV", false},
      {R"("from35kV": {"upper": 5, "lower": -5})", "", true},  // a sum of just 10 %
      {R"("upTo20kV": {"upper": -1})", "voltageDeviation.upTo20kV.upper", false},
      {R"("singlePhase220V": {"lower": 2})", "voltageDeviation.singlePhase220V.lower", false},
  };
  const std::string limits = dir.file("mine.json");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.band);
    const std::string text = std::string(R"({"voltageDeviation": {)") + c.band + "}}";
    test::writeBytes(limits, std::vector<std::uint8_t>(text.begin(), text.end()));
    const auto result = runCli({"assess", file, "--limits", limits});
    if (c.allowed) {
      EXPECT_EQ(result.status, 0) << result.err;
      EXPECT_EQ(result.err, "");
      continue;
    }
    EXPECT_EQ(result.status, 3);
    EXPECT_TRUE(result.out.empty());
    EXPECT_NE(result.err.find("“" + limits + "”中“" + c.member + "”"), std::string::npos) << result.err;
  }
}

}  // namespace
}  // namespace pq
