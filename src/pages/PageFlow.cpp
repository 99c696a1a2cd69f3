#include "pages/PageFlow.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <type_traits>
#include <variant>

namespace pq {

namespace {

const PageFont kTitleFont{"Arial", 14, true};
constexpr int kTitlePoints = 14;
const PageFont kHeadingFont{"Arial", 11, true};
const PageFont kSubheadingFont{"Arial", 10, true};
const PageFont kBoldFont{"Arial", 10, true};
constexpr int kCellPadding = 4;

// The length in bytes of the UTF-8 sequence that starts with `lead` (1 for a stray byte, so that
// damaged text still advances).
std::size_t sequenceLength(unsigned char lead) {
  if (lead >= 0xF0) return 4;
  if (lead >= 0xE0) return 3;
  if (lead >= 0xC0) return 2;
  return 1;
}

std::uint32_t codePoint(std::string_view text, std::size_t at, std::size_t length) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[at + i]); };
  switch (length) {
    case 2:
      return (byte(0) & 0x1Fu) << 6 | (byte(1) & 0x3Fu);
    case 3:
      return (byte(0) & 0x0Fu) << 12 | (byte(1) & 0x3Fu) << 6 | (byte(2) & 0x3Fu);
    case 4:
      return (byte(0) & 0x07u) << 18 | (byte(1) & 0x3Fu) << 12 | (byte(2) & 0x3Fu) << 6 | (byte(3) & 0x3Fu);
    default:
      return byte(0);
  }
}

// The width of one character in hundredths of a design pixel at `points`: an em (points * 96 / 72
// pixels) and a little for CJK and full-width characters, 0.58 em for the others (Arial's digits
// take 0.556 em, its capitals up to 0.94 em, but a page's texts are mostly digits and lower case).
int characterWidth(std::uint32_t c, int points) {
  const bool wide = c >= 0x1100 && !(c >= 0x2000 && c < 0x2E80 && c != 0x2026 && c != 0x2030);
  const int em = points * 400 / 3;
  return wide ? em + em / 64 : em * 58 / 100;
}

// Calls `visit(begin, end, width)` for each character of the text.
template <class Visit>
void eachCharacter(std::string_view text, int points, Visit visit) {
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t length = std::min(sequenceLength(static_cast<unsigned char>(text[at])), text.size() - at);
    visit(at, at + length, characterWidth(codePoint(text, at, length), points));
    at += length;
  }
}

}  // namespace

int PageFlow::textWidth(std::string_view utf8, int points) {
  int hundredths = 0;
  eachCharacter(utf8, points, [&](std::size_t, std::size_t, int w) { hundredths += w; });
  return (hundredths + 99) / 100;
}

std::string fitText(std::string_view utf8, int width) {
  if (PageFlow::textWidth(utf8) <= width) return std::string(utf8);
  const int room = (width - PageFlow::textWidth("…")) * 100;
  std::size_t end = 0;
  int used = 0;
  bool full = false;
  eachCharacter(utf8, 10, [&](std::size_t, std::size_t characterEnd, int w) {
    if (full || used + w > room) {
      full = true;
      return;
    }
    used += w;
    end = characterEnd;
  });
  return std::string(utf8.substr(0, end)) + "…";
}

PageFlow::PageFlow(std::string title) : title_(std::move(title)) { newPage(); }

void PageFlow::newPage() {
  pages_.emplace_back();
  const int x = std::max(kLeft, (ReportPage::kWidth - textWidth(title_, kTitlePoints)) / 2);
  pages_.back().addText(x, kTop, title_, kTitleFont);
  y_ = kTop + 40;
}

int PageFlow::take(int height) {
  if (y_ + height > kBottom) newPage();
  return y_;
}

void PageFlow::headerLine(std::string text) {
  const int y = take(kLineHeight);
  pages_.back().addText(kLeft, y, fitText(text, kRight - kLeft));
  y_ = y + kLineHeight;
}

void PageFlow::heading(std::string text, int level, int keepWith) {
  // So that a heading never ends a page alone.
  const int y = take(kLineHeight + 8 + keepWith);
  pages_.back().addText(kLeft, y, std::move(text), level <= 1 ? kHeadingFont : kSubheadingFont);
  y_ = y + kLineHeight + 8;
}

void PageFlow::chart(const PageDrawing& drawing) {
  const int y = take(drawing.height);
  pages_.back().place(drawing, kLeft, y);
  y_ = y + drawing.height + 6;
}

