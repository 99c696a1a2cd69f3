#include "archive/SqlValue.h"

namespace pq::archive {

namespace {

const SqlValue& columnOf(const SqlRow& row, std::size_t column) {
  if (column >= row.size()) throw SqlError("result column " + std::to_string(column) + " missing");
  return row[column];
}

[[noreturn]] void wrongType(std::size_t column, const char* expected) {
  throw SqlError("result column " + std::to_string(column) + " holds no " + expected);
}

}  // namespace

std::int64_t integerAt(const SqlRow& row, std::size_t column) {
  const auto* value = std::get_if<std::int64_t>(&columnOf(row, column));
  if (!value) wrongType(column, "whole number");
  return *value;
}

std::optional<std::int64_t> optionalIntegerAt(const SqlRow& row, std::size_t column) {
  if (std::holds_alternative<std::nullptr_t>(columnOf(row, column))) return std::nullopt;
  return integerAt(row, column);
}

double doubleAt(const SqlRow& row, std::size_t column) {
  const auto* real = std::get_if<double>(&columnOf(row, column));
  if (!real) wrongType(column, "number");
  return *real;
}

std::string textAt(const SqlRow& row, std::size_t column) {
  const auto* value = std::get_if<std::string>(&columnOf(row, column));
  if (!value) wrongType(column, "text");
  return *value;
}

SqlBlob blobAt(const SqlRow& row, std::size_t column) {
  const auto* value = std::get_if<SqlBlob>(&columnOf(row, column));
  if (!value) wrongType(column, "bytes");
  return *value;
}

}  // namespace pq::archive
