#include "history/ui/HistoryWindow.h"

#include <QEvent>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

#include "history/ui/ComponentTrendPage.h"
#include "history/ui/DeviationTrendPage.h"
#include "history/ui/HarmonicTrendPage.h"
#include "history/ui/PowerTrendPage.h"
#include "history/ui/RecordBrowserPage.h"
#include "timerange/ui/TimeRangePanel.h"
#include "ui/ButtonKeys.h"
#include "ui/ErrorReport.h"
#include "ui/WindowPlacement.h"

namespace pq {

TForm4::TForm4(RecordStore& store, ui::Prompter& prompter, const Clock& clock, int page, QWidget* parent)
    : QDialog(parent),
      prompter_(prompter),
      PageControl1(new QTabWidget(this)),
      browser_(new history::RecordBrowserPage(store, prompter, PageControl1)) {
  setWindowTitle(QStringLiteral("历史数据查阅"));
  setFixedSize(1005, 733);
  PageControl1->setObjectName(QStringLiteral("PageControl1"));
  trendPages_[0] = new history::HarmonicTrendPage(store, prompter, clock, PageControl1);
  trendPages_[1] = new history::ComponentTrendPage(store, prompter, clock, PageControl1);
  trendPages_[2] = new history::DeviationTrendPage(store, prompter, clock, PageControl1);
  trendPages_[3] = new history::PowerTrendPage(store, prompter, clock, PageControl1);
  PageControl1->addTab(browser_, QStringLiteral("记录查阅"));
  for (int i = 0; i < 4; ++i)
    PageControl1->addTab(trendPages_[i], QString::fromUtf8(history::kTrendPageCaptions[i]));
  PageControl1->setCurrentIndex(std::clamp(page, 0, PageControl1->count() - 1));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->addWidget(PageControl1);

  ui::connectReporting(PageControl1, &QTabWidget::currentChanged, this, prompter_,
                       [this] { enterPage(PageControl1->currentIndex()); });
  // The last record gone, the other pages have nothing to show and cannot be switched to.
  connect(browser_, &history::RecordBrowserPage::lastRecordGone, this,
          [this] { PageControl1->setEnabled(false); });
  // The window has no button that closes it; its close box does.
  ui::keepKeysToFieldsAndButtons(*this, ui::EscapeKey::Ignored);
}

history::TrendPage& TForm4::trendPage(int page) const { return *trendPages_[page - HarmonicTrend]; }

void TForm4::changeEvent(QEvent* event) {
  QDialog::changeEvent(event);
  if (event->type() != QEvent::ActivationChange || !isActiveWindow()) return;
  ui::centreOnScreen(*this);
  // The entry action runs when the window first becomes active only: a message box closing
  // activates the window again, and must not send the browser back to the first record.
  if (entered_) return;
  entered_ = true;
  PageControl1->setEnabled(true);
  ui::runReportingErrors(prompter_, this, [this] { enterPage(PageControl1->currentIndex()); });
}

void TForm4::enterPage(int index) {
  if (index == Browser) {
    browser_->enterBrowserPage();
  } else {
    trendPage(index).enter();
    if (entryRange_) {
      const auto range = *std::exchange(entryRange_, std::nullopt);
      trendPage(index).panel().queryCustomRange(range.first, range.second);
    }
  }
}

}  // namespace pq
