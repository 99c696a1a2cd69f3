// What independent readers see in a written Word document: python3-docx its blocks, styles, fonts,
// table cells and pictures; LibreOffice the pages it lays out (texts, the heading row repeated, the
// page numbers of the footer). And what the writer does when the system refuses or the caller's
// document cannot be written.
#include "export/DocxWriter.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "support/DocxReadBack.h"
#include "support/FileSizeLimit.h"
#include "support/FileText.h"
#include "support/TempDir.h"

namespace pq {
namespace {

using test::TempDir;

void appendBigEndian(std::string& out, std::uint32_t value) {
  for (const int shift : {24, 16, 8, 0}) out += static_cast<char>((value >> shift) & 0xFF);
}

void appendChunk(std::string& out, const char* type, const std::string& data) {
  appendBigEndian(out, static_cast<std::uint32_t>(data.size()));
  const std::string typed = type + data;
  out += typed;
  appendBigEndian(out, static_cast<std::uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(typed.data()),
                                                        static_cast<uInt>(typed.size()))));
}

// An RGB picture of coloured bands, as a real PNG file, so that a layout program draws it.
std::string bandsPng(int width, int height) {
  std::string header;
  appendBigEndian(header, static_cast<std::uint32_t>(width));
  appendBigEndian(header, static_cast<std::uint32_t>(height));
  header += std::string("\x08\x02\x00\x00\x00", 5);  // 8 bits, RGB, deflate, no filter, no interlace
  std::string rows;
  for (int y = 0; y < height; ++y) {
    rows += '\0';
    for (int x = 0; x < width; ++x) {
      const int band = x * 6 / width;
      rows += static_cast<char>(band % 2 == 0 ? 0xE0 : 0x20);
      rows += static_cast<char>(band % 3 == 0 ? 0xC0 : 0x40);
      rows += static_cast<char>(y * 255 / height);
    }
  }
  std::string packed(compressBound(static_cast<uLong>(rows.size())), '\0');
  uLongf packedSize = static_cast<uLongf>(packed.size());
  compress(reinterpret_cast<Bytef*>(packed.data()), &packedSize, reinterpret_cast<const Bytef*>(rows.data()),
           static_cast<uLong>(rows.size()));
  packed.resize(packedSize);
  std::string png = "\x89PNG\r\n\x1A\n";
  appendChunk(png, "IHDR", header);
  appendChunk(png, "IDAT", packed);
  appendChunk(png, "IEND", "");
  return png;
}

std::chrono::sys_seconds december11At080531() {
  using namespace std::chrono;
  return sys_days{year(2026) / December / 11} + hours(8) + minutes(5) + seconds(31);
}

// Every block once, the texts all different; a picture too large for the page, a table too wide,
// a table row shorter than its columns.
TEST(DocxWriterTest, ReaderSeesEveryBlockWithItsStyleAndSize) {
  TempDir dir;
  const std::string trend = bandsPng(1926, 642);
  const std::string frequency = bandsPng(200, 100);
  DocxDocument document;
  document.title = "电能质量测试报告 — 城南站";
  document.created = december11At080531();
  document.blocks = {
      DocxHeading{1, "电能质量测试报告"},
      DocxParagraph{"测试单位：华东电力试验研究院\n报告编号：PQ-2026-0173", false},
      DocxParagraph{"结论：合格", true},
      DocxHeading{2, "1 概况"},
      DocxTable{{{"项目", 120}, {"内容", 300}}, {{"变（配）电所名称", "城南110kV变电站"}, {"测点名称"}}},
      DocxHeading{3, "1.1 电压偏差"},
      DocxPicture{trend, 1926, 642, "A相电压趋势"},
      DocxPageBreak{},
      DocxPicture{frequency, 200, 100, "频率趋势"},
      DocxTable{{{"测试", 400}, {"审核", 400}}, {{"测试：\t张三", "审核：\r\n李四"}}, false},
  };
  writeDocx(document, dir.file("report.docx"));

  const auto lines = test::readBackDocument(dir.file("report.docx"));
  if (!lines) GTEST_SKIP() << "python3-docx is not installed";
  // A4 and 2 cm margins in twips; 96-dpi pixels are 15 twips and 9525 EMU. The trend is narrowed to
  // the 9638 twips (6 120 130 EMU) within the margins, a third as high; the two 6000-twip columns
  // share those 9638 twips.
  const std::vector<std::string> expected = {
      "part [Content_Types].xml",
      "part _rels/.rels",
      "part word/_rels/document.xml.rels",
      "part word/styles.xml",
      "part word/settings.xml",
      "part word/fontTable.xml",
      "part word/footer1.xml",
      "part docProps/core.xml",
      "part docProps/app.xml",
      "part word/document.xml",
      "part word/media/image1.png",
      "part word/media/image2.png",
      "title 电能质量测试报告 — 城南站",
      "created 2026-12-11T08:05:31",
      "page 11906 16838 1134 1134 1134 1134",
      "style Normal Times New Roman 宋体 - -",
      "style Heading 1 Arial 黑体 bold 32",
      "style Heading 2 Arial 黑体 bold 28",
      "style Heading 3 Arial 黑体 bold 24",
      "style Table Text - - - -",
      "style Table Heading - - bold -",
      "style Footer - - - 18",
      "footer 第 1 页 共 1 页",
      "paragraph Heading 1 - 电能质量测试报告",
      "paragraph Normal - 测试单位：华东电力试验研究院\\n报告编号：PQ-2026-0173",
      "paragraph Normal bold 结论：合格",
      "paragraph Heading 2 - 1 概况",
      "table 2 3 1800,4500 1",
      "cell 0 0 Table Heading 项目",
      "cell 0 1 Table Heading 内容",
      "cell 1 0 Table Text 变（配）电所名称",
      "cell 1 1 Table Text 城南110kV变电站",
      "cell 2 0 Table Text 测点名称",
      "cell 2 1 Table Text ",
      "paragraph Heading 3 - 1.1 电压偏差",
      "picture 6120130 2040043 " + std::to_string(trend.size()) + " A相电压趋势",
      "pagebreak",
      "picture 1905000 952500 " + std::to_string(frequency.size()) + " 频率趋势",
      "table 2 1 4819,4819 0",
      "cell 0 0 Table Text 测试：\\t张三",
      "cell 0 1 Table Text 审核：\\n李四",
      "paragraph Normal - ",
  };
  EXPECT_EQ(*lines, expected);
}

