#pragma once

#include <string>

namespace pq {

// Pass.mdb in the folder of the running executable, where the program looks for its users.
std::string defaultUserDatabasePath();

// Creates the database file and the user table when they are missing; an existing table keeps its
// rows. Throws UserDatabaseError when the file cannot be opened as a database.
void createUserDatabase(const std::string& path);

}  // namespace pq
