#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "cli/CliRunner.h"
#include "support/RecordFileBytes.h"
#include "support/TempDir.h"
#include "support/XlsxReadBack.h"

namespace pq {
namespace {

using test::runCli;
using test::TempDir;

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) out.push_back(line);
  return out;
}

std::vector<std::string> fields(const std::string& line) {
  std::vector<std::string> out;
  std::istringstream in(line);
  for (std::string field; std::getline(in, field, ',');) out.push_back(field);
  return out;
}

class RecordCommandsTest : public ::testing::Test {
 protected:
  TempDir dir;
  std::string file = dir.file("demo.bin");
};

TEST_F(RecordCommandsTest, GenerateThenInfo) {
  const auto generated =
      runCli({"generate", file, "--records", "3", "--start", "2011-12-31 23:58:00", "--station",
              "城东变电站一号", "--point", "10kV出线", "--level", "2", "--pt", "60", "--ct", "40"});
  ASSERT_EQ(generated.status, 0) << generated.err;
  const auto info = runCli({"info", file});
  EXPECT_EQ(info.status, 0) << info.err;
  EXPECT_EQ(info.err, "");
  EXPECT_EQ(info.out, "file: " + file +
                          "\n"
                          "substation: 城东变电站\n"  // cut to 10 GBK bytes at a character boundary
                          "measuring_point: 10kV出线\n"
                          "voltage_level_code: 2\n"
                          "nominal_voltage: 6\n"
                          "min_short_circuit_capacity: 100\n"
                          "supply_equipment_capacity: 120\n"
                          "agreed_capacity: 120\n"
                          "pt_ratio: 60\n"
                          "ct_ratio: 40\n"
                          "records: 3\n"
                          "first: 2011-12-31 23:58:00\n"
                          "last: 2012-01-01 00:00:00\n");
}

TEST_F(RecordCommandsTest, DumpWritesTheStoreAsCsv) {
  ASSERT_EQ(runCli({"generate", file, "--records", "5"}).status, 0);
  const auto dump = runCli({"dump", file, "--first", "2", "--count", "2"});
  ASSERT_EQ(dump.status, 0) << dump.err;
  const auto rows = lines(dump.out);
  ASSERT_EQ(rows.size(), 3u);
  const auto header = fields(rows[0]);
  ASSERT_EQ(header.size(), 4u + 39u + 6u * 65u + 1u);
  EXPECT_EQ(header[0], "index");
  EXPECT_EQ(header[3], "instrumentId");
  EXPECT_EQ(header[4], "spare");
  EXPECT_EQ(header[42], "pfTotal");
  EXPECT_EQ(header[43], "Ua_1");
  EXPECT_EQ(header[43 + 65], "Ub_1");
  EXPECT_EQ(header.back(), "sequenceNumber");
  const auto row = fields(rows[1]);
  ASSERT_EQ(row.size(), header.size());
  EXPECT_EQ(row[0], "1");
  EXPECT_EQ(row[1], "2010-04-19 15:40:00");
  EXPECT_EQ(row[2], "1");
  EXPECT_EQ(row[3], "20100419");
  EXPECT_EQ(row.back(), "1");
  EXPECT_EQ(fields(rows[2])[0], "2");
}

TEST_F(RecordCommandsTest, DumpPrintsInvalidTimeBytesAsHexDigits) {
  auto body = test::RecordFileBytes::body(1.5f);
  body[1] = 0x1A;
  body[1846] = test::RecordFileBytes::checksum(body);
  test::RecordFileBytes().head().rawFrame(body).save(file);
  const auto dump = runCli({"dump", file});
  ASSERT_EQ(dump.status, 0) << dump.err;
  const auto row = fields(lines(dump.out).at(1));
  EXPECT_EQ(row[1], "2010-1A-19 15:39:00");
  EXPECT_EQ(row[5], "1.5");
}

TEST_F(RecordCommandsTest, DumpStartsWithAByteOrderMarkWhenAsked) {
  ASSERT_EQ(runCli({"generate", file, "--records", "3"}).status, 0);
  const auto plain = runCli({"dump", file, "--count", "2"});
  const auto marked = runCli({"dump", file, "--bom", "--count", "2"});
  ASSERT_EQ(marked.status, 0) << marked.err;
  EXPECT_EQ(plain.out.rfind("index,time,", 0), 0u);
  EXPECT_EQ(marked.out, "\xEF\xBB\xBF" + plain.out);
}

