#include <charconv>
#include <iostream>
#include <map>
#include <sstream>

#include "archive/ArchiveError.h"
#include "archive/ArchiveLocation.h"
#include "archive/ArchiveMessages.h"
#include "archive/ArchiveQueries.h"
#include "archive/SurveyArchiving.h"
#include "assessment/AssessmentTexts.h"
#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/OutputFile.h"
#include "cli/SurveyJson.h"
#include "export/CsvWriter.h"
#include "export/JsonWriter.h"

namespace pq::cli {

namespace {

// The options each subcommand takes besides --archive.
const std::map<std::string, std::set<std::string>>& subcommandOptions() {
  static const std::map<std::string, std::set<std::string>> kOptions = {
      {"add", {"json"}},  {"list", {"station", "point", "from", "to", "json"}},
      {"show", {"json"}}, {"events", {"station", "point", "from", "to", "kind", "csv"}},
      {"remove", {}},
  };
  return kOptions;
}

std::set<std::string> everyOption() {
  std::set<std::string> options = {"archive"};
  for (const auto& [name, own] : subcommandOptions()) options.insert(own.begin(), own.end());
  return options;
}

std::int64_t surveyIdArgument(const Arguments& arguments) {
  const std::string& text = arguments.positional(1, "survey ID");
  std::int64_t id = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), id);
  if (error != std::errc() || end != text.data() + text.size() || id <= 0)
    throw UsageError("survey ID must be a positive whole number: " + text);
  return id;
}

std::optional<VoltageEventKind> kindOption(const Arguments& arguments) {
  const auto text = arguments.text("kind");
  if (!text) return std::nullopt;
  for (const auto kind :
       {VoltageEventKind::Dip, VoltageEventKind::Swell, VoltageEventKind::Interruption,
        VoltageEventKind::Undervoltage, VoltageEventKind::Overvoltage, VoltageEventKind::LongInterruption}) {
    if (*text == eventKindText(kind)) return kind;
  }
  throw UsageError("--kind must be dip, swell, interruption, undervoltage, overvoltage or longInterruption");
}

archive::ArchiveFilter filterOf(const Arguments& arguments) {
  return {arguments.text("station"), arguments.text("point"), timeOption(arguments, "from"),
          timeOption(arguments, "to"), kindOption(arguments)};
}

void writeSummary(JsonWriter& json, const archive::SurveySummary& summary) {
  json.beginObject()
      .key("id")
      .integer(summary.id)
      .key("station")
      .string(summary.station)
      .key("point")
      .string(summary.point);
  json.key("first");
  timeOrNull(json, summary.first);
  json.key("last");
  timeOrNull(json, summary.last);
  json.key("records").integer(summary.records).key("files").beginArray();
  for (const auto& path : summary.files) json.string(path);
  json.endArray().endObject();
}

std::string timeOrDash(const std::optional<std::int64_t>& seconds) {
  return seconds ? epochTimeText(*seconds) : "-";
}

int writeJsonOption(const Arguments& arguments, const std::string& text) {
  if (const auto path = arguments.text("json"))
    return writeOutputFile(*path, text) ? kExitDone : kExitRefused;
  return kExitDone;
}

int addToArchiveCommand(archive::SqlConnection& connection, const Arguments& arguments) {
  const std::vector<std::string> paths(arguments.positional().begin() + 1, arguments.positional().end());
  if (paths.empty()) throw UsageError("missing record file");
  QuietSurveyListener progress;
  const archive::ArchiveAddition addition = archive::addToArchive(connection, paths, progress);
  // What the survey's opening reports, as `survey` shows it.
  for (const auto& text : addition.plan.leftOut) std::cerr << text << '\n';
  for (const auto& text : addition.plan.mismatches) std::cerr << text << '\n';
  if (addition.survey) {
    for (const auto& text : addition.survey->leftOut) std::cerr << text << '\n';
    for (const auto& file : addition.survey->files) {
      for (const auto& text : file.damage) std::cerr << text << '\n';
    }
  }
  for (const auto& archived : addition.alreadyArchived)
    std::cerr << archive::messages::fileAlreadyArchived(archived.path, archived.survey) << '\n';
  if (!addition.refusal.empty()) std::cerr << addition.refusal << '\n';
  if (!addition.surveyId) return kExitRefused;

  std::cout << *addition.surveyId << '\n';
  std::cout.flush();
  if (!arguments.text("json")) return kExitDone;
  const auto survey = archive::archivedSurvey(connection, *addition.surveyId);
  if (!survey) return kExitRefused;  // removed by another program meanwhile
  JsonWriter json;
  writeSummary(json, survey->summary);
  return writeJsonOption(arguments, json.text() + '\n');
}

