#include "history/ui/RecordTimeTicker.h"

#include <cmath>

#include "records/RecordStore.h"

namespace pq::history {

double RecordTimeTicker::getTickStep(const QCPRange& range) {
  return std::max(1.0, std::ceil(QCPAxisTicker::getTickStep(range)));
}

QString RecordTimeTicker::getTickLabel(double tick, const QLocale&, QChar, int) {
  const double index = std::round(tick);
  if (std::fabs(tick - index) > 1e-6 || index < 0 || index >= store_.recordCount()) return {};
  // Date above time, so that a label takes half the width.
  QString label = recordTimeLabel(store_, static_cast<int>(index));
  const qsizetype blank = label.indexOf(QLatin1Char(' '), label.indexOf(QLatin1Char('-')) + 4);
  if (blank > 0) label[blank] = QLatin1Char('\n');
  return label;
}

QString recordTimeLabel(const RecordStore& store, int index) {
  std::string text = store.recordTimeText(index);
  if (!text.empty() && text.back() == '\n') text.pop_back();
  return QString::fromStdString(text);
}

}  // namespace pq::history
