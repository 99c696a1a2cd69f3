#include "survey/ui/SurveyTrendPage.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QTabWidget>
#include <cmath>
#include <memory>
#include <optional>

#include "history/ui/IntervalTimeTicker.h"
#include "records/RecordFileWriter.h"
#include "records/RecordStore.h"
#include "support/StoreBuilder.h"
#include "support/TempDir.h"
#include "support/ui/ScriptedPrompter.h"
#include "survey/Survey.h"
#include "timerange/EpochSeconds.h"
#include "timerange/ui/DateRangeFields.h"

namespace pq::survey {
namespace {

// Record k of the survey (0..27), one every 30 seconds.
double frequencyOf(int k) { return 49.95 + 0.013 * k; }
double voltageOf(int k) { return 221.3 + 0.1 * k; }
double powerOf(int k) { return 1000.5 + 7.25 * k; }

class QuietSurvey : public SurveyListener {
 public:
  void fileStarted(int, int, const std::string&) override {}
  void progress(double, double) override {}
  bool cancelRequested() override { return false; }
};

std::int64_t at(int hour, int minute) { return epochSeconds({2010, 4, 19, hour, minute, 0}); }

// A survey of two files of a 0.38 kV four-wire recording without transformers: records 0..23 from
// 8:00:00 to 8:11:30, then nothing until records 24..27 from 8:30:00 to 8:31:30. Every record's
// harmonics are a fundamental of 220 V and a fifth harmonic of 2.5 V in Ua; record 5 (8:02:30) holds a
// dip of Ua to 61.7 V.
class SurveyTrendPageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string a = write("a.bin", 0, 24, 0);
    const std::string b = write("b.bin", 30, 4, 24);
    QuietSurvey listener;
    survey = openSurvey(planSurvey({b, a}), listener);
    ASSERT_TRUE(survey.has_value());
    page = std::make_unique<SurveyTrendPage>(*survey, prompter);
  }

  std::string write(const std::string& name, int minute, int count, int firstRecord) {
    store->clear();
    store->resetDefaults();
    store->fileName = dir.file(name);
    store->substationName = "North7";
    store->measuringPointName = "Bay3";
    store->voltageLevelCode = 1;
    store->ptRatio = 1;
    store->ctRatio = 1;
    for (int k = firstRecord; k < firstRecord + count; ++k) {
      const int second = minute * 60 + 30 * (k - firstRecord);
      MeasurementRecord& record = test::appendRecord(*store, 2010, 4, 19, 8, second / 60, second % 60);
      record.setValue(cells::frequency, static_cast<float>(frequencyOf(k)));
      for (const int cell : {cells::uaRms, cells::ubRms, cells::ucRms})
        record.setValue(cell, static_cast<float>(voltageOf(k)));
      record.setValue(cells::pA, static_cast<float>(powerOf(k)));
      record.setValue(cells::harmonic(Ua, 1), 220);
      record.setValue(cells::harmonic(Ua, 5), 2.5f);
      if (k == 5) record.setValue(cells::uaMin, 61.7f);
    }
    std::string failure;
    EXPECT_TRUE(rewriteRecordFile(*store, &failure)) << failure;
    return store->fileName;
  }

  void choose(Resolution resolution) {
    page->findChild<QRadioButton*>(resolution == Resolution::OneMinute ? "oneMinute" : "tenMinutes")->click();
  }
  // Shows page `kind` and clicks its radio `text`.
  void showKind(int kind, const QString& radioText = {}) {
    page->kinds().setCurrentIndex(kind);
    for (QRadioButton* radio : page->trendPage(kind).findChildren<QRadioButton*>())
      if (radio->text() == radioText) radio->click();
  }
  const QCPGraphData& point(int kind, int curve, int j) const {
    return *page->trendPage(kind).chart().curve(curve).data()->at(j);
  }
  int points(int kind, int curve = 0) const {
    return page->trendPage(kind).chart().curve(curve).data()->size();
  }
  std::vector<double> keys(int kind) const {
    std::vector<double> result;
    for (int j = 0; j < points(kind); ++j) result.push_back(point(kind, 0, j).key);
    return result;
  }
  static std::vector<double> minutes(std::initializer_list<int> ofEight) {
    std::vector<double> result;
    for (const int minute : ofEight) result.push_back(static_cast<double>(at(8, minute)));
    return result;
  }
  void setRange(const char* fromMinute, const char* toMinute) {
    page->fields().setTexts({{"2010", "4", "19", "8", fromMinute}}, {{"2010", "4", "19", "8", toMinute}});
    page->runQuery();
  }

