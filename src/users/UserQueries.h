#pragma once

#include <string>
#include <vector>

#include "users/UserQuery.h"

namespace pq {

// The searches on the user table by name, each with its own parameter name.
enum class UserSearch { Login, Adding, VerifyingChange, WritingChange, Deleting };

// Runs "SELECT * FROM 用户密码" on the query and leaves it open.
void openUserListing(UserQuery& query);
// Every user name in the order the engine returns them; the query is closed afterwards.
std::vector<std::string> listUserNames(UserQuery& query);
// Runs the search with `name` bound to its parameter and leaves the result open. A user exists
// only when exactly one row is found.
void searchUser(UserQuery& query, UserSearch search, const std::string& name);

}  // namespace pq
