#include "history/ui/RecordTimeTicker.h"

#include <gtest/gtest.h>

#include "records/RecordStore.h"
#include "support/StoreBuilder.h"

namespace pq::history {
namespace {

// The axis labels of records 0 and 1 (a range that holds ticks on both indexes).
QVector<QString> tickLabels(const RecordStore& store) {
  RecordTimeTicker ticker(store);
  QVector<double> ticks;
  QVector<double> subTicks;
  QVector<QString> labels;
  ticker.generate(QCPRange(0, 1), QLocale::c(), QLatin1Char('g'), 6, ticks, &subTicks, &labels);
  return labels;
}

// The date goes on the first line and the time on the second whatever the widths of month and day:
// a one-digit day prints as a blank and a digit, and splitting there would read as an hour.
TEST(RecordTimeTickerTest, DateAboveTimeForEveryMonthAndDayWidth) {
  struct Case {
    int month, day, hour, minute, second;
    const char* label;
  };
  const Case cases[] = {
      {12, 1, 8, 30, 0, "2010-12- 1\n 8:30: 0"},  {12, 9, 17, 4, 53, "2010-12- 9\n17: 4:53"},
      {12, 10, 8, 30, 7, "2010-12-10\n 8:30: 7"}, {1, 1, 23, 59, 41, "2010- 1- 1\n23:59:41"},
      {9, 26, 0, 0, 19, "2010- 9-26\n 0: 0:19"},  {10, 9, 6, 12, 38, "2010-10- 9\n 6:12:38"},
      {1, 10, 11, 45, 2, "2010- 1-10\n11:45: 2"},
  };
  for (const Case& c : cases) {
    RecordStore store;
    test::appendRecord(store, 10, c.month, c.day, c.hour, c.minute, c.second);
    test::appendRecord(store, 10, c.month, c.day, c.hour, c.minute, c.second + 3);
    const QVector<QString> labels = tickLabels(store);
    ASSERT_EQ(labels.size(), 2);
    EXPECT_EQ(labels[0].toStdString(), c.label) << c.month << "-" << c.day;
  }
}

}  // namespace
}  // namespace pq::history
