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

// The same ticks labelled for reading rather than in the record times' format: "04-19 12:00" at the
// first tick and at the first of each later day, "12:30" at the others. The trends of a survey, which
// span days, use it.
class ReadableTimeTicker : public IntervalTimeTicker {
 protected:
  QVector<QString> createLabelVector(const QVector<double>& ticks, const QLocale& locale, QChar formatChar,
                                     int precision) override;
};
QVector<QString> readableTimeLabels(const QVector<double>& ticks);

// An interval's start as a record time text shows it: "2010-12- 1  8:30: 0".
QString intervalTimeLabel(std::int64_t seconds);

}  // namespace pq::history
