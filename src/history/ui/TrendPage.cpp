#include "history/ui/TrendPage.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "charts/ui/ChartPicture.h"
#include "history/ui/TimeRangePanel.h"
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
      side_(new QVBoxLayout),
      panel_(new TimeRangePanel(prompter, clock, panelSetup, this)),
      saveButton_(new QPushButton(QStringLiteral("保存曲线图"), this)),
      printButton_(new QPushButton(QStringLiteral("打印曲线图"), this)) {
  chart_->setAccessibleName(setup.designTitle);
  auto* pictureLayout = new QVBoxLayout(pictureGroup_);
  for (QPushButton* button : {saveButton_, printButton_}) pictureLayout->addWidget(button);
  pictureLayout->addStretch();

  auto* layout = new QGridLayout(this);
  layout->addWidget(chart_, 0, 0);
  side_->addWidget(options_);
  side_->addWidget(pictureGroup_);
  side_->addStretch();
  layout->addLayout(side_, 0, 1, 2, 1);
  layout->addWidget(panel_, 1, 0);
  layout->setRowStretch(0, 1);
  layout->setColumnStretch(0, 1);

  queryOn(panel_, &TimeRangePanel::queryRequested);
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

void TrendPage::enter() {
  panel_->reset();
  runQuery();
}

void TrendPage::runQuery() {
  show(query({}));
  if (!panel_->selectTimeRange(store_)) return;
  if (store_.rangeEnd <= store_.rangeStart) return;
  show(query({store_.rangeStart, store_.rangeEnd}));
  if (panel_->mode() == TimeRangeMode::ShowAll) panel_->showRangeInFields(store_);
}

void TrendPage::show(const TrendResult& result) {
  chart_->showResult(result);
  showExtras(result);
}

}  // namespace pq::history