std::vector<ReportPage> PageFlow::layOut(const ReportDocument& document) {
  PageFlow flow(document.title());
  const auto& blocks = document.blocks();
  // What must follow a heading on its page: a chart whole, a table whole when a page holds it (its
  // headings and two rows when not), a heading with what follows that, or two lines of text.
  const std::function<int(std::size_t)> keepWith = [&](std::size_t next) {
    if (next >= blocks.size()) return 0;
    if (const auto* chart = std::get_if<DocumentChart>(&blocks[next])) return chart->drawing.height;
    if (const auto* table = std::get_if<DocumentTable>(&blocks[next])) {
      const int whole = static_cast<int>(table->rows.size() + 1) * kRowHeight;
      return whole <= kBottom - kTop - 40 - 2 * kLineHeight ? whole : 3 * kRowHeight;
    }
    if (std::holds_alternative<DocumentHeading>(blocks[next])) return kLineHeight + 8 + keepWith(next + 1);
    return 2 * kLineHeight;
  };
  for (std::size_t i = 0; i < blocks.size(); ++i) {
    std::visit(
        [&](const auto& block) {
          using Block = std::decay_t<decltype(block)>;
          if constexpr (std::is_same_v<Block, DocumentHeading>) {
            flow.heading(block.text, block.level, keepWith(i + 1));
          } else if constexpr (std::is_same_v<Block, DocumentHeaderLine>) {
            flow.headerLine(block.text);
          } else if constexpr (std::is_same_v<Block, DocumentParagraph>) {
            flow.paragraph(block.text);
          } else if constexpr (std::is_same_v<Block, DocumentTable>) {
            flow.table(block.columns, block.rows);
          } else if constexpr (std::is_same_v<Block, DocumentChart>) {
            flow.chart(block.drawing);
          } else {
            flow.space(block.pixels);
          }
        },
        blocks[i]);
  }
  return flow.finish();
}

void PageFlow::paragraph(std::string_view text) {
  const int width = (kRight - kLeft) * 100;
  std::size_t lineStart = 0;
  std::size_t lastBlank = std::string_view::npos;
  int used = 0;
  int usedAtBlank = 0;
  auto emit = [&](std::size_t end) {
    const int y = take(kLineHeight);
    pages_.back().addText(kLeft, y, std::string(text.substr(lineStart, end - lineStart)));
    y_ = y + kLineHeight;
  };
  eachCharacter(text, 10, [&](std::size_t begin, std::size_t end, int w) {
    if (used + w > width && begin > lineStart) {
      // Break at the last blank of the line when it is near the line's end, so that numbers and
      // words stay whole; Chinese text breaks between any two characters.
      if (lastBlank != std::string_view::npos && lastBlank > lineStart && usedAtBlank * 4 >= width * 3) {
        emit(lastBlank);
        lineStart = lastBlank + 1;
        used -= usedAtBlank;
      } else {
        emit(begin);
        lineStart = begin;
        used = 0;
      }
      lastBlank = std::string_view::npos;
    }
    if (text[begin] == ' ') {
      lastBlank = begin;
      usedAtBlank = used + w;
    }
    used += w;
    (void)end;
  });
  if (lineStart < text.size()) emit(text.size());
}

void PageFlow::space(int pixels) { y_ += pixels; }

void PageFlow::columnHeadings(const std::vector<TableColumn>& columns, int y) {
  ReportPage& page = pages_.back();
  int x = kLeft;
  for (const TableColumn& column : columns) {
    page.addText(x + kCellPadding, y + kCellPadding, fitText(column.title, column.width - 2 * kCellPadding),
                 kBoldFont);
    x += column.width;
  }
  page.addLine(kLeft, y, x, y);
  page.addLine(kLeft, y + kRowHeight, x, y + kRowHeight);
}

void PageFlow::table(const std::vector<TableColumn>& columns, const std::vector<std::vector<std::string>>& rows) {
  int right = kLeft;
  for (const TableColumn& column : columns) right += column.width;
  int segmentTop = take(2 * kRowHeight);
  columnHeadings(columns, segmentTop);
  int y = segmentTop + kRowHeight;
  auto closeSegment = [&] {
    int x = kLeft;
    pages_.back().addLine(x, segmentTop, x, y);
    for (const TableColumn& column : columns) {
      x += column.width;
      pages_.back().addLine(x, segmentTop, x, y);
    }
  };
  for (const auto& row : rows) {
    if (y + kRowHeight > kBottom) {
      closeSegment();
      newPage();
      segmentTop = y_;
      columnHeadings(columns, segmentTop);
      y = segmentTop + kRowHeight;
    }
    int x = kLeft;
    for (std::size_t c = 0; c < columns.size(); ++c) {
      if (c < row.size() && !row[c].empty())
        pages_.back().addText(x + kCellPadding, y + kCellPadding,
                              fitText(row[c], columns[c].width - 2 * kCellPadding));
      x += columns[c].width;
    }
    y += kRowHeight;
    pages_.back().addLine(kLeft, y, right, y);
  }
  closeSegment();
  y_ = y + 10;
}

std::vector<ReportPage> PageFlow::finish() {
  const std::string count = std::to_string(pages_.size());
  for (std::size_t i = 0; i < pages_.size(); ++i) {
    const std::string number = "第 " + std::to_string(i + 1) + " 页 共 " + count + " 页";
    pages_[i].addText((ReportPage::kWidth - textWidth(number)) / 2, ReportPage::kHeight - 45, number);
  }
  return std::move(pages_);
}

}  // namespace pq
