#include "archive/ArchiveLocation.h"

#include <cstdlib>
#include <filesystem>

#include "archive/ArchiveError.h"
#include "archive/ArchiveMessages.h"
#include "archive/ArchiveSchema.h"
#include "archive/PostgresConnection.h"
#include "archive/SqliteConnection.h"

namespace pq::archive {

namespace {

bool startsWith(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }

std::string environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

}  // namespace

ArchiveLocation archiveLocationOf(const std::string& url) {
  if (startsWith(url, "postgresql://") || startsWith(url, "postgres://"))
    return {SqlDialect::Postgres, url, messages::kServerArchive};
  const std::string path = startsWith(url, "sqlite:") ? url.substr(7) : url;
  return {SqlDialect::Sqlite, path, path};
}

std::string defaultArchivePath() {
  // XDG: a relative $XDG_DATA_HOME is invalid and ignored.
  std::filesystem::path data = environment("XDG_DATA_HOME");
  if (data.empty() || data.is_relative())
    data = std::filesystem::path(environment("HOME")) / ".local" / "share";
  return (data / "pqdesk" / "archive.db").string();
}

OpenArchive openArchive(const ArchiveLocation& location, bool createFolder) {
  try {
    OpenArchive archive;
    archive.shown = location.shown;
    if (location.engine == SqlDialect::Postgres) {
      archive.connection = std::make_unique<PostgresConnection>(location.target);
    } else {
      if (createFolder) {
        std::error_code ignored;  // a folder that cannot be made shows as the file that cannot be opened
        std::filesystem::create_directories(std::filesystem::path(location.target).parent_path(), ignored);
      }
      archive.connection = std::make_unique<SqliteConnection>(location.target);
    }
    migrateArchive(*archive.connection);
    return archive;
  } catch (const std::exception& e) {
    throw ArchiveError(messages::archiveCannotOpen(location.shown, e.what()));
  }
}

}  // namespace pq::archive
