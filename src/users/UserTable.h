#pragma once

namespace pq::users {

// The user table of Pass.mdb and its three text columns.
inline constexpr char kTable[] = "用户密码";
inline constexpr char kNameColumn[] = "用户姓名";
inline constexpr char kPasswordColumn[] = "用户密码";
inline constexpr char kRoleColumn[] = "用户权限";
inline constexpr char kDatabaseFileName[] = "Pass.mdb";

inline constexpr char kAdministrator[] = "Administrator";
inline constexpr char kUser[] = "User";

}  // namespace pq::users
