#include <gtest/gtest.h>

#include <optional>

#include "support/UserDatabaseFixture.h"
#include "users/PasswordScrambling.h"
#include "users/UserAdministration.h"
#include "users/UserDataModule.h"

namespace pq {
namespace {

class UserAdministrationTest : public ::testing::Test {
 protected:
  UserAdministrationTest() {
    users.addRow("admin", storedPassword("admin123"), "Administrator");
    users.addRow("dup", storedPassword("dup12345"), "User");
    users.addRow("dup", storedPassword("dup12345"), "User");
    users.addRow("blank", "", "User");
  }

  test::UserDatabaseFixture users;
};

// Every check of an addition with its message; where two checks fail, the earlier one speaks.
TEST_F(UserAdministrationTest, RefusedAdditionsInTheOrderOfTheirChecks) {
  struct Case {
    NewUser user;
    AdditionRefusal refusal;
    const char* message;
  };
  const Case cases[] = {
      {{"", "User", "abcdef", "abcdef"},
       AdditionRefusal::NameOrPasswordEmpty,
       "用户姓名及密码不能为空，请重新输入。"},
      {{"newbie", "User", "", ""},
       AdditionRefusal::NameOrPasswordEmpty,
       "用户姓名及密码不能为空，请重新输入。"},
      {{"newbie", "User", "abcdef", ""},
       AdditionRefusal::NameOrPasswordEmpty,
       "用户姓名及密码不能为空，请重新输入。"},
      {{"admin", "User", "abc", ""},
       AdditionRefusal::NameOrPasswordEmpty,
       "用户姓名及密码不能为空，请重新输入。"},
      {{"newbie", "User", "abcde", "abcde"}, AdditionRefusal::PasswordTooShort, "请输入6位密码！"},
      {{"newbie", "User", "中文a", "中文a"},
       AdditionRefusal::PasswordTooShort,
       "请输入6位密码！"},  // 5 GBK bytes
      {{"admin", "User", "abcde", "abcdf"}, AdditionRefusal::PasswordTooShort, "请输入6位密码！"},
      {{"admin", "User", "abcdef", "abcdeg"},
       AdditionRefusal::AlreadyRegistered,
       "该用户已经注册过了，请重新输入。"},
      {{"newbie", "User", "abcdef", "abcdeg"},
       AdditionRefusal::PasswordsDiffer,
       "两次输入密码不一致，请重新输入。"},
      {{"newbie", "User", "abcdef", "Abcdef"},
       AdditionRefusal::PasswordsDiffer,
       "两次输入密码不一致，请重新输入。"},
  };
  TDM database(users.path());
  UserAdministration accounts(database.DQ_Pass);
  const auto before = users.rows();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.user.name + "/" + c.user.password + "/" + c.user.confirmation);
    const auto refusal = accounts.add(c.user);
    ASSERT_TRUE(refusal.has_value());
    EXPECT_EQ(*refusal, c.refusal);
    EXPECT_STREQ(messageOf(*refusal), c.message);
  }
  EXPECT_EQ(users.rows(), before);
}

TEST_F(UserAdministrationTest, AddsSixGbkBytesAndANameHeldTwiceWithTheRoleAsTyped) {
  TDM database(users.path());
  UserAdministration accounts(database.DQ_Pass);
  EXPECT_EQ(accounts.add({"新用户", "Supervisor", "中文ab", "中文ab"}), std::nullopt);
  EXPECT_EQ(accounts.add({"dup", "User", "d7u3p9", "d7u3p9"}), std::nullopt);
  const auto rows = users.rows();
  ASSERT_EQ(rows.size(), 6u);
  EXPECT_EQ(rows[4], "新用户|" + storedPassword("中文ab") + "|Supervisor");
  EXPECT_EQ(rows[5], "dup|" + storedPassword("d7u3p9") + "|User");
}

TEST_F(UserAdministrationTest, IdentifiesExactlyOneUserByNameAndPassword) {
  struct Case {
    const char* name;
    const char* password;
    Identification outcome;
  };
  const Case cases[] = {
      {"admin", "admin123", Identification::Confirmed},
      {"admin", "admin12", Identification::WrongPassword},
      {"admin", "admin1234", Identification::WrongPassword},
      {"admin", "", Identification::WrongPassword},
      {"nobody", "admin123", Identification::UnknownUser},
      {"dup", "dup12345", Identification::UnknownUser},
      {"blank", "", Identification::WrongPassword},
  };
  TDM database(users.path());
  UserAdministration accounts(database.DQ_Pass);
  for (const Case& c : cases) {
    for (UserSearch search : {UserSearch::Login, UserSearch::VerifyingChange, UserSearch::Deleting}) {
      EXPECT_EQ(accounts.identify(search, c.name, c.password), c.outcome) << c.name << " / " << c.password;
    }
  }
  ASSERT_EQ(accounts.identify(UserSearch::Login, "admin", "admin123"), Identification::Confirmed);
  EXPECT_EQ(accounts.foundRole(), "Administrator");
}

}  // namespace
}  // namespace pq
