#include "archive/SurveyArchiving.h"

#include <ctime>
#include <filesystem>
#include <map>
#include <stdexcept>

#include "archive/FileDigest.h"
#include "archive/SeriesBlob.h"
#include "assessment/AssessmentTexts.h"
#include "assessment/SupplyVoltageDeviation.h"
#include "base/TextCodec.h"
#include "survey/SurveyMessages.h"

namespace pq::archive {

namespace {

using Digests = std::map<std::string, std::string>;  // path -> SHA-256

constexpr Resolution kKeptResolutions[] = {Resolution::OneMinute, Resolution::TenMinutes};

std::optional<std::int64_t> archivedSurveyOf(SqlConnection& connection, const std::string& sha256) {
  const auto rows = connection.run("SELECT survey FROM files WHERE sha256 = $1", {sha256});
  if (rows.empty()) return std::nullopt;
  return integerAt(rows.front(), 0);
}

// The planned files' digests; a file that cannot be read now is left out as missing.
Digests digestsOf(SurveyPlan& plan) {
  Digests digests;
  std::vector<PlannedFile> readable;
  for (PlannedFile& file : plan.files) {
    if (auto digest = fileSha256Text(file.path)) {
      digests.emplace(file.path, std::move(*digest));
      readable.push_back(std::move(file));
    } else {
      plan.leftOut.push_back(pq::messages::surveyFileMissing(file.path));
    }
  }
  plan.files = std::move(readable);
  return digests;
}

// The plan without the files archived already: planned again, so that its order and mismatches are
// those of the files that stay, after what the first plan left out.
void leaveOutArchived(SqlConnection& connection, ArchiveAddition& addition, const Digests& digests) {
  std::vector<std::string> remaining;
  for (const PlannedFile& file : addition.plan.files) {
    if (const auto survey = archivedSurveyOf(connection, digests.at(file.path))) {
      addition.alreadyArchived.push_back({file.path, *survey});
    } else {
      remaining.push_back(file.path);
    }
  }
  if (addition.alreadyArchived.empty()) return;
  std::vector<std::string> leftOut = std::move(addition.plan.leftOut);
  addition.plan = remaining.empty() ? SurveyPlan{} : planSurvey(remaining);
  leftOut.insert(leftOut.end(), addition.plan.leftOut.begin(), addition.plan.leftOut.end());
  addition.plan.leftOut = std::move(leftOut);
}

std::int64_t idNamed(SqlConnection& connection, std::string_view insert, std::string_view select,
                     std::initializer_list<SqlValue> values) {
  connection.run(insert, values);
  const auto rows = connection.run(select, values);
  if (rows.empty()) throw SqlError("a row just added cannot be found");
  return integerAt(rows.front(), 0);
}

std::int64_t pointOf(SqlConnection& connection, const PlannedFile& first, int wiringMode) {
  const RecordingIdentity& identity = first.identity;
  const std::int64_t station =
      idNamed(connection, "INSERT INTO stations (name) VALUES ($1) ON CONFLICT (name) DO NOTHING",
              "SELECT id FROM stations WHERE name = $1", {gbkToUtf8(identity.substationName)});
  return idNamed(
      connection,
      "INSERT INTO points (station, name, voltage_level, wiring, pt_ratio, ct_ratio, instrument) "
      "VALUES ($1, $2, $3, $4, $5, $6, $7) "
      "ON CONFLICT (station, name, voltage_level, wiring, pt_ratio, ct_ratio, instrument) DO NOTHING",
      "SELECT id FROM points WHERE station = $1 AND name = $2 AND voltage_level = $3 AND wiring = $4 "
      "AND pt_ratio = $5 AND ct_ratio = $6 AND instrument = $7",
      {station, gbkToUtf8(identity.measuringPointName), std::int64_t{identity.voltageLevelCode},
       std::int64_t{wiringMode}, double{identity.ptRatio}, double{identity.ctRatio},
       instrumentText(identity.instrumentId)});
}

std::int64_t phaseBits(const VoltageEvent& event) {
  std::int64_t bits = 0;
  for (std::size_t phase = 0; phase < event.phases.size(); ++phase) {
    if (event.phases[phase]) bits |= std::int64_t{1} << phase;
  }
  return bits;
}

std::int64_t insertSurvey(SqlConnection& connection, const SurveyPlan& plan, const Survey& survey,
                          std::int64_t point) {
  const RecordHead& head = plan.files.front().head;
  const RecordedSpan& span = survey.values.span;
  const bool dated = span.records > 0;
  const auto rows = connection.run(
      "INSERT INTO surveys (point, first_time, last_time, records, created, nominal_voltage, "
      "min_short_circuit_capacity, supply_equipment_capacity, agreed_capacity, "
      "declared_voltage, line_voltages) "
      "VALUES ($1, $2, $3, $4, $5, $6, $7, $8, $9, $10, $11) RETURNING id",
      {point, dated ? SqlValue(span.first) : SqlValue(nullptr),
       dated ? SqlValue(span.last) : SqlValue(nullptr), std::int64_t{span.records},
       static_cast<std::int64_t>(std::time(nullptr)), std::int64_t{head.nominalVoltage},
       double{head.minShortCircuitCapacity}, double{head.supplyEquipmentCapacity},
       double{head.agreedCapacity}, survey.declaredVoltage,
       std::int64_t{supplyVoltageOf(head, survey.wiringMode).lineVoltages}});
  if (rows.empty()) throw SqlError("the survey added has no id");
  return integerAt(rows.front(), 0);
}

void insertFiles(SqlConnection& connection, std::int64_t id, const Survey& survey, const Digests& digests) {
  std::int64_t position = 0;
  for (const SurveyFile& file : survey.files) {
    std::error_code error;
    const auto size = std::filesystem::file_size(file.path, error);
    connection.run(
        "INSERT INTO files (survey, position, path, size, sha256, first_time, last_time, records, skipped, "
        "overlapping, interval_seconds) VALUES ($1, $2, $3, $4, $5, $6, $7, $8, $9, $10, $11)",
        {id, position++, std::filesystem::absolute(file.path, error).lexically_normal().string(),
         static_cast<std::int64_t>(error ? 0 : size), digests.at(file.path), optionalValue(file.first),
         optionalValue(file.last), std::int64_t{file.records}, std::int64_t{file.skipped},
         std::int64_t{file.overlapping}, std::int64_t{file.intervalSeconds}});
  }
}

void insertEventsAndGaps(SqlConnection& connection, std::int64_t id, const Survey& survey) {
  std::int64_t position = 0;
  for (const VoltageEvent& e : listedEvents(survey.values.events, survey.values.sustained)) {
    connection.run(
        "INSERT INTO events (survey, position, kind, start_time, last_record, records, duration_seconds, "
        "interval_seconds, phases, extreme, residual, unfinished) "
        "VALUES ($1, $2, $3, $4, $5, $6, $7, $8, $9, $10, $11, $12)",
        {id, position++, std::string(eventKindText(e.kind)), e.start, e.lastRecord, std::int64_t{e.records},
         std::int64_t{e.durationSeconds}, std::int64_t{e.intervalSeconds}, phaseBits(e), e.extreme,
         e.extremePercent, std::int64_t{e.unfinished}});
  }
  position = 0;
  for (const RecordGap& gap : survey.gaps) {
    connection.run("INSERT INTO gaps (survey, position, from_time, to_time) VALUES ($1, $2, $3, $4)",
                   {id, position++, gap.from, gap.to});
  }
}

// In the order `survey --json` gives them.
void insertNotes(SqlConnection& connection, std::int64_t id, const SurveyPlan& plan, const Survey& survey) {
  std::int64_t position = 0;
  const auto note = [&](const char* kind, const std::string& text) {
    connection.run("INSERT INTO survey_notes (survey, position, kind, text) VALUES ($1, $2, $3, $4)",
                   {id, position++, std::string(kind), text});
  };
  for (const auto& text : plan.mismatches) note("mismatch", text);
  for (const auto& text : plan.leftOut) note("note", text);
  for (const auto& text : survey.leftOut) note("note", text);
  for (const auto& file : survey.files) {
    for (const auto& text : file.damage) note("note", text);
  }
}

void insertValues(SqlConnection& connection, std::int64_t id, const Survey& survey) {
  for (const Resolution resolution : kKeptResolutions) {
    const auto index = static_cast<std::size_t>(resolution);
    SeriesBlob blob = seriesBlobOf(survey.values.series[index]);
    connection.run(
        "INSERT INTO survey_values (survey, resolution_seconds, layout, quantities, "
        "interval_data, value_data) VALUES ($1, $2, $3, $4, $5, $6)",
        {id, std::int64_t{kResolutionSeconds[index]}, std::string(kSeriesBlobLayout),
         std::move(blob.quantities), std::move(blob.intervals), std::move(blob.values)});
  }
}

std::int64_t insertAll(SqlConnection& connection, const SurveyPlan& plan, const Survey& survey,
                       const Digests& digests) {
  SqlTransaction transaction(connection);
  const std::int64_t id =
      insertSurvey(connection, plan, survey, pointOf(connection, plan.files.front(), survey.wiringMode));
  insertFiles(connection, id, survey, digests);
  insertEventsAndGaps(connection, id, survey);
  insertNotes(connection, id, plan, survey);
  insertValues(connection, id, survey);
  transaction.commit();
  return id;
}

}  // namespace

ArchiveAddition addToArchive(SqlConnection& connection, const std::vector<std::string>& paths,
                             SurveyListener& listener) {
  ArchiveAddition addition;
  addition.plan = planSurvey(paths);
  const Digests digests = digestsOf(addition.plan);
  leaveOutArchived(connection, addition, digests);
  if (addition.plan.files.empty()) {
    if (!addition.alreadyArchived.empty()) {
      addition.surveyId = addition.alreadyArchived.front().survey;
    } else {
      addition.refusal = pq::messages::kSurveyNoFiles;
    }
    return addition;
  }

  try {
    addition.survey = openSurvey(addition.plan, listener);
  } catch (const std::invalid_argument& e) {
    addition.refusal = e.what();
    return addition;
  }
  if (!addition.survey) return addition;
  if (addition.survey->files.empty()) {
    addition.refusal = pq::messages::kSurveyNoFiles;
    return addition;
  }

  try {
    addition.surveyId = insertAll(connection, addition.plan, *addition.survey, digests);
  } catch (const SqlError& e) {
    if (e.kind() != SqlError::Kind::UniqueViolation) throw;
    // Another program added one of the files meanwhile: its survey stands for them.
    for (const SurveyFile& file : addition.survey->files) {
      if (const auto survey = archivedSurveyOf(connection, digests.at(file.path))) {
        addition.alreadyArchived.push_back({file.path, *survey});
        addition.surveyId = addition.surveyId.value_or(*survey);
      }
    }
    if (!addition.surveyId) throw;
    addition.survey.reset();
  }
  return addition;
}

}  // namespace pq::archive
