#pragma once

#include <QByteArray>

namespace pq {

// Qt writes the ToUnicode map of an embedded font by taking, for every glyph, the lowest code point
// the font maps to it. CJK fonts draw an ideograph such as 大 with the same glyph as its radical ⼤
// (U+2F24), which sorts first, so text copied or searched in the PDF came out as radicals. This
// rewrites such map entries to the ideographs in place; every entry keeps its four hex digits, so no
// offset in the file moves.
void mapRadicalsToIdeographs(QByteArray& pdf);

}  // namespace pq
