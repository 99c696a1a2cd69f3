#pragma once

#include <string>

namespace pq {

// The shortest text that reads back to the same four-byte float; "nan", "inf", "-inf". The one
// form every text output of values uses (the command line, CSV files).
std::string floatText(float value);

// The same for an eight-byte double.
std::string doubleText(double value);

// The double nearest to floatText(value): the number a reader of a workbook sees equals the text a
// reader of the CSV sees (0.1f becomes 0.1, not 0.100000001490116). Finite values only.
double floatAsShownDecimal(float value);

}  // namespace pq
