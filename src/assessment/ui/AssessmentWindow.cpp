#include "assessment/ui/AssessmentWindow.h"

#include <QComboBox>
#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include "assessment/AssessmentPages.h"
#include "assessment/AssessmentTables.h"
#include "assessment/AssessmentTexts.h"
#include "assessment/LimitSet.h"
#include "pages/ui/ReportPreview.h"
#include "pages/ui/ReportRendering.h"
#include "records/RecordStore.h"
#include "timerange/RecordSpan.h"
#include "timerange/ui/TimeRangePanel.h"
#include "ui/ButtonKeys.h"
#include "ui/ErrorReport.h"
#include "ui/NewFileChoice.h"
#include "ui/Prompter.h"
#include "ui/WindowPlacement.h"

namespace pq {

namespace {

QPushButton* addButton(QVBoxLayout& layout, const QString& text, QWidget* parent) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(text);
  layout.addWidget(button);
  return button;
}

}  // namespace

AssessmentWindow::AssessmentWindow(RecordStore& store, ui::Prompter& prompter, const Clock& clock, Tab tab,
                                   QWidget* parent)
    : AssessmentWindow(&store, std::nullopt, prompter, clock, tab, parent) {}

AssessmentWindow::AssessmentWindow(HeldAssessment held, ui::Prompter& prompter, const Clock& clock, Tab tab,
                                   QWidget* parent)
    : AssessmentWindow(nullptr, std::move(held), prompter, clock, tab, parent) {}

AssessmentWindow::AssessmentWindow(RecordStore* store, std::optional<HeldAssessment> held,
                                   ui::Prompter& prompter, const Clock& clock, Tab tab, QWidget* parent)
    : QDialog(parent),
      store_(store),
      held_(std::move(held)),
      prompter_(prompter),
      panel_(new history::TimeRangePanel(prompter, clock, history::TimeRangePanelSetup::otherPage(), this)),
      limitSets_(new QComboBox(this)),
      tabs_(new QTabWidget(this)),
      preview_(new ReportPreview(printer_.printer(), this)),
      events_(new QTableWidget(this)) {
  setWindowTitle(QStringLiteral("电能质量综合评估"));
  setWindowFlag(Qt::WindowMaximizeButtonHint);

  auto* limitGroup = new QGroupBox(QStringLiteral("限值"), this);
  auto* limitLayout = new QVBoxLayout(limitGroup);
  for (const LimitSetFile& set : shippedLimitSets())
    limitSets_->addItem(QString::fromStdString(set.name), QString::fromStdString(set.path.string()));
  limitSets_->setAccessibleName(QStringLiteral("限值"));
  // The names of the editions are long; the list shows them whole when it opens.
  limitSets_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  limitSets_->setMinimumContentsLength(18);
  limitLayout->addWidget(limitSets_);

  auto* outputGroup = new QGroupBox(QStringLiteral("输出"), this);
  auto* outputLayout = new QVBoxLayout(outputGroup);
  QPushButton* printButton = addButton(*outputLayout, QStringLiteral("打印"), this);
  QPushButton* pdfButton = addButton(*outputLayout, QStringLiteral("导出PDF"), this);
  QPushButton* workbookButton = addButton(*outputLayout, QStringLiteral("导出Excel"), this);
  QPushButton* wordButton = addButton(*outputLayout, QStringLiteral("导出Word"), this);
  QPushButton* closeButton = addButton(*outputLayout, QStringLiteral("关闭"), this);

  const QStringList headings = [] {
    QStringList list;
    for (const std::string& heading : eventListHeadings()) list << QString::fromStdString(heading);
    return list;
  }();
  events_->setColumnCount(static_cast<int>(headings.size()));
  events_->setHorizontalHeaderLabels(headings);
  events_->verticalHeader()->hide();
  events_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  events_->setSelectionBehavior(QAbstractItemView::SelectRows);
  events_->setSelectionMode(QAbstractItemView::SingleSelection);
  events_->horizontalHeader()->setStretchLastSection(true);
  // Wide enough for a time or a kind before the first assessment fills the list.
  events_->horizontalHeader()->setMinimumSectionSize(90);
  events_->setAccessibleName(QStringLiteral("事件列表"));
  tabs_->addTab(preview_, QStringLiteral("综合评估"));
  tabs_->addTab(events_, QStringLiteral("事件列表"));
  tabs_->setCurrentIndex(tab);

  auto* side = new QVBoxLayout;
  side->addWidget(limitGroup);
  side->addWidget(outputGroup);
  side->addStretch();
  auto* layout = new QGridLayout(this);
  layout->addWidget(tabs_, 0, 0);
  layout->addLayout(side, 0, 1, 2, 1);
  layout->addWidget(panel_, 1, 0);
  layout->setRowStretch(0, 1);
  layout->setColumnStretch(0, 1);
  resize(1100, 860);
  // The close button closes the window; Esc does the same.
  ui::keepKeysToFieldsAndButtons(*this, ui::EscapeKey::Closes);

  ui::connectReporting(panel_, &history::TimeRangePanel::queryRequested, this, prompter_, [this] { assess(); });
  ui::connectReporting(limitSets_, &QComboBox::currentIndexChanged, this, prompter_, [this] { assess(); });
  ui::connectReporting(printButton, &QPushButton::clicked, this, prompter_, [this] { print(); });
  ui::connectReporting(pdfButton, &QPushButton::clicked, this, prompter_, [this] { exportPdf(); });
  ui::connectReporting(workbookButton, &QPushButton::clicked, this, prompter_, [this] { exportWorkbook(); });
  ui::connectReporting(wordButton, &QPushButton::clicked, this, prompter_, [this] { exportWord(); });
  connect(closeButton, &QPushButton::clicked, this, &QDialog::accept);
  // A double-click, or Enter on the event.
  connect(events_, &QTableWidget::activated, this, [this](const QModelIndex& index) {
    const std::vector<VoltageEvent> listed = listedEvents(result_);
    const int row = index.row();
    if (row < 0 || row >= static_cast<int>(listed.size())) return;
    const VoltageEvent& event = listed[static_cast<std::size_t>(row)];
    emit eventChosen(event.start, event.lastRecord);
  });
}

