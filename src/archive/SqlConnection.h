#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "archive/SqlValue.h"

namespace pq::archive {

// The few places where the two engines' SQL differs; everything else is written once.
enum class SqlDialect { Sqlite, Postgres };

// One connection to the archive's database, embedded (SQLite) or on a server (PostgreSQL). Statements
// are constant texts with parameters $1, $2, … and are prepared once per connection; the values are
// always bound, so no text from a file or a command line ever becomes SQL. Not shared between threads.
// Every failure throws SqlError.
class SqlConnection {
 public:
  virtual ~SqlConnection() = default;

  virtual SqlDialect dialect() const = 0;
  // The rows the statement gives (none for most writes).
  virtual std::vector<SqlRow> run(std::string_view sql, std::initializer_list<SqlValue> parameters = {}) = 0;
  // A statement without parameters run as it is, possibly several separated by ';': only for the
  // schema's constant texts.
  virtual void runScript(std::string_view sql) = 0;

  // A transaction that writes: SQLite takes the file's write lock at once, so that two writers wait
  // for each other instead of failing half-way.
  virtual void begin() = 0;
  virtual void commit() = 0;
  virtual void rollback() noexcept = 0;
  // Within a transaction: waits until no other connection changes the schema, up to its end.
  virtual void lockSchema() = 0;

  // The tables of the database (SQLite) or of the connection's schema (PostgreSQL).
  virtual std::vector<std::string> tableNames() = 0;
  // Whether the database is the archive's alone (a file) or may hold other applications' tables too
  // (a server's database).
  virtual bool ownsWholeDatabase() const = 0;
};

// Runs one transaction: begun here, rolled back unless commit() was reached, also when an exception
// leaves the scope.
class SqlTransaction {
 public:
  explicit SqlTransaction(SqlConnection& connection) : connection_(connection) { connection_.begin(); }
  ~SqlTransaction() {
    if (!done_) connection_.rollback();
  }
  SqlTransaction(const SqlTransaction&) = delete;
  SqlTransaction& operator=(const SqlTransaction&) = delete;

  void commit() {
    connection_.commit();
    done_ = true;
  }

 private:
  SqlConnection& connection_;
  bool done_ = false;
};

}  // namespace pq::archive
