#include "history/TrendQueries.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "aggregation/AggregatedQuantities.h"
#include "aggregation/AggregatedSeries.h"
#include "base/PictureFormat.h"
#include "records/RecordStore.h"
#include "timerange/RecordSpan.h"

namespace pq {

namespace {

constexpr double kGap = std::numeric_limits<double>::quiet_NaN();

double gapUnlessFinite(double value) { return std::isfinite(value) ? value : kGap; }

// The largest and smallest finite value met, starting from the first one (0 and 0 without any).
struct Extremes {
  bool any = false;
  double max = 0;
  double min = 0;

  void add(double value) {
    if (!std::isfinite(value)) return;
    if (!any) {
      max = min = value;
      any = true;
    }
    max = std::max(max, value);
    min = std::min(min, value);
  }
};

// The values of the records of a range, point j being record range.start + j.
class RecordValues {
 public:
  RecordValues(const RecordStore& store, IndexRange range) : store_(store), first_(range.start) {
    count_ = std::max(0, range.end - range.start);
  }
  int size() const { return count_; }
  double weight(int) const { return 1; }
  int wiringMode(int j) const { return store_.record(first_ + j).integer(cells::wiringMode); }
  double cell(int j, int cell) const { return store_.value(first_ + j, cell); }
  double thd(int j, int channel) const { return store_.thd(first_ + j, channel); }
  double fundamental(int j, int channel) const { return store_.record(first_ + j).harmonic(channel, 1); }
  double content(int j, int channel, int order) const {
    return store_.harmonicPercent(first_ + j, channel, order);
  }
  double totalActivePower(int j) const { return store_.totalActivePower(first_ + j); }
  double totalReactivePower(int j) const { return store_.totalReactivePower(first_ + j); }

 private:
  const RecordStore& store_;
  int first_;
  int count_;
};

// The values of the intervals a source draws, point j being interval rows[j] of its series, or a gap
// where rows[j] is -1; a point weighs as many records as its interval holds. Each quantity's column is
// found once, not for every value.
class IntervalValues {
 public:
  IntervalValues(const TrendSource& source, std::vector<std::int64_t>& times)
      : series_(*source.series), wiringMode_(source.wiringMode), columns_(kAggregatedQuantityCount, -1) {
    for (std::size_t c = 0; c < series_.quantities.size(); ++c)
      columns_[static_cast<std::size_t>(series_.quantities[c])] = static_cast<int>(c);
    const auto& intervals = series_.intervals;
    const std::size_t end = std::min(source.endInterval, intervals.size());
    const std::size_t first = std::min(source.firstInterval, end);
    rows_.reserve(end - first);
    times.reserve(end - first);
    for (std::size_t i = first; i < end; ++i) {
      const std::int64_t start = intervals[i].start;
      if (!rows_.empty() && source.intervalSeconds > 0 && start - times.back() > source.intervalSeconds) {
        rows_.push_back(-1);
        times.push_back(times.back() + source.intervalSeconds);
      }
      rows_.push_back(static_cast<std::ptrdiff_t>(i));
      times.push_back(start);
    }
  }
  int size() const { return static_cast<int>(rows_.size()); }
  double weight(int j) const {
    const std::ptrdiff_t row = rows_[static_cast<std::size_t>(j)];
    return row < 0 ? 0 : series_.intervals[static_cast<std::size_t>(row)].recordCount;
  }
  int wiringMode(int) const { return wiringMode_; }
  double cell(int j, int cell) const { return value(j, cellQuantity(cell)); }
  double thd(int j, int channel) const { return value(j, thdQuantity(channel)); }
  double fundamental(int j, int channel) const { return value(j, fundamentalQuantity(channel)); }
  double content(int j, int channel, int order) const {
    return value(j, harmonicContentQuantity(channel, order));
  }
  double totalActivePower(int j) const { return value(j, kTotalActivePowerQuantity); }
  double totalReactivePower(int j) const { return value(j, kTotalReactivePowerQuantity); }
  bool unkept() const { return unkept_; }

 private:
  double value(int j, int quantity) const {
    if (quantity < 0 || quantity >= kAggregatedQuantityCount) return kGap;
    const int column = columns_[static_cast<std::size_t>(quantity)];
    if (column < 0) {
      unkept_ = true;
      return kGap;
    }
    const std::ptrdiff_t row = rows_[static_cast<std::size_t>(j)];
    if (row < 0) return kGap;
    return series_.row(static_cast<std::size_t>(row))[static_cast<std::size_t>(column)].value;
  }

