#include "archive/SurveyArchiving.h"

#include <gtest/gtest.h>

#include <bit>

#include "archive/ArchiveQueries.h"
#include "archive/ArchiveSchema.h"
#include "archive/PostgresConnection.h"
#include "archive/PostgresServer.h"
#include "archive/SqliteConnection.h"
#include "support/GeneratedRecords.h"
#include "support/TempDir.h"

namespace pq::archive {
namespace {

class SurveyArchivingTest : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    if (std::string(GetParam()) == "sqlite") {
      connection = std::make_unique<SqliteConnection>(dir.file("archive.db"));
    } else {
      auto& server = test::PostgresServer::shared();
      if (!server.skipReason().empty()) GTEST_SKIP() << server.skipReason();
      connection = std::make_unique<PostgresConnection>(server.freshDatabase());
    }
    migrateArchive(*connection);
  }

  test::TempDir dir;
  std::unique_ptr<SqlConnection> connection;
};

std::uint64_t bits(double value) { return std::bit_cast<std::uint64_t>(value); }

// What the archive keeps is what the survey's opening gave, to the bit, read back through either engine.
TEST_P(SurveyArchivingTest, KeepsTheValuesAndSetUpTheSurveyOpeningGives) {
  GeneratorOptions options = test::generatedFrom(21, 9, 7, 13, 47);
  options.voltageLevelCode = 2;
  options.wiringMode = 3;
  options.ptRatio = 35;
  options.ctRatio = 15;
  options.substationName = "North";
  options.measuringPointName = "F3";
  const std::string path = test::generateFile(dir.file("a.bin"), options);

  QuietSurveyListener quiet;
  const ArchiveAddition addition = addToArchive(*connection, {path}, quiet);
  ASSERT_TRUE(addition.surveyId) << addition.refusal;
  const std::optional<Survey> survey = openSurvey(planSurvey({path}), quiet);
  ASSERT_TRUE(survey);

  for (const Resolution resolution : {Resolution::OneMinute, Resolution::TenMinutes}) {
    SCOPED_TRACE(static_cast<int>(resolution));
    const AggregatedSeries& expected = survey->values.series[static_cast<std::size_t>(resolution)];
    const auto archived = archivedValues(*connection, *addition.surveyId, resolution);
    ASSERT_TRUE(archived);
    EXPECT_EQ(archived->quantities, expected.quantities);
    ASSERT_EQ(archived->intervals.size(), expected.intervals.size());
    ASSERT_FALSE(expected.intervals.empty());
    for (std::size_t i = 0; i < expected.intervals.size(); ++i) {
      EXPECT_EQ(archived->intervals[i].start, expected.intervals[i].start);
      EXPECT_EQ(archived->intervals[i].recordCount, expected.intervals[i].recordCount);
    }
    ASSERT_EQ(archived->values.size(), expected.values.size());
    for (std::size_t i = 0; i < expected.values.size(); ++i) {
      EXPECT_EQ(bits(archived->values[i].value), bits(expected.values[i].value)) << i;
      EXPECT_EQ(bits(archived->values[i].min), bits(expected.values[i].min)) << i;
      EXPECT_EQ(bits(archived->values[i].max), bits(expected.values[i].max)) << i;
    }
  }
  EXPECT_FALSE(archivedValues(*connection, *addition.surveyId, Resolution::ThreeSeconds));

  // 47 minutes from 09:07:13: the 1-minute intervals 09:07 .. 09:53, the 10-minute ones 09:00 .. 09:50.
  EXPECT_EQ(archivedValues(*connection, *addition.surveyId, Resolution::OneMinute)->intervals.size(), 47u);
  EXPECT_EQ(archivedValues(*connection, *addition.surveyId, Resolution::TenMinutes)->intervals.size(), 6u);

  const auto points = connection->run(
      "SELECT st.name, p.name, p.voltage_level, p.wiring, p.pt_ratio, p.ct_ratio, p.instrument "
      "FROM points p JOIN stations st ON st.id = p.station");
  ASSERT_EQ(points.size(), 1u);
  EXPECT_EQ(textAt(points[0], 0), "North");
  EXPECT_EQ(textAt(points[0], 1), "F3");
  EXPECT_EQ(integerAt(points[0], 2), 2);
  EXPECT_EQ(integerAt(points[0], 3), 3);
  EXPECT_EQ(doubleAt(points[0], 4), 35.0);
  EXPECT_EQ(doubleAt(points[0], 5), 15.0);
  EXPECT_EQ(textAt(points[0], 6), instrumentText(addition.plan.files.front().identity.instrumentId));
}

INSTANTIATE_TEST_SUITE_P(Engines, SurveyArchivingTest, ::testing::Values("sqlite", "postgresql"));

}  // namespace
}  // namespace pq::archive
