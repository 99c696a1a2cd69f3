#include <iostream>

#include "assessment/AssessmentPages.h"
#include "assessment/AssessmentTables.h"
#include "cli/AssessedRecording.h"
#include "cli/AssessmentJson.h"
#include "cli/Commands.h"
#include "cli/OutputFile.h"
#include "cli/ReportOutputs.h"

namespace pq::cli {

int runAssess(const std::vector<std::string>& args) {
  std::set<std::string> options(std::begin(kAssessmentOptions), std::end(kAssessmentOptions));
  options.insert({"json", "pdf", "png", "xlsx", "docx"});
  const Arguments arguments(args, options);
  const auto assessed = assessRecordFiles(arguments);
  if (!assessed) return kExitRefused;
  const AssessmentResult& result = assessed->result;

  // Every output asked for is written, each whole or not at all, even when another fails.
  bool ok = true;
  const auto json = arguments.text("json");
  if (json) ok = writeOutputFile(*json, assessmentJson(result)) && ok;
  if (const auto path = arguments.text("xlsx")) {
    std::string error;
    if (!writeAssessmentWorkbook(*path, result, assessed->heading, error)) {
      std::cerr << *path << ": " << error << '\n';
      ok = false;
    }
  }
  const bool drawn = arguments.text("pdf") || arguments.text("png");
  if (drawn) ok = writeRenderedOutputs(arguments, assessmentPages(result, assessed->heading), 0) && ok;
  const bool word = arguments.text("docx").has_value();
  if (word) ok = writeRenderedDocx(arguments, assessmentDocument(result, assessed->heading)) && ok;
  // Without any output file the data go to stdout.
  if (!json && !drawn && !word && !arguments.text("xlsx")) std::cout << assessmentJson(result) << std::flush;
  return ok ? kExitDone : kExitRefused;
}

}  // namespace pq::cli