  const AggregatedSeries& series_;
  int wiringMode_;
  std::vector<int> columns_;  // per quantity, its column in the series' rows; -1 for one not kept
  std::vector<std::ptrdiff_t> rows_;
  mutable bool unkept_ = false;
};

// Runs `fill(values)` with the source's values and sets where the result's points lie. Not run for
// an empty source, whose result stays the page's initial one.
template <class Fill>
void fillFrom(const RecordStore& store, const TrendSource& source, TrendResult& result, Fill fill) {
  if (source.series != nullptr) {
    const IntervalValues values(source, result.times);
    if (values.size() == 0) return;
    fill(values);
    result.unkept = values.unkept();
    result.wiringMode = values.wiringMode(0);
    return;
  }
  const IndexRange range = recordsInUse(store, source.range);
  const RecordValues values(store, range);
  if (values.size() == 0) return;
  result.firstIndex = range.start;
  fill(values);
  result.wiringMode = values.wiringMode(0);
}

// The rule of the harmonic and component pages: a small band above zero for small values, else 5 %
// around the values.
AxisRange marginAxis(const Extremes& extremes) {
  if (extremes.max < 0.5) return {-0.05, 0.5};
  return {extremes.min * 0.95, extremes.max * 1.05};
}

struct ComponentChoice {
  const char* text;
  const char* title;
  int cell;
};
constexpr ComponentChoice kComponents[kComponentChoices] = {
    {"电压零序", "零序电压分量变化曲线图", cells::uZero},
    {"电压正序", "正序电压分量变化曲线图", cells::uPositive},
    {"电压负序", "负序电压分量变化曲线图", cells::uNegative},
    {"电流零序", "零序电流分量变化曲线图", cells::iZero},
    {"电流正序", "正序电流分量变化曲线图", cells::iPositive},
    {"电流负序", "负序电流分量变化曲线图", cells::iNegative},
    {"频率", "频率变化曲线图", cells::frequency}};

struct PowerTexts {
  std::array<const char*, 4> captions;
  const char* title;
};
constexpr PowerTexts kPowerTexts[3] = {
    {{"A相有功功率", "B相有功功率", "C相有功功率", "三相总有功"}, "有功功率趋势曲线"},
    {{"A相无功功率", "B相无功功率", "C相无功功率", "三相总无功"}, "无功功率趋势曲线"},
    {{"A相功率因数", "B相功率因数", "C相功率因数", "三相总功率因数"}, "功率因数趋势曲线"}};

// Phase voltage of one phase from the RMS values x (own phase) and y (next phase).
double phaseVoltage(int wiringMode, double x, double y) {
  if (wiringMode != 1 || std::isnan(x)) return x;  // three-wire records carry line voltages
  return x > 0.05 ? std::sqrt(x * x + y * y + x * y) : 0.0;
}

}  // namespace

TrendSource TrendSource::between(const AggregatedSeries& intervals, int wiring, std::int64_t intervalSeconds,
                                 std::int64_t from, std::int64_t to) {
  TrendSource source(intervals, wiring);
  source.intervalSeconds = intervalSeconds;
  const auto startsBefore = [](const AggregatedSeries::Interval& interval, std::int64_t t) {
    return interval.start < t;
  };
  const auto& all = intervals.intervals;
  // The first interval that ends after `from`.
  const std::int64_t firstStart = from - std::max<std::int64_t>(intervalSeconds, 1) + 1;
  source.firstInterval = static_cast<std::size_t>(
      std::lower_bound(all.begin(), all.end(), firstStart, startsBefore) - all.begin());
  source.endInterval = std::max(
      source.firstInterval,
      static_cast<std::size_t>(std::lower_bound(all.begin(), all.end(), to + 1, startsBefore) - all.begin()));
  return source;
}

std::string harmonicTrendItemText(int item) {
  if (item == 0) return "总畸变率";
  if (item == 1) return "基波有效值";
  return std::to_string(item) + "次谐波畸变率";
}

const char* channelName(int channel) {
  return channel >= 0 && channel < kChannelCount ? kChannelNames[channel] : "";
}

const char* componentChoiceText(int choice) {
  return choice >= 0 && choice < kComponentChoices ? kComponents[choice].text : "";
}

TrendResult queryHarmonicTrend(const RecordStore& store, const TrendSource& source, int channel, int item) {
  channel = std::clamp(channel, 0, kChannelCount - 1);
  item = std::clamp(item, 0, kHarmonicTrendItems - 1);
  TrendResult result;
  const std::string name = channelName(channel);
  const std::string itemText = harmonicTrendItemText(item);
  result.title = name + (item == 0 ? " " : "  ") + itemText + "趋势曲线";
  const std::string unit =
      item != 1 ? "%" : (isVoltageChannel(channel) ? std::string(store.voltageUnit()) : std::string("(A)"));
  result.valueTitle = name + " " + itemText + unit;
  result.curves.resize(1);
  result.axis = {0, 10};
  fillFrom(store, source, result, [&](const auto& points) {
    Extremes extremes;
    auto& values = result.curves[0].values;
    values.reserve(static_cast<std::size_t>(points.size()));
    for (int j = 0; j < points.size(); ++j) {
      const double value = item == 0   ? points.thd(j, channel)
                           : item == 1 ? points.fundamental(j, channel)
                                       : points.content(j, channel, item);
      values.push_back(gapUnlessFinite(value));
      extremes.add(value);
    }
    result.axis = marginAxis(extremes);
  });
  return result;
}

TrendResult queryComponentTrend(const RecordStore& store, const TrendSource& source, int choice) {
  choice = std::clamp(choice, 0, kComponentChoices - 1);
  TrendResult result;
  result.title = kComponents[choice].title;
  if (choice == kFrequencyChoice) {
    result.valueTitle = "单位：Hz";
  } else if (choice >= 3) {
    result.valueTitle = "单位：A";
  } else {
    result.valueTitle = std::string("单位:") + store.voltageUnit();
  }
  constexpr int kNegativeSequenceVoltageChoice = 2;
  if (choice == kNegativeSequenceVoltageChoice) result.index = TrendIndex::NegativeSequenceVoltage;
  if (choice == kFrequencyChoice) result.index = TrendIndex::Frequency;
  result.curves.resize(1);
  fillFrom(store, source, result, [&](const auto& points) {
    const double floor = choice < 3 ? 0.00005 : 0.00001;
    Extremes extremes;
    auto& values = result.curves[0].values;
    values.reserve(static_cast<std::size_t>(points.size()));
    for (int j = 0; j < points.size(); ++j) {
      double value = points.cell(j, kComponents[choice].cell);
      if (choice == kFrequencyChoice) {
        if (value < 40 || value > 60) value = 50;
      } else if (value < floor) {
        value = 0;
      }
      values.push_back(gapUnlessFinite(value));
      extremes.add(value);
    }
    result.axis = marginAxis(extremes);
    if (choice == kFrequencyChoice) result.axis = {extremes.min - 0.02, extremes.max + 0.02};
  });
  return result;
}

TrendResult queryDeviationTrend(const RecordStore& store, const TrendSource& source,
                                std::array<bool, 3> phases) {
  TrendResult result;
  result.title = "电压偏差趋势曲线";
  result.index = TrendIndex::VoltageDeviation;
  result.curves.resize(3);
  for (int phase = 0; phase < 3; ++phase) result.curves[phase].shown = phases[phase];
  fillFrom(store, source, result, [&](const auto& points) {
    // Phase A pairs Ua with Ub, B pairs Ub with Uc, C pairs Uc with Ua.
    constexpr int kPairs[3][2] = {
        {cells::uaRms, cells::ubRms}, {cells::ubRms, cells::ucRms}, {cells::ucRms, cells::uaRms}};
    const double nominal = store.nominalVoltage;
    double posMax = 0;
    double negMin = 0;
    bool anyPoint = false;
    for (int j = 0; j < points.size(); ++j) {
      const int wiringMode = points.wiringMode(j);
      for (int phase = 0; phase < 3; ++phase) {
        if (!phases[phase]) continue;
        const double u =
            phaseVoltage(wiringMode, points.cell(j, kPairs[phase][0]), points.cell(j, kPairs[phase][1]));
        const double difference = u - nominal;
        // A voltage that is no number (an interval without a value, or the time between two of them)
        // is a gap, not the deviation 0 of a voltage too small to have one.
        const double deviation = std::isnan(u)                ? kGap
                                 : u > 0.05 && nominal > 0.05 ? difference / nominal * 100
                                                              : 0.0;
        result.curves[phase].values.push_back(gapUnlessFinite(deviation));
        anyPoint = true;
        if (!std::isfinite(deviation)) continue;
        if (difference >= 0) posMax = std::max(posMax, deviation);
        if (difference < 0) negMin = std::min(negMin, deviation);
      }
    }
    if (anyPoint) result.axis = {negMin > -0.5 ? -0.5 : negMin * 1.05, posMax < 0.5 ? 0.5 : posMax * 1.05};
  });
  return result;
}

TrendResult queryPowerTrend(const RecordStore& store, const TrendSource& source, PowerQuantity quantity,
                            std::array<bool, 4> ticked) {
  const int q = std::clamp(static_cast<int>(quantity), 0, 2);
  TrendResult result;
  for (int curve = 0; curve < 4; ++curve) result.captions[curve] = kPowerTexts[q].captions[curve];
  result.title = kPowerTexts[q].title;
  if (quantity == PowerQuantity::Active) result.valueTitle = std::string("单位:") + store.activePowerUnit();
  if (quantity == PowerQuantity::Reactive)
    result.valueTitle = std::string("单位:") + store.reactivePowerUnit();
  result.curves.resize(4);
  for (int curve = 0; curve < 4; ++curve) result.curves[curve].shown = ticked[curve];
  result.axis = quantity == PowerQuantity::Reactive ? AxisRange{0, 100}
                : quantity == PowerQuantity::Factor ? AxisRange{-1.2, 1.2}
                                                    : AxisRange{0, 0};
  fillFrom(store, source, result, [&](const auto& points) {
    const int first = quantity == PowerQuantity::Reactive ? cells::qA : cells::pA;
    // The averages weigh each point by the records it stands for, so that those of aggregated values
    // are the averages of the records.
    std::array<double, 4> sums{};
    double weights = 0;
    double max = 0;
    double min = 0;
    bool anyPoint = false;
    for (int j = 0; j < points.size(); ++j) {
      const double weight = points.weight(j);
      weights += weight;
      for (int curve = 0; curve < 4; ++curve) {
        if (!ticked[curve]) continue;
        double value = 0;
        if (quantity == PowerQuantity::Factor) {
          value = points.cell(j, cells::pfA + curve);
        } else {
          if (curve < 3) {
            value = points.cell(j, first + curve);
          } else {
            value = quantity == PowerQuantity::Active ? points.totalActivePower(j) : points.totalReactivePower(j);
          }
          if (std::fabs(value) < 0.05) value = 0;
        }
        result.curves[curve].values.push_back(gapUnlessFinite(value));
        anyPoint = true;
        if (!std::isfinite(value)) continue;
        sums[curve] += value * weight;
        max = std::max(max, value);
        min = std::min(min, value);
      }
    }
    if (anyPoint && quantity == PowerQuantity::Active) {
      result.axis.upper = max < 0.5 ? 0.5 : max * 1.05;
      result.axis.lower = min > 0.5 ? min * 0.95 : (min > -0.5 ? -0.5 : min * 1.05);
    }
    if (anyPoint && quantity == PowerQuantity::Reactive) {
      result.axis.upper = max < 10 ? std::ceil(max + 2) : std::ceil(max + 10);
      result.axis.lower = std::ceil(min - 10);
    }
    if (quantity == PowerQuantity::Active) {
      std::array<std::string, 4> averages;
      for (int curve = 0; curve < 4; ++curve) {
        averages[curve] = formatPicture(sums[curve] / weights, "0.0000") + store.activePowerUnit();
      }
      result.averages = averages;
    }
  });
  return result;
}

std::string deviationAxisLabel(double value) {
  std::string text = formatPicture(value, "0.000");
  if (!std::isfinite(value)) return text + "%";
  while (text.back() == '0') text.pop_back();
  if (text.back() == '.') text.pop_back();
  const std::size_t digitsBegin = text[0] == '-' ? 1 : 0;
  std::size_t digitsEnd = text.find('.');
  if (digitsEnd == std::string::npos) digitsEnd = text.size();
  for (std::size_t at = digitsEnd; at > digitsBegin + 3; at -= 3) text.insert(at - 3, ",");
  return text + "%";
}

}  // namespace pq
