#include "support/DocxReadBack.h"

#include "support/ScriptReadBack.h"

namespace pq::test {

std::optional<std::vector<std::string>> readBackDocument(const std::string& path) {
  return scriptLines(PQ_DOCX_DUMP, path);
}

}  // namespace pq::test
