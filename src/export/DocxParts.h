#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "export/DocxDocument.h"

namespace pq {

// The parts of a .docx package around the body (word/document.xml, export/DocxBody) and the names
// by which the body refers to them.

inline constexpr std::string_view kWordNamespace =
    "http://schemas.openxmlformats.org/wordprocessingml/2006/main";
inline constexpr std::string_view kRelationshipNamespace =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
inline constexpr std::string_view kFooterRelationship = "rIdFooter";

// The picture's relationship id and its part inside word/, the first picture's index 0.
std::string docxPictureRelationship(std::size_t index);
std::string docxPicturePart(std::size_t index);

struct DocxPart {
  std::string name;  // its path in the package
  std::string xml;   // without the XML declaration
};

// Every XML part but the body, for a document with `pictures` pictures.
std::vector<DocxPart> docxPackageParts(const DocxDocument& document, std::size_t pictures);

}  // namespace pq
