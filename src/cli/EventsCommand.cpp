#include <iostream>
#include <sstream>

#include "cli/AssessedRecording.h"
#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/OutputFile.h"
#include "export/CsvWriter.h"

namespace pq::cli {

namespace {

// The GB/T 30137 events, then the sustained ones; the residual as a four-byte float, as the JSON
// gives it.
void writeEvents(const AssessmentResult& result, CsvWriter& csv) {
  csv.heading({"kind", "start", "durationSeconds", "phases", "residual"});
  for (const auto* list : {&result.events, &result.sustained}) {
    for (const VoltageEvent& e : *list) {
      csv.row({std::string(eventKindText(e.kind)), epochTimeText(e.start), static_cast<long long>(e.durationSeconds),
               eventPhasesText(e, result.setup.supply.lineVoltages), static_cast<float>(e.extremePercent)});
    }
  }
}

}  // namespace

int runEvents(const std::vector<std::string>& args) {
  std::set<std::string> options(std::begin(kAssessmentOptions), std::end(kAssessmentOptions));
  options.insert("csv");
  const Arguments arguments(args, options);
  const auto assessed = assessRecordFiles(arguments);
  if (!assessed) return kExitRefused;

  if (const auto path = arguments.text("csv")) {
    // Through writeOutputFile, so that a file that cannot be written whole leaves nothing behind.
    std::ostringstream text;
    {
      CsvWriter csv(text, CsvWriter::ByteOrderMark::With);
      writeEvents(assessed->result, csv);
    }
    return writeOutputFile(*path, text.str()) ? kExitDone : kExitRefused;
  }
  CsvWriter csv(std::cout, CsvWriter::ByteOrderMark::Without);
  writeEvents(assessed->result, csv);
  return kExitDone;
}

}  // namespace pq::cli
