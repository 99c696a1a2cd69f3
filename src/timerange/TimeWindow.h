#pragma once

#include <cstdint>
#include <optional>

namespace pq {

// The records an assessment takes by their times (epoch seconds on the recording's own clock), both
// ends included; nothing: no bound. Records are chosen by their own time, never by where they are
// stored, since a record stored out of order may lie outside a window that the records around it are in.
struct TimeWindow {
  std::optional<std::int64_t> from;
  std::optional<std::int64_t> to;
  bool contains(std::int64_t seconds) const { return (!from || seconds >= *from) && (!to || seconds <= *to); }
};

}  // namespace pq
