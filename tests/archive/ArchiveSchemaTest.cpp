#include "archive/ArchiveSchema.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "archive/ArchiveError.h"
#include "archive/ArchiveLocation.h"
#include "archive/PostgresConnection.h"
#include "archive/PostgresServer.h"
#include "archive/SqliteConnection.h"
#include "cli/CliRunner.h"
#include "support/GeneratedRecords.h"
#include "support/TempDir.h"

namespace pq::archive {
namespace {

using test::TempDir;

std::unique_ptr<SqlConnection> connectTo(const std::string& engine, const TempDir& dir) {
  if (engine == "sqlite") return std::make_unique<SqliteConnection>(dir.file("archive.db"));
  return std::make_unique<PostgresConnection>(test::PostgresServer::shared().freshDatabase());
}

class ArchiveSchemaTest : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    if (std::string(GetParam()) == "postgresql" && !test::PostgresServer::shared().skipReason().empty())
      GTEST_SKIP() << test::PostgresServer::shared().skipReason();
  }
  TempDir dir;
};

TEST_P(ArchiveSchemaTest, AnEmptyDatabaseMigratesToTheCurrentVersionOnce) {
  const auto connection = connectTo(GetParam(), dir);
  const Migration first = migrateArchive(*connection);
  EXPECT_EQ(first.fromVersion, 0);
  EXPECT_EQ(first.toVersion, 1);
  const Migration second = migrateArchive(*connection);
  EXPECT_EQ(second.fromVersion, 1);
  EXPECT_EQ(second.toVersion, 1);
  const auto versions = connection->run("SELECT version FROM archive_migrations ORDER BY version");
  ASSERT_EQ(versions.size(), 1u);
  EXPECT_EQ(integerAt(versions.front(), 0), 1);
  for (const char* table :
       {"stations", "points", "surveys", "files", "events", "gaps", "survey_notes", "survey_values"}) {
    const auto tables = connection->tableNames();
    EXPECT_NE(std::find(tables.begin(), tables.end(), table), tables.end()) << table;
  }
}

// A table of the archive's name without the archive's version is someone else's: nothing is touched.
TEST_P(ArchiveSchemaTest, RefusesADatabaseHoldingTablesOfItsOwnNamesUnversioned) {
  const auto connection = connectTo(GetParam(), dir);
  connection->runScript("CREATE TABLE stations (code TEXT)");
  try {
    migrateArchive(*connection);
    ADD_FAILURE() << "migrated";
  } catch (const ArchiveError& e) {
    EXPECT_STREQ(e.what(), "这不是测量档案（其中已有别的数据表），未作改动。");
  }
  EXPECT_EQ(connection->tableNames(), std::vector<std::string>{"stations"});
}

TEST_P(ArchiveSchemaTest, RefusesAnArchiveOfALaterVersion) {
  const auto connection = connectTo(GetParam(), dir);
  migrateArchive(*connection);
  connection->run("INSERT INTO archive_migrations (version, applied) VALUES ($1, $2)",
                  {std::int64_t{7}, std::int64_t{1765400000}});
  try {
    migrateArchive(*connection);
    ADD_FAILURE() << "migrated";
  } catch (const ArchiveError& e) {
    EXPECT_STREQ(e.what(), "测量档案的格式版本为 7，本程序只认识到版本 1，请使用较新的程序。");
  }
}

INSTANTIATE_TEST_SUITE_P(Engines, ArchiveSchemaTest, ::testing::Values("sqlite", "postgresql"));

