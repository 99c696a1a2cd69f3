#include "base/Gb2Big5Table.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <string>

namespace pq {
namespace {

// Converts straight from GBK to BIG5 in one step, independently of the generator's road through
// Unicode; empty when iconv has no BIG5 form.
std::string big5Of(iconv_t converter, unsigned char lead, unsigned char trail) {
  iconv(converter, nullptr, nullptr, nullptr, nullptr);
  char in[2] = {static_cast<char>(lead), static_cast<char>(trail)};
  char out[8];
  char* inPtr = in;
  char* outPtr = out;
  std::size_t inLeft = 2;
  std::size_t outLeft = sizeof out;
  if (iconv(converter, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1)) return {};
  return std::string(out, outPtr);
}

TEST(Gb2Big5TableTest, EveryPairMatchesIconvOrHoldsTheReplacement) {
  const iconv_t converter = iconv_open("BIG5", "GBK");
  ASSERT_NE(converter, reinterpret_cast<iconv_t>(-1));
  int mismatches = 0;
  int converted = 0;
  for (int lead = 0x81; lead <= 0xFE; ++lead) {
    for (int trail = 0x40; trail <= 0xFE; ++trail) {
      const std::uint16_t entry = GB2BIG5_TAB[(lead - 0x81) * 191 + (trail - 0x40)];
      const std::string big5 =
          big5Of(converter, static_cast<unsigned char>(lead), static_cast<unsigned char>(trail));
      std::uint16_t expected = kGb2Big5Replacement;
      if (big5.size() == 2) {
        expected = static_cast<std::uint16_t>(static_cast<unsigned char>(big5[1]) << 8 |
                                              (static_cast<unsigned char>(big5[0]) ^ 0x80));
        ++converted;
      }
      if (entry != expected && ++mismatches <= 5) {
        ADD_FAILURE() << std::hex << "pair " << lead << ' ' << trail << ": table " << entry << ", iconv "
                      << expected;
      }
    }
  }
  iconv_close(converter);
  EXPECT_EQ(mismatches, 0);
  EXPECT_GT(converted, 13000) << "the shared characters of GBK and BIG5 are about 13 000";
}

}  // namespace
}  // namespace pq