// The workbook people read: the notes first, then the records headed in Chinese with their units (kV
// and kW above a voltage ratio of 1), their numbers in each quantity's decimals, the heading frozen and
// the columns as wide as heading and value need. The CSV beside it keeps the identifiers scripts read;
// --headers turns either.
TEST_F(RecordCommandsTest, DumpWorkbookIsHeadedInChineseAfterItsNotes) {
  ASSERT_EQ(runCli({"generate", file, "--records", "3", "--start", "2011-12-31 23:58:00", "--station", "城东变",
                    "--point", "10kV出线", "--pt", "60"})
                .status,
            0);
  const std::string book = dir.file("记录.xlsx");
  const auto dump = runCli({"dump", file, "--xlsx", book});
  ASSERT_EQ(dump.status, 0) << dump.err;
  EXPECT_EQ(dump.out.rfind("index,time,wiringMode,instrumentId,spare,uaRms,", 0), 0u);

  const auto cells = test::readBackWorkbook(book);
  const auto layout = test::readBackLayout(book);
  if (!cells || !layout) GTEST_SKIP() << "python3-openpyxl is not installed";
  const auto has = [](const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
  };
  for (const std::string& line : std::vector<std::string>{
           "说明 1 1 text 变（配）电所名称", "说明 1 2 text 城东变", "说明 2 1 text 测点名称", "说明 2 2 text 10kV出线",
        "说明 3 1 text 时段", "说明 3 2 text 2011-12-31 23:58:00 – 2012-01-01 00:00:00", "说明 4 1 text 记录间隔",
        "说明 4 2 text 60 s", "说明 5 1 text 文件", "说明 5 2 text " + file, "说明 7 1 text 工作表", "说明 8 1 text 记录",
        "记录 1 1 text 序号", "记录 1 2 text 时间", "记录 1 6 text A相电压有效值(KV)", "记录 1 18 text A相有功功率(KW)",
        "记录 1 28 text 频率(Hz)", "记录 1 44 text Ua 基波(KV)", "记录 1 434 text 记录序号",
        "记录 2 2 datetime 2011-12-31 23:58:00"}) {
    EXPECT_TRUE(has(*cells, line)) << line;
  }
  for (const char* line :
       {"说明 frozen None", "记录 frozen A2", "记录 format 6 0.000", "记录 format 18 0.00", "记录 format 28 0.00",
        "记录 format 1 General",
        // "A相电压有效值(KV)": 17 digits wide, bold 18.7, and a margin.
        "记录 width 6 20", "记录 width 2 22"}) {
    EXPECT_TRUE(has(*layout, line)) << line;
  }

  const auto turned = runCli({"dump", file, "--xlsx", book, "--headers", "zh"});
  ASSERT_EQ(turned.status, 0) << turned.err;
  EXPECT_EQ(turned.out.rfind("序号,时间,接线方式,仪器编号,备用,A相电压有效值(KV),", 0), 0u);
  ASSERT_EQ(runCli({"dump", file, "--xlsx", book, "--headers", "id"}).status, 0);
  const auto identified = test::readBackWorkbook(book);
  ASSERT_TRUE(identified.has_value());
  EXPECT_TRUE(has(*identified, "记录 1 6 text uaRms"));
}

