#include "export/RecordTable.h"

#include <cmath>

#include "aggregation/AggregatedQuantities.h"
#include "aggregation/AggregatedSeries.h"
#include "base/ConversionError.h"
#include "records/InstrumentNumber.h"
#include "records/RecordStore.h"
#include "records/RecordTimeText.h"
#include "timerange/CalendarDateTime.h"
#include "timerange/EpochSeconds.h"
#include "timerange/RecordSpan.h"

namespace pq {

namespace {

// What a value column measures, which gives its unit and the decimals it shows: those of the history
// window's record grid, which engineers of this instrument read.
enum class Measure { Plain, Voltage, Current, ActivePower, ReactivePower, PowerFactor, Angle, Frequency, Percent };

struct ValueColumn {
  const char* name;
  int cell;
  const char* title;
  Measure measure;
};

// The float columns between instrumentId and the harmonics, in cell order.
constexpr ValueColumn kValueColumns[] = {
    {"spare", cells::spare, "备用", Measure::Plain},
    {"uaRms", cells::uaRms, "A相电压有效值", Measure::Voltage},
    {"uaMax", cells::uaMax, "A相电压最大值", Measure::Voltage},
    {"uaMin", cells::uaMin, "A相电压最小值", Measure::Voltage},
    {"ubRms", cells::ubRms, "B相电压有效值", Measure::Voltage},
    {"ubMax", cells::ubMax, "B相电压最大值", Measure::Voltage},
    {"ubMin", cells::ubMin, "B相电压最小值", Measure::Voltage},
    {"ucRms", cells::ucRms, "C相电压有效值", Measure::Voltage},
    {"ucMax", cells::ucMax, "C相电压最大值", Measure::Voltage},
    {"ucMin", cells::ucMin, "C相电压最小值", Measure::Voltage},
    {"iaRms", cells::iaRms, "A相电流有效值", Measure::Current},
    {"ibRms", cells::ibRms, "B相电流有效值", Measure::Current},
    {"icRms", cells::icRms, "C相电流有效值", Measure::Current},
    {"pA", cells::pA, "A相有功功率", Measure::ActivePower},
    {"pB", cells::pB, "B相有功功率", Measure::ActivePower},
    {"pC", cells::pC, "C相有功功率", Measure::ActivePower},
    {"angleUaUb", cells::angleUaUb, "Ua与Ub夹角", Measure::Angle},
    {"angleUaUc", cells::angleUaUc, "Ua与Uc夹角", Measure::Angle},
    {"angleUaIa", cells::angleUaIa, "Ua与Ia夹角", Measure::Angle},
    {"angleUaIb", cells::angleUaIb, "Ua与Ib夹角", Measure::Angle},
    {"angleUaIc", cells::angleUaIc, "Ua与Ic夹角", Measure::Angle},
    {"angleUbIb", cells::angleUbIb, "Ub与Ib夹角", Measure::Angle},
    {"angleUcIc", cells::angleUcIc, "Uc与Ic夹角", Measure::Angle},
    {"frequency", cells::frequency, "频率", Measure::Frequency},
    {"uZero", cells::uZero, "零序电压", Measure::Voltage},
    {"uPositive", cells::uPositive, "正序电压", Measure::Voltage},
    {"uNegative", cells::uNegative, "负序电压", Measure::Voltage},
    {"uUnbalance", cells::uUnbalance, "电压不平衡度", Measure::Percent},
    {"iZero", cells::iZero, "零序电流", Measure::Current},
    {"iPositive", cells::iPositive, "正序电流", Measure::Current},
    {"iNegative", cells::iNegative, "负序电流", Measure::Current},
    {"iUnbalance", cells::iUnbalance, "电流不平衡度", Measure::Percent},
    {"qA", cells::qA, "A相无功功率", Measure::ReactivePower},
    {"qB", cells::qB, "B相无功功率", Measure::ReactivePower},
    {"qC", cells::qC, "C相无功功率", Measure::ReactivePower},
    {"pfA", cells::pfA, "A相功率因数", Measure::PowerFactor},
    {"pfB", cells::pfB, "B相功率因数", Measure::PowerFactor},
    {"pfC", cells::pfC, "C相功率因数", Measure::PowerFactor},
    {"pfTotal", cells::pfTotal, "总功率因数", Measure::PowerFactor},
};

// The column of a measured value: its title followed by the unit, in the decimals of its measure.
ExportColumn valueColumn(std::string identifier, const std::string& title, Measure measure, const RecordHead& head) {
  switch (measure) {
    case Measure::Plain:
      return {std::move(identifier), title, ""};
    case Measure::Voltage:
      return {std::move(identifier), title + "(" + head.voltageUnit() + ")", "0.000"};
    case Measure::Current:
      return {std::move(identifier), title + "(A)", "0.000"};
    case Measure::ActivePower:
      return {std::move(identifier), title + "(" + head.activePowerUnit() + ")", "0.00"};
    case Measure::ReactivePower:
      return {std::move(identifier), title + "(" + head.reactivePowerUnit() + ")", "0.00"};
    case Measure::PowerFactor:
      return {std::move(identifier), title, "0.000"};
    case Measure::Angle:
      return {std::move(identifier), title + "(°)", "0.00"};
    case Measure::Frequency:
      return {std::move(identifier), title + "(Hz)", "0.00"};
    case Measure::Percent:
      break;
  }
  return {std::move(identifier), title + "(%)", "0.00"};
}

Measure amplitudeMeasure(int channel) { return isVoltageChannel(channel) ? Measure::Voltage : Measure::Current; }

// "Ua 基波", "Ia 5次谐波": a harmonic's amplitude.
std::string harmonicTitle(int channel, int order) {
  return std::string(kChannelNames[channel]) + (order == 1 ? " 基波" : " " + std::to_string(order) + "次谐波");
}

// A time stamp that is no date-time stays the text of its bytes, in the workbook as in the CSV.
TableCell timeCell(const RecordStore& store, int index) {
  try {
    return CalendarDateTime::ofRecord(store, index);
  } catch (const ConversionError&) {
    return recordTimeText(store, index);
  }
}

// The column of a quantity's aggregated value, named as the records' columns ("uaRms", "Ua_1") or for
// derived values "pTotal", "qTotal", "Ua_thd%", "Ua_5%".
ExportColumn quantityColumn(const QuantityDescriptor& q, const RecordHead& head) {
  const std::string channel = q.at >= 0 && q.at < kChannelCount ? kChannelNames[q.at] : "";
  switch (q.source) {
    case QuantitySource::Cell:
    case QuantitySource::Frequency:
    case QuantitySource::VoltageUnbalance:
    case QuantitySource::CurrentUnbalance:
      for (const auto& column : kValueColumns)
        if (column.cell == q.at) return valueColumn(column.name, column.title, column.measure, head);
      return {"cell" + std::to_string(q.at), "单元" + std::to_string(q.at), ""};
    case QuantitySource::HarmonicAmplitude:
      return valueColumn(channel + "_" + std::to_string(q.order), harmonicTitle(q.at, q.order),
                         amplitudeMeasure(q.at), head);
    case QuantitySource::HarmonicContent:
      return valueColumn(channel + "_" + std::to_string(q.order) + "%",
                         channel + " " + std::to_string(q.order) + "次谐波含有率", Measure::Percent, head);
    case QuantitySource::Thd:
      return valueColumn(channel + "_thd%", channel + " 总谐波畸变率", Measure::Percent, head);
    case QuantitySource::TotalActivePower:
      return valueColumn("pTotal", "三相总有功功率", Measure::ActivePower, head);
    case QuantitySource::TotalReactivePower:
      break;
  }
  return valueColumn("qTotal", "三相总无功功率", Measure::ReactivePower, head);
}

}  // namespace

std::vector<ExportColumn> recordColumns(const RecordHead& head) {
  std::vector<ExportColumn> columns = {
      {"index", "序号", ""}, {"time", "时间", ""}, {"wiringMode", "接线方式", ""}, {"instrumentId", "仪器编号", ""}};
  for (const auto& column : kValueColumns)
    columns.push_back(valueColumn(column.name, column.title, column.measure, head));
  for (int channel = 0; channel < kChannelCount; ++channel) {
    for (int order = 1; order <= kHarmonicOrders; ++order) {
      columns.push_back(valueColumn(std::string(kChannelNames[channel]) + "_" + std::to_string(order),
                                    harmonicTitle(channel, order), amplitudeMeasure(channel), head));
    }
  }
  columns.push_back({"sequenceNumber", "记录序号", ""});
  return columns;
}

void fillRecordRow(const RecordStore& store, int index, TableRow& row) {
  const MeasurementRecord& r = store.record(index);
  row.clear();
  row.emplace_back(static_cast<long long>(index));
  row.push_back(timeCell(store, index));
  row.emplace_back(static_cast<long long>(r.integer(cells::wiringMode)));
  row.emplace_back(instrumentNumberText(r));
  for (const auto& column : kValueColumns) row.emplace_back(r.value(column.cell));
  for (int channel = 0; channel < kChannelCount; ++channel) {
    for (int order = 1; order <= kHarmonicOrders; ++order) row.emplace_back(r.harmonic(channel, order));
  }
  row.emplace_back(static_cast<long long>(r.integer(cells::sequenceNumber)));
}


std::vector<ExportColumn> aggregatedColumns(const AggregatedSeries& series, const RecordHead& head) {
  std::vector<ExportColumn> columns = {
      {"start", "起始时间", ""}, {"records", "记录条数", ""}, {"eventInside", "含电压事件", ""}};
  const auto descriptors = aggregatedQuantities();
  for (const int q : series.quantities) columns.push_back(quantityColumn(descriptors[static_cast<std::size_t>(q)], head));
  return columns;
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

bool writeRecordTable(const RecordStore& store, IndexRange range, TableWriter& table, TableHeadings headings,
                      const RowProgress& progress) {
  range = recordsInUse(store, range);
  writeHeading(table, recordColumns(store), headings);
  TableRow row;
  for (int index = range.start; index < range.end; ++index) {
    fillRecordRow(store, index, row);
    table.row(row);
    const auto written = static_cast<std::size_t>(index - range.start + 1);
    if (progress && written % kProgressStep == 0 && !progress(written)) return false;
  }
  return true;
}

bool writeAggregatedTable(const AggregatedSeries& series, const RecordHead& head, TableWriter& table,
                          TableHeadings headings, const RowProgress& progress) {
  writeHeading(table, aggregatedColumns(series, head), headings);
  TableRow row;
  for (std::size_t i = 0; i < series.intervals.size(); ++i) {
    fillAggregatedRow(series, i, row);
    table.row(row);
    if (progress && (i + 1) % kProgressStep == 0 && !progress(i + 1)) return false;
  }
  return true;
}

}  // namespace pq
