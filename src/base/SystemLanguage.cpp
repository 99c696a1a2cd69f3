#include "base/SystemLanguage.h"

#include <array>
#include <cstdlib>
#include <utility>

namespace pq {

namespace {

constexpr std::uint16_t kEnglishUnitedStates = 0x0409;
constexpr std::uint16_t kDefaultSublanguage = 1 << 10;

constexpr std::array<std::pair<std::string_view, std::uint16_t>, 5> kChineseRegions{{
    {"CN", 0x0804},
    {"SG", 0x1004},
    {"TW", 0x0404},
    {"HK", 0x0C04},
    {"MO", 0x1404},
}};

constexpr std::array<std::pair<std::string_view, std::uint16_t>, 24> kPrimaryLanguages{{
    {"ar", 0x01}, {"bg", 0x02}, {"ca", 0x03}, {"cs", 0x05}, {"da", 0x06}, {"de", 0x07},
    {"el", 0x08}, {"en", 0x09}, {"es", 0x0A}, {"fi", 0x0B}, {"fr", 0x0C}, {"he", 0x0D},
    {"hu", 0x0E}, {"it", 0x10}, {"ja", 0x11}, {"ko", 0x12}, {"nl", 0x13}, {"nb", 0x14},
    {"pl", 0x15}, {"pt", 0x16}, {"ru", 0x19}, {"sv", 0x1D}, {"tr", 0x1F}, {"vi", 0x2A},
}};

}  // namespace

std::uint16_t languageIdFromLocale(std::string_view localeName) {
  // language[_territory][.codeset][@modifier]
  const std::size_t languageEnd = localeName.find_first_of("_.@");
  const std::string_view language = localeName.substr(0, languageEnd);
  std::string_view territory;
  if (languageEnd != std::string_view::npos && localeName[languageEnd] == '_') {
    const std::string_view rest = localeName.substr(languageEnd + 1);
    territory = rest.substr(0, rest.find_first_of(".@"));
  }
  if (language == "en" && (territory.empty() || territory == "US")) return kEnglishUnitedStates;
  if (language == "zh") {
    for (const auto& [region, id] : kChineseRegions) {
      if (territory == region) return id;
    }
    return 0x0804;
  }
  for (const auto& [name, primary] : kPrimaryLanguages) {
    if (language == name) return static_cast<std::uint16_t>(kDefaultSublanguage | primary);
  }
  return kEnglishUnitedStates;
}

std::uint16_t systemDefaultLanguageId() {
  for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(variable);
    if (value != nullptr && *value != '\0') return languageIdFromLocale(value);
  }
  return kEnglishUnitedStates;
}

}  // namespace pq
