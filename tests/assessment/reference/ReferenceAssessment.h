#pragma once

#include <nlohmann/json.hpp>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pq::reference {

// A second, deliberately plain calculation of everything `pqdesk-cli assess --json` writes, from the
// rules of /work/assessment-rules.md: every interval, event and value is built in full and each
// statistic computed directly, so that a fault of the program's streaming, selection or sink code
// shows up as a difference rather than being shared. Only the file import is the program's own.
struct ReferenceRequest {
  std::vector<std::string> files;  // in the order given; a survey when more than one
  std::optional<std::int64_t> from;  // seconds since 1970 on the recording's clock, both ends included
  std::optional<std::int64_t> to;
  // The program's "harmonics" object: its limits are taken as they are (the tables are not
  // recomputed here), but every verdict and pass rate is worked out against them.
  nlohmann::json harmonicLimits;
};

// The assessment as a JSON object shaped like the program's output, holding only the members the
// reference computes; a value that has none is null.
nlohmann::json referenceAssessment(const ReferenceRequest& request);

// Seconds since 1970 of a calendar date-time, and its "YYYY-MM-DD HH:MM:SS" text.
std::int64_t epochOf(int year, int month, int day, int hour, int minute, int second);
std::string timeText(std::int64_t seconds);

}  // namespace pq::reference
