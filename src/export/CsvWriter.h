#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "export/TableCell.h"

namespace pq {

// A table as CSV on a stream: comma-separated, LF line ends, texts quoted only where they hold a
// comma, a quote or a line break. Floats print as floatText, date-times as dateTimeText. With a
// byte-order mark the stream starts with EF BB BF, which spreadsheet programs need to read the
// UTF-8 texts as UTF-8 rather than in the system's code page.
class CsvWriter : public TableWriter {
 public:
  enum class ByteOrderMark { Without, With };

  CsvWriter(std::ostream& out, ByteOrderMark mark);
  ~CsvWriter() override;
  CsvWriter(const CsvWriter&) = delete;
  CsvWriter& operator=(const CsvWriter&) = delete;

  void heading(const std::vector<std::string>& names) override;
  void row(const TableRow& cells) override;
  // Hands the rows still held to the stream and flushes it; false when the stream failed.
  bool finish();

 private:
  void field(std::string_view text);
  void endRow(bool empty);

  std::ostream& out_;
  std::string buffer_;
};

}  // namespace pq
