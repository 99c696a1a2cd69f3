#include "base/PictureFormat.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace pq {
namespace {

struct PictureCase {
  double value;
  const char* picture;
  const char* expected;
};

TEST(PictureFormatTest, FormatsAsThePictureSays) {
  const PictureCase cases[] = {
      PictureCase{1.0, "0.000 V", "1.000 V"}, PictureCase{12.345, "  0.00%", "  12.35%"},
      PictureCase{1.005, "0.00", "1.00"}, PictureCase{5.77, "0.000  ", "5.770  "},
      PictureCase{0.0, "0.0%", "0.0%"}, PictureCase{45.45454545, "0.0%", "45.5%"},
      PictureCase{1234.5678, "0.00 Hz ", "1234.57 Hz "}, PictureCase{50.0, "0.00°", "50.00°"},
      PictureCase{3.0, "0.000A  ", "3.000A  "},
      // The '%' never scales the value.
      PictureCase{0.5, "0.00%", "0.50%"},
      // Exact halves round away from zero, in both directions.
      PictureCase{0.125, "0.00", "0.13"}, PictureCase{-0.125, "0.00", "-0.13"}, PictureCase{2.5, "0", "3"},
      PictureCase{0.5, "0", "1"},
      // The exact binary value decides: 1.005 is held as 1.00499..., the float nearest to 2.0005
      // as 2.000499...
      PictureCase{static_cast<double>(2.0005f), "0.000", "2.000"},
      // A carry runs through every digit.
      PictureCase{99.96, "0.0%", "100.0%"}, PictureCase{9.9999, "0.000", "10.000"},
      // A negative value that rounds to zero keeps its sign; negative zero has none.
      PictureCase{-0.001, "0.00", "-0.00"}, PictureCase{-0.0, "0.00", "0.00"},
      PictureCase{-57.7, "0.000 V", "-57.700 V"},
      // Tiny and huge magnitudes.
      PictureCase{1e-300, "0.000", "0.000"}, PictureCase{1e20, "0.0", "100000000000000000000.0"},
      PictureCase{std::numeric_limits<double>::denorm_min(), "0.00", "0.00"},
      PictureCase{std::nan(""), "0.00%", "NAN%"}, PictureCase{-INFINITY, "0.00", "-INF"},
      PictureCase{INFINITY, "0.00 V", "INF V"}};
  for (const auto& c : cases) {
    EXPECT_EQ(formatPicture(c.value, c.picture), c.expected) << c.value << " with \"" << c.picture << "\"";
  }
}

}  // namespace
}  // namespace pq
