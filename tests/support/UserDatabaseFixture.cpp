#include "support/UserDatabaseFixture.h"

#include <sqlite3.h>

#include <stdexcept>

#include "users/UserDatabaseSetup.h"

namespace pq::test {

namespace {

class Connection {
 public:
  explicit Connection(const std::string& path) {
    if (sqlite3_open(path.c_str(), &db_) != SQLITE_OK) throw std::runtime_error(sqlite3_errmsg(db_));
  }
  ~Connection() { sqlite3_close(db_); }
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;
  sqlite3* get() const { return db_; }

 private:
  sqlite3* db_ = nullptr;
};

}  // namespace

UserDatabaseFixture::UserDatabaseFixture() : path_(dir_.file("Pass.mdb")) { createUserDatabase(path_); }

void UserDatabaseFixture::addRow(const std::string& name, const std::string& storedPassword,
                                 const std::string& role) {
  Connection db(path_);
  sqlite3_stmt* statement = nullptr;
  sqlite3_prepare_v2(db.get(), "INSERT INTO 用户密码 VALUES (?, ?, ?)", -1, &statement, nullptr);
  sqlite3_bind_text(statement, 1, name.c_str(), -1, SQLITE_TRANSIENT);
  sqlite3_bind_text(statement, 2, storedPassword.c_str(), -1, SQLITE_TRANSIENT);
  sqlite3_bind_text(statement, 3, role.c_str(), -1, SQLITE_TRANSIENT);
  const int status = sqlite3_step(statement);
  sqlite3_finalize(statement);
  if (status != SQLITE_DONE) throw std::runtime_error("insert failed");
}

std::vector<std::string> UserDatabaseFixture::rowsOf(const std::string& path) {
  Connection db(path);
  sqlite3_stmt* statement = nullptr;
  sqlite3_prepare_v2(db.get(), "SELECT 用户姓名, 用户密码, 用户权限 FROM 用户密码 ORDER BY rowid", -1,
                     &statement, nullptr);
  std::vector<std::string> out;
  while (sqlite3_step(statement) == SQLITE_ROW) {
    std::string row;
    for (int i = 0; i < 3; ++i) {
      const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, i));
      if (i > 0) row += '|';
      // By length, so that a zero byte inside a text is kept.
      row += text != nullptr ? std::string(text, static_cast<std::size_t>(sqlite3_column_bytes(statement, i)))
                             : "NULL";
    }
    out.push_back(row);
  }
  sqlite3_finalize(statement);
  return out;
}

}  // namespace pq::test
