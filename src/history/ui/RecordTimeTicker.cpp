#include "history/ui/RecordTimeTicker.h"

#include <cmath>

#include "records/RecordStore.h"

namespace pq::history {

namespace {

constexpr qsizetype kDateWidth = 10;  // "20yy-mm-dd"

}  // namespace

double RecordTimeTicker::getTickStep(const QCPRange& range) {
  return std::max(1.0, std::ceil(QCPAxisTicker::getTickStep(range)));
}

QString RecordTimeTicker::getTickLabel(double tick, const QLocale&, QChar, int) {
  const double index = std::round(tick);
  if (std::fabs(tick - index) > 1e-6 || index < 0 || index >= store_.recordCount()) return {};
  return twoLineTimeLabel(recordTimeLabel(store_, static_cast<int>(index)));
}

QString twoLineTimeLabel(QString label) {
  // The date part has a fixed width (a one-digit month or day prints as a blank and the digit), so
  // the split falls on the blank after it; searching for a blank would split a day such as " 1" off
  // its month.
  if (label.size() > kDateWidth && label[kDateWidth] == QLatin1Char(' ')) label[kDateWidth] = QLatin1Char('\n');
  return label;
}

QString recordTimeLabel(const RecordStore& store, int index) {
  std::string text = store.recordTimeText(index);
  if (!text.empty() && text.back() == '\n') text.pop_back();
  return QString::fromStdString(text);
}

}  // namespace pq::history
