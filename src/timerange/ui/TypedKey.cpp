#include "timerange/ui/TypedKey.h"

#include <QKeyEvent>

#include "timerange/DateFieldRules.h"

namespace pq::ui {

char32_t typedKey(const QKeyEvent& key) {
  if (key.key() == Qt::Key_Backspace) return kBackspaceKey;
  if (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter) return kEnterKey;
  const QString text = key.text();
  if (text.isEmpty() || !text.at(0).isPrint()) return 0;
  return text.toUcs4().value(0);
}

}  // namespace pq::ui
