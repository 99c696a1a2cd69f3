#include "report/BiffWriter.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <stdexcept>
#include <string>

#include "base/ByteWriter.h"
#include "base/TextCodec.h"

namespace pq::xls {

namespace {

constexpr std::size_t kMaxRecordData = 8224;
constexpr std::uint16_t kAutomaticColour = 0x40;   // window text: fonts, borders, pattern colour
constexpr std::uint16_t kBackgroundColour = 0x41;  // window background
constexpr int kFirstCellXf = 16;                   // 0..14 style formats, 15 the default cell format

class Bytes : public ByteWriter {
 public:
  void utf16(const std::u16string& text) {
    for (char16_t c : text) u16(c);
  }
  // A short string: u8 count, u8 flag 1 (UTF-16), characters.
  void shortString(const std::string& utf8) {
    const std::u16string text = utf8ToUtf16(utf8).substr(0, 255);
    u8(static_cast<unsigned>(text.size()));
    u8(1);
    utf16(text);
  }
};

class Stream {
 public:
  std::size_t size() const { return out_.data.size(); }
  void record(std::uint16_t id, const Bytes& body) {
    if (body.data.size() > kMaxRecordData) throw std::length_error("BIFF record too long");
    out_.u16(id);
    out_.u16(static_cast<unsigned>(body.data.size()));
    out_.data.insert(out_.data.end(), body.data.begin(), body.data.end());
  }
  void patch32(std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out_.data[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
  }
  std::vector<std::uint8_t> take() { return std::move(out_.data); }

 private:
  Bytes out_;
};

// Fonts, cell formats and strings as the globals list them, with the indexes cells refer to.
struct Tables {
  std::vector<Font> fonts;  // unique fonts, the Normal font first
  std::map<CellFormat, int> xfs;
  std::vector<CellFormat> xfOrder;
  std::map<std::string, std::uint32_t> strings;
  std::vector<std::string> stringOrder;
  std::uint32_t stringUses = 0;

