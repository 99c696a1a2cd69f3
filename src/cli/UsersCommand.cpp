#include <iostream>
#include <string>

#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "users/UserAdministration.h"
#include "users/UserDataModule.h"
#include "users/UserDatabaseError.h"
#include "users/UserDatabaseSetup.h"
#include "users/UserMessages.h"
#include "users/UserQueries.h"
#include "users/UserTable.h"

namespace pq::cli {

namespace {

namespace msg = users::messages;

int refuse(const char* message) {
  std::cerr << message << '\n';
  return kExitRefused;
}

// The first line of stdin, without its line end.
std::string readPassword() {
  std::string line;
  std::getline(std::cin, line);
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

int addUser(TDM& database, const std::string& name, const std::string& role) {
  const std::string password = readPassword();
  // The password is read once, so it is its own confirmation.
  const auto refusal = UserAdministration(database.DQ_Pass).add({name, role, password, password});
  return refusal ? refuse(messageOf(*refusal)) : kExitDone;
}

int listUsers(TDM& database) {
  UserQuery& query = database.DQ_Pass;
  openUserListing(query);
  for (query.first(); !query.eof(); query.next()) {
    std::cout << query.fieldText(users::kNameColumn) << '\t' << query.fieldText(users::kRoleColumn) << '\n';
  }
  query.close();
  return kExitDone;
}

int removeUser(TDM& database, const std::string& name) {
  UserAdministration accounts(database.DQ_Pass);
  if (!accounts.findOne(UserSearch::Deleting, name)) return refuse(msg::kUserUnknown);
  accounts.removeFound();
  return kExitDone;
}

int runSubcommand(const Arguments& arguments) {
  const std::string& subcommand = arguments.positional(0, "subcommand");
  const std::string path = arguments.text("db", defaultUserDatabasePath());
  if (subcommand == "init") {
    arguments.expectPositionals(1);
    createUserDatabase(path);
    return kExitDone;
  }
  const bool takesName = subcommand == "add" || subcommand == "remove";
  if (!takesName && subcommand != "list") throw UsageError("unknown subcommand " + subcommand);
  arguments.expectPositionals(takesName ? 2 : 1);
  const std::string name = takesName ? arguments.positional(1, "user name") : std::string();
  TDM database(path);
  if (!database.connected()) return refuse(msg::kConnectionFailed);
  if (subcommand == "list") return listUsers(database);
  if (subcommand == "add") return addUser(database, name, arguments.text("role", users::kUser));
  return removeUser(database, name);
}

}  // namespace

int runUsers(const std::vector<std::string>& args) {
  const Arguments arguments(args, {"db", "role"});
  try {
    return runSubcommand(arguments);
  } catch (const UserDatabaseError& e) {
    // The engine refused: a file that is no database, a read-only folder.
    std::cerr << e.what() << '\n';
    return kExitRefused;
  }
}

}  // namespace pq::cli
