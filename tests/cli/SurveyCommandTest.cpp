#include <gtest/gtest.h>

#include <filesystem>

#include "cli/CliRunner.h"
#include "support/TempDir.h"

namespace pq {
namespace {

using test::runCli;
using test::TempDir;

class SurveyCommandTest : public ::testing::Test {
 protected:
  std::string generate(const std::string& name, const std::string& start, const std::string& records,
                       const std::string& station = "East5") {
    const std::string path = dir.file(name);
    const auto result = runCli(
        {"generate", path, "--records", records, "--start", start, "--station", station, "--point", "L2"});
    EXPECT_EQ(result.status, 0) << result.err;
    return path;
  }

  std::string readText(const std::string& path) {
    const auto bytes = test::readBytes(path);
    return {bytes.begin(), bytes.end()};
  }

  TempDir dir;
};

TEST_F(SurveyCommandTest, TheJsonListsTheFilesInTimeOrderWithGapsMismatchesOverlapsAndNotes) {
  // a: 14:02:31-14:25:31; b: 14:21:31-14:40:31, whose first 5 minutes overlap a; c from 15:03:31.
  const std::string a = generate("a.bin", "2012-03-08 14:02:31", "24");
  const std::string b = generate("b.bin", "2012-03-08 14:21:31", "20", "West9");
  const std::string c = generate("c.bin", "2012-03-08 15:03:31", "7");
  const std::string json = dir.file("survey.json");
  const auto result = runCli({"survey", c, dir.file("missing.bin"), a, b, "--json", json});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.err, dir.file("missing.bin") + "：文件不存在或无法打开，未计入测量。\n" + b +
                            "：变电站为“West9”，与 " + a + " 的“East5”不同。\n");
  EXPECT_EQ(result.out, a + "\t2012-03-08 14:02:31\t2012-03-08 14:25:31\t24\t0\n" + b +
                            "\t2012-03-08 14:21:31\t2012-03-08 14:40:31\t20\t5\n" + c +
                            "\t2012-03-08 15:03:31\t2012-03-08 15:09:31\t7\t0\n"
                            "2012-03-08 14:41:31 – 15:02:31 无数据\n");
  // One line, here broken after each member of the outer object.
  std::string expected =
      R"({"files":[)"
      R"({"path":"@a","first":"2012-03-08 14:02:31","last":"2012-03-08 14:25:31","records":24,"skipped":0},)"
      R"({"path":"@b","first":"2012-03-08 14:21:31","last":"2012-03-08 14:40:31","records":20,"skipped":5},)"
      R"({"path":"@c","first":"2012-03-08 15:03:31","last":"2012-03-08 15:09:31","records":7,"skipped":0}],)"
      R"("gaps":[{"from":"2012-03-08 14:41:31","to":"2012-03-08 15:02:31"}],)"
      R"("mismatches":["@b：变电站为“West9”，与 @a 的“East5”不同。"],)"
      R"("overlaps":[{"path":"@b","records":5}],)"
      R"("notes":["@m：文件不存在或无法打开，未计入测量。"]})"
      "\n";
  for (const auto& [mark, path] : {std::pair{"@a", a}, std::pair{"@b", b}, std::pair{"@c", c},
                                   std::pair{"@m", dir.file("missing.bin")}}) {
    for (auto at = expected.find(mark); at != std::string::npos; at = expected.find(mark))
      expected.replace(at, 2, path);
  }
  EXPECT_EQ(readText(json), expected);
}

TEST_F(SurveyCommandTest, RefusesWhatItCannotDo) {
  const std::string a = generate("a.bin", "2012-03-08 14:02:31", "3");
  struct Case {
    std::vector<std::string> args;
    int status;
    std::string errStart;
  };
  const Case cases[] = {
      {{"survey", a, "--xlsx", dir.file("out.xlsx")},
       2,
       "survey: --xlsx and --csv-minutes are not available yet\n"},
      {{"survey", a, "--csv-minutes", dir.file("out.csv")},
       2,
       "survey: --xlsx and --csv-minutes are not available yet\n"},
      {{"survey"}, 2, ""},
      {{"survey", dir.file("none.bin")},
       3,
       dir.file("none.bin") + "：文件不存在或无法打开，未计入测量。\n没有可用的记录文件，测量未打开。\n"},
  };
  for (const auto& c : cases) {
    const auto result = runCli(c.args);
    EXPECT_EQ(result.status, c.status) << c.args.size();
    EXPECT_EQ(result.err.substr(0, c.errStart.size()), c.errStart);
    EXPECT_EQ(result.out, "");
  }
  EXPECT_FALSE(std::filesystem::exists(dir.file("out.xlsx")));
}

}  // namespace
}  // namespace pq
