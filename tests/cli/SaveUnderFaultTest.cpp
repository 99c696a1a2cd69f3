// Every save of the command line on a full disk, made by a file size limit: the write fails (the
// program must not be killed by the limit's signal), a clear message names the failure, the file
// that was there is untouched and no half-written or temporary file stays behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "cli/CliRunner.h"
#include "records/RecordFileMessages.h"
#include "support/TempDir.h"

namespace pq {
namespace {

using test::readBytes;
using test::runCli;
using test::runCliWithFileSizeLimit;
using test::TempDir;

TEST(SaveUnderFaultTest, FullDiskKeepsTheOldFileAndSaysWhy) {
  TempDir dir;
  const std::string records = dir.file("day.bin");
  ASSERT_EQ(runCli({"generate", records, "--records", "600"}).status, 0);  // 1.1 MB
  const std::string old = dir.file("old");
  const std::vector<std::string> report = {"report", records, "--phase", "Ua", "--level", "10KV"};
  auto with = [&](std::vector<std::string> args, const std::string& option) {
    args.push_back(option);
    args.push_back(old);
    return args;
  };
  struct Case {
    const char* name;
    std::vector<std::string> args;
    std::string target;
    std::string message;  // the start of the first line on stderr
  };
  const Case cases[] = {
      {"delete rewrites the record file",
       {"delete", records, "--first", "1"},
       records,
       messages::kRewriteFailed},
      {"report file", with(report, "--qrp"), old, old + ": "},
      {"workbook", with(report, "--xls"), old, old + ": "},
      {"report data", with(report, "--json"), old, old + ": "},
      {"page cells", with(report, "--cells"), old, old + ": "},
      {"dumped workbook", {"dump", records, "--xlsx", old}, old, old + ": "},
      {"assessment workbook", {"assess", records, "--xlsx", old}, old, old + ": "},
      {"assessment pages", {"assess", records, "--pdf", old}, old, old + ": "},
      {"assessment picture", {"assess", records, "--png", old}, old, old + ": "},
      {"assessment data", {"assess", records, "--json", old}, old, old + ": "},
      {"generated record file", {"generate", old, "--records", "100"}, old, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    test::writeBytes(old, std::vector<std::uint8_t>(100, 0x5A));
    const std::vector<std::uint8_t> before = readBytes(c.target);

    const auto result = runCliWithFileSizeLimit(c.args, 1);
    EXPECT_EQ(result.status, 3) << result.err;
    EXPECT_EQ(result.err.rfind(c.message, 0), 0u) << result.err;
    EXPECT_NE(result.err.find("File too large"), std::string::npos) << result.err;
    EXPECT_EQ(readBytes(c.target), before);
    std::vector<std::string> entries = dir.entries();
    std::sort(entries.begin(), entries.end());
    EXPECT_EQ(entries, (std::vector<std::string>{"day.bin", "old"}));
  }
  EXPECT_EQ(runCli({"info", records}).status, 0);
}

}  // namespace
}  // namespace pq
