#pragma once

#include <string>
#include <string_view>

namespace pq {

// The styles and fonts of a .docx document. Every font is named outright rather than through a
// theme, which readers other than Word resolve differently: 宋体 (SimSun) for Chinese and Times New
// Roman for Latin text in the body, 黑体 (SimHei) with Arial in the headings, the language zh-CN.

// The style ids that the body uses.
inline constexpr std::string_view kHeadingStyles[] = {"Heading1", "Heading2", "Heading3"};
inline constexpr std::string_view kTableStyle = "TableGrid";
inline constexpr std::string_view kTableTextStyle = "TableText";
inline constexpr std::string_view kTableHeadingStyle = "TableHeading";
inline constexpr std::string_view kFooterStyle = "Footer";

// word/styles.xml and word/fontTable.xml, without the XML declaration.
std::string docxStyles();
std::string docxFontTable();

}  // namespace pq
