#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace pq {

// Which language the serial library speaks to the user, with the font its dialogs use.
enum TLangType : std::uint8_t { ltEnglish = 1, ltGbk = 2, ltBig5 = 3 };

// dtAuto: the language type follows the system language; dtFixed: it was set explicitly.
enum TDetectType : std::uint8_t { dtAuto = 0, dtFixed = 1 };

// Font and database-driver names. The Chinese font names are in their own code page (GBK, BIG5).
inline constexpr std::string_view Str_SongTi = "\xCB\xCE\xCC\xE5";
inline constexpr std::string_view Str_SimSun = "SimSun";
inline constexpr std::string_view Str_XiMyTi = "\xB2\xD3\xA9\xFA\xC5\xE9";
inline constexpr std::string_view Str_MingLiU = "MingLiU";
inline constexpr std::string_view Str_MsSansSerif = "MS Sans Serif";
inline constexpr std::string_view Str_ParadoxAscii = "ascii";
inline constexpr std::string_view Str_ParadoxGbk = "china";
inline constexpr std::string_view Str_ParadoxBig5 = "taiwan";

// Language, character set and dialog font of the serial library, and the GBK to BIG5 conversion of
// its texts. A language type other than ltGbk and ltBig5 behaves as ltEnglish wherever a choice is
// made. Not thread-safe: set it up on the user-interface thread before opening ports.
class TAppLang {
 public:
  // Reads the system language from the POSIX locale.
  TAppLang();
  explicit TAppLang(std::uint16_t systemLanguage);
  virtual ~TAppLang() = default;

  std::uint16_t fGetSysLang() const { return systemLanguage_; }
  TLangType fGetLangType() const { return langType_; }
  const std::string& fGetFontName() const { return fontName_; }
  std::uint8_t fGetCharset() const { return charset_; }
  int fGetFontSize() const { return fontSize_; }
  TDetectType fGetDetectType() const { return detectType_; }
  bool fGetCvtBig5() const { return convertToBig5_; }

  void fSetLangType(TLangType type);
  void fSetCharset(std::uint8_t charset);
  void fSetDetectType(TDetectType type);
  void fSetFontName(std::string name) { fontName_ = std::move(name); }
  void fSetFontSize(int size) { fontSize_ = size; }
  void fSetCvtBig5(bool convert) { convertToBig5_ = convert; }

  int _fGetMinFontSize() const;
  std::string fGetPdxLangDrv() const;

  // The GBK text in the active code page: BIG5 bytes when the traditional language is active and the
  // conversion is on, otherwise unchanged. Always the same length as the input.
  std::string FromGBK(std::string_view gbk) const;

  // Index of a GBK byte pair into GB2BIG5_TAB; 0 for a pair outside the table.
  static int _fGBK_No(std::uint8_t lead, std::uint8_t trail);

  // The language type a Windows language identifier stands for.
  static TLangType langTypeOf(std::uint16_t languageId);

 private:
  void deriveFontFromLanguage();

  std::uint16_t systemLanguage_;
  TLangType langType_ = ltEnglish;
  std::string fontName_;
  std::uint8_t charset_ = 0;
  std::int32_t fontSize_ = 8;
  TDetectType detectType_ = dtAuto;
  bool convertToBig5_ = true;
};

// The one instance of the process; the system language decides unless someone sets it.
extern TAppLang AppLang;

}  // namespace pq
