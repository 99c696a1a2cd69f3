#pragma once

#include <qcustomplot.h>
#include <functional>
#include <vector>

#include "assessment/TrendLimitLines.h"
#include "history/TrendQueries.h"

namespace pq {
class RecordStore;
}

namespace pq::history {

class ChartNavigation;
class DepthGraph;

// The name and colour of one curve of a trend chart.
struct CurveStyle {
  QString name;
  QColor colour;
};

// The chart of a trend page: a bold title, one line per curve (x = record index, labelled on the
// bottom axis with the record's time; for aggregated values x = the interval's start time), an optional legend at the top, the left axis titled with the
// page's unit. showResult() draws a query's result from scratch. The mouse zooms, drags and reads
// out points (ChartNavigation). It is a QCustomPlot, so saveChartPicture and printChartPicture take it.
class TrendChart : public QCustomPlot {
  Q_OBJECT

 public:
  TrendChart(const RecordStore& store, const QString& designTitle, const std::vector<CurveStyle>& curves,
             bool withLegend, QWidget* parent = nullptr);

  void showResult(const TrendResult& result);
  // Labels of the left axis, for a format other than plain numbers.
  void setValueLabels(std::function<QString(double)> label);
  // Draws every curve with a darker band behind it, as if seen from above; changes nothing else.
  void setThreeD(bool on);
  bool isThreeD() const { return threeD_; }

  // Horizontal lines at the limits of the index shown, each named at the chart's right edge, the left
  // axis widened to take them in; an empty list takes them away. Call after showResult.
  void showLimitLines(const std::vector<LimitLine>& lines);
  int limitLineCount() const { return static_cast<int>(limitLines_.size()); }
  // Shades periods (epoch seconds, first and last second) on a chart of aggregated values, each at
  // least one interval wide so that an event of seconds shows on a chart of days; replaces those before.
  void markPeriods(const std::vector<std::pair<std::int64_t, std::int64_t>>& periods);
  int markedPeriodCount() const { return static_cast<int>(marks_.size()); }
  // Labels the time axis of aggregated values for reading ("04-19 12:00") instead of in the record
  // times' format.
  void useReadableTimes();

  QString titleText() const;
  int curveCount() const { return static_cast<int>(graphs_.size()); }
  QCPGraph& curve(int index) const;
  ChartNavigation& navigation() const { return *navigation_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  QString readout(double key, double value) const;
  // The point of the curves nearest to `key`; -1 for none.
  int pointNear(double key) const;

  void removeItems(std::vector<QCPAbstractItem*>& items);

  const RecordStore& store_;
  QCPTextElement* title_;
  std::vector<QCPAbstractItem*> limitLines_;  // lines and their labels
  std::vector<QCPAbstractItem*> marks_;
  AxisRange valueAxis_;  // of the last result, before the limit lines widened it
  std::vector<DepthGraph*> graphs_;
  QSharedPointer<QCPAxisTicker> timeTicker_;
  QSharedPointer<QCPAxisTicker> intervalTicker_;
  ChartNavigation* navigation_;
  int firstIndex_ = 0;
  std::vector<std::int64_t> times_;  // of aggregated values (TrendResult::times)
  bool threeD_ = false;
};

}  // namespace pq::history
