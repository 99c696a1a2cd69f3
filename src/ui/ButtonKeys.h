#pragma once

class QPushButton;

namespace pq::ui {

// Enter presses the button when it has the focus, as Space does. The button is no auto-default one,
// so Enter in a field of the same window is left to the field's own rule and never presses it.
void pressOnEnter(QPushButton& button);

}  // namespace pq::ui
