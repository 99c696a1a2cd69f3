#include "survey/Survey.h"

#include <algorithm>
#include <memory>

#include "aggregation/SinkFanOut.h"
#include "assessment/SupplyVoltageDeviation.h"
#include "base/ConversionError.h"
#include "records/RecordFileFormat.h"
#include "records/RecordFileImport.h"
#include "records/RecordStore.h"
#include "survey/SurveyMessages.h"
#include "timerange/CalendarDateTime.h"

namespace pq {

namespace {

// Records fed between two looks at the listener: a few milliseconds of work.
constexpr int kFeedChunk = 8192;
// The share of a file's progress its import stands for; the aggregation takes the rest.
constexpr double kImportShare = 0.2;

class ImportMessages : public ImportListener {
 public:
  void importStarted(const std::string&, int) override {}
  void importProgress(int, const std::string&) override {}
  bool showsProgress() const override { return false; }
  void importMessage(const std::string& text) override { last = text; }
  void importFinished(const std::string&) override {}
  std::string last;
};

std::optional<std::int64_t> timeOf(const RecordStore& store, int index) {
  try {
    return epochSeconds(CalendarDateTime::ofRecord(store, index));
  } catch (const ConversionError&) {
    return std::nullopt;
  }
}

void describeDamage(const PlannedFile& planned, const RecordStore& store, ImportResult result,
                    const std::string& importMessage, SurveyFile& file) {
  const std::string lastText = file.last ? epochTimeText(*file.last) : "-";
  if (result == ImportResult::ReadFailed) {
    file.damage.push_back(messages::surveyReadFailed(planned.path, importMessage, lastText));
    return;
  }
  const auto body = std::max<std::int64_t>(planned.size - static_cast<std::int64_t>(recordfile::kHeadSize), 0);
  const auto frameSize = static_cast<std::int64_t>(recordfile::kFrameSize);
  if (body % frameSize != 0) file.damage.push_back(messages::surveyTruncated(planned.path, lastText));
  const std::int64_t unread = body / frameSize - store.recordCount();
  if (unread > 0) file.damage.push_back(messages::surveyDamagedFrames(planned.path, unread));
}

// Feeds the files in order; one per call of next().
class SurveyOpening {
 public:
  SurveyOpening(const SurveyPlan& plan, RecordStore& store, SurveyListener& listener, AggregationSink* alsoTo)
      : plan_(plan), store_(store), listener_(listener), collector_(surveyQuantities()) {
    sinks_.push_back(&collector_);
    if (alsoTo != nullptr) sinks_.push_back(alsoTo);
    for (const auto& file : plan.files) totalSize_ += std::max<std::int64_t>(file.size, 1);
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
    if (pass_) survey.values = recordingValuesOf(*pass_, std::move(collector_.series));
    return survey;
  }

 private:
  void report(double ofFile, const PlannedFile& planned) {
    const double size = static_cast<double>(std::max<std::int64_t>(planned.size, 1));
    listener_.progress(ofFile, (static_cast<double>(doneSize_) + ofFile * size) / static_cast<double>(totalSize_));
  }

  bool readFile(const PlannedFile& planned) {
    ImportMessages messages;
    const ImportResult result = importRecordFile(store_, planned.path, messages);
    if (result == ImportResult::CannotOpen) {
      survey_.leftOut.push_back(messages::surveyFileVanished(planned.path));
      return true;
    }
    report(kImportShare, planned);
    if (listener_.cancelRequested()) return false;

    SurveyFile file;
    file.path = planned.path;
    file.records = store_.recordCount();
    const std::vector<std::int64_t> times = admittedTimes(file);
    file.intervalSeconds = recordingInterval(times).value_or(interval_);
    if (file.intervalSeconds > 0) interval_ = file.intervalSeconds;
    addGaps(times, file.intervalSeconds);
    describeDamage(planned, store_, result, messages.last, file);

    if (!pass_) startPass(file.intervalSeconds);
    for (int start = 0; start < store_.recordCount(); start += kFeedChunk) {
      pass_->feed(store_, {start, std::min(start + kFeedChunk, store_.recordCount())});
      const double fed = static_cast<double>(std::min(start + kFeedChunk, store_.recordCount())) / store_.recordCount();
      report(kImportShare + (1 - kImportShare) * fed, planned);
      if (listener_.cancelRequested()) return false;
    }
    survey_.files.push_back(std::move(file));
    return true;
  }

  // The times of the records the pass will let through: its gate sees the same records in the same
  // order, so this one, kept across the files as the pass keeps its own, admits exactly those.
  std::vector<std::int64_t> admittedTimes(SurveyFile& file) {
    std::vector<std::int64_t> times;
    times.reserve(static_cast<std::size_t>(store_.recordCount()));
    const std::optional<std::int64_t> earlierLast = lastAdmitted_;
    for (int i = 0; i < store_.recordCount(); ++i) {
      const auto time = timeOf(store_, i);
      if (time) {
        if (!file.first) file.first = time;
        file.last = time;
      }
      if (const auto admitted = gate_.admit(store_, i)) {
        times.push_back(*admitted);
        continue;
      }
      ++file.skipped;
      if (time && earlierLast && *time <= *earlierLast) ++file.overlapping;
    }
    if (!times.empty()) lastAdmitted_ = times.back();
    return times;
  }

  void addGaps(const std::vector<std::int64_t>& times, int interval) {
    if (times.empty() || interval <= 0) {
      if (!times.empty()) previous_ = times.back();
      return;
    }
    if (previous_) {
      if (const auto gap = gapBetween(*previous_, times.front(), interval)) survey_.gaps.push_back(*gap);
    }
    for (std::size_t i = 1; i < times.size(); ++i) {
      if (const auto gap = gapBetween(times[i - 1], times[i], interval)) survey_.gaps.push_back(*gap);
    }
    previous_ = times.back();
  }

  void startPass(int intervalSeconds) {
    survey_.identity = plan_.files.front().identity;
    survey_.wiringMode = store_.recordCount() > 0 ? store_.record(0).integer(cells::wiringMode) : 1;
    survey_.declaredVoltage = supplyVoltageOf(store_, survey_.wiringMode).declared;
    fanOut_ = std::make_unique<SinkFanOut>(sinks_);
    pass_ = std::make_unique<AssessmentPass>(*fanOut_, survey_.declaredVoltage, std::max(intervalSeconds, 1));
  }

  const SurveyPlan& plan_;
  RecordStore& store_;
  SurveyListener& listener_;
  SeriesCollector collector_;
  std::vector<AggregationSink*> sinks_;
  std::unique_ptr<SinkFanOut> fanOut_;
  std::unique_ptr<AssessmentPass> pass_;
  RecordTimeGate gate_;
  std::optional<std::int64_t> lastAdmitted_;
  std::optional<std::int64_t> previous_;
  int interval_ = 0;
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
  return {std::vector<int>{}, std::vector<int>{cellQuantity(cells::frequency)}, std::move(minutes), allQuantities()};
}

std::optional<Survey> openSurvey(const SurveyPlan& plan, RecordStore& store, SurveyListener& listener,
                                 AggregationSink* alsoTo) {
  SurveyOpening opening(plan, store, listener, alsoTo);
  const bool done = opening.run();
  store.clear();
  if (!done) return std::nullopt;
  return opening.take();
}

}  // namespace pq
