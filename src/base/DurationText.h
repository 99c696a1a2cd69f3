#pragma once

#include <cstdint>
#include <string>

namespace pq {

// A duration as people read it: "45 s", "2 min 03 s", "1 h 02 min 03 s" (hours without a limit,
// "26 h 00 min 00 s"); the parts after the first with two digits. A negative duration is "0 s".
std::string durationText(std::int64_t seconds);

}  // namespace pq
