#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

namespace pq::archive {

using SqlBlob = std::vector<std::uint8_t>;

// A statement parameter or a column of a result row: null, a whole number, a double, UTF-8 text or
// bytes. Every value from outside reaches a statement this way, never inside its text.
using SqlValue = std::variant<std::nullptr_t, std::int64_t, double, std::string, SqlBlob>;
using SqlRow = std::vector<SqlValue>;

// The database refused a statement or could not be reached; the text is the engine's own.
class SqlError : public std::runtime_error {
 public:
  enum class Kind { Other, UniqueViolation };
  SqlError(const std::string& what, Kind kind = Kind::Other) : std::runtime_error(what), kind_(kind) {}
  Kind kind() const { return kind_; }

 private:
  Kind kind_;
};

// Column readers that throw SqlError when the column holds another type: a damaged archive is
// reported, not read as zeros.
std::int64_t integerAt(const SqlRow& row, std::size_t column);
std::optional<std::int64_t> optionalIntegerAt(const SqlRow& row, std::size_t column);
double doubleAt(const SqlRow& row, std::size_t column);
std::string textAt(const SqlRow& row, std::size_t column);
SqlBlob blobAt(const SqlRow& row, std::size_t column);

// Null for nothing.
inline SqlValue optionalValue(const std::optional<std::int64_t>& value) {
  return value ? SqlValue(*value) : SqlValue(nullptr);
}

}  // namespace pq::archive
