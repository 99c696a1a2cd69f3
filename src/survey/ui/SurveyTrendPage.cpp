#include "survey/ui/SurveyTrendPage.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <cmath>

#include "history/ui/ComponentTrendPage.h"
#include "history/ui/DeviationTrendPage.h"
#include "history/ui/HarmonicTrendPage.h"
#include "history/ui/PowerTrendPage.h"
#include "records/RecordStore.h"
#include "survey/Survey.h"
#include "timerange/EpochSeconds.h"
#include "timerange/TimeRangeMessages.h"
#include "timerange/ui/DateRangeFields.h"
#include "ui/ErrorReport.h"
#include "ui/Prompter.h"

namespace pq::survey {

namespace {

// What the trend queries read of a store's head for a survey: the units of its first file and the
// nominal voltage the deviation is measured from, a line voltage (the declared voltage of four-wire
// wiring is a phase voltage).
std::unique_ptr<RecordStore> headOf(const Survey& survey) {
  auto head = std::make_unique<RecordStore>();
  head->substationName = survey.identity.substationName;
  head->ptRatio = survey.identity.ptRatio;
  head->voltageLevelCode = static_cast<std::uint8_t>(survey.identity.voltageLevelCode);
  const double lineVoltage = survey.declaredVoltage * (survey.wiringMode == 1 ? std::sqrt(3.0) : 1.0);
  head->nominalVoltage = static_cast<std::int32_t>(std::lround(lineVoltage));
  return head;
}

const AggregatedSeries& seriesOf(const Survey& survey, Resolution resolution) {
  return survey.values.series[static_cast<std::size_t>(resolution)];
}

}  // namespace

SurveyTrendPage::SurveyTrendPage(const Survey& survey, ui::Prompter& prompter, QWidget* parent)
    : QWidget(parent),
      survey_(survey),
      prompter_(prompter),
      head_(headOf(survey)),
      kinds_(new QTabWidget(this)),
      resolutions_(new QButtonGroup(this)),
      fallbackNote_(new QLabel(QStringLiteral("1 分钟值不含各次谐波含有率，图中为 10 分钟值。"), this)) {
  history::TrendPageSource source(
      [this](const history::TrendPageSource::Query& query) { return draw(query); });
  for (const auto* events : {&survey.values.events, &survey.values.sustained})
    for (const VoltageEvent& event : *events)
      source.markedPeriods.emplace_back(event.start, event.lastRecord);
  pages_ = {new history::HarmonicTrendPage(*head_, prompter, source, kinds_),
            new history::ComponentTrendPage(*head_, prompter, source, kinds_),
            new history::DeviationTrendPage(*head_, prompter, source, kinds_),
            new history::PowerTrendPage(*head_, prompter, source, kinds_)};
  for (std::size_t kind = 0; kind < pages_.size(); ++kind)
    kinds_->addTab(pages_[kind], QString::fromUtf8(history::kTrendPageCaptions[kind]));

  auto* resolutionGroup = new QGroupBox(QStringLiteral("数据"), this);
  auto* resolutionLayout = new QVBoxLayout(resolutionGroup);
  const std::pair<Resolution, QString> choices[] = {{Resolution::OneMinute, QStringLiteral("1 分钟")},
                                                    {Resolution::TenMinutes, QStringLiteral("10 分钟")}};
  for (const auto& [resolution, text] : choices) {
    auto* button = new QRadioButton(text, resolutionGroup);
    button->setObjectName(resolution == Resolution::OneMinute ? QStringLiteral("oneMinute")
                                                              : QStringLiteral("tenMinutes"));
    button->setChecked(resolution == Resolution::OneMinute);
    resolutions_->addButton(button, static_cast<int>(resolution));
    resolutionLayout->addWidget(button);
  }

  auto* rangeGroup = new QGroupBox(QStringLiteral("时间范围"), this);
  auto* rangeLayout = new QHBoxLayout(rangeGroup);
  fields_ = new history::DateRangeFields(prompter, QStringLiteral("开始时间："), QStringLiteral("终止时间："),
                                         rangeGroup);
  auto* queryButton = new QPushButton(QStringLiteral("查  询"), rangeGroup);
  auto* wholeButton = new QPushButton(QStringLiteral("显示全部"), rangeGroup);
  auto* buttons = new QVBoxLayout;
  buttons->addWidget(queryButton);
  buttons->addWidget(wholeButton);
  rangeLayout->addWidget(fields_);
  rangeLayout->addLayout(buttons);

  fallbackNote_->setWordWrap(true);
  fallbackNote_->hide();
  auto* controls = new QHBoxLayout;
  controls->addWidget(resolutionGroup);
  controls->addWidget(rangeGroup);
  controls->addWidget(fallbackNote_, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(kinds_, 1);
  layout->addLayout(controls);

  ui::connectReporting(resolutions_, &QButtonGroup::idClicked, this, prompter_, [this] { redraw(); });
  ui::connectReporting(kinds_, &QTabWidget::currentChanged, this, prompter_, [this] { redraw(); });
  ui::connectReporting(queryButton, &QPushButton::clicked, this, prompter_, [this] { runQuery(); });
  ui::connectReporting(wholeButton, &QPushButton::clicked, this, prompter_, [this] { showWholeSurvey(); });
  showWholeSurvey();
}

// The pages read the head: they go before it.
SurveyTrendPage::~SurveyTrendPage() { delete kinds_; }

Resolution SurveyTrendPage::resolution() const { return static_cast<Resolution>(resolutions_->checkedId()); }

void SurveyTrendPage::showWholeSurvey() {
  const auto& minutes = seriesOf(survey_, Resolution::OneMinute).intervals;
  if (!minutes.empty()) {
    from_ = minutes.front().start;
    to_ = minutes.back().start + kResolutionSeconds[static_cast<std::size_t>(Resolution::OneMinute)] - 1;
    fields_->setTexts(DateFieldGroup::ofMinute(calendarOfEpochSeconds(from_)),
                      DateFieldGroup::ofMinute(calendarOfEpochSeconds(to_)));
  }
  redraw();
}

void SurveyTrendPage::showAround(std::int64_t margin, std::int64_t first, std::int64_t last) {
  from_ = first - margin;
  to_ = last + margin;
  fields_->setTexts(DateFieldGroup::ofMinute(calendarOfEpochSeconds(from_)),
                    DateFieldGroup::ofMinute(calendarOfEpochSeconds(to_)));
  // Drawn once, by the change of page or, on that page already, here.
  if (kinds_->currentIndex() == DeviationKind) redraw();
  kinds_->setCurrentIndex(DeviationKind);
}

void SurveyTrendPage::runQuery() {
  // An empty field or a day the month does not have (31 June).
  const std::optional<TimeWindow> chosen = windowOfFields(fields_->start(), fields_->end());
  if (!chosen) {
    prompter_.showMessage(this, QString::fromUtf8(messages::kQueryTimeWrong));
    return;
  }
  const std::int64_t from = *chosen->from;
  const std::int64_t to = *chosen->to;
  if (from > to) {
    prompter_.showMessage(this, QString::fromUtf8(messages::kEndBeforeStart));
    return;
  }
  const TrendSource intervals = source(resolution(), from, to);
  if (intervals.firstInterval == intervals.endInterval) {
    prompter_.showMessage(this, QString::fromUtf8(messages::kNoRecordsInSpan));
    return;
  }
  from_ = from;
  to_ = to;
  redraw();
}

void SurveyTrendPage::redraw() { pages_.at(static_cast<std::size_t>(kinds_->currentIndex()))->enter(); }

TrendSource SurveyTrendPage::source(Resolution resolution, std::int64_t from, std::int64_t to) const {
  return TrendSource::between(seriesOf(survey_, resolution), survey_.wiringMode,
                              kResolutionSeconds[static_cast<std::size_t>(resolution)], from, to);
}

TrendResult SurveyTrendPage::draw(const history::TrendPageSource::Query& query) {
  TrendResult result = query(source(resolution(), from_, to_));
  const bool fallback = result.unkept && resolution() == Resolution::OneMinute;
  if (fallback) result = query(source(Resolution::TenMinutes, from_, to_));
  fallbackNote_->setVisible(fallback);
  return result;
}

}  // namespace pq::survey
