#pragma once

#include <string>
#include <string_view>

namespace pq {

// The records a batch delete removes, checked against the store: `first` is 0-based, `count` is cut
// at the end of the store. When the positions are refused, `refusal` holds the message to show.
struct BatchDeletePlan {
  int first = 0;
  int count = 0;
  std::string refusal;

  bool refused() const { return !refusal.empty(); }
};

// From 1-based start and end positions.
BatchDeletePlan planBatchDelete(long long firstPosition, long long lastPosition, int recordCount);

// From the texts of the start and end fields. A text that is not a whole number throws ConversionError.
BatchDeletePlan planBatchDelete(std::string_view startField, std::string_view endField, int recordCount);

}  // namespace pq
