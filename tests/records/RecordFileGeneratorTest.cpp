#include "records/RecordFileGenerator.h"

#include <gtest/gtest.h>

#include "records/RecordFileImport.h"
#include "support/RecordingListener.h"
#include "support/TempDir.h"

namespace pq {
namespace {

using test::readBytes;
using test::RecordingListener;
using test::TempDir;

TEST(RecordFileGeneratorTest, SameOptionsSameBytesOtherSeedOtherBytes) {
  TempDir dir;
  GeneratorOptions options;
  options.records = 20;
  std::string error;
  ASSERT_TRUE(generateRecordFile(dir.file("a.bin"), options, error));
  ASSERT_TRUE(generateRecordFile(dir.file("b.bin"), options, error));
  options.seed = 2;
  ASSERT_TRUE(generateRecordFile(dir.file("c.bin"), options, error));
  EXPECT_EQ(readBytes(dir.file("a.bin")), readBytes(dir.file("b.bin")));
  EXPECT_NE(readBytes(dir.file("a.bin")), readBytes(dir.file("c.bin")));
  EXPECT_EQ(readBytes(dir.file("a.bin")).size(), 64u + 20u * 1853u);
}

TEST(RecordFileGeneratorTest, RecordsArePlausibleAndTimesCrossMidnightAndMonths) {
  TempDir dir;
  GeneratorOptions options;
  options.records = 3;
  options.startYear = 2012;
  options.startMonth = 2;
  options.startDay = 29;
  options.startHour = 23;
  options.startMinute = 59;
  options.startSecond = 30;
  options.intervalSeconds = 30;
  options.wiringMode = 3;
  std::string error;
  ASSERT_TRUE(generateRecordFile(dir.file("a.bin"), options, error));

  RecordStore store;
  RecordingListener listener;
  ASSERT_EQ(importRecordFile(store, dir.file("a.bin"), listener), ImportResult::Completed);
  ASSERT_EQ(store.recordCount(), 3);
  EXPECT_EQ(store.recordTimeText(0), "2012- 2-29 23:59:30\n");
  EXPECT_EQ(store.recordTimeText(1), "2012- 3- 1  0: 0: 0\n");
  EXPECT_EQ(store.nominalVoltage, 10);
  EXPECT_EQ(store.record(0).integer(cells::wiringMode), 3);
  // 10 kV line voltage: about 5.77 kV per phase after scaling by the voltage transformer.
  EXPECT_NEAR(store.value(0, cells::uaRms), 5.77, 0.3);
  EXPECT_NEAR(store.value(0, cells::frequency), 50.0, 0.2);
  EXPECT_GT(store.thd(0, Ua), 1.0);
  EXPECT_LT(store.thd(0, Ua), 8.0);
  EXPECT_GT(store.harmonicPercent(0, Ia, 5), 5.0);
}

}  // namespace
}  // namespace pq
