#pragma once

#include <string>

#include "users/UserQuery.h"

struct sqlite3;

namespace pq {

// The user-database module (TDM): one connection to Pass.mdb (Mima) and the one shared query
// DQ_Pass. It connects when it is created and never reconnects; when the file or the user table is
// missing, connected() stays false and every operation of DQ_Pass throws UserDatabaseError. The
// module never creates the database. One instance lives for the whole run of the program.
class TDM {
 public:
  explicit TDM(std::string databasePath);
  ~TDM();
  TDM(const TDM&) = delete;
  TDM& operator=(const TDM&) = delete;

  bool connected() const { return Mima_ != nullptr; }
  const std::string& databasePath() const { return databasePath_; }

  UserQuery DQ_Pass;

 private:
  std::string databasePath_;
  sqlite3* Mima_ = nullptr;
};

}  // namespace pq
