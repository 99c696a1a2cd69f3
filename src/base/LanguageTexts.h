#pragma once

#include <string_view>

#include "base/AppLang.h"

namespace pq {

// One text in each of the program's languages, held in that language's own characters (UTF-8), so
// no code-page conversion applies to it.
struct LanguageTexts {
  std::string_view simplified, traditional, english;

  // ltGbk gives the simplified text, ltBig5 the traditional one, anything else the English one.
  constexpr std::string_view in(TLangType language) const {
    switch (language) {
      case ltGbk:
        return simplified;
      case ltBig5:
        return traditional;
      default:
        return english;
    }
  }
};

}  // namespace pq
