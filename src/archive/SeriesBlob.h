#pragma once

#include <string>

#include "aggregation/AggregatedSeries.h"
#include "archive/SqlValue.h"

namespace pq::archive {

// How the archive keeps one resolution of a survey's aggregated values: the quantities by their column
// identifiers (export/RecordTable: "uaRms", "Ua_5%"), comma-separated, so that a later program with more
// or other quantities still finds them; per interval its start (8 bytes), record count (4) and flags
// (1: bit 0 flagged, bit 1 outage); per interval and quantity the value, minimum and maximum as
// doubles. Every number little-endian, whatever the machine.
struct SeriesBlob {
  std::string quantities;
  SqlBlob intervals;
  SqlBlob values;
};
inline constexpr char kSeriesBlobLayout[] = "intervals-le-v1";

SeriesBlob seriesBlobOf(const AggregatedSeries& series);
// Throws SqlError for blobs whose sizes do not match or a quantity this program does not know.
AggregatedSeries seriesOf(const SeriesBlob& blob);

}  // namespace pq::archive
