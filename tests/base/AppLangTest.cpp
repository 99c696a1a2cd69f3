#include "base/AppLang.h"

#include <gtest/gtest.h>

#include "base/TextCodec.h"

namespace pq {
namespace {

struct LanguageCase {
  std::uint16_t systemLanguage;
  TLangType type;
  int charset;
  std::string_view font;
  int fontSize;
  std::string driver;
};

TEST(AppLangTest, SystemLanguageDecidesLanguageCharsetAndFont) {
  const LanguageCase cases[] = {
      {0x0804, ltGbk, 134, Str_SongTi, 9, "china"},
      {0x1004, ltGbk, 134, Str_SongTi, 9, "china"},
      {0x0404, ltBig5, 136, Str_XiMyTi, 9, "taiwan"},
      {0x0C04, ltBig5, 136, Str_XiMyTi, 9, "taiwan"},
      {0x0409, ltEnglish, 0, "MS Sans Serif", 8, "ascii"},
      {0x0407, ltEnglish, 0, "MS Sans Serif", 8, "ascii"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.systemLanguage);
    const TAppLang lang(c.systemLanguage);
    EXPECT_EQ(lang.fGetLangType(), c.type);
    EXPECT_EQ(lang.fGetCharset(), c.charset);
    EXPECT_EQ(lang.fGetFontName(), c.font);
    EXPECT_EQ(lang.fGetFontSize(), c.fontSize);
    EXPECT_EQ(lang._fGetMinFontSize(), c.fontSize);
    EXPECT_EQ(lang.fGetPdxLangDrv(), c.driver);
    EXPECT_EQ(lang.fGetDetectType(), dtAuto);
    EXPECT_TRUE(lang.fGetCvtBig5());
  }
  EXPECT_EQ(gbkToUtf8(Str_SongTi), "宋体");
}

TEST(AppLangTest, SettersFixTheLanguageAndDeriveWhatTheyShould) {
  TAppLang lang(0x0804);
  lang.fSetCharset(136);
  EXPECT_EQ(lang.fGetLangType(), ltBig5);
  EXPECT_EQ(lang.fGetDetectType(), dtFixed);
  EXPECT_EQ(lang.fGetFontName(), Str_SongTi) << "the charset alone keeps the font";
  EXPECT_EQ(lang.fGetFontSize(), 9);

  lang.fSetLangType(ltEnglish);
  EXPECT_EQ(lang.fGetCharset(), 0);
  EXPECT_EQ(lang.fGetFontName(), Str_MsSansSerif);

  lang.fSetDetectType(dtAuto);
  EXPECT_EQ(lang.fGetLangType(), ltGbk) << "detection returns to the system language";
  EXPECT_EQ(lang.fGetCharset(), 134);

  lang.fSetLangType(static_cast<TLangType>(7));
  EXPECT_EQ(lang.fGetCharset(), 0) << "an unknown language type behaves as English";
  EXPECT_EQ(lang._fGetMinFontSize(), 8);
  lang.fSetDetectType(static_cast<TDetectType>(5));
  EXPECT_EQ(lang.fGetLangType(), ltGbk) << "anything but dtFixed detects";
}

TEST(AppLangTest, GbkPairIndex) {
  EXPECT_EQ(TAppLang::_fGBK_No(0x81, 0x40), 0);
  EXPECT_EQ(TAppLang::_fGBK_No(0x81, 0x41), 1);
  EXPECT_EQ(TAppLang::_fGBK_No(0x82, 0x40), 191);
  EXPECT_EQ(TAppLang::_fGBK_No(0xFE, 0xFE), 24065);
  EXPECT_EQ(TAppLang::_fGBK_No(0x80, 0xFF), 0);
  EXPECT_EQ(TAppLang::_fGBK_No(0xFF, 0xFF), 0);
}

TEST(AppLangTest, FromGbkConvertsOnlyForTraditionalWithTheFlagOn) {
  const std::string gbk = utf8ToGbk("A記憶體B");
  const std::string big5 =
      "A\xB0\x4F\xBE\xD0\xC5\xE9"
      "B";
  TAppLang lang(0x0804);
  EXPECT_EQ(lang.FromGBK(gbk), gbk);

  lang.fSetLangType(ltBig5);
  EXPECT_EQ(lang.FromGBK(gbk), big5);
  EXPECT_EQ(lang.FromGBK("plain ASCII"), "plain ASCII");

  const std::string leadAtEnd = "ab\xB0";
  EXPECT_EQ(lang.FromGBK(leadAtEnd), leadAtEnd);
  const std::string leadBeforeControl = "\xB0\x0A";
  EXPECT_EQ(lang.FromGBK(leadBeforeControl), leadBeforeControl);

  lang.fSetCvtBig5(false);
  EXPECT_EQ(lang.FromGBK(gbk), gbk);
}

TEST(AppLangTest, CharactersWithoutBig5FormBecomeTheReplacementOfSameLength) {
  TAppLang lang(0x0404);
  // GBK 81 40 is U+4E02, which BIG5 lacks.
  EXPECT_EQ(lang.FromGBK("\x81\x40x"), "\xA1\x48x");
}

}  // namespace
}  // namespace pq
