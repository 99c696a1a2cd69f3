#pragma once

#include <optional>
#include <string>
#include <vector>

namespace pq::test {

// What python3-openpyxl, an independent reader, sees in an .xlsx file: one line a cell of each
// sheet's used range, "SHEET ROW COL KIND VALUE" as tests/support/xlsx_dump.py prints it. Nothing when
// openpyxl is not installed (the test then skips).
std::optional<std::vector<std::string>> readBackWorkbook(const std::string& path);

}  // namespace pq::test
