#include "report/ui/ReportWindow.h"

#include <QApplication>
#include <QScopeGuard>
#include <QScreen>
#include <QToolButton>
#include <QVBoxLayout>

#include "pages/ui/ReportPreview.h"
#include "report/ReportMessages.h"
#include "report/ui/ReportFileCommands.h"
#include "report/ui/ReportToolPictures.h"
#include "report/ui/ReportViewer.h"
#include "ui/BusyAnimation.h"
#include "ui/ButtonKeys.h"
#include "ui/ErrorReport.h"
#include "ui/Prompter.h"

namespace pq {

namespace {

constexpr int kToolBarHeight = 60;
constexpr int kToolSize = 50;
constexpr char kPdfPrinterName[] = "Smart Print";

// The print settings of the page template: one copy; the voltage page prints all pages without
// duplex, the current page asks for duplex printing of page 1 to page 1.
void useTemplateOf(QPrinter& printer, ReportQuantity quantity) {
  printer.setCopyCount(1);
  printer.setPaperSource(QPrinter::Auto);
  if (quantity == ReportQuantity::Voltage) {
    printer.setDuplex(QPrinter::DuplexNone);
    printer.setPrintRange(QPrinter::AllPages);
  } else {
    printer.setDuplex(QPrinter::DuplexAuto);
    printer.setPrintRange(QPrinter::PageRange);
    printer.setFromTo(1, 1);
  }
}

}  // namespace

TForm14::TForm14(ui::Prompter& prompter, bool& windowOpen, std::function<void(ReportKind)> phaseRequested,
                 QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint),
      prompter_(prompter),
      windowOpen_(windowOpen),
      phaseRequested_(std::move(phaseRequested)) {
  windowOpen_ = true;
  setWindowTitle(QStringLiteral("Form14"));
  resize(1175, 935);
  if (const QScreen* screen = QApplication::primaryScreen()) setGeometry(screen->availableGeometry());

  toolBar_ = new QWidget(this);
  toolBar_->setObjectName(QStringLiteral("ToolBar1"));
  toolBar_->setFixedHeight(kToolBarHeight);
  preview_ = new ReportPreview(printer_.printer(), this);
  preview_->setObjectName(QStringLiteral("Preview"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(toolBar_);
  layout->addWidget(preview_, 1);

  addTool(reportToolPicture(ReportTool::OpenReport, kToolSize), QStringLiteral("Open Report"), 0,
          [this] { openReport(); });
  addTool(reportToolPicture(ReportTool::SaveReport, kToolSize), QStringLiteral("Save Report"), 50,
          [this] { saveReport(); });
  addTool(reportToolPicture(ReportTool::ExportPdf, kToolSize), QStringLiteral("Export  PDF"), 100,
          [this] { exportPdf(); });
  addTool(reportToolPicture(ReportTool::ExportSheet, kToolSize), {}, 150, [this] {
    exportSpreadsheet();
  })->setObjectName(QStringLiteral("tool:ExportSheet"));
  addTool(reportToolPicture(ReportTool::Print, kToolSize), QStringLiteral("Print"), 205, [this] { print(); });
  addTool(reportToolPicture(ReportTool::PrinterSetup, kToolSize), QStringLiteral("Printer Setup"), 255,
          [this] { printerSetup(); });
  addTool(reportToolPicture(ReportTool::ZoomIn, kToolSize), QStringLiteral("ZoomIn"), 310,
          [this] { preview_->stepZoomIn(); });
  addTool(reportToolPicture(ReportTool::ZoomOut, kToolSize), QStringLiteral("ZoomOut"), 360,
          [this] { preview_->stepZoomOut(); });
  addTool(reportToolPicture(ReportTool::ZoomToWidth, kToolSize), QStringLiteral("Zoom to width"), 410,
          [this] { preview_->fitToWidth(); });
  addTool(reportToolPicture(ReportTool::ZoomToFit, kToolSize), QStringLiteral("Zoom to fit"), 460,
          [this] { preview_->fitInView(); });
  for (std::size_t i = 0; i < kReportKinds.size(); ++i) {
    const ReportKind kind = kReportKinds[i];
    const QString name = QString::fromStdString(kind.name());
    QToolButton* button = addTool(phaseToolPicture(name, kToolSize), name + QStringLiteral("  Report"),
                                  515 + 50 * static_cast<int>(i), [this, kind] { phaseRequested_(kind); });
    button->setText(name);
  }
  addTool(reportToolPicture(ReportTool::Close, kToolSize), {}, 820, [this] {
    closeButton();
  })->setObjectName(QStringLiteral("tool:Close"));

  busy_ = new ui::BusyAnimation(QSize(272, 50), toolBar_);
  busy_->setObjectName(QStringLiteral("Animate1"));
  busy_->move(880, (kToolBarHeight - 50) / 2);
  // The report goes with the window: only its close button closes it.
  ui::keepKeysToFieldsAndButtons(*this, ui::EscapeKey::Ignored);
}

TForm14::~TForm14() = default;

QToolButton* TForm14::addTool(const QPixmap& picture, const QString& hint, int x,
                              std::function<void()> action) {
  auto* button = new QToolButton(toolBar_);
  button->setObjectName(QStringLiteral("tool:") + hint);
  button->setIcon(QIcon(picture));
  button->setIconSize(QSize(kToolSize - 6, kToolSize - 6));
  button->setGeometry(x, (kToolBarHeight - kToolSize) / 2, kToolSize, kToolSize);
  button->setToolTip(hint);
  button->setAccessibleName(hint);
  button->setAutoRaise(true);
  button->setFocusPolicy(Qt::StrongFocus);
  ui::connectReporting(button, &QToolButton::clicked, this, prompter_, std::move(action));
  return button;
}

void TForm14::showReport(ReportPage page, ReportKind kind) {
  page_ = std::move(page);
  kind_ = kind;
  useTemplateOf(printer_.printer(), kind.quantity);
  preview_->showPages({page_});
}

void TForm14::openReport() {
  if (auto pages = chooseReportFile(prompter_, this)) {
    ReportViewer viewer(std::move(*pages), prompter_, this);
    viewer.exec();
  }
}

void TForm14::saveReport() { saveReportAs(prompter_, this, {page_}); }

void TForm14::exportPdf() {
  if (!printer_.selectPrinter(QString::fromLatin1(kPdfPrinterName))) {
    prompter_.showStop(this, QString::fromUtf8(messages::kNoSuchPrinterCaption),
                       QString::fromUtf8(messages::kNoSuchPrinter));
    return;
  }
  // Also when the print fails to the error report: the current printer comes back.
  const auto restore = qScopeGuard([this] { printer_.selectSystemPrinter(); });
  printer_.print({page_}, this);
}

void TForm14::exportSpreadsheet() {
  const QString path = chooseSpreadsheetFile(prompter_, this);
  if (path.isEmpty()) return;
  busy_->start();
  bool created = false;
  {
    // A failure past the creation of the file throws to the error report; the animation stops first.
    const auto stopBusy = qScopeGuard([this] { busy_->stop(); });
    created = writeReportSpreadsheet(path, page_, kind_.quantity);
  }
  if (!created) {
    prompter_.showStop(this, QString::fromUtf8(messages::kSpreadsheetFailedCaption),
                       QString::fromUtf8(messages::kSpreadsheetFailed));
    return;
  }
  prompter_.showInformation(this, QString::fromUtf8(messages::kSpreadsheetDoneCaption),
                            QString::fromUtf8(messages::kSpreadsheetDone));
}

void TForm14::print() { printer_.print({page_}, this); }

void TForm14::printerSetup() {
  const int pages = static_cast<int>(preview_->pages().size());
  if (prompter_.runPrintDialog(this, printer_.printer(), {1, pages})) print();
}

void TForm14::closeButton() {
  windowOpen_ = false;
  accept();
}

}  // namespace pq
