#include <iostream>
#include <regex>

#include "base/AtomicFile.h"
#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/ImportToConsole.h"
#include "cli/ReportJson.h"
#include "cli/ReportOutputs.h"
#include "statistics/ReportParameters.h"
#include "statistics/ReportRun.h"

namespace pq::cli {

namespace {

class ConsoleRunListener : public ReportRunListener {
 public:
  void showMessage(const char* text) override { std::cerr << text << '\n'; }
  void busyStarted() override {}
  void busyFinished() override {}
};

ReportKind kindOf(const std::string& text) {
  if (const auto kind = reportKindNamed(text)) return *kind;
  std::string names;
  for (const ReportKind& kind : kReportKinds) names += ' ' + kind.name();
  throw UsageError("--phase must be one of" + names);
}

// "YYYY-M-D H:M" into the five date fields, as many digits as the fields take; false when the
// option is not given and the fields keep what the window filled in.
bool setDateFields(const Arguments& arguments, const char* option, DateFieldGroup& fields) {
  const auto text = arguments.text(option);
  if (!text) return false;
  static const std::regex shape(R"(\s*(\d{1,4})-(\d{1,2})-(\d{1,2})\s+(\d{1,2}):(\d{1,2})\s*)");
  std::smatch parts;
  if (!std::regex_match(*text, parts, shape)) {
    throw UsageError(std::string("--") + option + " must look like \"YYYY-M-D H:M\"");
  }
  for (std::size_t i = 0; i < fields.texts.size(); ++i) fields.texts[i] = parts[i + 1].str();
  return true;
}

// The checks the window makes as the user leaves each date field; the first failure's message.
std::optional<std::string> dateFieldRefusal(const DateFieldGroup& fields) {
  for (std::size_t i = 0; i < fields.texts.size(); ++i) {
    const DateFieldVerdict verdict = validateField(DateFieldGroup::kKinds[i], fields.texts[i]);
    if (!verdict.message.empty()) return verdict.message;
  }
  return std::nullopt;
}

void override(const Arguments& arguments, const char* option, std::string& field) {
  if (const auto text = arguments.text(option)) field = *text;
}

bool writeFile(const std::string& path, const std::string& content) {
  AtomicFile file(path);
  if (file.open() && file.write(content.data(), content.size()) && file.commit()) return true;
  std::cerr << path << ": " << file.error() << '\n';
  return false;
}

}  // namespace

int runReport(const std::vector<std::string>& args) {
  const Arguments arguments(
      args, {"phase", "from", "to", "level", "min-sc", "supply", "agreed", "station", "point", "unit",
             "tester", "print-date", "json", "cells", "pdf", "png", "qrp", "xls", "xlsx"});
  const std::string& path = arguments.positional(0, "record file");
  arguments.expectPositionals(1);
  const auto phaseText = arguments.text("phase");
  if (!phaseText) throw UsageError("missing --phase");
  const ReportKind kind = kindOf(*phaseText);

  RecordStore store;
  if (importToConsole(store, path) != ImportResult::Completed) return kExitRefused;

  ReportParameters parameters;
  parameters.fillFromStore(store);
  // The window checks a date field as the operator leaves it, so only typed fields, never those
  // filled from the records.
  std::vector<const DateFieldGroup*> typed;
  if (setDateFields(arguments, "from", parameters.start)) typed.push_back(&parameters.start);
  if (setDateFields(arguments, "to", parameters.end)) typed.push_back(&parameters.end);
  for (const DateFieldGroup* fields : typed) {
    if (const auto refusal = dateFieldRefusal(*fields)) {
      std::cerr << *refusal << '\n';
      return kExitRefused;
    }
  }
  override(arguments, "level", parameters.voltageLevelText);
  override(arguments, "min-sc", parameters.minShortCircuitText);
  override(arguments, "supply", parameters.supplyCapacityText);
  override(arguments, "agreed", parameters.agreedCapacityText);
  override(arguments, "station", parameters.stationName);
  override(arguments, "point", parameters.pointName);
  override(arguments, "unit", parameters.testUnit);
  override(arguments, "tester", parameters.tester);

  ConsoleRunListener listener;
  ReportRun run(store, parameters, listener);
  if (!run.requestReport(kind)) return kExitRefused;

  if (const auto jsonPath = arguments.text("json")) {
    // A file that cannot be written is refused input, as for the page outputs.
    if (!writeFile(*jsonPath, reportJson(parameters.data, store.rangeStart, store.rangeEnd)))
      return kExitRefused;
  }
  return writeReportOutputs(arguments, store, parameters);
}

}  // namespace pq::cli
