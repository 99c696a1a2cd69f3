#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "users/UserQueries.h"

namespace pq {

// What a typed name and password amount to.
enum class Identification { UnknownUser, WrongPassword, Confirmed };

// Why a user is not added, in the order the checks run.
enum class AdditionRefusal { NameOrPasswordEmpty, PasswordTooShort, AlreadyRegistered, PasswordsDiffer };

// The text the operator reads for a refused addition.
const char* messageOf(AdditionRefusal refusal);

struct NewUser {
  std::string name;
  std::string role;
  std::string password;
  std::string confirmation;
};

// The rules of user administration on the shared query, the same for the windows and the command
// line. A user exists only when a search by name finds exactly one row; that row then stays the
// current row of the query for reading its role and for changing or deleting it.
class UserAdministration {
 public:
  explicit UserAdministration(UserQuery& query) : query_(query) {}

  // The six-byte minimum of a new password, in GBK bytes.
  static bool passwordLongEnough(std::string_view password);

  // Whether `name` names exactly one user.
  bool findOne(UserSearch search, const std::string& name);
  // Finds the user and compares the typed password with the stored one.
  Identification identify(UserSearch search, const std::string& name, const std::string& password);
  // The role column of the user found last.
  std::string foundRole() const;

  // Runs the checks of an addition and appends the user when they all pass.
  std::optional<AdditionRefusal> add(const NewUser& user);
  // Stores a new password for the user found last, and the role too when one is given.
  void changeFound(const std::string& password, const std::optional<std::string>& role);
  void removeFound();

 private:
  UserQuery& query_;
};

}  // namespace pq
