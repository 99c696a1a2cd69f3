#pragma once

#include <memory>
#include <string>

#include "archive/SqlConnection.h"

namespace pq::archive {

// Where an archive is: a SQLite file, or a PostgreSQL database whose connection text goes to libpq as
// it is.
struct ArchiveLocation {
  SqlDialect engine = SqlDialect::Sqlite;
  std::string target;  // the file's path, or the connection text
  std::string shown;   // how messages name it: the path, or the server (never its password)
};

// "postgresql://…" or "postgres://…" is a server; "sqlite:PATH" and any other text a file.
ArchiveLocation archiveLocationOf(const std::string& url);
// The user's own archive: archive.db in the pqdesk folder of $XDG_DATA_HOME, else of ~/.local/share.
std::string defaultArchivePath();

// An open archive whose tables are at the current version.
struct OpenArchive {
  std::unique_ptr<SqlConnection> connection;
  std::string shown;
};
// Connects and migrates. Throws ArchiveError with the operator's message and the reason when the
// archive cannot be reached, is no archive, or is of a later version. The folder of the default
// archive is created when missing; that of a file named on purpose is not.
OpenArchive openArchive(const ArchiveLocation& location, bool createFolder = false);

}  // namespace pq::archive
