#pragma once

#include <cstdint>
#include <string>

namespace pq {

// Settings of a synthetic record file. Names are raw GBK bytes (at most 10 are written).
struct GeneratorOptions {
  long long records = 1440;
  int startYear = 2010, startMonth = 4, startDay = 19, startHour = 15, startMinute = 39, startSecond = 0;
  long long intervalSeconds = 60;
  std::uint8_t voltageLevelCode = 3;
  float ptRatio = 100;
  float ctRatio = 20;
  int wiringMode = 1;
  std::string substationName;
  std::string measuringPointName;
  std::uint64_t seed = 1;
};

// Writes a record file of plausible secondary-side measurements: three phases 120 degrees apart
// around the level's nominal voltage, harmonics, unbalance, frequency and power that wander slowly
// so that every trend and report has something to show. The same options give the same bytes.
// False with `error` set when the file cannot be written.
bool generateRecordFile(const std::string& path, const GeneratorOptions& options, std::string& error);

}  // namespace pq
