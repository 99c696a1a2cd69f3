#include "timerange/ui/TimeRangePanel.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "timerange/EpochSeconds.h"
#include "timerange/TimeRangeMessages.h"
#include "timerange/ui/DateRangeFields.h"
#include "ui/Prompter.h"

namespace pq::history {

TimeRangePanelSetup TimeRangePanelSetup::harmonicPage() {
  return {QStringLiteral("当前一周"), {{"2010", "4", "19", "15", "40"}}, {{"2010", "4", "20", "8", "20"}}};
}

TimeRangePanelSetup TimeRangePanelSetup::otherPage() {
  return {QStringLiteral("最近一周"), {{"2010", "04", "19", "15", "40"}}, {{"2010", "04", "20", "08", "20"}}};
}

TimeRangePanel::TimeRangePanel(ui::Prompter& prompter, const Clock& clock, const TimeRangePanelSetup& setup,
                               QWidget* parent)
    : QGroupBox(QStringLiteral("时间设定"), parent), prompter_(prompter), selection_(clock), setup_(setup) {
  timeQueryBox_ = new QCheckBox(QStringLiteral("时间查询"), this);
  showAllRadio_ = new QRadioButton(QStringLiteral("显示全部"), this);
  currentDayRadio_ = new QRadioButton(QStringLiteral("当前一天"), this);
  lastWeekRadio_ = new QRadioButton(setup.lastWeekCaption, this);
  customRadio_ = new QRadioButton(QStringLiteral("自定义"), this);
  fields_ = new DateRangeFields(prompter, QStringLiteral("开始时间："), QStringLiteral("终止时间："), this);
  queryButton_ = new QPushButton(QStringLiteral("查  询"), this);
  queryButton_->setAccessibleName(QStringLiteral("查询"));

  auto* modes = new QButtonGroup(this);
  auto* modeRow = new QHBoxLayout;
  modeRow->addWidget(timeQueryBox_);
  for (QRadioButton* radio : {showAllRadio_, currentDayRadio_, lastWeekRadio_, customRadio_}) {
    modes->addButton(radio);
    modeRow->addWidget(radio);
  }
  modeRow->addStretch();
  auto* buttonRow = new QHBoxLayout;
  buttonRow->addStretch();
  buttonRow->addWidget(queryButton_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(modeRow);
  layout->addWidget(fields_);
  layout->addLayout(buttonRow);

  reset();

  connect(timeQueryBox_, &QCheckBox::toggled, this, [this](bool checked) {
    selection_.timeQuery = checked;
    setCustomFieldsEnabled();
    emit queryRequested();
  });
  const std::pair<QRadioButton*, TimeRangeMode> radios[] = {{showAllRadio_, TimeRangeMode::ShowAll},
                                                            {currentDayRadio_, TimeRangeMode::CurrentDay},
                                                            {lastWeekRadio_, TimeRangeMode::LastWeek},
                                                            {customRadio_, TimeRangeMode::Custom}};
  for (const auto& [radio, mode] : radios) {
    connect(radio, &QRadioButton::toggled, this, [this, mode](bool checked) { modeChosen(mode, checked); });
  }
  connect(queryButton_, &QPushButton::clicked, this, &TimeRangePanel::queryRequested);
}

void TimeRangePanel::reset() {
  const QSignalBlocker blockBox(timeQueryBox_);
  selection_.reset(setup_.initialStart, setup_.initialEnd);
  timeQueryBox_->setChecked(true);
  for (QRadioButton* radio : {showAllRadio_, currentDayRadio_, lastWeekRadio_, customRadio_}) {
    const QSignalBlocker block(radio);
    radio->setChecked(radio == showAllRadio_);
  }
  fields_->setTexts(setup_.initialStart, setup_.initialEnd);
  setCustomFieldsEnabled();
}

void TimeRangePanel::modeChosen(TimeRangeMode mode, bool checked) {
  if (!checked) return;
  selection_.mode = mode;
  setCustomFieldsEnabled();
  // A custom range needs its times typed first; the operator then presses "查  询".
  if (mode != TimeRangeMode::Custom) emit queryRequested();
}

void TimeRangePanel::setCustomFieldsEnabled() { fields_->setFieldsEnabled(selection_.customFieldsEnabled()); }

bool TimeRangePanel::selectTimeRange(RecordStore& store) {
  if (fields_->anyEmpty()) {
    prompter_.showMessage(window(), QString::fromUtf8(messages::kQueryTimeWrong));
    return false;
  }
  selection_.start = fields_->start();
  selection_.end = fields_->end();
  if (const auto message = selection_.selectTimeRange(store)) {
    prompter_.showMessage(window(), QString::fromStdString(*message));
  }
  return true;
}

void TimeRangePanel::showRangeInFields(const RecordStore& store) { fields_->showStoreSpan(store); }

std::optional<TimeWindow> TimeRangePanel::chosenWindow() {
  selection_.start = fields_->start();
  selection_.end = fields_->end();
  const std::optional<TimeWindow> chosen = fields_->anyEmpty() ? std::nullopt : selection_.chosenWindow();
  if (!chosen) {
    prompter_.showMessage(window(), QString::fromUtf8(messages::kQueryTimeWrong));
  } else if (chosen->from && chosen->to && *chosen->from > *chosen->to) {
    prompter_.showMessage(window(), QString::fromUtf8(messages::kEndBeforeStart));
    return std::nullopt;
  }
  return chosen;
}

void TimeRangePanel::showSpanInFields(std::int64_t first, std::int64_t last) {
  fields_->setTexts(DateFieldGroup::ofMinute(calendarOfEpochSeconds(first)),
                    DateFieldGroup::ofMinute(calendarOfEpochSeconds(last)));
}

void TimeRangePanel::queryCustomRange(const DateFieldGroup& start, const DateFieldGroup& end) {
  {
    const QSignalBlocker block(timeQueryBox_);
    timeQueryBox_->setChecked(true);
  }
  selection_.timeQuery = true;
  customRadio_->setChecked(true);
  setCustomFieldsEnabled();
  fields_->setTexts(start, end);
  emit queryRequested();
}

}  // namespace pq::history
