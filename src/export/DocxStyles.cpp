#include "export/DocxStyles.h"

#include "export/DocxParts.h"
#include "export/XmlText.h"

namespace pq {

namespace {

constexpr std::string_view kBodyFonts =
    "<w:rFonts w:ascii=\"Times New Roman\" w:hAnsi=\"Times New Roman\" w:eastAsia=\"宋体\""
    " w:cs=\"Times New Roman\"/>";
constexpr std::string_view kHeadingFonts =
    "<w:rFonts w:ascii=\"Arial\" w:hAnsi=\"Arial\" w:eastAsia=\"黑体\" w:cs=\"Arial\"/>";

// 五号 (10.5 pt) text, the size of Chinese reports' body, lines a quarter apart.
constexpr std::string_view kDefaults =
    "<w:docDefaults><w:rPrDefault><w:rPr>{body}<w:kern w:val=\"2\"/><w:sz w:val=\"21\"/><w:szCs"
    " w:val=\"21\"/><w:lang w:val=\"en-US\" w:eastAsia=\"zh-CN\" w:bidi=\"ar-SA\"/></w:rPr></w:rPrDefault>"
    "<w:pPrDefault><w:pPr><w:spacing w:after=\"120\" w:line=\"300\" w:lineRule=\"auto\"/></w:pPr>"
    "</w:pPrDefault></w:docDefaults><w:style w:type=\"paragraph\" w:default=\"1\" w:styleId=\"Normal\">"
    "<w:name w:val=\"Normal\"/><w:qFormat/><w:pPr><w:widowControl/></w:pPr><w:rPr>{body}</w:rPr></w:style>"
    "<w:style w:type=\"character\" w:default=\"1\" w:styleId=\"DefaultParagraphFont\"><w:name"
    " w:val=\"Default Paragraph Font\"/><w:uiPriority w:val=\"1\"/><w:semiHidden/><w:unhideWhenUsed/>"
    "</w:style>";

// 三号, 四号 and 小四 (16, 14 and 12 pt) bold, kept with the text that follows.
constexpr struct {
  int points2;  // half-points
  int spaceBefore;
  int spaceAfter;
} kHeadingSizes[] = {{32, 240, 120}, {28, 200, 100}, {24, 160, 80}};

// Lines between all cells; the cells' texts in paragraph styles of their own, which every reader
// applies, unlike the paragraph properties of a table style.
constexpr std::string_view kTableStyles =
    "<w:style w:type=\"table\" w:default=\"1\" w:styleId=\"TableNormal\"><w:name w:val=\"Normal Table\"/>"
    "<w:uiPriority w:val=\"99\"/><w:semiHidden/><w:unhideWhenUsed/>"
    "<w:tblPr><w:tblInd w:w=\"0\" w:type=\"dxa\"/><w:tblCellMar>"
    "<w:top w:w=\"0\" w:type=\"dxa\"/><w:left w:w=\"108\" w:type=\"dxa\"/>"
    "<w:bottom w:w=\"0\" w:type=\"dxa\"/><w:right w:w=\"108\" w:type=\"dxa\"/>"
    "</w:tblCellMar></w:tblPr></w:style>"
    "<w:style w:type=\"table\" w:styleId=\"{table}\"><w:name w:val=\"Table Grid\"/>"
    "<w:basedOn w:val=\"TableNormal\"/><w:uiPriority w:val=\"59\"/><w:tblPr><w:tblBorders>"
    "<w:top w:val=\"single\" w:sz=\"4\" w:space=\"0\" w:color=\"auto\"/>"
    "<w:left w:val=\"single\" w:sz=\"4\" w:space=\"0\" w:color=\"auto\"/>"
    "<w:bottom w:val=\"single\" w:sz=\"4\" w:space=\"0\" w:color=\"auto\"/>"
    "<w:right w:val=\"single\" w:sz=\"4\" w:space=\"0\" w:color=\"auto\"/>"
    "<w:insideH w:val=\"single\" w:sz=\"4\" w:space=\"0\" w:color=\"auto\"/>"
    "<w:insideV w:val=\"single\" w:sz=\"4\" w:space=\"0\" w:color=\"auto\"/>"
    "</w:tblBorders><w:tblCellMar>"
    "<w:top w:w=\"28\" w:type=\"dxa\"/><w:left w:w=\"85\" w:type=\"dxa\"/>"
    "<w:bottom w:w=\"28\" w:type=\"dxa\"/><w:right w:w=\"85\" w:type=\"dxa\"/>"
    "</w:tblCellMar></w:tblPr></w:style>"
    "<w:style w:type=\"paragraph\" w:styleId=\"{text}\"><w:name w:val=\"Table Text\"/>"
    "<w:basedOn w:val=\"Normal\"/><w:qFormat/>"
    "<w:pPr><w:spacing w:after=\"0\" w:line=\"240\" w:lineRule=\"auto\"/><w:jc w:val=\"center\"/></w:pPr>"
    "</w:style>"
    "<w:style w:type=\"paragraph\" w:styleId=\"{heading}\"><w:name w:val=\"Table Heading\"/>"
    "<w:basedOn w:val=\"{text}\"/><w:qFormat/><w:rPr><w:b/><w:bCs/></w:rPr></w:style>";

constexpr std::string_view kFooter =
    "<w:style w:type=\"paragraph\" w:styleId=\"{footer}\"><w:name w:val=\"footer\"/><w:basedOn"
    " w:val=\"Normal\"/><w:uiPriority w:val=\"99\"/><w:unhideWhenUsed/><w:pPr><w:spacing w:after=\"0\"/>"
    "<w:jc w:val=\"center\"/></w:pPr><w:rPr><w:sz w:val=\"18\"/><w:szCs w:val=\"18\"/></w:rPr></w:style>";

// What a reader without the font takes instead, by its other name, character set and shape.
constexpr std::string_view kFontTable =
    "<w:font w:name=\"Times New Roman\"><w:panose1 w:val=\"02020603050405020304\"/>"
    "<w:charset w:val=\"00\"/><w:family w:val=\"roman\"/><w:pitch w:val=\"variable\"/></w:font>"
    "<w:font w:name=\"宋体\"><w:altName w:val=\"SimSun\"/><w:panose1 w:val=\"02010600030101010101\"/>"
    "<w:charset w:val=\"86\"/><w:family w:val=\"auto\"/><w:pitch w:val=\"variable\"/></w:font>"
    "<w:font w:name=\"黑体\"><w:altName w:val=\"SimHei\"/><w:panose1 w:val=\"02010609060101010101\"/>"
    "<w:charset w:val=\"86\"/><w:family w:val=\"modern\"/><w:pitch w:val=\"fixed\"/></w:font>"
    "<w:font w:name=\"Arial\"><w:panose1 w:val=\"020B0604020202020204\"/>"
    "<w:charset w:val=\"00\"/><w:family w:val=\"swiss\"/><w:pitch w:val=\"variable\"/></w:font>";

constexpr std::string_view kHeading =
    "<w:style w:type=\"paragraph\" w:styleId=\"{id}\"><w:name w:val=\"heading {level}\"/><w:basedOn"
    " w:val=\"Normal\"/><w:next w:val=\"Normal\"/><w:uiPriority w:val=\"9\"/><w:qFormat/><w:pPr>"
    "<w:keepNext/><w:keepLines/><w:spacing w:before=\"{before}\" w:after=\"{after}\"/><w:outlineLvl"
    " w:val=\"{outline}\"/></w:pPr><w:rPr>{fonts}<w:b/><w:bCs/><w:sz w:val=\"{size}\"/><w:szCs"
    " w:val=\"{size}\"/></w:rPr></w:style>";

std::string headingStyle(std::size_t index) {
  const auto& size = kHeadingSizes[index];
  return filledIn(kHeading, {{"id", kHeadingStyles[index]},
                             {"level", std::to_string(index + 1)},
                             {"before", std::to_string(size.spaceBefore)},
                             {"after", std::to_string(size.spaceAfter)},
                             {"outline", std::to_string(index)},
                             {"fonts", kHeadingFonts},
                             {"size", std::to_string(size.points2)}});
}

}  // namespace

std::string docxStyles() {
  std::string xml = "<w:styles xmlns:w=\"" + std::string(kWordNamespace) + "\">";
  xml += filledIn(kDefaults, {{"body", kBodyFonts}});
  for (std::size_t i = 0; i < std::size(kHeadingStyles); ++i) xml += headingStyle(i);
  xml += filledIn(kTableStyles,
                  {{"table", kTableStyle}, {"text", kTableTextStyle}, {"heading", kTableHeadingStyle}});
  xml += filledIn(kFooter, {{"footer", kFooterStyle}});
  return xml + "</w:styles>";
}

std::string docxFontTable() {
  return "<w:fonts xmlns:w=\"" + std::string(kWordNamespace) + "\">" + std::string(kFontTable) + "</w:fonts>";
}

}  // namespace pq
