#pragma once

#include <string>
#include <vector>

#include "export/NotesSheet.h"
#include "timerange/RecordSpan.h"

namespace pq {

class RecordStore;

// The notes of a workbook of the store's records `range` (cut to the records in use), or of values
// aggregated from them: the head's station and point, the times of the first and last record, the
// recording interval of the file and the files named. The caller adds its sheets.
WorkbookNotes recordNotes(const RecordStore& store, IndexRange range, std::vector<std::string> files);

// What a sheet of records holds.
std::string recordSheetHolds();
// What a sheet of values aggregated over `interval` ("1分钟", "10分钟") holds.
std::string aggregatedSheetHolds(const std::string& interval);

}  // namespace pq
