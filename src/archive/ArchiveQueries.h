#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "aggregation/AggregatedSeries.h"
#include "archive/ArchivedSurvey.h"
#include "archive/SqlConnection.h"

namespace pq::archive {

// What the archive holds, read back. Each throws SqlError when the engine refuses or a row is damaged.

// The surveys that pass the filter, newest (highest id) first.
std::vector<SurveySummary> listSurveys(SqlConnection& connection, const ArchiveFilter& filter);
// One survey with its files, gaps and notes; nothing when the archive holds no survey `id`.
std::optional<ArchivedSurvey> archivedSurvey(SqlConnection& connection, std::int64_t id);
// The voltage events of every survey that pass the filter, by start time, then survey.
std::vector<ArchivedEvent> archivedEvents(SqlConnection& connection, const ArchiveFilter& filter);
// The aggregated values of survey `id` at `resolution` as its opening gave them; nothing when the
// archive keeps none at that resolution for it (only 1 and 10 minutes are kept).
std::optional<AggregatedSeries> archivedValues(SqlConnection& connection, std::int64_t id,
                                               Resolution resolution);

// Removes survey `id` with its files, events, gaps, notes and values, and its monitoring point and
// station when no other survey uses them, in one transaction. False when there is no such survey.
bool removeSurvey(SqlConnection& connection, std::int64_t id);

}  // namespace pq::archive
