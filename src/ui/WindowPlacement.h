#pragma once

class QWidget;

namespace pq::ui {

// Puts a top-level window in the middle of its screen: left = (screen width - window width) / 2,
// top likewise, rounded toward zero.
void centreOnScreen(QWidget& window);

}  // namespace pq::ui
