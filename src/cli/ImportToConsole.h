#pragma once

#include <string>

#include "records/RecordFileImport.h"
#include "records/RecordStore.h"

namespace pq::cli {

// Imports as the import window does, with the window's messages on stderr and no progress display.
ImportResult importToConsole(RecordStore& store, const std::string& path);

}  // namespace pq::cli
