#include "survey/ui/SurveyWindow.h"

#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>
#include <utility>

#include "assessment/AssessmentTexts.h"
#include "assessment/ui/AssessmentWindow.h"
#include "base/TextCodec.h"
#include "survey/SurveyMessages.h"
#include "survey/SurveyTables.h"
#include "survey/ui/SurveyProgressWindow.h"
#include "survey/ui/SurveyTrendPage.h"
#include "timerange/EpochSeconds.h"
#include "ui/ButtonKeys.h"
#include "ui/ErrorReport.h"
#include "ui/NewFileChoice.h"
#include "ui/Prompter.h"

namespace pq {

namespace {

QString qt(const std::string& text) { return QString::fromStdString(text); }

QString timeText(const std::optional<std::int64_t>& seconds) {
  return seconds ? qt(epochTimeText(*seconds)) : QStringLiteral("-");
}

// A note names its file first; in the file's own row that name is said already.
QString withoutPath(const std::string& note, const std::string& path) {
  const std::string prefix = path + "：";
  return qt(note.compare(0, prefix.size(), prefix) == 0 ? note.substr(prefix.size()) : note);
}

QTableWidget* newTable(const QStringList& headings, QWidget* parent) {
  auto* table = new QTableWidget(0, static_cast<int>(headings.size()), parent);
  table->setHorizontalHeaderLabels(headings);
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table->setSelectionBehavior(QAbstractItemView::SelectRows);
  table->setSelectionMode(QAbstractItemView::SingleSelection);
  table->verticalHeader()->setVisible(false);
  table->horizontalHeader()->setStretchLastSection(true);
  return table;
}

// Room either side of the widest text, which the contents' width alone leaves tight.
void fitColumns(QTableWidget& table) {
  constexpr int kPadding = 12;
  table.resizeColumnsToContents();
  for (int column = 0; column < table.columnCount(); ++column)
    table.setColumnWidth(column, table.columnWidth(column) + kPadding);
}

// A file's day: that of the middle of its records, so that a file begun a few minutes before
// midnight counts for the day it records.
QString dayText(const SurveyFile& file) {
  if (!file.first || !file.last) return QStringLiteral("-");
  return qt(epochTimeText(*file.first + (*file.last - *file.first) / 2)).left(10);
}

// The times of the survey's first and last dated record; the files are in time order, those without a
// dated record at the end.
std::pair<std::optional<std::int64_t>, std::optional<std::int64_t>> spanOf(const Survey& survey) {
  std::optional<std::int64_t> first;
  std::optional<std::int64_t> last;
  for (const SurveyFile& file : survey.files) {
    if (!first) first = file.first;
    if (file.last) last = file.last;
  }
  return {first, last};
}

// The trend pages' side columns are taller than a small screen leaves them: they scroll there.
QScrollArea* scrolling(survey::SurveyTrendPage* page) {
  auto* area = new QScrollArea;
  area->setFrameShape(QFrame::NoFrame);
  area->setWidgetResizable(true);
  area->setWidget(page);
  return area;
}

void setRow(QTableWidget& table, int row, const QStringList& cells) {
  for (int column = 0; column < cells.size(); ++column)
    table.setItem(row, column, new QTableWidgetItem(cells[column]));
}

}  // namespace

SurveyWindow::SurveyWindow(OpenedSurvey opened, ui::Prompter& prompter, const Clock& clock, QWidget* parent)
    : QDialog(parent),
      opened_(std::move(opened)),
      prompter_(prompter),
      clock_(clock),
      summary_(new QLabel(this)),
      tabs_(new QTabWidget(this)),
      files_(newTable({QStringLiteral("文件"), QStringLiteral("第一条记录"), QStringLiteral("最后一条记录"),
                       QStringLiteral("记录数"), QStringLiteral("未计入"), QStringLiteral("损坏")},
                      this)),
      days_(newTable({QStringLiteral("日期"), QStringLiteral("第一条记录"), QStringLiteral("最后一条记录"),
                      QStringLiteral("文件")},
                     this)),
      gaps_(new QListWidget(this)),
      notes_(new QListWidget(this)) {
  setWindowTitle(QStringLiteral("测量任务"));
  setObjectName("SurveyWindow");
  summary_->setObjectName("summary");
  tabs_->setObjectName("tabs");
  files_->setObjectName("files");
  days_->setObjectName("days");
  gaps_->setObjectName("gaps");
  notes_->setObjectName("notes");

  fillFiles();
  fillDays();
  fillGaps();
  fillNotes();
  tabs_->addTab(files_, QStringLiteral("文件"));
  tabs_->addTab(days_, QStringLiteral("日期"));
  tabs_->addTab(gaps_, QStringLiteral("数据间断（%1）").arg(gaps_->count()));
  tabs_->addTab(notes_, QStringLiteral("提示（%1）").arg(notes_->count()));
  tabs_->addTab(scrolling(new survey::SurveyTrendPage(survey(), prompter_)), QStringLiteral("趋势"));

  auto* assessButton = new QPushButton(QStringLiteral("综合评估"), this);
  assessButton->setObjectName(assessButton->text());
  auto* exportButton = new QPushButton(QStringLiteral("导出数据"), this);
  exportButton->setObjectName(exportButton->text());
  auto* head = new QHBoxLayout;
  head->addWidget(summary_, 1);
  head->addWidget(assessButton);
  head->addWidget(exportButton);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(head);
  layout->addWidget(tabs_);
  ui::connectReporting(assessButton, &QPushButton::clicked, this, prompter_, [this] { openAssessment(); });
  ui::connectReporting(exportButton, &QPushButton::clicked, this, prompter_, [this] { exportData(); });
  connect(days_, &QTableWidget::activated, this,
          [this](const QModelIndex& index) { chooseDay(index.row()); });
  resize(1100, 760);
  ui::keepKeysToFieldsAndButtons(*this, ui::EscapeKey::Closes);
}

void SurveyWindow::fillFiles() {
  const Survey& survey = opened_.assessed.survey;
  long long records = 0;
  files_->setRowCount(static_cast<int>(survey.files.size()));
  for (int row = 0; row < files_->rowCount(); ++row) {
    const SurveyFile& file = survey.files[row];
    records += file.records - file.skipped;
    QStringList damage;
    for (const auto& note : file.damage) damage << withoutPath(note, file.path);
    setRow(*files_, row,
           {qt(file.path), timeText(file.first), timeText(file.last), QString::number(file.records),
            QString::number(file.skipped), damage.join(QStringLiteral("；"))});
  }
  fitColumns(*files_);

  const auto [first, last] = spanOf(survey);
  summary_->setText(QStringLiteral("变电站：%1　测量点：%2　%3 个文件，%4 至 %5，计入 %6 条记录")
                        .arg(qt(gbkToUtf8(survey.identity.substationName)),
                             qt(gbkToUtf8(survey.identity.measuringPointName)))
                        .arg(survey.files.size())
                        .arg(timeText(first), timeText(last))
                        .arg(records));
}

void SurveyWindow::fillDays() {
  const Survey& survey = opened_.assessed.survey;
  days_->setRowCount(static_cast<int>(survey.files.size()));
  for (int row = 0; row < days_->rowCount(); ++row) {
    const SurveyFile& file = survey.files[row];
    setRow(*days_, row,
           {dayText(file), timeText(file.first), timeText(file.last), QFileInfo(qt(file.path)).fileName()});
    days_->item(row, 0)->setData(Qt::UserRole, qt(file.path));
    days_->item(row, 3)->setToolTip(qt(file.path));
  }
  fitColumns(*days_);
}

void SurveyWindow::fillGaps() {
  for (const RecordGap& gap : survey().gaps) gaps_->addItem(qt(gapText(gap)));
}

void SurveyWindow::fillNotes() {
  for (const auto& text : opened_.plan.leftOut) notes_->addItem(qt(text));
  for (const auto& text : opened_.plan.mismatches) notes_->addItem(qt(text));
  for (const auto& text : survey().leftOut) notes_->addItem(qt(text));
  for (const SurveyFile& file : survey().files) {
    if (file.overlapping > 0) notes_->addItem(qt(messages::surveyOverlapping(file.path, file.overlapping)));
    if (file.skipped > file.overlapping)
      notes_->addItem(qt(messages::surveyOutOfOrder(file.path, file.skipped - file.overlapping)));
    for (const auto& text : file.damage) notes_->addItem(qt(text));
  }
}

void SurveyWindow::chooseDay(int row) {
  const QString path = days_->item(row, 0)->data(Qt::UserRole).toString();
  // The import would call a file that is gone an empty one.
  if (!QFileInfo::exists(path)) {
    prompter_.showWarning(this, QStringLiteral("载入文件"),
                          qt(messages::surveyDayFileGone(path.toStdString())));
    return;
  }
  emit dayChosen(path);
}

void SurveyWindow::openAssessment() {
  const AssessedSurvey& assessed = opened_.assessed;
  const auto [first, last] = spanOf(survey());
  HeldAssessment held{
      assessed.heading, first.value_or(0), last.value_or(0),
      [&assessed](const AssessmentLimits& limits, const std::string& name) {
        return reassessSurvey(assessed, limits, name);
      },
      [this](const AssessmentLimits& limits, const std::string& name, const TimeWindow& window,
             QWidget* parent) { return assessPart(limits, name, window, parent); }};
  AssessmentWindow window(std::move(held), prompter_, clock_, AssessmentWindow::AssessmentTab, this);
  connect(&window, &AssessmentWindow::eventChosen, this, [this, &window](std::int64_t from, std::int64_t to) {
    ui::runReportingErrors(prompter_, &window, [&] { openTrendAround(from, to, window); });
  });
  window.exec();
  part_.reset();
}

std::optional<AssessmentResult> SurveyWindow::assessPart(const AssessmentLimits& limits,
                                                         const std::string& name, const TimeWindow& window,
                                                         QWidget* parent) {
  // The part read last is judged again for another limit set without reading its files again.
  if (part_ && part_->from == window.from && part_->to == window.to)
    return reassessSurvey(part_->assessed, limits, name);
  SurveyPlan plan = opened_.plan;
  plan.from = window.from;
  plan.to = window.to;
  SurveyProgressWindow progress(
      [&](SurveyListener& listener) { return assessSurvey(plan, listener, limits, name); }, parent);
  std::optional<AssessedSurvey> assessed = progress.run();
  if (!assessed) return std::nullopt;
  AssessmentResult result = assessed->result;
  part_ = AssessedPart{window.from, window.to, std::move(*assessed)};
  return result;
}

void SurveyWindow::openTrendAround(std::int64_t first, std::int64_t last, QWidget& parent) {
  QDialog trend(&parent);
  trend.setWindowTitle(QStringLiteral("测量任务 — 趋势"));
  auto* page = new survey::SurveyTrendPage(survey(), prompter_);
  auto* layout = new QVBoxLayout(&trend);
  layout->addWidget(scrolling(page));
  page->showAround(AssessmentWindow::kTrendMarginSeconds, first, last);
  trend.resize(parent.size());
  ui::keepKeysToFieldsAndButtons(trend, ui::EscapeKey::Closes);
  trend.exec();
}

void SurveyWindow::exportData() {
  const QString path = ui::chooseNewFile(
      prompter_, this,
      {QStringLiteral("Excel 工作簿 (*.xlsx);;1 分钟值 CSV (*.csv)"), QStringLiteral("xlsx"),
       QStringLiteral("测量任务.xlsx")},
      ui::ExistingFileAnswer::AskAgain);
  if (path.isEmpty()) return;
  const std::string target = QFile::encodeName(path).toStdString();
  std::string error;
  const bool written = path.endsWith(QStringLiteral(".xlsx"), Qt::CaseInsensitive)
                           ? writeSurveyWorkbook(target, survey(), TableHeadings::Chinese, error)
                           : writeSurveyValues(target, survey(), Resolution::OneMinute, TableHeadings::Chinese, error);
  if (!written) prompter_.showError(this, QStringLiteral("数据无法保存：") + qt(error));
}

}  // namespace pq
