#pragma once

#include "archive/SqlConnection.h"

namespace pq::archive {

// The version of the archive's tables that this program writes.
int currentSchemaVersion();

// What the database held before migrateArchive() brought it to the current version.
struct Migration {
  int fromVersion = 0;
  int toVersion = 0;
};

// Brings the archive's tables to the current version: the missing migrations, in order, in one
// transaction, each recorded in the table archive_migrations; an archive at the current version is
// only read. Two programs that open the same archive at once migrate it once. Throws ArchiveError (the
// operator's message) for a database that holds other tables and no archive, or an archive of a later version
// than this program knows; SqlError when the engine refuses.
Migration migrateArchive(SqlConnection& connection);

}  // namespace pq::archive
