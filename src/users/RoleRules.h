#pragma once

#include <string_view>

namespace pq {

// What a successful login does to the password-management commands of the main window.
enum class PasswordCommands { Enable, Disable, Leave };

// A role is recognised by its leading characters: "Administrator..." enables, "User..." disables,
// anything else leaves the commands as they are (enabled).
PasswordCommands passwordCommandsForRole(std::string_view role);

}  // namespace pq
