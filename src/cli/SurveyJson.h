#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "export/JsonWriter.h"
#include "survey/Survey.h"

namespace pq::cli {

// A record time as JSON text, null for none.
void timeOrNull(JsonWriter& json, const std::optional<std::int64_t>& seconds);

// The JSON of `survey --json`, one line: files, gaps, mismatches, overlaps and notes (`planNotes`,
// then the survey's own and the files' damage). With `id`, an archived survey's, its "id" first.
std::string surveyJson(const Survey& survey, const std::vector<std::string>& mismatches,
                       const std::vector<std::string>& planNotes,
                       std::optional<std::int64_t> id = std::nullopt);

}  // namespace pq::cli
