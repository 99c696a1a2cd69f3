#include "users/UserAdministration.h"

#include "users/PasswordScrambling.h"
#include "users/UserMessages.h"
#include "users/UserQuery.h"
#include "users/UserTable.h"

namespace pq {

namespace msg = users::messages;

const char* messageOf(AdditionRefusal refusal) {
  switch (refusal) {
    case AdditionRefusal::NameOrPasswordEmpty:
      return msg::kNameAndPasswordEmpty;
    case AdditionRefusal::PasswordTooShort:
      return msg::kPasswordTooShort;
    case AdditionRefusal::AlreadyRegistered:
      return msg::kAlreadyRegistered;
    case AdditionRefusal::PasswordsDiffer:
      return msg::kPasswordsDiffer;
  }
  return msg::kNameAndPasswordEmpty;
}

bool UserAdministration::passwordLongEnough(std::string_view password) {
  return gbkByteLength(password) >= 6;
}

bool UserAdministration::findOne(UserSearch search, const std::string& name) {
  searchUser(query_, search, name);
  return query_.recordCount() == 1;
}

Identification UserAdministration::identify(UserSearch search, const std::string& name,
                                            const std::string& password) {
  if (!findOne(search, name)) return Identification::UnknownUser;
  if (!passwordMatches(query_.fieldText(users::kPasswordColumn), password))
    return Identification::WrongPassword;
  return Identification::Confirmed;
}

std::string UserAdministration::foundRole() const { return query_.fieldText(users::kRoleColumn); }

std::optional<AdditionRefusal> UserAdministration::add(const NewUser& user) {
  if (user.name.empty() || user.password.empty() || user.confirmation.empty()) {
    return AdditionRefusal::NameOrPasswordEmpty;
  }
  // The add-user window already refuses a short password when its field is left; checked here as
  // well for the command line, which has no such field, and so that no way around the field stores one.
  if (!passwordLongEnough(user.password)) return AdditionRefusal::PasswordTooShort;
  // A name held by two or more rows counts as nobody's, so it can be added once more.
  if (findOne(UserSearch::Adding, user.name)) return AdditionRefusal::AlreadyRegistered;
  if (user.password != user.confirmation) return AdditionRefusal::PasswordsDiffer;
  query_.append();
  query_.setField(users::kNameColumn, user.name);
  query_.setField(users::kRoleColumn, user.role);
  query_.setField(users::kPasswordColumn, storedPassword(user.password));
  query_.post();
  return std::nullopt;
}

void UserAdministration::changeFound(const std::string& password, const std::optional<std::string>& role) {
  query_.edit();
  query_.setField(users::kPasswordColumn, storedPassword(password));
  if (role) query_.setField(users::kRoleColumn, *role);
  query_.post();
}

void UserAdministration::removeFound() { query_.deleteRow(); }

}  // namespace pq
