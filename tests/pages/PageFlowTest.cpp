#include "pages/PageFlow.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>

namespace pq {
namespace {

const std::vector<TableColumn> kColumns = {{"指标", 200}, {"相别", 80}, {"95%值", 120}};

// The texts of a page at the left edge of the table's first column, top to bottom.
std::vector<std::string> firstColumn(const ReportPage& page) {
  std::multimap<int, std::string> byY;
  for (const PageText& t : page.texts())
    if (t.x == PageFlow::kLeft + 4) byY.emplace(t.y, t.text);
  std::vector<std::string> texts;
  for (const auto& [y, text] : byY) texts.push_back(text);
  return texts;
}

TEST(PageFlow, ALongTableContinuesWithItsHeadingsAndLosesNoRow) {
  PageFlow flow("电能质量综合评估");
  flow.headerLine("测点名称：1#主变");
  std::vector<std::vector<std::string>> rows;
  for (int i = 0; i < 100; ++i) rows.push_back({"第" + std::to_string(i) + "行", "A", std::to_string(i * 7)});
  flow.table(kColumns, rows);
  const std::vector<ReportPage> pages = flow.finish();
  ASSERT_GE(pages.size(), 3u);

  std::vector<std::string> seen;
  for (std::size_t p = 0; p < pages.size(); ++p) {
    const std::vector<std::string> column = firstColumn(pages[p]);
    ASSERT_FALSE(column.empty());
    EXPECT_EQ(column[0], "指标") << "page " << p + 1;
    for (std::size_t i = 1; i < column.size(); ++i) seen.push_back(column[i]);
    for (const PageText& t : pages[p].texts()) EXPECT_LE(t.y, ReportPage::kHeight - 45) << t.text;
    for (const PageLine& l : pages[p].lines()) EXPECT_LE(std::max(l.y1, l.y2), PageFlow::kBottom);
    const std::string number =
        "第 " + std::to_string(p + 1) + " 页 共 " + std::to_string(pages.size()) + " 页";
    EXPECT_TRUE(std::any_of(pages[p].texts().begin(), pages[p].texts().end(),
                            [&](const PageText& t) { return t.text == number; }))
        << number;
    EXPECT_EQ(pages[p].texts().front().text, "电能质量综合评估");
  }
  std::vector<std::string> expected;
  for (const auto& row : rows) expected.push_back(row[0]);
  EXPECT_EQ(seen, expected);
}

TEST(PageFlow, AHeadingNearTheFootGoesOverWithItsTable) {
  PageFlow flow("评估");
  std::vector<std::vector<std::string>> rows(40, {"x", "A", "1"});
  flow.table(kColumns, rows);  // leaves less room than a heading and three rows need
  flow.heading("三相电压不平衡度");
  flow.table(kColumns, {{"负序", "-", "1.23"}});
  const std::vector<ReportPage> pages = flow.finish();
  ASSERT_EQ(pages.size(), 2u);
  const auto& second = pages[1].texts();
  EXPECT_TRUE(std::any_of(second.begin(), second.end(), [](const PageText& t) { return t.text == "三相电压不平衡度"; }));
}

TEST(PageFlow, ParagraphLinesFitAndKeepEveryCharacter) {
  const std::string text =
      "电压偏差（GB/T 12325）：取 1 分钟方均根值，与上限 +7.00% 和下限 -7.00% 比较；含电压事件的分钟不计入，另行统计。"
      "电压合格率 = (1 - (超上限分钟数 + 超下限分钟数) / 监测分钟数) × 100%，保留两位小数。";
  PageFlow flow("评估");
  flow.paragraph(text);
  const std::vector<ReportPage> pages = flow.finish();
  std::string joined;
  std::vector<int> widths;
  for (const PageText& t : pages[0].texts()) {
    if (t.x != PageFlow::kLeft) continue;
    widths.push_back(PageFlow::textWidth(t.text));
    EXPECT_LE(widths.back(), PageFlow::kRight - PageFlow::kLeft) << t.text;
    joined += t.text;
  }
  ASSERT_GE(widths.size(), 2u);
  // A blank early in a line does not end it: only the last line may be short.
  for (std::size_t i = 0; i + 1 < widths.size(); ++i)
    EXPECT_GE(widths[i] * 4, (PageFlow::kRight - PageFlow::kLeft) * 3) << "line " << i;
  // A line broken at a blank drops that blank only.
  std::string withoutBlanks;
  for (char c : text)
    if (c != ' ') withoutBlanks += c;
  std::string joinedWithoutBlanks;
  for (char c : joined)
    if (c != ' ') joinedWithoutBlanks += c;
  EXPECT_EQ(joinedWithoutBlanks, withoutBlanks);
}

// A document's chart is placed whole at the margin; one that does not fit below the text goes to
// the next page, and its heading with it.
TEST(PageFlow, AChartGoesOverWholeWithItsHeading) {
  PageDrawing chart;
  chart.width = 600;
  chart.height = 500;
  chart.fills.push_back({10, 20, 30, 40, {1, 2, 3}});
  ReportDocument document("测试报告");
  document.headerLine("测点名称：1#主变");
  document.heading("小图");
  document.chart(chart);  // fits: 98 + 26 + 500 is above the foot
  document.heading("大图");
  document.chart(chart);  // does not: 630 + 26 + 500 is past the foot at 1063
  const std::vector<ReportPage> pages = PageFlow::layOut(document);
  ASSERT_EQ(pages.size(), 2u);
  ASSERT_EQ(pages[0].drawing().fills.size(), 1u);
  EXPECT_EQ(pages[0].drawing().fills[0].x, PageFlow::kLeft + 10);
  EXPECT_EQ(pages[0].drawing().fills[0].y, 80 + 18 + 26 + 20);
  ASSERT_EQ(pages[1].drawing().fills.size(), 1u);
  EXPECT_EQ(pages[1].drawing().fills[0].y, 80 + 26 + 20);
  const auto& second = pages[1].texts();
  EXPECT_TRUE(std::any_of(second.begin(), second.end(), [](const PageText& t) { return t.text == "大图" && t.y == 80; }));
}

TEST(PageFlow, CellTextsAreCutToTheirColumn) {
  EXPECT_EQ(fitText("合格", 100), "合格");
  const std::string cut = fitText("1#主变10kV进线（长期监测点）", 100);
  EXPECT_LE(PageFlow::textWidth(cut), 100);
  EXPECT_THAT(cut, ::testing::EndsWith("…"));
  EXPECT_THAT(cut, ::testing::StartsWith("1#主变"));
  // Damaged UTF-8 is measured and cut without reading past the text.
  const std::string damaged = std::string("\xE5\x90", 2) + std::string(30, 'x') + "\xF0";
  EXPECT_LE(PageFlow::textWidth(fitText(damaged, 60)), 60);
}

}  // namespace
}  // namespace pq
