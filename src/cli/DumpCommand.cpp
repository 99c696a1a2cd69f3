#include <cstdio>
#include <iostream>
#include <optional>
#include <string>

#include "base/ConversionError.h"
#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/ImportToConsole.h"
#include "cli/RecordTimeText.h"
#include "export/CsvWriter.h"
#include "export/WorkbookFile.h"
#include "timerange/CalendarDateTime.h"

namespace pq::cli {

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

std::vector<std::string> columnNames() {
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

// A time stamp that is no date-time stays the text of its bytes, in the workbook as in the CSV.
TableCell timeCell(const RecordStore& store, int index) {
  try {
    return CalendarDateTime::ofRecord(store, index);
  } catch (const ConversionError&) {
    return recordTimeText(store, index);
  }
}

// Refills `row` in place, so that a day of records reuses one row's cells.
void fillRow(const RecordStore& store, int index, TableRow& row) {
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

}  // namespace

int runDump(const std::vector<std::string>& args) {
  const Arguments arguments(args, {"first", "count", "xlsx"}, {"bom"});
  const std::string& path = arguments.positional(0, "record file");
  arguments.expectPositionals(1);
  const long long first = arguments.integer("first", 1, RecordStore::kCapacity).value_or(1);
  const auto count = arguments.integer("count", 0, RecordStore::kCapacity);
  const auto workbookPath = arguments.text("xlsx");

  RecordStore store;
  const ImportResult result = importToConsole(store, path);
  if (result == ImportResult::CannotOpen) return kExitRefused;

  // The workbook's place is tried first, so that a refused one prints nothing.
  std::optional<WorkbookFile> workbook;
  if (workbookPath) {
    workbook.emplace(*workbookPath);
    if (!workbook->open()) {
      std::cerr << *workbookPath << ": " << workbook->error() << '\n';
      return kExitRefused;
    }
  }
  CsvWriter csv(std::cout,
                arguments.flag("bom") ? CsvWriter::ByteOrderMark::With : CsvWriter::ByteOrderMark::Without);
  std::vector<TableWriter*> writers = {&csv};
  if (workbook) writers.push_back(&workbook->addSheet("records"));

  const std::vector<std::string> names = columnNames();
  for (TableWriter* writer : writers) writer->heading(names);
  const long long begin = first - 1;
  const long long end =
      count ? std::min<long long>(begin + *count, store.recordCount()) : store.recordCount();
  TableRow row;
  for (long long index = begin; index < end; ++index) {
    fillRow(store, static_cast<int>(index), row);
    for (TableWriter* writer : writers) writer->row(row);
  }
  csv.finish();
  if (workbook && !workbook->commit()) {
    std::cerr << *workbookPath << ": " << workbook->error() << '\n';
    return kExitRefused;
  }
  return result == ImportResult::Completed ? kExitDone : kExitRefused;
}

}  // namespace pq::cli
