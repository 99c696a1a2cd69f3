#pragma once

#include <QWidget>
#include <cstdint>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

#include "history/TrendIntervals.h"
#include "history/ui/TrendChart.h"

class QButtonGroup;
class QCheckBox;
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

// The tab captions of the harmonic, component, deviation and power pages.
inline constexpr const char* kTrendPageCaptions[4] = {"谐波趋势曲线", "分量及频率趋势曲线",
                                                      "电压偏差趋势曲线", "功率及功率因数趋势曲线"};

// Where a trend page's curves come from. A page of the history window chooses them itself, with its
// own "数据" group and time-range panel (whose last-week choice counts from the clock's today). A page
// of another window that chooses them for it — the trends of an opened survey — has neither: the
// window's `feed` runs the page's query over the source it has chosen and gives back what to draw.
struct TrendPageSource {
  using Query = std::function<TrendResult(const TrendSource&)>;
  using Feed = std::function<TrendResult(const Query&)>;

  TrendPageSource(const Clock& today) : clock(&today) {}     // NOLINT: the history window's pages
  TrendPageSource(Feed chosen) : feed(std::move(chosen)) {}  // NOLINT

  const Clock* clock = nullptr;
  Feed feed;
  // Of a page fed by another window: periods its charts shade (epoch seconds, first and last second).
  std::vector<std::pair<std::int64_t, std::int64_t>> markedPeriods;
};

// One trend page: its chart, its options group (filled by the page), the group "曲线图操作" with
// "显示限值" (the limits of the assessment's limit set for the index the chart shows: voltage
// deviation, negative-sequence voltage, frequency), "保存曲线图" and "打印曲线图" and, in the history window,
// the group "数据" (every record, or their 1-minute or 10-minute values), "导出数据" and the time-range
// panel. A query clears the chart, lets the panel select the store's range and draws the page's curves over
// it; entering the page resets the panel and queries all records. "导出数据" exports what the chart draws. A
// page fed by another window draws what its feed gives back, at each query and when entered, with readable
// times, its marked periods shaded and the limits shown at first; the history window's pages keep the look of
// the instrument's program, their limits hidden at first.
class TrendPage : public QWidget {
  Q_OBJECT

 public:
  TrendPage(RecordStore& store, ui::Prompter& prompter, const TrendPageSource& source,
            const TrendPageSetup& setup, const TimeRangePanelSetup& panelSetup, QWidget* parent = nullptr);

  void enter();
  void runQuery();
  // Writes what the chart draws — the records of the queried range, or their 1-minute or 10-minute
  // values — to a workbook or a CSV file the operator names, with a progress window that can cancel.
  void exportData();
  TrendResolution resolution() const;

  TrendChart& chart() const { return *chart_; }
  QCheckBox& limitBox() const { return *limitBox_; }
  // Of a history window's page.
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
  // A page of another window (a survey's), which draws what that window's feed gives back.
  bool fedByAnotherWindow() const { return static_cast<bool>(feed_); }

 private:
  QGroupBox* makeResolutionGroup();
  void show(const TrendResult& result);
  void showLimitLines();

  struct ShownIndex {
    TrendIndex index = TrendIndex::None;
    int wiringMode = 1;
  };

  RecordStore& store_;
  ui::Prompter& prompter_;
  TrendPageSource::Feed feed_;
  std::vector<std::pair<std::int64_t, std::int64_t>> markedPeriods_;
  TrendChart* chart_;
  QCheckBox* limitBox_;
  std::optional<AssessmentLimits> limits_;  // loaded when first shown
  ShownIndex shown_;
  QGroupBox* options_;
  QGroupBox* pictureGroup_;
  QVBoxLayout* side_;
  QPushButton* saveButton_ = nullptr;
  QPushButton* printButton_ = nullptr;
  // Of a history window's page only.
  QButtonGroup* resolutions_ = nullptr;
  TrendIntervals intervals_;
  TimeRangePanel* panel_ = nullptr;
  QPushButton* exportButton_ = nullptr;
};

}  // namespace pq::history

#include "ui/ErrorReport.h"

template <class Sender, class Signal>
void pq::history::TrendPage::queryOn(Sender* sender, Signal signal) {
  ui::connectReporting(sender, signal, this, prompter_, [this] { runQuery(); });
}
