#include "records/BatchDelete.h"

#include <gtest/gtest.h>

#include "base/ConversionError.h"

namespace pq {
namespace {

constexpr char kEmpty[] = "删除位置空，请重新输入！";
constexpr char kWrong[] = "输入删除位置不正确，请重新输入！";

struct FieldCase {
  const char* start;
  const char* end;
  int recordCount;
  int first;
  int count;
  const char* refusal;
};

TEST(BatchDeleteTest, ChecksPositionsAndCutsAtTheEnd) {
  const FieldCase cases[] = {
      {"3", "99", 10, 2, 8, ""},   // past the end: cut to the last record
      {"1", "10", 10, 0, 10, ""},  // everything
      {"1", "1", 1, 0, 1, ""},      {"10", "10", 10, 9, 1, ""},   {" 4 ", "5", 10, 3, 2, ""},
      {"5", "4", 10, 0, 0, kWrong}, {"0", "3", 10, 0, 0, kWrong}, {"11", "12", 10, 0, 0, kWrong},
      {"1", "1", 0, 0, 0, kWrong},  {"", "3", 10, 0, 0, kEmpty},  {"3", "  ", 10, 0, 0, kEmpty},
  };
  for (const auto& c : cases) {
    const BatchDeletePlan plan = planBatchDelete(c.start, c.end, c.recordCount);
    EXPECT_EQ(plan.refusal, c.refusal) << c.start << ".." << c.end;
    if (!plan.refused()) {
      EXPECT_EQ(plan.first, c.first) << c.start << ".." << c.end;
      EXPECT_EQ(plan.count, c.count) << c.start << ".." << c.end;
    }
  }
}

TEST(BatchDeleteTest, TextThatIsNoNumberIsAConversionError) {
  EXPECT_THROW(planBatchDelete("abc", "4", 10), ConversionError);
  EXPECT_THROW(planBatchDelete("3", "99999999999999999999999", 10), ConversionError);
}

TEST(BatchDeleteTest, HugePositionsDoNotOverflow) {
  const BatchDeletePlan plan = planBatchDelete(2, 1LL << 50, 10);
  EXPECT_FALSE(plan.refused());
  EXPECT_EQ(plan.count, 9);
}

}  // namespace
}  // namespace pq
