#include "support/GeneratedRecords.h"

#include <stdexcept>

namespace pq::test {

GeneratorOptions generatedFrom(int day, int hour, int minute, int second, long long records) {
  GeneratorOptions options;
  options.records = records;
  options.startDay = day;
  options.startHour = hour;
  options.startMinute = minute;
  options.startSecond = second;
  return options;
}

std::string generateFile(const std::string& path, const GeneratorOptions& options) {
  std::string error;
  if (!generateRecordFile(path, options, error)) throw std::runtime_error(path + ": " + error);
  return path;
}

}  // namespace pq::test