// Files that are no archive, given on the command line: the reason on stderr, exit 3, the file as it was.
TEST(ArchiveFileTest, WhatIsNoArchiveIsRefusedAndLeftAsItWas) {
  TempDir dir;
  std::ofstream(dir.file("notes.txt"))
      << "a text file that is long enough to hold a database header, but is none\n";
  {
    SqliteConnection other(dir.file("users.db"));
    other.runScript("CREATE TABLE users (name TEXT, password TEXT)");
  }
  std::ofstream(dir.file("empty.db"));  // an empty file is an empty database
  const struct {
    std::string url;
    int status;
    std::string err;
  } cases[] = {
      {dir.file("notes.txt"), 3, "无法打开测量档案 " + dir.file("notes.txt") + "：file is not a database\n"},
      {"sqlite:" + dir.file("users.db"), 3,
       "无法打开测量档案 " + dir.file("users.db") + "：这不是测量档案（其中已有别的数据表），未作改动。\n"},
      {dir.file("missing/archive.db"), 3,
       "无法打开测量档案 " + dir.file("missing/archive.db") + "：unable to open database file\n"},
      {"postgresql:///archive?host=" + dir.file("no-server") + "&user=pqtest&connect_timeout=2", 3,
       "无法打开测量档案 PostgreSQL 服务器：connection to server on socket \"" + dir.file("no-server") +
           "/.s.PGSQL.5432\" failed: No such file or directory"},
      {dir.file("empty.db"), 0, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.url);
    const auto before = test::readBytes(c.url.substr(c.url.rfind(':') + 1));
    const auto result = test::runCli({"archive", "list", "--archive", c.url});
    EXPECT_EQ(result.status, c.status);
    EXPECT_EQ(result.err.substr(0, c.err.size()), c.err);
    if (c.status != 0) {
      EXPECT_EQ(test::readBytes(c.url.substr(c.url.rfind(':') + 1)), before);
    }
  }
}

// A write the engine refuses half-way through an add: the reason, exit 3, and nothing of the survey kept.
TEST(ArchiveFileTest, AnAddTheArchiveRefusesKeepsNothing) {
  TempDir dir;
  const std::string archive = dir.file("archive.db");
  {
    SqliteConnection connection(archive);
    migrateArchive(connection);
    // The values go in last, after the survey, its files and events.
    connection.runScript("DROP TABLE survey_values");
  }
  const std::string file = test::generateFile(dir.file("a.bin"), test::generatedFrom(20, 10, 0, 0, 5));
  const auto result = test::runCli({"archive", "add", file, "--archive", archive});
  EXPECT_EQ(result.status, 3);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err, "无法写入测量档案 " + archive + "：no such table: survey_values\n");
  SqliteConnection connection(archive);
  for (const char* table : {"stations", "points", "surveys", "files"})
    EXPECT_EQ(integerAt(connection.run(std::string("SELECT count(*) FROM ") + table).at(0), 0), 0) << table;
}

// The user's own archive, where no --archive names one.
TEST(ArchiveFileTest, TheDefaultArchiveIsInTheUsersDataFolder) {
  TempDir dir;
  const char* home = std::getenv("HOME");
  const char* data = std::getenv("XDG_DATA_HOME");
  const std::string savedHome = home ? home : "";
  const std::string savedData = data ? data : "";
  setenv("HOME", dir.file("home").c_str(), 1);
  const struct {
    const char* xdg;
    std::string path;
  } cases[] = {
      {"", dir.file("home/.local/share/pqdesk/archive.db")},
      {"relative/data", dir.file("home/.local/share/pqdesk/archive.db")},
      {"@data", dir.file("data/pqdesk/archive.db")},
  };
  for (const auto& c : cases) {
    const std::string xdg = std::string(c.xdg) == "@data" ? dir.file("data") : c.xdg;
    setenv("XDG_DATA_HOME", xdg.c_str(), 1);
    EXPECT_EQ(defaultArchivePath(), c.path) << c.xdg;
  }
  // The command line makes the folders it needs for it.
  const auto result = test::runCli({"archive", "list"});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_TRUE(std::filesystem::exists(dir.file("data/pqdesk/archive.db")));
  setenv("HOME", savedHome.c_str(), 1);
  if (data) {
    setenv("XDG_DATA_HOME", savedData.c_str(), 1);
  } else {
    unsetenv("XDG_DATA_HOME");
  }
}

}  // namespace
}  // namespace pq::archive
