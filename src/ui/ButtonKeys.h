#pragma once

class QDialog;

namespace pq::ui {

// Whether Esc closes a window: only one whose Cancel-like button closes it, so that a stray Esc never
// throws away what was typed or computed in the others.
enum class EscapeKey { Closes, Ignored };

// Enter and Esc in `window` do what its fields and buttons say, and nothing on the window's behalf.
// Every push button presses on Enter when it has the focus, as on Space, and is no auto-default one,
// so none turns into the default button that Enter in a field would press; Enter that no field or
// button took ends at the window. Esc closes the window only with EscapeKey::Closes. Called once the
// window's buttons exist.
void keepKeysToFieldsAndButtons(QDialog& window, EscapeKey escape);

}  // namespace pq::ui
