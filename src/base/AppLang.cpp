#include "base/AppLang.h"

#include "base/Gb2Big5Table.h"
#include "base/SystemLanguage.h"

namespace pq {

TAppLang AppLang;

namespace {

constexpr int kFirstPair = 0x81 * 191 + 0x40;
constexpr int kLastPair = 0xFE * 191 + 0xFE;

bool isLeadByte(unsigned char b) { return b >= 0x81 && b <= 0xFE; }
bool isTrailByte(unsigned char b) { return b >= 0x40 && b <= 0xFE; }

}  // namespace

TAppLang::TAppLang() : TAppLang(systemDefaultLanguageId()) {}

TAppLang::TAppLang(std::uint16_t systemLanguage) : systemLanguage_(systemLanguage) {
  convertToBig5_ = true;
  fSetDetectType(dtAuto);
}

TLangType TAppLang::langTypeOf(std::uint16_t languageId) {
  constexpr int kChinese = 4;
  if ((languageId & 0x3FF) != kChinese) return ltEnglish;
  const int sublanguage = languageId >> 10;
  return sublanguage == 2 || sublanguage == 4 ? ltGbk : ltBig5;
}

void TAppLang::fSetLangType(TLangType type) {
  langType_ = type;
  detectType_ = dtFixed;
  deriveFontFromLanguage();
}

void TAppLang::fSetCharset(std::uint8_t charset) {
  charset_ = charset;
  detectType_ = dtFixed;
  langType_ = charset == 134 ? ltGbk : charset == 136 ? ltBig5 : ltEnglish;
}

void TAppLang::fSetDetectType(TDetectType type) {
  detectType_ = type;
  if (detectType_ != dtFixed) langType_ = langTypeOf(systemLanguage_);
  deriveFontFromLanguage();
}

void TAppLang::deriveFontFromLanguage() {
  switch (langType_) {
    case ltGbk:
      charset_ = 134;
      fontName_ = Str_SongTi;
      fontSize_ = 9;
      break;
    case ltBig5:
      charset_ = 136;
      fontName_ = Str_XiMyTi;
      fontSize_ = 9;
      break;
    default:
      charset_ = 0;
      fontName_ = Str_MsSansSerif;
      fontSize_ = 8;
      break;
  }
}

int TAppLang::_fGetMinFontSize() const { return langType_ == ltGbk || langType_ == ltBig5 ? 9 : 8; }

std::string TAppLang::fGetPdxLangDrv() const {
  switch (langType_) {
    case ltGbk:
      return std::string(Str_ParadoxGbk);
    case ltBig5:
      return std::string(Str_ParadoxBig5);
    default:
      return std::string(Str_ParadoxAscii);
  }
}

int TAppLang::_fGBK_No(std::uint8_t lead, std::uint8_t trail) {
  const int pair = lead * 191 + trail;
  return pair >= kFirstPair && pair <= kLastPair ? pair - kFirstPair : 0;
}

std::string TAppLang::FromGBK(std::string_view gbk) const {
  std::string out(gbk);
  if (langType_ != ltBig5 || !convertToBig5_) return out;
  for (std::size_t i = 0; i + 1 < out.size(); ++i) {
    const auto lead = static_cast<unsigned char>(out[i]);
    const auto trail = static_cast<unsigned char>(out[i + 1]);
    if (!isLeadByte(lead) || !isTrailByte(trail)) continue;
    const std::uint16_t entry = GB2BIG5_TAB[_fGBK_No(lead, trail)];
    out[i] = static_cast<char>((entry & 0xFF) ^ 0x80);
    out[i + 1] = static_cast<char>(entry >> 8);
    ++i;
  }
  return out;
}

}  // namespace pq
