#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/AtomicFile.h"
#include "export/TableCell.h"

struct lxw_workbook;
struct lxw_format;

namespace pq {

// An .xlsx workbook of tables, written through a temporary file in the target's folder that
// replaces the target only when the whole workbook is on the disk (base/AtomicFile): a failure
// never leaves a half-written workbook, and the file that was there stays as it was.
//
// Each sheet takes a heading row (bold, frozen above the rows) and then rows of cells: whole
// numbers, floats and doubles as numbers (a float as the decimal of its shortest text, so that the
// cell equals the CSV's text; nan and infinities, which a workbook cannot hold as numbers, as that
// text), texts as strings, date-times as date-time cells shown "yyyy-mm-dd hh:mm:ss".
//
// A sheet holds one row in memory at a time (the library's constant-memory mode), so that tables as
// large as a day of records fit; the rows wait in unnamed temporary files in the target's folder until
// commit() packs them. That mode is also the one in which a failed write of those files can be seen:
// the library does not check them, and without the check a full disk gave a truncated workbook that
// it called written.
class WorkbookFile {
 public:
  explicit WorkbookFile(std::string path);
  ~WorkbookFile();
  WorkbookFile(const WorkbookFile&) = delete;
  WorkbookFile& operator=(const WorkbookFile&) = delete;

  // Creates the temporary file. Fails when the folder is missing, not writable or no folder.
  bool open();
  // A new sheet after the others (a name of at most 31 characters, none of []:*?/\); the writer
  // lives as long as the workbook. Write the sheets one after the other.
  TableWriter& addSheet(std::string_view name);
  // Writes the workbook and puts it in the target's place; false when anything failed on the way,
  // and then no temporary file is left.
  bool commit();

  // The reason of the first failure: the system's description where the system refused.
  const std::string& error() const { return error_; }

 private:
  class Sheet;

  void fail(std::string reason);

  std::string path_;
  std::optional<AtomicFile> file_;  // from open() until a failure drops the temporary file
  std::string temporaryFolder_;  // the library's temporary files go beside the workbook's
  lxw_workbook* workbook_ = nullptr;
  lxw_format* headingFormat_ = nullptr;
  lxw_format* dateTimeFormat_ = nullptr;
  std::vector<std::unique_ptr<Sheet>> sheets_;
  std::string error_;
};

}  // namespace pq