int listArchiveCommand(archive::SqlConnection& connection, const Arguments& arguments) {
  arguments.expectPositionals(1);
  const auto surveys = archive::listSurveys(connection, filterOf(arguments));
  JsonWriter json;
  json.beginArray();
  for (const archive::SurveySummary& survey : surveys) {
    std::cout << survey.id << '\t' << survey.station << '\t' << survey.point << '\t'
              << timeOrDash(survey.first) << '\t' << timeOrDash(survey.last) << '\t' << survey.records << '\t'
              << survey.files.size() << '\n';
    writeSummary(json, survey);
  }
  json.endArray();
  std::cout.flush();
  return writeJsonOption(arguments, json.text() + '\n');
}

int showArchivedCommand(archive::SqlConnection& connection, const Arguments& arguments) {
  arguments.expectPositionals(2);
  const std::int64_t id = surveyIdArgument(arguments);
  const auto archived = archive::archivedSurvey(connection, id);
  if (!archived) {
    std::cerr << archive::messages::surveyNotArchived(id) << '\n';
    return kExitUsage;
  }
  // As the survey's opening left it, so that `survey --json` and this agree.
  Survey survey;
  for (const archive::ArchivedFile& file : archived->files) {
    survey.files.push_back({file.path,
                            file.records,
                            file.skipped,
                            file.overlapping,
                            file.first,
                            file.last,
                            file.intervalSeconds,
                            {}});
  }
  survey.gaps = archived->gaps;
  const std::string text = surveyJson(survey, archived->mismatches, archived->notes, id);
  if (!arguments.text("json")) {
    std::cout << text;
    return kExitDone;
  }
  return writeJsonOption(arguments, text);
}

void writeArchivedEvents(const std::vector<archive::ArchivedEvent>& events, CsvWriter& csv) {
  csv.heading({"survey", "station", "point", "kind", "start", "durationSeconds", "phases", "residual"});
  for (const archive::ArchivedEvent& archived : events) {
    const VoltageEvent& e = archived.event;
    csv.row({static_cast<long long>(archived.survey), archived.station, archived.point,
             std::string(eventKindText(e.kind)), epochTimeText(e.start),
             static_cast<long long>(e.durationSeconds), eventPhasesText(e, archived.lineVoltages),
             static_cast<float>(e.extremePercent)});
  }
}

int archivedEventsCommand(archive::SqlConnection& connection, const Arguments& arguments) {
  arguments.expectPositionals(1);
  const auto found = archive::archivedEvents(connection, filterOf(arguments));
  if (const auto path = arguments.text("csv")) {
    std::ostringstream text;
    {
      CsvWriter csv(text, CsvWriter::ByteOrderMark::With);
      writeArchivedEvents(found, csv);
    }
    return writeOutputFile(*path, text.str()) ? kExitDone : kExitRefused;
  }
  CsvWriter csv(std::cout, CsvWriter::ByteOrderMark::Without);
  writeArchivedEvents(found, csv);
  return kExitDone;
}

int removeArchivedCommand(archive::SqlConnection& connection, const Arguments& arguments) {
  arguments.expectPositionals(2);
  const std::int64_t id = surveyIdArgument(arguments);
  if (archive::removeSurvey(connection, id)) return kExitDone;
  std::cerr << archive::messages::surveyNotArchived(id) << '\n';
  return kExitUsage;
}

}  // namespace

int runArchive(const std::vector<std::string>& args) {
  const Arguments arguments(args, everyOption());
  const std::string& subcommand = arguments.positional(0, "subcommand");
  const auto own = subcommandOptions().find(subcommand);
  if (own == subcommandOptions().end()) throw UsageError("unknown subcommand " + subcommand);
  for (const std::string& option : everyOption()) {
    if (option != "archive" && own->second.count(option) == 0 && arguments.text(option))
      throw UsageError("archive " + subcommand + " takes no option --" + option);
  }

  const auto url = arguments.text("archive");
  const archive::ArchiveLocation location =
      archive::archiveLocationOf(url.value_or(archive::defaultArchivePath()));
  try {
    archive::OpenArchive opened = archive::openArchive(location, !url);
    try {
      archive::SqlConnection& connection = *opened.connection;
      if (subcommand == "add") return addToArchiveCommand(connection, arguments);
      if (subcommand == "list") return listArchiveCommand(connection, arguments);
      if (subcommand == "show") return showArchivedCommand(connection, arguments);
      if (subcommand == "events") return archivedEventsCommand(connection, arguments);
      return removeArchivedCommand(connection, arguments);
    } catch (const archive::SqlError& e) {
      std::cerr << archive::messages::archiveCannotWrite(opened.shown, e.what()) << '\n';
      return kExitRefused;
    }
  } catch (const archive::ArchiveError& e) {
    std::cerr << e.what() << '\n';
    return kExitRefused;
  }
}

}  // namespace pq::cli
