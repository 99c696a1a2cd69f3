#pragma once

#include <stdexcept>

namespace pq {

// The database engine refused an operation on the user table, or the database is not open. The
// application shows the text through its central error report and abandons the action.
class UserDatabaseError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace pq
