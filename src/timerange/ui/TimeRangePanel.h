#pragma once

#include <QGroupBox>

#include "timerange/TimeRangeSelection.h"

class QCheckBox;
class QPushButton;
class QRadioButton;

namespace pq {
class Clock;
class RecordStore;
}  // namespace pq
namespace pq::ui {
class Prompter;
}

namespace pq::history {

class DateRangeFields;

// How a trend page sets its panel up: the caption of the last-week radio and the fields' first texts.
struct TimeRangePanelSetup {
  QString lastWeekCaption;
  DateFieldGroup initialStart;
  DateFieldGroup initialEnd;

  static TimeRangePanelSetup
  harmonicPage();  // "当前一周", "2010" "4" "19" "15" "40" .. "2010" "4" "20" "8" "20"
  static TimeRangePanelSetup otherPage();  // "最近一周", "2010" "04" "19" "15" "40" .. "08" "20"
};

// The "时间设定" group of a trend page: check box "时间查询", the four mode radios, the ten date fields
// and the button "查  询". The page calls reset() when it is entered and then runs its query; it runs its
// query again whenever queryRequested() is emitted (the button, the check box, and the radios
// "显示全部", "当前一天" and the last-week one; "自定义" only enables the fields). Inside its query the
// page calls selectTimeRange(store) and, in mode ShowAll, showRangeInFields(store).
class TimeRangePanel : public QGroupBox {
  Q_OBJECT

 public:
  TimeRangePanel(ui::Prompter& prompter, const Clock& clock, const TimeRangePanelSetup& setup,
                 QWidget* parent = nullptr);

  // The state a page is entered with: "时间查询" ticked, "显示全部" selected, the fields disabled and
  // holding their first texts. Emits nothing.
  void reset();

  // Sets the store's range for the current choice and shows its message, if any. False, with
  // "查询时间不正确，请重新输入!" shown and the range untouched, when a date field is empty: the query
  // must stop. A custom time that is no valid date-time throws ConversionError (range untouched).
  bool selectTimeRange(RecordStore& store);
  // After a ShowAll query: the first and last record's times in the fields.
  void showRangeInFields(const RecordStore& store);

  // For records that are not in the store (a survey's): the times of the current choice, with no
  // bound for all records. Nothing, with the message shown, when a date field is empty or a custom
  // time is no date-time (31 June) or ends before it starts: the query must stop.
  std::optional<TimeWindow> chosenWindow();
  // After a ShowAll query of such records: the minutes of their first and last in the fields.
  void showSpanInFields(std::int64_t first, std::int64_t last);
  // Chooses "自定义" with these times in the fields and asks for the query, as if the operator had
  // typed them and pressed "查  询".
  void queryCustomRange(const DateFieldGroup& start, const DateFieldGroup& end);

  TimeRangeMode mode() const { return selection_.mode; }
  std::optional<TimeWindow> customWindow() const { return selection_.customWindow(); }
  bool timeQuery() const { return selection_.timeQuery; }
  DateRangeFields& fields() const { return *fields_; }

 signals:
  void queryRequested();

 private:
  void setCustomFieldsEnabled();
  void modeChosen(TimeRangeMode mode, bool checked);

  ui::Prompter& prompter_;
  TimeRangeSelection selection_;
  TimeRangePanelSetup setup_;

  QCheckBox* timeQueryBox_;
  QRadioButton* showAllRadio_;
  QRadioButton* currentDayRadio_;
  QRadioButton* lastWeekRadio_;
  QRadioButton* customRadio_;
  DateRangeFields* fields_;
  QPushButton* queryButton_;
};

}  // namespace pq::history
