#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "cli/CliRunner.h"
#include "records/RecordFileWriter.h"
#include "records/RecordStore.h"
#include "support/StoreBuilder.h"
#include "support/TempDir.h"

namespace pq {
namespace {

using test::runCli;
using test::TempDir;

const char* const kPhases[] = {"Ua", "Ub", "Uc", "Ia", "Ib", "Ic"};

// The text of the value at `path` in the compact JSON the command writes: each key is looked up after
// the previous one, which is enough for the fixed key order of the report object.
std::string jsonValue(const std::string& document, std::initializer_list<std::string> path) {
  std::size_t at = 0;
  for (const auto& key : path) {
    at = document.find("\"" + key + "\":", at);
    if (at == std::string::npos) return "<missing " + key + ">";
    at += key.size() + 3;
  }
  if (document[at] == '{') return "{...}";
  if (document[at] == '"') return document.substr(at + 1, document.find('"', at + 1) - at - 1);
  return document.substr(at, document.find_first_of(",}", at) - at);
}

double jsonNumber(const std::string& document, std::initializer_list<std::string> path) {
  const std::string text = jsonValue(document, path);
  char* end = nullptr;
  const double value = std::strtod(text.c_str(), &end);
  EXPECT_TRUE(end != text.c_str() && *end == '\0') << text;
  return value;
}

// Twenty records a minute apart from 2010-04-19 15:00 in a file of the 10 kV level without
// transformers (values in V and A, nominal voltage 10000 V). Every phase carries the same values:
// phase voltages 5800 V, third harmonic content cycling 1..5 %, frequency 50.1 Hz but 50.3 Hz in
// record 7, unbalance 1 % but 3 % in record 7, fluctuation 200 V; currents of 100 A with a fifth
// harmonic of 10 + i A in record i.
class ReportCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RecordStore store;
    store.fileName = file;
    store.voltageLevelCode = 3;
    for (int i = 0; i < 20; ++i) {
      MeasurementRecord& r = test::appendRecord(store, 2010, 4, 19, 15, i);
      for (int phase = 0; phase < 3; ++phase) {
        r.setValue(cells::uaRms + 3 * phase, 5800.0f);
        r.setValue(cells::uaMax + 3 * phase, 5900.0f);
        r.setValue(cells::uaMin + 3 * phase, 5700.0f);
        r.setValue(cells::harmonic(phase, 1), 5800.0f);
        r.setValue(cells::harmonic(phase, 3), 58.0f * static_cast<float>(i % 5 + 1));
        r.setValue(cells::harmonic(phase + 3, 1), 100.0f);
        r.setValue(cells::harmonic(phase + 3, 5), static_cast<float>(10 + i));
      }
      r.setValue(cells::frequency, i == 7 ? 50.3f : 50.1f);
      r.setValue(cells::uPositive, 5800.0f);
      r.setValue(cells::uNegative, i == 7 ? 174.0f : 58.0f);
    }
    ASSERT_TRUE(rewriteRecordFile(store));
  }

  std::string report(const std::string& phase, std::vector<std::string> options = {}) {
    std::vector<std::string> args = {"report", file, "--phase", phase, "--json", json};
    args.insert(args.end(), options.begin(), options.end());
    const auto result = runCli(args);
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.err, "");
    const auto bytes = test::readBytes(json);
    return std::string(bytes.begin(), bytes.end());
  }

  TempDir dir;
  std::string file = dir.file("r.bin");
  std::string json = dir.file("r.json");
};