  test::TempDir dir;
  std::unique_ptr<RecordStore> store = std::make_unique<RecordStore>();
  std::optional<Survey> survey;
  ui::ScriptedPrompter prompter;
  std::unique_ptr<SurveyTrendPage> page;
};

TEST_F(SurveyTrendPageTest, OneMinuteValuesWithTheTimeBetweenTheFilesAsAGap) {
  showKind(1, QStringLiteral("频率"));
  EXPECT_EQ(page->resolution(), Resolution::OneMinute);
  EXPECT_EQ(keys(1), minutes({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 30, 31}));
  // Each minute the mean of its two records.
  EXPECT_NEAR(point(1, 0, 0).value, (frequencyOf(0) + frequencyOf(1)) / 2, 1e-4);
  EXPECT_NEAR(point(1, 0, 5).value, (frequencyOf(10) + frequencyOf(11)) / 2, 1e-4);
  EXPECT_TRUE(std::isnan(point(1, 0, 12).value));
  EXPECT_NEAR(point(1, 0, 13).value, (frequencyOf(24) + frequencyOf(25)) / 2, 1e-4);

  // The deviation from 380 V of the line voltage of equal phases, √3 times their root mean square.
  showKind(2);
  const double u = std::sqrt((voltageOf(0) * voltageOf(0) + voltageOf(1) * voltageOf(1)) / 2);
  EXPECT_NEAR(point(2, 0, 0).value, (u * std::sqrt(3.0) - 380) / 380 * 100, 1e-3);
  EXPECT_TRUE(std::isnan(point(2, 0, 12).value));
  EXPECT_FALSE(page->fallbackNote().isVisibleTo(page.get()));
}

TEST_F(SurveyTrendPageTest, TenMinuteValuesAndTheAveragesOfTheRecords) {
  choose(Resolution::TenMinutes);
  showKind(1, QStringLiteral("频率"));
  EXPECT_EQ(keys(1), minutes({0, 10, 20, 30}));
  EXPECT_NEAR(point(1, 0, 0).value, frequencyOf(0) + 0.013 * 9.5, 1e-4);   // records 0..19
  EXPECT_NEAR(point(1, 0, 1).value, frequencyOf(0) + 0.013 * 21.5, 1e-4);  // records 20..23
  EXPECT_TRUE(std::isnan(point(1, 0, 2).value));
  EXPECT_NEAR(point(1, 0, 3).value, frequencyOf(0) + 0.013 * 25.5, 1e-4);  // records 24..27

  showKind(3);
  EXPECT_NEAR(point(3, 0, 1).value, powerOf(0) + 7.25 * 21.5, 1e-3);
  EXPECT_TRUE(std::isnan(point(3, 0, 2).value));
  // The average of the 28 records, the gap weighing nothing, at either resolution.
  const auto average = [this](const QString& label) {
    for (const QLineEdit* edit : page->trendPage(3).findChildren<QLineEdit*>())
      if (edit->accessibleName() == label) return edit->text();
    return QStringLiteral("no field");
  };
  EXPECT_EQ(average(QStringLiteral("A相  平均  功率：")), QStringLiteral("1098.3750W"));
  choose(Resolution::OneMinute);
  EXPECT_EQ(average(QStringLiteral("A相  平均  功率：")), QStringLiteral("1098.3750W"));
  // A curve that is not drawn has no average, rather than one of 0.
  EXPECT_EQ(average(QStringLiteral("B相  平均  功率：")), QString());
  EXPECT_EQ(average(QStringLiteral("三相总平均功率：")), QString());
}

TEST_F(SurveyTrendPageTest, HarmonicContentsKeptOnlyAtTenMinutesAreDrawnFromThemAndSaidSo) {
  auto& items = *page->trendPage(0).findChild<QListWidget*>();
  const double content = 2.5 / 220 * 100;
  // The distortion is kept at 1 minute.
  EXPECT_EQ(points(0), 15);
  EXPECT_NEAR(point(0, 0, 0).value, content, 1e-4);
  EXPECT_FALSE(page->fallbackNote().isVisibleTo(page.get()));

  items.setCurrentRow(5);
  EXPECT_EQ(keys(0), minutes({0, 10, 20, 30}));
  EXPECT_NEAR(point(0, 0, 0).value, content, 1e-4);
  EXPECT_TRUE(std::isnan(point(0, 0, 2).value));
  EXPECT_TRUE(page->fallbackNote().isVisibleTo(page.get()));
  EXPECT_EQ(page->fallbackNote().text(), QStringLiteral("1 分钟值不含各次谐波含有率，图中为 10 分钟值。"));
  EXPECT_EQ(page->resolution(), Resolution::OneMinute);

  // At 10 minutes, or on another page, nothing stands in for anything.
  choose(Resolution::TenMinutes);
  EXPECT_FALSE(page->fallbackNote().isVisibleTo(page.get()));
  choose(Resolution::OneMinute);
  EXPECT_TRUE(page->fallbackNote().isVisibleTo(page.get()));
  showKind(3);
  EXPECT_FALSE(page->fallbackNote().isVisibleTo(page.get()));
}

