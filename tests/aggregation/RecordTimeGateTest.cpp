#include "aggregation/RecordTimeGate.h"

#include <gtest/gtest.h>

#include <vector>

namespace pq {
namespace {

// The seconds of the records offered, in order, that the gate lets through.
std::vector<std::int64_t> admitted(const std::vector<std::int64_t>& offered, RecordTimeGate& gate) {
  std::vector<std::int64_t> through;
  const auto take = [&](const std::optional<RecordTimeGate::Judged>& judged) {
    if (judged && judged->verdict == GateVerdict::Admitted) through.push_back(judged->seconds);
  };
  for (const std::int64_t t : offered) take(gate.offer(t));
  take(gate.finish());
  return through;
}

TEST(RecordTimeGate, ALoneFarOffStampIsLeftOutAloneWhileAClockSetBackDropsUntilTimePassesIt) {
  struct Case {
    const char* what;
    std::vector<std::int64_t> offered;
    std::vector<std::int64_t> through;
    int duplicates, outOfOrder;
  };
  const Case cases[] = {
      // A record dated a day ahead among good ones: before, it dropped every record after it.
      {"a day ahead in the middle", {10, 11, 86411, 12, 13}, {10, 11, 12, 13}, 0, 1},
      {"a day ahead first", {86410, 10, 11}, {10, 11}, 0, 1},
      {"a day ahead last", {10, 11, 86411}, {10, 11, 86411}, 0, 0},
      {"a record stored early", {10, 11, 13, 12, 14}, {10, 11, 12, 14}, 0, 1},
      // The clock set back: the neighbours of the record before it are not in order with each other.
      {"a clock set back", {10, 11, 12, 5, 6, 12, 13}, {10, 11, 12, 13}, 1, 2},
      {"a repeated stamp", {10, 11, 11, 12}, {10, 11, 12}, 1, 0},
  };
  for (const Case& c : cases) {
    RecordTimeGate gate;
    EXPECT_EQ(admitted(c.offered, gate), c.through) << c.what;
    EXPECT_EQ(gate.duplicates(), c.duplicates) << c.what;
    EXPECT_EQ(gate.outOfOrder(), c.outOfOrder) << c.what;
  }
}

}  // namespace
}  // namespace pq
