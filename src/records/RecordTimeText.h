#pragma once

#include <cstdio>
#include <string>

#include "records/RecordStore.h"

namespace pq {

// "YYYY-MM-DD HH:MM:SS" of a record. Valid BCD digits print as themselves, so printing the six bytes
// in hexadecimal also gives the text the contract asks for a time stamp that is no valid date.
inline std::string recordTimeText(const RecordStore& store, int index) {
  const auto& r = store.record(index);
  auto byte = [&](int i) { return static_cast<unsigned>(r.cells[cells::timeBcd + i] & 0xFF); };
  char text[32];
  std::snprintf(text, sizeof text, "20%02X-%02X-%02X %02X:%02X:%02X", byte(0), byte(1), byte(2), byte(3),
                byte(4), byte(5));
  return text;
}

}  // namespace pq
