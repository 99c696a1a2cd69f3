#include "archive/FileDigest.h"

#include <gtest/gtest.h>

#include <fstream>

#include "support/TempDir.h"

namespace pq::archive {
namespace {

// FIPS 180-2's examples and one of 0x00..0xFF, a file of the same bytes must give the same digest.
TEST(FileDigestTest, Sha256OfTheStandardsExamples) {
  std::string allBytes;
  for (int b = 0; b < 256; ++b) allBytes += static_cast<char>(b);
  const struct {
    std::string bytes;
    const char* digest;
  } cases[] = {
      {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
      {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
      {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
       "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
      {std::string(1'000'000, 'a'), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
      {allBytes, "40aff2e9d2d8922e47afd4648e6967497158785fbd1da870e7110266bf944880"},
  };
  test::TempDir dir;
  for (const auto& c : cases) {
    EXPECT_EQ(sha256Text(c.bytes), c.digest) << c.bytes.size();
    std::ofstream(dir.file("f"), std::ios::binary | std::ios::trunc) << c.bytes;
    EXPECT_EQ(fileSha256Text(dir.file("f")), c.digest) << c.bytes.size();
  }
}

// A file longer than one read block: the blocks must join into one digest.
TEST(FileDigestTest, AFileOfSeveralBlocksEqualsItsBytes) {
  std::string bytes;
  for (int i = 0; i < 3'000'017; ++i) bytes += static_cast<char>(i * 7 % 251);
  test::TempDir dir;
  std::ofstream(dir.file("f"), std::ios::binary) << bytes;
  EXPECT_EQ(fileSha256Text(dir.file("f")), sha256Text(bytes));
  EXPECT_EQ(fileSha256Text(dir.file("missing")), std::nullopt);
}

}  // namespace
}  // namespace pq::archive
