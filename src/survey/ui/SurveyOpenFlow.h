#pragma once

#include <optional>
#include <string>
#include <vector>

#include "survey/SurveyAssessment.h"
#include "survey/SurveyPlan.h"

class QWidget;

namespace pq {

namespace ui {
class Prompter;
}

// An opened survey, assessed against the shipped limit set as it was read, with the plan it was opened
// by, whose notes (files left out, fields that differ) the survey window lists beside its own.
struct OpenedSurvey {
  SurveyPlan plan;
  AssessedSurvey assessed;
};

// Opens the record files or folders `paths` as one survey: reports the files the plan left out, asks
// whether to go on when the files differ in substation, measuring point, level, ratios or instrument,
// and reads them in the progress window; files that vanished meanwhile or could be read only in part
// are reported once they have been read. Nothing when there is no usable file, the operator stops or
// cancels, or the first file declares no voltage; the reason has then been shown. The files are read
// without the program's record store, so a file loaded in it stays as it is.
std::optional<OpenedSurvey> openSurveyFiles(const std::vector<std::string>& paths, ui::Prompter& prompter,
                                            QWidget* parent);

}  // namespace pq
