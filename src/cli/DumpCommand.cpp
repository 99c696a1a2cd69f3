#include <cstdio>
#include <iostream>
#include <string>

#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/ImportToConsole.h"
#include "cli/RecordTimeText.h"

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

void writeHeader(std::string& out) {
  out += "index,time,wiringMode,instrumentId";
  for (const auto& column : kValueColumns) out.append(",").append(column.name);
  for (const char* channel : kChannelNames) {
    for (int order = 1; order <= kHarmonicOrders; ++order) {
      out.append(",").append(channel).append("_").append(std::to_string(order));
    }
  }
  out += ",sequenceNumber\n";
}

void writeRow(const RecordStore& store, int index, std::string& out) {
  const MeasurementRecord& r = store.record(index);
  char id[16];
  std::snprintf(id, sizeof id, "%02X%02X%02X%02X", r.cells[cells::instrumentId] & 0xFF,
                r.cells[cells::instrumentId + 1] & 0xFF, r.cells[cells::instrumentId + 2] & 0xFF,
                r.cells[cells::instrumentId + 3] & 0xFF);
  out.append(std::to_string(index)).append(",").append(recordTimeText(store, index));
  out.append(",").append(std::to_string(r.integer(cells::wiringMode))).append(",").append(id);
  for (const auto& column : kValueColumns) out.append(",").append(floatText(r.value(column.cell)));
  for (int channel = 0; channel < kChannelCount; ++channel) {
    for (int order = 1; order <= kHarmonicOrders; ++order) {
      out.append(",").append(floatText(r.harmonic(channel, order)));
    }
  }
  out.append(",").append(std::to_string(r.integer(cells::sequenceNumber))).append("\n");
}

}  // namespace

int runDump(const std::vector<std::string>& args) {
  const Arguments arguments(args, {"first", "count"});
  const std::string& path = arguments.positional(0, "record file");
  arguments.expectPositionals(1);
  const long long first = arguments.integer("first", 1, RecordStore::kCapacity).value_or(1);
  const auto count = arguments.integer("count", 0, RecordStore::kCapacity);

  RecordStore store;
  const ImportResult result = importToConsole(store, path);
  if (result == ImportResult::CannotOpen) return kExitRefused;

  std::string out;
  writeHeader(out);
  const long long begin = first - 1;
  const long long end =
      count ? std::min<long long>(begin + *count, store.recordCount()) : store.recordCount();
  for (long long index = begin; index < end; ++index) {
    writeRow(store, static_cast<int>(index), out);
    if (out.size() > (1u << 20)) {
      std::cout << out;
      out.clear();
    }
  }
  std::cout << out << std::flush;
  return result == ImportResult::Completed ? kExitDone : kExitRefused;
}

}  // namespace pq::cli
