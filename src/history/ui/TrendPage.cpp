#include "history/ui/TrendPage.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "charts/ui/ChartPicture.h"
#include "timerange/ui/TimeRangePanel.h"
#include "records/RecordStore.h"

namespace pq::history {

TrendPage::TrendPage(RecordStore& store, ui::Prompter& prompter, const Clock& clock,
                     const TrendPageSetup& setup, const TimeRangePanelSetup& panelSetup, QWidget* parent)
    : QWidget(parent),
      store_(store),
      prompter_(prompter),
      chart_(new TrendChart(store, setup.designTitle, setup.curves, setup.legend, this)),
      options_(new QGroupBox(setup.optionsCaption, this)),
      pictureGroup_(new QGroupBox(QStringLiteral("曲线图操作"), this)),
      resolutions_(new QButtonGroup(this)),
      side_(new QVBoxLayout),
      panel_(new TimeRangePanel(prompter, clock, panelSetup, this)),
      saveButton_(new QPushButton(QStringLiteral("保存曲线图"), this)),
      printButton_(new QPushButton(QStringLiteral("打印曲线图"), this)) {
  chart_->setAccessibleName(setup.designTitle);
  auto* pictureLayout = new QVBoxLayout(pictureGroup_);
  for (QPushButton* button : {saveButton_, printButton_}) pictureLayout->addWidget(button);
  pictureLayout->addStretch();

  auto* resolutionGroup = new QGroupBox(QStringLiteral("数据"), this);
  auto* resolutionLayout = new QVBoxLayout(resolutionGroup);
  const QString resolutionTexts[] = {QStringLiteral("每条记录"), QStringLiteral("1 分钟"), QStringLiteral("10 分钟")};
  const QString resolutionNames[] = {QStringLiteral("everyRecord"), QStringLiteral("oneMinute"),
                                     QStringLiteral("tenMinutes")};
  for (int id = 0; id < 3; ++id) {
    auto* button = new QRadioButton(resolutionTexts[id], resolutionGroup);
    button->setObjectName(resolutionNames[id]);
    button->setChecked(id == 0);
    resolutions_->addButton(button, id);
    resolutionLayout->addWidget(button);
  }

  auto* layout = new QGridLayout(this);
  layout->addWidget(chart_, 0, 0);
  side_->addWidget(options_);
  side_->addWidget(resolutionGroup);
  side_->addWidget(pictureGroup_);
  side_->addStretch();
  layout->addLayout(side_, 0, 1, 2, 1);
  layout->addWidget(panel_, 1, 0);
  layout->setRowStretch(0, 1);
  layout->setColumnStretch(0, 1);

  queryOn(panel_, &TimeRangePanel::queryRequested);
  queryOn(resolutions_, &QButtonGroup::idClicked);
  ui::connectReporting(saveButton_, &QPushButton::clicked, this, prompter_,
                       [this] { saveChartPicture(prompter_, this, *chart_); });
  ui::connectReporting(printButton_, &QPushButton::clicked, this, prompter_,
                       [this] { printChartPicture(*chart_); });
}

void TrendPage::addSideGroup(QWidget& group) { side_->insertWidget(side_->indexOf(pictureGroup_), &group); }

void TrendPage::addThreeDBox(QLayout& layout) {
  auto* box = new QCheckBox(QStringLiteral("三维立体显示"), options_);
  box->setObjectName(QStringLiteral("threeD"));
  layout.addWidget(box);
  connect(box, &QCheckBox::toggled, chart_, &TrendChart::setThreeD);
}

TrendResolution TrendPage::resolution() const {
  return static_cast<TrendResolution>(std::max(0, resolutions_->checkedId()));
}

void TrendPage::enter() {
  // Records may have been deleted since the page was last shown.
  intervals_.clear();
  panel_->reset();
  runQuery();
}

void TrendPage::runQuery() {
  show(query(IndexRange{}));
  if (!panel_->selectTimeRange(store_)) return;
  if (store_.rangeEnd <= store_.rangeStart) return;
  show(query(intervals_.source(store_, {store_.rangeStart, store_.rangeEnd}, resolution())));
  if (panel_->mode() == TimeRangeMode::ShowAll) panel_->showRangeInFields(store_);
}

void TrendPage::show(const TrendResult& result) {
  chart_->showResult(result);
  showExtras(result);
}

}  // namespace pq::history
