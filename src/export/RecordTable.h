#pragma once

#include <functional>
#include <string>
#include <vector>

#include "export/ExportColumn.h"
#include "export/TableCell.h"
#include "records/RecordHead.h"
#include "timerange/RecordSpan.h"

namespace pq {

class RecordStore;
struct AggregatedSeries;

// The one-second records as a table, as `pqdesk-cli dump` prints them and the history window exports
// them: index (1-based position), time (a date-time; a stamp that is no date-time stays the text of
// its bytes), wiring mode, instrument id, every value cell by name, the harmonics "Ua_1".."Ic_65",
// the sequence number. The titles carry the units of the head's values ("A相电压有效值(KV)" where the
// voltages are kilovolts).
std::vector<ExportColumn> recordColumns(const RecordHead& head);
// Refills `row` in place, so that a day of records reuses one row's cells.
void fillRecordRow(const RecordStore& store, int index, TableRow& row);

// Aggregated values as a table: the interval's start (a date-time), its number of records, whether a
// voltage event touches it (1 or 0), then the value (root mean square or mean) of each quantity the
// series keeps, named as the records' columns ("uaRms", "Ua_1") or for derived values "pTotal",
// "qTotal", "Ua_thd%", "Ua_5%"; titled "Ua 总谐波畸变率(%)", "Ua 5次谐波含有率(%)" and so on, in the units
// of `head`.
std::vector<ExportColumn> aggregatedColumns(const AggregatedSeries& series, const RecordHead& head);
void fillAggregatedRow(const AggregatedSeries& series, std::size_t interval, TableRow& row);

// Progress of a table written row by row: the rows written so far; false stops the writing (a cancel).
using RowProgress = std::function<bool(std::size_t rowsWritten)>;
// The heading and the rows of the records `range` (cut to the records in use), or of every interval
// of the series; false when `progress` stopped them.
bool writeRecordTable(const RecordStore& store, IndexRange range, TableWriter& table, TableHeadings headings,
                      const RowProgress& progress);
bool writeAggregatedTable(const AggregatedSeries& series, const RecordHead& head, TableWriter& table,
                          TableHeadings headings, const RowProgress& progress);

}  // namespace pq
