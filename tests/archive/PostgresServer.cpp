#include "archive/PostgresServer.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "archive/PostgresConnection.h"

namespace pq::test {

namespace {

const std::string kBin = "/usr/lib/postgresql/15/bin/";
constexpr char kUser[] = "pqtest";

std::string quoted(const std::string& text) { return "'" + text + "'"; }

}  // namespace

PostgresServer::PostgresServer() {
  if (!std::filesystem::exists(kBin + "initdb") || !std::filesystem::exists(kBin + "pg_ctl")) {
    skipReason_ = "PostgreSQL 15 server programs not installed (" + kBin + ")";
    return;
  }
  if (::geteuid() == 0) {
    const passwd* user = ::getpwnam("postgres");
    if (!user) {
      skipReason_ = "running as root and there is no user postgres to run the server";
      return;
    }
    if (::chown(dir_.path().c_str(), user->pw_uid, user->pw_gid) != 0) {
      skipReason_ = "cannot hand the server's folder to user postgres";
      return;
    }
    runAs_ = "runuser -u postgres -- ";
  }
  socketDir_ = dir_.path();
  const std::string data = dir_.file("data");
  if (!runAsServerUser(kBin + "initdb -D " + quoted(data) + " -A trust -U " + kUser + " >" +
                       quoted(dir_.file("initdb.log")) + " 2>&1")) {
    skipReason_ = "initdb failed, see " + dir_.file("initdb.log");
    return;
  }
  if (!runAsServerUser(kBin + "pg_ctl -D " + quoted(data) + " -w -l " + quoted(dir_.file("server.log")) +
                       " -o \"-k " + socketDir_ + " -c listen_addresses=''\" start >/dev/null 2>&1")) {
    skipReason_ = "the server did not start, see " + dir_.file("server.log");
    return;
  }
  started_ = true;
}

PostgresServer::~PostgresServer() {
  if (started_)
    runAsServerUser(kBin + "pg_ctl -D " + quoted(dir_.file("data")) + " -m immediate stop >/dev/null 2>&1");
}

PostgresServer& PostgresServer::shared() {
  static PostgresServer server;
  return server;
}

bool PostgresServer::runAsServerUser(const std::string& command) const {
  return std::system((runAs_ + command).c_str()) == 0;
}

std::string PostgresServer::url(const std::string& database) const {
  return "postgresql:///" + database + "?host=" + socketDir_ + "&user=" + kUser;
}

std::string PostgresServer::freshDatabase() {
  const std::string name = "archive" + std::to_string(++databases_);
  archive::PostgresConnection server(url("postgres"));
  server.runScript("CREATE DATABASE " + name);
  return url(name);
}

}  // namespace pq::test
