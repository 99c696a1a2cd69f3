#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "aggregation/RecordGaps.h"
#include "assessment/VoltageEvents.h"

namespace pq::archive {

// A survey as the archive lists it. Names are UTF-8 (decoded from the record head's GBK bytes); times
// are epoch seconds on the recording's clock, nothing for a survey without dated records.
struct SurveySummary {
  std::int64_t id = 0;
  std::string station;
  std::string point;
  std::optional<std::int64_t> first;
  std::optional<std::int64_t> last;
  int records = 0;
  std::vector<std::string> files;  // paths, in time order
};

struct ArchivedFile {
  std::string path;
  std::int64_t size = 0;
  std::string sha256;
  std::optional<std::int64_t> first;
  std::optional<std::int64_t> last;
  int records = 0;
  int skipped = 0;
  int overlapping = 0;
  int intervalSeconds = 0;
};

// What the opening of a survey reported, as the archive keeps it.
struct ArchivedSurvey {
  SurveySummary summary;
  std::vector<ArchivedFile> files;
  std::vector<RecordGap> gaps;
  std::vector<std::string> mismatches;
  std::vector<std::string> notes;  // files left out or read only in part
};

// One voltage event with the survey it belongs to.
struct ArchivedEvent {
  std::int64_t survey = 0;
  std::string station;
  std::string point;
  VoltageEvent event{};
  bool lineVoltages = false;  // its phases are the line voltages AB, BC, CA
};

// Which surveys or events to list; an empty member does not filter. A survey passes the times when its
// records overlap [from, to]; an event when it starts within them.
struct ArchiveFilter {
  std::optional<std::string> station;
  std::optional<std::string> point;
  std::optional<std::int64_t> from;
  std::optional<std::int64_t> to;
  std::optional<VoltageEventKind> kind;  // events only
};

}  // namespace pq::archive
