#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "aggregation/AggregatedSeries.h"
#include "assessment/AssessmentPass.h"
#include "aggregation/RecordGaps.h"
#include "survey/SurveyPlan.h"

namespace pq {


// One file of an opened survey.
struct SurveyFile {
  std::string path;
  int records = 0;      // read from the file
  int skipped = 0;      // of those, left out: overlapping an earlier file, repeated, out of order, undated
  int overlapping = 0;  // of the skipped, those not later than the last record of an earlier file
  // The times of its first and last dated records; nothing for a file without any.
  std::optional<std::int64_t> first;
  std::optional<std::int64_t> last;
  int intervalSeconds = 0;  // its recording interval (RecordGaps.h), 0 when it has fewer than two records
  std::vector<std::string> damage;  // where the file could be read only in part
};

// Several record files of one recording taken as one: what a survey keeps of them once each has been
// read. It grows with the intervals of the recording, never with its records.
struct Survey {
  std::vector<SurveyFile> files;  // in time order
  std::vector<RecordGap> gaps;    // in time order, within and between files
  // Files that vanished between the plan and their turn.
  std::vector<std::string> leftOut;
  RecordingValues values;      // as the assessment of one file has them, kept as surveyQuantities() says
  RecordingIdentity identity;  // of the first file
  int wiringMode = 0;          // of the first record
  double declaredVoltage = 0;  // of the first file, in the units of its voltage cells
};

// What a survey keeps of the aggregated values: every quantity at 10 minutes; at 1 minute the cells,
// total powers, fundamentals and distortion (the trend pages' items and the voltage deviation), since
// the harmonic contents of each order at 1 minute would be 13 MB a day; the frequency at 10 seconds
// for its deviation; nothing at 3 seconds (their 95 % values keep only the largest twentieth, in a
// sink the caller passes).
KeptQuantities surveyQuantities();

// Progress and cancel while a survey opens. Every call comes from the thread that opens it.
class SurveyListener {
 public:
  virtual ~SurveyListener() = default;
  // File `index` (0-based, in time order) of `count` is read next.
  virtual void fileStarted(int index, int count, const std::string& path) = 0;
  // Shares 0..1 of the current file and of the whole survey (weighted by file size).
  virtual void progress(double ofFile, double ofSurvey) = 0;
  // Asked between steps; true stops the survey.
  virtual bool cancelRequested() = 0;
};

// For callers that show no progress and stop by a signal rather than a cancel.
class QuietSurveyListener : public SurveyListener {
 public:
  void fileStarted(int, int, const std::string&) override {}
  void progress(double, double) override {}
  bool cancelRequested() override { return false; }
};

// Reads the planned files one after another, each straight from its frames (StreamedRecordFile: the
// frames decoded on a thread of their own while this one aggregates), and feeds their records in time
// order through one assessment pass: the records of a later file that overlap an earlier one are left
// out and counted. The store is not used. `alsoTo`, when given, sees every interval as the kept series
// do. Nothing when cancelled: nothing half-built is kept. Throws std::invalid_argument when the first
// file declares no positive voltage (the voltage events need it).
std::optional<Survey> openSurvey(const SurveyPlan& plan, SurveyListener& listener, AggregationSink* alsoTo = nullptr);

}  // namespace pq
