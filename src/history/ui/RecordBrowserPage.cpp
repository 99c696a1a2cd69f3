#include "history/ui/RecordBrowserPage.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "charts/ui/PhasorDiagramWidget.h"
#include "charts/ui/SpectrumChart.h"
#include "history/PositionFieldKeys.h"
#include "history/TrendQueries.h"
#include "history/ui/ChartNavigation.h"
#include "history/ui/RecordGrid.h"
#include "history/ui/RecordTimeTicker.h"
#include "records/BatchDelete.h"
#include "records/RecordFileMessages.h"
#include "records/RecordFileWriter.h"
#include "records/RecordStore.h"
#include "timerange/ui/TypedKey.h"
#include "ui/ErrorReport.h"
#include "ui/Prompter.h"

namespace pq::history {

namespace {

QPushButton* operationButton(const QString& caption, QWidget* parent) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(caption.trimmed());
  return button;
}

QLineEdit* readOnlyField(const QString& name, QWidget* parent) {
  auto* field = new QLineEdit(parent);
  field->setReadOnly(true);
  field->setAccessibleName(name);
  return field;
}

}  // namespace

RecordBrowserPage::RecordBrowserPage(RecordStore& store, ui::Prompter& prompter, QWidget* parent)
    : QWidget(parent), store_(store), prompter_(prompter), grid_(new RecordGrid(this)) {
  auto* top = new QHBoxLayout;
  top->addWidget(buildSpectrumGroup(), 1);
  top->addWidget(buildPhasorGroup());
  top->addWidget(buildOperationGroup());
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(buildMiddleRow());
  layout->addWidget(grid_, 1);
}

QWidget* RecordBrowserPage::buildSpectrumGroup() {
  auto* group = new QGroupBox(QStringLiteral("频谱"), this);
  spectrum_ = new SpectrumChart(QStringLiteral("各次谐波含量(HRUh)示意图"), group);
  spectrum_->setAccessibleName(QStringLiteral("频谱"));
  spectrumNavigation_ = new ChartNavigation(*spectrum_, [this](double key, double) {
    const int order = static_cast<int>(std::lround(key));
    const QVector<double> heights = spectrum_->barHeights();
    if (order < 1 || order > heights.size()) return QString();
    return QStringLiteral("%1次  %2%").arg(order).arg(heights[order - 1], 0, 'f', 2);
  });
  channels_ = new QButtonGroup(this);
  auto* options = new QHBoxLayout;
  for (int channel = 0; channel < kChannelCount; ++channel) {
    auto* radio = new QRadioButton(QString::fromUtf8(channelName(channel)), group);
    channels_->addButton(radio, channel);
    options->addWidget(radio);
  }
  threeD_ = new QCheckBox(QStringLiteral("三维"), group);
  options->addWidget(threeD_);
  options->addStretch();
  auto* layout = new QVBoxLayout(group);
  layout->addWidget(spectrum_, 1);
  layout->addLayout(options);
  ui::connectReporting(channels_, &QButtonGroup::idClicked, this, prompter_, [this] {
    spectrumChannel_ = channels_->checkedId();
    showRecord();
  });
  connect(threeD_, &QCheckBox::toggled, spectrum_, [this](bool on) {
    spectrum_->setThreeD(on);
    spectrum_->replot();
  });
  return group;
}

QWidget* RecordBrowserPage::buildPhasorGroup() {
  auto* group = new QGroupBox(QStringLiteral("矢量"), this);
  phasors_ = new PhasorDiagramWidget(group);
  phasors_->setFixedSize(273, 273);
  phasors_->setAccessibleName(QStringLiteral("矢量"));
  auto* layout = new QVBoxLayout(group);
  layout->addWidget(phasors_);
  layout->addStretch();
  return group;
}

