#include "history/ui/ComponentTrendPage.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

#include "timerange/ui/TimeRangePanel.h"

namespace pq::history {

ComponentTrendPage::ComponentTrendPage(RecordStore& store, ui::Prompter& prompter,
                                       const TrendPageSource& source, QWidget* parent)
    : TrendPage(store, prompter, source,
                {QStringLiteral("序分量趋势曲线"),
                 {{QStringLiteral("分量"), Qt::red}},
                 false,
                 QStringLiteral("分量及频率选项")},
                TimeRangePanelSetup::otherPage(), parent),
      choices_(new QButtonGroup(this)) {
  auto* layout = new QVBoxLayout(&optionsGroup());
  for (int choice = 0; choice < kComponentChoices; ++choice) {
    auto* radio = new QRadioButton(QString::fromUtf8(componentChoiceText(choice)), &optionsGroup());
    choices_->addButton(radio, choice);
    layout->addWidget(radio);
  }
  choices_->button(1)->setChecked(true);
  addThreeDBox(*layout);
  chart().yAxis->setLabel(QStringLiteral("单位："));
  queryOn(choices_, &QButtonGroup::idClicked);
}

TrendResult ComponentTrendPage::query(const TrendSource& source) const {
  return queryComponentTrend(store(), source, choices_->checkedId());
}

}  // namespace pq::history
