#include "live/ui/LiveTableModel.h"

#include <QColor>
#include <QGuiApplication>
#include <QPalette>

namespace pq::live {

namespace {

// Phases A, B, C in olive, green and red, for the voltage and the current columns alike.
QColor phaseColour(int column) {
  switch ((column - 3) % 3) {
    case 0:
      return QColor(128, 128, 0);
    case 1:
      return QColor(0, 128, 0);
    default:
      return QColor(255, 0, 0);
  }
}

}  // namespace

QVariant LiveTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  const int row = index.row();
  const int column = index.column();
  switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
      return QString::fromStdString(table_.text(row, column));
    case Qt::ForegroundRole:
      if (row >= 1 && column >= 3) return phaseColour(column);
      return {};
    case Qt::BackgroundRole:
      // Headings and the order column on the button face, as fixed cells look.
      if (row == 0 || column == 0 || column == 2) return QGuiApplication::palette().button();
      return {};
    default:
      return {};
  }
}

Qt::ItemFlags LiveTableModel::flags(const QModelIndex& index) const {
  return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

}  // namespace pq::live
