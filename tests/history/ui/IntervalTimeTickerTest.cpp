#include "history/ui/IntervalTimeTicker.h"

#include <gtest/gtest.h>

#include "timerange/EpochSeconds.h"

namespace pq::history {
namespace {

double at(int month, int day, int hour, int minute) {
  return static_cast<double>(epochSeconds({2024, month, day, hour, minute, 0}));
}

// Ticks across two midnights and the end of a month: the date at the first tick and at the first of
// each day, the time alone between, both with leading zeros.
TEST(ReadableTimeTicker, TheDateOncePerDayAndTheTimeAtEveryTick) {
  const QVector<double> ticks = {at(4, 29, 18, 0), at(4, 29, 21, 5), at(4, 30, 0, 0),
                                 at(4, 30, 9, 30), at(5, 1, 3, 0),   at(5, 1, 6, 0)};
  EXPECT_EQ(readableTimeLabels(ticks),
            (QVector<QString>{"04-29 18:00", "21:05", "04-30 00:00", "09:30", "05-01 03:00", "06:00"}));
  EXPECT_TRUE(readableTimeLabels({}).isEmpty());

  // Through the axis: the ticks of a range fall on round clock times.
  ReadableTimeTicker ticker;
  QVector<double> generated;
  QVector<QString> labels;
  ticker.generate(QCPRange(at(4, 19, 11, 50), at(4, 19, 12, 40)), QLocale::c(), QLatin1Char('g'), 6,
                  generated, nullptr, &labels);
  ASSERT_FALSE(labels.isEmpty());
  EXPECT_EQ(labels.front().size(), 11) << labels.front().toStdString();
  for (int i = 1; i < labels.size(); ++i) EXPECT_EQ(labels[i].size(), 5) << labels[i].toStdString();
}

}  // namespace
}  // namespace pq::history
