#include "base/DurationText.h"

#include <cstdio>

namespace pq {

std::string durationText(std::int64_t seconds) {
  if (seconds < 0) seconds = 0;
  const long long hours = seconds / 3600;
  const int minutes = static_cast<int>(seconds / 60 % 60);
  const int rest = static_cast<int>(seconds % 60);
  char text[48];
  if (hours > 0) {
    std::snprintf(text, sizeof text, "%lld h %02d min %02d s", hours, minutes, rest);
  } else if (minutes > 0) {
    std::snprintf(text, sizeof text, "%d min %02d s", minutes, rest);
  } else {
    std::snprintf(text, sizeof text, "%d s", rest);
  }
  return text;
}

}  // namespace pq