TEST(DocxWriterTest, MarkupControlCharactersAndBrokenTextReachTheReaderAsText) {
  TempDir dir;
  const std::string station = "城南<&>\"'站 \xF0\x9F\x98\x80";
  // Control characters go, each byte that is not UTF-8 becomes U+FFFD, the workbook's escape stays.
  const std::string raw = station +
                          "\x01\x0B"
                          "a\xEF\xBF\xBF\xFF"
                          "b_x0041_";
  const std::string read = station +
                           "a\xEF\xBF\xBD"
                           "b_x0041_";
  DocxDocument document;
  document.title = raw;
  document.created = december11At080531();
  document.blocks = {DocxHeading{2, raw}, DocxParagraph{raw, false}, DocxTable{{{raw, 90}}, {{raw}}},
                     DocxPicture{bandsPng(2, 2), 30, 40, raw}};
  writeDocx(document, dir.file("escaped.docx"));

  const auto lines = test::readBackDocument(dir.file("escaped.docx"));
  if (!lines) GTEST_SKIP() << "python3-docx is not installed";
  // The body follows the footer.
  const auto footer = std::find_if(lines->begin(), lines->end(),
                                   [](const std::string& line) { return line.rfind("footer ", 0) == 0; });
  ASSERT_NE(footer, lines->end());
  EXPECT_NE(std::find(lines->begin(), footer, "title " + read), footer);
  const std::vector<std::string> expected = {
      "paragraph Heading 2 - " + read,
      "paragraph Normal - " + read,
      "table 1 2 1350 1",
      "cell 0 0 Table Heading " + read,
      "cell 1 0 Table Text " + read,
      "picture 285750 381000 " + std::to_string(bandsPng(2, 2).size()) + " " + read,
  };
  EXPECT_EQ(std::vector<std::string>(footer + 1, lines->end()), expected);
}

TEST(DocxWriterTest, DocumentsThatCannotBeWrittenAreRefusedBeforeAnyFile) {
  const DocxColumn column{"电压", 80};
  const struct {
    const char* name;
    DocxBlock block;
  } cases[] = {
      {"heading level 0", DocxHeading{0, "概况"}},
      {"heading level 4", DocxHeading{4, "概况"}},
      {"a row longer than the columns", DocxTable{{column}, {{"1", "2"}}}},
      {"a table without columns", DocxTable{{}, {{}}}},
      {"a table without rows", DocxTable{{column}, {}, false}},
      {"a column without width", DocxTable{{column, {"电流", 0}}, {}}},
      {"a picture without height", DocxPicture{"png", 10, 0, "趋势"}},
      {"a picture of negative width", DocxPicture{"png", -10, 10, "趋势"}},
  };
  TempDir dir;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    DocxDocument document;
    document.blocks = {DocxParagraph{"前文", false}, c.block};
    EXPECT_THROW(writeDocx(document, dir.file("report.docx")), std::invalid_argument);
    EXPECT_TRUE(dir.entries().empty());
  }
}

