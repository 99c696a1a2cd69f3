#include "ui/WindowPlacement.h"

#include <QScreen>
#include <QWidget>

namespace pq::ui {

void centreOnScreen(QWidget& window) {
  const QScreen* screen = window.screen();
  if (screen == nullptr) return;
  const QRect area = screen->geometry();
  window.move(area.left() + (area.width() - window.width()) / 2,
              area.top() + (area.height() - window.height()) / 2);
}

}  // namespace pq::ui
