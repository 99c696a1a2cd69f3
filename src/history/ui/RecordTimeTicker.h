#pragma once

#include <qcustomplot.h>

namespace pq {
class RecordStore;
}

namespace pq::history {

// The bottom axis of a trend chart: x is a record index and a tick is labelled with that record's
// time text. Only the ticks in view are labelled, so a curve of 86 400 records costs a handful of
// labels per repaint. Ticks fall on whole record indexes; an index with no record gets no label.
class RecordTimeTicker : public QCPAxisTicker {
 public:
  explicit RecordTimeTicker(const RecordStore& store) : store_(store) {}

 protected:
  double getTickStep(const QCPRange& range) override;
  QString getTickLabel(double tick, const QLocale& locale, QChar formatChar, int precision) override;

 private:
  const RecordStore& store_;
};

// The time text of a record as a label shows it: recordTimeText without its closing line feed.
QString recordTimeLabel(const RecordStore& store, int index);
// A time label over two lines, date above time, so that a label takes half the width.
QString twoLineTimeLabel(QString label);

}  // namespace pq::history
