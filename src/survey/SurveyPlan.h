#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "records/RecordHead.h"

namespace pq {


// What identifies the recording of a file: its head values and the instrument of its first record.
struct RecordingIdentity {
  std::string substationName;  // raw GBK bytes
  std::string measuringPointName;
  int voltageLevelCode = 0;
  float ptRatio = 0;
  float ctRatio = 0;
  std::array<std::uint32_t, 4> instrumentId{};
};

// The instrument number of cells 7..10 as eight hexadecimal digits, upper case, in cell order.
std::string instrumentText(const std::array<std::uint32_t, 4>& id);

struct PlannedFile {
  std::string path;  // as the operator gave it, or found in a folder the operator gave
  std::int64_t size = 0;
  // The first record's time in epoch seconds; nothing when its time stamp is no date-time (such a
  // file goes after the dated ones).
  std::optional<std::int64_t> first;
  RecordingIdentity identity;
  RecordHead head;     // as read when planned, for the survey's setup
  int wiringMode = 1;  // of its first record

  // The whole frames its size holds: the most records it can give.
  std::int64_t frames() const;
};

// The files of a survey in the order their records will be read, before any is read in full.
struct SurveyPlan {
  std::vector<PlannedFile> files;  // by first record time; equal times keep the order given
  // Files or folders left out and why: missing, given twice, a copy of another, without records, a
  // folder without record files. The survey goes on without them.
  std::vector<std::string> leftOut;
  // One text per field in which a file differs from the first one (substation, measuring point,
  // level, PT and CT ratio, instrument): the operator decides whether the survey goes on.
  std::vector<std::string> mismatches;
  // Only the records timed from `from` to `to` (epoch seconds, both included; nothing: no bound) are
  // read into the survey; records whose time stamps are no date-times go on to be counted as left out.
  std::optional<std::int64_t> from;
  std::optional<std::int64_t> to;

  // No more records than this can come from the files (their whole frames): a bound for what a sink
  // sizes in advance, such as the 95 % values of the 3-second values.
  std::int64_t recordBound() const;
};

// Reads the head and first record of every file (a folder stands for its *.bin files, by name) and
// orders them. Never throws for a file that cannot be read.
SurveyPlan planSurvey(const std::vector<std::string>& paths);

}  // namespace pq
