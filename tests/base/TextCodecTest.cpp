#include "base/TextCodec.h"

#include <gtest/gtest.h>

namespace pq {
namespace {

TEST(TextCodecTest, GbkAndUtf8RoundTrip) {
  const std::string gbk = utf8ToGbk("变电站A");
  EXPECT_EQ(gbk,
            "\xB1\xE4\xB5\xE7\xD5\xBE"
            "A");
  EXPECT_EQ(gbkToUtf8(gbk), "变电站A");
  EXPECT_EQ(gbkToUtf8(""), "");
}

TEST(TextCodecTest, UntrustedBytesDecodeWithReplacement) {
  // A lead byte cut off by the end, and a byte that starts no GBK character.
  EXPECT_EQ(gbkToUtf8("AB\xB1"), "AB\xEF\xBF\xBD");
  EXPECT_EQ(gbkToUtf8("\xFF"
                      "A"),
            "\xEF\xBF\xBD"
            "A");
}

TEST(TextCodecTest, CharactersGbkLacksEncodeAsQuestionMarks) {
  EXPECT_EQ(utf8ToGbk("A😀B"), "A?B");
  EXPECT_EQ(utf8ToGbk("A\xFF"
                      "B"),
            "A?B");
}

TEST(TextCodecTest, CutNeverSplitsADoubleByteCharacter) {
  const std::string six = utf8ToGbk("一二三四五六");  // 12 bytes
  EXPECT_EQ(cutGbk(six, 10).size(), 10u);
  EXPECT_EQ(cutGbk(six, 9).size(), 8u);
  EXPECT_EQ(cutGbk("ABCDEFGHIJKL", 10), "ABCDEFGHIJ");
  EXPECT_EQ(cutGbk(std::string("A") + six, 10).size(), 9u);
}

}  // namespace
}  // namespace pq
