#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "pages/ReportDocument.h"
#include "pages/ReportPage.h"

namespace pq {

// Lays out a document of headings, tables and paragraphs on as many A4 report pages as it needs, for
// pages whose length depends on the data (the assessment, the event list). Every page carries the
// document's title at the top and "第 n 页 共 m 页" at the bottom; a table that continues on a new page
// repeats its column headings there; a row is never split. Texts are single lines: a paragraph is
// broken into lines that fit the width, and a cell text is cut to its column with "…".
class PageFlow {
 public:
  static constexpr int kLeft = 56;
  static constexpr int kRight = ReportPage::kWidth - 50;
  static constexpr int kTop = 40;
  static constexpr int kBottom = ReportPage::kHeight - 60;  // above the page number
  static constexpr int kRowHeight = 22;
  static constexpr int kLineHeight = 18;

  explicit PageFlow(std::string title);

  // The document's blocks on as many pages as they take, numbered.
  static std::vector<ReportPage> layOut(const ReportDocument& document);

  // Lines of "label：value" under the title of the first page.
  void headerLine(std::string text);
  // A heading stays on the page of what follows it: `keepWith` is the height that must fit below it
  // (by default a table's column headings and two rows). Level 2 is a smaller heading.
  void heading(std::string text, int level = 1, int keepWith = 3 * kRowHeight);
  void table(const std::vector<TableColumn>& columns, const std::vector<std::vector<std::string>>& rows);
  void paragraph(std::string_view text);
  // A drawing at the left margin, on a new page if it does not fit on this one.
  void chart(const PageDrawing& drawing);
  // Room of `pixels` before the next item.
  void space(int pixels);

  // The pages, numbered.
  std::vector<ReportPage> finish();

  // The width a text takes on a page at 10 points: CJK and full-width characters an em, others about
  // half of one. Generous, so that a text measured to fit does fit.
  static int textWidth(std::string_view utf8, int points = 10);

 private:
  // The top of the room for an item `height` high: the current position, or the top of a new page.
  int take(int height);
  void newPage();
  void columnHeadings(const std::vector<TableColumn>& columns, int y);

  std::string title_;
  std::vector<ReportPage> pages_;
  int y_ = 0;
};

// The text cut to `width` design pixels, ending in "…" when cut.
std::string fitText(std::string_view utf8, int width);

}  // namespace pq