TEST_F(ReportCommandTest, VoltageReportsOfEveryPhase) {
  for (int phase = 0; phase < 3; ++phase) {
    const std::string out = report(kPhases[phase], {"--level", "10KV"});
    SCOPED_TRACE(kPhases[phase]);
    EXPECT_EQ(jsonValue(out, {"phase"}), kPhases[phase]);
    EXPECT_EQ(jsonValue(out, {"title"}), std::string("电能质量统计报表（") + "ABC"[phase] + "相电压）");
    EXPECT_EQ(jsonValue(out, {"sampleCount"}), "20");
    EXPECT_EQ(jsonValue(out, {"startTimeText"}), "2010-4-19 15:0:00");
    EXPECT_EQ(jsonValue(out, {"endTimeText"}), "2010-4-19 15:19:59");
    EXPECT_EQ(jsonValue(out, {"rangeEnd"}), "20");
    EXPECT_EQ(jsonValue(out, {"oddHarmonicLimit"}), "3.2");
    EXPECT_EQ(jsonValue(out, {"evenHarmonicLimit"}), "1.6");
    EXPECT_EQ(jsonValue(out, {"thdLimit"}), "4");
    EXPECT_EQ(jsonValue(out, {"deviationLimitText"}), "±5.00%");  // UN 10000 V
    EXPECT_EQ(jsonValue(out, {"harmonicCurrentLimit", "2"}), "0");

    EXPECT_EQ(jsonValue(out, {"fundamental", "max"}), "5800");
    EXPECT_EQ(jsonValue(out, {"fundamental", "passRate"}), "null");
    EXPECT_NEAR(jsonNumber(out, {"lineFundamental", "max"}), 5800 * std::sqrt(3.0), 1e-3);
    // The sum of twenty such values in four-byte floats loses a few thousandths.
    EXPECT_NEAR(jsonNumber(out, {"lineFundamental", "avg"}), 5800 * std::sqrt(3.0), 1e-2);
    EXPECT_NEAR(jsonNumber(out, {"harmonic", "3", "max"}), 5, 1e-5);
    EXPECT_NEAR(jsonNumber(out, {"harmonic", "3", "min"}), 1, 1e-5);
    EXPECT_NEAR(jsonNumber(out, {"harmonic", "3", "avg"}), 3, 1e-5);
    EXPECT_NEAR(jsonNumber(out, {"harmonic", "3", "p95"}), 5, 1e-5);
    EXPECT_EQ(jsonValue(out, {"harmonic", "3", "passRate"}), "60");  // 1, 2, 3 within 3.2 %
    EXPECT_EQ(jsonValue(out, {"harmonic", "2", "passRate"}), "100");
    EXPECT_EQ(jsonValue(out, {"thd", "passRate"}), "80");  // 5 % is over 4 %
    EXPECT_NEAR(jsonNumber(out, {"deviation", "max"}), (5800 * std::sqrt(3.0) - 10000) / 100, 1e-4);
    EXPECT_EQ(jsonValue(out, {"deviation", "passRate"}), "100");
    EXPECT_NEAR(jsonNumber(out, {"unbalance", "max"}), 3, 1e-5);
    EXPECT_EQ(jsonValue(out, {"unbalance", "passRate"}), "95");
    EXPECT_NEAR(jsonNumber(out, {"fluctuation", "min"}), 2, 1e-5);
    EXPECT_EQ(jsonValue(out, {"fluctuation", "passRate"}), "null");
    EXPECT_NEAR(jsonNumber(out, {"frequencyDeviation", "max"}), 0.3, 1e-5);
    EXPECT_NEAR(jsonNumber(out, {"frequencyDeviation", "min"}), 0.1, 1e-5);
    EXPECT_EQ(jsonValue(out, {"frequencyDeviation", "passRate"}), "95");
  }
}

TEST_F(ReportCommandTest, CurrentReportsOfEveryPhase) {
  for (int phase = 3; phase < 6; ++phase) {
    const std::string out = report(kPhases[phase], {"--level", "10KV", "--min-sc", "182", "--agreed", "150"});
    SCOPED_TRACE(kPhases[phase]);
    EXPECT_EQ(jsonValue(out, {"title"}), std::string("电能质量统计报表（") + "ABC"[phase - 3] + "相电流）");
    // A current report in a fresh process shows no voltage limits and no voltage-only statistics.
    EXPECT_EQ(jsonValue(out, {"oddHarmonicLimit"}), "0");
    EXPECT_EQ(jsonValue(out, {"deviationLimitText"}), "");
    EXPECT_EQ(jsonValue(out, {"deviation"}), "<missing deviation>");
    EXPECT_EQ(jsonValue(out, {"lineFundamental"}), "<missing lineFundamental>");
    // 1.82 x 20 A x 1.25^(1/1.2) and 1.82 x 26 A x 1.25^(1/2).
    EXPECT_NEAR(jsonNumber(out, {"harmonicCurrentLimit", "5"}), 36.4 * std::pow(1.25, 1 / 1.2), 1e-4);
    EXPECT_NEAR(jsonNumber(out, {"harmonicCurrentLimit", "2"}), 52.9054, 1e-4);
    EXPECT_EQ(jsonValue(out, {"fundamental", "avg"}), "100");
    EXPECT_EQ(jsonValue(out, {"harmonic", "5", "max"}), "29");
    EXPECT_EQ(jsonValue(out, {"harmonic", "5", "min"}), "10");
    EXPECT_EQ(jsonValue(out, {"harmonic", "5", "avg"}), "19.5");
    EXPECT_EQ(jsonValue(out, {"harmonic", "5", "p95"}), "29");
    EXPECT_EQ(jsonValue(out, {"harmonic", "5", "passRate"}), "100");
    EXPECT_NEAR(jsonNumber(out, {"thd", "max"}), 29, 1e-4);
    EXPECT_EQ(jsonValue(out, {"thd", "passRate"}), "null");
  }
}

