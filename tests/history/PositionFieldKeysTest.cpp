#include "history/PositionFieldKeys.h"

#include <gtest/gtest.h>

namespace pq {
namespace {

TEST(PositionFieldKeys, DigitsBackspaceAndEnterInAFilledField) {
  struct Case {
    const char* text;
    char32_t key;
    bool accepted;
  };
  const Case cases[] = {{"", U'0', true},   {"123456", U'9', true}, {"", U'\b', true},  {"12", U'\r', true},
                        {"", U'\r', false}, {"  ", U'\r', false},   {"1", U'a', false}, {"1", U'-', false},
                        {"1", U' ', false}, {"1", U'\x7f', false},  {"1", U'３', false}};
  for (const auto& c : cases) {
    EXPECT_EQ(acceptPositionKey(c.text, c.key), c.accepted)
        << "'" << c.text << "' " << static_cast<int>(c.key);
  }
}

}  // namespace
}  // namespace pq
