#include "export/XmlText.h"

namespace pq {

namespace {

bool isHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }

}  // namespace

void appendEscaped(std::string& out, std::string_view text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    const auto byte = static_cast<unsigned char>(c);
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '_':
        if (i + 6 < text.size() && text[i + 1] == 'x' && isHexDigit(text[i + 2]) && isHexDigit(text[i + 3]) &&
            isHexDigit(text[i + 4]) && isHexDigit(text[i + 5]) && text[i + 6] == '_') {
          out += "_x005F_";
        } else {
          out += c;
        }
        break;
      default:
        if (byte < 0x20 && c != '\t' && c != '\n' && c != '\r') {
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

void appendColumnName(std::string& out, std::size_t column) {
  char letters[4];
  std::size_t count = 0;
  for (; column > 0; column = (column - 1) / 26) letters[count++] = static_cast<char>('A' + (column - 1) % 26);
  while (count > 0) out += letters[--count];
}

}  // namespace pq
