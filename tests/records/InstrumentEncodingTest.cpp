#include "records/InstrumentEncoding.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

namespace pq {
namespace {

struct FloatCase {
  std::uint8_t b[4];
  float expected;
};

TEST(InstrumentEncodingTest, DecodeFloatKeepsNormalNumbersOnly) {
  const FloatCase cases[] = {
      {{0x00, 0x00, 0x80, 0x3F}, 1.0f},
      {{0x00, 0x00, 0x80, 0xBF}, -1.0f},
      {{0x00, 0x00, 0x00, 0x80}, 0.0f},  // negative zero
      {{0x01, 0x00, 0x00, 0x00}, 0.0f},  // smallest subnormal
      {{0xFF, 0xFF, 0x7F, 0x80}, 0.0f},  // largest negative subnormal
      {{0x00, 0x00, 0x80, 0x7F}, 0.0f},  // infinity
      {{0x00, 0x00, 0x80, 0xFF}, 0.0f},  // negative infinity
      {{0x00, 0x00, 0xC0, 0x7F}, 0.0f},  // not-a-number
      {{0xFF, 0xFF, 0xFF, 0xFF}, 0.0f},
      {{0x00, 0x00, 0x80, 0x00}, std::numeric_limits<float>::min()},
      {{0xFF, 0xFF, 0x7F, 0x7F}, std::numeric_limits<float>::max()},
      {{0x00, 0x00, 0xC8, 0x42}, 100.0f},
  };
  for (const auto& c : cases) {
    const float got = decodeFloat(c.b[0], c.b[1], c.b[2], c.b[3]);
    EXPECT_EQ(got, c.expected) << std::hex << int{c.b[0]} << ' ' << int{c.b[1]} << ' ' << int{c.b[2]} << ' '
                               << int{c.b[3]};
    EXPECT_FALSE(std::signbit(got) && got == 0.0f) << "zero comes out positive";
  }
}

TEST(InstrumentEncodingTest, EncodeFloatWritesTheBitsUnchanged) {
  std::uint8_t out[4];
  encodeFloat(-1.0f, out);
  EXPECT_EQ(out[0], 0x00);
  EXPECT_EQ(out[1], 0x00);
  EXPECT_EQ(out[2], 0x80);
  EXPECT_EQ(out[3], 0xBF);
  encodeFloat(57.7f, out);
  EXPECT_EQ(decodeFloat(out), 57.7f);
}

TEST(InstrumentEncodingTest, DecodeSampleInUnitsOf328) {
  EXPECT_EQ(decodeSample(0x48, 0x01), 1.0f);
  EXPECT_EQ(decodeSample(0xB8, 0xFE), -1.0f);
  EXPECT_EQ(decodeSample(0xFF, 0x7F), static_cast<float>(32767.0L / 328.0L));
  EXPECT_EQ(decodeSample(0x00, 0x80), static_cast<float>(-32768.0L / 328.0L));
  EXPECT_EQ(decodeSample(0x00, 0x00), 0.0f);
}

TEST(InstrumentEncodingTest, DecodeBcdReadsTheHexDigitsAsDecimal) {
  EXPECT_EQ(decodeBcd(0x59), 59);
  EXPECT_EQ(decodeBcd(0x07), 7);
  EXPECT_EQ(decodeBcd(0x99), 99);
  EXPECT_EQ(decodeBcd(0x13), 13);  // a month no calendar has, but a number
  EXPECT_EQ(decodeBcd(0x1A), -1);
  EXPECT_EQ(decodeBcd(0xA0), -1);
}

}  // namespace
}  // namespace pq
