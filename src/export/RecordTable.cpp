#include "export/RecordTable.h"

#include <cmath>
#include <cstdio>

#include "aggregation/AggregatedQuantities.h"
#include "aggregation/AggregatedSeries.h"
#include "base/ConversionError.h"
#include "records/RecordStore.h"
#include "records/RecordTimeText.h"
#include "timerange/CalendarDateTime.h"
#include "timerange/EpochSeconds.h"
#include "timerange/RecordSpan.h"

namespace pq {

namespace {

struct NamedCell {
  const char* name;
  int cell;
};

// The float columns between instrumentId and the harmonics, in cell order.
constexpr NamedCell kValueColumns[] = {
    {"spare", cells::spare},
    {"uaRms", cells::uaRms},
    {"uaMax", cells::uaMax},
    {"uaMin", cells::uaMin},
    {"ubRms", cells::ubRms},
    {"ubMax", cells::ubMax},
    {"ubMin", cells::ubMin},
    {"ucRms", cells::ucRms},
    {"ucMax", cells::ucMax},
    {"ucMin", cells::ucMin},
    {"iaRms", cells::iaRms},
    {"ibRms", cells::ibRms},
    {"icRms", cells::icRms},
    {"pA", cells::pA},
    {"pB", cells::pB},
    {"pC", cells::pC},
    {"angleUaUb", cells::angleUaUb},
    {"angleUaUc", cells::angleUaUc},
    {"angleUaIa", cells::angleUaIa},
    {"angleUaIb", cells::angleUaIb},
    {"angleUaIc", cells::angleUaIc},
    {"angleUbIb", cells::angleUbIb},
    {"angleUcIc", cells::angleUcIc},
    {"frequency", cells::frequency},
    {"uZero", cells::uZero},
    {"uPositive", cells::uPositive},
    {"uNegative", cells::uNegative},
    {"uUnbalance", cells::uUnbalance},
    {"iZero", cells::iZero},
    {"iPositive", cells::iPositive},
    {"iNegative", cells::iNegative},
    {"iUnbalance", cells::iUnbalance},
    {"qA", cells::qA},
    {"qB", cells::qB},
    {"qC", cells::qC},
    {"pfA", cells::pfA},
    {"pfB", cells::pfB},
    {"pfC", cells::pfC},
    {"pfTotal", cells::pfTotal},
};

// A time stamp that is no date-time stays the text of its bytes, in the workbook as in the CSV.
TableCell timeCell(const RecordStore& store, int index) {
  try {
    return CalendarDateTime::ofRecord(store, index);
  } catch (const ConversionError&) {
    return recordTimeText(store, index);
  }
}

// The column name of a quantity's aggregated value.
std::string quantityName(const QuantityDescriptor& q) {
  switch (q.source) {
    case QuantitySource::Cell:
    case QuantitySource::Frequency:
    case QuantitySource::VoltageUnbalance:
    case QuantitySource::CurrentUnbalance:
      for (const auto& column : kValueColumns)
        if (column.cell == q.at) return column.name;
      return "cell" + std::to_string(q.at);
    case QuantitySource::HarmonicAmplitude:
      return std::string(kChannelNames[q.at]) + "_" + std::to_string(q.order);
    case QuantitySource::HarmonicContent:
      return std::string(kChannelNames[q.at]) + "_" + std::to_string(q.order) + "%";
    case QuantitySource::Thd:
      return std::string(kChannelNames[q.at]) + "_thd%";
    case QuantitySource::TotalActivePower:
      return "pTotal";
    case QuantitySource::TotalReactivePower:
      break;
  }
  return "qTotal";
}

}  // namespace

std::vector<std::string> recordColumnNames() {
  std::vector<std::string> names = {"index", "time", "wiringMode", "instrumentId"};
  for (const auto& column : kValueColumns) names.emplace_back(column.name);
  for (const char* channel : kChannelNames) {
    for (int order = 1; order <= kHarmonicOrders; ++order) {
      names.push_back(std::string(channel) + "_" + std::to_string(order));
    }
  }
  names.emplace_back("sequenceNumber");
  return names;
}

void fillRecordRow(const RecordStore& store, int index, TableRow& row) {
  const MeasurementRecord& r = store.record(index);
  char id[16];
  std::snprintf(id, sizeof id, "%02X%02X%02X%02X", r.cells[cells::instrumentId] & 0xFF,
                r.cells[cells::instrumentId + 1] & 0xFF, r.cells[cells::instrumentId + 2] & 0xFF,
                r.cells[cells::instrumentId + 3] & 0xFF);
  row.clear();
  row.emplace_back(static_cast<long long>(index));
  row.push_back(timeCell(store, index));
  row.emplace_back(static_cast<long long>(r.integer(cells::wiringMode)));
  row.emplace_back(std::string(id));
  for (const auto& column : kValueColumns) row.emplace_back(r.value(column.cell));
  for (int channel = 0; channel < kChannelCount; ++channel) {
    for (int order = 1; order <= kHarmonicOrders; ++order) row.emplace_back(r.harmonic(channel, order));
  }
  row.emplace_back(static_cast<long long>(r.integer(cells::sequenceNumber)));
}


std::vector<std::string> aggregatedColumnNames(const AggregatedSeries& series) {
  std::vector<std::string> names = {"start", "records", "eventInside"};
  const auto descriptors = aggregatedQuantities();
  for (const int q : series.quantities) names.push_back(quantityName(descriptors[static_cast<std::size_t>(q)]));
  return names;
}

void fillAggregatedRow(const AggregatedSeries& series, std::size_t interval, TableRow& row) {
  const AggregatedSeries::Interval& i = series.intervals[interval];
  row.clear();
  row.emplace_back(calendarOfEpochSeconds(i.start));
  row.emplace_back(static_cast<long long>(i.recordCount));
  row.emplace_back(static_cast<long long>(i.flagged ? 1 : 0));
  for (const AggregatedValue& v : series.row(interval)) {
    if (std::isfinite(v.value)) {
      row.emplace_back(v.value);
    } else {
      row.emplace_back(std::monostate{});
    }
  }
}

namespace {

// Progress is asked for every so many rows, not for each: a day has 86 400 of them.
constexpr std::size_t kProgressStep = 1024;

}  // namespace

bool writeRecordTable(const RecordStore& store, IndexRange range, TableWriter& table, const RowProgress& progress) {
  range = recordsInUse(store, range);
  table.heading(recordColumnNames());
  TableRow row;
  for (int index = range.start; index < range.end; ++index) {
    fillRecordRow(store, index, row);
    table.row(row);
    const auto written = static_cast<std::size_t>(index - range.start + 1);
    if (progress && written % kProgressStep == 0 && !progress(written)) return false;
  }
  return true;
}

bool writeAggregatedTable(const AggregatedSeries& series, TableWriter& table, const RowProgress& progress) {
  table.heading(aggregatedColumnNames(series));
  TableRow row;
  for (std::size_t i = 0; i < series.intervals.size(); ++i) {
    fillAggregatedRow(series, i, row);
    table.row(row);
    if (progress && (i + 1) % kProgressStep == 0 && !progress(i + 1)) return false;
  }
  return true;
}

}  // namespace pq
