#include "report/ReportFile.h"

#include <gtest/gtest.h>

#include <random>

#include "report/ReportFixture.h"
#include "report/ReportPageBuilder.h"
#include "report/ReportPageLayout.h"
#include "support/TempDir.h"

namespace pq {
namespace {

ReportPage builtPage() {
  ReportPage page = voltagePageForm();
  setReportTitle(page, {Phase::C, ReportQuantity::Voltage});
  buildVoltagePage(page, test::handFilledReport({Phase::C, ReportQuantity::Voltage}, 100), 100.0f,
                   "2026-12-10 08:00:00");
  return page;
}

// What a saved page keeps: everything but the keys.
void expectSameRendering(const ReportPage& a, const ReportPage& b) {
  EXPECT_EQ(a.lines(), b.lines());
  ASSERT_EQ(a.texts().size(), b.texts().size());
  for (std::size_t i = 0; i < a.texts().size(); ++i) {
    PageText unkeyed = a.texts()[i];
    unkeyed.key.clear();
    EXPECT_EQ(unkeyed, b.texts()[i]) << i;
  }
}

TEST(ReportFileTest, SavedPagesLoadAsTheyWere) {
  test::TempDir dir;
  const std::vector<ReportPage> pages{builtPage(), currentPageForm(), ReportPage{}};
  saveReportFile(dir.file("a.QRP"), pages);
  const auto loaded = loadReportFile(dir.file("a.QRP"));
  ASSERT_EQ(loaded.size(), 3u);
  for (std::size_t i = 0; i < pages.size(); ++i) expectSameRendering(pages[i], loaded[i]);
}

TEST(ReportFileTest, DamagedOrForeignBytesGiveAClearError) {
  const auto bytes = encodeReportFile({builtPage()});
  for (std::size_t size = 0; size < bytes.size(); size += (size < 64 ? 1 : 97)) {
    const std::vector<unsigned char> cut(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(size));
    EXPECT_THROW(decodeReportFile(cut), ReportFileError) << size;
  }
  std::mt19937 random(3);
  for (int round = 0; round < 200; ++round) {
    auto flipped = bytes;
    flipped[random() % flipped.size()] ^= static_cast<unsigned char>(1 + random() % 255);
    EXPECT_THROW(decodeReportFile(flipped), ReportFileError) << round;
    std::vector<unsigned char> noise(random() % 3000);
    for (auto& b : noise) b = static_cast<unsigned char>(random());
    if (noise.size() > 8) std::copy(bytes.begin(), bytes.begin() + 8, noise.begin());
    EXPECT_THROW(decodeReportFile(noise), ReportFileError);
  }
  try {
    decodeReportFile({'P', 'K', 3, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    FAIL();
  } catch (const ReportFileError& e) {
    EXPECT_STREQ(e.what(), "不是报表文件，无法打开");
  }
}

TEST(ReportFileTest, CountsBeyondAnyReportAreRefusedBeforeTheyCostMemory) {
  // Every page stays under the per-page limits, but together the tiny texts would take about six
  // times the file's size in memory; a report holds a few hundred items per page.
  ReportPage crowded;
  for (int i = 0; i < 1000; ++i) crowded.addText(0, 0, "");
  const std::vector<ReportPage> pages(300, crowded);
  const auto bytes = encodeReportFile(pages);
  ASSERT_LT(bytes.size(), 8u << 20);
  try {
    decodeReportFile(bytes);
    FAIL() << "300 000 texts were loaded";
  } catch (const ReportFileError& e) {
    EXPECT_STREQ(e.what(), "报表文件已损坏，无法打开");
  }
}

TEST(ReportFileTest, MissingFileAndUnwritableFolderAreErrors) {
  test::TempDir dir;
  EXPECT_THROW(loadReportFile(dir.file("none.QRP")), ReportFileError);
  EXPECT_THROW(saveReportFile(dir.file("no/such/folder/a.QRP"), {builtPage()}), ReportFileError);
  EXPECT_TRUE(dir.entries().empty());
}

}  // namespace
}  // namespace pq