QWidget* RecordBrowserPage::buildOperationGroup() {
  auto* group = new QGroupBox(QStringLiteral("记录操作"), this);
  position_ = readOnlyField(QStringLiteral("位置："), group);
  position_->setFixedWidth(70);
  trackBar_ = new QSlider(Qt::Vertical, group);
  trackBar_->setInvertedAppearance(true);  // the first record at the top, as the labels say
  trackBar_->setInvertedControls(true);
  trackBar_->setAccessibleName(QStringLiteral("记录位置"));
  trackMin_ = new QLabel(group);
  trackMax_ = new QLabel(group);
  trackMin_->setObjectName(QStringLiteral("trackMin"));
  trackMax_->setObjectName(QStringLiteral("trackMax"));
  first_ = operationButton(QStringLiteral("第一条"), group);
  previous_ = operationButton(QStringLiteral("前一条"), group);
  next_ = operationButton(QStringLiteral("后一条"), group);
  last_ = operationButton(QStringLiteral("最后一条"), group);
  deleteOne_ = operationButton(QStringLiteral("删除本条"), group);

  auto* layout = new QGridLayout(group);
  auto* positionLabel = new QLabel(QStringLiteral("位置："), group);
  positionLabel->setBuddy(position_);
  layout->addWidget(positionLabel, 0, 0);
  layout->addWidget(position_, 0, 1);
  layout->addWidget(trackMin_, 1, 0, Qt::AlignHCenter);
  layout->addWidget(trackBar_, 2, 0, 5, 1, Qt::AlignHCenter);
  layout->addWidget(trackMax_, 7, 0, Qt::AlignHCenter);
  int row = 2;
  for (QPushButton* button : {first_, previous_, next_, last_, deleteOne_})
    layout->addWidget(button, row++, 1);

  ui::connectReporting(trackBar_, &QSlider::valueChanged, this, prompter_,
                       [this] { goTo(trackBar_->value()); });
  ui::connectReporting(first_, &QPushButton::clicked, this, prompter_, [this] { goTo(0); });
  ui::connectReporting(previous_, &QPushButton::clicked, this, prompter_, [this] {
    if (currentIndex_ > 0) goTo(currentIndex_ - 1);
  });
  ui::connectReporting(next_, &QPushButton::clicked, this, prompter_, [this] {
    if (currentIndex_ < store_.recordCount() - 1) goTo(currentIndex_ + 1);
  });
  ui::connectReporting(last_, &QPushButton::clicked, this, prompter_,
                       [this] { goTo(store_.recordCount() - 1); });
  ui::connectReporting(deleteOne_, &QPushButton::clicked, this, prompter_, [this] { deleteCurrent(); });
  return group;
}

QWidget* RecordBrowserPage::buildMiddleRow() {
  auto* row = new QWidget(this);
  date_ = readOnlyField(QStringLiteral("本条记录测试日期："), row);
  date_->setFixedWidth(170);
  startField_ = new QLineEdit(row);
  endField_ = new QLineEdit(row);
  deleteRun_ = operationButton(QStringLiteral("批量删除  "), row);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  const std::pair<const char*, QLineEdit*> fields[] = {
      {"本条记录测试日期：", date_}, {"起始位置：", startField_}, {"终止位置：", endField_}};
  for (const auto& [caption, field] : fields) {
    auto* label = new QLabel(QString::fromUtf8(caption), row);
    label->setBuddy(field);
    field->setAccessibleName(label->text());
    layout->addWidget(label);
    layout->addWidget(field);
    if (field == date_) layout->addStretch();
  }
  for (QLineEdit* field : {startField_, endField_}) {
    field->setFixedWidth(80);
    ui::holdToKeyRule(*field, [](const QString& text, char32_t key) {
      return acceptPositionKey(text.toStdString(), key) ? KeyAction::Accept : KeyAction::Drop;
    });
  }
  layout->addWidget(deleteRun_);
  ui::connectReporting(deleteRun_, &QPushButton::clicked, this, prompter_, [this] { deleteBatch(); });
  return row;
}

void RecordBrowserPage::enterBrowserPage() {
  texts_.writeFixedTexts();
  channels_->button(0)->setChecked(true);
  spectrumChannel_ = 0;
  currentIndex_ = 0;
  if (store_.recordCount() < 1) {
    showEmpty();
  } else {
    showRecord();
  }
}

