#pragma once

#include <ctime>
#include <string>

namespace pq {

// The print date cell: the local date in the system's short date format, a blank and the time in
// its long time format; the time is left out at exactly midnight. The formats come from the user's
// locale settings (LC_ALL, LC_TIME, LANG), whatever the program's own locale is.
std::string printDateText(std::time_t when);

}  // namespace pq
