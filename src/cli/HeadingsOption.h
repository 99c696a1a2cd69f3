#pragma once

#include "cli/CommandLine.h"
#include "export/ExportColumn.h"

namespace pq::cli {

// `--headers zh|id`: the headings of every table a command writes; without it `fallback`, which is
// the identifiers for CSV and the Chinese titles for workbooks. Any other value is a usage error.
TableHeadings headingsOption(const Arguments& arguments, TableHeadings fallback);

}  // namespace pq::cli
