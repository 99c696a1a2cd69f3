#pragma once

#include <string>
#include <type_traits>
#include <utility>
#include <deque>
#include <variant>
#include <vector>

#include "pages/PageDrawing.h"

namespace pq {

// A column of a table: its heading and its width in design pixels.
struct TableColumn {
  std::string title;
  int width = 0;
};

// The blocks of a document whose length depends on the data (the assessment, the event list). The
// document says what it holds and in which order; PageFlow lays it out on A4 pages, and another
// writer (a word-processor file) can take the same blocks one by one: a chart is a drawing that
// the window side renders to a picture.
struct DocumentHeading {
  std::string text;
  int level = 1;  // 1 for an index, 2 for a part of one
};
// A "label：value" line of the report's head, one line, cut to the width.
struct DocumentHeaderLine {
  std::string text;
};
// Text broken into as many lines as it needs.
struct DocumentParagraph {
  std::string text;
};
struct DocumentTable {
  std::vector<TableColumn> columns;
  std::vector<std::vector<std::string>> rows;
};
struct DocumentChart {
  PageDrawing drawing;
};
// Room before the next block, in design pixels; nothing in a format that spaces its own blocks.
struct DocumentSpace {
  int pixels = 0;
};
using DocumentBlock =
    std::variant<DocumentHeading, DocumentHeaderLine, DocumentParagraph, DocumentTable, DocumentChart, DocumentSpace>;

class ReportDocument {
 public:
  explicit ReportDocument(std::string title) : title_(std::move(title)) {}

  void headerLine(std::string text) { add(DocumentHeaderLine{std::move(text)}); }
  void heading(std::string text, int level = 1) { add(DocumentHeading{std::move(text), level}); }
  void paragraph(std::string text) { add(DocumentParagraph{std::move(text)}); }
  void table(std::vector<TableColumn> columns, std::vector<std::vector<std::string>> rows) {
    add(DocumentTable{std::move(columns), std::move(rows)});
  }
  void chart(PageDrawing drawing) { add(DocumentChart{std::move(drawing)}); }
  void space(int pixels) { add(DocumentSpace{pixels}); }

  const std::string& title() const { return title_; }
  const std::deque<DocumentBlock>& blocks() const { return blocks_; }

 private:
  std::string title_;
  // Each block made in its place in a deque, which never moves the blocks it holds: moving a variant
  // of tables and drawings makes g++ 12 at -O3 warn falsely (-Wmaybe-uninitialized) about the vectors
  // of the alternatives it does not hold.
  template <class Block>
  void add(Block&& block) {
    blocks_.emplace_back(std::in_place_type<std::decay_t<Block>>, std::forward<Block>(block));
  }
  std::deque<DocumentBlock> blocks_;
};

}  // namespace pq