// Places that refuse a workbook even to root: the message names the file and the system's reason,
// nothing is printed or left behind.
TEST_F(RecordCommandsTest, DumpToARefusedWorkbookSaysWhy) {
  ASSERT_EQ(runCli({"generate", file, "--records", "3"}).status, 0);
  test::writeBytes(dir.file("plain"), {0x41});
  const struct {
    std::string path;
    std::string reason;
  } cases[] = {
      {dir.file("missing/day.xlsx"), "No such file or directory"},
      {dir.file("plain/day.xlsx"), "Not a directory"},
      {"/proc/day.xlsx", ""},
  };
  for (const auto& c : cases) {
    const auto result = runCli({"dump", file, "--bom", "--xlsx", c.path});
    EXPECT_EQ(result.status, 3) << c.path;
    EXPECT_EQ(result.err.rfind(c.path + ": ", 0), 0u) << result.err;
    EXPECT_NE(result.err.find(c.reason), std::string::npos) << result.err;
    EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
    EXPECT_EQ(result.out, "");
  }
  std::vector<std::string> entries = dir.entries();
  std::sort(entries.begin(), entries.end());
  EXPECT_EQ(entries, (std::vector<std::string>{"demo.bin", "plain"}));
}

TEST_F(RecordCommandsTest, DeleteCutsAtTheEndAndRewrites) {
  ASSERT_EQ(runCli({"generate", file, "--records", "10"}).status, 0);
  const auto deleted = runCli({"delete", file, "--first", "3", "--count", "97"});
  EXPECT_EQ(deleted.status, 0) << deleted.err;
  EXPECT_EQ(deleted.out, "2\n");
  const auto info = lines(runCli({"info", file}).out);
  EXPECT_EQ(info.at(10), "records: 2");
  EXPECT_EQ(info.at(12), "last: 2010-04-19 15:40:00");

  const auto single = runCli({"delete", file, "--first", "1"});
  EXPECT_EQ(single.out, "1\n");
  const auto remaining = lines(runCli({"dump", file}).out);
  EXPECT_EQ(fields(remaining.at(1))[1], "2010-04-19 15:40:00");
}

TEST_F(RecordCommandsTest, RefusalsAndUsageErrors) {
  ASSERT_EQ(runCli({"generate", file, "--records", "4"}).status, 0);
  const struct {
    std::vector<std::string> args;
    int status;
    std::string err;
  } cases[] = {
      {{"delete", file, "--first", "5"}, 3, "输入删除位置不正确，请重新输入！\n"},
      {{"delete", file, "--first", "0"}, 3, "输入删除位置不正确，请重新输入！\n"},
      {{"delete", file, "--first", "2", "--count", "0"}, 3, "输入删除位置不正确，请重新输入！\n"},
      {{"info", dir.file("missing.bin")}, 3, "文件空。\n"},
      {{"delete", dir.file("missing.bin"), "--first", "1"}, 3, "文件空。\n"},
  };
  for (const auto& c : cases) {
    const auto result = runCli(c.args);
    EXPECT_EQ(result.status, c.status) << c.args[0] << ' ' << c.err;
    EXPECT_EQ(result.err, c.err);
  }
  for (const auto& args :
       std::vector<std::vector<std::string>>{{},
                                             {"frobnicate"},
                                             {"info"},
                                             {"info", file, "--bogus", "1"},
                                             {"delete", file},
                                             {"dump", file, "--first", "x"},
                                             {"dump", file, "--xlsx"},
                                             {"dump", file, "--bom=yes"},
                                             {"dump", file, "--headers", "en"},
                                             {"events", file, "--headers", "中文"},
                                             {"survey", file, "--headers"},
                                             {"generate", file, "--start", "2010-02-30 00:00:00"},
                                             {"generate", file, "--wiring", "2"},
                                             {"generate", file, "--records"}}) {
    const auto result = runCli(args);
    EXPECT_EQ(result.status, 2) << (args.empty() ? "" : args[0]);
    EXPECT_NE(result.err.find("usage"), std::string::npos);
  }
  EXPECT_EQ(lines(runCli({"info", file}).out).at(10), "records: 4") << "refusals changed nothing";
}

TEST_F(RecordCommandsTest, FileWithoutFramesPrintsTheLinesAndFails) {
  test::RecordFileBytes().head("AB").save(file);
  const auto info = runCli({"info", file});
  EXPECT_EQ(info.status, 3);
  EXPECT_EQ(info.err, "文件太短，请重新保存或打开另一个文件！\n");
  const auto out = lines(info.out);
  ASSERT_EQ(out.size(), 11u);
  EXPECT_EQ(out[1], "substation: AB");
  EXPECT_EQ(out[10], "records: 0");
}

}  // namespace
}  // namespace pq
