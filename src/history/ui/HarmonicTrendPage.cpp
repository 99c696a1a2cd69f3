#include "history/ui/HarmonicTrendPage.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QListWidget>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

#include "records/MeasurementRecord.h"
#include "timerange/ui/TimeRangePanel.h"

namespace pq::history {

HarmonicTrendPage::HarmonicTrendPage(RecordStore& store, ui::Prompter& prompter,
                                     const TrendPageSource& source, QWidget* parent)
    : TrendPage(store, prompter, source,
                {QStringLiteral("各次谐波趋势曲线"),
                 {{QStringLiteral("谐波"), Qt::red}},
                 false,
                 QStringLiteral("显示通道")},
                TimeRangePanelSetup::harmonicPage(), parent),
      channels_(new QButtonGroup(this)),
      items_(new QListWidget(this)) {
  auto* layout = new QGridLayout(&optionsGroup());
  for (int channel = 0; channel < kChannelCount; ++channel) {
    auto* radio = new QRadioButton(QString::fromUtf8(channelName(channel)), &optionsGroup());
    channels_->addButton(radio, channel);
    layout->addWidget(radio, channel / 3, channel % 3);
  }
  channels_->button(Ua)->setChecked(true);
  auto* threeD = new QVBoxLayout;
  addThreeDBox(*threeD);
  layout->addLayout(threeD, 2, 0, 1, 3);

  auto* itemGroup = new QGroupBox(QStringLiteral("显示参数选择"), this);
  auto* itemLayout = new QVBoxLayout(itemGroup);
  for (int item = 0; item < kHarmonicTrendItems; ++item)
    items_->addItem(QString::fromStdString(harmonicTrendItemText(item)));
  items_->setCurrentRow(0);
  items_->setAccessibleName(itemGroup->title());
  items_->setMinimumHeight(150);
  itemLayout->addWidget(items_);
  addSideGroup(*itemGroup);

  queryOn(channels_, &QButtonGroup::idClicked);
  queryOn(items_, &QListWidget::currentRowChanged);
}

TrendResult HarmonicTrendPage::query(const TrendSource& source) const {
  return queryHarmonicTrend(store(), source, channels_->checkedId(), std::max(0, items_->currentRow()));
}

}  // namespace pq::history
