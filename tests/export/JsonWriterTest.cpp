#include "export/JsonWriter.h"

#include <gtest/gtest.h>

#include <limits>

namespace pq {
namespace {

// The commas are the writer's to place: one missing or doubled after a nested scope or a key makes
// every JSON output unreadable.
TEST(JsonWriterTest, PlacesCommasBetweenMembersAndElementsOfNestedScopes) {
  JsonWriter json;
  json.beginObject().key("a").integer(1).key("b").beginArray().integer(2).beginObject().endObject();
  json.beginArray().endArray().null().endArray().key("c").beginObject().key("d").boolean(true);
  json.key("e").boolean(false).endObject().endObject();
  EXPECT_EQ(json.text(), R"({"a":1,"b":[2,{},[],null],"c":{"d":true,"e":false}})");
}

TEST(JsonWriterTest, ValuesHaveTheirTexts) {
  const auto numberText = [](float value) { return JsonWriter().number(value).text(); };
  const auto stringText = [](const char* value) { return JsonWriter().string(value).text(); };
  const struct {
    const char* what;
    std::string text;
    std::string expected;
  } cases[] = {
      {"float, shortest text", numberText(5.6906381f), "5.690638"},
      {"negative float", numberText(-0.07f), "-0.07"},
      {"nan as a string", numberText(std::numeric_limits<float>::quiet_NaN()), "\"nan\""},
      {"infinity as a string", numberText(std::numeric_limits<float>::infinity()), "\"inf\""},
      {"minus infinity as a string", numberText(-std::numeric_limits<float>::infinity()), "\"-inf\""},
      {"large integer", JsonWriter().integer(-9007199254740993LL).text(), "-9007199254740993"},
      {"quote and backslash", stringText("a\"b\\c"), R"("a\"b\\c")"},
      {"line breaks and tab", stringText("a\nb\rc\td"), R"("a\nb\rc\td")"},
      {"other control characters", stringText("\x01\x1f"), R"("\u0001\u001f")"},
      {"UTF-8 unchanged", stringText("电压暂降"), "\"电压暂降\""},
      {"escaped key", JsonWriter().beginObject().key("k\"").integer(0).endObject().text(), R"({"k\"":0})"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.text, c.expected) << c.what;
}

}  // namespace
}  // namespace pq
