#pragma once

class QLineEdit;

namespace pq::ui {

// Makes a line edit a password entry that shows every typed character as "*".
void makeMasked(QLineEdit& edit);

}  // namespace pq::ui
