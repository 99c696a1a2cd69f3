#include <chrono>
#include <cstdio>
#include <iostream>

#include "base/TextCodec.h"
#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "records/RecordFileFormat.h"
#include "records/RecordFileGenerator.h"

namespace pq::cli {

namespace {

void parseStart(const std::string& text, GeneratorOptions& options) {
  int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
  char tail = 0;
  const bool parsed =
      std::sscanf(text.c_str(), "%4d-%2d-%2d %2d:%2d:%2d%c", &y, &mo, &d, &h, &mi, &s, &tail) == 6;
  const std::chrono::year_month_day date{std::chrono::year{y}, std::chrono::month{static_cast<unsigned>(mo)},
                                         std::chrono::day{static_cast<unsigned>(d)}};
  if (!parsed || !date.ok() || y < 2000 || y > 2099 || h > 23 || mi > 59 || s > 59 || h < 0 || mi < 0 ||
      s < 0) {
    throw UsageError("--start takes \"YYYY-MM-DD HH:MM:SS\" with a year from 2000 to 2099");
  }
  options.startYear = y;
  options.startMonth = mo;
  options.startDay = d;
  options.startHour = h;
  options.startMinute = mi;
  options.startSecond = s;
}

}  // namespace

int runGenerate(const std::vector<std::string>& args) {
  const Arguments arguments(
      args, {"records", "start", "interval", "level", "pt", "ct", "wiring", "station", "point", "seed"});
  const std::string& path = arguments.positional(0, "output file");
  arguments.expectPositionals(1);

  GeneratorOptions options;
  options.records = arguments.integer("records", 0, 10'000'000).value_or(options.records);
  if (const auto start = arguments.text("start")) parseStart(*start, options);
  options.intervalSeconds = arguments.integer("interval", 1, 366LL * 24 * 3600).value_or(60);
  options.voltageLevelCode = static_cast<std::uint8_t>(arguments.integer("level", 0, 255).value_or(3));
  options.ptRatio = arguments.number("pt").value_or(options.ptRatio);
  options.ctRatio = arguments.number("ct").value_or(options.ctRatio);
  options.wiringMode = static_cast<int>(arguments.integer("wiring", 1, 3).value_or(1));
  if (options.wiringMode == 2) throw UsageError("--wiring takes 1 or 3");
  options.substationName =
      std::string(cutGbk(utf8ToGbk(arguments.text("station", "")), recordfile::kNameSize));
  options.measuringPointName =
      std::string(cutGbk(utf8ToGbk(arguments.text("point", "")), recordfile::kNameSize));
  options.seed = static_cast<std::uint64_t>(arguments.integer("seed", 0, INT64_MAX).value_or(1));

  std::string error;
  if (!generateRecordFile(path, options, error)) {
    std::cerr << error << '\n';
    return kExitRefused;
  }
  return kExitDone;
}

}  // namespace pq::cli
