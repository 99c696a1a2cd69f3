#include "survey/ui/SurveyOpenFlow.h"

#include <QString>

#include "assessment/AssessmentMessages.h"
#include "assessment/LimitSet.h"
#include "survey/SurveyMessages.h"
#include "survey/ui/SurveyProgressWindow.h"
#include "ui/Prompter.h"

namespace pq {

namespace {

const QString kCaption = QStringLiteral("打开测量任务");
// A box taller than this would run off the screen; the survey window lists every note.
constexpr std::size_t kLinesShown = 12;

QString linesText(const std::vector<std::string>& lines) {
  QStringList shown;
  for (std::size_t i = 0; i < lines.size() && i < kLinesShown; ++i) shown << QString::fromStdString(lines[i]);
  if (lines.size() > kLinesShown)
    shown << QStringLiteral("……另有 %1 条。").arg(static_cast<qsizetype>(lines.size() - kLinesShown));
  return shown.join('\n');
}

QString withConclusion(const std::vector<std::string>& lines, const char* conclusion) {
  const QString text = QString::fromUtf8(conclusion);
  return lines.empty() ? text : linesText(lines) + "\n\n" + text;
}

}  // namespace

std::optional<OpenedSurvey> openSurveyFiles(const std::vector<std::string>& paths, ui::Prompter& prompter,
                                            QWidget* parent) {
  SurveyPlan plan = planSurvey(paths);
  if (plan.files.empty()) {
    prompter.showWarning(parent, kCaption, withConclusion(plan.leftOut, messages::kSurveyNoFiles));
    return std::nullopt;
  }
  if (!plan.leftOut.empty()) prompter.showWarning(parent, kCaption, linesText(plan.leftOut));
  if (!plan.mismatches.empty() &&
      !prompter.askYesNo(
          parent, kCaption,
          linesText(plan.mismatches) + QStringLiteral("\n\n这些文件可能不属于同一次测量。是否继续打开？"))) {
    return std::nullopt;
  }

  // The assessment needs values that only the reading of the files gives; its limits can change later.
  const LimitSet limits = loadLimitSet(defaultLimitSetFile()).set;
  SurveyProgressWindow window(
      [&](SurveyListener& listener) { return assessSurvey(plan, listener, limits.limits, limits.name); },
      parent);
  std::optional<AssessedSurvey> assessed = window.run();
  if (!assessed) return std::nullopt;
  if (assessed->result.refusal == messages::kCannotAssessWithoutDeclaredVoltage) {
    prompter.showStop(parent, kCaption, QString::fromUtf8(assessed->result.refusal) + QStringLiteral("测量未打开。"));
    return std::nullopt;
  }
  const Survey& survey = assessed->survey;
  if (survey.files.empty()) {
    prompter.showWarning(parent, kCaption, withConclusion(survey.leftOut, messages::kSurveyNoFiles));
    return std::nullopt;
  }
  // What went wrong while reading is said before the window shows what was read.
  std::vector<std::string> problems = survey.leftOut;
  for (const SurveyFile& file : survey.files)
    problems.insert(problems.end(), file.damage.begin(), file.damage.end());
  if (!problems.empty()) prompter.showWarning(parent, kCaption, linesText(problems));
  return OpenedSurvey{std::move(plan), std::move(*assessed)};
}

}  // namespace pq
