#pragma once

#include <QFontMetrics>
#include <QString>
#include <array>

class QTableView;

namespace pq::ui {

// Widens the columns of a table view to the widest text shown in them and never narrows them, so
// that no text is cut off and the columns stay put while the values change. A table of some 600
// texts is refitted at every update, so a text's width is the sum of its characters' advances,
// each measured once: a whole string measured by the font takes microseconds, a sum of cached
// advances nanoseconds. Kerning is left out; the padding covers the pixel it may add.
class ColumnFitting {
 public:
  ColumnFitting(QTableView& view, int padding);

  // Widens `column` if `text` does not fit in it.
  void fit(int column, const QString& text);

 private:
  int width(const QString& text);

  QTableView& view_;
  int padding_;
  QFontMetrics metrics_;
  std::array<int, 0x10000> advances_{};  // 0: not measured yet
};

}  // namespace pq::ui
