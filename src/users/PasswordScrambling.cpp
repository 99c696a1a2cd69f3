#include "users/PasswordScrambling.h"

#include <array>
#include <cstdint>

#include "base/TextCodec.h"

namespace pq {

namespace {

// All key bytes are below 0x20, so no typed character turns into a zero byte.
constexpr std::array<std::uint8_t, 6> kScramblingKey{0x03, 0x07, 0x01, 0x06, 0x02, 0x04};

}  // namespace

std::string scramblePassword(std::string_view gbkPassword) {
  std::string stored(gbkPassword);
  for (std::size_t i = 0; i < stored.size() && i < kScramblingKey.size(); ++i) {
    stored[i] = static_cast<char>(static_cast<std::uint8_t>(stored[i]) ^ kScramblingKey[i]);
  }
  return stored;
}

std::string storedPassword(std::string_view typedPassword) {
  return scramblePassword(utf8ToGbk(typedPassword));
}

bool passwordMatches(std::string_view storedColumn, std::string_view typedPassword) {
  return !storedColumn.empty() && storedColumn == storedPassword(typedPassword);
}

std::size_t gbkByteLength(std::string_view typedText) { return utf8ToGbk(typedText).size(); }

}  // namespace pq
