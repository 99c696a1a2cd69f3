#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "archive/SqlConnection.h"
#include "survey/Survey.h"

namespace pq::archive {

struct AlreadyArchived {
  std::string path;
  std::int64_t survey = 0;
};

// The outcome of adding record files to the archive.
struct ArchiveAddition {
  SurveyPlan plan;  // of the files not archived yet: its notes and mismatches are the operator's to read
  std::vector<AlreadyArchived> alreadyArchived;  // files found by their content, left out
  std::optional<Survey> survey;                  // as read, when it was added
  // The survey added or, when every file was archived already, the survey of the first of them.
  std::optional<std::int64_t> surveyId;
  std::string refusal;  // why nothing was added; empty when added, all archived already, or cancelled
};

// Reads the files as one survey, exactly as `survey` opens them (planSurvey, openSurvey), and keeps
// in one transaction its station, monitoring point, files with their SHA-256, gaps, voltage events,
// notes and the 1-minute and 10-minute values. A file whose content is archived already is left out
// (alreadyArchived); when two programs add the same file at once, the one that comes second finds the
// other's survey. The files are read before the transaction, which stays short. Throws SqlError when
// the archive refuses to be written; nothing is then kept.
ArchiveAddition addToArchive(SqlConnection& connection, const std::vector<std::string>& paths,
                             SurveyListener& listener);

}  // namespace pq::archive
