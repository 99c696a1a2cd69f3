#pragma once

#include <string>
#include <vector>

#include "export/WorkbookFile.h"

namespace pq {

// What an exported workbook's first sheet, "说明", tells a reader who opens it without the program:
// where and when was measured, from which files, and what each sheet holds. Texts in UTF-8.
struct WorkbookNotes {
  struct SheetNote {
    std::string name;
    std::string holds;
  };
  std::string station;
  std::string point;
  std::string period;          // "2010-04-19 10:00:00 – 2010-04-20 09:59:59"
  std::string recordInterval;  // "1 s"
  std::vector<std::string> files;
  std::vector<SheetNote> sheets;  // the sheets after this one, in order
};

inline constexpr char kNotesSheetName[] = "说明";

// "FROM – TO", the form of WorkbookNotes::period.
std::string periodText(const std::string& from, const std::string& to);

// The sheet "说明" laid out whole: the items in bold beside their texts (a file a row), then the
// sheets with what they hold, each column as wide as its longest text.
SheetLayout notesSheet(const WorkbookNotes& notes);
// Adds it to `book` as its next sheet, which should be the first.
void addNotesSheet(WorkbookFile& book, const WorkbookNotes& notes);

}  // namespace pq
