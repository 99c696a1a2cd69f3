#include "archive/PostgresConnection.h"

#include <libpq-fe.h>

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <memory>

namespace pq::archive {

namespace {

// Type OIDs of the results the archive reads (PostgreSQL's pg_type.dat).
constexpr Oid kBoolOid = 16;
constexpr Oid kByteaOid = 17;
constexpr Oid kInt8Oid = 20;
constexpr Oid kInt2Oid = 21;
constexpr Oid kInt4Oid = 23;
constexpr Oid kFloat4Oid = 700;
constexpr Oid kFloat8Oid = 701;
constexpr Oid kNumericOid = 1700;

// The key of the advisory lock under which one connection at a time looks at and changes the schema.
constexpr long long kSchemaLockKey = 0x7071'6465'736b'0001;  // "pqdesk" 1

constexpr char kUniqueViolation[] = "23505";

using Result = std::unique_ptr<PGresult, decltype(&PQclear)>;

std::string withoutLineEnd(const char* message) {
  std::string text = message ? message : "";
  while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
  return text;
}

// Throws unless the result is a success.
Result checked(PGresult* raw, pg_conn* connection) {
  Result result(raw, &PQclear);
  if (!result) throw SqlError(withoutLineEnd(PQerrorMessage(connection)));
  const ExecStatusType status = PQresultStatus(result.get());
  if (status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK) return result;
  const char* state = PQresultErrorField(result.get(), PG_DIAG_SQLSTATE);
  const auto kind = state && std::string_view(state) == kUniqueViolation ? SqlError::Kind::UniqueViolation
                                                                         : SqlError::Kind::Other;
  throw SqlError(withoutLineEnd(PQresultErrorMessage(result.get())), kind);
}

std::string doubleText(double value) {
  if (std::isnan(value)) return "NaN";
  if (std::isinf(value)) return value > 0 ? "Infinity" : "-Infinity";
  char text[32];
  const auto end = std::to_chars(text, text + sizeof text, value).ptr;
  return {text, end};
}

std::int64_t wholeOf(std::string_view text) {
  std::int64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size())
    throw SqlError("not a whole number: " + std::string(text));
  return value;
}

double realOf(const std::string& text) {
  if (text == "NaN") return std::nan("");
  if (text == "Infinity") return HUGE_VAL;
  if (text == "-Infinity") return -HUGE_VAL;
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) throw SqlError("not a number: " + text);
  return value;
}

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  throw SqlError("bytea text is not hexadecimal");
}

// bytea in the server's hex output form, "\x0a1b…" (the default since PostgreSQL 9.0).
SqlBlob bytesOf(std::string_view text) {
  if (text.size() < 2 || text[0] != '\\' || text[1] != 'x' || text.size() % 2 != 0)
    throw SqlError("bytea text is not in hex form");
  SqlBlob bytes;
  bytes.reserve((text.size() - 2) / 2);
  for (std::size_t i = 2; i < text.size(); i += 2)
    bytes.push_back(static_cast<std::uint8_t>(hexDigit(text[i]) * 16 + hexDigit(text[i + 1])));
  return bytes;
}

SqlValue valueOf(const PGresult* result, int row, int column) {
  if (PQgetisnull(result, row, column)) return nullptr;
  const char* raw = PQgetvalue(result, row, column);
  const std::string_view text(raw, static_cast<std::size_t>(PQgetlength(result, row, column)));
  switch (PQftype(result, column)) {
    case kBoolOid:
      return static_cast<std::int64_t>(text == "t" ? 1 : 0);
    case kInt2Oid:
    case kInt4Oid:
    case kInt8Oid:
      return wholeOf(text);
    case kFloat4Oid:
    case kFloat8Oid:
    case kNumericOid:
      return realOf(std::string(text));
    case kByteaOid:
      return bytesOf(text);
    default:
      return std::string(text);
  }
}

}  // namespace

