#pragma once

#include <stdexcept>
#include <string>

#include "export/DocxDocument.h"

namespace pq {

// Why a Word document was not saved, as the operator reads it: "Word 文件无法保存：" and the
// system's reason.
class DocxWriteError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Writes the document as a .docx file (WordprocessingML) at `path`, through a temporary file that
// replaces the target only when the whole document is on the disk (base/AtomicFile): on a failure
// the file that was there stays as it was, and DocxWriteError says why. The fonts are named
// explicitly, so that Word, WPS and LibreOffice show the same ones: 宋体 with Times New Roman for the
// body, 黑体 with Arial for the headings. Every page ends with "第 X 页 共 Y 页".
//
// A document that breaks the rules of DocxDocument.h (a heading level outside 1 to 3, a table row
// longer than its columns, ...) is the caller's mistake: std::invalid_argument, before any file is
// touched.
void writeDocx(const DocxDocument& document, const std::string& path);

}  // namespace pq
