#pragma once

#include <chrono>
#include <string>
#include <variant>
#include <vector>

namespace pq {

// An editable Word document as a title and the blocks of its body, in order, on A4 portrait pages
// with 2 cm margins (export/DocxWriter writes it). Texts are UTF-8; a line feed in a text starts a
// new line of the same paragraph or cell, a tab is a tab. Sizes are pixels of 96 dpi, as the
// program's pictures and tables are measured on the screen.

struct DocxHeading {
  int level = 1;  // 1 to 3
  std::string text;
};

struct DocxParagraph {
  std::string text;
  bool bold = false;
};

struct DocxColumn {
  std::string title;
  int width = 0;  // pixels
};

// A table of fixed column widths whose rows never break across a page. Its first row holds the
// columns' titles and is repeated at the top of every page the table runs onto, unless
// `headingRow` is false. A row may have fewer texts than the table has columns (the cells after
// them stay empty), never more. A table has at least one column and one row, the heading row
// included; a column is at least a pixel wide.
struct DocxTable {
  std::vector<DocxColumn> columns;
  std::vector<std::vector<std::string>> rows;
  bool headingRow = true;
};

// A PNG picture in a paragraph of its own, centred. One wider or taller than the space within the
// margins is shown smaller, to fit, with the same proportions. The description is the text that
// readers give instead of the picture.
struct DocxPicture {
  std::string png;  // the PNG file's bytes
  int width = 0;    // pixels, at least 1
  int height = 0;   // pixels, at least 1
  std::string description;
};

struct DocxPageBreak {};

using DocxBlock = std::variant<DocxHeading, DocxParagraph, DocxTable, DocxPicture, DocxPageBreak>;

struct DocxDocument {
  std::string title;  // the document's title property, not a text on its pages
  std::chrono::sys_seconds created =
      std::chrono::floor<std::chrono::seconds>(std::chrono::system_clock::now());
  std::vector<DocxBlock> blocks;
};

}  // namespace pq
