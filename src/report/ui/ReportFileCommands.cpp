#include "report/ui/ReportFileCommands.h"

#include <QFile>
#include <stdexcept>

#include "report/ReportFile.h"
#include "report/ReportMessages.h"
#include "report/ReportSheet.h"
#include "report/XlsFile.h"
#include "report/XlsxFile.h"
#include "ui/NewFileChoice.h"
#include "ui/Prompter.h"

namespace pq {

bool saveReportAs(ui::Prompter& prompter, QWidget* parent, const std::vector<ReportPage>& pages) {
  const QString path = ui::chooseNewFile(
      prompter, parent,
      {QStringLiteral("*.QRP (*.QRP);;All files (*.*)"), QStringLiteral("QRP"), QStringLiteral("XXX.QRP")},
      ui::ExistingFileAnswer::AskAgain);
  if (path.isEmpty()) return false;
  saveReportFile(QFile::encodeName(path).toStdString(), pages);
  return true;
}

std::optional<std::vector<ReportPage>> chooseReportFile(ui::Prompter& prompter, QWidget* parent) {
  const QString path =
      prompter.chooseFileToOpen(parent, QStringLiteral("Open Report"), QStringLiteral("*.QRP (*.QRP)"));
  if (path.isEmpty()) return std::nullopt;
  return loadReportFile(QFile::encodeName(path).toStdString());
}

QString chooseSpreadsheetFile(ui::Prompter& prompter, QWidget* parent) {
  return ui::chooseNewFile(
      prompter, parent,
      {QStringLiteral("*.xls (*.xls);;Excel 工作簿 (*.xlsx);;All files (*.*)"), QStringLiteral("xls"),
       QStringLiteral("XXX.xls")},
      ui::ExistingFileAnswer::SilentlyAgain);
}

bool writeReportSpreadsheet(const QString& path, const ReportPage& page, ReportQuantity quantity) {
  const auto write =
      path.endsWith(QStringLiteral(".xlsx"), Qt::CaseInsensitive) ? &xls::writeXlsxFile : &xls::writeXlsFile;
  std::string error;
  const xls::XlsWrite result = write(QFile::encodeName(path).toStdString(), reportSheet(page, quantity), error);
  if (result == xls::XlsWrite::Failed) throw std::runtime_error(messages::kSpreadsheetNotSaved + error);
  return result == xls::XlsWrite::Written;
}

}  // namespace pq
