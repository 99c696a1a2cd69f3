#include "cli/ReportOutputs.h"

#include <ctime>
#include <iostream>

#include "base/AtomicFile.h"
#include "report/PrintDate.h"
#include "report/ReportFile.h"
#include "report/ReportPageBuilder.h"
#include "report/ReportSheet.h"
#include "report/XlsFile.h"
#include "report/XlsxFile.h"

namespace pq::cli {

namespace {

std::string cellsText(const ReportPage& page) {
  std::string out;
  for (const PageText& text : page.texts()) {
    out.append(std::to_string(text.x)).append("\t").append(std::to_string(text.y)).append("\t");
    out.append(text.text).append("\n");
  }
  return out;
}

bool failed(const std::string& path, const std::string& error) {
  std::cerr << path << ": " << error << '\n';
  return false;
}

bool writeText(const std::string& path, const std::string& content) {
  AtomicFile file(path);
  if (file.open() && file.write(content.data(), content.size()) && file.commit()) return true;
  return failed(path, file.error());
}

}  // namespace

int writeReportOutputs(const Arguments& arguments, const RecordStore& store,
                       const ReportParameters& parameters) {
  const ReportPage page = buildReportPage(parameters, store.ptRatio,
                                          arguments.text("print-date", printDateText(std::time(nullptr))));

  bool ok = true;
  if (const auto path = arguments.text("cells")) ok = writeText(*path, cellsText(page)) && ok;
  if (const auto path = arguments.text("qrp")) {
    try {
      saveReportFile(*path, {page});
    } catch (const ReportFileError& e) {
      ok = failed(*path, e.what());
    }
  }
  // The .xlsx holds the same sheet as the .xls.
  for (const auto& [option, write] : {std::pair{"xls", &xls::writeXlsFile}, std::pair{"xlsx", &xls::writeXlsxFile}}) {
    if (const auto path = arguments.text(option)) {
      std::string error;
      if (write(*path, reportSheet(page, parameters.data.kind.quantity), error) != xls::XlsWrite::Written) {
        ok = failed(*path, error);
      }
    }
  }
  if (arguments.text("pdf") || arguments.text("png")) ok = writeRenderedOutputs(arguments, {page}, 0) && ok;
  return ok ? kExitDone : kExitRefused;
}

}  // namespace pq::cli
