#include "export/RecordTable.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "aggregation/AggregatedQuantities.h"
#include "aggregation/AggregatedSeries.h"
#include "export/TableFile.h"
#include "records/RecordStore.h"
#include "support/StoreBuilder.h"
#include "support/TempDir.h"

namespace pq {
namespace {

using ::testing::ElementsAre;

// Collects what a table writer is given.
struct TableCopy : TableWriter {
  void numberFormats(const std::vector<std::string>& codes) override { formats = codes; }
  void heading(const std::vector<std::string>& names) override { headings = names; }
  void row(const TableRow& cells) override { rows.push_back(cells); }
  std::vector<std::string> formats;
  std::vector<std::string> headings;
  std::vector<TableRow> rows;
};

std::vector<std::string> identifiers(const std::vector<ExportColumn>& columns) {
  std::vector<std::string> names;
  for (const ExportColumn& column : columns) names.push_back(column.identifier);
  return names;
}

TEST(RecordTable, AggregatedRowsNameTheirQuantitiesAndLeaveNoValueEmpty) {
  AggregatedSeries series;
  series.quantities = {cellQuantity(cells::ubRms), kTotalReactivePowerQuantity, thdQuantity(Uc),
                       harmonicContentQuantity(Ia, 7), fundamentalQuantity(Ib)};
  series.intervals = {{1271671200, 60, false, false}, {1271671260, 37, true, false}};
  const double nan = std::numeric_limits<double>::quiet_NaN();
  series.values = {{57.25, 56.5, 58.5}, {-12.5, -13, -12}, {2.75, 2, 3}, {1.125, 1, 1.5}, {4.5, 4, 5},
                   {57.5, 57, 58},      {nan, nan, nan},   {2.5, 2, 3}, {1.25, 1, 1.5},  {4.75, 4, 5}};
  EXPECT_THAT(identifiers(aggregatedColumns(series, RecordHead())),
              ElementsAre("start", "records", "eventInside", "ubRms", "qTotal", "Uc_thd%", "Ia_7%", "Ib_1"));
  TableCopy copy;
  ASSERT_TRUE(writeAggregatedTable(series, RecordHead(), copy, TableHeadings::Identifiers, {}));
  EXPECT_EQ(copy.headings, identifiers(aggregatedColumns(series, RecordHead())));
  ASSERT_EQ(copy.rows.size(), 2u);
  // 1271671200 is 2010-04-19 10:00:00 on the recording's clock.
  EXPECT_EQ(std::get<CalendarDateTime>(copy.rows[1][0]), (CalendarDateTime{2010, 4, 19, 10, 1, 0}));
  EXPECT_EQ(std::get<long long>(copy.rows[1][1]), 37);
  EXPECT_EQ(std::get<long long>(copy.rows[1][2]), 1);
  EXPECT_EQ(std::get<double>(copy.rows[0][4]), -12.5);
  EXPECT_TRUE(std::holds_alternative<std::monostate>(copy.rows[1][4]));
  EXPECT_EQ(std::get<double>(copy.rows[1][7]), 4.75);
}

TEST(RecordTable, ACancelStopsTheRecordRows) {
  RecordStore store;
  store.resetDefaults();
  for (int i = 0; i < 3000; ++i) test::appendRecord(store, 2010, 4, 19, 10, i / 60 % 60, i % 60);
  TableCopy copy;
  std::vector<std::size_t> asked;
  const bool whole = writeRecordTable(store, {0, 3000}, copy, TableHeadings::Identifiers, [&](std::size_t written) {
    asked.push_back(written);
    return written < 2048;
  });
  EXPECT_FALSE(whole);
  EXPECT_THAT(asked, ElementsAre(1024u, 2048u));
  EXPECT_EQ(copy.rows.size(), 2048u);
  EXPECT_EQ(copy.headings.front(), "index");
}

// The titles people read, with the units of the head's values (kilo units above a voltage ratio of 1),
// and the decimals of each quantity.
TEST(RecordTable, ColumnsTitledInChineseWithUnitsAndDecimals) {
  AggregatedSeries series;
  series.quantities = {cellQuantity(cells::uaRms),  cellQuantity(cells::frequency), cellQuantity(cells::iUnbalance),
                       cellQuantity(cells::pfTotal), kTotalActivePowerQuantity,       kTotalReactivePowerQuantity,
                       thdQuantity(Ub),              harmonicContentQuantity(Ua, 5),  fundamentalQuantity(Ic),
                       harmonicCurrentQuantity(Ic, 23)};
  const auto titled = [](const std::vector<ExportColumn>& columns) {
    std::vector<std::string> texts;
    for (const ExportColumn& column : columns) texts.push_back(column.title + " " + column.numberFormat);
    return texts;
  };
  RecordHead secondary;
  EXPECT_THAT(titled(aggregatedColumns(series, secondary)),
              ElementsAre("起始时间 ", "记录条数 ", "含电压事件 ", "A相电压有效值(V) 0.000", "频率(Hz) 0.00",
                          "电流不平衡度(%) 0.00", "总功率因数 0.000", "三相总有功功率(W) 0.00",
                          "三相总无功功率(Var) 0.00", "Ub 总谐波畸变率(%) 0.00", "Ua 5次谐波含有率(%) 0.00",
                          "Ic 基波(A) 0.000", "Ic 23次谐波(A) 0.000"));
  RecordHead primary;
  primary.ptRatio = 100.0f;
  const std::vector<ExportColumn> kilo = aggregatedColumns(series, primary);
  EXPECT_EQ(kilo[3].title, "A相电压有效值(KV)");
  EXPECT_EQ(kilo[7].title, "三相总有功功率(KW)");

  // The records: the identifiers as the dump has always printed them, each with a title.
  const std::vector<ExportColumn> records = recordColumns(primary);
  ASSERT_EQ(records.size(), 4u + 39u + 6u * 65u + 1u);
  const struct {
    std::size_t column;
    const char* identifier;
    const char* title;
    const char* format;
  } cases[] = {
      {0, "index", "序号", ""},
      {1, "time", "时间", ""},
      {3, "instrumentId", "仪器编号", ""},
      {4, "spare", "备用", ""},
      {5, "uaRms", "A相电压有效值(KV)", "0.000"},
      {14, "iaRms", "A相电流有效值(A)", "0.000"},
      {17, "pA", "A相有功功率(KW)", "0.00"},
      {23, "angleUaIb", "Ua与Ib夹角(°)", "0.00"},
      {27, "frequency", "频率(Hz)", "0.00"},
      {31, "uUnbalance", "电压不平衡度(%)", "0.00"},
      {36, "qA", "A相无功功率(KVar)", "0.00"},
      {42, "pfTotal", "总功率因数", "0.000"},
      {43, "Ua_1", "Ua 基波(KV)", "0.000"},
      {47, "Ua_5", "Ua 5次谐波(KV)", "0.000"},
      {43 + 5 * 65 + 22, "Ic_23", "Ic 23次谐波(A)", "0.000"},
      {433, "sequenceNumber", "记录序号", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.identifier);
    EXPECT_EQ(records[c.column].identifier, c.identifier);
    EXPECT_EQ(records[c.column].title, c.title);
    EXPECT_EQ(records[c.column].numberFormat, c.format);
  }

  // The table takes the formats and the headings asked for.
  RecordStore store;
  store.resetDefaults();
  test::appendRecord(store, 2010, 4, 19, 10, 0, 0);
  TableCopy chinese;
  ASSERT_TRUE(writeRecordTable(store, {0, 1}, chinese, TableHeadings::Chinese, {}));
  EXPECT_EQ(chinese.headings[5], "A相电压有效值(V)");
  EXPECT_EQ(chinese.formats[5], "0.000");
  EXPECT_EQ(chinese.formats.size(), chinese.headings.size());
}

TEST(TableFile, CsvWithAMarkAndWorkbookBySuffix) {
  test::TempDir dir;
  const std::string csvPath = dir.file("数据.csv");
  TableFile csv(csvPath);
  EXPECT_FALSE(csv.isWorkbook());
  ASSERT_TRUE(csv.open()) << csv.error();
  csv.table("x").heading({"时间", "uaRms"});
  csv.table("x").row({CalendarDateTime{2010, 4, 19, 10, 0, 7}, 57.125f});
  ASSERT_TRUE(csv.commit()) << csv.error();
  std::ifstream in(csvPath, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_EQ(text.str(), "\xEF\xBB\xBF时间,uaRms\n2010-04-19 10:00:07,57.125\n");

  EXPECT_TRUE(TableFile(dir.file("a.XLSX")).isWorkbook());
  TableFile refused(dir.file("missing/数据.csv"));
  EXPECT_FALSE(refused.open());
  EXPECT_FALSE(refused.error().empty());
}

TEST(TableFile, AnUncommittedFileLeavesTheOldOneAsItWas) {
  test::TempDir dir;
  const std::string path = dir.file("数据.csv");
  { std::ofstream(path) << "old"; }
  {
    TableFile file(path);
    ASSERT_TRUE(file.open());
    file.table("x").heading({"a"});
  }
  std::ifstream in(path);
  std::string content;
  std::getline(in, content);
  EXPECT_EQ(content, "old");
}

}  // namespace
}  // namespace pq
