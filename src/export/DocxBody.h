#pragma once

#include <string>
#include <vector>

#include "export/DocxDocument.h"

namespace pq {

// The body of a .docx document: word/document.xml (without the XML declaration) and its pictures in
// the order of their relationship ids (export/DocxParts), which point into the document.
struct DocxBody {
  std::string xml;
  std::vector<const DocxPicture*> pictures;
};

// Throws std::invalid_argument for a heading level outside 1 to 3, a table without a column or
// without a row (the heading row counts), a table row longer than its columns, or a column or
// picture not at least a pixel wide and high: what Word would refuse or cannot show.
DocxBody docxBody(const DocxDocument& document);

}  // namespace pq
