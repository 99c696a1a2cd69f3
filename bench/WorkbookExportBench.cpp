// A day of records as an .xlsx workbook: 86 400 rows shaped as `pqdesk-cli dump` writes them (two
// whole numbers, a date-time, a text and 430 floats, each float column with a number format as the
// dump gives them), with the values made up here so that the
// writer's time is seen without the record store's. The target for a day is under 4 s of wall time
// on the project's two-core machine.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "export/WorkbookFile.h"

namespace {

constexpr int kFloatColumns = 430;

void BM_WorkbookDay(benchmark::State& state) {
  const char* folder = std::getenv("TMPDIR");
  const std::string path = std::string(folder != nullptr ? folder : "/tmp") + "/pqdesk-bench-day.xlsx";
  const int rows = static_cast<int>(state.range(0));
  pq::TableRow row;
  for (auto _ : state) {
    pq::WorkbookFile book(path);
    if (!book.open()) state.SkipWithError(book.error().c_str());
    pq::TableWriter& sheet = book.addSheet("records");
    std::vector<std::string> names;
    std::vector<std::string> formats(4);
    for (int c = 0; c < kFloatColumns + 4; ++c) names.push_back("column" + std::to_string(c));
    for (int c = 0; c < kFloatColumns; ++c) formats.push_back(c % 3 == 0 ? "0.00" : "0.000");
    sheet.numberFormats(formats);
    sheet.heading(names);
    unsigned noise = 12345;
    for (int r = 0; r < rows; ++r) {
      row.clear();
      row.emplace_back(static_cast<long long>(r));
      row.emplace_back(pq::CalendarDateTime{2013, 7, 21, r / 3600, r / 60 % 60, r % 60});
      row.emplace_back(3LL);
      row.emplace_back(std::string("0012AB09"));
      for (int c = 0; c < kFloatColumns; ++c) {
        noise = noise * 1664525u + 1013904223u;
        // Measurement-like: a few significant digits around a column's own level.
        row.emplace_back(static_cast<float>(c % 7 + 1) * 31.7f + static_cast<float>(noise >> 20) / 1024.0f);
      }
      sheet.row(row);
    }
    if (!book.commit()) state.SkipWithError(book.error().c_str());
  }
  std::remove(path.c_str());
  state.SetItemsProcessed(state.iterations() * rows);
}
BENCHMARK(BM_WorkbookDay)->Arg(8640)->Arg(86400)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

}  // namespace