AssessmentWindow::~AssessmentWindow() = default;

void AssessmentWindow::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (assessed_) return;
  ui::centreOnScreen(*this);
  assessed_ = true;
  panel_->reset();
  ui::runReportingErrors(prompter_, this, [this] { assess(); });
}

void AssessmentWindow::assess() {
  if (store_ != nullptr && !panel_->selectTimeRange(*store_)) return;
  // A survey's range is checked before its files are read again for it.
  std::optional<TimeWindow> surveyWindow;
  if (held_) {
    surveyWindow = panel_->chosenWindow();
    if (!surveyWindow) return;
  }
  const QString file = limitSets_->currentData().toString();
  const LoadedLimitSet loaded = loadListedLimitSet(file.isEmpty() ? defaultLimitSetFile() : std::filesystem::path(QFile::encodeName(file).toStdString()));
  for (const std::string& message : loaded.messages)
    prompter_.showWarning(this, QStringLiteral("限值"), QString::fromStdString(message));
  if (!loaded.refusal.empty()) {
    // No verdicts by a band the standard forbids, nor by another set than the one chosen: the page says why.
    result_ = AssessmentResult{};
    result_.refusal = loaded.refusal;
    result_.setup.limitSetName = limitSets_->currentText().toStdString();
    heading_ = store_ != nullptr ? assessmentHeadingOf(*store_) : held_->heading;
  } else if (store_ != nullptr) {
    // A chosen span takes the records by their own times; the other choices are spans of the store.
    const std::optional<TimeWindow> window = panel_->customWindow();
    const IndexRange range =
        window ? IndexRange{0, store_->recordCount()} : IndexRange{store_->rangeStart, store_->rangeEnd};
    const std::span<const MeasurementRecord> records = recordsOfRange(*store_, range);
    result_ = runAssessment(*store_, records, window.value_or(TimeWindow{}),
                            assessmentSetupOf(*store_, store_->records(), records, loaded.set.limits,
                                              loaded.set.name));
    heading_ = assessmentHeadingOf(*store_);
  } else if (!surveyWindow->from && !surveyWindow->to) {
    result_ = held_->judge(loaded.set.limits, loaded.set.name);
    heading_ = held_->heading;
  } else {
    std::optional<AssessmentResult> judged =
        held_->judgeWindow(loaded.set.limits, loaded.set.name, *surveyWindow, this);
    if (!judged) return;
    result_ = std::move(*judged);
    heading_ = held_->heading;
  }
  preview_->showPages(assessmentPages(result_, heading_));
  eventPages_ = eventListPages(result_, heading_);
  fillEvents();
  if (panel_->mode() == TimeRangeMode::ShowAll) {
    if (store_ != nullptr) panel_->showRangeInFields(*store_);
    if (held_) panel_->showSpanInFields(held_->first, held_->last);
  }
}

