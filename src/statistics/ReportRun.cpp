#include "statistics/ReportRun.h"

#include "records/RecordStore.h"
#include "statistics/ReportParameters.h"
#include "statistics/StatisticsEngine.h"
#include "timerange/CalendarDateTime.h"
#include "timerange/RecordSpan.h"
#include "timerange/TimeRangeMessages.h"

namespace pq {

namespace {

// Shows the busy indicator for as long as it lives.
class BusyIndicator {
 public:
  explicit BusyIndicator(ReportRunListener& listener) : listener_(listener) { listener_.busyStarted(); }
  ~BusyIndicator() { listener_.busyFinished(); }
  BusyIndicator(const BusyIndicator&) = delete;
  BusyIndicator& operator=(const BusyIndicator&) = delete;

 private:
  ReportRunListener& listener_;
};

}  // namespace

int selectReportRange(RecordStore& store, const ReportParameters& parameters) {
  if (store.recordCount() == 0) {
    store.rangeStart = store.rangeEnd = 0;
    return 0;
  }
  const CalendarDateTime start = CalendarDateTime::parse(parameters.data.startTimeText);
  const CalendarDateTime end = CalendarDateTime::parse(parameters.data.endTimeText);
  const IndexRange range = findRecordSpan(store, start, end);
  store.rangeStart = range.start;
  store.rangeEnd = range.end;
  return range.end - range.start;
}

bool ReportRun::requestReport(ReportKind kind) {
  if (const auto refusal = parameters_.requestReport(kind)) {
    listener_.showMessage(refusal->c_str());
    return false;
  }
  return runReport();
}

bool ReportRun::runReport() {
  return parameters_.data.kind.voltage() ? runVoltageReport() : runCurrentReport();
}

int ReportRun::prepare() {
  if (const auto refusal = parameters_.checkReportInputs(store_)) {
    listener_.showMessage(refusal->c_str());
    return 0;
  }
  const int n = selectReportRange(store_, parameters_);
  parameters_.data.sampleCount = static_cast<float>(n);
  if (n == 0) {
    listener_.showMessage(messages::kNoRecordsInSpan);
    return 0;
  }
  return n;
}

namespace {

// The harmonic orders 2..25 followed by `further`, the order in which a run computes its indices.
std::vector<StatisticRequest> reportRequests(std::initializer_list<StatisticIndex> further) {
  std::vector<StatisticRequest> requests;
  for (int order = kFirstLimitedOrder; order <= kLastLimitedOrder; ++order) {
    requests.push_back({StatisticIndex::Harmonic, order});
  }
  for (const StatisticIndex index : further) requests.push_back({index});
  return requests;
}

constexpr int kHarmonicRequests = kLastLimitedOrder - kFirstLimitedOrder + 1;

void storeHarmonics(const std::vector<StatisticRecord>& results, PhaseReportDataSet& data) {
  for (int k = 0; k < kHarmonicRequests; ++k) data.harmonic[kFirstLimitedOrder + k] = results[k];
}

}  // namespace

bool ReportRun::runVoltageReport() {
  if (prepare() == 0) return false;
  PhaseReportDataSet& data = parameters_.data;
  BusyIndicator busy(listener_);
  data.limits.setVoltageLimits(parameters_.voltageLevelText);
  StatisticsEngine engine(store_, data.limits);
  const auto results = engine.computeStatistics(
      reportRequests({StatisticIndex::Fundamental, StatisticIndex::LineFundamental, StatisticIndex::Thd,
                      StatisticIndex::Deviation, StatisticIndex::Unbalance, StatisticIndex::Fluctuation,
                      StatisticIndex::FrequencyDeviation}),
      data.kind);
  storeHarmonics(results, data);
  auto next = results.begin() + kHarmonicRequests;
  for (StatisticRecord* index : {&data.fundamental, &data.lineFundamental, &data.thd, &data.deviation,
                                 &data.unbalance, &data.fluctuation, &data.frequencyDeviation}) {
    *index = *next++;
  }
  return true;
}

bool ReportRun::runCurrentReport() {
  if (prepare() == 0) return false;
  PhaseReportDataSet& data = parameters_.data;
  BusyIndicator busy(listener_);
  data.limits.computeCurrentLimits(parameters_.voltageLevelText, parameters_.minShortCircuitText,
                                   parameters_.supplyCapacityText, parameters_.agreedCapacityText);
  StatisticsEngine engine(store_, data.limits);
  const auto results =
      engine.computeStatistics(reportRequests({StatisticIndex::Fundamental, StatisticIndex::Thd}), data.kind);
  storeHarmonics(results, data);
  data.fundamental = results[kHarmonicRequests];
  data.thd = results[kHarmonicRequests + 1];
  return true;
}

}  // namespace pq
