#pragma once

#include <string>
#include <string_view>

namespace pq {

// The stored form of a password: its first six bytes combined by exclusive-or with a fixed key,
// later bytes unchanged. Works on 8-bit (GBK) bytes; the same function serves for storing and for
// comparing, and no stored form is ever turned back into the password.
std::string scramblePassword(std::string_view gbkPassword);

// The stored form of a password typed as UTF-8 text: scrambled on its GBK bytes, so a Chinese
// character counts two bytes.
std::string storedPassword(std::string_view typedPassword);

// Whether a typed password matches the stored column. The program stores no empty password, so an
// empty or NULL column (a database edited by other means) lets nobody in, not even with an empty
// password.
bool passwordMatches(std::string_view storedColumn, std::string_view typedPassword);

// Length of a typed text in GBK bytes, the measure of the six-byte minimum.
std::size_t gbkByteLength(std::string_view typedText);

}  // namespace pq
