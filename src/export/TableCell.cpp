#include "export/TableCell.h"

#include <cstdio>

namespace pq {

std::string dateTimeText(const CalendarDateTime& time) {
  char text[48];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", time.year, time.month, time.day,
                time.hour, time.minute, time.second);
  return text;
}

}  // namespace pq