TEST(DocxWriterTest, RefusedPlacesSayWhyInTheOperatorsWordsAndLeaveNothing) {
  TempDir dir;
  test::writeBytes(dir.file("plain"), {0x31, 0x32});
  test::writeBytes(dir.file("old.docx"), {0x41, 0x42, 0x43});
  DocxDocument document;
  document.blocks = {DocxHeading{1, "报告"}, DocxPicture{std::string(200000, 'p'), 640, 480, "趋势"}};
  const struct {
    const char* name;
    std::string path;
    std::string reason;
    std::size_t fileSizeLimit;
  } cases[] = {
      {"missing folder", dir.file("missing/report.docx"), "No such file or directory", 0},
      {"a file in place of the folder", dir.file("plain/report.docx"), "Not a directory", 0},
      {"full disk over an old file", dir.file("old.docx"), "File too large", 4096},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::string message;
    try {
      std::optional<test::FileSizeLimit> limit;
      if (c.fileSizeLimit > 0) limit.emplace(c.fileSizeLimit);
      writeDocx(document, c.path);
    } catch (const DocxWriteError& error) {
      message = error.what();
    }
    EXPECT_EQ(message.rfind("Word 文件无法保存：", 0), 0u) << message;
    EXPECT_NE(message.find(c.reason), std::string::npos) << message;
  }
  EXPECT_EQ(dir.entries(), (std::vector<std::string>{"old.docx", "plain"}));
  EXPECT_EQ(test::readBytes(dir.file("old.docx")), (std::vector<std::uint8_t>{0x41, 0x42, 0x43}));
}

// Whitespace taken out, since the layout of pdftotext puts spaces of its own between words.
std::string pageText(const std::string& pdf, int page) {
  std::string text;
  for (const char c : test::commandOutput("pdftotext -enc UTF-8 -f " + std::to_string(page) + " -l " +
                                          std::to_string(page) + " '" + pdf + "' -")) {
    if (c != ' ' && c != '\n' && c != '\f') text += c;
  }
  return text;
}

TEST(DocxWriterTest, LibreOfficeLaysOutTheTextsTheHeadingRowOnEveryPageAndThePageNumbers) {
  if (std::system("command -v soffice >/dev/null 2>&1") != 0) GTEST_SKIP() << "LibreOffice is not installed";
  if (std::system("command -v pdftotext >/dev/null 2>&1") != 0) GTEST_SKIP() << "pdftotext is not installed";
  TempDir dir;
  DocxDocument document;
  document.title = "电能质量测试报告";
  DocxTable table{{{"序号", 60}, {"时间", 200}, {"A相电压（V）", 140}, {"变电站", 200}}, {}};
  for (int i = 1; i <= 90; ++i) {
    table.rows.push_back(
        {std::to_string(i),
         "2026-12-0" + std::to_string(1 + i % 7) + " 10:" + std::to_string(10 + i % 50) + ":00",
         std::to_string(220 + i % 9) + "." + std::to_string(i % 10), "城南<&>站"});
  }
  document.blocks = {DocxHeading{1, "电能质量测试报告"}, DocxParagraph{"测点：城南<&>\"'站", true},
                     DocxPicture{bandsPng(600, 200), 600, 200, "趋势"}, DocxHeading{2, "2 电压"}, table};
  writeDocx(document, dir.file("report.docx"));
  const std::string command = "cd '" + dir.path() + "' && soffice -env:UserInstallation=file://" +
                              dir.file("office") + " --headless --convert-to pdf report.docx >/dev/null 2>&1";
  ASSERT_EQ(std::system(command.c_str()), 0);

  const std::string pdf = dir.file("report.pdf");
  const std::string pages = test::commandOutput("pdfinfo '" + pdf + "' | sed -n 's/^Pages: *//p'");
  const int pageCount = std::atoi(pages.c_str());
  ASSERT_GE(pageCount, 2) << "ninety rows and a picture take more than a page";
  const std::string first = pageText(pdf, 1);
  EXPECT_NE(first.find("电能质量测试报告"), std::string::npos) << first;
  EXPECT_NE(first.find("测点：城南<&>\"'站"), std::string::npos) << first;
  EXPECT_NE(first.find("1"
                       "2026-12-02"
                       "10:11:00"
                       "221.1"
                       "城南<&>站"),
            std::string::npos)
      << first;
  const std::string total = "共" + std::to_string(pageCount) + "页";
  EXPECT_NE(first.find("第1页" + total), std::string::npos) << first;
  const std::string last = pageText(pdf, pageCount);
  EXPECT_EQ(last.find("序号时间A相电压（V）变电站"), 0u) << last;
  EXPECT_NE(last.find("90"
                      "2026-12-07"
                      "10:50:00"
                      "220.0"
                      "城南<&>站"),
            std::string::npos)
      << last;
  EXPECT_NE(last.find("第" + std::to_string(pageCount) + "页" + total), std::string::npos) << last;
}

}  // namespace
}  // namespace pq
