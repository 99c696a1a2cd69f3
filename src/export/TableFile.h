#pragma once

#include <memory>
#include <ostream>
#include <optional>
#include <string>
#include <string_view>

#include "base/AtomicFile.h"
#include "export/CsvWriter.h"
#include "export/NotesSheet.h"
#include "export/WorkbookFile.h"

namespace pq {

// A table exported to a file chosen by name: a workbook for a name ending in ".xlsx" (any case),
// otherwise CSV with a byte-order mark, which Excel and WPS need to show Chinese headings. Both go
// through a temporary file that replaces the target only on commit(), so a failure or a cancel
// leaves the file that was there as it was.
class TableFile {
 public:
  explicit TableFile(std::string path);
  ~TableFile();
  TableFile(const TableFile&) = delete;
  TableFile& operator=(const TableFile&) = delete;

  bool isWorkbook() const { return workbook_.has_value(); }
  // Creates the temporary file; false when the folder refuses it.
  bool open();
  // A workbook's first sheet, the notes "说明" (export/NotesSheet), before table(); a CSV has none.
  void addNotes(const WorkbookNotes& notes);
  // The table to write: a workbook sheet of that name; the CSV file's only table.
  TableWriter& table(std::string_view sheetName);
  bool commit();
  const std::string& error() const { return error_; }

 private:
  std::string path_;
  std::optional<WorkbookFile> workbook_;
  class AtomicFileBuffer;

  std::optional<AtomicFile> csvFile_;
  std::unique_ptr<AtomicFileBuffer> csvBuffer_;
  std::unique_ptr<std::ostream> csvStream_;
  std::unique_ptr<CsvWriter> csv_;
  std::string error_;
};

}  // namespace pq
