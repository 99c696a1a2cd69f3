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
#include "base/ConversionError.h"
#include "records/RecordFileFormat.h"
#include "records/RecordFileImport.h"
#include "records/RecordStore.h"
#include "survey/SurveyMessages.h"
#include "timerange/CalendarDateTime.h"

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
  const auto body =
      std::max<std::int64_t>(planned.size - static_cast<std::int64_t>(recordfile::kHeadSize), 0);
  const auto frameSize = static_cast<std::int64_t>(recordfile::kFrameSize);
  if (body % frameSize != 0) file.damage.push_back(messages::surveyTruncated(planned.path, lastText));
  const std::int64_t unread = body / frameSize - store.recordCount();
  if (unread > 0) file.damage.push_back(messages::surveyDamagedFrames(planned.path, unread));
}

// Reads the planned files in turn into one assessment pass and keeps what the survey keeps of them.
class SurveyOpening {
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
    if (pass_) survey.values = recordingValuesOf(*pass_, std::move(collector_.series));
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
    SurveyFile file;
    file.path = planned.path;
    const std::optional<std::int64_t> earlierLast = lastAdmitted_;
    std::vector<std::int64_t> times;
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
      const int end = std::min(available, fed + kFeedChunk);
      feedWithinWindow(fed, end, earlierLast, file, times);
      fed = end;
      report(std::min(1.0, fed / frames), planned);
      cancelled = listener_.cancelRequested();
    }
    importer.join();
    if (failure) std::rethrow_exception(failure);
    if (cancelled) return false;
    if (result == ImportResult::CannotOpen) {
      survey_.leftOut.push_back(messages::surveyFileVanished(planned.path));
      return true;
    }
    file.records = store_.recordCount();
    if (!times.empty()) lastAdmitted_ = times.back();
    file.intervalSeconds = recordingInterval(times).value_or(interval_);
    if (file.intervalSeconds > 0) interval_ = file.intervalSeconds;
    addGaps(times, file.intervalSeconds);
    describeDamage(planned, store_, result, messages.last, file);
    survey_.files.push_back(std::move(file));
    report(1.0, planned);
    return true;
  }

  // Feeds the records [begin, end) that lie in the plan's time window to the pass, run by run; a
  // record whose time stamp is no date-time goes on, for the pass to count it as it counts it in a
  // single file.
  void feedWithinWindow(int begin, int end, const std::optional<std::int64_t>& earlierLast, SurveyFile& file,
                        std::vector<std::int64_t>& times) {
    const auto inWindow = [&](int i) {
      if (!plan_.from && !plan_.to) return true;
      const auto time = timeOf(store_, i);
      return !time || ((!plan_.from || *time >= *plan_.from) && (!plan_.to || *time <= *plan_.to));
    };
    const auto feed = [&](int runBegin, int runEnd) {
      if (runBegin >= runEnd) return;
      admit(runBegin, runEnd, earlierLast, file, times);
      if (!pass_) startPass(recordingInterval(times).value_or(1));
      pass_->feed(store_, {runBegin, runEnd});
    };
    int run = begin;
    for (int i = begin; i < end; ++i) {
      if (inWindow(i)) continue;
      feed(run, i);
      run = i + 1;
    }
    feed(run, end);
  }

  // Notes the times of the records [begin, end) that the pass will let through: its gate sees the
  // same records in the same order, so this one, kept across the files as the pass keeps its own,
  // admits exactly those. A record left out that is not later than the last of an earlier file
  // overlaps it.
  void admit(int begin, int end, const std::optional<std::int64_t>& earlierLast, SurveyFile& file,
             std::vector<std::int64_t>& times) {
    for (int i = begin; i < end; ++i) {
      const auto admitted = gate_.admit(store_, i);
      const auto time = admitted ? admitted : timeOf(store_, i);
      if (time) {
        if (!file.first) file.first = time;
        file.last = time;
      }
      if (admitted) {
        times.push_back(*admitted);
        continue;
      }
      ++file.skipped;
      if (time && earlierLast && *time <= *earlierLast) ++file.overlapping;
    }
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
