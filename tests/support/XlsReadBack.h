#pragma once

#include <string>
#include <vector>

namespace pq::test {

// What python3-xlrd, an independent reader, sees in an .xls file: one fact per line, as printed by
// tests/report/xls_dump.py ("cell ROW COL KIND [VALUE] font=... h=.. v=.. fill=.. border=LTBR",
// "format ROW COL CODE" after a cell whose number format is not General, "merge R0 R1 C0 C1"
// half-open, "column C WIDTH", "row R HEIGHT").
std::vector<std::string> readBack(const std::string& path);

}  // namespace pq::test
