#pragma once

#include "history/ui/TrendPage.h"

class QButtonGroup;

namespace pq::history {

// Page "分量及频率趋势曲线": a sequence component of the voltages or currents, or the frequency, over time.
class ComponentTrendPage : public TrendPage {
  Q_OBJECT

 public:
  ComponentTrendPage(RecordStore& store, ui::Prompter& prompter, const TrendPageSource& source,
                     QWidget* parent = nullptr);

 protected:
  TrendResult query(const TrendSource& source) const override;

 private:
  QButtonGroup* choices_;
};

}  // namespace pq::history
