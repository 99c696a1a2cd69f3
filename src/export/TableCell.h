#pragma once

#include <string>
#include <variant>
#include <vector>

#include "timerange/CalendarDateTime.h"

namespace pq {

// One value of a table row as the exports take it: a whole number, a four-byte float (written as
// its shortest text, see ValueText.h), an eight-byte double, a UTF-8 text, a date-time, or no value
// at all (std::monostate, the default). Each writer gives every kind its own form: a CSV its text
// (an empty field for no value), a workbook a number, a string or a date-time cell (no cell for no
// value, so that a reader sees an empty one rather than a zero or a text).
using TableCell = std::variant<std::monostate, long long, float, double, std::string, CalendarDateTime>;
using TableRow = std::vector<TableCell>;

// "YYYY-MM-DD HH:MM:SS".
std::string dateTimeText(const CalendarDateTime& time);

// Where the rows of a table go: first the heading row (the column names), then the rows in order.
class TableWriter {
 public:
  virtual ~TableWriter() = default;
  // How the numbers of each column show, before the heading: a format code such as "0.00" (empty for
  // General). A workbook shows its cells so; a CSV, whose numbers are texts, keeps every digit.
  virtual void numberFormats(const std::vector<std::string>& /*codes*/) {}
  virtual void heading(const std::vector<std::string>& names) = 0;
  virtual void row(const TableRow& cells) = 0;
};

}  // namespace pq
