#include "history/ui/IntervalTimeTicker.h"

#include <array>
#include <cmath>
#include <cstdio>

#include "history/ui/RecordTimeTicker.h"
#include "timerange/EpochSeconds.h"

namespace pq::history {

namespace {

constexpr std::array<double, 12> kClockSteps = {60,   120,  300,   600,   900,   1800,
                                                3600, 7200, 10800, 21600, 43200, 86400};

}  // namespace

double IntervalTimeTicker::getTickStep(const QCPRange& range) {
  const double plain = QCPAxisTicker::getTickStep(range);
  for (const double step : kClockSteps) {
    if (step >= plain) return step;
  }
  return std::ceil(plain / 86400) * 86400;
}

QString IntervalTimeTicker::getTickLabel(double tick, const QLocale&, QChar, int) {
  return twoLineTimeLabel(intervalTimeLabel(static_cast<std::int64_t>(std::llround(tick))));
}

QVector<QString> ReadableTimeTicker::createLabelVector(const QVector<double>& ticks, const QLocale&, QChar,
                                                       int) {
  return readableTimeLabels(ticks);
}

QVector<QString> readableTimeLabels(const QVector<double>& ticks) {
  QVector<QString> labels;
  labels.reserve(ticks.size());
  CalendarDateTime previous;
  for (const double tick : ticks) {
    const CalendarDateTime t = calendarOfEpochSeconds(static_cast<std::int64_t>(std::llround(tick)));
    const bool newDay =
        labels.isEmpty() || t.year != previous.year || t.month != previous.month || t.day != previous.day;
    char text[24];
    if (newDay) {
      std::snprintf(text, sizeof text, "%02d-%02d %02d:%02d", t.month, t.day, t.hour, t.minute);
    } else {
      std::snprintf(text, sizeof text, "%02d:%02d", t.hour, t.minute);
    }
    labels.append(QString::fromLatin1(text));
    previous = t;
  }
  return labels;
}

QString intervalTimeLabel(std::int64_t seconds) {
  const CalendarDateTime t = calendarOfEpochSeconds(seconds);
  char text[48];
  std::snprintf(text, sizeof text, "%4d-%2d-%2d %2d:%2d:%2d", t.year, t.month, t.day, t.hour, t.minute, t.second);
  return QString::fromLatin1(text);
}

}  // namespace pq::history
