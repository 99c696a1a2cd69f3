#pragma once

#include <functional>
#include <string>

#include "export/DocxDocument.h"
#include "pages/ReportDocument.h"

namespace pq {

// The bytes of a PNG picture of a drawing; the window side paints it (ReportPagePainter::drawingPng).
using DrawingPicture = std::function<std::string(const PageDrawing&)>;

// A document of blocks as an editable Word document, block for block: headings and tables as Word's
// own, the head's "label：value" lines and paragraphs as paragraphs, each chart as a picture of the
// size it has on the page. The room a page leaves between blocks is Word's to lay out.
DocxDocument docxDocumentOf(const ReportDocument& document, const DrawingPicture& picture);

}  // namespace pq
