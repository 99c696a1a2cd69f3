#pragma once

#include <QWidget>

#include "history/TrendIntervals.h"
#include "history/ui/TrendChart.h"

class QButtonGroup;
class QGroupBox;
class QLayout;
class QPushButton;
class QVBoxLayout;

namespace pq {
class Clock;
class RecordStore;
}  // namespace pq
namespace pq::ui {
class Prompter;
}

namespace pq::history {

class TimeRangePanel;
struct TimeRangePanelSetup;

// What sets one trend page apart from the others at construction.
struct TrendPageSetup {
  QString designTitle;
  std::vector<CurveStyle> curves;
  bool legend = false;
  QString optionsCaption;
};

// One trend page of the history window: its chart, its options group (filled by the page), the
// group "数据" (every record, or their 1-minute or 10-minute values), the time-range panel and the
// group "曲线图操作" with "保存曲线图" and "打印曲线图". A query clears the chart, lets the panel select
// the store's range and draws the page's curves over it; entering the page resets the panel and
// queries all records. "导出数据" exports what the chart draws.
class TrendPage : public QWidget {
  Q_OBJECT

 public:
  TrendPage(RecordStore& store, ui::Prompter& prompter, const Clock& clock, const TrendPageSetup& setup,
            const TimeRangePanelSetup& panelSetup, QWidget* parent = nullptr);

  void enter();
  void runQuery();
  // Writes what the chart draws — the records of the queried range, or their 1-minute or 10-minute
  // values — to a workbook or a CSV file the operator names, with a progress window that can cancel.
  void exportData();
  TrendResolution resolution() const;

  TrendChart& chart() const { return *chart_; }
  TimeRangePanel& panel() const { return *panel_; }

 protected:
  // The page's curves over the source; an empty one gives the page's initial state.
  virtual TrendResult query(const TrendSource& source) const = 0;
  // Shows what the page shows besides the chart (the power page's captions and averages).
  virtual void showExtras(const TrendResult&) {}

  QGroupBox& optionsGroup() const { return *options_; }
  // Puts another group of the page below its options group.
  void addSideGroup(QWidget& group);
  // The three-dimensional check box of the page, placed in `layout` of its options group.
  void addThreeDBox(QLayout& layout);
  // Runs the query whenever `sender` emits `signal`.
  template <class Sender, class Signal>
  void queryOn(Sender* sender, Signal signal);
  ui::Prompter& prompter() const { return prompter_; }
  const RecordStore& store() const { return store_; }

 private:
  void show(const TrendResult& result);

  RecordStore& store_;
  ui::Prompter& prompter_;
  TrendChart* chart_;
  QGroupBox* options_;
  QGroupBox* pictureGroup_;
  QButtonGroup* resolutions_;
  TrendIntervals intervals_;
  QVBoxLayout* side_;
  TimeRangePanel* panel_;
  QPushButton* saveButton_;
  QPushButton* printButton_;
  QPushButton* exportButton_;
};

}  // namespace pq::history

#include "ui/ErrorReport.h"

template <class Sender, class Signal>
void pq::history::TrendPage::queryOn(Sender* sender, Signal signal) {
  ui::connectReporting(sender, signal, this, prompter_, [this] { runQuery(); });
}
