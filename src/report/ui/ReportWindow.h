#pragma once

#include <QDialog>
#include <functional>

#include "pages/ReportPage.h"
#include "pages/ui/ReportPrinter.h"
#include "statistics/ReportKind.h"

class QToolButton;

namespace pq {

class ReportPreview;
namespace ui {
class BusyAnimation;
class Prompter;
}  // namespace ui

// The report window (TForm14): the current report in an embedded preview and one toolbar for all
// that can be done with it. It is created by the report flow, which shows the pages it builds here;
// a phase button hands its kind to `phaseRequested` (the flow then refreshes this window).
// `windowOpen` is the flow's "report window open" flag: set on creation, cleared by the close
// button.
class TForm14 : public QDialog {
  Q_OBJECT

 public:
  TForm14(ui::Prompter& prompter, bool& windowOpen, std::function<void(ReportKind)> phaseRequested,
          QWidget* parent = nullptr);
  ~TForm14() override;

  // Makes `page`, the built page of a report of `kind`, the current report and shows it from page
  // 1 on; the print settings become those of its page template.
  void showReport(ReportPage page, ReportKind kind);
  const ReportPage& currentPage() const { return page_; }
  ReportKind currentKind() const { return kind_; }
  ReportPreview& preview() { return *preview_; }
  ReportPrinter& printer() { return printer_; }

 private:
  QToolButton* addTool(const QPixmap& picture, const QString& hint, int x, std::function<void()> action);
  void openReport();
  void saveReport();
  void exportPdf();
  void exportSpreadsheet();
  void print();
  void printerSetup();
  void closeButton();

  ui::Prompter& prompter_;
  bool& windowOpen_;
  std::function<void(ReportKind)> phaseRequested_;
  ReportPage page_;
  ReportKind kind_;
  ReportPrinter printer_;
  QWidget* toolBar_;
  ReportPreview* preview_;
  ui::BusyAnimation* busy_;
};

}  // namespace pq
