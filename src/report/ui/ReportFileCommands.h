#pragma once

#include <QString>
#include <optional>
#include <vector>

#include "pages/ReportPage.h"
#include "statistics/ReportKind.h"

class QWidget;

namespace pq {

namespace ui {
class Prompter;
}

// The report file and spreadsheet commands of the report window and the viewer. A report file that
// cannot be read or written throws ReportFileError, which the caller's error report shows.

// Save Report: asks for a new ".QRP" file until one that does not exist is chosen (never
// overwrites) and writes the pages there. False when the operator cancelled.
bool saveReportAs(ui::Prompter& prompter, QWidget* parent, const std::vector<ReportPage>& pages);

// Open Report: the pages of the report file the operator chose; nullopt when he cancelled.
std::optional<std::vector<ReportPage>> chooseReportFile(ui::Prompter& prompter, QWidget* parent);

// The spreadsheet export's file: a name that does not exist yet (the dialog returns without a word
// while an existing one is chosen), ".xls" unless the operator chose ".xlsx"; empty when he
// cancelled.
QString chooseSpreadsheetFile(ui::Prompter& prompter, QWidget* parent);

// Writes the sheet of the page, as an .xlsx workbook for a name ending in ".xlsx" (any case) and as
// an .xls otherwise; the workbook exists afterwards only when this returns true. False
// when its file cannot be created; a failure after that (a full disk) throws std::runtime_error with
// the system's reason.
bool writeReportSpreadsheet(const QString& path, const ReportPage& page, ReportQuantity quantity);

}  // namespace pq
