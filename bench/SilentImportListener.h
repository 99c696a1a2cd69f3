#pragma once

#include "records/RecordFileImport.h"

namespace pq::bench {

// An import listener that shows nothing, for timing the import alone.
using SilentImportListener = QuietImportListener;

}  // namespace pq::bench
