#include <iostream>
#include <optional>
#include <string>

#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/ImportToConsole.h"
#include "export/CsvWriter.h"
#include "export/RecordTable.h"
#include "export/WorkbookFile.h"

namespace pq::cli {

int runDump(const std::vector<std::string>& args) {
  const Arguments arguments(args, {"first", "count", "xlsx"}, {"bom"});
  const std::string& path = arguments.positional(0, "record file");
  arguments.expectPositionals(1);
  const long long first = arguments.integer("first", 1, RecordStore::kCapacity).value_or(1);
  const auto count = arguments.integer("count", 0, RecordStore::kCapacity);
  const auto workbookPath = arguments.text("xlsx");

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
  CsvWriter csv(std::cout,
                arguments.flag("bom") ? CsvWriter::ByteOrderMark::With : CsvWriter::ByteOrderMark::Without);
  std::vector<TableWriter*> writers = {&csv};
  if (workbook) writers.push_back(&workbook->addSheet("records"));

  const std::vector<std::string> names = recordColumnNames();
  for (TableWriter* writer : writers) writer->heading(names);
  const long long begin = first - 1;
  const long long end =
      count ? std::min<long long>(begin + *count, store.recordCount()) : store.recordCount();
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