PostgresConnection::PostgresConnection(const std::string& connectionText)
    : connection_(PQconnectdb(connectionText.c_str())) {
  if (!connection_ || PQstatus(connection_) != CONNECTION_OK) {
    const std::string reason = connection_ ? withoutLineEnd(PQerrorMessage(connection_)) : "out of memory";
    PQfinish(connection_);
    throw SqlError(reason);
  }
  // The server's notices ("already exists, skipping") are no business of the operator's.
  PQsetNoticeProcessor(
      connection_, [](void*, const char*) {}, nullptr);
  if (PQsetClientEncoding(connection_, "UTF8") != 0) {
    const std::string reason = withoutLineEnd(PQerrorMessage(connection_));
    PQfinish(connection_);
    throw SqlError(reason);
  }
}

PostgresConnection::~PostgresConnection() { PQfinish(connection_); }

const std::string& PostgresConnection::prepared(std::string_view sql, int parameterCount) {
  if (const auto found = statements_.find(sql); found != statements_.end()) return found->second;
  const std::string name = "pq" + std::to_string(statements_.size());
  const std::string text(sql);
  checked(PQprepare(connection_, name.c_str(), text.c_str(), parameterCount, nullptr), connection_);
  return statements_.emplace(text, name).first->second;
}

std::vector<SqlRow> PostgresConnection::run(std::string_view sql,
                                            std::initializer_list<SqlValue> parameters) {
  const int count = static_cast<int>(parameters.size());
  const std::string& name = prepared(sql, count);

  // Numbers and texts go as text, which the server converts to the column's type; bytes go in binary
  // form, which for bytea is the bytes themselves.
  std::vector<std::string> texts(parameters.size());
  std::vector<const char*> values(parameters.size(), nullptr);
  std::vector<int> lengths(parameters.size(), 0);
  std::vector<int> formats(parameters.size(), 0);
  std::size_t i = 0;
  for (const SqlValue& parameter : parameters) {
    if (const auto* whole = std::get_if<std::int64_t>(&parameter)) {
      texts[i] = std::to_string(*whole);
    } else if (const auto* real = std::get_if<double>(&parameter)) {
      texts[i] = doubleText(*real);
    } else if (const auto* text = std::get_if<std::string>(&parameter)) {
      texts[i] = *text;
    } else if (const auto* blob = std::get_if<SqlBlob>(&parameter)) {
      values[i] = blob->empty() ? "" : reinterpret_cast<const char*>(blob->data());
      lengths[i] = static_cast<int>(blob->size());
      formats[i] = 1;
    }
    if (!std::holds_alternative<std::nullptr_t>(parameter) && formats[i] == 0) {
      values[i] = texts[i].c_str();
      lengths[i] = static_cast<int>(texts[i].size());
    }
    ++i;
  }
  const Result result = checked(
      PQexecPrepared(connection_, name.c_str(), count, values.data(), lengths.data(), formats.data(), 0),
      connection_);

  std::vector<SqlRow> rows(static_cast<std::size_t>(PQntuples(result.get())));
  const int columns = PQnfields(result.get());
  for (std::size_t r = 0; r < rows.size(); ++r) {
    rows[r].reserve(static_cast<std::size_t>(columns));
    for (int c = 0; c < columns; ++c) rows[r].push_back(valueOf(result.get(), static_cast<int>(r), c));
  }
  return rows;
}

void PostgresConnection::runScript(std::string_view sql) {
  const std::string text(sql);
  checked(PQexec(connection_, text.c_str()), connection_);
}

void PostgresConnection::begin() { runScript("BEGIN"); }

void PostgresConnection::commit() { runScript("COMMIT"); }

void PostgresConnection::rollback() noexcept {
  if (PQtransactionStatus(connection_) == PQTRANS_IDLE) return;
  PQclear(PQexec(connection_, "ROLLBACK"));
}

void PostgresConnection::lockSchema() {
  run("SELECT pg_advisory_xact_lock($1)", {static_cast<std::int64_t>(kSchemaLockKey)});
}

std::vector<std::string> PostgresConnection::tableNames() {
  std::vector<std::string> names;
  for (const SqlRow& row :
       run("SELECT table_name::text FROM information_schema.tables WHERE table_schema = current_schema()"))
    names.push_back(textAt(row, 0));
  return names;
}

}  // namespace pq::archive
