#include <iostream>
#include <optional>
#include <string>

#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/HeadingsOption.h"
#include "cli/ImportToConsole.h"
#include "export/CsvWriter.h"
#include "export/RecordNotes.h"
#include "export/RecordTable.h"
#include "export/WorkbookFile.h"

namespace pq::cli {

namespace {

constexpr char kRecordSheet[] = "记录";

}  // namespace

int runDump(const std::vector<std::string>& args) {
  const Arguments arguments(args, {"first", "count", "xlsx", "headers"}, {"bom"});
  const std::string& path = arguments.positional(0, "record file");
  arguments.expectPositionals(1);
  const long long first = arguments.integer("first", 1, RecordStore::kCapacity).value_or(1);
  const auto count = arguments.integer("count", 0, RecordStore::kCapacity);
  const auto workbookPath = arguments.text("xlsx");
  const TableHeadings csvHeadings = headingsOption(arguments, TableHeadings::Identifiers);
  const TableHeadings workbookHeadings = headingsOption(arguments, TableHeadings::Chinese);

  RecordStore store;
  const ImportResult result = importToConsole(store, path);
  if (result == ImportResult::CannotOpen) return kExitRefused;

  // The workbook's place is tried first, so that a refused one prints nothing.
  std::optional<WorkbookFile> workbook;
  if (workbookPath) {
    workbook.emplace(*workbookPath);
    if (!workbook->open()) {
      std::cerr << *workbookPath << ": " << workbook->error() << '\n';
      return kExitRefused;
    }
  }
  const long long begin = first - 1;
  const long long end =
      count ? std::min<long long>(begin + *count, store.recordCount()) : store.recordCount();
  CsvWriter csv(std::cout,
                arguments.flag("bom") ? CsvWriter::ByteOrderMark::With : CsvWriter::ByteOrderMark::Without);
  std::vector<TableWriter*> writers = {&csv};
  const std::vector<ExportColumn> columns = recordColumns(store);
  writeHeading(csv, columns, csvHeadings);
  if (workbook) {
    WorkbookNotes notes = recordNotes(store, {static_cast<int>(begin), static_cast<int>(end)}, {path});
    notes.sheets = {{kRecordSheet, recordSheetHolds()}};
    addNotesSheet(*workbook, notes);
    writers.push_back(&workbook->addSheet(kRecordSheet));
    writeHeading(*writers.back(), columns, workbookHeadings);
  }
  TableRow row;
  for (long long index = begin; index < end; ++index) {
    fillRecordRow(store, static_cast<int>(index), row);
    for (TableWriter* writer : writers) writer->row(row);
  }
  csv.finish();
  if (workbook && !workbook->commit()) {
    std::cerr << *workbookPath << ": " << workbook->error() << '\n';
    return kExitRefused;
  }
  return result == ImportResult::Completed ? kExitDone : kExitRefused;
}

}  // namespace pq::cli
