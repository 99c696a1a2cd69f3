#pragma once

#include <QWidget>
#include <array>
#include <cstdint>
#include <memory>

#include "aggregation/IntervalAggregator.h"
#include "history/ui/TrendPage.h"

class QButtonGroup;
class QLabel;
class QTabWidget;

namespace pq {
class RecordStore;
struct Survey;
}  // namespace pq
namespace pq::ui {
class Prompter;
}
namespace pq::history {
class DateRangeFields;
}

namespace pq::survey {

// The trends of an opened survey: the four trend pages of the history window, drawn over the survey's
// 1-minute or 10-minute values (group "数据") from the start to the end time of the date fields below
// them — the whole survey at first — with the limits of the index shown and the survey's voltage
// events shaded. An interval is drawn when it holds a moment of that time, and
// the time between two files is a gap in the curves. What a survey does not keep at 1 minute (the
// harmonic contents of each order) is drawn from its 10-minute values, and a note under the pages
// says so.
class SurveyTrendPage : public QWidget {
  Q_OBJECT

 public:
  SurveyTrendPage(const Survey& survey, ui::Prompter& prompter, QWidget* parent = nullptr);
  ~SurveyTrendPage() override;

  // Takes the time of the date fields and draws the page shown over it ("查  询"). A field that is
  // empty, a day the month does not have, an end before the start or a time without values is said
  // and changes nothing.
  void runQuery();
  // Puts the survey's first and last minute in the date fields and draws the page shown over them.
  void showWholeSurvey();
  // Shows the voltage deviation from `margin` seconds before `first` to as long after `last`: the
  // trend around an event.
  void showAround(std::int64_t margin, std::int64_t first, std::int64_t last);

  // 0 the harmonics, 1 the components and frequency, 2 the voltage deviation, 3 the powers.
  enum Kind { HarmonicKind = 0, ComponentKind = 1, DeviationKind = 2, PowerKind = 3 };
  history::TrendPage& trendPage(int kind) const { return *pages_.at(static_cast<std::size_t>(kind)); }
  QTabWidget& kinds() const { return *kinds_; }
  history::DateRangeFields& fields() const { return *fields_; }
  Resolution resolution() const;
  // The note shown while values kept only at 10 minutes stand in for 1-minute ones.
  const QLabel& fallbackNote() const { return *fallbackNote_; }

 private:
  TrendResult draw(const history::TrendPageSource::Query& query);
  TrendSource source(Resolution resolution, std::int64_t from, std::int64_t to) const;
  void redraw();

  const Survey& survey_;
  ui::Prompter& prompter_;
  // The head values the trend queries read of a store: the units and the nominal voltage.
  std::unique_ptr<RecordStore> head_;
  QTabWidget* kinds_;
  std::array<history::TrendPage*, 4> pages_{};
  QButtonGroup* resolutions_;
  history::DateRangeFields* fields_;
  QLabel* fallbackNote_;
  std::int64_t from_ = 0;  // epoch seconds, both included
  std::int64_t to_ = -1;
};

}  // namespace pq::survey
