#include <iostream>

#include "cli/AssessedRecording.h"
#include "cli/AssessmentJson.h"
#include "cli/Commands.h"
#include "cli/OutputFile.h"

namespace pq::cli {

int runAssess(const std::vector<std::string>& args) {
  std::set<std::string> options(std::begin(kAssessmentOptions), std::end(kAssessmentOptions));
  options.insert({"json", "pdf", "png", "xlsx"});
  const Arguments arguments(args, options);
  for (const char* page : {"pdf", "png", "xlsx"}) {
    if (arguments.text(page)) {
      throw UsageError(std::string("--") + page + " of the assessment is not available yet; use --json");
    }
  }
  const auto result = assessRecordFile(arguments);
  if (!result) return kExitRefused;
  const std::string json = assessmentJson(*result);
  if (const auto path = arguments.text("json"))
    return writeOutputFile(*path, json) ? kExitDone : kExitRefused;
  std::cout << json << std::flush;
  return kExitDone;
}

}  // namespace pq::cli
