#include "history/PositionFieldKeys.h"

#include "base/FieldText.h"
#include "timerange/DateFieldRules.h"

namespace pq {

bool acceptPositionKey(std::string_view text, char32_t key) {
  if (key == kBackspaceKey) return true;
  if (key == kEnterKey) return !trimmedField(text).empty();
  return key >= U'0' && key <= U'9';
}

}  // namespace pq
