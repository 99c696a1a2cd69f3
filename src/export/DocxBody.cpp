#include "export/DocxBody.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string_view>

#include "export/DocxParts.h"
#include "export/DocxStyles.h"
#include "export/XmlText.h"

namespace pq {

namespace {

// Lengths in twentieths of a point (twips) and in the drawings' EMU (914 400 an inch).
constexpr long long kTwipsPerPixel = 15;  // at 96 dpi
constexpr long long kEmuPerPixel = 9525;
constexpr long long kEmuPerTwip = 635;

// A4 portrait with 2 cm margins, the footer 1 cm above the paper's edge.
constexpr long long kPageWidth = 11906;
constexpr long long kPageHeight = 16838;
constexpr long long kMargin = 1134;
constexpr long long kFooterDistance = 567;
constexpr long long kTextWidth = kPageWidth - 2 * kMargin;
// Less the space after the picture's paragraph, which would otherwise push it onto a page of its own.
constexpr long long kPictureHeightLimit = kPageHeight - 2 * kMargin - 120;

constexpr std::string_view kDrawingNamespace = "http://schemas.openxmlformats.org/drawingml/2006/main";
constexpr std::string_view kPictureNamespace = "http://schemas.openxmlformats.org/drawingml/2006/picture";

void check(bool holds, const char* fault) {
  if (!holds) throw std::invalid_argument(fault);
}

void append(std::string& xml, long long number) { appendNumber(xml, number); }

// A run of the text: its line feeds (a carriage return and line feed count once) as line breaks,
// its tabs as tabs, within the one run.
void appendRun(std::string& xml, std::string_view text, bool bold) {
  if (text.empty()) return;
  xml += bold ? "<w:r><w:rPr><w:b/><w:bCs/></w:rPr>" : "<w:r>";
  std::size_t start = 0;
  for (std::size_t i = 0; i <= text.size(); ++i) {
    const bool end = i == text.size();
    if (!end && text[i] != '\n' && text[i] != '\r' && text[i] != '\t') continue;
    if (i > start) {
      xml += "<w:t xml:space=\"preserve\">";
      appendXmlText(xml, text.substr(start, i - start));
      xml += "</w:t>";
    }
    if (!end) {
      if (text[i] == '\t') {
        xml += "<w:tab/>";
      } else if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) {
        xml += "<w:br/>";
      }
    }
    start = i + 1;
  }
  xml += "</w:r>";
}

void appendParagraph(std::string& xml, std::string_view style, std::string_view text, bool bold) {
  xml += "<w:p>";
  if (!style.empty()) {
    xml += "<w:pPr><w:pStyle w:val=\"";
    xml += style;
    xml += "\"/></w:pPr>";
  }
  appendRun(xml, text, bold);
  xml += "</w:p>";
}

// The columns' widths in twips, narrowed all in proportion where the table is wider than the text.
std::vector<long long> columnWidths(const DocxTable& table) {
  std::vector<long long> widths;
  long long total = 0;
  for (const DocxColumn& column : table.columns) {
    check(column.width >= 1, "a table column is at least a pixel wide");
    widths.push_back(column.width * kTwipsPerPixel);
    total += widths.back();
  }
  if (total > kTextWidth) {
    for (long long& width : widths) width = std::max(1LL, width * kTextWidth / total);
  }
  return widths;
}

void appendCell(std::string& xml, long long width, std::string_view text, bool heading) {
  xml += "<w:tc><w:tcPr><w:tcW w:w=\"";
  append(xml, width);
  xml += "\" w:type=\"dxa\"/>";
  if (heading) xml += "<w:shd w:val=\"clear\" w:color=\"auto\" w:fill=\"E7E6E6\"/>";
  xml += "<w:vAlign w:val=\"center\"/></w:tcPr>";
  appendParagraph(xml, heading ? kTableHeadingStyle : kTableTextStyle, text, false);
  xml += "</w:tc>";
}

// No row breaks across a page; the heading row comes again at the top of each page.
void appendRow(std::string& xml, const std::vector<long long>& widths, const std::vector<std::string>& texts,
               bool heading) {
  check(texts.size() <= widths.size(), "a table row has no more texts than the table has columns");
  xml += heading ? "<w:tr><w:trPr><w:cantSplit/><w:tblHeader/></w:trPr>"
                 : "<w:tr><w:trPr><w:cantSplit/></w:trPr>";
  for (std::size_t i = 0; i < widths.size(); ++i) {
    appendCell(xml, widths[i], i < texts.size() ? std::string_view(texts[i]) : std::string_view(), heading);
  }
  xml += "</w:tr>";
}

void appendTable(std::string& xml, const DocxTable& table) {
  check(!table.columns.empty() && (table.headingRow || !table.rows.empty()),
        "a table has a column and a row");
  const std::vector<long long> widths = columnWidths(table);
  long long total = 0;
  for (const long long width : widths) total += width;
  xml += "<w:tbl><w:tblPr><w:tblStyle w:val=\"";
  xml += kTableStyle;
  xml += "\"/><w:tblW w:w=\"";
  append(xml, total);
  xml +=
      "\" w:type=\"dxa\"/><w:jc w:val=\"center\"/><w:tblLayout w:type=\"fixed\"/><w:tblLook w:val=\"04A0\""
      " w:firstRow=\"1\" w:lastRow=\"0\" w:firstColumn=\"1\" w:lastColumn=\"0\" w:noHBand=\"0\""
      " w:noVBand=\"1\"/></w:tblPr><w:tblGrid>";
  for (const long long width : widths) {
    xml += "<w:gridCol w:w=\"";
    append(xml, width);
    xml += "\"/>";
  }
  xml += "</w:tblGrid>";
  if (table.headingRow) {
    std::vector<std::string> titles;
    for (const DocxColumn& column : table.columns) titles.push_back(column.title);
    appendRow(xml, widths, titles, true);
  }
  for (const std::vector<std::string>& row : table.rows) appendRow(xml, widths, row, false);
  xml += "</w:tbl>";
}

// The picture's size in EMU, made smaller in proportion where it does not fit within the margins.
std::pair<long long, long long> pictureExtent(const DocxPicture& picture) {
  check(picture.width >= 1 && picture.height >= 1, "a picture is at least a pixel wide and high");
  const double scale =
      std::min({1.0, static_cast<double>(kTextWidth * kEmuPerTwip) / (picture.width * kEmuPerPixel),
                static_cast<double>(kPictureHeightLimit * kEmuPerTwip) / (picture.height * kEmuPerPixel)});
  return {std::llround(picture.width * kEmuPerPixel * scale),
          std::llround(picture.height * kEmuPerPixel * scale)};
}

// A picture in a paragraph of its own, centred, its proportions locked.
constexpr std::string_view kPicture =
    "<w:p><w:pPr><w:jc w:val=\"center\"/></w:pPr><w:r><w:drawing><wp:inline distT=\"0\" distB=\"0\""
    " distL=\"0\" distR=\"0\"><wp:extent cx=\"{cx}\" cy=\"{cy}\"/><wp:effectExtent l=\"0\" t=\"0\" r=\"0\""
    " b=\"0\"/><wp:docPr id=\"{id}\" name=\"Picture {id}\" descr=\"{descr}\"/><wp:cNvGraphicFramePr>"
    "<a:graphicFrameLocks noChangeAspect=\"1\"/></wp:cNvGraphicFramePr><a:graphic><a:graphicData"
    " uri=\"{pic}\"><pic:pic><pic:nvPicPr><pic:cNvPr id=\"{id}\" name=\"image{id}.png\" descr=\"{descr}\"/>"
    "<pic:cNvPicPr><a:picLocks noChangeAspect=\"1\"/></pic:cNvPicPr></pic:nvPicPr><pic:blipFill><a:blip"
    " r:embed=\"{embed}\"/><a:stretch><a:fillRect/></a:stretch></pic:blipFill><pic:spPr><a:xfrm><a:off"
    " x=\"0\" y=\"0\"/><a:ext cx=\"{cx}\" cy=\"{cy}\"/></a:xfrm><a:prstGeom prst=\"rect\"><a:avLst/>"
    "</a:prstGeom></pic:spPr></pic:pic></a:graphicData></a:graphic></wp:inline></w:drawing></w:r></w:p>";

// `index` counts the pictures from 0; the drawing ids from 1.
void appendPicture(std::string& xml, const DocxPicture& picture, std::size_t index) {
  const auto [width, height] = pictureExtent(picture);
  std::string description;
  appendXmlText(description, picture.description);
  xml += filledIn(kPicture, {{"cx", std::to_string(width)},
                             {"cy", std::to_string(height)},
                             {"id", std::to_string(index + 1)},
                             {"descr", description},
                             {"pic", kPictureNamespace},
                             {"embed", docxPictureRelationship(index)}});
}

// The page and its margins, the footer on every page.
constexpr std::string_view kSection =
    "<w:sectPr><w:footerReference w:type=\"default\" r:id=\"{footer}\"/><w:pgSz w:w=\"{width}\""
    " w:h=\"{height}\"/><w:pgMar w:top=\"{margin}\" w:right=\"{margin}\" w:bottom=\"{margin}\""
    " w:left=\"{margin}\" w:header=\"{footerDistance}\" w:footer=\"{footerDistance}\" w:gutter=\"0\"/>"
    "<w:cols w:space=\"425\"/><w:docGrid w:linePitch=\"312\"/></w:sectPr>";

void appendSection(std::string& xml) {
  xml += filledIn(kSection, {{"footer", kFooterRelationship},
                             {"width", std::to_string(kPageWidth)},
                             {"height", std::to_string(kPageHeight)},
                             {"margin", std::to_string(kMargin)},
                             {"footerDistance", std::to_string(kFooterDistance)}});
}

}  // namespace

