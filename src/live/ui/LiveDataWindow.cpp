#include "live/ui/LiveDataWindow.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>
#include <exception>

#include "charts/ui/ChartPicture.h"
#include "live/ui/LiveSpectrumPage.h"
#include "live/ui/LiveTableModel.h"
#include "live/ui/LiveWaveformChart.h"
#include "live/ui/LiveWaveformPage.h"
#include "serial/ui/DeviceSettingsDialog.h"
#include "ui/ButtonKeys.h"
#include "ui/ColumnFitting.h"
#include "ui/ErrorReport.h"
#include "ui/Prompter.h"
#include "ui/WindowPlacement.h"

namespace pq::live {

namespace {

using namespace OstrelComm32;

constexpr int kTimerInterval = 600;
constexpr std::array<int, LiveTable::kColumns> kColumnWidths{80, 88, 67, 137, 137, 135, 135, 133, 135};
constexpr int kCellPadding = 8;  // the view's text margins on both sides
const QString kPausedText = QStringLiteral("显示暂停,按【继续】 刷新");
const QString kRefreshingText = QStringLiteral("显示正常刷新... ... ");

}  // namespace

TForm10::TForm10(LivePage page, ui::Prompter& prompter, QWidget* parent, Options options)
    : QDialog(parent),
      prompter_(prompter),
      polling_(options.polling != nullptr ? *options.polling : programLivePolling()),
      device_(std::make_unique<TCommDevice>()),
      link_(*device_),
      timer_(new QTimer(this)) {
  setObjectName("Form10");
  setWindowTitle(QStringLiteral("实时数据"));
  resize(1100, 780);

  pages_ = new QTabWidget(this);
  pages_->setObjectName("PageControl1");
  pages_->addTab(buildValuesPage(), QStringLiteral("实时数据"));
  waveformPage_ = new LiveWaveformPage(pages_);
  pages_->addTab(waveformPage_, QStringLiteral("波形显示"));
  spectrumPage_ = new LiveSpectrumPage(pages_);
  pages_->addTab(spectrumPage_, QStringLiteral("频谱分析"));
  pages_->setCurrentIndex(static_cast<int>(page));

  auto* status = new QStatusBar(this);
  status->setSizeGripEnabled(false);
  linkStatus_ = new QLabel(status);
  refreshStatus_ = new QLabel(kRefreshingText, status);
  status->addWidget(linkStatus_, 1);
  status->addWidget(refreshStatus_, 1);

  // On a screen lower than the pages' side columns the pages scroll rather than run off the screen.
  auto* scroller = new QScrollArea(this);
  scroller->setFrameShape(QFrame::NoFrame);
  scroller->setWidgetResizable(true);
  scroller->setWidget(pages_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(scroller, 1);
  layout->addWidget(buildControls());
  layout->addWidget(status);

  ui::connectReporting(pages_, &QTabWidget::currentChanged, this, prompter_,
                       [this] { preparePage(pages_->currentIndex()); });
  ui::connectReporting(&waveformPage_->saveButton(), &QPushButton::clicked, this, prompter_, [this] {
    history::saveChartPicture(prompter_, this, waveformPage_->chart(), QString(), QStringLiteral("波形图"));
  });
  ui::connectReporting(&waveformPage_->printButton(), &QPushButton::clicked, this, prompter_,
                       [this] { history::printChartPicture(waveformPage_->chart()); });

  openDevice(
      options.portNo,
      options.settingsDialog ? options.settingsDialog : [&prompter](TCommDevice& device, QWidget* owner) {
        return SettingsDialog(device, owner, true, prompter);
      });
  timer_->setInterval(kTimerInterval);
  ui::connectReporting(timer_, &QTimer::timeout, this, prompter_, [this] { Timer1Timer(); });
  if (!endsProgram_) timer_->start();
  // No button closes the window, only its close box: Esc must not stop the polling by the way.
  ui::keepKeysToFieldsAndButtons(*this, ui::EscapeKey::Ignored);
}

TForm10::~TForm10() = default;

void TForm10::openDevice(int portNo, const SettingsDialogRunner& settingsDialog) {
  TCommDevice& device = *device_;
  device.SetPortNo(portNo);
  device.SetBaud(br9600);
  device.SetInBufSize(8192);
  device.SetOutBufSize(8192);
  device.SetHwInSize(1200);
  device.SetHwOutSize(1200);
  device.SetQueueSize(16);
  try {
    device.SetActive(true);
  } catch (const std::exception& error) {
    prompter_.showMessage(this, QStringLiteral("CommDevice1: ") + QString::fromUtf8(error.what()));
    if (!settingsDialog(device, this)) {
      endsProgram_ = true;
      return;
    }
  }
  device.SetPackageSize(4096);
  device.SetPackageType(cptFrameTimeout);
  device.SetUsePackage(true);
}

QWidget* TForm10::buildValuesPage() {
  model_ = new LiveTableModel(table_, this);
  grid_ = new QTableView(this);
  grid_->setObjectName("StringGrid1");
  grid_->setAccessibleName(QStringLiteral("实时数据"));
  grid_->setModel(model_);
  grid_->horizontalHeader()->hide();
  grid_->verticalHeader()->hide();
  grid_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  grid_->verticalHeader()->setDefaultSectionSize(20);
  for (int column = 0; column < LiveTable::kColumns; ++column) {
    grid_->setColumnWidth(column, kColumnWidths[static_cast<std::size_t>(column)]);
  }
  grid_->setWordWrap(false);
  grid_->setSelectionMode(QAbstractItemView::SingleSelection);
  grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  // Primary values of a high-voltage line are longer than the usual widths allow.
  fitting_ = std::make_unique<ui::ColumnFitting>(*grid_, kCellPadding);
  return grid_;
}

QWidget* TForm10::buildControls() {
  auto* controls = new QWidget(this);
  auto* options = new QGroupBox(QStringLiteral("数据选项"), controls);
  auto* secondary = new QRadioButton(QStringLiteral("二次数据"), options);
  secondary->setObjectName("RadioButton1");
  secondary->setChecked(true);
  primary_ = new QRadioButton(QStringLiteral("一次数据"), options);
  primary_->setObjectName("RadioButton2");
  auto* optionsLayout = new QHBoxLayout(options);
  optionsLayout->addWidget(secondary);
  optionsLayout->addWidget(primary_);

  auto* display = new QGroupBox(QStringLiteral("显示控制"), controls);
  pause_ = new QPushButton(QStringLiteral("暂    停"), display);
  pause_->setObjectName("Btn_Pause");
  continue_ = new QPushButton(QStringLiteral("继    续"), display);
  continue_->setObjectName("Btn_Continue");
  auto* displayLayout = new QHBoxLayout(display);
  displayLayout->addWidget(pause_);
  displayLayout->addWidget(continue_);
  ui::connectReporting(pause_, &QPushButton::clicked, this, prompter_, [this] { Btn_PauseClick(); });
  ui::connectReporting(continue_, &QPushButton::clicked, this, prompter_, [this] { Btn_ContinueClick(); });

  auto* layout = new QHBoxLayout(controls);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(options);
  layout->addWidget(display);
  layout->addStretch();
  return controls;
}

void TForm10::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (shown_) return;
  shown_ = true;
  ui::centreOnScreen(*this);
  preparePage(pages_->currentIndex());
}

void TForm10::preparePage(int page) {
  switch (static_cast<LivePage>(page)) {
    case LivePage::values:
      table_.writeHeadings();
      showTableTexts();
      break;
    case LivePage::waveform:
      polling_.clearSamples();
      waveformPage_->reset(polling_.samples(), polling_.measurement());
      break;
    case LivePage::spectrum:
      spectrumPage_->redraw(polling_.measurement());
      break;
  }
}

void TForm10::showTableTexts() {
  model_->refresh();
  for (int column = 0; column < LiveTable::kColumns; ++column)
    for (int row = 0; row < LiveTable::kRows; ++row)
      fitting_->fit(column, QString::fromStdString(table_.text(row, column)));
}

LivePage TForm10::shownPage() const { return static_cast<LivePage>(pages_->currentIndex()); }

void TForm10::Timer1Timer() {
  const TickResult result = polling_.tick(shownPage(), link_);
  if (result.status) {
    linkStatus_->setText(
        QString::fromUtf8(*result.status == LinkStatus::normal ? kLinkNormalText : kLinkErrorText));
  }
  const LiveMeasurement& m = polling_.measurement();
  if (result.measurementAccepted) {
    table_.fill(m, primary_->isChecked() ? LiveDataMode::primary : LiveDataMode::secondary);
    showTableTexts();
    waveformPage_->showDistortion(m);
    if (shownPage() == LivePage::spectrum) spectrumPage_->redraw(m);
  }
  if (result.waveformAccepted) waveformPage_->redraw(polling_.samples(), m);
}

void TForm10::Btn_PauseClick() {
  timer_->stop();
  refreshStatus_->setText(kPausedText);
}

void TForm10::Btn_ContinueClick() {
  timer_->start();
  refreshStatus_->setText(kRefreshingText);
}

QString TForm10::statusText(int panel) const { return (panel == 0 ? linkStatus_ : refreshStatus_)->text(); }

}  // namespace pq::live
