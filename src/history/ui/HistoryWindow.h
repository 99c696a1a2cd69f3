#pragma once

#include <QDialog>
#include <optional>
#include <utility>

#include "timerange/DateFieldGroup.h"

class QTabWidget;

namespace pq {

class Clock;
class RecordStore;
namespace ui {
class Prompter;
}
namespace history {
class RecordBrowserPage;
class TrendPage;
}  // namespace history

// The history window "历史数据查阅" (TForm4): the record browser and the four trend pages. It is
// created for one command, opened modally on that command's page, centred whenever it becomes
// active, and discarded when closed. Entering a page runs its entry action: the browser starts at the
// first record, a trend page resets its time range and draws all records.
class TForm4 : public QDialog {
  Q_OBJECT

 public:
  enum Page { Browser = 0, HarmonicTrend, ComponentTrend, DeviationTrend, PowerTrend };

  TForm4(RecordStore& store, ui::Prompter& prompter, const Clock& clock, int page, QWidget* parent = nullptr);

  QTabWidget& pages() const { return *PageControl1; }
  history::RecordBrowserPage& browser() const { return *browser_; }
  history::TrendPage& trendPage(int page) const;
  // Makes the first entry of a trend page draw this custom range instead of all records, as when the
  // event list opens the trend around an event.
  void enterWithRange(const DateFieldGroup& start, const DateFieldGroup& end) { entryRange_.emplace(start, end); }

 protected:
  void changeEvent(QEvent* event) override;

 private:
  void enterPage(int index);

  ui::Prompter& prompter_;
  bool entered_ = false;
  std::optional<std::pair<DateFieldGroup, DateFieldGroup>> entryRange_;
  QTabWidget* PageControl1;
  history::RecordBrowserPage* browser_;
  history::TrendPage* trendPages_[4];
};

}  // namespace pq