DocxBody docxBody(const DocxDocument& document) {
  DocxBody body;
  std::string& xml = body.xml;
  xml = "<w:document xmlns:w=\"" + std::string(kWordNamespace) + "\" xmlns:r=\"" +
        std::string(kRelationshipNamespace) +
        "\" xmlns:wp=\"http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing\" xmlns:a=\"" +
        std::string(kDrawingNamespace) + "\" xmlns:pic=\"" + std::string(kPictureNamespace) + "\"><w:body>";
  for (std::size_t i = 0; i < document.blocks.size(); ++i) {
    const DocxBlock& block = document.blocks[i];
    if (const auto* heading = std::get_if<DocxHeading>(&block)) {
      check(heading->level >= 1 && heading->level <= 3, "a heading's level is 1, 2 or 3");
      appendParagraph(xml, kHeadingStyles[heading->level - 1], heading->text, false);
    } else if (const auto* paragraph = std::get_if<DocxParagraph>(&block)) {
      appendParagraph(xml, {}, paragraph->text, paragraph->bold);
    } else if (const auto* table = std::get_if<DocxTable>(&block)) {
      appendTable(xml, *table);
      // Two tables in a row would join into one, and the body cannot end with a table.
      const bool last = i + 1 == document.blocks.size();
      if (last || std::holds_alternative<DocxTable>(document.blocks[i + 1])) xml += "<w:p/>";
    } else if (const auto* picture = std::get_if<DocxPicture>(&block)) {
      appendPicture(xml, *picture, body.pictures.size());
      body.pictures.push_back(picture);
    } else {
      xml += "<w:p><w:r><w:br w:type=\"page\"/></w:r></w:p>";
    }
  }
  appendSection(xml);
  xml += "</w:body></w:document>";
  return body;
}

}  // namespace pq
