#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "pages/PageDrawing.h"
#include "pages/PageFont.h"

namespace pq {

// A single-line text at a design position (96 dpi pixels from the paper's top-left corner). A
// variable cell has a key by which the page is filled and read; a static text may have one too when
// other outputs need to find it.
struct PageText {
  int x = 0;
  int y = 0;
  std::string text;
  PageFont font;
  std::string key;
  bool operator==(const PageText&) const = default;
};

// A black ruling line, 1 px wide.
struct PageLine {
  int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  bool operator==(const PageLine&) const = default;
};

// One A4 report page as a display list: the same list is painted on screen, printer, PDF and image,
// saved to report files and read by the spreadsheet export (which take its lines and texts; the
// drawings are the assessment's charts, which neither a report file nor a sheet holds).
class ReportPage {
 public:
  static constexpr int kWidth = 794;  // A4 at 96 dpi
  static constexpr int kHeight = 1123;
  static constexpr int kMargin = 38;  // 10 mm

  void addLine(int x1, int y1, int x2, int y2) { lines_.push_back({x1, y1, x2, y2}); }
  void addText(int x, int y, std::string text, PageFont font = {}, std::string key = {});
  // A variable cell, empty until set.
  void addCell(std::string key, int x, int y, PageFont font = {}) { addText(x, y, {}, font, std::move(key)); }

  // The text of a keyed cell. Throws std::out_of_range for a key the page does not have.
  void set(std::string_view key, std::string text);
  const std::string& text(std::string_view key) const;
  bool has(std::string_view key) const;

  // A drawing (a chart) with its top-left corner at (x, y).
  void place(const PageDrawing& drawing, int x, int y) { drawing_.append(drawing, x, y); }

  const std::vector<PageLine>& lines() const { return lines_; }
  const std::vector<PageText>& texts() const { return texts_; }
  // The drawings placed on the page, as one.
  const PageDrawing& drawing() const { return drawing_; }
  bool operator==(const ReportPage&) const = default;

 private:
  PageText& cell(std::string_view key);

  std::vector<PageLine> lines_;
  std::vector<PageText> texts_;
  PageDrawing drawing_;
};

}  // namespace pq
