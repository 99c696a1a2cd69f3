#include "survey/Survey.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <memory>
#include <span>

#include "aggregation/RecordTimeGate.h"
#include "aggregation/SinkFanOut.h"
#include "assessment/SupplyVoltageDeviation.h"
#include "base/SystemErrorText.h"
#include "records/RecordFileFormat.h"
#include "records/RecordFileMessages.h"
#include "records/StreamedRecordFile.h"
#include "survey/SurveyMessages.h"

namespace pq {

namespace {

// The first chunk of a file gives its recording interval.
static_assert(StreamedRecordFile::kChunkRecords >= kIntervalSampleRecords);

void describeDamage(const PlannedFile& planned, const StreamedRecordFile& read, SurveyFile& file) {
  const std::string lastText = file.last ? epochTimeText(*file.last) : "-";
  if (read.failed() || read.cutWhileRead()) {
    const std::string why = messages::kReadFailed + std::string(read.cutWhileRead() ? messages::kFileCutWhileRead
                                                                                   : systemErrorText(read.errorNumber()));
    file.damage.push_back(messages::surveyReadFailed(planned.path, why, lastText));
    return;
  }
  const auto body =
      std::max<std::int64_t>(planned.size - static_cast<std::int64_t>(recordfile::kHeadSize), 0);
  const auto frameSize = static_cast<std::int64_t>(recordfile::kFrameSize);
  if (body % frameSize != 0) file.damage.push_back(messages::surveyTruncated(planned.path, lastText));
  const std::int64_t unread = body / frameSize - read.recordsRead();
  if (unread > 0) file.damage.push_back(messages::surveyDamagedFrames(planned.path, unread));
}

// Reads the planned files in turn into one assessment pass and keeps what the survey keeps of them.
// The pass says what became of each record, so that each file's counts are those of the pass itself.
class SurveyOpening : public RecordVerdictListener {
 public:
  SurveyOpening(const SurveyPlan& plan, SurveyListener& listener, AggregationSink* alsoTo)
      : plan_(plan), listener_(listener), collector_(surveyQuantities()) {
    sinks_.push_back(&collector_);
    if (alsoTo != nullptr) sinks_.push_back(alsoTo);
    for (const auto& file : plan.files) totalSize_ += std::max<std::int64_t>(file.size, 1);
    reserveSeries();
  }

  bool run() {
    for (std::size_t k = 0; k < plan_.files.size(); ++k) {
      if (listener_.cancelRequested()) return false;
      listener_.fileStarted(static_cast<int>(k), static_cast<int>(plan_.files.size()), plan_.files[k].path);
      if (!readFile(plan_.files[k])) return false;
      doneSize_ += std::max<std::int64_t>(plan_.files[k].size, 1);
    }
    if (pass_) pass_->finish();
    return true;
  }

  Survey take() {
    Survey survey = std::move(survey_);
    if (pass_) {
      survey.values = recordingValuesOf(*pass_, std::move(collector_.series));
      survey.gaps = survey.values.span.gaps;
    }
    return survey;
  }

 private:
  void report(double ofFile, const PlannedFile& planned) {
    const double size = static_cast<double>(std::max<std::int64_t>(planned.size, 1));
    listener_.progress(ofFile,
                       (static_cast<double>(doneSize_) + ofFile * size) / static_cast<double>(totalSize_));
  }

  // Room for the intervals of one-second records from the first file's start to the end of the last,
  // so that the kept values do not double as they grow: a month's 10-minute values would otherwise
  // take up to twice their room at the end. Exact for the instrument's one-second recordings; a
  // longer interval leaves room unused, which is never touched and so takes no memory.
  void reserveSeries() {
    std::optional<std::int64_t> first;
    std::optional<std::int64_t> lastStart;
    std::int64_t lastFrames = 0;
    for (const PlannedFile& file : plan_.files) {
      if (!file.first) continue;
      if (!first || *file.first < *first) first = file.first;
      if (!lastStart || *file.first >= *lastStart) {
        lastStart = file.first;
        lastFrames = file.frames();
      }
    }
    if (!first) return;
    const std::int64_t records = std::min<std::int64_t>(plan_.recordBound(), std::numeric_limits<int>::max());
    collector_.reserveFor(*lastStart - *first + lastFrames, static_cast<int>(records));
  }

