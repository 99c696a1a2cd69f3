#include "export/XmlText.h"

#include <algorithm>

namespace pq {

namespace {

bool isHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }

// The characters that XML text and attributes in double quotes cannot hold as themselves.
bool appendEntity(std::string& out, char c) {
  switch (c) {
    case '&':
      out += "&amp;";
      return true;
    case '<':
      out += "&lt;";
      return true;
    case '>':
      out += "&gt;";
      return true;
    case '"':
      out += "&quot;";
      return true;
    default:
      return false;
  }
}

bool isControl(unsigned char byte) { return byte < 0x20 && byte != '\t' && byte != '\n' && byte != '\r'; }

// The length of the well-formed UTF-8 sequence at the start of `text` (Unicode's table of them:
// no overlong forms, no surrogates, nothing past U+10FFFF); 0 when there is none.
std::size_t utf8Length(std::string_view text) {
  const auto at = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const auto trailing = [&](std::size_t from, std::size_t to) {
    for (std::size_t i = from; i < to; ++i) {
      if (i >= text.size() || (at(i) & 0xC0) != 0x80) return false;
    }
    return true;
  };
  const unsigned char lead = at(0);
  if (lead < 0x80) return 1;
  if (lead < 0xC2 || lead > 0xF4 || text.size() < 2) return 0;
  const unsigned char second = at(1);
  if (lead < 0xE0) return trailing(1, 2) ? 2 : 0;
  const bool secondFits = lead == 0xE0   ? second >= 0xA0
                          : lead == 0xED ? second <= 0x9F
                          : lead == 0xF0 ? second >= 0x90
                          : lead == 0xF4 ? second <= 0x8F
                                         : true;
  const std::size_t length = lead < 0xF0 ? 3 : 4;
  return secondFits && trailing(1, length) ? length : 0;
}

}  // namespace

void appendEscaped(std::string& out, std::string_view text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    const auto byte = static_cast<unsigned char>(c);
    if (appendEntity(out, c)) continue;
    switch (c) {
      case '_':
        if (i + 6 < text.size() && text[i + 1] == 'x' && isHexDigit(text[i + 2]) && isHexDigit(text[i + 3]) &&
            isHexDigit(text[i + 4]) && isHexDigit(text[i + 5]) && text[i + 6] == '_') {
          out += "_x005F_";
        } else {
          out += c;
        }
        break;
      default:
        if (isControl(byte)) {
          out += "_x00";
          out += kHex[byte >> 4];
          out += kHex[byte & 0xF];
          out += '_';
        } else {
          out += c;
        }
    }
  }
}

void appendXmlText(std::string& out, std::string_view text) {
  static constexpr std::string_view kReplacement = "\xEF\xBF\xBD";
  static constexpr std::string_view kNonCharacters[] = {"\xEF\xBF\xBE", "\xEF\xBF\xBF"};
  std::size_t i = 0;
  while (i < text.size()) {
    const std::string_view rest = text.substr(i);
    const std::size_t length = utf8Length(rest);
    if (length == 0) {
      out += kReplacement;
      ++i;
      continue;
    }
    const std::string_view character = rest.substr(0, length);
    const bool forbidden = (length == 1 && isControl(static_cast<unsigned char>(character[0]))) ||
                           character == kNonCharacters[0] || character == kNonCharacters[1];
    if (!forbidden && !(length == 1 && appendEntity(out, character[0]))) out += character;
    i += length;
  }
}

std::string filledIn(std::string_view text,
                     std::initializer_list<std::pair<std::string_view, std::string_view>> values) {
  std::string out;
  for (std::size_t i = 0; i < text.size();) {
    const auto value = std::find_if(values.begin(), values.end(), [&](const auto& named) {
      const std::string_view name = named.first;
      return text[i] == '{' && text.substr(i + 1, name.size()) == name &&
             text.substr(i + 1 + name.size(), 1) == "}";
    });
    if (value == values.end()) {
      out += text[i++];
    } else {
      out += value->second;
      i += value->first.size() + 2;
    }
  }
  return out;
}

void appendColumnName(std::string& out, std::size_t column) {
  char letters[4];
  std::size_t count = 0;
  for (; column > 0; column = (column - 1) / 26)
    letters[count++] = static_cast<char>('A' + (column - 1) % 26);
  while (count > 0) out += letters[--count];
}

}  // namespace pq
