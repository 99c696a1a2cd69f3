#pragma once

#include <cstdint>
#include <string_view>

namespace pq {

// Windows language identifiers (primary language in the low 10 bits, sublanguage above) for POSIX
// locale names such as "zh_TW.UTF-8". Chinese keeps its region (zh_CN 0x0804, zh_SG 0x1004, zh_TW
// 0x0404, zh_HK 0x0C04, zh_MO 0x1404, bare "zh" as zh_CN); other known languages map to their
// primary language with the default sublanguage; "C", "POSIX", empty and unknown names give 0x0409.
std::uint16_t languageIdFromLocale(std::string_view localeName);

// The language of the first non-empty of LC_ALL, LC_MESSAGES and LANG.
std::uint16_t systemDefaultLanguageId();

}  // namespace pq
