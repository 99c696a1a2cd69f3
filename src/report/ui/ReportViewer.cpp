#include "report/ui/ReportViewer.h"

#include <QApplication>
#include <QFile>
#include <QScreen>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "pages/ui/ReportPreview.h"
#include "report/ReportFile.h"
#include "report/ui/ReportFileCommands.h"
#include "report/ui/ReportToolPictures.h"
#include "ui/ButtonKeys.h"
#include "ui/ErrorReport.h"
#include "ui/Prompter.h"

namespace pq {

namespace {

constexpr int kToolSize = 32;

}  // namespace

ReportViewer::ReportViewer(std::vector<ReportPage> pages, ui::Prompter& prompter, QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint),
      prompter_(prompter) {
  setWindowTitle(QStringLiteral("Print Preview"));
  QSize size(900, 1000);
  if (const QScreen* screen = QApplication::primaryScreen()) size = size.boundedTo(screen->availableSize());
  resize(size);
  auto* bar = new QToolBar(this);
  bar->setObjectName(QStringLiteral("ToolBar1"));
  bar->setIconSize(QSize(kToolSize, kToolSize));
  preview_ = new ReportPreview(printer_.printer(), this);
  preview_->setObjectName(QStringLiteral("Preview"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(bar);
  layout->addWidget(preview_, 1);

  using T = ReportTool;
  addTool(*bar, T::ZoomToFit, QStringLiteral("Zoom to fit"), [this] { preview_->fitInView(); });
  addTool(*bar, T::ActualSize, QStringLiteral("100 %"), [this] { preview_->setZoomPercent(100); });
  addTool(*bar, T::ZoomToWidth, QStringLiteral("Zoom to width"), [this] { preview_->fitToWidth(); });
  bar->addSeparator();
  addTool(*bar, T::FirstPage, QStringLiteral("First page"), [this] { preview_->setCurrentPage(1); });
  addTool(*bar, T::PreviousPage, QStringLiteral("Previous page"),
          [this] { preview_->setCurrentPage(preview_->currentPage() - 1); });
  addTool(*bar, T::NextPage, QStringLiteral("Next page"),
          [this] { preview_->setCurrentPage(preview_->currentPage() + 1); });
  addTool(*bar, T::LastPage, QStringLiteral("Last page"),
          [this] { preview_->setCurrentPage(preview_->pageCount()); });
  bar->addSeparator();
  addTool(*bar, T::PrinterSetup, QStringLiteral("Printer Setup"), [this] { printerSetup(); });
  addTool(*bar, T::Print, QStringLiteral("Print"), [this] { printer_.print(preview_->pages(), this); });
  addTool(*bar, T::SaveReport, QStringLiteral("Save Report"),
          [this] { saveReportAs(prompter_, this, preview_->pages()); });
  addTool(*bar, T::OpenReport, QStringLiteral("Load Report"), [this] { loadReport(); });
  bar->addSeparator();
  addTool(*bar, T::Close, QStringLiteral("Close"), [this] { accept(); });

  preview_->showPages(std::move(pages));
  // Closed by its Close command or its close box, as the report window.
  ui::keepKeysToFieldsAndButtons(*this, ui::EscapeKey::Ignored);
}

ReportViewer::~ReportViewer() = default;

void ReportViewer::addTool(QToolBar& bar, ReportTool tool, const QString& hint,
                           std::function<void()> action) {
  QAction* command = bar.addAction(QIcon(reportToolPicture(tool, kToolSize)), hint);
  command->setObjectName(QStringLiteral("tool:") + hint);
  ui::connectReporting(command, &QAction::triggered, this, prompter_, std::move(action));
  if (auto* button = qobject_cast<QToolButton*>(bar.widgetForAction(command))) {
    button->setFocusPolicy(Qt::StrongFocus);
  }
}

void ReportViewer::printerSetup() {
  const int pages = static_cast<int>(preview_->pages().size());
  if (prompter_.runPrintDialog(this, printer_.printer(), {1, pages})) printer_.print(preview_->pages(), this);
}

void ReportViewer::loadReport() {
  if (auto pages = chooseReportFile(prompter_, this)) preview_->showPages(std::move(*pages));
}

void viewReportFile(const QString& path, ui::Prompter& prompter, QWidget* parent) {
  ReportViewer viewer(loadReportFile(QFile::encodeName(path).toStdString()), prompter, parent);
  viewer.exec();
}

}  // namespace pq
