#pragma once

#include <QMargins>
#include <QObject>
#include <QRect>
#include <QSize>

class QWidget;

namespace pq::ui {

// The frame a window manager puts round a window before it has drawn one: a title bar and thin borders.
inline constexpr QMargins kAssumedFrame{4, 30, 4, 4};

// Where a window of client size `size` (at least `minimum`) with frame `frame` goes so that it lies on
// the screen's `available` area: no larger than the area less the frame, as far as the minimum allows,
// and its frame's top left moved as little as needed from `frameTopLeft` to bring the frame inside the
// area, the top left first when the window cannot fit. Gives the client geometry.
QRect placedOnScreen(QPoint frameTopLeft, QSize size, QSize minimum, QMargins frame, QRect available);

// Puts a top-level window in the middle of its screen: left = (screen width - window width) / 2,
// top likewise, rounded toward zero; then onto the screen's available area as placedOnScreen does,
// so that a window taller than a small screen keeps its title bar and tabs on it.
void centreOnScreen(QWidget& window);

// Keeps every top-level window on the screen where it opens: watching the application, it fits each
// window as placedOnScreen says when the window is shown, before the window places itself. Installed
// on the application object by the program and by the window tests.
class ScreenFitting : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace pq::ui
