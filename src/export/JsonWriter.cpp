#include "export/JsonWriter.h"

#include <cmath>
#include <cstdio>

#include "export/ValueText.h"

namespace pq {

void JsonWriter::beforeValue() {
  if (afterKey_) {
    afterKey_ = false;
    return;
  }
  if (!firstInScope_.empty()) {
    if (!firstInScope_.back()) text_ += ',';
    firstInScope_.back() = false;
  }
}

void JsonWriter::quoted(std::string_view text) {
  text_ += '"';
  for (const char c : text) {
    switch (c) {
      case '"':
        text_ += "\\\"";
        break;
      case '\\':
        text_ += "\\\\";
        break;
      case '\n':
        text_ += "\\n";
        break;
      case '\r':
        text_ += "\\r";
        break;
      case '\t':
        text_ += "\\t";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char escape[8];
          std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
          text_ += escape;
        } else {
          text_ += c;
        }
    }
  }
  text_ += '"';
}

JsonWriter& JsonWriter::beginObject() {
  beforeValue();
  text_ += '{';
  firstInScope_.push_back(true);
  return *this;
}

JsonWriter& JsonWriter::endObject() {
  firstInScope_.pop_back();
  text_ += '}';
  return *this;
}

JsonWriter& JsonWriter::beginArray() {
  beforeValue();
  text_ += '[';
  firstInScope_.push_back(true);
  return *this;
}

JsonWriter& JsonWriter::endArray() {
  firstInScope_.pop_back();
  text_ += ']';
  return *this;
}

JsonWriter& JsonWriter::key(std::string_view name) {
  beforeValue();
  quoted(name);
  text_ += ':';
  afterKey_ = true;
  return *this;
}

JsonWriter& JsonWriter::string(std::string_view text) {
  beforeValue();
  quoted(text);
  return *this;
}

JsonWriter& JsonWriter::number(float value) {
  if (!std::isfinite(value)) return string(floatText(value));
  beforeValue();
  text_ += floatText(value);
  return *this;
}

JsonWriter& JsonWriter::integer(long long value) {
  beforeValue();
  text_ += std::to_string(value);
  return *this;
}

JsonWriter& JsonWriter::null() {
  beforeValue();
  text_ += "null";
  return *this;
}

JsonWriter& JsonWriter::boolean(bool value) {
  beforeValue();
  text_ += value ? "true" : "false";
  return *this;
}

}  // namespace pq
