#include "export/DocxWriter.h"

#include <string_view>

#include "base/AtomicFile.h"
#include "export/DocxBody.h"
#include "export/DocxParts.h"
#include "export/XmlText.h"
#include "export/ZipArchive.h"

namespace pq {

namespace {

constexpr char kNotSaved[] = "Word 文件无法保存：";

bool writePart(ZipArchive& archive, const std::string& name, std::string_view declaration,
               std::string_view content) {
  return archive.beginEntry(name) && archive.write(declaration) && archive.write(content) &&
         archive.endEntry();
}

}  // namespace

void writeDocx(const DocxDocument& document, const std::string& path) {
  const DocxBody body = docxBody(document);
  AtomicFile file(path);
  ZipArchive archive(file);
  bool ok = file.open();
  for (const DocxPart& part : docxPackageParts(document, body.pictures.size())) {
    ok = ok && writePart(archive, part.name, kXmlDeclaration, part.xml);
  }
  ok = ok && writePart(archive, "word/document.xml", kXmlDeclaration, body.xml);
  for (std::size_t i = 0; i < body.pictures.size(); ++i) {
    ok = ok && writePart(archive, "word/" + docxPicturePart(i), {}, body.pictures[i]->png);
  }
  if (!(ok && archive.finish() && file.commit())) throw DocxWriteError(kNotSaved + file.error());
}

}  // namespace pq