TEST_F(SurveyTrendPageTest, TheDateFieldsChooseTheIntervalsHoldingAMomentOfTheirTime) {
  showKind(1, QStringLiteral("频率"));
  // The whole survey at first: its first and last minute.
  EXPECT_EQ(page->fields().start().texts, (std::array<std::string, 5>{"2010", "4", "19", "8", "0"}));
  EXPECT_EQ(page->fields().end().texts, (std::array<std::string, 5>{"2010", "4", "19", "8", "31"}));

  setRange("5", "30");
  EXPECT_EQ(keys(1), minutes({5, 6, 7, 8, 9, 10, 11, 12, 30}));
  EXPECT_NEAR(point(1, 0, 0).value, (frequencyOf(10) + frequencyOf(11)) / 2, 1e-4);
  choose(Resolution::TenMinutes);
  EXPECT_EQ(keys(1), minutes({0, 10, 20, 30}));  // 8:00 holds 8:05
  setRange("11", "19");
  EXPECT_EQ(keys(1), minutes({10}));
  EXPECT_TRUE(prompter.log.isEmpty());

  // A time without values, an end before the start or a day the month does not have is said in the
  // program's own words, and the curves stay.
  choose(Resolution::OneMinute);
  setRange("15", "25");
  setRange("9", "8");
  page->fields().setTexts({{"2010", "6", "31", "8", "0"}}, {{"2010", "7", "1", "8", "0"}});
  page->runQuery();
  EXPECT_EQ(prompter.log, QStringList({QStringLiteral("message: 该时间段记录个数为零，请重新输入时间。"),
                                       QStringLiteral("message: 终止时间必须大于开始时间，请重新输入。"),
                                       QStringLiteral("message: 查询时间不正确，请重新输入!")}));
  EXPECT_EQ(keys(1), minutes({11}));  // 8:11 to 8:19 at 1 minute: no gap after the last point

  page->showWholeSurvey();
  EXPECT_EQ(points(1), 15);
}

TEST_F(SurveyTrendPageTest, TheLimitsOfTheIndexShownAndTheEventsOnReadableTimes) {
  // 0.38 kV: the band of 20 kV and below; the default limit set's unbalance and frequency limits.
  const struct {
    int kind;
    QString radio;
    std::vector<double> lines;
  } cases[] = {
      {2, {}, {7, -7}},
      {1, QStringLiteral("频率"), {50.2, 49.8}},
      {1, QStringLiteral("电压负序"), {219.393 * 0.02, 219.393 * 0.04}},
      {1, QStringLiteral("电压正序"), {}},
      {0, {}, {}},
      {3, {}, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.kind);
    SCOPED_TRACE(c.radio.toStdString());
    showKind(c.kind, c.radio);
    history::TrendChart& chart = page->trendPage(c.kind).chart();
    EXPECT_TRUE(page->trendPage(c.kind).limitBox().isChecked()) << "shown at first";
    std::vector<double> lines;
    for (int i = 0; i < chart.itemCount(); ++i)
      if (auto* line = qobject_cast<QCPItemStraightLine*>(chart.item(i)))
        lines.push_back(line->point1->value());
    ASSERT_EQ(lines.size(), c.lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i) EXPECT_NEAR(lines[i], c.lines[i], 1e-3);
    for (const double line : lines) EXPECT_TRUE(chart.yAxis->range().contains(line)) << line;
    EXPECT_EQ(chart.markedPeriodCount(), 1) << "the dip at 8:02:30";
    EXPECT_NE(dynamic_cast<history::ReadableTimeTicker*>(chart.xAxis->ticker().data()), nullptr);
  }
  // Unticked: the lines go, the curves and the event stay.
  history::TrendChart& deviation = page->trendPage(2).chart();
  showKind(2);
  page->trendPage(2).limitBox().setChecked(false);
  EXPECT_EQ(deviation.limitLineCount(), 0);
  EXPECT_EQ(deviation.markedPeriodCount(), 1);
  EXPECT_EQ(points(2), 15);
  page->trendPage(2).limitBox().setChecked(true);
  EXPECT_EQ(deviation.limitLineCount(), 4) << "two lines and their labels";
}

}  // namespace
}  // namespace pq::survey
