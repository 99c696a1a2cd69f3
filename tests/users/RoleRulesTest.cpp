#include <gtest/gtest.h>

#include "users/RoleRules.h"

namespace pq {
namespace {

TEST(RoleRules, LeadingCharactersDecide) {
  struct Case {
    const char* role;
    PasswordCommands expected;
  };
  const Case cases[] = {
      {"Administrator", PasswordCommands::Enable},
      {"Administrator2", PasswordCommands::Enable},
      {"User", PasswordCommands::Disable},
      {"Users", PasswordCommands::Disable},
      {"", PasswordCommands::Leave},
      {"administrator", PasswordCommands::Leave},
      {"Admin", PasswordCommands::Leave},
      {"Use", PasswordCommands::Leave},
      {" User", PasswordCommands::Leave},
  };
  for (const auto& c : cases) EXPECT_EQ(passwordCommandsForRole(c.role), c.expected) << c.role;
}

}  // namespace
}  // namespace pq
