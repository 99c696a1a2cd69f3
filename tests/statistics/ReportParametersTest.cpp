#include "statistics/ReportParameters.h"

#include <gtest/gtest.h>

#include "base/ConversionError.h"
#include "records/RecordStore.h"
#include "support/RecordFileBytes.h"
#include "support/StoreBuilder.h"
#include "support/TempDir.h"

namespace pq {
namespace {

using test::appendRecord;
using Texts = std::array<std::string, 5>;

constexpr char kTooShort[] = "文件太短，请重新保存或打开另一个文件！";

class ReportParametersTest : public ::testing::Test {
 protected:
  RecordStore store;
  ReportParameters parameters;
};

TEST_F(ReportParametersTest, FillFromTheStoreDefaults) {
  parameters.data.reportWindowOpen = true;
  parameters.fillFromStore(store);
  EXPECT_EQ(parameters.stationName, "XXX变电所");
  EXPECT_EQ(parameters.pointName, "XXX线路");
  EXPECT_EQ(parameters.voltageLevelText, "0.38KV");  // code 0 selects the first entry
  EXPECT_EQ(parameters.ptRatioText, "1");
  EXPECT_EQ(parameters.minShortCircuitText, "100.000  ");
  EXPECT_EQ(parameters.agreedCapacityText, "120.000  ");
  EXPECT_EQ(parameters.fileNameText, "");
  EXPECT_EQ(parameters.start.texts, (Texts{"2010", "03", "19", "16", "40"}));  // no records: kept
  EXPECT_FALSE(parameters.data.reportWindowOpen);
}

TEST_F(ReportParametersTest, FillFromAStoreWithRecords) {
  store.substationName = "\xB6\xAB\xBD\xBC";  // 东郊 in GBK
  store.voltageLevelCode = 3;
  store.ptRatio = 100;
  store.ctRatio = 0.5f;
  store.minShortCircuitCapacity = 182;
  store.fileName = "/data/a.bin";
  appendRecord(store, 2010, 3, 19, 16, 40);
  appendRecord(store, 2010, 3, 20, 8, 5);
  parameters.fillFromStore(store);
  EXPECT_EQ(parameters.stationName, "东郊变电所");
  EXPECT_EQ(parameters.voltageLevelText, "10KV");
  EXPECT_EQ(parameters.ptRatioText, "100");
  EXPECT_EQ(parameters.ctRatioText, "0.5");
  EXPECT_EQ(parameters.minShortCircuitText, "182.000  ");
  EXPECT_EQ(parameters.fileNameText, "/data/a.bin");
  EXPECT_EQ(parameters.start.texts, (Texts{"2010", "3", "19", "16", "40"}));
  EXPECT_EQ(parameters.end.texts, (Texts{"2010", "3", "20", "8", "5"}));

  store.voltageLevelCode = 7;  // 220 kV has no entry
  parameters.fillFromStore(store);
  EXPECT_EQ(parameters.voltageLevelText, "");
  EXPECT_EQ(parameters.requestReport({Phase::A, ReportQuantity::Voltage}), "请选择电压等级!");
}

TEST_F(ReportParametersTest, OneDotPerVisitOfTheCapacityFields) {
  std::string text;
  for (char32_t key : {U'1', U'.', U'5', U'.', U'2', U'x', U'-'}) {
    if (parameters.filterCapacityKey(text, key) == KeyAction::Accept) text += static_cast<char>(key);
  }
  EXPECT_EQ(text, "1.52");
  // Deleting the dot does not allow another before the field is left.
  text = "152";
  EXPECT_EQ(parameters.filterCapacityKey(text, U'.'), KeyAction::Drop);
  parameters.capacityFieldLeft();
  EXPECT_EQ(parameters.filterCapacityKey(text, U'.'), KeyAction::Accept);
  EXPECT_EQ(parameters.filterCapacityKey("", kEnterKey), KeyAction::Drop);
  EXPECT_EQ(parameters.filterCapacityKey("1", kEnterKey), KeyAction::Accept);
  EXPECT_EQ(parameters.filterCapacityKey("1", kBackspaceKey), KeyAction::Accept);
}

TEST_F(ReportParametersTest, ReportButtonChecks) {
  struct Case {
    ReportKind kind;
    const char* level;
    const char* agreed;
    const char* refusal;  // "" : the run goes on
  };
  const Case cases[] = {
      {{Phase::A, ReportQuantity::Voltage}, "", "150", "请选择电压等级!"},
      {{Phase::C, ReportQuantity::Voltage}, "10KV", "", ""},  // a voltage report needs only the level
      {{Phase::B, ReportQuantity::Voltage}, "typed text", "150", ""},
      {{Phase::A, ReportQuantity::Current}, "10KV", "", "请先输入相关参数值!"},
      {{Phase::B, ReportQuantity::Current}, "", "150", "请先输入相关参数值!"},
      {{Phase::C, ReportQuantity::Current}, "10KV", "  ", ""},  // blanks are not empty
  };
  for (const auto& c : cases) {
    parameters.voltageLevelText = c.level;
    parameters.agreedCapacityText = c.agreed;
    EXPECT_EQ(parameters.requestReport(c.kind).value_or(""), c.refusal) << c.kind.name() << " " << c.level;
    EXPECT_EQ(parameters.data.kind, c.kind);
  }
}

TEST_F(ReportParametersTest, CheckReportInputs) {
  EXPECT_EQ(parameters.checkReportInputs(store), "记录文件不存在，请打开一个记录文件。");
  parameters.fileNameText = "a.bin";
  parameters.end.texts[2] = "";
  EXPECT_EQ(parameters.checkReportInputs(store), "查询时间不正确，请重新输入!");

  parameters.start.texts = {"2010", "3", "19", "16", "40"};
  parameters.end.texts = {"2010", "3", "19", "16", "40"};
  EXPECT_EQ(parameters.checkReportInputs(store), std::nullopt);  // one minute
  EXPECT_EQ(parameters.data.startTimeText, "2010-3-19 16:40:00");
  EXPECT_EQ(parameters.data.endTimeText, "2010-3-19 16:40:59");

  store.rangeStart = 3;
  store.rangeEnd = 9;
  parameters.end.texts[4] = "39";
  EXPECT_EQ(parameters.checkReportInputs(store), "终止时间必须大于开始时间，请重新输入。");
  EXPECT_EQ(store.rangeStart, 0);
  EXPECT_EQ(store.rangeEnd, 0);

  parameters.end.texts = {"2010", "4", "31", "0", "0"};
  EXPECT_THROW(parameters.checkReportInputs(store), ConversionError);
}

class ReopenRecordFileTest : public ReportParametersTest {
 protected:
  void twoRecords() {
    store.substationName = "S";
    store.measuringPointName = "P";
    store.fileName = "/old.bin";
    appendRecord(store, 2010, 4, 19, 15, 39);
    appendRecord(store, 2010, 4, 19, 15, 40);
  }
  test::TempDir dir;
};

TEST_F(ReopenRecordFileTest, CancelKeepsTheRecordsButNotTheNames) {
  twoRecords();
  EXPECT_TRUE(parameters.reopenRecordFile(store, std::nullopt).empty());
  EXPECT_EQ(store.recordCount(), 2);
  EXPECT_EQ(store.substationName, "");
  EXPECT_EQ(store.measuringPointName, "");
  EXPECT_EQ(store.rangeStart, 0);
  EXPECT_EQ(store.rangeEnd, 1);
  EXPECT_EQ(parameters.fileNameText, "/old.bin");
  EXPECT_EQ(parameters.end.texts, (Texts{"2010", "4", "19", "15", "40"}));

  RecordStore empty;
  EXPECT_EQ(parameters.reopenRecordFile(empty, std::nullopt), std::vector<std::string>{kTooShort});
  EXPECT_EQ(empty.rangeEnd, -1);
}

TEST_F(ReopenRecordFileTest, FileThatCannotBeOpenedLeavesTheStore) {
  twoRecords();
  EXPECT_EQ(parameters.reopenRecordFile(store, dir.file("missing.bin")),
            std::vector<std::string>{"文件空。"});
  EXPECT_EQ(store.recordCount(), 2);
  EXPECT_EQ(store.fileName, "/old.bin");
  RecordStore empty;
  EXPECT_EQ(parameters.reopenRecordFile(empty, dir.path()),
            (std::vector<std::string>{"文件空。", kTooShort}));
}

TEST_F(ReopenRecordFileTest, ReadsTheFileWithItsHead) {
  const std::string path = dir.file("r.bin");
  test::RecordFileBytes().head("\xB6\xAB\xBD\xBC", "PT", 0, 1.0f, 2.0f).frame(1.0f).frame(2.0f).save(path);
  parameters.voltageLevelText = "10KV";
  EXPECT_TRUE(parameters.reopenRecordFile(store, path).empty());
  EXPECT_EQ(store.recordCount(), 2);
  EXPECT_EQ(parameters.stationName, "东郊变电所");
  EXPECT_EQ(parameters.pointName, "PT线路");
  EXPECT_EQ(parameters.voltageLevelText, "");  // code 0 leaves the field empty here
  EXPECT_EQ(parameters.ctRatioText, "2");
  EXPECT_EQ(parameters.supplyCapacityText, "120.000  ");
  EXPECT_EQ(parameters.fileNameText, path);
  EXPECT_EQ(store.rangeEnd, 1);

  test::RecordFileBytes().head("A", "B", 0).save(path);
  EXPECT_EQ(parameters.reopenRecordFile(store, path), std::vector<std::string>{kTooShort});
}

TEST_F(ReopenRecordFileTest, TakesAtMost43200Records) {
  test::RecordFileBytes bytes;
  bytes.head();
  for (int i = 0; i < ReportParameters::kReloadRecordCap + 1; ++i) bytes.frame(static_cast<float>(i));
  const std::string path = dir.file("long.bin");
  bytes.save(path);
  EXPECT_EQ(parameters.reopenRecordFile(store, path), std::vector<std::string>{"文件超长！"});
  EXPECT_EQ(store.recordCount(), 43200);
  EXPECT_EQ(store.value(43199, cells::uaRms), 43199.0f);
}

}  // namespace
}  // namespace pq
