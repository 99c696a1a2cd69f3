#include "export/CsvWriter.h"

#include <gtest/gtest.h>

#include <limits>
#include <sstream>

namespace pq {
namespace {

std::string csvOf(const std::vector<std::string>& names, const std::vector<TableRow>& rows,
                  CsvWriter::ByteOrderMark mark = CsvWriter::ByteOrderMark::Without) {
  std::ostringstream out;
  {
    CsvWriter csv(out, mark);
    csv.heading(names);
    for (const TableRow& row : rows) csv.row(row);
  }
  return out.str();
}

TEST(CsvWriterTest, EveryKindOfCellHasItsText) {
  const struct {
    const char* what;
    TableCell cell;
    std::string text;
  } cases[] = {
      {"float, shortest text", 0.1f, "0.1"},
      {"float that needs nine digits", 5.6906381f, "5.690638"},
      {"small float in exponent form", 1.25e-7f, "1.25e-07"},
      {"negative float", -173.0625f, "-173.0625"},
      {"float nan", std::numeric_limits<float>::quiet_NaN(), "nan"},
      {"float minus infinity", -std::numeric_limits<float>::infinity(), "-inf"},
      {"double", 83.33, "83.33"},
      {"whole number", 86399LL, "86399"},
      {"negative whole number", -7LL, "-7"},
      {"date-time", CalendarDateTime{2011, 2, 3, 4, 5, 6}, "2011-02-03 04:05:06"},
      {"plain text", std::string("0000ABCD"), "0000ABCD"},
      {"UTF-8 text", std::string("城东变电站"), "城东变电站"},
      {"text with a comma", std::string("a,b"), "\"a,b\""},
      {"text with quotes", std::string("say \"hi\""), "\"say \"\"hi\"\"\""},
      {"text with a line break", std::string("two\nlines"), "\"two\nlines\""},
      {"no value", TableCell(), ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(csvOf({"x"}, {{c.cell}}), "x\n" + c.text + "\n") << c.what;
  }
}

TEST(CsvWriterTest, RowsAndTheByteOrderMark) {
  const std::vector<TableRow> rows = {{1LL, 2.5f, std::string("z")},
                                      {},
                                      {3LL, -0.75f, std::string("y,")},
                                      {4LL, TableCell(), std::string("w")},
                                      {TableCell(), TableCell()}};
  const std::string body = "n,v,t\n1,2.5,z\n\n3,-0.75,\"y,\"\n4,,w\n,\n";
  EXPECT_EQ(csvOf({"n", "v", "t"}, rows), body);
  EXPECT_EQ(csvOf({"n", "v", "t"}, rows, CsvWriter::ByteOrderMark::With), "\xEF\xBB\xBF" + body);
}

}  // namespace
}  // namespace pq
