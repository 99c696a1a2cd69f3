#pragma once

#include <cstdint>
#include <string>

namespace pq {

// The values of a record file's head as the records are read with them: who and what was measured,
// the level and the transformer ratios that scale the records. The store keeps one for the file it
// holds; a reader that streams a file's records without the store fills one of its own.
struct RecordHead {
  // The start values of a head no file has filled.
  void resetHead() { *this = RecordHead{}; }

  // Voltages and powers are in kilo units when ptRatio is greater than 1.0; currents always in A.
  bool kiloUnits() const { return ptRatio > 1.0f; }
  // Their unit texts.
  const char* voltageUnit() const { return kiloUnits() ? "KV" : "V"; }
  const char* activePowerUnit() const { return kiloUnits() ? "KW" : "W"; }
  const char* reactivePowerUnit() const { return kiloUnits() ? "KVar" : "Var"; }

  // Raw GBK bytes for the names, as read from the record file.
  std::string fileName;
  std::string substationName = "XXX";
  std::string measuringPointName = "XXX";
  std::uint8_t voltageLevelCode = 0;
  std::int32_t nominalVoltage = 0;
  float minShortCircuitCapacity = 100.0f;
  float supplyEquipmentCapacity = 120.0f;
  float agreedCapacity = 120.0f;
  float ptRatio = 1.0f;
  float ctRatio = 1.0f;
};

}  // namespace pq
