#include "history/ui/DeviationTrendPage.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QVBoxLayout>

#include "timerange/ui/TimeRangePanel.h"

namespace pq::history {

DeviationTrendPage::DeviationTrendPage(RecordStore& store, ui::Prompter& prompter,
                                       const TrendPageSource& source, QWidget* parent)
    : TrendPage(store, prompter, source,
                {QStringLiteral("电压偏差趋势曲线"),
                 {{QStringLiteral("A相"), QColor(250, 225, 5)},
                  {QStringLiteral("B相"), QColor(0, 128, 0)},
                  {QStringLiteral("C相"), Qt::red}},
                 true,
                 QStringLiteral("偏差选项")},
                TimeRangePanelSetup::otherPage(), parent) {
  auto* layout = new QVBoxLayout(&optionsGroup());
  addThreeDBox(*layout);
  const char* captions[3] = {"A相电压偏差", "B相电压偏差", "C相电压偏差"};
  for (int phase = 0; phase < 3; ++phase) {
    phases_[phase] = new QCheckBox(QString::fromUtf8(captions[phase]), &optionsGroup());
    layout->addWidget(phases_[phase]);
  }
  phases_[0]->setChecked(true);
  for (QCheckBox* box : phases_) queryOn(box, &QCheckBox::toggled);
  chart().setValueLabels([](double value) { return QString::fromStdString(deviationAxisLabel(value)); });
}

TrendResult DeviationTrendPage::query(const TrendSource& source) const {
  return queryDeviationTrend(store(), source,
                             {phases_[0]->isChecked(), phases_[1]->isChecked(), phases_[2]->isChecked()});
}

}  // namespace pq::history
