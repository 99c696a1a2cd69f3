#pragma once

#include <string>
#include <vector>

#include "support/TempDir.h"

namespace pq::test {

// A user database in a temporary folder, with rows written straight through SQLite so that tests
// can set up what the program itself would refuse to write (duplicate names, odd roles).
class UserDatabaseFixture {
 public:
  UserDatabaseFixture();

  const std::string& path() const { return path_; }
  // Adds a row; `password` is stored as given (already scrambled).
  void addRow(const std::string& name, const std::string& storedPassword, const std::string& role);
  // Every row as "name|stored password|role", in table order; a NULL reads "NULL".
  std::vector<std::string> rows() const { return rowsOf(path_); }
  static std::vector<std::string> rowsOf(const std::string& path);

 private:
  TempDir dir_;
  std::string path_;
};

}  // namespace pq::test
