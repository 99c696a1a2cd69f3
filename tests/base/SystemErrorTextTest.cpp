#include "base/SystemErrorText.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "base/AtomicFile.h"
#include "support/TempDir.h"

namespace pq {
namespace {

TEST(SystemErrorTextTest, CommonReasonsInChineseWithTheSystemsText) {
  const struct {
    int errorNumber;
    const char* text;
  } cases[] = {
      {EACCES, "没有权限（Permission denied）"},
      {EPERM, "没有权限（Operation not permitted）"},
      {ENOSPC, "磁盘空间不足（No space left on device）"},
      {ENOENT, "文件或文件夹不存在（No such file or directory）"},
      {EROFS, "只读文件系统（Read-only file system）"},
      {EISDIR, "是文件夹，不是文件（Is a directory）"},
      {ENOTDIR, "路径中有一项不是文件夹（Not a directory）"},
      {EFBIG, "文件太大（File too large）"},
      // A reason without a translation stays as the system gives it.
      {EINVAL, "Invalid argument"},
      {0, "Success"},
  };
  for (const auto& c : cases) EXPECT_EQ(systemErrorText(c.errorNumber), c.text) << c.errorNumber;
}

TEST(SystemErrorTextTest, AFileThatCannotBeWrittenSaysWhyInChinese) {
  test::TempDir dir;
  const std::string path = dir.file("no/such/folder/data.bin");
  AtomicFile file(path);
  EXPECT_FALSE(file.open());
  EXPECT_EQ(file.error(), dir.file("no/such/folder") + ": 文件或文件夹不存在（No such file or directory）");
}

}  // namespace
}  // namespace pq
