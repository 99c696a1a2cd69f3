#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace pq {

// Builds one JSON text, adding the commas between members and elements itself. Floats print as the
// shortest text that reads back to the same four-byte float; values JSON cannot hold (not-a-number,
// infinities) print as the strings "nan", "inf" and "-inf".
class JsonWriter {
 public:
  JsonWriter& beginObject();
  JsonWriter& endObject();
  JsonWriter& beginArray();
  JsonWriter& endArray();
  JsonWriter& key(std::string_view name);
  JsonWriter& string(std::string_view text);
  JsonWriter& number(float value);
  JsonWriter& integer(long long value);
  JsonWriter& null();
  JsonWriter& boolean(bool value);

  const std::string& text() const { return text_; }

 private:
  void beforeValue();
  void quoted(std::string_view text);

  std::string text_;
  std::vector<bool> firstInScope_;
  bool afterKey_ = false;
};

}  // namespace pq
