#include "users/UserDataModule.h"

#include <sqlite3.h>

#include "users/UserDatabaseError.h"
#include "users/UserQueries.h"
#include "users/UserTable.h"

namespace pq {

TDM::TDM(std::string databasePath) : DQ_Pass(users::kTable), databasePath_(std::move(databasePath)) {
  sqlite3* connection = nullptr;
  // Read-write without create: a missing file is a failed connection, not a new empty database.
  if (sqlite3_open_v2(databasePath_.c_str(), &connection, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
    sqlite3_close(connection);
    return;
  }
  sqlite3_busy_timeout(connection, 2000);
  DQ_Pass.setConnection(connection);
  try {
    // Reading the table proves that the file is a database and holds the user table.
    openUserListing(DQ_Pass);
  } catch (const UserDatabaseError&) {
    DQ_Pass.setConnection(nullptr);
    sqlite3_close(connection);
    return;
  }
  Mima_ = connection;
}

TDM::~TDM() {
  DQ_Pass.setConnection(nullptr);
  sqlite3_close(Mima_);
}

}  // namespace pq
