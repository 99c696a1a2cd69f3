#pragma once

#include <QDialog>

#include <cstdint>
#include <optional>

#include "survey/ui/SurveyOpenFlow.h"
#include "timerange/TimeWindow.h"

class QLabel;
class QListWidget;
class QTableWidget;
class QTabWidget;

namespace pq {

class Clock;
namespace ui {
class Prompter;
}

// The window "测量任务": what an opened survey holds, a tab each: its files (path, first and last
// record, records, those left out, damage), its days (one row per file, by the date of the middle of
// its records), the gaps in its records, and the notes of its opening (files left out, fields that differ,
// overlaps, damage), and its trends at 1 or 10 minutes (tab "趋势"). "综合评估" opens the assessment of
// the survey over a time range of its own (the whole survey at first; a double-click on an event there
// shows the voltage deviation around it), "导出数据" writes its values: a workbook of the 1- and 10-minute
// values, events and gaps, or the 1-minute values as CSV. It is not modal: it stays open beside the main
// window while the record browser and the reports work on the day it loaded. A double-click on a day, or
// Enter on it, asks through dayChosen for that day's file to be loaded into the record store (a file gone
// since is said instead); the window itself never touches the store.
class SurveyWindow : public QDialog {
  Q_OBJECT

 public:
  enum Tab { FilesTab = 0, DaysTab = 1, GapsTab = 2, NotesTab = 3, TrendTab = 4 };

  SurveyWindow(OpenedSurvey opened, ui::Prompter& prompter, const Clock& clock, QWidget* parent = nullptr);

  const Survey& survey() const { return opened_.assessed.survey; }
  const AssessedSurvey& assessed() const { return opened_.assessed; }
  QTabWidget& tabs() const { return *tabs_; }
  QTableWidget& files() const { return *files_; }
  QTableWidget& days() const { return *days_; }
  QListWidget& gaps() const { return *gaps_; }
  QListWidget& notes() const { return *notes_; }

 signals:
  void dayChosen(const QString& path);

 private:
  void fillFiles();
  void fillDays();
  void fillGaps();
  void fillNotes();
  // Asks for the day's file to be loaded, or says that it is gone.
  void chooseDay(int row);
  void openAssessment();
  // The assessment of the survey's records within `window`, which reads its files again in a progress
  // window over `parent`; nothing when the operator cancels.
  std::optional<AssessmentResult> assessPart(const AssessmentLimits& limits, const std::string& name,
                                             const TimeWindow& window, QWidget* parent);
  // The trend of the survey's voltage deviation around an event, over `parent` (the assessment window).
  void openTrendAround(std::int64_t first, std::int64_t last, QWidget& parent);
  void exportData();

  // The part of the survey the assessment window judged last, kept while it is open.
  struct AssessedPart {
    std::optional<std::int64_t> from;
    std::optional<std::int64_t> to;
    AssessedSurvey assessed;
  };

  OpenedSurvey opened_;
  std::optional<AssessedPart> part_;
  ui::Prompter& prompter_;
  const Clock& clock_;
  QLabel* summary_;
  QTabWidget* tabs_;
  QTableWidget* files_;
  QTableWidget* days_;
  QListWidget* gaps_;
  QListWidget* notes_;
};

}  // namespace pq
