#pragma once

#include <string>

namespace pq {

// The shortest text that reads back to the same four-byte float; "nan", "inf", "-inf". The one
// form every text output of values uses (the command line, CSV files).
std::string floatText(float value);

// The same for an eight-byte double.
std::string doubleText(double value);

}  // namespace pq
