#pragma once

#include <string>

#include "records/RecordFileGenerator.h"

namespace pq::test {

// The generator's options for `records` records, a minute apart unless changed, the first at
// 2010-04-`day` hour:minute:second.
GeneratorOptions generatedFrom(int day, int hour, int minute, int second, long long records);

// Writes the record file and gives back its path; throws, failing the calling test, when it cannot.
std::string generateFile(const std::string& path, const GeneratorOptions& options);

}  // namespace pq::test
