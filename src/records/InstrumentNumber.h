#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace pq {

struct MeasurementRecord;

// The instrument number a record carries in its four identification cells, as eight hexadecimal
// digits of their low bytes ("0A1B2C3D").
std::string instrumentNumberText(const std::array<std::uint32_t, 4>& id);
std::string instrumentNumberText(const MeasurementRecord& record);

}  // namespace pq
