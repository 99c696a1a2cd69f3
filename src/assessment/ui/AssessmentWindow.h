#pragma once

#include <QDialog>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "assessment/AssessmentPages.h"
#include "assessment/AssessmentRun.h"
#include "pages/ui/ReportPrinter.h"
#include "timerange/TimeWindow.h"

class QComboBox;
class QTableWidget;
class QTabWidget;

namespace pq {

class Clock;
class RecordStore;
class ReportPreview;
namespace ui {
class Prompter;
}
namespace history {
class TimeRangePanel;
}

// An assessment whose records are not in the store (that of a survey, whose values are kept
// elsewhere): the heading of its pages, the times of its first and last record, its whole result
// against the limit set chosen, judged again without reading anything, and its result over a part of
// its time, which reads its records again (nothing when the operator cancels that; `parent` is the
// window a progress display goes over).
struct HeldAssessment {
  AssessmentHeading heading;
  std::int64_t first = 0;
  std::int64_t last = 0;
  std::function<AssessmentResult(const AssessmentLimits& limits, const std::string& limitSetName)> judge;
  std::function<std::optional<AssessmentResult>(const AssessmentLimits& limits,
                                                const std::string& limitSetName, const TimeWindow& window,
                                                QWidget* parent)>
      judgeWindow;
};

// The window "电能质量综合评估": the power-quality assessment of the loaded records, or of a survey of
// several files, over the range of its time-range panel, against the chosen limit set, as pages in a
// preview (tab "综合评估") and as the list of voltage events (tab "事件列表"), with print and PDF of
// what the current tab shows and the assessment's workbook. It assesses when it is shown, whenever
// the panel asks for a query and when another limit set is chosen. A double-click on an event, or
// Enter on it, asks through eventChosen for the trend around it.
class AssessmentWindow : public QDialog {
  Q_OBJECT

 public:
  enum Tab { AssessmentTab = 0, EventsTab = 1 };

  AssessmentWindow(RecordStore& store, ui::Prompter& prompter, const Clock& clock, Tab tab,
                   QWidget* parent = nullptr);
  // Of a survey: `held` judges it whenever the range or the limit set changes, and whatever it refers
  // to stays as long as the window.
  AssessmentWindow(HeldAssessment held, ui::Prompter& prompter, const Clock& clock, Tab tab,
                   QWidget* parent = nullptr);
  ~AssessmentWindow() override;

  void assess();
  const AssessmentResult& result() const { return result_; }
  ReportPreview& preview() const { return *preview_; }
  QTableWidget& events() const { return *events_; }
  QTabWidget& tabs() const { return *tabs_; }
  history::TimeRangePanel& panel() const { return *panel_; }

 signals:
  // Epoch seconds of the event's first and last record.
  void eventChosen(std::int64_t first, std::int64_t last);

 public:
  // How far either side of an event its trend runs, so that the voltage before and after it shows.
  static constexpr std::int64_t kTrendMarginSeconds = 300;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  std::vector<ReportPage> currentPages() const;
  void fillEvents();
  void exportPdf();
  // The workbook of the whole assessment, whichever tab is shown: its sheets hold the events too.
  void exportWorkbook();
  void exportWord();
  void print();

  AssessmentWindow(RecordStore* store, std::optional<HeldAssessment> held, ui::Prompter& prompter,
                   const Clock& clock, Tab tab, QWidget* parent);

  RecordStore* store_;                  // the records assessed, or nothing for a survey
  std::optional<HeldAssessment> held_;  // the survey assessed, or nothing for the records
  ui::Prompter& prompter_;
  AssessmentResult result_;
  AssessmentHeading heading_;
  std::vector<ReportPage> eventPages_;
  ReportPrinter printer_;
  bool assessed_ = false;

  history::TimeRangePanel* panel_;
  QComboBox* limitSets_;
  QTabWidget* tabs_;
  ReportPreview* preview_;
  QTableWidget* events_;
};

}  // namespace pq
