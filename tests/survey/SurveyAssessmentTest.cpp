#include "survey/SurveyAssessment.h"

#include <gtest/gtest.h>

#include <memory>

#include "records/RecordStore.h"
#include "support/GeneratedRecords.h"
#include "support/TempDir.h"

namespace pq {
namespace {

using test::TempDir;

std::string generate(const TempDir& dir, const std::string& name, int minute, long long records) {
  GeneratorOptions options = test::generatedFrom(20, 10, minute, 7, records);
  options.intervalSeconds = 1;
  return test::generateFile(dir.file(name), options);
}

void expectSameIndex(const IndexAssessment& a, const IndexAssessment& b) {
  EXPECT_EQ(a.verdict, b.verdict);
  EXPECT_EQ(a.values, b.values);
  EXPECT_EQ(a.upperLimit, b.upperLimit);
  EXPECT_EQ(a.passRate, b.passRate);
  EXPECT_EQ(a.method, b.method);
}

TEST(SurveyAssessmentTest, AnotherLimitSetJudgesTheKeptValuesAsAFreshAssessmentWould) {
  TempDir dir;
  // 10:00:07-10:24:59 and, after a pause, 10:40:07-10:59:59.
  const SurveyPlan plan = planSurvey({generate(dir, "b.bin", 40, 1193), generate(dir, "a.bin", 0, 1493)});
  AssessmentLimits strict;
  strict.lowVoltageBand = {0.35, -0.35};
  strict.requiredQualificationRate = 90;
  strict.frequencyDeviation = 0.015;

  QuietSurveyListener quiet;
  const auto usual = assessSurvey(plan, quiet, AssessmentLimits{}, "usual");
  const auto fresh = assessSurvey(plan, quiet, strict, "strict");
  ASSERT_TRUE(usual && fresh);
  ASSERT_EQ(usual->result.refusal, "");
  EXPECT_EQ(usual->result.span.records, 1493 + 1193);
  ASSERT_EQ(usual->result.span.gaps.size(), 1u);

  const AssessmentResult again = reassessSurvey(*usual, strict, "strict");
  EXPECT_EQ(again.setup.limitSetName, "strict");
  for (int phase = 0; phase < 3; ++phase) {
    SCOPED_TRACE(phase);
    expectSameIndex(again.deviation[phase].index, fresh->result.deviation[phase].index);
    EXPECT_EQ(again.deviation[phase].minutesOver, fresh->result.deviation[phase].minutesOver);
    EXPECT_EQ(again.deviation[phase].minutesUnder, fresh->result.deviation[phase].minutesUnder);
    // The strict band must change something, or the comparison shows nothing.
    EXPECT_NE(again.deviation[phase].minutesOver + again.deviation[phase].minutesUnder,
              usual->result.deviation[phase].minutesOver + usual->result.deviation[phase].minutesUnder);
  }
  expectSameIndex(again.frequency.index, fresh->result.frequency.index);
  EXPECT_NE(again.frequency.index.passRate, usual->result.frequency.index.passRate);
  ASSERT_EQ(again.harmonics.size(), fresh->result.harmonics.size());
  for (std::size_t k = 0; k < again.harmonics.size(); ++k) {
    EXPECT_EQ(again.harmonics[k].index.p95, fresh->result.harmonics[k].index.p95) << k;
    EXPECT_EQ(again.harmonics[k].index.verdict, fresh->result.harmonics[k].index.verdict) << k;
  }
  EXPECT_EQ(again.energy.activeKwh, fresh->result.energy.activeKwh);
}

}  // namespace
}  // namespace pq
