#pragma once

#include <QTableWidget>
#include <memory>

#include "ui/ColumnFitting.h"

namespace pq {
class RecordGridTexts;
}

namespace pq::history {

// The record grid of the history window: 66 rows by 9 columns in bold type, rows 20 pixels high.
// Row 0 is the table's header, so it stays in view while the rows scroll; column 0 and the harmonic
// order column are painted on the button face like fixed cells. Texts of the channel columns are
// olive (Ua, Ia), green (Ub, Ib) or red (Uc, Ic), and every text starts 3 pixels right of and below
// its cell's corner. The cells are ordinary items, so assistive technology reads what is shown.
class RecordGrid : public QTableWidget {
  Q_OBJECT

 public:
  explicit RecordGrid(QWidget* parent = nullptr);

  void showTexts(const RecordGridTexts& texts);
  // The text shown at a row (0 = the header) and column of the grid.
  QString cellText(int row, int column) const;

 private:
  std::unique_ptr<ui::ColumnFitting> fitting_;
};

}  // namespace pq::history
