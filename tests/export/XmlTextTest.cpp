// The text of a document's XML: what XML 1.0 cannot hold must not reach the file, since one such
// character makes Word refuse the whole document; and the parts' texts with named places.
#include "export/XmlText.h"

#include <gtest/gtest.h>

namespace pq {
namespace {

TEST(XmlTextTest, DocumentTextKeepsWhatXmlHoldsAndNothingElse) {
  const struct {
    const char* name;
    std::string text;
    std::string xml;
  } cases[] = {
      {"markup characters", "<&>\"'", "&lt;&amp;&gt;&quot;'"},
      {"Chinese and an emoji", "城南站 \xF0\x9F\x98\x80", "城南站 \xF0\x9F\x98\x80"},
      {"tab, line feed and carriage return stay", "a\tb\nc\rd", "a\tb\nc\rd"},
      {"other control characters go",
       std::string("a\x00", 2) + "b\x01\x0B\x1F"
                                 "c\x7F",
       "abc\x7F"},
      {"the two non-characters go",
       "a\xEF\xBF\xBE"
       "b\xEF\xBF\xBF"
       "c",
       "abc"},
      {"the replacement character itself stays", "\xEF\xBF\xBD", "\xEF\xBF\xBD"},
      {"the workbook's escape is plain text here", "_x0041_", "_x0041_"},
      {"a stray byte",
       "a\xFF"
       "b",
       "a\xEF\xBF\xBD"
       "b"},
      {"a continuation byte without a lead", "\x80", "\xEF\xBF\xBD"},
      {"a sequence cut short, then text",
       "\xE4\xB8"
       "a",
       "\xEF\xBF\xBD\xEF\xBF\xBD"
       "a"},
      {"a sequence cut short at the end", "\xF0\x9F\x98", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
      {"an overlong slash", "\xC0\xAF", "\xEF\xBF\xBD\xEF\xBF\xBD"},
      {"an overlong three-byte form", "\xE0\x80\xAF", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
      {"a surrogate", "\xED\xA0\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
      {"the last code point before the surrogates", "\xED\x9F\xBF", "\xED\x9F\xBF"},
      {"past U+10FFFF", "\xF4\x90\x80\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
      {"U+10FFFF itself", "\xF4\x8F\xBF\xBF", "\xF4\x8F\xBF\xBF"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::string xml = "x";
    appendXmlText(xml, c.text);
    EXPECT_EQ(xml, "x" + c.xml);
  }
}

// A name that begins another (footer, footerDistance) takes only its own place; braces around
// anything else stay as they are.
TEST(XmlTextTest, FilledInPutsEachValueInItsNamedPlaces) {
  const struct {
    const char* text;
    const char* filled;
  } cases[] = {
      {"<a x=\"{footer}\" y=\"{footerDistance}\"/>", "<a x=\"rIdFooter\" y=\"567\"/>"},
      {"{footer}{footer}", "rIdFooterrIdFooter"},
      {"{other} {footer", "{other} {footer"},
      {"{}{", "{}{"},
      {"", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(filledIn(c.text, {{"footer", "rIdFooter"}, {"footerDistance", "567"}}), c.filled);
  }
}

}  // namespace
}  // namespace pq
