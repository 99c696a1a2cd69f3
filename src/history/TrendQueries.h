#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "timerange/RecordSpan.h"

namespace pq {

class RecordStore;
struct AggregatedSeries;

// The value range of a trend chart's left axis.
struct AxisRange {
  double lower = 0;
  double upper = 0;
  bool operator==(const AxisRange&) const = default;
};

// One curve of a trend chart: the value of every record from TrendResult::firstIndex on. A value
// that is not a finite number is a gap in the curve and counts for no axis or average.
struct TrendCurve {
  bool shown = true;
  std::vector<double> values;
};

// The index with limits of the assessment that a trend's curves show, if any.
enum class TrendIndex { None, VoltageDeviation, NegativeSequenceVoltage, Frequency };

// What a trend query gives its page: the chart's texts, curves and left axis and, on the power page,
// the captions of its check boxes and the averages.
struct TrendResult {
  std::string title;
  // The harmonic page's left axis title; the unit label of the component and power pages.
  std::string valueTitle;
  int firstIndex = 0;  // the record index (the x value) of each curve's first value
  // Of aggregated values: the start of each value's interval (epoch seconds, RecordTimeGate.h), the x
  // values of the curves in place of record indexes. Empty for records.
  std::vector<std::int64_t> times;
  // Of aggregated values: a quantity drawn is one the series does not keep, so its curve is all gaps.
  bool unkept = false;
  std::vector<TrendCurve> curves;
  AxisRange axis;
  std::array<std::string, 4> captions;
  std::optional<std::array<std::string, 4>> averages;
  TrendIndex index = TrendIndex::None;
  int wiringMode = 1;  // of the first value drawn, which says what the voltage cells hold
};

// The harmonic page's list: "总畸变率", "基波有效值", "2次谐波畸变率" .. "64次谐波畸变率".
inline constexpr int kHarmonicTrendItems = 65;
std::string harmonicTrendItemText(int item);
// The channel names "Ua" .. "Ic".
const char* channelName(int channel);

// The component page's radios: zero, positive and negative sequence voltage and current, frequency.
inline constexpr int kComponentChoices = 7;
inline constexpr int kFrequencyChoice = 6;
const char* componentChoiceText(int choice);

// The power page's quantities: active power, reactive power, power factor.
enum class PowerQuantity { Active = 0, Reactive = 1, Factor = 2 };

// What a trend page draws: the one-second records of a range of the store, or the aggregated values of
// one resolution (1 or 10 minutes) of such a range. Aggregated values are the same quantities,
// combined as the aggregation combines them; the deviation page takes its voltages from the
// aggregated voltages and the wiring of the range's first record.
struct TrendSource {
  TrendSource(IndexRange records) : range(records) {}  // NOLINT: a range is the usual source
  TrendSource(const AggregatedSeries& intervals, int wiring) : series(&intervals), wiringMode(wiring) {}
  // The intervals of `intervals`, each `intervalSeconds` long, that hold a moment from `from` to `to`
  // (epoch seconds, both included): where one starts later than that after the one before, the curves
  // have a gap rather than a line across the time without values.
  static TrendSource between(const AggregatedSeries& intervals, int wiring, std::int64_t intervalSeconds,
                             std::int64_t from, std::int64_t to);

  IndexRange range;
  const AggregatedSeries* series = nullptr;
  int wiringMode = 1;
  // Of a series: the intervals drawn, by position, and the length of one (0: no gaps are drawn).
  std::size_t firstInterval = 0;
  std::size_t endInterval = SIZE_MAX;
  std::int64_t intervalSeconds = 0;
};

// The curves of each trend page over the records of the source's range (cut to the records in use) or
// over its intervals. An empty source gives what a page shows before its points: no values and the
// initial axis. Each page's window selects the range with its time-range panel first.
TrendResult queryHarmonicTrend(const RecordStore& store, const TrendSource& source, int channel, int item);
TrendResult queryComponentTrend(const RecordStore& store, const TrendSource& source, int choice);
// `phases`: the ticked phases A, B, C.
TrendResult queryDeviationTrend(const RecordStore& store, const TrendSource& source,
                                std::array<bool, 3> phases);
// `ticked`: the curves of phases A, B, C and the three-phase total.
TrendResult queryPowerTrend(const RecordStore& store, const TrendSource& source, PowerQuantity quantity,
                            std::array<bool, 4> ticked);

// A deviation axis label, "#,##0.###%": thousands grouped, up to three decimals, no scaling.
std::string deviationAxisLabel(double value);

}  // namespace pq
