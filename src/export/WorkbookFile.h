#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/AtomicFile.h"
#include "export/SheetLayout.h"
#include "export/TableCell.h"
#include "export/WorkbookStyles.h"
#include "export/ZipArchive.h"

namespace pq {

// An .xlsx workbook of tables, written through a temporary file in the target's folder that
// replaces the target only when the whole workbook is on the disk (base/AtomicFile): a failure
// never leaves a half-written workbook, and the file that was there stays as it was.
//
// Each sheet takes a heading row (bold, frozen above the rows) and then rows of cells: whole
// numbers, floats and doubles as numbers (a float as its shortest text, so that the cell equals the
// CSV's text; nan and infinities, which a workbook cannot hold as numbers, as that text), texts as
// strings, date-times as date-time cells shown "yyyy-mm-dd hh:mm:ss" (from 1900-03-01 on, before
// which the format's calendar has a day that never was). A column given a number format
// (TableWriter::numberFormats) shows its floats and doubles in it, the value itself kept whole. Every
// column is as wide as its heading and its first row's value need (export/ColumnWidth).
//
// A sheet's rows go into the archive as they come, compressed on every core (export/ZipArchive):
// a table as large as a day of records takes a few megabytes of memory and no other file. The sheets
// are written one after the other: adding a sheet ends the one before, and a row for an ended sheet
// fails the workbook.
//
// A sheet laid out cell by cell (a form such as a report page) is given whole, with cell formats of
// the workbook's styles.
class WorkbookFile {
 public:
  explicit WorkbookFile(std::string path, WorkbookStyles styles = WorkbookStyles());
  ~WorkbookFile();
  WorkbookFile(const WorkbookFile&) = delete;
  WorkbookFile& operator=(const WorkbookFile&) = delete;

  // Creates the temporary file. Fails when the folder is missing, not writable or no folder.
  bool open();
  // A new sheet after the others (a name of 1 to 31 characters, none of []:*?/\, not starting or
  // ending with ', not the name of another sheet in any case); the writer lives as long as the
  // workbook.
  TableWriter& addSheet(std::string_view name);
  // A laid-out sheet after the others (a name as for addSheet), its cells in formats of the styles
  // the workbook was made with.
  void addSheet(std::string_view name, const SheetLayout& sheet);
  // Writes the workbook and puts it in the target's place; false when anything failed on the way,
  // and then no temporary file is left.
  bool commit();

  // The reason of the first failure: the system's description where the system refused.
  const std::string& error() const { return error_; }

 private:
  class Sheet;

  void fail(std::string reason);
  // False, with the file's reason, once a write failed.
  bool written(bool ok);
  void endSheet();
  // Checks the name and ends the open sheet; false once the workbook has failed.
  bool startSheet(std::string_view name);
  void writePart(const std::string& name, std::string_view content);

  std::string path_;
  WorkbookStyles styles_;
  std::optional<AtomicFile> file_;  // from open() until a failure drops the temporary file
  std::optional<ZipArchive> archive_;
  std::vector<std::unique_ptr<Sheet>> sheets_;
  std::vector<std::string> sheetNames_;
  Sheet* open_ = nullptr;  // the sheet whose rows are being written
  std::string error_;
};

}  // namespace pq
