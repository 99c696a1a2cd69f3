#pragma once

#include <array>

#include "history/ui/TrendPage.h"

class QCheckBox;
class QLineEdit;
class QListWidget;

namespace pq::history {

// Page "功率及功率因数趋势曲线": active power, reactive power or power factor of each ticked phase and of
// the three phases together, with the average active powers of the range.
class PowerTrendPage : public TrendPage {
  Q_OBJECT

 public:
  PowerTrendPage(RecordStore& store, ui::Prompter& prompter, const TrendPageSource& source,
                 QWidget* parent = nullptr);

 protected:
  TrendResult query(const TrendSource& source) const override;
  void showExtras(const TrendResult& result) override;

 private:
  std::array<QCheckBox*, 4> curves_{};
  QListWidget* quantities_;
  std::array<QLineEdit*, 4> averages_{};
};

}  // namespace pq::history
