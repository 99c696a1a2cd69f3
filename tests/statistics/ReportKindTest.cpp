#include "statistics/ReportKind.h"

#include <gtest/gtest.h>

namespace pq {
namespace {

TEST(ReportKindTest, EveryKindNamesItsChannelAndTexts) {
  struct Case {
    ReportKind kind;
    int channel;
    const char* name;
    const char* title;
    const char* caption;
  };
  const Case cases[] = {
      {{Phase::A, ReportQuantity::Voltage}, 0, "Ua", "电能质量统计报表（A相电压）", "A相电压报表   "},
      {{Phase::B, ReportQuantity::Voltage}, 1, "Ub", "电能质量统计报表（B相电压）", "B相电压报表   "},
      {{Phase::C, ReportQuantity::Voltage}, 2, "Uc", "电能质量统计报表（C相电压）", "C相电压报表   "},
      {{Phase::A, ReportQuantity::Current}, 3, "Ia", "电能质量统计报表（A相电流）", "A相电流报表   "},
      {{Phase::B, ReportQuantity::Current}, 4, "Ib", "电能质量统计报表（B相电流）", "B相电流报表   "},
      {{Phase::C, ReportQuantity::Current}, 5, "Ic", "电能质量统计报表（C相电流）", "C相电流报表   "},
  };
  ASSERT_EQ(std::size(cases), kReportKinds.size());
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    EXPECT_EQ(kReportKinds[i], c.kind) << i;  // the order of the report window's phase buttons
    EXPECT_EQ(c.kind.channel(), c.channel) << c.name;
    EXPECT_EQ(c.kind.name(), c.name);
    EXPECT_EQ(c.kind.title(), c.title) << c.name;
    EXPECT_EQ(c.kind.buttonCaption(), c.caption) << c.name;
    EXPECT_EQ(reportKindNamed(c.name), c.kind) << c.name;
  }
}

TEST(ReportKindTest, OnlyTheExactNamesAreKinds) {
  for (const char* text : {"", "ua", "UA", "Ua ", " Ia", "U", "Id", "A"}) {
    EXPECT_EQ(reportKindNamed(text), std::nullopt) << text;
  }
}

}  // namespace
}  // namespace pq
