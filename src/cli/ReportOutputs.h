#pragma once

#include <string>
#include <vector>

#include "cli/CommandLine.h"
#include "pages/ReportDocument.h"
#include "pages/ReportPage.h"
#include "records/RecordStore.h"
#include "statistics/ReportParameters.h"

namespace pq::cli {

// The page outputs of `report`: builds the page of the phase just run, as the report window does,
// and writes --cells, --qrp, --xls, --xlsx, --pdf and --png where asked. Returns the exit status.
int writeReportOutputs(const Arguments& arguments, const RecordStore& store,
                       const ReportParameters& parameters);

// --pdf (every page) and --png (page `pngPage`, 0-based): false with a message on stderr when they
// cannot be written.
bool writeRenderedOutputs(const Arguments& arguments, const std::vector<ReportPage>& pages,
                          std::size_t pngPage);
// --docx: the document as a Word file; false with a message on stderr when it cannot be written.
bool writeRenderedDocx(const Arguments& arguments, const ReportDocument& document);

}  // namespace pq::cli
