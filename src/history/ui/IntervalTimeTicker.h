#pragma once

#include <qcustomplot.h>

#include <cstdint>

namespace pq::history {

// The bottom axis of a trend chart of aggregated values: x is an interval's start in epoch seconds
// (RecordTimeGate.h), labelled in the record times' own format, date above time. Ticks fall on whole
// clock steps (1, 2, 5, 10, 15, 30 minutes, 1, 2, 3, 6, 12 hours, days), so that labels read as round
// times.
class IntervalTimeTicker : public QCPAxisTicker {
 protected:
  double getTickStep(const QCPRange& range) override;
  QString getTickLabel(double tick, const QLocale& locale, QChar formatChar, int precision) override;
};

// An interval's start as a record time text shows it: "2010-12- 1  8:30: 0".
QString intervalTimeLabel(std::int64_t seconds);

}  // namespace pq::history
