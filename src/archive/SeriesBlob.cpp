#include "archive/SeriesBlob.h"

#include <bit>
#include <map>

#include "export/RecordTable.h"
#include "records/RecordHead.h"

namespace pq::archive {

namespace {

constexpr std::size_t kIntervalBytes = 8 + 4 + 1;
constexpr std::size_t kValueBytes = 3 * 8;
// aggregatedColumns() starts with the interval's start, records and flag.
constexpr std::size_t kLeadingColumns = 3;

void putLittleEndian(SqlBlob& out, std::uint64_t bits, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(bits >> (8 * i)));
}

std::uint64_t littleEndianAt(const SqlBlob& in, std::size_t at, int bytes) {
  std::uint64_t bits = 0;
  for (int i = 0; i < bytes; ++i) bits |= std::uint64_t{in[at + static_cast<std::size_t>(i)]} << (8 * i);
  return bits;
}

std::vector<std::string> quantityNames(const AggregatedSeries& series) {
  // The identifiers, which the head's units do not touch.
  const std::vector<ExportColumn> columns = aggregatedColumns(series, RecordHead{});
  std::vector<std::string> names;
  for (auto column = columns.begin() + kLeadingColumns; column != columns.end(); ++column)
    names.push_back(column->identifier);
  return names;
}

std::vector<int> quantitiesNamed(const std::string& text) {
  static const std::map<std::string, int> kByName = [] {
    AggregatedSeries all;
    all.quantities = allQuantities();
    const auto names = quantityNames(all);
    std::map<std::string, int> byName;
    for (std::size_t i = 0; i < names.size(); ++i) byName.emplace(names[i], all.quantities[i]);
    return byName;
  }();
  std::vector<int> quantities;
  if (text.empty()) return quantities;
  std::size_t from = 0;
  for (;;) {
    const std::size_t comma = text.find(',', from);
    const std::string name = text.substr(from, comma == std::string::npos ? std::string::npos : comma - from);
    const auto found = kByName.find(name);
    if (found == kByName.end()) throw SqlError("archived values hold an unknown quantity: " + name);
    quantities.push_back(found->second);
    if (comma == std::string::npos) return quantities;
    from = comma + 1;
  }
}

}  // namespace

SeriesBlob seriesBlobOf(const AggregatedSeries& series) {
  SeriesBlob blob;
  for (const std::string& name : quantityNames(series)) {
    if (!blob.quantities.empty()) blob.quantities += ',';
    blob.quantities += name;
  }
  blob.intervals.reserve(series.intervals.size() * kIntervalBytes);
  for (const auto& interval : series.intervals) {
    putLittleEndian(blob.intervals, static_cast<std::uint64_t>(interval.start), 8);
    putLittleEndian(blob.intervals, static_cast<std::uint32_t>(interval.recordCount), 4);
    putLittleEndian(blob.intervals, (interval.flagged ? 1u : 0u) | (interval.outage ? 2u : 0u), 1);
  }
  blob.values.reserve(series.values.size() * kValueBytes);
  for (const AggregatedValue& value : series.values) {
    for (const double number : {value.value, value.min, value.max})
      putLittleEndian(blob.values, std::bit_cast<std::uint64_t>(number), 8);
  }
  return blob;
}

AggregatedSeries seriesOf(const SeriesBlob& blob) {
  AggregatedSeries series;
  series.quantities = quantitiesNamed(blob.quantities);
  if (blob.intervals.size() % kIntervalBytes != 0) throw SqlError("archived intervals are cut short");
  const std::size_t intervals = blob.intervals.size() / kIntervalBytes;
  if (blob.values.size() != intervals * series.quantities.size() * kValueBytes)
    throw SqlError("archived values do not match their intervals");

  series.intervals.reserve(intervals);
  for (std::size_t at = 0; at < blob.intervals.size(); at += kIntervalBytes) {
    const auto flags = littleEndianAt(blob.intervals, at + 12, 1);
    series.intervals.push_back(
        {static_cast<std::int64_t>(littleEndianAt(blob.intervals, at, 8)),
         static_cast<int>(static_cast<std::int32_t>(littleEndianAt(blob.intervals, at + 8, 4))),
         (flags & 1u) != 0, (flags & 2u) != 0});
  }
  series.values.reserve(blob.values.size() / kValueBytes);
  for (std::size_t at = 0; at < blob.values.size(); at += kValueBytes) {
    series.values.push_back({std::bit_cast<double>(littleEndianAt(blob.values, at, 8)),
                             std::bit_cast<double>(littleEndianAt(blob.values, at + 8, 8)),
                             std::bit_cast<double>(littleEndianAt(blob.values, at + 16, 8))});
  }
  return series;
}

}  // namespace pq::archive
