#include "timerange/RecordSpan.h"

#include <gtest/gtest.h>

#include <memory>

#include "records/RecordStore.h"
#include "support/StoreBuilder.h"

namespace pq {
namespace {

// A range kept from before a deletion, or typed past the ends, must hand the aggregation and the
// assessment only records in use: a span reaching past them would read stale or unfilled cells.
TEST(RecordSpan, RangesAreCutToTheRecordsInUse) {
  struct Case {
    const char* what;
    IndexRange range;
    IndexRange inUse;
    int firstMinute;  // of the first record handed out; -1 for none
    std::size_t count;
  };
  const Case cases[] = {
      {"the whole store", {0, 5}, {0, 5}, 0, 5},
      {"a start before the first record", {-3, 2}, {0, 2}, 0, 2},
      {"an end past the last record", {3, 9}, {3, 5}, 3, 2},
      {"both ends outside", {-1, 40}, {0, 5}, 0, 5},
      {"an empty range", {2, 2}, {2, 2}, -1, 0},
      {"a range past the records", {7, 9}, {7, 5}, -1, 0},
      {"a reversed range", {4, 1}, {4, 1}, -1, 0},
  };
  const auto store = std::make_unique<RecordStore>();
  for (int m = 0; m < 5; ++m) test::appendRecord(*store, 10, 4, 20, 13, m);
  // Cells beyond the count: what a deletion leaves behind must never be handed out.
  test::appendRecord(*store, 10, 4, 20, 13, 5);
  store->deleteAt(5);
  for (const Case& c : cases) {
    EXPECT_EQ(recordsInUse(*store, c.range), c.inUse) << c.what;
    const auto records = recordsOfRange(*store, c.range);
    ASSERT_EQ(records.size(), c.count) << c.what;
    if (c.count > 0) {
      EXPECT_EQ(records.data(), &store->record(c.inUse.start)) << c.what;
      EXPECT_EQ(recordTimeOf(records.front()).minute, c.firstMinute) << c.what;
    }
  }
}

}  // namespace
}  // namespace pq
