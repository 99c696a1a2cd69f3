#pragma once

#include <QDialog>
#include <vector>

#include "pages/ReportPage.h"
#include "pages/ui/ReportPrinter.h"
#include "report/ui/ReportToolPictures.h"

class QToolBar;

namespace pq {

class ReportPreview;
namespace ui {
class Prompter;
}

// The report viewer ("Print Preview"): rendered report pages, from a report file or a report host,
// with zoom, page moves, printing, saving and loading of report files.
class ReportViewer : public QDialog {
  Q_OBJECT

 public:
  ReportViewer(std::vector<ReportPage> pages, ui::Prompter& prompter, QWidget* parent = nullptr);
  ~ReportViewer() override;

  ReportPreview& preview() { return *preview_; }
  ReportPrinter& printer() { return printer_; }

 private:
  void addTool(QToolBar& bar, ReportTool tool, const QString& hint, std::function<void()> action);
  void printerSetup();
  void loadReport();

  ui::Prompter& prompter_;
  ReportPrinter printer_;
  ReportPreview* preview_;
};

// Opens the report file at `path` in a viewer and returns when the viewer is closed. A file that
// cannot be read or is damaged throws ReportFileError before any window opens.
void viewReportFile(const QString& path, ui::Prompter& prompter, QWidget* parent = nullptr);

}  // namespace pq
