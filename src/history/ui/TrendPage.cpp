#include "history/ui/TrendPage.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "assessment/LimitSet.h"
#include "assessment/SupplyVoltageDeviation.h"
#include "base/TextCodec.h"
#include "charts/ui/ChartPicture.h"
#include "export/RecordTable.h"
#include "export/RecordNotes.h"
#include "export/TableFile.h"
#include "records/RecordStore.h"
#include "timerange/RecordSpan.h"
#include "timerange/ui/TimeRangePanel.h"
#include "ui/NewFileChoice.h"
#include "ui/Prompter.h"

namespace pq::history {

TrendPage::TrendPage(RecordStore& store, ui::Prompter& prompter, const TrendPageSource& source,
                     const TrendPageSetup& setup, const TimeRangePanelSetup& panelSetup, QWidget* parent)
    : QWidget(parent),
      store_(store),
      prompter_(prompter),
      feed_(source.feed),
      markedPeriods_(source.markedPeriods),
      chart_(new TrendChart(store, setup.designTitle, setup.curves, setup.legend, this)),
      options_(new QGroupBox(setup.optionsCaption, this)),
      pictureGroup_(new QGroupBox(QStringLiteral("曲线图操作"), this)),
      side_(new QVBoxLayout) {
  // Made in the order the focus goes through them.
  if (!feed_) panel_ = new TimeRangePanel(prompter, *source.clock, panelSetup, this);
  limitBox_ = new QCheckBox(QStringLiteral("显示限值"), this);
  limitBox_->setObjectName(QStringLiteral("limits"));
  limitBox_->setChecked(static_cast<bool>(feed_));
  if (feed_) chart_->useReadableTimes();
  saveButton_ = new QPushButton(QStringLiteral("保存曲线图"), this);
  printButton_ = new QPushButton(QStringLiteral("打印曲线图"), this);
  QGroupBox* resolutionGroup = feed_ ? nullptr : makeResolutionGroup();

  chart_->setAccessibleName(setup.designTitle);
  auto* pictureLayout = new QVBoxLayout(pictureGroup_);
  pictureLayout->addWidget(limitBox_);
  for (QPushButton* button : {saveButton_, printButton_}) pictureLayout->addWidget(button);
  pictureLayout->addStretch();

  auto* layout = new QGridLayout(this);
  layout->addWidget(chart_, 0, 0);
  side_->addWidget(options_);
  if (resolutionGroup != nullptr) side_->addWidget(resolutionGroup);
  side_->addWidget(pictureGroup_);
  side_->addStretch();
  layout->addLayout(side_, 0, 1, 2, 1);
  if (panel_ != nullptr) {
    layout->addWidget(panel_, 1, 0);
    queryOn(panel_, &TimeRangePanel::queryRequested);
  }
  layout->setRowStretch(0, 1);
  layout->setColumnStretch(0, 1);

  ui::connectReporting(limitBox_, &QCheckBox::toggled, this, prompter_, [this] { showLimitLines(); });
  ui::connectReporting(saveButton_, &QPushButton::clicked, this, prompter_, [this] {
    saveChartPicture(prompter_, this, *chart_, QString::fromStdString(gbkToUtf8(store_.substationName)),
                     chart_->accessibleName());
  });
  ui::connectReporting(printButton_, &QPushButton::clicked, this, prompter_,
                       [this] { printChartPicture(*chart_); });
}

QGroupBox* TrendPage::makeResolutionGroup() {
  resolutions_ = new QButtonGroup(this);
  exportButton_ = new QPushButton(QStringLiteral("导出数据"), this);
  auto* resolutionGroup = new QGroupBox(QStringLiteral("数据"), this);
  // The three choices side by side, so that the options group above keeps its height.
  auto* resolutionLayout = new QGridLayout(resolutionGroup);
  const QString resolutionTexts[] = {QStringLiteral("每条记录"), QStringLiteral("1 分钟"),
                                     QStringLiteral("10 分钟")};
  const QString resolutionNames[] = {QStringLiteral("everyRecord"), QStringLiteral("oneMinute"),
                                     QStringLiteral("tenMinutes")};
  for (int id = 0; id < 3; ++id) {
    auto* button = new QRadioButton(resolutionTexts[id], resolutionGroup);
    button->setObjectName(resolutionNames[id]);
    button->setChecked(id == 0);
    resolutions_->addButton(button, id);
    resolutionLayout->addWidget(button, 0, id);
  }
  exportButton_->setObjectName(QStringLiteral("exportData"));
  resolutionLayout->addWidget(exportButton_, 1, 0, 1, 3);
  queryOn(resolutions_, &QButtonGroup::idClicked);
  ui::connectReporting(exportButton_, &QPushButton::clicked, this, prompter_, [this] { exportData(); });
  return resolutionGroup;
}

void TrendPage::addSideGroup(QWidget& group) { side_->insertWidget(side_->indexOf(pictureGroup_), &group); }

void TrendPage::addThreeDBox(QLayout& layout) {
  auto* box = new QCheckBox(QStringLiteral("三维立体显示"), options_);
  box->setObjectName(QStringLiteral("threeD"));
  layout.addWidget(box);
  connect(box, &QCheckBox::toggled, chart_, &TrendChart::setThreeD);
}

TrendResolution TrendPage::resolution() const {
  return resolutions_ != nullptr ? static_cast<TrendResolution>(std::max(0, resolutions_->checkedId()))
                                 : TrendResolution::Records;
}

void TrendPage::enter() {
  if (!feed_) {
    // Records may have been deleted since the page was last shown.
    intervals_.clear();
    panel_->reset();
  }
  runQuery();
}

void TrendPage::runQuery() {
  if (feed_) {
    show(feed_([this](const TrendSource& source) { return query(source); }));
    return;
  }
  show(query(IndexRange{}));
  if (!panel_->selectTimeRange(store_)) return;
  if (store_.rangeEnd <= store_.rangeStart) return;
  show(query(intervals_.source(store_, {store_.rangeStart, store_.rangeEnd}, resolution())));
  if (panel_->mode() == TimeRangeMode::ShowAll) panel_->showRangeInFields(store_);
}

void TrendPage::exportData() {
  const IndexRange range = recordsInUse(store_, {store_.rangeStart, store_.rangeEnd});
  if (range.end <= range.start) {
    prompter_.showMessage(this, QStringLiteral("没有可导出的记录。"));
    return;
  }
  const TrendResolution resolution = this->resolution();
  const QString path = ui::chooseNewFile(
      prompter_, this,
      {QStringLiteral("Excel 工作簿 (*.xlsx);;CSV 文件，UTF-8 (*.csv)"), QStringLiteral("xlsx"),
       resolution == TrendResolution::Records ? QStringLiteral("记录.xlsx") : QStringLiteral("统计值.xlsx")},
      ui::ExistingFileAnswer::AskAgain);
  if (path.isEmpty()) return;
  TableFile file(QFile::encodeName(path).toStdString());
  if (!file.open()) {
    prompter_.showError(this, QStringLiteral("数据无法导出：") + QString::fromStdString(file.error()));
    return;
  }
  const AggregatedSeries* series =
      resolution == TrendResolution::Records ? nullptr : intervals_.source(store_, range, resolution).series;
  const auto rows =
      series != nullptr ? series->intervals.size() : static_cast<std::size_t>(range.end - range.start);
  QProgressDialog progress(QStringLiteral("正在导出数据…"), QStringLiteral("取消"), 0, static_cast<int>(rows),
                           this);
  progress.setWindowModality(Qt::WindowModal);
  progress.setMinimumDuration(300);
  const RowProgress step = [&progress](std::size_t written) {
    progress.setValue(static_cast<int>(written));
    return !progress.wasCanceled();
  };
  static const char* const kSheets[] = {"记录", "1分钟值", "10分钟值"};
  static const char* const kIntervals[] = {"", "1分钟", "10分钟"};
  const char* sheet = kSheets[static_cast<int>(resolution)];
  WorkbookNotes notes = recordNotes(store_, range, {store_.fileName});
  notes.sheets = {{sheet, series != nullptr ? aggregatedSheetHolds(kIntervals[static_cast<int>(resolution)])
                                            : recordSheetHolds()}};
  file.addNotes(notes);
  TableWriter& table = file.table(sheet);
  const bool whole = series != nullptr ? writeAggregatedTable(*series, store_, table, TableHeadings::Chinese, step)
                                       : writeRecordTable(store_, range, table, TableHeadings::Chinese, step);
  // A cancel leaves nothing behind: the file is dropped uncommitted.
  if (!whole) return;
  progress.setValue(static_cast<int>(rows));
  if (!file.commit())
    prompter_.showError(this, QStringLiteral("数据无法导出：") + QString::fromStdString(file.error()));
}

void TrendPage::show(const TrendResult& result) {
  chart_->showResult(result);
  shown_ = {result.index, result.wiringMode};
  if (limitBox_->isChecked()) showLimitLines();
  if (!markedPeriods_.empty()) chart_->markPeriods(markedPeriods_);
  showExtras(result);
}

void TrendPage::showLimitLines() {
  if (!limitBox_->isChecked() || shown_.index == TrendIndex::None) {
    chart_->showLimitLines({});
    return;
  }
  // The set the assessment uses by default, which a survey is assessed against when it opens.
  if (!limits_) limits_ = loadLimitSet(defaultLimitSetFile()).set.limits;
  const SupplyVoltage supply = supplyVoltageOf(store_, shown_.wiringMode);
  switch (shown_.index) {
    case TrendIndex::VoltageDeviation:
      chart_->showLimitLines(deviationLimitLines(*limits_, supply));
      break;
    case TrendIndex::NegativeSequenceVoltage:
      chart_->showLimitLines(negativeSequenceLimitLines(*limits_, supply));
      break;
    case TrendIndex::Frequency:
      chart_->showLimitLines(frequencyLimitLines(*limits_));
      break;
    case TrendIndex::None:
      break;
  }
}

}  // namespace pq::history
