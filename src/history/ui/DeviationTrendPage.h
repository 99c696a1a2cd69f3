#pragma once

#include <array>

#include "history/ui/TrendPage.h"

class QCheckBox;

namespace pq::history {

// Page "电压偏差趋势曲线": the deviation of each ticked phase's voltage from the nominal voltage, in %.
class DeviationTrendPage : public TrendPage {
  Q_OBJECT

 public:
  DeviationTrendPage(RecordStore& store, ui::Prompter& prompter, const TrendPageSource& source,
                     QWidget* parent = nullptr);

 protected:
  TrendResult query(const TrendSource& source) const override;

 private:
  std::array<QCheckBox*, 3> phases_{};
};

}  // namespace pq::history
