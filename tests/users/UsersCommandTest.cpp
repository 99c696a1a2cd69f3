#include <gtest/gtest.h>

#include "cli/CliRunner.h"
#include "support/TempDir.h"
#include "support/UserDatabaseFixture.h"
#include "users/PasswordScrambling.h"

namespace pq {
namespace {

using test::runCli;

TEST(UsersCommand, InitAddListRemove) {
  test::TempDir dir;
  const std::string db = dir.file("Pass.mdb");
  EXPECT_EQ(runCli({"users", "list", "--db", db}).err, "与数据库连接未成功，请重新配置\n");
  ASSERT_EQ(runCli({"users", "init", "--db", db}).status, 0);
  EXPECT_EQ(runCli({"users", "add", "管理员", "--role", "Administrator", "--db", db}, "admin123\n").status,
            0);
  EXPECT_EQ(runCli({"users", "add", "op", "--db", db}, "op12345\r\n").status, 0);
  const auto listed = runCli({"users", "list", "--db", db});
  EXPECT_EQ(listed.status, 0);
  EXPECT_EQ(listed.out, "管理员\tAdministrator\nop\tUser\n");
  EXPECT_EQ(runCli({"users", "remove", "op", "--db", db}).status, 0);
  EXPECT_EQ(runCli({"users", "list", "--db", db}).out, "管理员\tAdministrator\n");
  ASSERT_EQ(runCli({"users", "init", "--db", db}).status, 0);
  EXPECT_EQ(runCli({"users", "list", "--db", db}).out, "管理员\tAdministrator\n");
}

TEST(UsersCommand, StoresTheScrambledPassword) {
  test::UserDatabaseFixture users;
  ASSERT_EQ(runCli({"users", "add", "op", "--db", users.path()}, "中文ab\n").status, 0);
  EXPECT_EQ(users.rows(), std::vector<std::string>{"op|" + storedPassword("中文ab") + "|User"});
}

TEST(UsersCommand, RefusesLikeTheAddUserWindow) {
  test::UserDatabaseFixture users;
  users.addRow("admin", "x", "Administrator");
  struct Case {
    std::vector<std::string> args;
    std::string password;
    std::string message;
  };
  const Case cases[] = {
      {{"add", "op"}, "\n", "用户姓名及密码不能为空，请重新输入。\n"},
      {{"add", ""}, "abcdef\n", "用户姓名及密码不能为空，请重新输入。\n"},
      {{"add", "op"}, "abcde\n", "请输入6位密码！\n"},
      {{"add", "op"}, "中文a\n", "请输入6位密码！\n"},  // five GBK bytes
      {{"add", "admin"}, "abcdef\n", "该用户已经注册过了，请重新输入。\n"},
      {{"remove", "nobody"}, "", "该用户不存在，请重新输入。\n"},
      {{"remove", "x' OR '1'='1"}, "", "该用户不存在，请重新输入。\n"},
  };
  for (const auto& c : cases) {
    auto args = c.args;
    args.insert(args.begin(), "users");
    args.insert(args.end(), {"--db", users.path()});
    const auto result = runCli(args, c.password);
    EXPECT_EQ(result.status, 3) << c.message;
    EXPECT_EQ(result.err, c.message);
  }
  EXPECT_EQ(users.rows().size(), 1u);
}

TEST(UsersCommand, AddsADuplicateNameAgainAndRefusesToRemoveIt) {
  test::UserDatabaseFixture users;
  users.addRow("dup", "a", "User");
  users.addRow("dup", "b", "User");
  EXPECT_EQ(runCli({"users", "add", "dup", "--db", users.path()}, "abcdef\n").status, 0);
  EXPECT_EQ(runCli({"users", "remove", "dup", "--db", users.path()}).status, 3);
  EXPECT_EQ(users.rows().size(), 3u);
}

TEST(UsersCommand, UsageErrors) {
  EXPECT_EQ(runCli({"users"}).status, 2);
  EXPECT_EQ(runCli({"users", "rename", "x"}).status, 2);
  EXPECT_EQ(runCli({"users", "add"}).status, 2);
  EXPECT_EQ(runCli({"users", "list", "extra"}).status, 2);
}

// SQL and other hostile text as name and password of `users`: stored, listed, refused as a
// duplicate and removed exactly as an ordinary name, touching no other row. (A zero byte cannot be
// part of a command-line argument.)
TEST(UsersCommand, HostileTextIsJustAName) {
  const std::string texts[] = {
      "x' OR '1'='1",
      "admin'--",
      "admin\"; DROP TABLE 用户密码; --",
      "'; DELETE FROM 用户密码 WHERE '1'='1",
      "%",
      "_____",
      "ad%",
      "a_min",
      std::string(10000, 'n'),
      "\xFF\xFE\x81",  // neither UTF-8 nor GBK
  };
  for (const std::string& text : texts) {
    SCOPED_TRACE(text.substr(0, 40));
    test::UserDatabaseFixture users;
    users.addRow("admin", storedPassword("admin123"), "Administrator");
    const auto before = users.rows();
    const std::string password = text + "123456";
    auto users_ = [&](std::vector<std::string> args, const std::string& input = "") {
      args.insert(args.begin(), "users");
      args.insert(args.end(), {"--db", users.path()});
      return runCli(args, input);
    };

    EXPECT_EQ(users_({"remove", text}).err, "该用户不存在，请重新输入。\n");
    ASSERT_EQ(users_({"add", text}, password + "\n").status, 0);
    auto expected = before;
    expected.push_back(text + "|" + storedPassword(password) + "|User");
    EXPECT_EQ(users.rows(), expected);
    EXPECT_EQ(users_({"add", text}, "abcdef\n").err, "该用户已经注册过了，请重新输入。\n");
    EXPECT_EQ(users_({"list"}).out, "admin\tAdministrator\n" + text + "\tUser\n");
    EXPECT_EQ(users_({"remove", text}).status, 0);
    EXPECT_EQ(users.rows(), before);
  }
}

}  // namespace
}  // namespace pq
