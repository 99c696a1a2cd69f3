#pragma once

#include <string>
#include <string_view>

namespace pq {

// Conversions between the instrument's 8-bit code page (GBK) and the UTF-8 used everywhere else.
// Untrusted bytes never fail: an invalid or cut GBK sequence decodes to U+FFFD, a character GBK
// cannot hold encodes as '?'.
std::string gbkToUtf8(std::string_view gbk);
std::string utf8ToGbk(std::string_view utf8);

// UTF-16 (little-endian code units) for file formats that store text that way; invalid UTF-8 gives
// U+FFFD.
std::u16string utf8ToUtf16(std::string_view utf8);

// The longest prefix of `gbk` of at most maxBytes bytes that does not split a double-byte character.
std::string_view cutGbk(std::string_view gbk, std::size_t maxBytes);

}  // namespace pq
