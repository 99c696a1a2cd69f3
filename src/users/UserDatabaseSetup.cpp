#include "users/UserDatabaseSetup.h"

#include <sqlite3.h>

#include <string>

#include "base/ExecutableFolder.h"
#include "users/UserDatabaseError.h"
#include "users/UserTable.h"

namespace pq {

std::string defaultUserDatabasePath() { return (executableFolder() / users::kDatabaseFileName).string(); }

void createUserDatabase(const std::string& path) {
  sqlite3* connection = nullptr;
  const int opened =
      sqlite3_open_v2(path.c_str(), &connection, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  char* error = nullptr;
  if (opened == SQLITE_OK) {
    const std::string statement = std::string("CREATE TABLE IF NOT EXISTS \"") + users::kTable + "\" (\"" +
                                  users::kNameColumn + "\" TEXT, \"" + users::kPasswordColumn +
                                  "\" TEXT, \"" + users::kRoleColumn + "\" TEXT)";
    sqlite3_exec(connection, statement.c_str(), nullptr, nullptr, &error);
  }
  const std::string message = error != nullptr ? error : sqlite3_errmsg(connection);
  const bool failed = opened != SQLITE_OK || error != nullptr;
  sqlite3_free(error);
  sqlite3_close(connection);
  if (failed) throw UserDatabaseError(message);
}

}  // namespace pq
