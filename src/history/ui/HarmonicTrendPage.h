#pragma once

#include "history/ui/TrendPage.h"

class QButtonGroup;
class QListWidget;

namespace pq::history {

// Page "谐波趋势曲线": THD, fundamental or one harmonic's content of a channel over time.
class HarmonicTrendPage : public TrendPage {
  Q_OBJECT

 public:
  HarmonicTrendPage(RecordStore& store, ui::Prompter& prompter, const TrendPageSource& source,
                    QWidget* parent = nullptr);

 protected:
  TrendResult query(const TrendSource& source) const override;

 private:
  QButtonGroup* channels_;
  QListWidget* items_;
};

}  // namespace pq::history
