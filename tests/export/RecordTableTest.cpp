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
  void heading(const std::vector<std::string>& names) override { headings = names; }
  void row(const TableRow& cells) override { rows.push_back(cells); }
  std::vector<std::string> headings;
  std::vector<TableRow> rows;
};

TEST(RecordTable, AggregatedRowsNameTheirQuantitiesAndLeaveNoValueEmpty) {
  AggregatedSeries series;
  series.quantities = {cellQuantity(cells::ubRms), kTotalReactivePowerQuantity, thdQuantity(Uc),
                       harmonicContentQuantity(Ia, 7), fundamentalQuantity(Ib)};
  series.intervals = {{1271671200, 60, false, false}, {1271671260, 37, true, false}};
  const double nan = std::numeric_limits<double>::quiet_NaN();
  series.values = {{57.25, 56.5, 58.5}, {-12.5, -13, -12}, {2.75, 2, 3}, {1.125, 1, 1.5}, {4.5, 4, 5},
                   {57.5, 57, 58},      {nan, nan, nan},   {2.5, 2, 3}, {1.25, 1, 1.5},  {4.75, 4, 5}};
  EXPECT_THAT(aggregatedColumnNames(series),
              ElementsAre("start", "records", "eventInside", "ubRms", "qTotal", "Uc_thd%", "Ia_7%", "Ib_1"));
  TableCopy copy;
  ASSERT_TRUE(writeAggregatedTable(series, copy, {}));
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
  const bool whole = writeRecordTable(store, {0, 3000}, copy, [&](std::size_t written) {
    asked.push_back(written);
    return written < 2048;
  });
  EXPECT_FALSE(whole);
  EXPECT_THAT(asked, ElementsAre(1024u, 2048u));
  EXPECT_EQ(copy.rows.size(), 2048u);
  EXPECT_EQ(copy.headings.front(), "index");
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
