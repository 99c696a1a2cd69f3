#include "live/ui/LiveWaveformPage.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "charts/ui/PhasorDiagramWidget.h"
#include "live/LiveTable.h"
#include "live/ui/LiveWaveformChart.h"
#include "records/MeasurementRecord.h"

namespace pq::live {

LiveWaveformPage::LiveWaveformPage(QWidget* parent) : QWidget(parent) {
  chart_ = new LiveWaveformChart(this);

  auto* options = new QGroupBox(QStringLiteral("实时波形选项"), this);
  auto* optionsLayout = new QGridLayout(options);
  auto* distortion = new QGroupBox(QStringLiteral("总畸变率"), this);
  auto* distortionLayout = new QGridLayout(distortion);
  for (int ch = 0; ch < kChannelCount; ++ch) {
    const QString name = QString::fromLatin1(pq::kChannelNames[ch]);
    auto* box = new QCheckBox(name, options);
    box->setObjectName(QStringLiteral("CheckBox_") + name);
    box->setChecked(true);
    optionsLayout->addWidget(box, ch / 3, ch % 3);
    channelBoxes_[static_cast<std::size_t>(ch)] = box;

    auto* label = new QLabel(QStringLiteral("THD_%1：").arg(name), distortion);
    auto* edit = new QLineEdit(distortion);
    edit->setObjectName(QStringLiteral("Edit_THD_") + name);
    edit->setReadOnly(true);
    edit->setAccessibleName(label->text());
    label->setBuddy(edit);
    distortionLayout->addWidget(label, ch % 3, 2 * (ch / 3));
    distortionLayout->addWidget(edit, ch % 3, 2 * (ch / 3) + 1);
    distortionBoxes_[static_cast<std::size_t>(ch)] = edit;
  }

  auto* phasorGroup = new QGroupBox(QStringLiteral("矢量分析"), this);
  auto* phasorLayout = new QVBoxLayout(phasorGroup);
  phasors_ = new history::PhasorDiagramWidget(phasorGroup);
  phasors_->setAccessibleName(QStringLiteral("矢量分析"));
  phasorLayout->addWidget(phasors_, 0, Qt::AlignCenter);

  auto* actions = new QGroupBox(QStringLiteral("波形图操作"), this);
  auto* actionsLayout = new QHBoxLayout(actions);
  save_ = new QPushButton(QStringLiteral("保存波形图"), actions);
  print_ = new QPushButton(QStringLiteral("打印波形图"), actions);
  actionsLayout->addWidget(save_);
  actionsLayout->addWidget(print_);

  auto* side = new QVBoxLayout;
  side->addWidget(options);
  side->addWidget(distortion);
  side->addWidget(phasorGroup);
  side->addWidget(actions);
  side->addStretch();
  auto* layout = new QHBoxLayout(this);
  layout->addWidget(chart_, 1);
  layout->addLayout(side);
}

void LiveWaveformPage::redraw(const LiveSamples& samples, const LiveMeasurement& m) {
  std::array<bool, kChannelCount> shown{};
  for (std::size_t ch = 0; ch < shown.size(); ++ch) shown[ch] = channelBoxes_[ch]->isChecked();
  chart_->showSamples(samples, shown);
  phasors_->drawPhasorBackground();
  phasors_->drawPhasors(
      m.wiring, {m.value(values::angleUaUb), m.value(values::angleUaUb + 1), m.value(values::angleUaUb + 2),
                 m.value(values::angleUaUb + 3), m.value(values::angleUaUb + 4)});
}

void LiveWaveformPage::reset(const LiveSamples& zeros, const LiveMeasurement& m) {
  channelBoxes_[0]->setChecked(true);
  redraw(zeros, m);
}

void LiveWaveformPage::showDistortion(const LiveMeasurement& m) {
  for (int ch = 0; ch < kChannelCount; ++ch) {
    distortionBoxes_[static_cast<std::size_t>(ch)]->setText(QString::fromStdString(thdBoxText(m, ch)));
  }
}

}  // namespace pq::live