TEST_F(ReportCommandTest, SpanOfNineteenRecordsHasNoNinetyFivePercentValues) {
  const std::string out = report("Ua", {"--from", "2010-4-19 15:0", "--to", "2010-04-19 15:18"});
  EXPECT_EQ(jsonValue(out, {"sampleCount"}), "19");
  EXPECT_EQ(jsonValue(out, {"harmonic", "3", "p95"}), "null");
  EXPECT_EQ(jsonValue(out, {"deviation", "p95"}), "null");
  EXPECT_EQ(jsonValue(out, {"oddHarmonicLimit"}), "3.2");  // the file's level code 3 fills in 10KV
}

TEST_F(ReportCommandTest, RefusalsAndUsageErrors) {
  struct Case {
    std::vector<std::string> args;
    int status;
    const char* err;  // the first line of stderr
  };
  const Case cases[] = {
      {{"--phase", "Ia", "--agreed", ""}, 3, "请先输入相关参数值!"},
      {{"--phase", "Ua", "--level", ""}, 3, "请选择电压等级!"},
      {{"--phase", "Ia", "--agreed", "abc"}, 3, "'abc' is not a valid floating point value"},
      {{"--phase", "Ua", "--from", "2010-4-19 16:0", "--to", "2010-4-19 15:0"},
       3,
       "终止时间必须大于开始时间，请重新输入。"},
      {{"--phase", "Ua", "--from", "2010-4-18 0:0", "--to", "2010-4-18 23:59"},
       3,
       "该时间段记录个数为零，请重新输入时间。"},
      {{"--phase", "Ua", "--from", "2010-4-19 24:0"}, 3, "不合法的小时。请重新输入'0-23'。"},
      {{"--phase", "Ua", "--to", "2010-2-30 0:0"}, 3, "'2010-2-30 0:0:59' is not a valid date and time"},
      {{"--phase", "Ua", "--from", "2010-4-19"}, 2, "--from must look like \"YYYY-M-D H:M\""},
      {{"--phase", "Uab"}, 2, "--phase must be one of Ua Ub Uc Ia Ib Ic"},
      {{}, 2, "missing --phase"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args = {"report", file};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const auto result = runCli(args);
    EXPECT_EQ(result.status, c.status) << c.err;
    EXPECT_EQ(result.err.substr(0, result.err.find('\n')), c.err);
  }
  const auto missing = runCli({"report", dir.file("none.bin"), "--phase", "Ua", "--json", json});
  EXPECT_EQ(missing.status, 3);
  EXPECT_EQ(missing.err, "文件空。\n");
  EXPECT_TRUE(dir.entries().size() == 1);  // no JSON written
}

TEST_F(ReportCommandTest, DateFieldsFilledFromTheRecordsAreNotCheckedAsTyped) {
  // The window checks a date field only when the operator leaves it: the start fields filled from a
  // first record stamped in month 0x13 reach the report button unchecked, and the start text then
  // fails to convert.
  RecordStore store;
  store.fileName = file;
  test::setTimeBytes(test::appendRecord(store, 2010, 4, 19, 15, 0), {0x10, 0x13, 0x19, 0x15, 0x00, 0x00});
  test::appendRecord(store, 2010, 4, 19, 15, 1);
  ASSERT_TRUE(rewriteRecordFile(store));
  const auto result = runCli({"report", file, "--phase", "Ua", "--level", "10KV"});
  EXPECT_EQ(result.status, 3);
  EXPECT_EQ(result.err, "'2010-13-19 15:0:00' is not a valid date and time\n");
  // Typed fields are checked as the window checks them.
  EXPECT_EQ(runCli({"report", file, "--phase", "Ua", "--from", "2010-13-19 15:0"}).err,
            "不合法的月份。请重新输入'1-12'。\n");
}

TEST_F(ReportCommandTest, GeneratedFileReportsOfAllPhases) {
  const std::string generated = dir.file("g.bin");
  ASSERT_EQ(runCli({"generate", generated, "--records", "1440"}).status, 0);
  file = generated;
  for (const char* phase : kPhases) {
    const std::string out = report(phase);
    SCOPED_TRACE(phase);
    EXPECT_EQ(jsonValue(out, {"sampleCount"}), "1440");
    EXPECT_EQ(jsonValue(out, {"endTimeText"}), "2010-4-20 15:38:59");
    const bool voltage = phase[0] == 'U';
    // Level code 3 (10 kV, UN 10 kV behind a PT of 100); capacities 100, 120, 120 MVA from the head.
    EXPECT_EQ(jsonValue(out, {"thdLimit"}), voltage ? "4" : "0");
    EXPECT_EQ(jsonValue(out, {"deviationLimitText"}), voltage ? "±7.00%" : "");
    EXPECT_EQ(jsonValue(out, {"harmonicCurrentLimit", "2"}), voltage ? "0" : "26");
    EXPECT_EQ(jsonValue(out, {"harmonicCurrentLimit", "25"}), voltage ? "0" : "4.1");
    EXPECT_NE(jsonValue(out, {"harmonic", "25", "p95"}), "null");
  }
}

}  // namespace
}  // namespace pq
