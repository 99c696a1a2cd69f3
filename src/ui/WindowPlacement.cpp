#include "ui/WindowPlacement.h"

#include <QEvent>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace pq::ui {

namespace {

// The frame drawn round a window once it is on the screen, or the one a window manager is expected
// to draw before.
QMargins frameOf(const QWidget& window) {
  const QRect frame = window.frameGeometry();
  const QRect client = window.geometry();
  if (frame == client) return kAssumedFrame;
  return {client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
          frame.bottom() - client.bottom()};
}

void place(QWidget& window, QPoint frameTopLeft) {
  const QScreen* screen = window.screen();
  if (screen == nullptr) return;
  const QMargins frame = frameOf(window);
  const QRect placed =
      placedOnScreen(frameTopLeft, window.size(), window.minimumSizeHint().expandedTo(window.minimumSize()),
                     frame, screen->availableGeometry());
  if (placed.size() != window.size()) window.resize(placed.size());
  window.move(placed.topLeft() - QPoint(frame.left(), frame.top()));
}

}  // namespace

QRect placedOnScreen(QPoint frameTopLeft, QSize size, QSize minimum, QMargins frame, QRect available) {
  const QSize room = available.size().shrunkBy(frame);
  const QSize fitted = size.boundedTo(room).expandedTo(minimum);
  const QSize frameSize = fitted.grownBy(frame);
  // The right and bottom edges first, then the left and top, which win when the window is too big.
  int left = std::min(frameTopLeft.x(), available.left() + available.width() - frameSize.width());
  int top = std::min(frameTopLeft.y(), available.top() + available.height() - frameSize.height());
  left = std::max(left, available.left());
  top = std::max(top, available.top());
  return {QPoint(left + frame.left(), top + frame.top()), fitted};
}

void centreOnScreen(QWidget& window) {
  const QScreen* screen = window.screen();
  if (screen == nullptr) return;
  const QRect area = screen->geometry();
  place(window, {area.left() + (area.width() - window.width()) / 2,
                 area.top() + (area.height() - window.height()) / 2});
}

bool ScreenFitting::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Show && watched->isWidgetType()) {
    auto& widget = static_cast<QWidget&>(*watched);
    const Qt::WindowType type = widget.windowType();
    if (widget.isWindow() && (type == Qt::Window || type == Qt::Dialog))
      place(widget, widget.frameGeometry().topLeft());
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace pq::ui
