#include <gtest/gtest.h>

#include "users/PasswordScrambling.h"

namespace pq {
namespace {

TEST(PasswordScrambling, CombinesTheFirstSixBytesWithTheKey) {
  struct Case {
    std::string typed;
    std::string stored;
  };
  const Case cases[] = {
      // 'a' 0x61 ^ 03 = 0x62 'b', 'b' 0x62 ^ 07 = 0x65 'e', 'c' ^ 01 = 'b', 'd' ^ 06 = 'b', 'e' ^ 02 = 'g',
      // 'f' ^ 04 = 'b'.
      {"abcdef", "bebbgb"},
      {"abcdefgh", "bebbgbgh"},  // the seventh and eighth bytes stay
      {"abc", "beb"},            // a short password uses the first key bytes only
      {"", ""},
      {"000000", "\x33\x37\x31\x36\x32\x34"},
  };
  for (const auto& c : cases) EXPECT_EQ(scramblePassword(c.typed), c.stored) << c.typed;
}

TEST(PasswordScrambling, WorksOnTheGbkBytesOfATypedPassword) {
  // "中" is D6 D0 and "文" is CE C4 in GBK: four bytes, so the key's first four bytes apply to them.
  const std::string stored = storedPassword("中文ab");
  EXPECT_EQ(stored, std::string("\xD5\xD7\xCF\xC2\x63\x66", 6));
  EXPECT_EQ(gbkByteLength("中文ab"), 6u);
  EXPECT_EQ(gbkByteLength("中文a"), 5u);
  EXPECT_EQ(storedPassword("中文ab"), stored);  // the same typed text always yields the same form
}

TEST(PasswordScrambling, NeverTurnsATypedCharacterIntoAZeroByte) {
  std::string all;
  for (int b = 0x20; b < 256; ++b) all += static_cast<char>(b);
  for (std::size_t start = 0; start + 6 <= all.size(); ++start) {
    const std::string stored = scramblePassword(all.substr(start, 6));
    EXPECT_EQ(stored.find('\0'), std::string::npos) << start;
  }
}

}  // namespace
}  // namespace pq
