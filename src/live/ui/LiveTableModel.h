#pragma once

#include <QAbstractTableModel>

#include "live/LiveTable.h"

namespace pq::live {

// The live value table as an item model: the view shows the texts, and assistive technology reads
// the same texts cell by cell. Colours of the phases and of the order column come with the data.
class LiveTableModel : public QAbstractTableModel {
 public:
  LiveTableModel(const LiveTable& table, QObject* parent) : QAbstractTableModel(parent), table_(table) {}

  int rowCount(const QModelIndex& parent = {}) const override {
    return parent.isValid() ? 0 : LiveTable::kRows;
  }
  int columnCount(const QModelIndex& parent = {}) const override {
    return parent.isValid() ? 0 : LiveTable::kColumns;
  }
  QVariant data(const QModelIndex& index, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

  // The table's texts changed.
  void refresh() { emit dataChanged(index(0, 0), index(LiveTable::kRows - 1, LiveTable::kColumns - 1)); }

 private:
  const LiveTable& table_;
};

}  // namespace pq::live
