#include "timerange/DateFieldRules.h"

#include <gtest/gtest.h>

#include "base/ConversionError.h"

namespace pq {
namespace {

struct KeyCase {
  DateFieldKind kind;
  const char* text;
  char32_t key;
  KeyAction expected;
};

TEST(DateFieldRulesTest, KeyFilter) {
  const KeyCase cases[] = {
      {DateFieldKind::Year, "201", U'0', KeyAction::Accept},
      {DateFieldKind::Year, "2010", U'1', KeyAction::Drop},     // a fifth digit
      {DateFieldKind::Year, " 201 ", U'1', KeyAction::Accept},  // the length counts trimmed
      {DateFieldKind::Minute, "5", U'9', KeyAction::Accept},
      {DateFieldKind::Minute, "59", U'1', KeyAction::Drop},  // a third digit
      {DateFieldKind::Month, "12", kBackspaceKey, KeyAction::Accept},
      {DateFieldKind::Day, "", U'a', KeyAction::Drop},
      {DateFieldKind::Day, "1", U'-', KeyAction::Drop},
      {DateFieldKind::Day, "1", U'年', KeyAction::Drop},
      {DateFieldKind::Hour, "  ", kEnterKey, KeyAction::Drop},
      {DateFieldKind::Hour, "7", kEnterKey, KeyAction::AcceptAndValidate},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(filterKey(c.kind, c.text, c.key), c.expected) << c.text << " key " << int(c.key);
  }
}

struct FieldCase {
  DateFieldKind kind;
  const char* text;
  const char* message;
  bool emptied;
  bool focusBack;
};

TEST(DateFieldRulesTest, Validation) {
  const FieldCase cases[] = {
      {DateFieldKind::Month, "", "查询时间不正确，请重新输入!", false, false},
      {DateFieldKind::Year, "  ", "查询时间不正确，请重新输入!", false, false},
      {DateFieldKind::Month, "0", "不合法的月份。请重新输入'1-12'。", true, true},
      {DateFieldKind::Month, "13", "不合法的月份。请重新输入'1-12'。", true, true},
      {DateFieldKind::Month, "12", "", false, false},
      {DateFieldKind::Month, "257", "", false, false},  // 257 mod 256 = 1
      {DateFieldKind::Day, "32", "不合法的日期。请重新输入'1-31'。", true, true},
      {DateFieldKind::Day, "31", "", false, false},
      {DateFieldKind::Hour, "24", "不合法的小时。请重新输入'0-23'。", true, true},
      {DateFieldKind::Hour, "00", "", false, false},
      {DateFieldKind::Minute, "60", "不合法的分钟。请重新输入'0-59'。", true, true},
      {DateFieldKind::Minute, " 7 ", "", false, false},
      {DateFieldKind::Year, "201", "请按四位数字格式输入年份。", false, true},
      {DateFieldKind::Year, "1999", "不合法的年份。请重新输入。", true, true},
      {DateFieldKind::Year, "2201", "不合法的年份。请重新输入。", true, true},
      {DateFieldKind::Year, "2200", "", false, false},
      {DateFieldKind::Year, "67536", "", false, false},  // 67536 mod 65536 = 2000
  };
  for (const auto& c : cases) {
    const DateFieldVerdict verdict = validateField(c.kind, c.text);
    EXPECT_EQ(verdict.message, c.message) << c.text;
    EXPECT_EQ(verdict.emptyField, c.emptied) << c.text;
    EXPECT_EQ(verdict.focusBack, c.focusBack) << c.text;
  }
}

TEST(DateFieldRulesTest, TextThatIsNoNumberIsAConversionError) {
  EXPECT_THROW(validateField(DateFieldKind::Day, "1a"), ConversionError);
}

}  // namespace
}  // namespace pq
