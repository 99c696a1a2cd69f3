#pragma once

#include <QString>
#include <functional>

#include "timerange/DateFieldRules.h"

class QLineEdit;

namespace pq::ui {

// The rule of a field for one key, asked with the field's text as it stands before the key. The key
// is the printable character typed, Backspace (0x08) or Enter (0x0D); keys that type nothing (arrows,
// Tab, Delete, Esc, shortcuts) are no matter of the rule and keep their usual meaning.
using KeyRule = std::function<KeyAction(const QString& text, char32_t key)>;

// Holds `field` to `rule` for every way text gets into it: typed keys, pastes (by shortcut, context
// menu or middle button), drops and input-method commits. Brought-in text is taken character by
// character as if typed, and what the rule drops stays out. A key the rule answers AcceptAndValidate
// runs `validate` and goes no further.
void holdToKeyRule(QLineEdit& field, KeyRule rule, std::function<void()> validate = {});

}  // namespace pq::ui
