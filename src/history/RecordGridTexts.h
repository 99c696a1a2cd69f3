#pragma once

#include <array>
#include <string>

namespace pq {

class RecordStore;

// The texts of the history window's record grid: 66 rows by 9 columns, row 0 and column 0 fixed.
// Columns 0 and 1 hold the names and values of the record's measurements (rows 1..45), column 2 the
// harmonic orders, columns 3..8 the THD, fundamental and harmonics of Ua, Ub, Uc, Ia, Ib, Ic.
class RecordGridTexts {
 public:
  static constexpr int kRows = 66;
  static constexpr int kColumns = 9;
  using Cells = std::array<std::array<std::string, kColumns>, kRows>;

  // The captions that never change: the header row, the value names and the harmonic orders.
  void writeFixedTexts();
  // The values of record `index` of the store; a wiring mode other than 1 or 3 leaves its cell as it was.
  void writeRecord(const RecordStore& store, int index);
  // Empties columns 1..8 of the rows below the header, as shown when the store holds no record.
  void clearValues();

  const std::string& text(int row, int column) const { return cells_[row][column]; }
  const Cells& cells() const { return cells_; }

 private:
  Cells cells_;
};

}  // namespace pq
