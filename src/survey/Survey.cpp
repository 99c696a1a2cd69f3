#include "survey/Survey.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <exception>
#include <limits>
#include <memory>
#include <thread>

#include "aggregation/RecordTimeGate.h"
#include "aggregation/SinkFanOut.h"
#include "assessment/SupplyVoltageDeviation.h"
#include "records/RecordFileFormat.h"
#include "records/RecordFileImport.h"
#include "records/RecordStore.h"
#include "survey/SurveyMessages.h"

namespace pq {

namespace {

// Records fed between two looks at the listener and at what the import has published: a few
// milliseconds of work.
constexpr int kFeedChunk = 4096;
// How long to wait for the import to publish more: about 1 500 records of a fast disk's import.
constexpr std::chrono::microseconds kImportWait{500};

class ImportMessages : public QuietImportListener {
 public:
  void importMessage(const std::string& text) override { last = text; }
  std::string last;
};

void describeDamage(const PlannedFile& planned, const RecordStore& store, ImportResult result,
                    const std::string& importMessage, SurveyFile& file) {
  const std::string lastText = file.last ? epochTimeText(*file.last) : "-";
  if (result == ImportResult::ReadFailed) {
    file.damage.push_back(messages::surveyReadFailed(planned.path, importMessage, lastText));
    return;
  }
  const auto body =
      std::max<std::int64_t>(planned.size - static_cast<std::int64_t>(recordfile::kHeadSize), 0);
  const auto frameSize = static_cast<std::int64_t>(recordfile::kFrameSize);
  if (body % frameSize != 0) file.damage.push_back(messages::surveyTruncated(planned.path, lastText));
  const std::int64_t unread = body / frameSize - store.recordCount();
  if (unread > 0) file.damage.push_back(messages::surveyDamagedFrames(planned.path, unread));
}

// Reads the planned files in turn into one assessment pass and keeps what the survey keeps of them.
// The pass says what became of each record, so that each file's counts are those of the pass itself.
class SurveyOpening : public RecordVerdictListener {
 public:
  SurveyOpening(const SurveyPlan& plan, RecordStore& store, SurveyListener& listener, AggregationSink* alsoTo)
      : plan_(plan), store_(store), listener_(listener), collector_(surveyQuantities()) {
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

  // The import fills the store on a thread of its own while this one feeds the records it has
  // published to the pass, so that the two cores share a file; the next file waits for the store.
  bool readFile(const PlannedFile& planned) {
    ImportMessages messages;
    ImportResult result = ImportResult::Completed;
    std::exception_ptr failure;
    std::atomic<bool> imported = false;
    // The import keeps the store's nominal voltage for a level it does not know, which would be that
    // of the file read before.
    store_.resetDefaults();
    store_.clear();
    // Joined however this call ends, a throw included: it fills the store and the locals of this call.
    std::jthread importer([&] {
      try {
        result = importRecordFile(store_, planned.path, messages);
      } catch (...) {
        failure = std::current_exception();
      }
      imported.store(true, std::memory_order_release);
    });
    const int tag = static_cast<int>(survey_.files.size());
    survey_.files.emplace_back().path = planned.path;
    std::optional<RecordOrigin> origin;
    int fed = 0;
    bool cancelled = false;
    const double frames = std::max<double>(
        1.0, static_cast<double>(planned.size - static_cast<std::int64_t>(recordfile::kHeadSize)) /
                 recordfile::kFrameSize);
    while (!cancelled) {
      const bool finished = imported.load(std::memory_order_acquire);
      const int available = store_.recordCount();
      // Whole chunks only, but for the last: on a busy machine each wait costs a turn of the
      // scheduler, so the fewer the better. Waiting sleeps rather than spins, which would take the
      // time the import needs.
      const bool enough = finished || available - fed >= kFeedChunk;
      if (available == fed || !enough) {
        if (finished) break;
        std::this_thread::sleep_for(kImportWait);
        continue;
      }
      // The first chunk holds the records that give the file's interval (kIntervalSampleRecords).
      if (!origin) origin = RecordOrigin{recordingIntervalOfFile(store_.records(0, available)), store_.kiloUnits(), tag};
      const int end = std::min(available, fed + kFeedChunk);
      if (!pass_) startPass();
      pass_->feed(store_.records(fed, end - fed), *origin);
      fed = end;
      report(std::min(1.0, fed / frames), planned);
      cancelled = listener_.cancelRequested();
    }
    importer.join();
    if (failure) std::rethrow_exception(failure);
    if (cancelled) return false;
    if (result == ImportResult::CannotOpen) {
      survey_.files.pop_back();
      survey_.leftOut.push_back(messages::surveyFileVanished(planned.path));
      return true;
    }
    SurveyFile& file = survey_.files.back();
    file.records = store_.recordCount();
    markEnds(file);
    file.intervalSeconds = origin ? origin->intervalSeconds : 0;
    describeDamage(planned, store_, result, messages.last, file);
    report(1.0, planned);
    return true;
  }

  // The times of the file's first and last dated records within the survey's time window.
  void markEnds(SurveyFile& file) const {
    const TimeWindow window{plan_.from, plan_.to};
    const auto dated = [&](int i) -> std::optional<std::int64_t> {
      const auto seconds = recordSeconds(store_, i);
      return seconds && window.contains(*seconds) ? seconds : std::nullopt;
    };
    for (int i = 0; i < file.records && !file.first; ++i) file.first = dated(i);
    for (int i = file.records - 1; i >= 0 && !file.last; --i) file.last = dated(i);
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

  void startPass() {
    survey_.identity = plan_.files.front().identity;
    survey_.wiringMode = store_.recordCount() > 0 ? store_.record(0).integer(cells::wiringMode) : 1;
    survey_.declaredVoltage = supplyVoltageOf(store_, survey_.wiringMode).declared;
    fanOut_ = std::make_unique<SinkFanOut>(sinks_);
    pass_ = std::make_unique<AssessmentPass>(*fanOut_, survey_.declaredVoltage, TimeWindow{plan_.from, plan_.to},
                                             this);
  }

  const SurveyPlan& plan_;
  RecordStore& store_;
  SurveyListener& listener_;
  SeriesCollector collector_;
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

std::optional<Survey> openSurvey(const SurveyPlan& plan, RecordStore& store, SurveyListener& listener,
                                 AggregationSink* alsoTo) {
  SurveyOpening opening(plan, store, listener, alsoTo);
  bool done = false;
  try {
    done = opening.run();
  } catch (...) {
    store.clear();
    throw;
  }
  store.clear();
  if (!done) return std::nullopt;
  return opening.take();
}

}  // namespace pq
