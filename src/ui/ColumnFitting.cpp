#include "ui/ColumnFitting.h"

#include <QTableView>

namespace pq::ui {

ColumnFitting::ColumnFitting(QTableView& view, int padding)
    : view_(view), padding_(padding), metrics_(view.font()) {}

void ColumnFitting::fit(int column, const QString& text) {
  const int needed = width(text) + padding_;
  if (needed > view_.columnWidth(column)) view_.setColumnWidth(column, needed);
}

int ColumnFitting::width(const QString& text) {
  int sum = 0;
  for (const QChar c : text) {
    int& advance = advances_[c.unicode()];
    // A character of no width is measured again each time; those are rare.
    if (advance == 0) advance = metrics_.horizontalAdvance(c);
    sum += advance;
  }
  return sum;
}

}  // namespace pq::ui
