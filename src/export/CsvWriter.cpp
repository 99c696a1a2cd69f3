#include "export/CsvWriter.h"

#include <charconv>
#include <type_traits>

#include "export/ValueText.h"

namespace pq {

namespace {

// Rows collect in a buffer of this size before they go to the stream: a day of records is some
// hundred megabytes of text, written in large pieces.
constexpr std::size_t kBufferBytes = 1u << 20;

bool needsQuotes(std::string_view text) { return text.find_first_of(",\"\r\n") != std::string_view::npos; }

}  // namespace

CsvWriter::CsvWriter(std::ostream& out, ByteOrderMark mark) : out_(out) {
  if (mark == ByteOrderMark::With) buffer_ += "\xEF\xBB\xBF";
}

CsvWriter::~CsvWriter() { finish(); }

void CsvWriter::field(std::string_view text) {
  if (!needsQuotes(text)) {
    buffer_ += text;
    return;
  }
  buffer_ += '"';
  for (const char c : text) {
    if (c == '"') buffer_ += '"';
    buffer_ += c;
  }
  buffer_ += '"';
}

void CsvWriter::endRow(bool empty) {
  if (empty) {
    buffer_ += '\n';
  } else {
    buffer_.back() = '\n';  // the comma after the last field
  }
  if (buffer_.size() >= kBufferBytes) {
    out_.write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
    buffer_.clear();
  }
}

void CsvWriter::heading(const std::vector<std::string>& names) {
  for (const std::string& name : names) {
    field(name);
    buffer_ += ',';
  }
  endRow(names.empty());
}

void CsvWriter::row(const TableRow& cells) {
  for (const TableCell& cell : cells) {
    std::visit(
        [this](const auto& value) {
          using Kind = std::decay_t<decltype(value)>;
          if constexpr (std::is_same_v<Kind, std::monostate>) {
            // no value: the field stays empty
          } else if constexpr (std::is_same_v<Kind, long long>) {
            char digits[24];
            buffer_.append(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
          } else if constexpr (std::is_same_v<Kind, float>) {
            buffer_ += floatText(value);
          } else if constexpr (std::is_same_v<Kind, double>) {
            buffer_ += doubleText(value);
          } else if constexpr (std::is_same_v<Kind, std::string>) {
            field(value);
          } else {
            buffer_ += dateTimeText(value);
          }
        },
        cell);
    buffer_ += ',';
  }
  endRow(cells.empty());
}

bool CsvWriter::finish() {
  out_.write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
  buffer_.clear();
  out_.flush();
  return static_cast<bool>(out_);
}

}  // namespace pq
