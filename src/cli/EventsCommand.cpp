#include <iostream>
#include <sstream>

#include "base/DurationText.h"
#include "cli/AssessedRecording.h"
#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/HeadingsOption.h"
#include "cli/OutputFile.h"
#include "export/CsvWriter.h"

namespace pq::cli {

namespace {

// The GB/T 30137 events, then the sustained ones; the residual as a four-byte float, as the JSON
// gives it. The Chinese headings come with the kind's name beside its identifier and the duration
// also as "1 h 02 min 03 s".
void writeEvents(const AssessmentResult& result, TableHeadings headings, CsvWriter& csv) {
  const bool chinese = headings == TableHeadings::Chinese;
  if (chinese) {
    csv.heading({"类型", "类型标识", "开始时间", "持续时间(s)", "持续时间", "相别", "残余电压/峰值(%)"});
  } else {
    csv.heading({"kind", "start", "durationSeconds", "phases", "residual"});
  }
  TableRow row;
  for (const auto* list : {&result.events, &result.sustained}) {
    for (const VoltageEvent& e : *list) {
      row.clear();
      if (chinese) row.emplace_back(std::string(eventKindName(e.kind)));
      row.insert(row.end(), {std::string(eventKindText(e.kind)), epochTimeText(e.start),
                             static_cast<long long>(e.durationSeconds)});
      if (chinese) row.emplace_back(durationText(e.durationSeconds));
      row.insert(row.end(), {eventPhasesText(e, result.setup.supply.lineVoltages),
                             static_cast<float>(e.extremePercent)});
      csv.row(row);
    }
  }
}

}  // namespace

int runEvents(const std::vector<std::string>& args) {
  std::set<std::string> options(std::begin(kAssessmentOptions), std::end(kAssessmentOptions));
  options.insert({"csv", "headers"});
  const Arguments arguments(args, options);
  const TableHeadings headings = headingsOption(arguments, TableHeadings::Identifiers);
  const auto assessed = assessRecordFiles(arguments);
  if (!assessed) return kExitRefused;

  if (const auto path = arguments.text("csv")) {
    // Through writeOutputFile, so that a file that cannot be written whole leaves nothing behind.
    std::ostringstream text;
    {
      CsvWriter csv(text, CsvWriter::ByteOrderMark::With);
      writeEvents(assessed->result, headings, csv);
    }
    return writeOutputFile(*path, text.str()) ? kExitDone : kExitRefused;
  }
  CsvWriter csv(std::cout, CsvWriter::ByteOrderMark::Without);
  writeEvents(assessed->result, headings, csv);
  return kExitDone;
}

}  // namespace pq::cli
