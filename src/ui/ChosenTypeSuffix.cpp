#include "ui/ChosenTypeSuffix.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace pq::ui {

QString suffixOfType(const QString& type) {
  static const QRegularExpression oneSuffix(QStringLiteral("\\(\\*\\.([^*?\\s()]+)\\)$"));
  const QRegularExpressionMatch match = oneSuffix.match(type.trimmed());
  return match.hasMatch() ? match.captured(1) : QString();
}

QString pathOfChosenType(const QString& path, const QString& filter, const QString& chosenType) {
  const QString suffix = suffixOfType(chosenType);
  if (suffix.isEmpty() || path.isEmpty()) return path;
  const QString typed = QFileInfo(path).suffix();
  if (!typed.isEmpty()) {
    for (const QString& type : filter.split(QStringLiteral(";;"))) {
      if (typed.compare(suffixOfType(type), Qt::CaseInsensitive) == 0) return path;
    }
  }
  return path + QLatin1Char('.') + suffix;
}

}  // namespace pq::ui
