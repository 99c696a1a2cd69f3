#include "history/ui/TrendChart.h"

#include <algorithm>
#include <cmath>

#include "history/ui/ChartNavigation.h"
#include "history/ui/IntervalTimeTicker.h"
#include "history/ui/RecordTimeTicker.h"
#include "records/RecordStore.h"

namespace pq::history {

// A line that can draw a darker copy of itself a few pixels up and to the right, the depth of a
// three-dimensional view. Drawing the same polyline twice keeps the cost of a view in depth small.
class DepthGraph : public QCPGraph {
 public:
  using QCPGraph::QCPGraph;
  void setDepth(int pixels) { depth_ = pixels; }

 protected:
  void drawLinePlot(QCPPainter* painter, const QVector<QPointF>& lines) const override {
    if (depth_ > 0 && !lines.isEmpty()) {
      painter->save();
      painter->translate(depth_, -depth_);
      QPen back = pen();
      back.setColor(pen().color().darker(160));
      back.setWidthF(pen().widthF() + 2);
      painter->setPen(back);
      painter->setBrush(Qt::NoBrush);
      drawPolyline(painter, lines);
      painter->restore();
    }
    QCPGraph::drawLinePlot(painter, lines);
  }

 private:
  int depth_ = 0;
};

namespace {

constexpr int kDepthPixels = 5;
constexpr int kLabelWidth = 130;  // room for one record time label

class LabelTicker : public QCPAxisTicker {
 public:
  explicit LabelTicker(std::function<QString(double)> label) : label_(std::move(label)) {}

 protected:
  QString getTickLabel(double tick, const QLocale&, QChar, int) override { return label_(tick); }

