#include "users/RoleRules.h"

#include "users/UserTable.h"

namespace pq {

PasswordCommands passwordCommandsForRole(std::string_view role) {
  if (role.starts_with(users::kAdministrator)) return PasswordCommands::Enable;
  if (role.starts_with(users::kUser)) return PasswordCommands::Disable;
  return PasswordCommands::Leave;
}

}  // namespace pq
