#include <iostream>

#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/ReportOutputs.h"
#include "report/ReportFile.h"

namespace pq::cli {

int runRender(const std::vector<std::string>& args) {
  const Arguments arguments(args, {"pdf", "png", "page"});
  const std::string& path = arguments.positional(0, "report file");
  arguments.expectPositionals(1);
  if (!arguments.text("pdf") && !arguments.text("png")) throw UsageError("--pdf or --png is required");
  const long long page = arguments.integer("page", 1, 1'000'000'000).value_or(1);

  // Everything is read and checked before the first output is written, so a file that turns out
  // damaged leaves nothing behind.
  std::vector<ReportPage> pages;
  try {
    pages = loadReportFile(path);
  } catch (const ReportFileError& e) {
    std::cerr << e.what() << '\n';
    return kExitRefused;
  }
  if (arguments.text("png") && static_cast<std::size_t>(page) > pages.size()) {
    std::cerr << path << ": no page " << page << " (the report has " << pages.size() << ")\n";
    return kExitRefused;
  }
  return writeRenderedOutputs(arguments, pages, static_cast<std::size_t>(page - 1)) ? kExitDone
                                                                                    : kExitRefused;
}

}  // namespace pq::cli
