#pragma once

class QKeyEvent;

namespace pq::ui {

// The key as the field rules of the date and capacity fields see it: the printable character typed,
// Backspace (0x08) or Enter (0x0D); 0 for keys that type nothing (arrows, Tab, Delete, shortcuts),
// which the rules do not govern.
char32_t typedKey(const QKeyEvent& key);

}  // namespace pq::ui
