#include "archive/ArchiveQueries.h"

#include "archive/SeriesBlob.h"
#include "assessment/AssessmentTexts.h"

namespace pq::archive {

namespace {

// Filters as bound parameters: a null parameter lets every row pass. The casts give PostgreSQL the
// parameters' types where a null alone would leave them open.
constexpr char kSurveyFilter[] =
    "(CAST($1 AS TEXT) IS NULL OR st.name = CAST($1 AS TEXT)) "
    "AND (CAST($2 AS TEXT) IS NULL OR p.name = CAST($2 AS TEXT)) ";

SqlValue optionalText(const std::optional<std::string>& text) {
  return text ? SqlValue(*text) : SqlValue(nullptr);
}

VoltageEventKind kindNamed(const std::string& text) {
  for (const auto kind :
       {VoltageEventKind::Dip, VoltageEventKind::Swell, VoltageEventKind::Interruption,
        VoltageEventKind::Undervoltage, VoltageEventKind::Overvoltage, VoltageEventKind::LongInterruption}) {
    if (text == eventKindText(kind)) return kind;
  }
  throw SqlError("archived event of unknown kind: " + text);
}

std::vector<std::string> filePaths(SqlConnection& connection, std::int64_t survey) {
  std::vector<std::string> paths;
  for (const SqlRow& row :
       connection.run("SELECT path FROM files WHERE survey = $1 ORDER BY position", {survey}))
    paths.push_back(textAt(row, 0));
  return paths;
}

SurveySummary summaryOf(SqlConnection& connection, const SqlRow& row) {
  SurveySummary summary;
  summary.id = integerAt(row, 0);
  summary.station = textAt(row, 1);
  summary.point = textAt(row, 2);
  summary.first = optionalIntegerAt(row, 3);
  summary.last = optionalIntegerAt(row, 4);
  summary.records = static_cast<int>(integerAt(row, 5));
  summary.files = filePaths(connection, summary.id);
  return summary;
}

constexpr char kSummaryColumns[] =
    "SELECT s.id, st.name, p.name, s.first_time, s.last_time, s.records FROM surveys s "
    "JOIN points p ON p.id = s.point JOIN stations st ON st.id = p.station ";

}  // namespace

std::vector<SurveySummary> listSurveys(SqlConnection& connection, const ArchiveFilter& filter) {
  static const std::string kSql = std::string(kSummaryColumns) + "WHERE " + kSurveyFilter +
                                  "AND (CAST($3 AS BIGINT) IS NULL OR s.last_time >= CAST($3 AS BIGINT)) "
                                  "AND (CAST($4 AS BIGINT) IS NULL OR s.first_time <= CAST($4 AS BIGINT)) "
                                  "ORDER BY s.id DESC";
  std::vector<SurveySummary> surveys;
  for (const SqlRow& row : connection.run(kSql, {optionalText(filter.station), optionalText(filter.point),
                                                 optionalValue(filter.from), optionalValue(filter.to)}))
    surveys.push_back(summaryOf(connection, row));
  return surveys;
}

std::optional<ArchivedSurvey> archivedSurvey(SqlConnection& connection, std::int64_t id) {
  static const std::string kSql = std::string(kSummaryColumns) + "WHERE s.id = $1";
  const auto rows = connection.run(kSql, {id});
  if (rows.empty()) return std::nullopt;
  ArchivedSurvey survey;
  survey.summary = summaryOf(connection, rows.front());
  for (const SqlRow& row :
       connection.run("SELECT path, size, sha256, first_time, last_time, records, skipped, overlapping, "
                      "interval_seconds FROM files WHERE survey = $1 ORDER BY position",
                      {id})) {
    survey.files.push_back({textAt(row, 0), integerAt(row, 1), textAt(row, 2), optionalIntegerAt(row, 3),
                            optionalIntegerAt(row, 4), static_cast<int>(integerAt(row, 5)),
                            static_cast<int>(integerAt(row, 6)), static_cast<int>(integerAt(row, 7)),
                            static_cast<int>(integerAt(row, 8))});
  }
  for (const SqlRow& row :
       connection.run("SELECT from_time, to_time FROM gaps WHERE survey = $1 ORDER BY position", {id}))
    survey.gaps.push_back({integerAt(row, 0), integerAt(row, 1)});
  for (const SqlRow& row :
       connection.run("SELECT kind, text FROM survey_notes WHERE survey = $1 ORDER BY position", {id}))
    (textAt(row, 0) == "mismatch" ? survey.mismatches : survey.notes).push_back(textAt(row, 1));
  return survey;
}

std::vector<ArchivedEvent> archivedEvents(SqlConnection& connection, const ArchiveFilter& filter) {
  static const std::string kSql =
      "SELECT s.id, st.name, p.name, s.line_voltages, e.kind, e.start_time, e.last_record, e.records, "
      "e.duration_seconds, e.interval_seconds, e.phases, e.extreme, e.residual, e.unfinished FROM events e "
      "JOIN surveys s ON s.id = e.survey JOIN points p ON p.id = s.point "
      "JOIN stations st ON st.id = p.station "
      "WHERE " +
      std::string(kSurveyFilter) +
      "AND (CAST($3 AS BIGINT) IS NULL OR e.start_time >= CAST($3 AS BIGINT)) "
      "AND (CAST($4 AS BIGINT) IS NULL OR e.start_time <= CAST($4 AS BIGINT)) "
      "AND (CAST($5 AS TEXT) IS NULL OR e.kind = CAST($5 AS TEXT)) "
      "ORDER BY e.start_time, s.id, e.position";
  const SqlValue kind = filter.kind ? SqlValue(std::string(eventKindText(*filter.kind))) : SqlValue(nullptr);
  std::vector<ArchivedEvent> events;
  for (const SqlRow& row :
       connection.run(kSql, {optionalText(filter.station), optionalText(filter.point),
                             optionalValue(filter.from), optionalValue(filter.to), kind})) {
    ArchivedEvent& archived = events.emplace_back();
    archived.survey = integerAt(row, 0);
    archived.station = textAt(row, 1);
    archived.point = textAt(row, 2);
    archived.lineVoltages = integerAt(row, 3) != 0;
    VoltageEvent& e = archived.event;
    e.kind = kindNamed(textAt(row, 4));
    e.start = integerAt(row, 5);
    e.lastRecord = integerAt(row, 6);
    e.records = static_cast<int>(integerAt(row, 7));
    e.durationSeconds = static_cast<int>(integerAt(row, 8));
    e.intervalSeconds = static_cast<int>(integerAt(row, 9));
    const std::int64_t phases = integerAt(row, 10);
    for (std::size_t phase = 0; phase < e.phases.size(); ++phase)
      e.phases[phase] = (phases >> phase & 1) != 0;
    e.extreme = doubleAt(row, 11);
    e.extremePercent = doubleAt(row, 12);
    e.unfinished = integerAt(row, 13) != 0;
  }
  return events;
}

std::optional<AggregatedSeries> archivedValues(SqlConnection& connection, std::int64_t id,
                                               Resolution resolution) {
  const auto rows = connection.run(
      "SELECT layout, quantities, interval_data, value_data FROM survey_values "
      "WHERE survey = $1 AND resolution_seconds = $2",
      {id, std::int64_t{kResolutionSeconds[static_cast<std::size_t>(resolution)]}});
  if (rows.empty()) return std::nullopt;
  const SqlRow& row = rows.front();
  if (textAt(row, 0) != kSeriesBlobLayout)
    throw SqlError("archived values of unknown layout: " + textAt(row, 0));
  return seriesOf({textAt(row, 1), blobAt(row, 2), blobAt(row, 3)});
}

bool removeSurvey(SqlConnection& connection, std::int64_t id) {
  SqlTransaction transaction(connection);
  const auto rows = connection.run(
      "SELECT s.point, p.station FROM surveys s JOIN points p ON p.id = s.point "
      "WHERE s.id = $1",
      {id});
  if (rows.empty()) return false;
  const std::int64_t point = integerAt(rows.front(), 0);
  const std::int64_t station = integerAt(rows.front(), 1);
  for (const char* sql :
       {"DELETE FROM survey_values WHERE survey = $1", "DELETE FROM survey_notes WHERE survey = $1",
        "DELETE FROM gaps WHERE survey = $1", "DELETE FROM events WHERE survey = $1",
        "DELETE FROM files WHERE survey = $1", "DELETE FROM surveys WHERE id = $1"})
    connection.run(sql, {id});
  connection.run("DELETE FROM points WHERE id = $1 AND NOT EXISTS (SELECT 1 FROM surveys WHERE point = $1)",
                 {point});
  connection.run(
      "DELETE FROM stations WHERE id = $1 AND NOT EXISTS (SELECT 1 FROM points WHERE station = $1)",
      {station});
  transaction.commit();
  return true;
}

}  // namespace pq::archive
