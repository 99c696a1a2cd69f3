#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "cli/CliRunner.h"
#include "support/TempDir.h"
#include "support/XlsxReadBack.h"

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
  const std::string jsonPath = dir.file("survey.json");
  const auto result = runCli({"survey", c, dir.file("missing.bin"), a, b, "--json", jsonPath});
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
  EXPECT_EQ(readText(jsonPath), expected);
}

TEST_F(SurveyCommandTest, RefusesWhatItCannotDo) {
  const std::string a = generate("a.bin", "2012-03-08 14:02:31", "3");
  struct Case {
    std::vector<std::string> args;
    int status;
    std::string errStart;
  };
  const Case cases[] = {
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
}

// Records a minute apart from 14:02:31: each stands alone in its minute, and the 10-minute values of
// 14:00, 14:10 and 14:20 hold 8, 10 and 6 of them.
TEST_F(SurveyCommandTest, MinutesAsCsvAndTheValuesEventsAndGapsAsAWorkbook) {
  const std::string a = generate("a.bin", "2012-03-08 14:02:31", "24");
  const std::string csv = dir.file("分钟.csv");
  const std::string book = dir.file("测量.xlsx");
  const auto result = runCli({"survey", a, "--csv-minutes", csv, "--xlsx", book});
  ASSERT_EQ(result.status, 0) << result.err;
  const std::string text = readText(csv);
  EXPECT_EQ(text.substr(0, 40), "\xEF\xBB\xBFstart,records,eventInside,uaRms,ubRms");
  EXPECT_NE(text.find("\n2012-03-08 14:02:00,1,0,"), std::string::npos);
  EXPECT_NE(text.find("\n2012-03-08 14:25:00,1,0,"), std::string::npos);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 25);

  const auto cells = test::readBackWorkbook(book);
  if (!cells) GTEST_SKIP() << "python3-openpyxl is not installed";
  auto has = [&](const std::string& line) { return std::find(cells->begin(), cells->end(), line) != cells->end(); };
  EXPECT_TRUE(has("1分钟值 2 1 datetime 2012-03-08 14:02:00"));
  EXPECT_TRUE(has("10分钟值 2 2 number 8"));
  EXPECT_TRUE(has("10分钟值 4 1 datetime 2012-03-08 14:20:00"));
  EXPECT_TRUE(has("10分钟值 4 2 number 6"));
  EXPECT_TRUE(has("电压事件 1 1 text 类型"));
  EXPECT_TRUE(has("电压事件 1 2 text 类型标识"));
  EXPECT_TRUE(has("数据缺口 1 2 text 无数据止"));
  // Read without the program: the notes first, the values headed in Chinese with their units.
  for (const std::string& line : std::vector<std::string>{
           "说明 3 2 text 2012-03-08 14:02:31 – 2012-03-08 14:25:31", "说明 4 2 text 60 s", "说明 5 2 text " + a,
        "说明 7 1 text 工作表", "说明 8 1 text 1分钟值", "说明 9 1 text 10分钟值", "说明 10 1 text 电压事件",
        "说明 11 1 text 数据缺口", "1分钟值 1 1 text 起始时间", "1分钟值 1 4 text A相电压有效值(KV)",
        "10分钟值 1 2 text 记录条数"}) {
    EXPECT_TRUE(has(line)) << line;
  }
  const auto layout = test::readBackLayout(book);
  ASSERT_TRUE(layout.has_value());
  for (const char* line : {"1分钟值 frozen A2", "1分钟值 format 4 0.000", "10分钟值 frozen A2", "电压事件 frozen A2"}) {
    EXPECT_NE(std::find(layout->begin(), layout->end(), line), layout->end()) << line;
  }
  // The CSV headed in Chinese when asked.
  ASSERT_EQ(runCli({"survey", a, "--csv-minutes", csv, "--headers", "zh"}).status, 0);
  EXPECT_EQ(readText(csv).rfind("\xEF\xBB\xBF起始时间,记录条数,含电压事件,A相电压有效值(KV),", 0), 0u);

  // A refused place is named, and the other outputs are still written.
  const auto refused = runCli({"survey", a, "--xlsx", dir.file("no/测量.xlsx"), "--csv-minutes", dir.file("b.csv")});
  EXPECT_EQ(refused.status, 3);
  EXPECT_EQ(refused.err.substr(0, dir.file("no/测量.xlsx").size()), dir.file("no/测量.xlsx"));
  EXPECT_TRUE(std::filesystem::exists(dir.file("b.csv")));
}

}  // namespace
}  // namespace pq