  int fontIndex(const Font& font) {
    const auto it = std::find(fonts.begin(), fonts.end(), font);
    const auto position = static_cast<int>(it - fonts.begin());
    if (it == fonts.end()) fonts.push_back(font);
    // Records 0..3 all hold the Normal font and index 4 does not exist.
    return position == 0 ? 0 : position + 4;
  }
  int xfIndex(const CellFormat& format) {
    const auto [it, inserted] = xfs.try_emplace(format, kFirstCellXf + static_cast<int>(xfOrder.size()));
    if (inserted) xfOrder.push_back(format);
    return it->second;
  }
  std::uint32_t stringIndex(const std::string& text) {
    ++stringUses;
    const auto [it, inserted] = strings.try_emplace(text, static_cast<std::uint32_t>(stringOrder.size()));
    if (inserted) stringOrder.push_back(text);
    return it->second;
  }
};

void writeBof(Stream& s, std::uint16_t type) {
  Bytes b;
  b.u16(0x0600);
  b.u16(type);
  b.u16(0x0DBB);
  b.u16(0x07CC);
  b.u32(0);
  b.u32(0x0006);
  s.record(0x0809, b);
}

void writeSimple(Stream& s, std::uint16_t id, std::uint16_t value) {
  Bytes b;
  b.u16(value);
  s.record(id, b);
}

void writeFont(Stream& s, const Font& font) {
  Bytes b;
  b.u16(static_cast<unsigned>(font.points * 20));
  b.u16(0);
  b.u16(0x7FFF);
  b.u16(font.bold ? 700 : 400);
  b.u16(0);
  b.u8(0);
  b.u8(0);
  b.u8(0x86);  // GB2312 / GBK character set
  b.u8(0);
  b.shortString(font.name);
  s.record(0x0031, b);
}

void writeStyleXf(Stream& s, bool normal) {
  Bytes b;
  b.u16(0);
  b.u16(0);
  b.u16(0xFFF5);  // locked, style, no parent
  b.u8(0x20);     // bottom aligned
  b.u8(0);
  b.u8(0);
  b.u8(normal ? 0x00 : 0xF4);
  b.u32(0);
  b.u32(0);
  b.u16(kAutomaticColour | kBackgroundColour << 7);
  s.record(0x00E0, b);
}

void writeCellXf(Stream& s, int font, const CellFormat* format) {
  Bytes b;
  b.u16(static_cast<unsigned>(font));
  b.u16(0);
  b.u16(0x0001);  // locked, parent: the Normal style
  if (format == nullptr) {
    b.u8(0x20);
    b.u8(0);
    b.u8(0);
    b.u8(0);
    b.u32(0);
    b.u32(0);
    b.u16(kAutomaticColour | kBackgroundColour << 7);
    s.record(0x00E0, b);
    return;
  }
  b.u8(static_cast<unsigned>(format->horizontal) | static_cast<unsigned>(format->vertical) << 4);
  b.u8(0);
  b.u8(0);
  b.u8(0xFC);  // every attribute is this format's own
  auto colourOf = [](Line line) { return line == Line::None ? 0u : std::uint32_t{kAutomaticColour}; };
  b.u32(static_cast<std::uint32_t>(format->left) | static_cast<std::uint32_t>(format->right) << 4 |
        static_cast<std::uint32_t>(format->top) << 8 | static_cast<std::uint32_t>(format->bottom) << 12 |
        colourOf(format->left) << 16 | colourOf(format->right) << 23);
  b.u32(colourOf(format->top) | colourOf(format->bottom) << 7 | (format->solidFill ? 1u : 0u) << 26);
  // A solid fill in the automatic colours: the window background, with the automatic pattern colour.
  b.u16(format->solidFill ? (kBackgroundColour | kAutomaticColour << 7)
                          : (kAutomaticColour | kBackgroundColour << 7));
  s.record(0x00E0, b);
}

// SST with CONTINUE records, and the EXTSST index of every eighth string.
void writeSharedStrings(Stream& s, const Tables& tables) {
  constexpr std::size_t kBucket = 8;
  struct Mark {
    std::uint32_t position;
    std::uint16_t offset;
  };
  std::vector<Mark> marks;
  std::vector<Bytes> records(1);
  records[0].u32(tables.stringUses);
  records[0].u32(static_cast<std::uint32_t>(tables.stringOrder.size()));
  std::size_t recordStart = s.size();  // of the record being filled, header included
  auto startContinue = [&] {
    recordStart += 4 + records.back().data.size();
    records.emplace_back();
  };
  for (std::size_t i = 0; i < tables.stringOrder.size(); ++i) {
    const std::u16string text = utf8ToUtf16(tables.stringOrder[i]).substr(0, 32767);
    // Header (u16 count, flag) and the first character stay together.
    if (records.back().data.size() + 3 + std::min<std::size_t>(text.size(), 1) * 2 > kMaxRecordData) {
      startContinue();
    }
    if (i % kBucket == 0) {
      marks.push_back({static_cast<std::uint32_t>(recordStart + 4 + records.back().data.size()),
                       static_cast<std::uint16_t>(4 + records.back().data.size())});
    }
    records.back().u16(static_cast<unsigned>(text.size()));
    records.back().u8(1);
    for (std::size_t c = 0; c < text.size(); ++c) {
      if (records.back().data.size() + 2 > kMaxRecordData) {
        startContinue();
        records.back().u8(1);  // every continuation repeats the flag
      }
      records.back().u16(text[c]);
    }
  }
  s.record(0x00FC, records[0]);
  for (std::size_t r = 1; r < records.size(); ++r) s.record(0x003C, records[r]);

  Bytes ext;
  ext.u16(kBucket);
  for (const Mark& mark : marks) {
    ext.u32(mark.position);
    ext.u16(mark.offset);
    ext.u16(0);
  }
  s.record(0x00FF, ext);
}

void writeCell(Stream& s, int row, int column, int xf, const Worksheet::Value& value, Tables& tables) {
  Bytes b;
  b.u16(static_cast<unsigned>(row));
  b.u16(static_cast<unsigned>(column));
  b.u16(static_cast<unsigned>(xf));
  if (const auto* text = std::get_if<std::string>(&value)) {
    b.u32(tables.strings.at(*text));
    s.record(0x00FD, b);
  } else if (const auto* number = std::get_if<int>(&value)) {
    if (*number >= -(1 << 29) && *number < (1 << 29)) {
      b.u32(static_cast<std::uint32_t>(*number) << 2 | 2u);
      s.record(0x027E, b);
    } else {
      const double wide = *number;
      std::uint64_t bits = 0;
      static_assert(sizeof wide == sizeof bits);
      std::memcpy(&bits, &wide, sizeof bits);
      b.u32(static_cast<std::uint32_t>(bits));
      b.u32(static_cast<std::uint32_t>(bits >> 32));
      s.record(0x0203, b);
    }
  } else {
    s.record(0x0201, b);
  }
}

}  // namespace

std::vector<std::uint8_t> workbookStream(const Worksheet& sheet) {
  Tables tables;
  const Font& normalFont = sheet.baseFormat().font;
  tables.fonts.push_back(normalFont);
  const int baseXf = tables.xfIndex(sheet.baseFormat());
  std::map<std::pair<int, int>, int> cellXf;
  for (const auto& [at, cell] : sheet.cells()) {
    cellXf[at] = tables.xfIndex(cell.format);
    // Strings are numbered in the order the sheet writes its cells.
    if (const auto* text = std::get_if<std::string>(&cell.value)) tables.stringIndex(*text);
  }
  for (const CellFormat& format : tables.xfOrder) tables.fontIndex(format.font);

  Stream s;
  writeBof(s, 0x0005);
  writeSimple(s, 0x0042, 1200);  // code page: UTF-16
  {
    Bytes window;
    for (unsigned v : {0u, 0u, 0x4000u, 0x2000u, 0x0038u, 0u, 0u, 1u, 0x0258u}) window.u16(v);
    s.record(0x003D, window);
  }
  writeSimple(s, 0x0022, 0);  // dates from 1900
  writeSimple(s, 0x000E, 1);  // precision as displayed: off
  writeSimple(s, 0x00DA, 0);
  for (int i = 0; i < 4; ++i) writeFont(s, normalFont);
  for (std::size_t i = 1; i < tables.fonts.size(); ++i) writeFont(s, tables.fonts[i]);
  writeStyleXf(s, true);
  for (int i = 1; i < 15; ++i) writeStyleXf(s, false);
  writeCellXf(s, 0, nullptr);
  for (const CellFormat& format : tables.xfOrder) writeCellXf(s, tables.fontIndex(format.font), &format);
  {
    Bytes style;
    style.u16(0x8000);
    style.u8(0);
    style.u8(0xFF);
    s.record(0x0293, style);
  }
  Bytes boundSheet;
  boundSheet.u32(0);
  boundSheet.u8(0);
  boundSheet.u8(0);
  boundSheet.shortString(sheet.name());
  const std::size_t boundSheetAt = s.size() + 4;
  s.record(0x0085, boundSheet);
  writeSharedStrings(s, tables);
  s.record(0x000A, Bytes{});

  s.patch32(boundSheetAt, static_cast<std::uint32_t>(s.size()));
  writeBof(s, 0x0010);
  {
    Bytes b;
    b.u16(0);
    b.u16(255);
    s.record(0x0225, b);
  }
  writeSimple(s, 0x0081, 0x04C1);
  for (const auto& [column, width] : sheet.columnWidths()) {
    Bytes b;
    b.u16(static_cast<unsigned>(column));
    b.u16(static_cast<unsigned>(column));
    b.u16(static_cast<unsigned>(std::lround(width * 256)));
    b.u16(static_cast<unsigned>(baseXf));
    b.u16(0);
    b.u16(0);
    s.record(0x007D, b);
  }

  int lastRow = -1, lastColumn = -1;
  for (const auto& [at, cell] : sheet.cells()) {
    lastRow = std::max(lastRow, at.first);
    lastColumn = std::max(lastColumn, at.second);
  }
  if (!sheet.rowHeights().empty()) lastRow = std::max(lastRow, sheet.rowHeights().rbegin()->first);
  {
    Bytes b;
    b.u32(0);
    b.u32(static_cast<std::uint32_t>(lastRow + 1));
    b.u16(0);
    b.u16(static_cast<unsigned>(lastColumn + 1));
    b.u16(0);
    s.record(0x0200, b);
  }

  for (int row = 0; row <= lastRow; ++row) {
    const auto first = sheet.cells().lower_bound({row, 0});
    const auto end = sheet.cells().lower_bound({row + 1, 0});
    const auto height = sheet.rowHeights().find(row);
    if (first == end && height == sheet.rowHeights().end()) continue;
    Bytes b;
    b.u16(static_cast<unsigned>(row));
    b.u16(first == end ? 0u : static_cast<unsigned>(first->first.second));
    b.u16(first == end ? 0u : static_cast<unsigned>(std::prev(end)->first.second + 1));
    const bool custom = height != sheet.rowHeights().end();
    b.u16(custom ? static_cast<unsigned>(std::lround(height->second * 20)) : 255u);
    b.u16(0);
    b.u16(0);
    b.u32(0x100u | (custom ? 0x40u : 0u) | static_cast<std::uint32_t>(kFirstCellXf - 1) << 16);
    s.record(0x0208, b);
    for (auto it = first; it != end; ++it) {
      writeCell(s, it->first.first, it->first.second, cellXf[it->first], it->second.value, tables);
    }
  }

  {
    Bytes b;
    for (unsigned v : {0x06B6u, 0u, 0u, 0x40u, 0u, 0u, 0u}) b.u16(v);
    b.u32(0);
    s.record(0x023E, b);
  }
  const auto& merges = sheet.merges();
  for (std::size_t start = 0; start < merges.size(); start += 1026) {
    const std::size_t count = std::min<std::size_t>(1026, merges.size() - start);
    Bytes b;
    b.u16(static_cast<unsigned>(count));
    for (std::size_t i = start; i < start + count; ++i) {
      b.u16(static_cast<unsigned>(merges[i].firstRow));
      b.u16(static_cast<unsigned>(merges[i].lastRow));
      b.u16(static_cast<unsigned>(merges[i].firstColumn));
      b.u16(static_cast<unsigned>(merges[i].lastColumn));
    }
    s.record(0x00E5, b);
  }
  s.record(0x000A, Bytes{});
  return s.take();
}

}  // namespace pq::xls