void RecordBrowserPage::goTo(int index) {
  currentIndex_ = index;
  showRecord();
}

void RecordBrowserPage::showRecord() {
  const int count = store_.recordCount();
  if (count < 1) return showEmpty();
  currentIndex_ = std::clamp(currentIndex_, 0, count - 1);
  {
    const QSignalBlocker blocker(trackBar_);
    trackBar_->setRange(0, count - 1);
    trackBar_->setValue(currentIndex_);
  }
  trackMin_->setText(QStringLiteral("1"));
  trackMax_->setText(QString::number(count));
  position_->setText(QString::number(currentIndex_ + 1));
  first_->setEnabled(currentIndex_ != 0);
  previous_->setEnabled(currentIndex_ != 0);
  next_->setEnabled(currentIndex_ != count - 1);
  last_->setEnabled(currentIndex_ != count - 1);
  deleteOne_->setEnabled(true);
  trackBar_->setEnabled(true);
  for (QAbstractButton* radio : channels_->buttons()) radio->setEnabled(true);

  spectrum_->showSpectrum(QString::fromUtf8(channelName(spectrumChannel_)),
                          spectrumPercent(store_, currentIndex_, spectrumChannel_),
                          store_.thd(currentIndex_, spectrumChannel_));
  spectrumNavigation_->rememberHome();
  texts_.writeRecord(store_, currentIndex_);
  grid_->showTexts(texts_);
  date_->setText(recordTimeLabel(store_, currentIndex_));
  const MeasurementRecord& record = store_.record(currentIndex_);
  phasors_->drawPhasorBackground();
  phasors_->drawPhasors(record.integer(cells::wiringMode), phasorAnglesOf(record));
}

void RecordBrowserPage::showEmpty() {
  {
    const QSignalBlocker blocker(trackBar_);
    trackBar_->setRange(0, 0);
  }
  trackMin_->setText(QStringLiteral("0"));
  trackMax_->setText(QStringLiteral("0"));
  spectrum_->clear();
  spectrumNavigation_->clearReadout();
  for (QPushButton* button : {first_, previous_, next_, last_, deleteOne_}) button->setEnabled(false);
  trackBar_->setEnabled(false);
  for (QAbstractButton* radio : channels_->buttons()) radio->setEnabled(false);
  texts_.clearValues();
  grid_->showTexts(texts_);
  position_->clear();
  date_->clear();
  phasors_->drawPhasorBackground();
}

void RecordBrowserPage::deleteCurrent() {
  if (!prompter_.askOkCancel(this, QString::fromUtf8(messages::kDeleteCaption),
                             QString::fromUtf8(messages::kDeleteQuestion)))
    return;
  store_.deleteAt(currentIndex_);
  afterDeletion();
  rewriteFile();
}

void RecordBrowserPage::deleteBatch() {
  const BatchDeletePlan plan = planBatchDelete(startField_->text().toStdString(),
                                               endField_->text().toStdString(), store_.recordCount());
  if (plan.refused()) return prompter_.showMessage(this, QString::fromStdString(plan.refusal));
  if (!prompter_.askOkCancel(this, QString::fromUtf8(messages::kDeleteCaption),
                             QString::fromUtf8(messages::kDeleteQuestion)))
    return;
  store_.deleteRange(plan.first, plan.count);
  currentIndex_ = plan.first;
  afterDeletion();
  startField_->clear();
  endField_->clear();
  rewriteFile();
}

void RecordBrowserPage::afterDeletion() {
  if (store_.recordCount() <= 0) {
    showEmpty();
    emit lastRecordGone();
  } else {
    showRecord();  // the position stays, or moves to the new last record
  }
}

void RecordBrowserPage::rewriteFile() {
  if (std::string failure; !rewriteRecordFile(store_, &failure))
    prompter_.showMessage(this, QString::fromStdString(failure));
}

}  // namespace pq::history
