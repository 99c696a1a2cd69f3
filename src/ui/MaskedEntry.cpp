#include "ui/MaskedEntry.h"

#include <QLineEdit>

namespace pq::ui {

void makeMasked(QLineEdit& edit) {
  edit.setEchoMode(QLineEdit::Password);
  edit.setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));
}

}  // namespace pq::ui
