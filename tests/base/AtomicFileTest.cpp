#include "base/AtomicFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/FileSizeLimit.h"
#include "support/TempDir.h"

namespace pq {
namespace {

using test::readBytes;
using test::TempDir;
using test::writeBytes;

TEST(AtomicFileTest, ReplacesTheTargetOnlyOnCommit) {
  TempDir dir;
  const std::string target = dir.file("data.bin");
  writeBytes(target, {1, 2, 3});
  {
    AtomicFile file(target);
    ASSERT_TRUE(file.open());
    ASSERT_TRUE(file.write("abcd", 4));
    EXPECT_EQ(readBytes(target), (std::vector<std::uint8_t>{1, 2, 3}));
    ASSERT_TRUE(file.commit());
  }
  EXPECT_EQ(readBytes(target), (std::vector<std::uint8_t>{'a', 'b', 'c', 'd'}));
  EXPECT_EQ(dir.entries().size(), 1u);
}

// A head filled in at the end: the bytes written after it stay, and later writes still append.
TEST(AtomicFileTest, WriteAtOverwritesInPlace) {
  TempDir dir;
  const std::string target = dir.file("data.bin");
  AtomicFile file(target);
  ASSERT_TRUE(file.open());
  ASSERT_TRUE(file.write("abcdef", 6));
  ASSERT_TRUE(file.writeAt(1, "XY", 2));
  ASSERT_TRUE(file.write("g", 1));
  ASSERT_TRUE(file.commit());
  EXPECT_EQ(readBytes(target), (std::vector<std::uint8_t>{'a', 'X', 'Y', 'd', 'e', 'f', 'g'}));
}

TEST(AtomicFileTest, AbandonedWriteLeavesOriginalAndNoTemporaryFile) {
  TempDir dir;
  const std::string target = dir.file("data.bin");
  writeBytes(target, {1, 2, 3});
  {
    AtomicFile file(target);
    ASSERT_TRUE(file.open());
    ASSERT_TRUE(file.write("abcd", 4));
  }
  EXPECT_EQ(readBytes(target), (std::vector<std::uint8_t>{1, 2, 3}));
  EXPECT_EQ(dir.entries(), std::vector<std::string>{"data.bin"});
}

TEST(AtomicFileTest, FullDiskLeavesOriginalUntouched) {
  TempDir dir;
  const std::string target = dir.file("data.bin");
  writeBytes(target, std::vector<std::uint8_t>(100, 7));

  AtomicFile file(target);
  bool opened = false;
  bool written = false;
  {
    const test::FileSizeLimit limit(4096);
    opened = file.open();
    const std::vector<char> block(10000, 'x');
    written = opened && file.write(block.data(), block.size());
  }

  EXPECT_TRUE(opened);
  EXPECT_FALSE(written);
  EXPECT_FALSE(file.error().empty());
  EXPECT_FALSE(file.commit());
  EXPECT_EQ(readBytes(target), std::vector<std::uint8_t>(100, 7));
  EXPECT_EQ(dir.entries(), std::vector<std::string>{"data.bin"});
}

TEST(AtomicFileTest, KeepsLinkAndPermissions) {
  TempDir dir;
  const std::string real = dir.file("real.bin");
  const std::string link = dir.file("link.bin");
  writeBytes(real, {1});
  ASSERT_EQ(::chmod(real.c_str(), 0640), 0);
  ASSERT_EQ(::symlink(real.c_str(), link.c_str()), 0);

  AtomicFile file(link);
  ASSERT_TRUE(file.open());
  ASSERT_TRUE(file.write("z", 1));
  ASSERT_TRUE(file.commit());

  struct stat info {};
  ASSERT_EQ(::lstat(link.c_str(), &info), 0);
  EXPECT_TRUE(S_ISLNK(info.st_mode));
  ASSERT_EQ(::stat(real.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
  EXPECT_EQ(readBytes(real), std::vector<std::uint8_t>{'z'});
}

TEST(AtomicFileTest, MissingFolderOrNameFails) {
  TempDir dir;
  AtomicFile inMissingFolder(dir.file("no/such/folder.bin"));
  EXPECT_FALSE(inMissingFolder.open());
  EXPECT_FALSE(inMissingFolder.error().empty());
  AtomicFile unnamed("");
  EXPECT_FALSE(unnamed.open());
}

// After a kill -9 during a save the temporary stays behind. It must not look like a record file
// and must not pile up: the next save of the same target removes it, but never the temporary of a
// save that is still running, nor one of another target.
TEST(AtomicFileTest, NextSaveRemovesTemporariesOfKilledSaves) {
  TempDir dir;
  const std::string target = dir.file("day.bin");
  writeBytes(target, {1});
  writeBytes(dir.file(".day.bin.tmp-Kill01"), {2});
  writeBytes(dir.file(".day.bin.tmp-Kill02"), {3});
  writeBytes(dir.file(".other.bin.tmp-Kill03"), {4});
  writeBytes(dir.file(".day.bin.tmp-toolong"), {5});

  AtomicFile running(target);
  ASSERT_TRUE(running.open());
  std::vector<std::string> during = dir.entries();
  std::erase(during, "day.bin");
  std::erase(during, ".other.bin.tmp-Kill03");
  std::erase(during, ".day.bin.tmp-toolong");
  ASSERT_EQ(during.size(), 1u);
  EXPECT_EQ(during[0].rfind(".day.bin.tmp-", 0), 0u) << during[0];

  AtomicFile second(target);
  ASSERT_TRUE(second.open());
  ASSERT_TRUE(second.write("b", 1));
  ASSERT_TRUE(second.commit());
  ASSERT_TRUE(running.write("a", 1));
  ASSERT_TRUE(running.commit());
  EXPECT_EQ(readBytes(target), std::vector<std::uint8_t>{'a'});
  std::vector<std::string> after = dir.entries();
  std::sort(after.begin(), after.end());
  EXPECT_EQ(after, (std::vector<std::string>{".day.bin.tmp-toolong", ".other.bin.tmp-Kill03", "day.bin"}));
}

}  // namespace
}  // namespace pq
