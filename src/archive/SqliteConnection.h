#pragma once

#include <map>
#include <string>

#include "archive/SqlConnection.h"

struct sqlite3;
struct sqlite3_stmt;

namespace pq::archive {

// The archive in one SQLite file, created when missing. Writers wait for each other up to the busy
// timeout; the rollback journal keeps the file as it was when a writer dies half-way.
class SqliteConnection : public SqlConnection {
 public:
  // Throws SqlError with SQLite's reason when the file cannot be opened or created.
  explicit SqliteConnection(const std::string& path);
  ~SqliteConnection() override;
  SqliteConnection(const SqliteConnection&) = delete;
  SqliteConnection& operator=(const SqliteConnection&) = delete;

  SqlDialect dialect() const override { return SqlDialect::Sqlite; }
  std::vector<SqlRow> run(std::string_view sql, std::initializer_list<SqlValue> parameters = {}) override;
  void runScript(std::string_view sql) override;
  void begin() override;
  void commit() override;
  void rollback() noexcept override;
  void lockSchema() override {}  // the write lock of begin() already excludes every other writer
  std::vector<std::string> tableNames() override;
  bool ownsWholeDatabase() const override { return true; }

 private:
  sqlite3_stmt* prepared(std::string_view sql);
  [[noreturn]] void fail(int code);

  sqlite3* db_ = nullptr;
  std::map<std::string, sqlite3_stmt*, std::less<>> statements_;
};

}  // namespace pq::archive