void AssessmentWindow::fillEvents() {
  const auto rows = eventListRows(result_);
  events_->setRowCount(static_cast<int>(rows.size()));
  for (std::size_t r = 0; r < rows.size(); ++r) {
    for (std::size_t c = 0; c < rows[r].size(); ++c) {
      events_->setItem(static_cast<int>(r), static_cast<int>(c),
                       new QTableWidgetItem(QString::fromStdString(rows[r][c])));
    }
  }
  events_->resizeColumnsToContents();
}

std::vector<ReportPage> AssessmentWindow::currentPages() const {
  return tabs_->currentIndex() == EventsTab ? eventPages_ : preview_->pages();
}

void AssessmentWindow::print() {
  const int pages = static_cast<int>(currentPages().size());
  if (prompter_.runPrintDialog(this, printer_.printer(), {1, pages})) printer_.print(currentPages(), this);
}

void AssessmentWindow::exportPdf() {
  const bool events = tabs_->currentIndex() == EventsTab;
  const QString path = ui::chooseNewFile(
      prompter_, this,
      {QStringLiteral("*.pdf (*.pdf)"), QStringLiteral("pdf"),
       events ? QStringLiteral("电压事件列表.pdf") : QStringLiteral("电能质量综合评估.pdf")},
      ui::ExistingFileAnswer::AskAgain);
  if (path.isEmpty()) return;
  std::string error;
  if (!writeReportPdf(QFile::encodeName(path).toStdString(), currentPages(), error))
    prompter_.showError(this, QStringLiteral("PDF 文件无法保存：") + QString::fromStdString(error));
}

void AssessmentWindow::exportWorkbook() {
  if (!result_.refusal.empty()) {
    prompter_.showError(this, QStringLiteral("未能评估：") + QString::fromStdString(result_.refusal));
    return;
  }
  const QString path = ui::chooseNewFile(
      prompter_, this,
      {QStringLiteral("*.xlsx (*.xlsx)"), QStringLiteral("xlsx"), QStringLiteral("电能质量综合评估.xlsx")},
      ui::ExistingFileAnswer::AskAgain);
  if (path.isEmpty()) return;
  std::string error;
  if (!writeAssessmentWorkbook(QFile::encodeName(path).toStdString(), result_, heading_, error))
    prompter_.showError(this, QStringLiteral("Excel 文件无法保存：") + QString::fromStdString(error));
}

// The report as an editable document that the customer's copy is made from; the event list is in it.
void AssessmentWindow::exportWord() {
  const QString path = ui::chooseNewFile(
      prompter_, this,
      {QStringLiteral("*.docx (*.docx)"), QStringLiteral("docx"), QStringLiteral("电能质量测试报告.docx")},
      ui::ExistingFileAnswer::AskAgain);
  if (path.isEmpty()) return;
  std::string error;
  if (!writeReportDocx(QFile::encodeName(path).toStdString(), assessmentDocument(result_, heading_), error))
    prompter_.showError(this, QString::fromStdString(error));
}

}  // namespace pq
