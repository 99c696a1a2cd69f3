#include "records/InstrumentNumber.h"

#include <cstdio>

#include "records/MeasurementRecord.h"

namespace pq {

std::string instrumentNumberText(const std::array<std::uint32_t, 4>& id) {
  char text[16];
  std::snprintf(text, sizeof text, "%02X%02X%02X%02X", id[0] & 0xFFu, id[1] & 0xFFu, id[2] & 0xFFu, id[3] & 0xFFu);
  return text;
}

std::string instrumentNumberText(const MeasurementRecord& record) {
  std::array<std::uint32_t, 4> id{};
  for (std::size_t i = 0; i < id.size(); ++i) id[i] = record.cells[cells::instrumentId + i];
  return instrumentNumberText(id);
}

}  // namespace pq
