#include "records/BatchDelete.h"

#include <charconv>

#include "base/ConversionError.h"
#include "records/RecordFileMessages.h"

namespace pq {

namespace {

std::string_view trimmed(std::string_view text) {
  const auto begin = text.find_first_not_of(" \t");
  if (begin == std::string_view::npos) return {};
  return text.substr(begin, text.find_last_not_of(" \t") - begin + 1);
}

long long parsePosition(std::string_view text) {
  long long value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size()) {
    throw ConversionError("'" + std::string(text) + "' is not a valid integer value");
  }
  return value;
}

}  // namespace

BatchDeletePlan planBatchDelete(long long firstPosition, long long lastPosition, int recordCount) {
  BatchDeletePlan plan;
  if (firstPosition < 1 || firstPosition > recordCount || lastPosition < firstPosition) {
    plan.refusal = messages::kDeletePositionWrong;
    return plan;
  }
  const long long count =
      lastPosition > recordCount ? recordCount - firstPosition + 1 : lastPosition - firstPosition + 1;
  plan.first = static_cast<int>(firstPosition - 1);
  plan.count = static_cast<int>(count);
  return plan;
}

BatchDeletePlan planBatchDelete(std::string_view startField, std::string_view endField, int recordCount) {
  startField = trimmed(startField);
  endField = trimmed(endField);
  if (startField.empty() || endField.empty()) {
    BatchDeletePlan plan;
    plan.refusal = messages::kDeletePositionEmpty;
    return plan;
  }
  return planBatchDelete(parsePosition(startField), parsePosition(endField), recordCount);
}

}  // namespace pq
