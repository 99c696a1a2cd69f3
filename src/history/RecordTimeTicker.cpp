#include "history/RecordTimeTicker.h"

#include <cmath>

#include "records/RecordStore.h"

namespace pq::history {

double RecordTimeTicker::getTickStep(const QCPRange& range) {
  return std::max(1.0, std::ceil(QCPAxisTicker::getTickStep(range)));
}

QString RecordTimeTicker::getTickLabel(double tick, const QLocale&, QChar, int) {
  const double index = std::round(tick);
  if (std::fabs(tick - index) > 1e-6 || index < 0 || index >= store_.recordCount()) return {};
  return recordTimeLabel(store_, static_cast<int>(index));
}

QString recordTimeLabel(const RecordStore& store, int index) {
  std::string text = store.recordTimeText(index);
  if (!text.empty() && text.back() == '\n') text.pop_back();
  return QString::fromStdString(text);
}

}  // namespace pq::history
