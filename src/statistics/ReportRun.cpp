#include "statistics/ReportRun.h"

#include "records/RecordStore.h"
#include "statistics/CalendarDateTime.h"
#include "statistics/RecordSpan.h"
#include "statistics/ReportParameters.h"
#include "statistics/StatisticsEngine.h"
#include "statistics/StatisticsMessages.h"

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

int selectReportRange(RecordStore& store, ReportParameters& parameters) {
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

bool ReportRun::requestReport(int phase) {
  if (const auto refusal = parameters_.requestReport(phase)) {
    listener_.showMessage(refusal->c_str());
    return false;
  }
  return isVoltageReport(phase) ? runVoltageReport() : runCurrentReport();
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

bool ReportRun::runVoltageReport() {
  if (prepare() == 0) return false;
  PhaseReportDataSet& data = parameters_.data;
  const int phase = data.reportPhase;
  BusyIndicator busy(listener_);
  data.limits.setVoltageLimits(parameters_.voltageLevelText);
  StatisticsEngine engine(store_, data.limits);
  for (int order = kFirstLimitedOrder; order <= kLastLimitedOrder; ++order) {
    data.harmonic[order] = engine.computeStatistic(StatisticIndex::Harmonic, phase, order);
  }
  data.fundamental = engine.computeStatistic(StatisticIndex::Fundamental, phase);
  data.lineFundamental = engine.computeStatistic(StatisticIndex::LineFundamental, phase);
  data.thd = engine.computeStatistic(StatisticIndex::Thd, phase);
  data.deviation = engine.computeStatistic(StatisticIndex::Deviation, phase);
  data.unbalance = engine.computeStatistic(StatisticIndex::Unbalance, phase);
  data.fluctuation = engine.computeStatistic(StatisticIndex::Fluctuation, phase);
  data.frequencyDeviation = engine.computeStatistic(StatisticIndex::FrequencyDeviation, phase);
  return true;
}

bool ReportRun::runCurrentReport() {
  if (prepare() == 0) return false;
  PhaseReportDataSet& data = parameters_.data;
  const int phase = data.reportPhase;
  BusyIndicator busy(listener_);
  data.limits.computeCurrentLimits(parameters_.voltageLevelText, parameters_.minShortCircuitText,
                                   parameters_.supplyCapacityText, parameters_.agreedCapacityText);
  StatisticsEngine engine(store_, data.limits);
  for (int order = kFirstLimitedOrder; order <= kLastLimitedOrder; ++order) {
    data.harmonic[order] = engine.computeStatistic(StatisticIndex::Harmonic, phase, order);
  }
  data.fundamental = engine.computeStatistic(StatisticIndex::Fundamental, phase);
  data.thd = engine.computeStatistic(StatisticIndex::Thd, phase);
  return true;
}

}  // namespace pq
