#pragma once

#include <string>

#include "support/TempDir.h"

namespace pq::test {

// A PostgreSQL 15 server of the tests' own: a cluster made by initdb in a temporary folder, listening
// only on a socket there, stopped and removed with the object. When the test runs as root, the server
// runs as the system user "postgres", since PostgreSQL refuses root. Without the server's programs,
// or when it cannot be started, skipReason() says why and the tests that need it skip.
class PostgresServer {
 public:
  PostgresServer();
  ~PostgresServer();
  PostgresServer(const PostgresServer&) = delete;
  PostgresServer& operator=(const PostgresServer&) = delete;

  const std::string& skipReason() const { return skipReason_; }
  // A libpq URI of a fresh, empty database on the server, for one test.
  std::string freshDatabase();

  // The server of the whole test run, started when first asked for.
  static PostgresServer& shared();

 private:
  std::string url(const std::string& database) const;
  // The command (its redirections done by the calling shell) with the server's program as its user.
  bool runAsServerUser(const std::string& command) const;

  TempDir dir_;
  std::string socketDir_;
  std::string runAs_;  // the prefix that runs a program as the server's user
  std::string skipReason_;
  bool started_ = false;
  int databases_ = 0;
};

}  // namespace pq::test
