#include "support/XlsxReadBack.h"

#include "support/ScriptReadBack.h"

namespace pq::test {

std::optional<std::vector<std::string>> readBackWorkbook(const std::string& path) {
  return scriptLines(PQ_XLSX_DUMP, path);
}

std::optional<std::vector<std::string>> readBackSheetAsXls(const std::string& path) {
  return scriptLines(PQ_XLSX_SHEET_DUMP, path);
}

std::optional<std::vector<std::string>> readBackLayout(const std::string& path) {
  return scriptLines(PQ_XLSX_LAYOUT, path);
}

}  // namespace pq::test
