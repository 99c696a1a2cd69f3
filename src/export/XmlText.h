#pragma once

#include <charconv>
#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

namespace pq {

// The pieces of text that the XML parts of workbooks and documents are made of.

inline constexpr std::string_view kXmlDeclaration =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";

// Text for XML content and attributes. A control character, which XML cannot hold, becomes the
// format's escape _xHHHH_; a text that looks like such an escape has its underscore escaped, so that
// readers do not decode it.
void appendEscaped(std::string& out, std::string_view text);

// Text for XML content and attributes of a format without that escape (WordprocessingML): what XML
// 1.0 cannot hold is left out — control characters other than tab, line feed and carriage return,
// U+FFFE and U+FFFF — and each byte that is not part of well-formed UTF-8 becomes U+FFFD, since a
// single such byte makes readers refuse the whole file.
void appendXmlText(std::string& out, std::string_view text);

// The shortest text that reads back to the same value, written in place rather than through a
// string of its own.
template <typename Number>
void appendNumber(std::string& out, Number value) {
  char buffer[32];
  out.append(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
}

// The text of a part with each "{name}" in it replaced by its value (which is put in as it is, not
// escaped); other braces stay.
std::string filledIn(std::string_view text,
                     std::initializer_list<std::pair<std::string_view, std::string_view>> values);

// "A" for column 1, "Z" for 26, "AA" for 27.
void appendColumnName(std::string& out, std::size_t column);

}  // namespace pq
