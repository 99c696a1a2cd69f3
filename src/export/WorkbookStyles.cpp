#include "export/WorkbookStyles.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "export/XmlText.h"

namespace pq {

namespace {

// Custom number formats are numbered from here on; lower numbers are the built-in ones.
constexpr std::size_t kFirstCustomFormat = 164;
// The two fills every stylesheet starts with; a solid fill, where used, comes after them.
constexpr std::size_t kSolidFill = 2;
// Indexed colours 64 and 65: the system's window text and window background.
constexpr std::string_view kAutomaticColour = "<color indexed=\"64\"/>";

using Lines = std::array<CellLine, 4>;  // left, right, top, bottom, in the file's order

template <typename T>
std::size_t indexIn(std::vector<T>& list, const T& item) {
  const auto it = std::find(list.begin(), list.end(), item);
  if (it != list.end()) return static_cast<std::size_t>(it - list.begin());
  list.push_back(item);
  return list.size() - 1;
}

void appendFont(std::string& out, const CellFont& font) {
  out += "<font>";
  if (font.bold) out += "<b/>";
  out += "<sz val=\"";
  appendNumber(out, font.points);
  out += "\"/><name val=\"";
  appendEscaped(out, font.name);
  out += "\"/>";
  if (font.charset != 0) {
    out += "<charset val=\"";
    appendNumber(out, font.charset);
    out += "\"/>";
  }
  out += "</font>";
}

void appendBorder(std::string& out, const Lines& lines) {
  static constexpr std::string_view kSides[] = {"left", "right", "top", "bottom"};
  out += "<border>";
  for (std::size_t i = 0; i < lines.size(); ++i) {
    out += '<';
    out += kSides[i];
    if (lines[i] == CellLine::None) {
      out += "/>";
      continue;
    }
    out += lines[i] == CellLine::Thin ? " style=\"thin\">" : " style=\"medium\">";
    out += kAutomaticColour;
    out += "</";
    out += kSides[i];
    out += '>';
  }
  out += "<diagonal/></border>";
}

void appendAlignment(std::string& out, const CellStyle& style) {
  out += "<alignment";
  if (style.horizontal == CellHorizontal::Centre) out += " horizontal=\"center\"";
  if (style.vertical == CellVertical::Centre) out += " vertical=\"center\"";
  if (style.vertical == CellVertical::Top) out += " vertical=\"top\"";
  out += "/>";
}

template <typename Item, typename Append>
void appendList(std::string& out, std::string_view element, const std::vector<Item>& items, Append append) {
  out += '<';
  out += element;
  out += " count=\"";
  appendNumber(out, items.size());
  out += "\">";
  for (const Item& item : items) append(item);
  out += "</";
  out += element;
  out += '>';
}

}  // namespace

WorkbookStyles::WorkbookStyles(CellFont normal) {
  CellStyle plain;
  plain.font = std::move(normal);
  CellStyle heading = plain;
  heading.font.bold = true;
  CellStyle dateTime = plain;
  dateTime.numberFormat = "yyyy-mm-dd hh:mm:ss";
  styles_ = {plain, heading, dateTime};
}

std::size_t WorkbookStyles::add(const CellStyle& style) { return indexIn(styles_, style); }

std::size_t WorkbookStyles::numberFormat(const std::string& code) {
  CellStyle style = styles_[kPlain];
  style.numberFormat = code;
  return add(style);
}

std::string WorkbookStyles::xml() const {
  const CellStyle& plain = styles_[kPlain];
  std::vector<CellFont> fonts;
  std::vector<std::string> formats;
  std::vector<Lines> borders{Lines{}};
  bool solid = false;
  struct Entry {
    std::size_t format = 0, font = 0, fill = 0, border = 0;
  };
  std::vector<Entry> entries;
  for (const CellStyle& style : styles_) {
    Entry entry;
    if (!style.numberFormat.empty()) entry.format = kFirstCustomFormat + indexIn(formats, style.numberFormat);
    entry.font = indexIn(fonts, style.font);
    if (style.solidFill) entry.fill = kSolidFill;
    solid = solid || style.solidFill;
    entry.border = indexIn(borders, Lines{style.left, style.right, style.top, style.bottom});
    entries.push_back(entry);
  }

  std::string out;
  if (!formats.empty()) {
    std::size_t id = kFirstCustomFormat;
    appendList(out, "numFmts", formats, [&](const std::string& code) {
      out += "<numFmt numFmtId=\"";
      appendNumber(out, id++);
      out += "\" formatCode=\"";
      appendEscaped(out, code);
      out += "\"/>";
    });
  }
  appendList(out, "fonts", fonts, [&](const CellFont& font) { appendFont(out, font); });
  out += solid ? "<fills count=\"3\">" : "<fills count=\"2\">";
  out +=
      "<fill><patternFill patternType=\"none\"/></fill><fill><patternFill patternType=\"gray125\"/></fill>";
  if (solid) {
    out +=
        "<fill><patternFill patternType=\"solid\"><fgColor indexed=\"65\"/><bgColor indexed=\"64\"/>"
        "</patternFill></fill>";
  }
  out += "</fills>";
  appendList(out, "borders", borders, [&](const Lines& lines) { appendBorder(out, lines); });
  out +=
      "<cellStyleXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" "
      "borderId=\"0\"/></cellStyleXfs>";
  out += "<cellXfs count=\"";
  appendNumber(out, styles_.size());
  out += "\">";
  for (std::size_t i = 0; i < styles_.size(); ++i) {
    const CellStyle& style = styles_[i];
    const Entry& entry = entries[i];
    const bool aligned = style.horizontal != plain.horizontal || style.vertical != plain.vertical;
    out += "<xf numFmtId=\"";
    appendNumber(out, entry.format);
    out += "\" fontId=\"";
    appendNumber(out, entry.font);
    out += "\" fillId=\"";
    appendNumber(out, entry.fill);
    out += "\" borderId=\"";
    appendNumber(out, entry.border);
    out += "\" xfId=\"0\"";
    if (entry.format != 0) out += " applyNumberFormat=\"1\"";
    if (entry.font != 0) out += " applyFont=\"1\"";
    if (entry.fill != 0) out += " applyFill=\"1\"";
    if (entry.border != 0) out += " applyBorder=\"1\"";
    if (aligned) {
      out += " applyAlignment=\"1\">";
      appendAlignment(out, style);
      out += "</xf>";
    } else {
      out += "/>";
    }
  }
  out +=
      "</cellXfs><cellStyles count=\"1\"><cellStyle name=\"Normal\" xfId=\"0\" "
      "builtinId=\"0\"/></cellStyles>";
  return out;
}

}  // namespace pq
