#include <iostream>

#include "cli/AssessedRecording.h"
#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/OutputFile.h"

namespace pq::cli {

int runEvents(const std::vector<std::string>& args) {
  std::set<std::string> options(std::begin(kAssessmentOptions), std::end(kAssessmentOptions));
  options.insert("csv");
  const Arguments arguments(args, options);
  const auto assessed = assessRecordFiles(arguments);
  if (!assessed) return kExitRefused;
  const AssessmentResult& result = assessed->result;

  std::string csv = "kind,start,durationSeconds,phases,residual\n";
  // The GB/T 30137 events, then the sustained ones.
  for (const auto* list : {&result.events, &result.sustained}) {
    for (const VoltageEvent& e : *list) {
      csv.append(eventKindText(e.kind)).append(",").append(epochTimeText(e.start)).append(",");
      csv.append(std::to_string(e.durationSeconds)).append(",");
      csv.append(eventPhasesText(e, result.setup.supply.lineVoltages)).append(",");
      csv.append(floatText(static_cast<float>(e.extremePercent))).append("\n");
    }
  }
  // The byte-order mark tells spreadsheet programs that the file is UTF-8.
  if (const auto path = arguments.text("csv"))
    return writeOutputFile(*path, "\xEF\xBB\xBF" + csv) ? kExitDone : kExitRefused;
  std::cout << csv << std::flush;
  return kExitDone;
}

}  // namespace pq::cli
