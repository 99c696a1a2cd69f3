#include "pages/DocumentDocx.h"

#include <algorithm>
#include <type_traits>

namespace pq {

namespace {

// Word's heading levels run to 3; the document's deeper parts are shown as its third.
constexpr int kDeepestHeading = 3;

}  // namespace

DocxDocument docxDocumentOf(const ReportDocument& document, const DrawingPicture& picture) {
  DocxDocument docx;
  docx.title = document.title();
  docx.blocks.emplace_back(DocxHeading{1, document.title()});
  // A chart is described to readers that show no pictures by the heading it stands under.
  std::string lastHeading = document.title();
  for (const DocumentBlock& block : document.blocks()) {
    std::visit(
        [&](const auto& b) {
          using Block = std::decay_t<decltype(b)>;
          if constexpr (std::is_same_v<Block, DocumentHeading>) {
            // Below the document's title, which is the first level.
            docx.blocks.emplace_back(DocxHeading{std::clamp(b.level + 1, 2, kDeepestHeading), b.text});
            lastHeading = b.text;
          } else if constexpr (std::is_same_v<Block, DocumentHeaderLine>) {
            docx.blocks.emplace_back(DocxParagraph{b.text, false});
          } else if constexpr (std::is_same_v<Block, DocumentParagraph>) {
            docx.blocks.emplace_back(DocxParagraph{b.text, false});
          } else if constexpr (std::is_same_v<Block, DocumentTable>) {
            // The writer makes the columns' titles the heading row.
            DocxTable table;
            for (const TableColumn& column : b.columns) table.columns.push_back({column.title, std::max(column.width, 1)});
            table.rows.reserve(b.rows.size());
            for (const auto& row : b.rows) {
              // A row never holds more cells than the table has columns.
              table.rows.emplace_back(row.begin(), row.begin() + static_cast<std::ptrdiff_t>(
                                                                      std::min(row.size(), b.columns.size())));
            }
            if (!table.columns.empty()) docx.blocks.emplace_back(std::move(table));
          } else if constexpr (std::is_same_v<Block, DocumentChart>) {
            if (b.drawing.width > 0 && b.drawing.height > 0) {
              docx.blocks.emplace_back(DocxPicture{picture(b.drawing), b.drawing.width, b.drawing.height, lastHeading});
            }
          }
        },
        block);
  }
  return docx;
}

}  // namespace pq
