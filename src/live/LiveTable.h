#pragma once

#include <array>
#include <string>

#include "live/LiveMeasurement.h"

namespace pq::live {

// Secondary values as the instrument measures them, or primary values scaled by the transformer
// ratios of the same answer.
enum class LiveDataMode { secondary, primary };

// The texts of the live value table (66 rows, 9 columns, row 0 and column 0 headings) as the
// operator reads them. Plain data: the window shows it through a table model.
class LiveTable {
 public:
  static constexpr int kRows = 66;
  static constexpr int kColumns = 9;

  LiveTable() { writeHeadings(); }

  // Empties every cell and writes row 0 and the names of rows 1 to 48.
  void writeHeadings();
  // Writes the values of an answer. With a wiring mode other than 1 and 3 the wiring text, the
  // phase and line voltages and the voltage fundamentals keep their previous texts.
  void fill(const LiveMeasurement& m, LiveDataMode mode);

  const std::string& text(int row, int column) const {
    return cells_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
  }

 private:
  std::string& cell(int row, int column) {
    return cells_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
  }
  void fillValueColumn(const LiveMeasurement& m, bool primary);
  void fillChannelColumn(const LiveMeasurement& m, bool primary, int ch);

  std::array<std::array<std::string, kColumns>, kRows> cells_;
};

// The text of a total-distortion box on the waveform page (the same in both modes).
std::string thdBoxText(const LiveMeasurement& m, int ch);

// The line voltage of two voltages 120 degrees apart.
double lineVoltage(double x, double y);
// The phase voltage of a line voltage in three-wire mode: the instrument's makers divide by 1.732.
inline constexpr double kThreeWirePhaseFactor = 0.5773672055427251;

}  // namespace pq::live