 private:
  std::function<QString(double)> label_;
};

}  // namespace

TrendChart::TrendChart(const RecordStore& store, const QString& designTitle,
                       const std::vector<CurveStyle>& curves, bool withLegend, QWidget* parent)
    : QCustomPlot(parent), store_(store), timeTicker_(new RecordTimeTicker(store)),
      intervalTicker_(new IntervalTimeTicker) {
  QFont bold = font();
  bold.setBold(true);
  plotLayout()->insertRow(0);
  title_ = new QCPTextElement(this, designTitle, bold);
  plotLayout()->addElement(0, 0, title_);
  if (withLegend) {
    plotLayout()->insertRow(1);
    plotLayout()->addElement(1, 0, legend);
    legend->setFillOrder(QCPLegend::foColumnsFirst);
    legend->setVisible(true);
    legend->setBorderPen(Qt::NoPen);
    plotLayout()->setRowStretchFactor(1, 0.001);
  }
  for (const CurveStyle& style : curves) {
    auto* graph = new DepthGraph(xAxis, yAxis);
    graph->setName(style.name);
    graph->setPen(QPen(style.colour, 1));
    graph->setAntialiased(false);
    graph->setAdaptiveSampling(true);
    if (!withLegend) graph->removeFromLegend();
    graphs_.push_back(graph);
  }
  xAxis->setTicker(timeTicker_);
  yAxis->setLabelFont(bold);
  setNoAntialiasingOnDrag(true);
  // A day of records draws as one polyline per curve rather than segment by segment.
  setPlottingHint(QCP::phFastPolylines);
  navigation_ = new ChartNavigation(*this, [this](double key, double value) { return readout(key, value); });
}

QCPGraph& TrendChart::curve(int index) const { return *graphs_.at(index); }

QString TrendChart::titleText() const { return title_->text(); }

void TrendChart::setValueLabels(std::function<QString(double)> label) {
  yAxis->setTicker(QSharedPointer<QCPAxisTicker>(new LabelTicker(std::move(label))));
}

void TrendChart::setThreeD(bool on) {
  threeD_ = on;
  for (DepthGraph* graph : graphs_) graph->setDepth(on ? kDepthPixels : 0);
  replot();
}

void TrendChart::showResult(const TrendResult& result) {
  title_->setText(QString::fromStdString(result.title));
  yAxis->setLabel(QString::fromStdString(result.valueTitle));
  firstIndex_ = result.firstIndex;
  times_ = result.times;
  xAxis->setTicker(times_.empty() ? timeTicker_ : intervalTicker_);
  auto key = [this](std::size_t j) {
    return times_.empty() ? firstIndex_ + static_cast<double>(j) : static_cast<double>(times_[j]);
  };
  std::size_t longest = 0;
  for (std::size_t i = 0; i < graphs_.size(); ++i) {
    DepthGraph* graph = graphs_[i];
    const TrendCurve* curve = i < result.curves.size() ? &result.curves[i] : nullptr;
    QVector<QCPGraphData> points;
    if (curve != nullptr) {
      points.reserve(static_cast<qsizetype>(curve->values.size()));
      for (std::size_t j = 0; j < curve->values.size(); ++j) points.append(QCPGraphData(key(j), curve->values[j]));
      longest = std::max(longest, curve->values.size());
    }
    graph->data()->set(points, true);
    const bool shown = curve != nullptr && curve->shown;
    graph->setVisible(shown);
    if (legend->visible()) {
      if (shown) {
        graph->addToLegend();
      } else {
        graph->removeFromLegend();
      }
    }
  }
  // A single point is shown in the middle of one step either side of it.
  const double step = times_.size() > 1 || times_.empty() ? 1.0 : 60.0;
  const double first = longest > 0 ? key(0) : firstIndex_;
  const double last = longest > 1 ? key(longest - 1) : first + 1;
  xAxis->setRange(longest == 1 ? first - step : first, longest == 1 ? first + step : last);
  // An axis without extent cannot be drawn; it is shown as a band of one unit around its value.
  const bool flat = !(result.axis.upper - result.axis.lower > 1e-12);
  yAxis->setRange(flat ? result.axis.lower - 0.5 : result.axis.lower,
                  flat ? result.axis.lower + 0.5 : result.axis.upper);
  valueAxis_ = {yAxis->range().lower, yAxis->range().upper};
  removeItems(limitLines_);
  removeItems(marks_);
  navigation_->rememberHome();
  navigation_->clearReadout();
  replot();
}

void TrendChart::removeItems(std::vector<QCPAbstractItem*>& items) {
  for (QCPAbstractItem* item : items) removeItem(item);
  items.clear();
}

void TrendChart::showLimitLines(const std::vector<LimitLine>& lines) {
  removeItems(limitLines_);
  double lower = valueAxis_.lower;
  double upper = valueAxis_.upper;
  const QPen pen(QColor(200, 0, 0), 1, Qt::DashLine);
  for (const LimitLine& line : lines) {
    auto* straight = new QCPItemStraightLine(this);
    straight->setPen(pen);
    straight->point1->setCoords(0, line.value);
    straight->point2->setCoords(1, line.value);
    auto* label = new QCPItemText(this);
    label->setText(QString::fromStdString(line.label));
    label->setColor(pen.color());
    label->position->setTypeX(QCPItemPosition::ptAxisRectRatio);
    label->position->setCoords(1, line.value);
    label->setPositionAlignment(Qt::AlignRight | Qt::AlignBottom);
    label->setClipToAxisRect(true);
    limitLines_.insert(limitLines_.end(), {straight, label});
    lower = std::min(lower, line.value);
    upper = std::max(upper, line.value);
  }
  // Room above the highest line and below the lowest for their labels.
  const double room = lines.empty() ? 0 : (upper - lower) * 0.05;
  yAxis->setRange(std::min(valueAxis_.lower, lower - room), std::max(valueAxis_.upper, upper + room));
  navigation_->rememberHome();
  replot();
}

void TrendChart::markPeriods(const std::vector<std::pair<std::int64_t, std::int64_t>>& periods) {
  removeItems(marks_);
  if (!times_.empty()) {
    const double step = times_.size() > 1 ? static_cast<double>(times_[1] - times_[0]) : 60.0;
    for (const auto& [first, last] : periods) {
      auto* mark = new QCPItemRect(this);
      mark->setLayer(QStringLiteral("grid"));
      mark->setPen(Qt::NoPen);
      mark->setBrush(QColor(255, 160, 0, 70));
      const double middle = (static_cast<double>(first) + static_cast<double>(last)) / 2;
      const double half = std::max(static_cast<double>(last - first) + 1, step) / 2;
      mark->topLeft->setTypeY(QCPItemPosition::ptAxisRectRatio);
      mark->bottomRight->setTypeY(QCPItemPosition::ptAxisRectRatio);
      mark->topLeft->setCoords(middle - half, 0);
      mark->bottomRight->setCoords(middle + half, 1);
      marks_.push_back(mark);
    }
  }
  replot();
}

void TrendChart::useReadableTimes() {
  const bool shown = xAxis->ticker() == intervalTicker_;
  intervalTicker_ = QSharedPointer<QCPAxisTicker>(new ReadableTimeTicker);
  intervalTicker_->setTickCount(std::max(2, width() / kLabelWidth));
  if (shown) xAxis->setTicker(intervalTicker_);
}

int TrendChart::pointNear(double key) const {
  if (times_.empty()) {
    const int index = static_cast<int>(std::lround(key));
    if (index < 0 || index >= store_.recordCount()) return -1;
    return index - firstIndex_;
  }
  const auto after = std::lower_bound(times_.begin(), times_.end(), key,
                                      [](std::int64_t t, double k) { return static_cast<double>(t) < k; });
  if (after == times_.begin()) return 0;
  if (after == times_.end() || key - static_cast<double>(*(after - 1)) < static_cast<double>(*after) - key)
    return static_cast<int>(after - times_.begin()) - 1;
  return static_cast<int>(after - times_.begin());
}

QString TrendChart::readout(double key, double value) const {
  const int j = pointNear(key);
  if (j < 0) return {};
  const DepthGraph* nearest = nullptr;
  double nearestValue = 0;
  for (const DepthGraph* graph : graphs_) {
    if (!graph->visible() || j >= graph->data()->size()) continue;
    const double v = graph->data()->at(j)->value;
    if (std::isnan(v)) continue;
    if (nearest == nullptr || std::fabs(v - value) < std::fabs(nearestValue - value)) {
      nearest = graph;
      nearestValue = v;
    }
  }
  if (nearest == nullptr) return {};
  const QString name = graphs_.size() > 1 ? nearest->name() + QLatin1Char(' ') : QString();
  const QString time = times_.empty() ? recordTimeLabel(store_, firstIndex_ + j)
                                      : intervalTimeLabel(times_[static_cast<std::size_t>(j)]);
  return time + QStringLiteral("   ") + name + QString::number(nearestValue, 'f', 3);
}

void TrendChart::resizeEvent(QResizeEvent* event) {
  for (const auto& ticker : {timeTicker_, intervalTicker_})
    ticker->setTickCount(std::max(2, event->size().width() / kLabelWidth));
  QCustomPlot::resizeEvent(event);
}

}  // namespace pq::history
