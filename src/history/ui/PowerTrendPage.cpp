#include "history/ui/PowerTrendPage.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "timerange/ui/TimeRangePanel.h"

namespace pq::history {

PowerTrendPage::PowerTrendPage(RecordStore& store, ui::Prompter& prompter, const TrendPageSource& source,
                               QWidget* parent)
    : TrendPage(store, prompter, source,
                {QStringLiteral("功率趋势曲线"),
                 {{QStringLiteral("A相"), QColor(248, 230, 10)},
                  {QStringLiteral("B相"), QColor(0, 128, 0)},
                  {QStringLiteral("C相"), Qt::red},
                  {QStringLiteral("三相"), Qt::blue}},
                 true,
                 QStringLiteral("功率及功率因数选项")},
                TimeRangePanelSetup::otherPage(), parent),
      quantities_(new QListWidget(this)) {
  auto* layout = new QVBoxLayout(&optionsGroup());
  addThreeDBox(*layout);
  const char* captions[4] = {"A相有功功率", "B相有功功率", "C相有功功率", "三相总有功"};
  for (int curve = 0; curve < 4; ++curve) {
    curves_[curve] = new QCheckBox(QString::fromUtf8(captions[curve]), &optionsGroup());
    layout->addWidget(curves_[curve]);
  }
  curves_[0]->setChecked(true);
  quantities_->addItems({QStringLiteral("有功功率"), QStringLiteral("无功功率"), QStringLiteral("功率因数")});
  quantities_->setCurrentRow(0);
  quantities_->setFixedHeight(quantities_->sizeHintForRow(0) * 3 + 2 * quantities_->frameWidth() + 2);
  quantities_->setAccessibleName(optionsGroup().title());
  layout->addWidget(quantities_);

  auto* averageGroup = new QGroupBox(QStringLiteral("平均功率显示"), this);
  auto* averageLayout = new QFormLayout(averageGroup);
  const char* labels[4] = {"A相  平均  功率：", "B相  平均  功率：", "C相  平均  功率：", "三相总平均功率："};
  for (int curve = 0; curve < 4; ++curve) {
    averages_[curve] = new QLineEdit(averageGroup);
    averages_[curve]->setReadOnly(true);
    averages_[curve]->setAccessibleName(QString::fromUtf8(labels[curve]));
    averageLayout->addRow(QString::fromUtf8(labels[curve]), averages_[curve]);
  }
  addSideGroup(*averageGroup);

  for (QCheckBox* box : curves_) queryOn(box, &QCheckBox::toggled);
  queryOn(quantities_, &QListWidget::currentRowChanged);
}

TrendResult PowerTrendPage::query(const TrendSource& source) const {
  return queryPowerTrend(
      store(), source, static_cast<PowerQuantity>(std::max(0, quantities_->currentRow())),
      {curves_[0]->isChecked(), curves_[1]->isChecked(), curves_[2]->isChecked(), curves_[3]->isChecked()});
}

void PowerTrendPage::showExtras(const TrendResult& result) {
  for (int curve = 0; curve < 4; ++curve) {
    curves_[curve]->setText(QString::fromStdString(result.captions[curve]));
    if (!result.averages) continue;
    // A survey's page leaves a curve that is not drawn without an average; the history window shows
    // 0.0000 there, as the instrument's own program does.
    const bool shown = curves_[curve]->isChecked() || !fedByAnotherWindow();
    averages_[curve]->setText(shown ? QString::fromStdString((*result.averages)[curve]) : QString());
  }
}

}  // namespace pq::history
