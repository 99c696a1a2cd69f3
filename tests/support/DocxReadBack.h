#pragma once

#include <optional>
#include <string>
#include <vector>

namespace pq::test {

// What python3-docx, an independent reader, sees in a .docx file, as tests/support/docx_dump.py
// prints it: the title and date, the page, the styles' fonts, the footer, then the body's blocks in
// order (paragraphs with their style, pictures with their size, page breaks, tables cell by cell).
// Nothing when python3-docx is not installed (the test then skips).
std::optional<std::vector<std::string>> readBackDocument(const std::string& path);

}  // namespace pq::test
