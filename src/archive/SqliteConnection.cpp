#include "archive/SqliteConnection.h"

#include <sqlite3.h>

#include <algorithm>

namespace pq::archive {

namespace {

// How long a writer waits for another one's transaction before it gives up.
constexpr int kBusyTimeoutMilliseconds = 30000;

// The statements are written with PostgreSQL's $1 … $n; SQLite reads ?1 … ?n as the same numbered
// parameters. Only constant statement texts pass here, none holding a '$' of its own.
std::string numberedParameters(std::string_view sql) {
  std::string text(sql);
  std::replace(text.begin(), text.end(), '$', '?');
  return text;
}

class ResetOnExit {
 public:
  explicit ResetOnExit(sqlite3_stmt* statement) : statement_(statement) {}
  ~ResetOnExit() {
    sqlite3_reset(statement_);
    sqlite3_clear_bindings(statement_);
  }
  ResetOnExit(const ResetOnExit&) = delete;
  ResetOnExit& operator=(const ResetOnExit&) = delete;

 private:
  sqlite3_stmt* statement_;
};

}  // namespace

SqliteConnection::SqliteConnection(const std::string& path) {
  const int code = sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  if (code != SQLITE_OK) {
    const std::string reason = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(code);
    sqlite3_close(db_);
    db_ = nullptr;
    throw SqlError(reason);
  }
  sqlite3_extended_result_codes(db_, 1);
  sqlite3_busy_timeout(db_, kBusyTimeoutMilliseconds);
  try {
    runScript("PRAGMA foreign_keys = ON");
  } catch (...) {
    sqlite3_close(db_);
    throw;
  }
}

SqliteConnection::~SqliteConnection() {
  for (auto& [text, statement] : statements_) sqlite3_finalize(statement);
  sqlite3_close(db_);
}

void SqliteConnection::fail(int code) {
  const auto kind = code == SQLITE_CONSTRAINT_UNIQUE || code == SQLITE_CONSTRAINT_PRIMARYKEY
                        ? SqlError::Kind::UniqueViolation
                        : SqlError::Kind::Other;
  throw SqlError(sqlite3_errmsg(db_), kind);
}

sqlite3_stmt* SqliteConnection::prepared(std::string_view sql) {
  if (const auto found = statements_.find(sql); found != statements_.end()) return found->second;
  const std::string text = numberedParameters(sql);
  sqlite3_stmt* statement = nullptr;
  const int code = sqlite3_prepare_v3(db_, text.c_str(), static_cast<int>(text.size()),
                                      SQLITE_PREPARE_PERSISTENT, &statement, nullptr);
  if (code != SQLITE_OK) fail(code);
  statements_.emplace(std::string(sql), statement);
  return statement;
}

std::vector<SqlRow> SqliteConnection::run(std::string_view sql, std::initializer_list<SqlValue> parameters) {
  sqlite3_stmt* statement = prepared(sql);
  const ResetOnExit reset(statement);
  int index = 0;
  for (const SqlValue& parameter : parameters) {
    ++index;
    int code = SQLITE_OK;
    if (const auto* whole = std::get_if<std::int64_t>(&parameter)) {
      code = sqlite3_bind_int64(statement, index, *whole);
    } else if (const auto* real = std::get_if<double>(&parameter)) {
      code = sqlite3_bind_double(statement, index, *real);
    } else if (const auto* text = std::get_if<std::string>(&parameter)) {
      code = sqlite3_bind_text64(statement, index, text->data(), text->size(), SQLITE_STATIC, SQLITE_UTF8);
    } else if (const auto* blob = std::get_if<SqlBlob>(&parameter)) {
      // A zero-length blob still binds as a blob, not as null.
      code =
          sqlite3_bind_blob64(statement, index, blob->empty() ? "" : static_cast<const void*>(blob->data()),
                              blob->size(), SQLITE_STATIC);
    } else {
      code = sqlite3_bind_null(statement, index);
    }
    if (code != SQLITE_OK) fail(code);
  }

  std::vector<SqlRow> rows;
  for (;;) {
    const int code = sqlite3_step(statement);
    if (code == SQLITE_DONE) break;
    if (code != SQLITE_ROW) fail(code);
    SqlRow& row = rows.emplace_back();
    const int columns = sqlite3_column_count(statement);
    for (int c = 0; c < columns; ++c) {
      switch (sqlite3_column_type(statement, c)) {
        case SQLITE_INTEGER:
          row.emplace_back(static_cast<std::int64_t>(sqlite3_column_int64(statement, c)));
          break;
        case SQLITE_FLOAT:
          row.emplace_back(sqlite3_column_double(statement, c));
          break;
        case SQLITE_TEXT: {
          const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, c));
          row.emplace_back(std::string(text, static_cast<std::size_t>(sqlite3_column_bytes(statement, c))));
          break;
        }
        case SQLITE_BLOB: {
          const auto* bytes = static_cast<const std::uint8_t*>(sqlite3_column_blob(statement, c));
          row.emplace_back(SqlBlob(bytes, bytes + sqlite3_column_bytes(statement, c)));
          break;
        }
        default:
          row.emplace_back(nullptr);
      }
    }
  }
  return rows;
}

void SqliteConnection::runScript(std::string_view sql) {
  const std::string text(sql);
  char* error = nullptr;
  if (sqlite3_exec(db_, text.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
    const std::string reason = error ? error : sqlite3_errmsg(db_);
    sqlite3_free(error);
    throw SqlError(reason);
  }
}

void SqliteConnection::begin() { runScript("BEGIN IMMEDIATE"); }

void SqliteConnection::commit() { runScript("COMMIT"); }

void SqliteConnection::rollback() noexcept {
  // Nothing to undo when the engine already rolled back after an error.
  if (!sqlite3_get_autocommit(db_)) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
}

std::vector<std::string> SqliteConnection::tableNames() {
  std::vector<std::string> names;
  for (const SqlRow& row :
       run("SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite_%'"))
    names.push_back(textAt(row, 0));
  return names;
}

}  // namespace pq::archive