  // The file's frames are decoded on a thread of their own while this one feeds the chunk before to
  // the pass, so that the two cores share a file.
  bool readFile(const PlannedFile& planned) {
    StreamedRecordFile read(planned.path, chunks_);
    if (!read.opened()) {
      survey_.leftOut.push_back(messages::surveyFileVanished(planned.path));
      return true;
    }
    const int tag = static_cast<int>(survey_.files.size());
    survey_.files.emplace_back().path = planned.path;
    std::optional<RecordOrigin> origin;
    long long fed = 0;
    const double frames = std::max<double>(1.0, static_cast<double>(read.wholeFrames()));
    for (;;) {
      if (listener_.cancelRequested()) return false;
      const std::span<const MeasurementRecord> chunk = read.next();
      if (chunk.empty()) break;
      if (!origin) origin = RecordOrigin{recordingIntervalOfFile(chunk), read.head().kiloUnits(), tag};
      if (!pass_) startPass(read.head(), chunk.front());
      pass_->feed(chunk, *origin);
      markEnds(chunk, survey_.files.back());
      fed += static_cast<long long>(chunk.size());
      report(std::min(1.0, static_cast<double>(fed) / frames), planned);
    }
    SurveyFile& file = survey_.files.back();
    file.records = static_cast<int>(std::min<long long>(fed, std::numeric_limits<int>::max()));
    file.intervalSeconds = origin ? origin->intervalSeconds : 0;
    describeDamage(planned, read, file);
    report(1.0, planned);
    return true;
  }

  // The times of the file's first and last dated records within the survey's time window, a chunk at
  // a time.
  void markEnds(std::span<const MeasurementRecord> chunk, SurveyFile& file) const {
    const TimeWindow window{plan_.from, plan_.to};
    const auto dated = [&](const MeasurementRecord& record) -> std::optional<std::int64_t> {
      const auto seconds = recordSeconds(record);
      return seconds && window.contains(*seconds) ? seconds : std::nullopt;
    };
    for (std::size_t i = 0; i < chunk.size() && !file.first; ++i) file.first = dated(chunk[i]);
    for (std::size_t i = chunk.size(); i-- > 0;) {
      if (const auto seconds = dated(chunk[i])) {
        file.last = seconds;
        break;
      }
    }
  }

  // A record left out that is not later than the last let through from an earlier file overlaps it.
  void recordJudged(int tag, std::optional<std::int64_t> seconds, bool admitted) override {
    SurveyFile& file = survey_.files[static_cast<std::size_t>(tag)];
    if (tag != judgedFile_) {
      judgedFile_ = tag;
      earlierLast_ = lastAdmitted_;
    }
    if (admitted) {
      lastAdmitted_ = seconds;
      return;
    }
    ++file.skipped;
    if (seconds && earlierLast_ && *seconds <= *earlierLast_) ++file.overlapping;
  }

  void startPass(const RecordHead& head, const MeasurementRecord& first) {
    survey_.identity = plan_.files.front().identity;
    survey_.wiringMode = first.integer(cells::wiringMode);
    survey_.declaredVoltage = supplyVoltageOf(head, survey_.wiringMode).declared;
    fanOut_ = std::make_unique<SinkFanOut>(sinks_);
    pass_ = std::make_unique<AssessmentPass>(*fanOut_, survey_.declaredVoltage, TimeWindow{plan_.from, plan_.to},
                                             this);
  }

  const SurveyPlan& plan_;
  SurveyListener& listener_;
  SeriesCollector collector_;
  StreamedChunks chunks_;  // shared by the files in turn
  std::vector<AggregationSink*> sinks_;
  std::unique_ptr<SinkFanOut> fanOut_;
  std::unique_ptr<AssessmentPass> pass_;
  int judgedFile_ = -1;
  std::optional<std::int64_t> earlierLast_;
  std::optional<std::int64_t> lastAdmitted_;
  std::int64_t totalSize_ = 0;
  std::int64_t doneSize_ = 0;
  Survey survey_;
};

}  // namespace

KeptQuantities surveyQuantities() {
  std::vector<int> minutes;
  for (int q = 0; q < kCellQuantityCount; ++q) minutes.push_back(q);
  minutes.push_back(kTotalActivePowerQuantity);
  minutes.push_back(kTotalReactivePowerQuantity);
  for (int channel = 0; channel < kChannelCount; ++channel) {
    minutes.push_back(fundamentalQuantity(channel));
    minutes.push_back(thdQuantity(channel));
  }
  return {std::vector<int>{}, std::vector<int>{cellQuantity(cells::frequency)}, std::move(minutes),
          allQuantities()};
}

std::optional<Survey> openSurvey(const SurveyPlan& plan, SurveyListener& listener, AggregationSink* alsoTo) {
  SurveyOpening opening(plan, listener, alsoTo);
  if (!opening.run()) return std::nullopt;
  return opening.take();
}

}  // namespace pq
