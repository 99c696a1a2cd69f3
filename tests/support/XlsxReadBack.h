#pragma once

#include <optional>
#include <string>
#include <vector>

namespace pq::test {

// What python3-openpyxl, an independent reader, sees in an .xlsx file: one line a cell of each
// sheet's used range, "SHEET ROW COL KIND VALUE" as tests/support/xlsx_dump.py prints it. Nothing when
// openpyxl is not installed (the test then skips).
std::optional<std::vector<std::string>> readBackWorkbook(const std::string& path);

// What openpyxl sees of the first sheet of an .xlsx file with its formats, in the lines that
// readBack (XlsReadBack.h) gives for an .xls, as tests/support/xlsx_sheet_dump.py prints them: the
// workbook and the .xls of one sheet compare line by line. Nothing when openpyxl is not installed.
std::optional<std::vector<std::string>> readBackSheetAsXls(const std::string& path);

// How openpyxl lays out each sheet of an .xlsx file, as tests/support/xlsx_layout.py prints it: the
// frozen pane, the column widths and the number formats of the first row below the heading. Nothing
// when openpyxl is not installed.
std::optional<std::vector<std::string>> readBackLayout(const std::string& path);

}  // namespace pq::test
