#include "cli/ReportOutputs.h"

namespace pq::cli {

// Built without the Qt parts: nothing can render a page.
bool writeRenderedOutputs(const Arguments&, const std::vector<ReportPage>&, std::size_t) {
  throw UsageError("--pdf and --png need a build with the graphical parts");
}

bool writeRenderedDocx(const Arguments&, const ReportDocument&) {
  throw UsageError("--docx needs a build with the graphical parts");
}

}  // namespace pq::cli
