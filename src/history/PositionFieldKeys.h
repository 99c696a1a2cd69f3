#pragma once

#include <string_view>

namespace pq {

// The key rule of the batch delete's start and end fields: digits and Backspace go in, Enter only
// when the field's trimmed text is not empty, every other typed character is dropped.
bool acceptPositionKey(std::string_view text, char32_t key);

}  // namespace pq
