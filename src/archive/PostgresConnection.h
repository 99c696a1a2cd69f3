#pragma once

#include <map>
#include <string>

#include "archive/SqlConnection.h"

struct pg_conn;

namespace pq::archive {

// The archive on a PostgreSQL server through libpq. The connection text (a postgresql:// URI or
// key=value pairs) goes to libpq as it is. Texts travel as UTF-8.
class PostgresConnection : public SqlConnection {
 public:
  // Throws SqlError with libpq's reason when the server cannot be reached or refuses the login.
  explicit PostgresConnection(const std::string& connectionText);
  ~PostgresConnection() override;
  PostgresConnection(const PostgresConnection&) = delete;
  PostgresConnection& operator=(const PostgresConnection&) = delete;

  SqlDialect dialect() const override { return SqlDialect::Postgres; }
  std::vector<SqlRow> run(std::string_view sql, std::initializer_list<SqlValue> parameters = {}) override;
  void runScript(std::string_view sql) override;
  void begin() override;
  void commit() override;
  void rollback() noexcept override;
  void lockSchema() override;
  std::vector<std::string> tableNames() override;
  bool ownsWholeDatabase() const override { return false; }

 private:
  const std::string& prepared(std::string_view sql, int parameterCount);

  pg_conn* connection_ = nullptr;
  std::map<std::string, std::string, std::less<>> statements_;  // text -> prepared name
};

}  // namespace pq::archive
