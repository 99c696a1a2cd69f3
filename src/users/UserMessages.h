#pragma once

namespace pq::users::messages {

// Texts the operator reads about users and passwords, each in one place.
inline constexpr char kConnectionFailed[] = "与数据库连接未成功，请重新配置";
inline constexpr char kConnectionFailedCaption[] = "警告对话框";
inline constexpr char kDatabaseNotOpen[] = "用户数据库未打开。";

inline constexpr char kLoginCaption[] = "系统登录";
inline constexpr char kChooseUser[] = "请选择用户姓名";
inline constexpr char kEnterUserName[] = "请输入用户姓名";
inline constexpr char kUserUnknownAtLogin[] = "用户不存在，请您重新输入";
inline constexpr char kWrongLoginPassword[] = "密码不正确，您不允许登录该系统";

inline constexpr char kNameAndPasswordEmpty[] = "用户姓名及密码不能为空，请重新输入。";
inline constexpr char kPasswordTooShort[] = "请输入6位密码！";
inline constexpr char kAlreadyRegistered[] = "该用户已经注册过了，请重新输入。";
inline constexpr char kPasswordsDiffer[] = "两次输入密码不一致，请重新输入。";
inline constexpr char kPasswordSet[] = "密码设定成功！";
inline constexpr char kUserUnknown[] = "该用户不存在，请重新输入。";
inline constexpr char kWrongPasswordForChange[] = "密码不对，不允许您修改。";
inline constexpr char kNewPasswordEmpty[] = "密码不能为空，请重新输入。";
inline constexpr char kChangeRoleToo[] = "权限也要修改吗？";
inline constexpr char kPasswordChanged[] = "密码修改成功！";
inline constexpr char kWrongPasswordForDelete[] = "密码不对，不允许您删除。";
inline constexpr char kConfirmDelete[] = "确认删除该用户吗？";
inline constexpr char kDeleteRefused[] = "你的权限不允许删除用户。";
inline constexpr char kConfirmDeleteAdministrator[] = "该用户权限为Administrator，确认删除吗？";
inline constexpr char kUserDeleted[] = "用户已成功删除。";
inline constexpr char kQuestionCaption[] = "警告！";

}  // namespace pq::users::messages
